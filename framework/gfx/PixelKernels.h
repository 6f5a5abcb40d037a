#pragma once

#include "framework/gfx/Surface.h"

#include <cstdint>

namespace folio::raster {

// The long-run pixel loops, built for the widest vector unit the processor
// has (see PixelKernels.cpp). They sit in their own file so that every call
// goes through the load-time choice instead of being inlined as the baseline
// version. All keep the alpha byte at 0xFF.

/// Sets N pixels from P to Value, taken as it is.
void FillPixels(TPixel* P, std::int64_t N, TPixel Value);
/// P[i] = (P[i] & A) ^ X for N pixels: every pen mode's operation.
void AndXorPixels(TPixel* P, std::int64_t N, TPixel A, TPixel X);
/// D[i] = D[i] xor, and, or S[i] for N pixels; D and S must not overlap.
///@{
void XorPixels(TPixel* D, const TPixel* S, std::int64_t N);
void AndPixels(TPixel* D, const TPixel* S, std::int64_t N);
void OrPixels(TPixel* D, const TPixel* S, std::int64_t N);
///@}

} // namespace folio::raster
