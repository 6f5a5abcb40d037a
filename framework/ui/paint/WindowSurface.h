#pragma once

#include "framework/core/Types.h"
#include "framework/gfx/Surface.h"
#include "framework/ui/paint/DamageRegion.h"

#include <vector>

namespace folio {

/// The pixels of a top-level window and what has changed in them since its
/// host last took the damage. Every control on the window paints into it.
class TWindowSurface {
public:
    /// Gives the surface the window's size. New pixels are opaque black and
    /// the whole surface counts as damaged; the same size changes nothing.
    void SetSize(int Width, int Height);
    /// The pixels, as large as the window (empty after Release).
    const TPixelSurface& GetPixels() const { return FView; }
    /// Gives the pixels back while the window has no handle. The version
    /// goes on counting, so a host never mistakes a new surface for the one
    /// it presented last.
    void Release();

    /// Counts the paints that changed pixels, so a host presents only what
    /// changed.
    unsigned GetVersion() const { return FVersion; }
    ///@{
    /// Something was painted over R (surface coordinates).
    void AddDamage(const TRect& R) { AddDamage(TDamageRegion(R)); }
    void AddDamage(const TDamageRegion& R);
    ///@}
    /// What was painted since the last call; clears it.
    TDamageRegion TakeDamage();

private:
    std::vector<TPixel> FPixels;
    TPixelSurface FView;
    unsigned FVersion = 0;
    TDamageRegion FDamage;
};

} // namespace folio
