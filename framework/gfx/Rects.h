#pragma once

#include "framework/core/Types.h"

namespace folio {

// Rectangle helpers with the platform's meanings: Right and Bottom are
// exclusive, and an empty rectangle has no width or no height.

// Grows R by DX on the left and right and by DY on the top and bottom
// (negative values shrink it).
bool InflateRect(TRect& R, int DX, int DY);
bool OffsetRect(TRect& R, int DX, int DY);
// Dest becomes the overlap of A and B; answers false and an all-zero Dest
// when they do not overlap.
bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B);
// Dest becomes the smallest rectangle holding both; empty inputs are ignored.
bool UnionRect(TRect& Dest, const TRect& A, const TRect& B);
bool PtInRect(const TRect& R, TPoint P);
bool EqualRect(const TRect& A, const TRect& B);
bool IsRectEmpty(const TRect& R);
bool SetRect(TRect& R, int Left, int Top, int Right, int Bottom);
bool SetRectEmpty(TRect& R);
bool CopyRect(TRect& Dest, const TRect& Source);

// Value-returning forms for code that does not need the platform's shape.
TRect IntersectRects(const TRect& A, const TRect& B);
TRect InflatedRect(const TRect& R, int DX, int DY);
TRect OffsetRectBy(const TRect& R, int DX, int DY);

} // namespace folio
