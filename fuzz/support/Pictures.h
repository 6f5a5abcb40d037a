#pragma once

// Pictures for the picture-reading targets.

#include "framework/gfx/Bitmap.h"

namespace folio::fuzz {

// Sizes Picture to Width x Height with a pattern that differs per pixel.
void Paint(TBitmap& Picture, int Width, int Height);
// Same size and the same pixels.
bool SamePixels(const TBitmap& A, const TBitmap& B);

} // namespace folio::fuzz
