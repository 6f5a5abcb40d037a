#pragma once

#include "framework/gfx/Surface.h"

#include <SDL.h>

#include <span>
#include <vector>

namespace folio {

// Copies the given rectangles of Source into Target at the same places,
// converting pixels when Target is not in a 32-bit RGB layout. Rectangles
// are clipped to both surfaces; answers the pixels copied.
long long CopySurfaceRects(const TPixelSurface& Source, SDL_Surface* Target,
                           std::span<const TRect> Rects);

// What one present sent to the window system.
struct TPresentResult {
    long long Pixels = 0;
    // The whole window went out (first show, expose, resize).
    bool Whole = false;
    // The smallest rectangle holding what went out.
    TRect Area;
};

// Shows a form's surface in its window through the window's own surface,
// which is already in the window system's pixel format and lives in memory
// the window system reads from: a present copies only the damaged
// rectangles there, narrowed to the rows whose pixels changed, and asks the
// window system to update only those.
class TSdlPresenter {
public:
    explicit TSdlPresenter(SDL_Window* Window) : FWindow(Window) {}

    // The next present sends the whole surface: the window's pixels were
    // lost (an expose) or never sent (first show, a new size).
    void InvalidateAll() { FWhole = true; }
    bool WholeDue() const { return FWhole; }

    // Sends Damage (surface coordinates) of Source to the window, or all of
    // Source when the whole window is due; sends nothing for no damage.
    TPresentResult Present(const TPixelSurface& Source, std::span<const TRect> Damage);

private:
    SDL_Window* FWindow;
    bool FWhole = true;
    // The window surface of the last present: a new one (after a resize)
    // holds none of our pixels and must take all of them.
    const void* FTargetPixels = nullptr;
    int FTargetWidth = 0;
    int FTargetHeight = 0;
    // Kept between presents so that presenting does not allocate.
    std::vector<TRect> FClipped;
    std::vector<TRect> FBands;
    std::vector<SDL_Rect> FSdlRects;
};

} // namespace folio
