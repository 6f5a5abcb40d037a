#include "folio/FolioItemLayout.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/gfx/SystemMetrics.h"

#include <algorithm>
#include <iterator>

namespace folio {

namespace {

// Slot arithmetic is done wide and brought back to the 32-bit results the
// bar works in, so that a huge group far from its scroll position cannot
// overflow on the way.
int Narrow(long long V) {
    return static_cast<int>(std::clamp<long long>(V, -0x40000000LL, 0x3FFFFFFFLL));
}

long long FloorDiv(long long A, long long B) {
    long long Q = A / B;
    if ((A % B != 0) && ((A < 0) != (B < 0))) --Q;
    return Q;
}

// Outside a paint the bar has no canvas; text is then measured on a canvas
// of our own that draws nowhere.
TCanvas* MeasuringCanvas() {
    thread_local TCanvas Canvas;
    return &Canvas;
}

int LineHeight(TCanvas* Canvas) {
    TRect R;
    String W = "W";
    return Canvas->DrawText(W, R, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
}

} // namespace

// ---------------------------------------------------------------------------
// The shared layout

TFolioItemLayout::TFolioItemLayout(const TFolioGroup& Group, TCanvas* Canvas) {
    const TFolio* Bar = Group.GetBar();
    if (!Bar) return;
    Valid = true;
    Vertical = Bar->IsVertical();
    Large = Group.GetImageSize() == isLarge;
    RightToLeft = Bar->UseRightToLeftAlignment();
    CR = Group.GetClientRect();
    S = Bar->GetItemSpacing();
    W = Group.GetImagesWidth();
    H = Group.GetImagesHeight();
    T = -2 * Bar->GetFont()->GetHeight();
    Gap2 = Bar->ScalePixels(2);
    Gap3 = Bar->ScalePixels(3);
    StartItem = Group.GetStartItem();
    Count = Group.GetItems()->GetCount();

    Measure = Canvas ? Canvas : Bar->GetCanvas();
    if (!Measure) Measure = MeasuringCanvas();
    Measure->SetFont(Bar->GetFont());
    L = LineHeight(Measure);

    // Every end point a picture or widened caption can have, relative to the
    // slot's picture start; the reach is their span.
    int Ends[4] = {0, 0, 0, 0};
    if (Vertical && Large) {
        Pitch = H + T + S + Gap2;
        Ends[1] = H;
        Ends[2] = H + Gap2 + L;
        Ends[3] = H + Gap2 + 2 * L;
    } else if (Vertical) {
        Pitch = H + S;
        Ends[1] = H;
    } else if (Large) {
        Pitch = 2 * W + S;
        Ends[1] = W;
        Ends[2] = -(W / 2);
        Ends[3] = W + W / 2;
    } else {
        Pitch = 4 * W + S;
        Ends[1] = W;
        Ends[2] = RightToLeft ? -3 * W - 2 * Gap3 : 4 * W + 2 * Gap3;
    }
    ReachLo = *std::min_element(std::begin(Ends), std::end(Ends));
    ReachHi = *std::max_element(std::begin(Ends), std::end(Ends));
}

int TFolioItemLayout::SlotStart(int K) const {
    if (Vertical)
        return Narrow(static_cast<long long>(CR.Top) + S + static_cast<long long>(K) * Pitch);
    const int Lead = CR.Left + S + (Large ? W / 2 : 0) + (!Large && RightToLeft ? 3 * W : 0);
    return Narrow(static_cast<long long>(Lead) + static_cast<long long>(K) * Pitch);
}

TRect TFolioItemLayout::ImageRect(int K) const {
    TRect R;
    if (Vertical) {
        R.Top = SlotStart(K);
        if (Large)
            R.Left = (CR.Right - CR.Left - W) / 2;
        else
            R.Left = RightToLeft ? CR.Right - S - W : CR.Left + S;
    } else {
        R.Left = SlotStart(K);
        R.Top = Large ? (CR.Bottom - CR.Top - H - T - Gap2) / 2 : (CR.Bottom - CR.Top - H) / 2;
    }
    R.Right = R.Left + W;
    R.Bottom = R.Top + H;
    return R;
}

TRect TFolioItemLayout::TextRect(const TRect& IR, const String& Caption) const {
    TRect R;
    if (Vertical && Large) {
        const int Across = CR.Right - CR.Left;
        const int TW = Measure->TextWidth(Caption);
        R.Top = IR.Bottom + Gap2;
        if (TW < Across - 2 * S) {
            R.Left = (Across - TW) / 2;
            R.Right = R.Left + TW;
            R.Bottom = R.Top + L;
        } else {
            // Too wide for one line: two lines across the whole slot.
            R.Left = CR.Left + S;
            R.Right = CR.Right - S;
            R.Bottom = R.Top + 2 * L;
        }
    } else if (Vertical) {
        R.Top = IR.Top;
        R.Bottom = IR.Bottom;
        R.Left = RightToLeft ? CR.Left + S : IR.Right + Gap3;
        R.Right = RightToLeft ? IR.Left - Gap3 : CR.Right - S;
    } else if (Large) {
        R.Top = IR.Bottom + Gap2;
        R.Bottom = R.Top + T;
        R.Left = IR.Left - W / 2;
        R.Right = IR.Right + W / 2;
    } else {
        R.Top = IR.Top;
        R.Bottom = IR.Bottom;
        R.Left = RightToLeft ? IR.Left - 3 * W - Gap3 : IR.Right + Gap3;
        R.Right = RightToLeft ? IR.Left - Gap3 : IR.Right + 3 * W + Gap3;
    }
    return R;
}

TRect TFolioItemLayout::HitTextRect(const TRect& IR, const String& Caption) const {
    TRect R = TextRect(IR, Caption);
    if (Large) {
        R.Top -= Gap2;
    } else {
        R.Left -= Gap3;
        R.Right += Gap3;
    }
    return R;
}

bool TFolioItemLayout::SlotsReaching(int P, long long& First, long long& Last) const {
    if (Pitch <= 0) return false;
    // Slot K reaches P when Start(K) + ReachLo <= P < Start(K) + ReachHi,
    // with Start(K) = Start(0) + K * Pitch.
    const long long Rel = static_cast<long long>(P) - SlotStart(0);
    First = FloorDiv(Rel - ReachHi, Pitch) + 1;
    Last = FloorDiv(Rel - ReachLo, Pitch);
    return true;
}

// ---------------------------------------------------------------------------
// Item rectangles

TRect TFolioItem::GetImageRect() const {
    if (!FBar || !FGroup) return TRect{};
    const TFolioItemLayout Layout(*FGroup, nullptr);
    return Layout.ImageRect(GetIndex() - Layout.StartItem);
}

TRect TFolioItem::GetTextRect() const {
    if (!FBar || !FGroup) return TRect{};
    const TFolioItemLayout Layout(*FGroup, nullptr);
    return Layout.TextRect(Layout.ImageRect(GetIndex() - Layout.StartItem), FCaption);
}

TRect TFolioItem::GetClientRect() const {
    if (!FBar || !FGroup) return TRect{};
    const TFolioItemLayout Layout(*FGroup, nullptr);
    const TRect IR = Layout.ImageRect(GetIndex() - Layout.StartItem);
    TRect R;
    UnionRect(R, Layout.TextRect(IR, FCaption), IR);
    InflateRect(R, Layout.Gap2, Layout.Gap2);
    return R;
}

// ---------------------------------------------------------------------------
// Scroll buttons

bool TFolioGroup::GetPrevButtonVisible() const {
    return FStartItem >= 1;
}

bool TFolioGroup::GetNextButtonVisible() const {
    return FBar && GetVisibleItems() < FItems->GetCount() - FStartItem;
}

TRect TFolioGroup::GetPrevButtonRect() const {
    return GetPrevButtonVisible() ? GetPrevButtonPlace() : TRect{};
}

TRect TFolioGroup::GetNextButtonRect() const {
    return GetNextButtonVisible() ? GetNextButtonPlace() : TRect{};
}

TRect TFolioGroup::GetPrevButtonPlace() const {
    if (!FBar) return TRect{};
    const TRect CR = GetClientRect();
    const int S = FBar->GetItemSpacing();
    const int BW = FBar->ScalePixels(GetSystemMetrics(SM_CXVSCROLL));
    TRect R;
    R.Top = CR.Top + S;
    R.Bottom = R.Top + FBar->ScalePixels(GetSystemMetrics(SM_CYVSCROLL));
    R.Left = FBar->IsVertical() ? CR.Right - S - BW : CR.Left + S;
    R.Right = R.Left + BW;
    return R;
}

TRect TFolioGroup::GetNextButtonPlace() const {
    if (!FBar) return TRect{};
    const TRect CR = GetClientRect();
    const int S = FBar->GetItemSpacing();
    const int BH = FBar->ScalePixels(GetSystemMetrics(SM_CYVSCROLL));
    TRect R;
    R.Right = CR.Right - S;
    R.Left = R.Right - FBar->ScalePixels(GetSystemMetrics(SM_CXVSCROLL));
    if (FBar->IsVertical()) {
        R.Bottom = CR.Bottom - S;
        R.Top = R.Bottom - BH;
    } else {
        R.Top = CR.Top + S;
        R.Bottom = R.Top + BH;
    }
    return R;
}

// ---------------------------------------------------------------------------
// Hit test and caption look

int TFolioGroup::GetOnItem(int X, int Y) const {
    if (!FBar) return -1;
    const TFolioItemLayout Layout(*this, nullptr);
    const TPoint P{X, Y};
    auto Hits = [&](int Index) {
        const TRect IR = Layout.ImageRect(Index - Layout.StartItem);
        if (IR.Contains(P)) return true;
        return Layout.HitTextRect(IR, FItems->GetItem(Index)->GetCaption()).Contains(P);
    };

    // Only the few slots whose items can reach the point along the stacking
    // axis need a look; every other item lies wholly before or after it. The
    // candidates are tried in index order, so the answer is the in-order one.
    long long First = 0;
    long long Last = static_cast<long long>(Layout.Count) - 1;
    if (Layout.SlotsReaching(Layout.Vertical ? Y : X, First, Last)) {
        First += Layout.StartItem;
        Last += Layout.StartItem;
    }
    First = std::max<long long>(First, 0);
    Last = std::min<long long>(Last, static_cast<long long>(Layout.Count) - 1);
    for (long long I = First; I <= Last; ++I)
        if (Hits(static_cast<int>(I))) return static_cast<int>(I);
    return -1;
}

TFolGroupState TFolioGroup::GetState() const {
    if (!FBar || FBar->IsDesigning()) return gsNormal;
    const int Index = GetIndex();
    if (FBar->GetGroupPressed() && FBar->GetPressedGroup() == Index)
        return FBar->GetGroupPressInside() ? gsPressed : gsOver;
    if (FBar->GetHoverGroup() == Index) return gsOver;
    return gsNormal;
}

} // namespace folio
