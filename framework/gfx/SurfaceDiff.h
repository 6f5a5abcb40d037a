#pragma once

#include "framework/gfx/Surface.h"

#include <span>
#include <vector>

namespace folio {

/// Where Now differs from Before inside the given rectangles, both surfaces
/// in the same pixel layout and of at least the rectangles' extent: each
/// rectangle narrows to bands of the rows that changed, each band as wide as
/// the changes in its rows. Rows that did not change split a rectangle into
/// bands only when at least MinGap of them lie together, so that a change
/// with quiet lines inside it (a frame, the lines of a caption) stays one
/// band. Appends the bands to Out; a rectangle with no change adds nothing.
///
/// A presenter whose window keeps the pixels it was sent compares what was
/// painted with what the window shows, and sends only the bands: a control
/// repainted whole for a small change costs the window system that change.
void AppendChangedBands(const TPixelSurface& Now, const TPixelSurface& Before,
                        std::span<const TRect> Rects, std::vector<TRect>& Out, int MinGap = 8);

} // namespace folio
