#include "folio/Folio.h"

#include "framework/core/SysUtils.h"

#include <algorithm>
#include <climits>

namespace folio {

// Every rectangle is computed on demand from the bar's settings and size;
// nothing geometric is cached.

TRect TFolioGroup::GetBoundsRect() const {
    if (!FBar || !FGroups) return TRect{};
    const int CH = FBar->GetGroupCaptionHeight();
    const int Count = FGroups->GetCount();
    const int Index = GetIndex();
    const bool Vertical = FBar->IsVertical();
    const int Extent = Vertical ? FBar->GetClientHeight() : FBar->GetClientWidth();
    const int Across = Vertical ? FBar->GetClientWidth() : FBar->GetClientHeight();

    // Groups up to the open one sit at the leading edge; later groups are
    // stacked at the trailing edge, so the open group's client area fills
    // the space between.
    int Lead;
    if (FPaintAtOrigin)
        Lead = 0;
    else if (Index <= FBar->GetVisibleGroup())
        Lead = Index * CH + FAnimOffset;
    else
        Lead = Extent - (Count - Index) * CH + FAnimOffset;
    const int Trail = Lead + Extent + CH - Count * CH;

    return Vertical ? Rect(0, Lead, Across, Trail) : Rect(Lead, 0, Trail, Across);
}

TRect TFolioGroup::GetCaptionRect() const {
    TRect R = GetBoundsRect();
    if (!FBar) return R;
    if (FBar->IsVertical())
        R.Bottom = R.Top + FBar->GetGroupCaptionHeight();
    else
        R.Right = R.Left + FBar->GetGroupCaptionHeight();
    return R;
}

TRect TFolioGroup::GetClientRect() const {
    TRect R = GetBoundsRect();
    if (!FBar) return R;
    if (FBar->IsVertical())
        R.Top += FBar->GetGroupCaptionHeight();
    else
        R.Left += FBar->GetGroupCaptionHeight();
    return R;
}

TImageList* TFolioGroup::GetImages() const {
    if (!FBar) return nullptr;
    return FImageSize == isLarge ? FBar->GetLargeImages() : FBar->GetSmallImages();
}

// Pictures take the room their list's size takes at the bar's resolution;
// painting picks the list's size that fits that room best.
int TFolioGroup::GetImagesWidth() const {
    const int Scale = FBar ? FBar->GetCurrentPPI() : 96;
    const TImageList* Images = GetImages();
    const int W = Images ? Images->GetWidth() : FImageSize == isLarge ? 32 : 16;
    return Scale == 96 ? W : MulDiv(W, Scale, 96);
}

int TFolioGroup::GetImagesHeight() const {
    const int Scale = FBar ? FBar->GetCurrentPPI() : 96;
    const TImageList* Images = GetImages();
    const int H = Images ? Images->GetHeight() : FImageSize == isLarge ? 32 : 16;
    return Scale == 96 ? H : MulDiv(H, Scale, 96);
}

int TFolioGroup::GetItemHeight() const {
    if (!FBar) return 0;
    if (FImageSize != isLarge) return GetImagesHeight();
    // A picture, two lines of caption text and a two-pixel gap.
    const int TwoLines = -2 * FBar->GetFont()->GetHeight();
    return GetImagesHeight() + TwoLines + FBar->ScalePixels(2);
}

int TFolioGroup::GetItemWidth() const {
    if (!FBar) return 0;
    const int W = GetImagesWidth();
    if (FImageSize == isLarge) return 2 * W;
    if (!FBar->IsVertical()) return 4 * W;
    return GetClientRect().Width() - 2 * W;
}

int TFolioGroup::GetVisibleItems() const {
    if (!FBar || !FBar->HandleAllocated()) return 0;
    const TRect CR = GetClientRect();
    const int S = FBar->GetItemSpacing();
    // Spacing and picture sizes are not range-checked, so the slot pitch may
    // come out as zero; no whole slot fits then.
    if (FBar->IsVertical()) {
        const int Pitch = GetItemHeight() + S;
        return Pitch == 0 ? 0 : (CR.Height() - S) / Pitch;
    }
    const int Pitch = GetItemWidth() + S;
    return Pitch == 0 ? 0 : (CR.Width() - S) / Pitch;
}

TRect TFolioGroup::GetInsertMarkRect(int Index) const {
    if (!FBar) return TRect{};
    const TRect CR = GetClientRect();
    const int S = FBar->GetItemSpacing();
    const bool Vertical = FBar->IsVertical();
    const long long Pitch = static_cast<long long>(Vertical ? GetItemHeight() : GetItemWidth()) + S;
    // Far from the scroll position of a very long group the gap lies far
    // off the bar; it is kept in range rather than let wrap around.
    const long long Lead = std::clamp<long long>(
        (Vertical ? CR.Top : CR.Left) + Pitch * (static_cast<long long>(Index) - FStartItem),
        INT_MIN / 2, INT_MAX / 2);
    const int A = static_cast<int>(Lead);
    return Vertical ? Rect(CR.Left, A, CR.Right, A + S) : Rect(A, CR.Top, A + S, CR.Bottom);
}

} // namespace folio
