#include "framework/ui/paint/DamageRegion.h"

#include "framework/ui/paint/RectOps.h"

namespace folio {

namespace {

// The rectangles overlap, touch or leave at most MergeGap pixels between
// them.
bool Near(const TRect& A, const TRect& B) {
    constexpr int G = TDamageRegion::MergeGap;
    return A.Left - G <= B.Right && B.Left - G <= A.Right && A.Top - G <= B.Bottom &&
           B.Top - G <= A.Bottom;
}

} // namespace

void TDamageRegion::Add(const TRect& R) {
    if (R.IsEmpty()) return;
    TRect Grown = R;
    // Merging can make the new rectangle reach others it did not before, so
    // look again after each merge; a short list makes this cheap.
    for (bool Merged = true; Merged;) {
        Merged = false;
        for (int I = 0; I < FCount; ++I) {
            if (!Near(FRects[static_cast<size_t>(I)], Grown)) continue;
            Grown = rects::Union(Grown, FRects[static_cast<size_t>(I)]);
            FRects[static_cast<size_t>(I)] = FRects[static_cast<size_t>(FCount - 1)];
            --FCount;
            Merged = true;
            break;
        }
    }
    if (FCount == MaxRects) {
        Grown = rects::Union(Grown, Bounds());
        FCount = 0;
    }
    FRects[static_cast<size_t>(FCount++)] = Grown;
}

void TDamageRegion::Add(const TDamageRegion& Other) {
    for (const TRect& R : Other) Add(R);
}

TRect TDamageRegion::Bounds() const {
    TRect B;
    for (const TRect& R : *this) B = rects::Union(B, R);
    return B;
}

bool TDamageRegion::Intersects(const TRect& Clip) const {
    for (const TRect& R : *this)
        if (!rects::Intersect(R, Clip).IsEmpty()) return true;
    return false;
}

bool TDamageRegion::Within(const TRect& Clip) const {
    for (const TRect& R : *this)
        if (!(rects::Intersect(R, Clip) == R)) return false;
    return true;
}

TDamageRegion TDamageRegion::Offset(int DX, int DY) const {
    TDamageRegion Moved = *this;
    for (int I = 0; I < FCount; ++I)
        Moved.FRects[static_cast<size_t>(I)] =
            rects::Offset(FRects[static_cast<size_t>(I)], DX, DY);
    return Moved;
}

TDamageRegion TDamageRegion::Intersected(const TRect& Clip) const {
    // Clipping only shrinks rectangles, so what was apart stays apart and
    // the list can be copied without merging again.
    TDamageRegion Inside;
    for (const TRect& R : *this) {
        const TRect C = rects::Intersect(R, Clip);
        if (!C.IsEmpty()) Inside.FRects[static_cast<size_t>(Inside.FCount++)] = C;
    }
    return Inside;
}

bool operator==(const TDamageRegion& A, const TDamageRegion& B) {
    if (A.FCount != B.FCount) return false;
    for (int I = 0; I < A.FCount; ++I)
        if (!(A[I] == B[I])) return false;
    return true;
}

} // namespace folio
