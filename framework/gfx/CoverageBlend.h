#pragma once

#include "framework/gfx/Surface.h"

#include <cstdint>

namespace folio::raster {

/// Blends Color over Count pixels by a row of glyph coverage (0 leaves a
/// pixel, 255 gives the colour, between mixes the two channel by channel).
/// The alpha byte comes out 0xFF.
void BlendCoverageRow(TPixel* Dst, const std::uint8_t* Cov, int Count, TPixel Color);

} // namespace folio::raster
