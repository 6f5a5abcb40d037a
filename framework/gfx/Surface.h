#pragma once

#include "framework/core/Types.h"

#include <cstdint>

namespace folio {

// One pixel of a surface: 0xAARRGGBB in a 32-bit word (bytes B, G, R, A in
// memory, as a 32-bit device-independent bitmap). Alpha is kept at 0xFF.
using TPixel = std::uint32_t;

// A plain colour (0x00BBGGRR, no system-colour bit) as a pixel.
constexpr TPixel RgbToPixel(TColor Rgb) {
    const auto C = static_cast<std::uint32_t>(Rgb);
    return 0xFF000000u | ((C & 0xFFu) << 16) | (C & 0xFF00u) | ((C >> 16) & 0xFFu);
}
constexpr TColor PixelToRgb(TPixel P) {
    return static_cast<TColor>(((P >> 16) & 0xFFu) | (P & 0xFF00u) | ((P & 0xFFu) << 16));
}

// A view of 32-bit pixel rows: the memory belongs to whoever made the view
// (a bitmap, a form's back buffer). Stride counts pixels, not bytes.
struct TPixelSurface {
    TPixel* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    int Stride = 0;

    TPixel* Row(int Y) const { return Pixels + static_cast<std::ptrdiff_t>(Y) * Stride; }
    bool Valid() const { return Pixels && Width > 0 && Height > 0; }
};

} // namespace folio
