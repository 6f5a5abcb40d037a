#include "folio/FolioItemLayout.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/controls/ControlMessages.h"

#include <algorithm>

namespace folio {

// Each caption and item is a hint target of its own: its own hint when its
// ShowHint is set, else its full caption when the painted caption ends in an
// ellipsis, else the bar's hint. Nothing of this shows unless the bar shows
// hints at all (its ShowHint, directly or from its parent).

namespace {

// Whether a single line of Text needs more than Width pixels, or wrapped at
// Width, more than Height; either way the painter cut it with an ellipsis.
bool TextIsCut(TCanvas* Canvas, const String& Text, int Width, int Height, bool Wraps) {
    if (Text.empty()) return false;
    if (!Wraps) return Canvas->TextWidth(Text) > Width;
    TRect R = Rect(0, 0, std::max(Width, 1), 0);
    String Copy = Text;
    Canvas->DrawText(Copy, R, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    return R.Width() > Width || R.Height() > Height;
}

// The stretch of the open group's background around P that no item reaches,
// along the stacking axis and across the whole group: the bar's own hint
// stays while the pointer moves in it. A point beside an item (in its slot
// but off it) gets only its own pixel, so any move asks again.
TRect BackgroundAround(const TFolioItemLayout& Layout, TPoint P) {
    const TRect Pixel = Rect(P.X, P.Y, P.X + 1, P.Y + 1);
    if (!Layout.Valid || Layout.Pitch <= 0 || !Layout.CR.Contains(P)) return Pixel;
    const int A = Layout.Vertical ? P.Y : P.X;
    // The item frames reach two pixels past the slot's reach.
    auto Lo = [&](long long K) {
        return Layout.SlotStart(static_cast<int>(K)) + Layout.ReachLo - 2;
    };
    auto Hi = [&](long long K) {
        return Layout.SlotStart(static_cast<int>(K)) + Layout.ReachHi + 2;
    };
    const long long Rel = static_cast<long long>(A) - Layout.SlotStart(0);
    // The slot whose start lies at or before the point.
    const long long K = Rel >= 0 ? Rel / Layout.Pitch : -((-Rel + Layout.Pitch - 1) / Layout.Pitch);
    const long long Shown = static_cast<long long>(Layout.Count) - Layout.StartItem;
    auto InReach = [&](long long J) { return J >= 0 && J < Shown && Lo(J) <= A && A < Hi(J); };
    if (InReach(K - 1) || InReach(K) || InReach(K + 1)) return Pixel;
    // The last slot reaching in before the point and the first one after it.
    long long Before = std::min(K, Shown - 1);
    if (Before >= 0 && Lo(Before) > A) --Before;
    Before = std::max<long long>(Before, -1);
    const long long After = Before + 1;
    const int From = Before >= 0 ? Hi(Before) : (Layout.Vertical ? Layout.CR.Top : Layout.CR.Left);
    const int To =
        After < Shown ? Lo(After) : (Layout.Vertical ? Layout.CR.Bottom : Layout.CR.Right);
    if (From > A || To <= A) return Pixel;
    TRect R = Layout.CR;
    if (Layout.Vertical) {
        R.Top = std::max(R.Top, From);
        R.Bottom = std::min(R.Bottom, To);
    } else {
        R.Left = std::max(R.Left, From);
        R.Right = std::min(R.Right, To);
    }
    return R.Contains(P) ? R : Pixel;
}

void OfferHint(THintInfo& Info, bool ShowHint, const String& Hint, const String& Caption,
               bool Cut) {
    if (ShowHint && !Hint.empty())
        Info.HintStr = GetShortHint(Hint);
    else if (Cut)
        Info.HintStr = Caption;
}

} // namespace

bool TFolio::IsCaptionCut(const TFolioGroup* Group) {
    if (!Group || (GetCustomDrawGroupCaption() && OnDrawGroupCaption)) return false;
    const TRect R = Group->GetCaptionRect();
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetGroupsFont());
    // The room the painter gives the text: inset in a vertical bar, the
    // strip laid on its side in a horizontal one.
    const int Room = IsVertical() ? R.Width() - 6 : R.Height() - 2;
    return TextIsCut(Canvas, Group->GetCaption(), Room, 0, false);
}

bool TFolio::IsItemCaptionCut(const TFolioItem* Item) {
    if (!Item || !Item->GetGroup()) return false;
    const TFolioItemLayout Layout(*Item->GetGroup(), nullptr);
    const TRect IR = Layout.ImageRect(Item->GetIndex() - Layout.StartItem);
    const TRect TR = Layout.TextRect(IR, Item->GetCaption());
    return TextIsCut(Layout.Measure, Item->GetCaption(), TR.Width(), TR.Height(), Layout.Large);
}

void TFolio::CMHintShow(TMessage& Message) {
    auto& Info = *reinterpret_cast<THintInfo*>(Message.LParam);
    const TPoint P = Info.CursorPos;
    // A sliding switch moves every caption and item under the pointer.
    if (FAnimating || FSwitching) {
        Info.CursorRect = Rect(P.X, P.Y, P.X + 1, P.Y + 1);
        return;
    }
    const int G = GetOnGroup(P.X, P.Y);
    if (G >= 0) {
        const TFolioGroup* Group = FGroups->GetGroup(G);
        Info.CursorRect = Group->GetCaptionRect();
        OfferHint(Info, Group->GetShowHint(), Group->GetHint(), Group->GetCaption(),
                  IsCaptionCut(Group));
        return;
    }
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open) return;
    const int I = Open->GetOnItem(P.X, P.Y);
    if (I < 0) {
        Info.CursorRect = BackgroundAround(TFolioItemLayout(*Open, nullptr), P);
        return;
    }
    const TFolioItem* Item = Open->GetItems()->GetItem(I);
    Info.CursorRect = Item->GetClientRect();
    OfferHint(Info, Item->GetShowHint(), Item->GetHint(), Item->GetCaption(),
              IsItemCaptionCut(Item));
}

} // namespace folio
