#include "framework/hosts/SdlPresenter.h"

#include "framework/gfx/SurfaceDiff.h"
#include "framework/ui/paint/RectOps.h"

#include <algorithm>
#include <cstring>

namespace folio {

namespace {

// Our pixels are 0xAARRGGBB words; a target with red, green and blue at the
// same bits takes them row by row as they are (its alpha or padding byte is
// not shown).
bool SameLayout(const SDL_PixelFormat* F) {
    return F->BytesPerPixel == 4 && F->Rmask == 0x00FF0000u && F->Gmask == 0x0000FF00u &&
           F->Bmask == 0x000000FFu;
}

} // namespace

long long CopySurfaceRects(const TPixelSurface& Source, SDL_Surface* Target,
                           std::span<const TRect> Rects) {
    if (!Source.Valid() || !Target || !Target->pixels) return 0;
    const TRect Both =
        Rect(0, 0, std::min(Source.Width, Target->w), std::min(Source.Height, Target->h));
    const bool Lock = SDL_MUSTLOCK(Target);
    if (Lock && SDL_LockSurface(Target) != 0) return 0;
    const bool Plain = SameLayout(Target->format);
    const int SourcePitch = Source.Stride * static_cast<int>(sizeof(TPixel));
    long long Copied = 0;
    for (const TRect& Given : Rects) {
        const TRect R = rects::Intersect(Given, Both);
        if (R.IsEmpty()) continue;
        const TPixel* From = Source.Row(R.Top) + R.Left;
        auto* To = static_cast<unsigned char*>(Target->pixels) +
                   static_cast<std::ptrdiff_t>(R.Top) * Target->pitch +
                   static_cast<std::ptrdiff_t>(R.Left) * Target->format->BytesPerPixel;
        if (Plain) {
            const size_t RowBytes = static_cast<size_t>(R.Width()) * sizeof(TPixel);
            for (int Y = 0; Y < R.Height(); ++Y) {
                std::memcpy(To, From, RowBytes);
                From += Source.Stride;
                To += Target->pitch;
            }
        } else if (SDL_ConvertPixels(R.Width(), R.Height(), SDL_PIXELFORMAT_ARGB8888, From,
                                     SourcePitch, Target->format->format, To, Target->pitch) != 0) {
            continue;
        }
        Copied += static_cast<long long>(R.Width()) * R.Height();
    }
    if (Lock) SDL_UnlockSurface(Target);
    return Copied;
}

TPresentResult TSdlPresenter::Present(const TPixelSurface& Source, std::span<const TRect> Damage) {
    if (!Source.Valid()) return {};
    SDL_Surface* Target = SDL_GetWindowSurface(FWindow);
    if (!Target) return {};
    if (Target->pixels != FTargetPixels || Target->w != FTargetWidth ||
        Target->h != FTargetHeight) {
        FWhole = true;
        FTargetPixels = Target->pixels;
        FTargetWidth = Target->w;
        FTargetHeight = Target->h;
    }
    const TRect Both =
        Rect(0, 0, std::min(Source.Width, Target->w), std::min(Source.Height, Target->h));
    FClipped.clear();
    if (FWhole) {
        if (!Both.IsEmpty()) FClipped.push_back(Both);
    } else {
        for (const TRect& R : Damage) {
            const TRect C = rects::Intersect(R, Both);
            if (!C.IsEmpty()) FClipped.push_back(C);
        }
        // The window's surface still holds what the last present sent, in
        // our layout: of a damaged rectangle only the rows that changed go
        // out. A control repainted whole for a small change (the bar on a
        // hover change) then costs the copy and the window system that
        // change alone, and a repaint that changed nothing sends nothing.
        if (SameLayout(Target->format) && !SDL_MUSTLOCK(Target)) {
            const TPixelSurface Shown{static_cast<TPixel*>(Target->pixels), Target->w, Target->h,
                                      Target->pitch / static_cast<int>(sizeof(TPixel))};
            FBands.clear();
            AppendChangedBands(Source, Shown, FClipped, FBands);
            FClipped.swap(FBands);
        }
    }
    if (FClipped.empty()) return {};

    TPresentResult Result;
    Result.Pixels = CopySurfaceRects(Source, Target, FClipped);
    FSdlRects.clear();
    for (const TRect& R : FClipped) {
        FSdlRects.push_back(SDL_Rect{R.Left, R.Top, R.Width(), R.Height()});
        Result.Area = rects::Union(Result.Area, R);
    }
    // A window surface that went stale meanwhile (the window was resized
    // between our look and the update) refuses; the resize that made it
    // stale brings a whole present.
    if (SDL_UpdateWindowSurfaceRects(FWindow, FSdlRects.data(),
                                     static_cast<int>(FSdlRects.size())) != 0) {
        FWhole = true;
        return {};
    }
    Result.Whole = FWhole;
    FWhole = false;
    return Result;
}

} // namespace folio
