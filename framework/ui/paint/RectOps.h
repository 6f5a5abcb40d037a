#pragma once

#include "framework/core/Types.h"

#include <algorithm>

/// Small rectangle helpers of the control layer (Right and Bottom exclusive).
namespace folio::rects {

/// The overlap of A and B; an empty rectangle (all zero) when none.
inline TRect Intersect(const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (R.IsEmpty()) return TRect{};
    return R;
}

/// The smallest rectangle holding both; an empty rectangle adds nothing.
inline TRect Union(const TRect& A, const TRect& B) {
    if (A.IsEmpty()) return B;
    if (B.IsEmpty()) return A;
    return TRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                 std::max(A.Bottom, B.Bottom)};
}

///@{
/// R moved by (DX, DY), or by P.
inline TRect Offset(const TRect& R, int DX, int DY) {
    return TRect{R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY};
}

inline TRect Offset(const TRect& R, TPoint P) {
    return Offset(R, P.X, P.Y);
}
///@}

} // namespace folio::rects
