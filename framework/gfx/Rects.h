#pragma once

#include "framework/core/Types.h"

namespace folio {

// Rectangle helpers with the platform's meanings: Right and Bottom are
// exclusive, and an empty rectangle has no width or no height. The ones that
// change a rectangle in place answer true unless a function says otherwise.

/// Grows R by DX on the left and right and by DY on the top and bottom
/// (negative values shrink it).
bool InflateRect(TRect& R, int DX, int DY);
/// Moves R by DX to the right and DY down.
bool OffsetRect(TRect& R, int DX, int DY);
/// Dest becomes the overlap of A and B; answers false and an all-zero Dest
/// when they do not overlap.
bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B);
/// Dest becomes the smallest rectangle holding both; an empty input is
/// ignored, and two empty ones give an all-zero Dest and false.
bool UnionRect(TRect& Dest, const TRect& A, const TRect& B);
/// True when P lies inside R (its right and bottom edges are outside).
bool PtInRect(const TRect& R, TPoint P);
/// True when all four edges are equal.
bool EqualRect(const TRect& A, const TRect& B);
/// True when R has no width or no height.
bool IsRectEmpty(const TRect& R);
/// R becomes the rectangle of the four edges given, as they are.
bool SetRect(TRect& R, int Left, int Top, int Right, int Bottom);
/// R becomes all zero.
bool SetRectEmpty(TRect& R);
/// Dest becomes a copy of Source.
bool CopyRect(TRect& Dest, const TRect& Source);

/// The overlap of A and B, or an all-zero rectangle when they do not overlap.
TRect IntersectRects(const TRect& A, const TRect& B);
/// R grown as InflateRect grows it, leaving R as it was.
TRect InflatedRect(const TRect& R, int DX, int DY);
/// R moved as OffsetRect moves it, leaving R as it was.
TRect OffsetRectBy(const TRect& R, int DX, int DY);

} // namespace folio
