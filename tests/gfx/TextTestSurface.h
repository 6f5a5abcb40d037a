#pragma once

#include "framework/gfx/Surface.h"

#include <algorithm>
#include <vector>

namespace folio::test {

constexpr TPixel White = 0xFFFFFFFFu;
constexpr TPixel Black = 0xFF000000u;

// A white pixel buffer for text tests, with the bounding box of what was drawn.
struct TTextSurface {
    std::vector<TPixel> Pixels;
    TPixelSurface View;
    TTextSurface(int W, int H) : Pixels(static_cast<size_t>(W) * H, White) {
        View = TPixelSurface{Pixels.data(), W, H, W};
    }
    TPixel At(int X, int Y) const { return Pixels[static_cast<size_t>(Y) * View.Width + X]; }
    // The bounding box of every pixel that differs from Background.
    TRect Ink(TPixel Background = White) const {
        TRect R{View.Width, View.Height, 0, 0};
        for (int Y = 0; Y < View.Height; ++Y)
            for (int X = 0; X < View.Width; ++X)
                if (At(X, Y) != Background) {
                    R.Left = std::min(R.Left, X);
                    R.Top = std::min(R.Top, Y);
                    R.Right = std::max(R.Right, X + 1);
                    R.Bottom = std::max(R.Bottom, Y + 1);
                }
        return R;
    }
    TRect Whole() const { return TRect{0, 0, View.Width, View.Height}; }
};

} // namespace folio::test
