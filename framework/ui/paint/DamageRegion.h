#pragma once

#include "framework/core/Types.h"

#include <array>

namespace folio {

/// What changed on a window, as a short list of rectangles: two small
/// changes far apart stay two small rectangles, so a paint covers what
/// changed and not everything between. Rectangles that overlap or nearly
/// touch are merged; past MaxRects the region falls back to the union of
/// all of it. Adding never allocates.
class TDamageRegion {
public:
    /// The most rectangles a region keeps apart.
    static constexpr int MaxRects = 4;
    /// Rectangles this close (pixels between them, on both axes) are merged:
    /// a thin strip painted twice costs less than a paint of its own.
    static constexpr int MergeGap = 8;

    /// An empty region.
    TDamageRegion() = default;
    /// The region of R (empty for an empty R).
    explicit TDamageRegion(const TRect& R) { Add(R); }

    ///@{
    /// Adds a rectangle or another region (empty rectangles add nothing),
    /// merging as the class describes.
    void Add(const TRect& R);
    void Add(const TDamageRegion& Other);
    ///@}
    /// Empties the region.
    void Clear() { FCount = 0; }

    /// Whether nothing is in the region.
    bool IsEmpty() const { return FCount == 0; }
    /// How many rectangles the region keeps, 0 .. MaxRects.
    int Count() const { return FCount; }
    /// Rectangle Index, 0 .. Count() - 1 (unchecked).
    const TRect& operator[](int Index) const { return FRects[static_cast<size_t>(Index)]; }
    ///@{
    /// The rectangles, for range-for loops.
    const TRect* begin() const { return FRects.data(); }
    const TRect* end() const { return FRects.data() + FCount; }
    ///@}
    /// The smallest rectangle holding the whole region.
    TRect Bounds() const;
    /// Whether any rectangle of the region overlaps R.
    bool Intersects(const TRect& R) const;
    /// Whether every rectangle of the region lies inside R.
    bool Within(const TRect& R) const;

    ///@{
    /// The region moved by (DX, DY), and the part of it inside Clip.
    TDamageRegion Offset(int DX, int DY) const;
    TDamageRegion Intersected(const TRect& Clip) const;
    ///@}

    /// The same rectangles in the same order.
    friend bool operator==(const TDamageRegion& A, const TDamageRegion& B);

private:
    std::array<TRect, MaxRects> FRects{};
    int FCount = 0;
};

} // namespace folio
