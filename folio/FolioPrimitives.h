#pragma once

// The bar's stateless drawing helpers: a caption button's face and frame in
// its three looks, a two-colour frame, a gradient and a tiled picture. They
// take everything they draw from their arguments, so they can be tried on
// any canvas.

#include "folio/Folio.h"

namespace folio {

// Fills R with Colour and frames it raised (regular), raised deeper (over)
// or sunken (pressed), with lines Line pixels wide (a scaled bar's).
void DrawFrameRect(TCanvas* Canvas, const TRect& R, TColor Colour, TFrameRectState State,
                   int Line = 1);
// First colour on the top and left edges, second on the right and bottom.
void DrawFrameLines(TCanvas* Canvas, const TRect& R, TColor First, TColor Second, int Line = 1);
// A gradient from Start to End, row by row (top to bottom) or column by
// column (left to right). System colours are resolved to their shades
// before the channels are stepped.
void FillGradient(TCanvas* Canvas, const TRect& R, TColor Start, bool Rows, TColor End);
// Tiles Bitmap over R, clipped to R: anchored at the canvas origin when
// Fixed, so that neighbouring areas continue one pattern, else at R's
// corner. With no picture R is filled with Colour.
void TileBitmap(TCanvas* Canvas, const TBitmap* Bitmap, const TRect& R, TColor Colour, bool Fixed);

} // namespace folio
