#pragma once

#include "framework/core/Types.h"

#include <cstdint>

namespace folio {

/// One pixel of a surface: 0xAARRGGBB in a 32-bit word (bytes B, G, R, A in
/// memory, as a 32-bit device-independent bitmap). Alpha is kept at 0xFF.
using TPixel = std::uint32_t;

/// A plain colour (0x00BBGGRR, no system-colour bit) as an opaque pixel.
constexpr TPixel RgbToPixel(TColor Rgb) {
    const auto C = static_cast<std::uint32_t>(Rgb);
    return 0xFF000000u | ((C & 0xFFu) << 16) | (C & 0xFF00u) | ((C >> 16) & 0xFFu);
}
/// A pixel's colour as a plain colour (0x00BBGGRR); its alpha is dropped.
constexpr TColor PixelToRgb(TPixel P) {
    return static_cast<TColor>(((P >> 16) & 0xFFu) | (P & 0xFF00u) | ((P & 0xFFu) << 16));
}

/// A view of 32-bit pixel rows: the memory belongs to whoever made the view
/// (a bitmap, a form's back buffer). Stride counts pixels, not bytes.
struct TPixelSurface {
    TPixel* Pixels = nullptr; ///< the top row's first pixel; null for no surface
    int Width = 0;            ///< pixels in a row
    int Height = 0;           ///< rows
    int Stride = 0;           ///< pixels from one row's start to the next's

    /// The first pixel of row Y (0 is the top); Y is not checked.
    TPixel* Row(int Y) const { return Pixels + static_cast<std::ptrdiff_t>(Y) * Stride; }
    /// True when there are pixels to draw on: memory, and a width and height
    /// above 0.
    bool Valid() const { return Pixels && Width > 0 && Height > 0; }
};

} // namespace folio
