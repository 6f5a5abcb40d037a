#include "framework/gfx/Rects.h"

#include <algorithm>

namespace folio {

bool InflateRect(TRect& R, int DX, int DY) {
    R.Left -= DX;
    R.Top -= DY;
    R.Right += DX;
    R.Bottom += DY;
    return true;
}

bool OffsetRect(TRect& R, int DX, int DY) {
    R.Left += DX;
    R.Right += DX;
    R.Top += DY;
    R.Bottom += DY;
    return true;
}

bool IntersectRect(TRect& Dest, const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (R.IsEmpty()) {
        Dest = TRect{};
        return false;
    }
    Dest = R;
    return true;
}

bool UnionRect(TRect& Dest, const TRect& A, const TRect& B) {
    if (A.IsEmpty() && B.IsEmpty()) {
        Dest = TRect{};
        return false;
    }
    if (A.IsEmpty())
        Dest = B;
    else if (B.IsEmpty())
        Dest = A;
    else
        Dest = TRect{std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
                     std::max(A.Bottom, B.Bottom)};
    return true;
}

bool PtInRect(const TRect& R, TPoint P) {
    return R.Contains(P);
}

bool EqualRect(const TRect& A, const TRect& B) {
    return A == B;
}

bool IsRectEmpty(const TRect& R) {
    return R.IsEmpty();
}

bool SetRect(TRect& R, int Left, int Top, int Right, int Bottom) {
    R = TRect{Left, Top, Right, Bottom};
    return true;
}

bool SetRectEmpty(TRect& R) {
    R = TRect{};
    return true;
}

bool CopyRect(TRect& Dest, const TRect& Source) {
    Dest = Source;
    return true;
}

TRect IntersectRects(const TRect& A, const TRect& B) {
    TRect R;
    IntersectRect(R, A, B);
    return R;
}

TRect InflatedRect(const TRect& R, int DX, int DY) {
    TRect Result = R;
    InflateRect(Result, DX, DY);
    return Result;
}

TRect OffsetRectBy(const TRect& R, int DX, int DY) {
    TRect Result = R;
    OffsetRect(Result, DX, DY);
    return Result;
}

} // namespace folio
