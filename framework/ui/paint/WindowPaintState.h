#pragma once

#include "framework/ui/paint/DamageRegion.h"

namespace folio {

/// What the paint pass keeps on each window between an invalidation and the
/// paint that follows, in the window's client coordinates.
struct TWindowPaintState {
    /// The parts to repaint.
    TDamageRegion Dirty;
    /// The dirty part is erased (WM_ERASEBKGND) before it is painted.
    bool EraseDirty = false;
    /// The non-client frame repaints too.
    bool FrameDirty = false;
    /// The window is on the paint pass's list of windows to visit.
    bool InDirtyList = false;
};

} // namespace folio
