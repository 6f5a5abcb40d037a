#pragma once

#include "framework/gfx/Surface.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace folio {

class TStream;

/// The decoded picture of a BMP file image: rows top-down, 32-bit pixels.
struct TBmpImage {
    int Width = 0;              ///< in pixels
    int Height = 0;             ///< in pixels
    std::vector<TPixel> Pixels; ///< Width times Height pixels, row after row, top row first
};

/// Decodes the BMP file image held in Data, exactly Size bytes starting with
/// the "BM" file header. Damaged or unsupported input raises EInvalidGraphic
/// with a message naming the fault; nothing is read outside Data, and the
/// pixel buffer is allocated only once the header has been checked against
/// Size (and the dimensions against the framework's caps).
TBmpImage DecodeBmp(const std::uint8_t* Data, std::size_t Size);

/// The total size a BMP file image promises in its 14-byte file header.
/// Raises EInvalidGraphic for a wrong signature or a size below the headers.
std::uint32_t BmpTotalSize(const std::uint8_t* FileHeader);

/// Writes Surface to Stream as one BMP file image with 24 or 32 bits per
/// pixel, bottom-up, uncompressed, at 96 dots per inch. An empty surface,
/// another pixel depth or a picture too large for the format raise
/// EInvalidGraphicOperation; the stream's own errors pass through.
void EncodeBmp(const TPixelSurface& Surface, int BitsPerPixel, TStream& Stream);

} // namespace folio
