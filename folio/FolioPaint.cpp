#include "folio/FolioItemLayout.h"
#include "folio/FolioPrimitives.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"

#include <algorithm>

namespace folio {

namespace {

// Paints the items of one group with one layout: the line height, fonts,
// text flags and image list are settled once for the whole pass.
class TItemPainter {
public:
    TItemPainter(const TFolioGroup& Group, const TFolioItemLayout& Layout, TCanvas* Canvas)
        : FLayout(Layout), FCanvas(Canvas), FBar(*Group.GetBar()), FImages(Group.GetImages()) {
        const unsigned Base =
            Layout.Large ? DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS
                         : DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
        FFormat = FBar.DrawTextBiDiModeFlags(Base);
        FBarClient = FBar.GetClientRect();
        FOpen = Group.GetIndex() == FBar.GetVisibleGroup();
        FScaled = FImages && (FImages->GetWidth() != Layout.W || FImages->GetHeight() != Layout.H);
        // The layout put the bar's Font on this canvas when it measured.
        FCanvas->SetBkMode(TRANSPARENT);
    }

    void Paint(const TFolioItem& Item, int Index, int HoverItem, bool ItemPressed) {
        const TRect IR = FLayout.ImageRect(Index - FLayout.StartItem);
        TRect TR = FLayout.TextRect(IR, Item.GetCaption());
        TRect Whole;
        UnionRect(Whole, TR, IR);
        InflateRect(Whole, FLayout.Gap2, FLayout.Gap2);
        TRect Seen;
        if (!IntersectRect(Seen, Whole, FBarClient)) return;

        const bool Hovered = FOpen && Index == HoverItem;
        const int Picture = Hovered ? Item.GetOverImageIndex() : Item.GetImageIndex();
        // A bar scaled for a denser screen draws the list's best size for
        // the room its pictures take.
        if (FImages && FScaled)
            FImages->DrawScaled(FCanvas, IR, Picture, true);
        else if (FImages)
            FImages->Draw(FCanvas, IR.Left, IR.Top, Picture, true);
        // The caption under the in-place editor is left to the editor.
        if (!Item.GetEdited()) {
            FText.assign(Item.GetCaption());
            FCanvas->DrawText(FText, TR, FFormat);
        }
        if (Hovered) {
            TRect Frame = IR;
            InflateRect(Frame, FLayout.Gap2, FLayout.Gap2);
            const TColor Light = FBar.GetFrameHighlightColor();
            const TColor Dark = FBar.GetFrameShadowColor();
            const int Line = FBar.ScalePixels(1);
            if (ItemPressed)
                DrawFrameLines(FCanvas, Frame, Dark, Light, Line);
            else
                DrawFrameLines(FCanvas, Frame, Light, Dark, Line);
        }
    }

private:
    const TFolioItemLayout& FLayout;
    TCanvas* FCanvas;
    const TFolio& FBar;
    const TImageList* FImages;
    unsigned FFormat = 0;
    TRect FBarClient;
    bool FOpen = false;
    bool FScaled = false;
    // Reused for every caption, so that a warm paint does not allocate.
    String FText;
};

} // namespace

// ---------------------------------------------------------------------------
// The bar's background

bool TFolio::DrawsCustom() const {
    return (FCustomDrawGroupCaption && OnDrawGroupCaption) || (FCustomDrawGroup && OnDrawGroup);
}

bool TFolio::PaintCoversClient() const {
    // With a group open, the captions before it lie edge to edge from the
    // leading side, the later ones up to the trailing side, and the open
    // group's background fills what is between (or the captions overlap
    // when the bar is too short): every caption and background is filled
    // across the whole bar. A slide, no open group, the application's own
    // drawing or a picture background (which may have transparent parts)
    // leave that unsure.
    if (FAnimating || FSwitching || DrawsCustom()) return false;
    const TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open) return false;
    return Open->GetStyle() != gbBitmap || !Open->GetBitmap() || Open->GetBitmap()->GetEmpty();
}

void TFolio::WMEraseBkgnd(TMessage& Message) {
    if (!PaintCoversClient()) {
        TCustomControl::Dispatch(Message);
        return;
    }
    Message.Result = 1;
}

// ---------------------------------------------------------------------------
// The item collection and an item

void TFolioItems::Paint(TCanvas* Canvas) {
    if (!Canvas || !FGroup || !FBar) return;
    const TFolioItemLayout Layout(*FGroup, Canvas);
    TItemPainter Painter(*FGroup, Layout, Canvas);
    const bool Vertical = Layout.Vertical;
    const int Extent = Vertical ? FBar->GetClientHeight() : FBar->GetClientWidth();
    for (int I = std::max(Layout.StartItem, 0); I < FList.Count(); ++I) {
        // Slots only move further along the bar, so once an item's frame
        // would start past the bar's far edge no later item can show.
        if (Layout.Pitch > 0 &&
            Layout.SlotStart(I - Layout.StartItem) + Layout.ReachLo - 2 >= Extent)
            break;
        Painter.Paint(*FList.At(I), I, FBar->FHoverItem, FBar->FItemPressed);
    }
}

void TFolioItem::Paint(TCanvas* Canvas) {
    if (!Canvas || !FBar || !FGroup) return;
    const TFolioItemLayout Layout(*FGroup, Canvas);
    TItemPainter Painter(*FGroup, Layout, Canvas);
    Painter.Paint(*this, GetIndex(), FBar->FHoverItem, FBar->FItemPressed);
}

// ---------------------------------------------------------------------------
// A group

void TFolioGroup::Paint(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const int Index = GetIndex();
    const bool Open = Index == FBar->FVisibleGroup;
    const bool Target = Index == FBar->FTargetGroup;
    if (FBar->FAnimating && (Open || Target)) {
        // The two sliding groups were painted beforehand; a frame copies them
        // at their current places and draws nothing else for them.
        TBitmap* Picture = Open ? FBar->FVisibleBitmap.get() : FBar->FTargetBitmap.get();
        if (!Picture || Picture->GetEmpty()) return;
        const bool Vertical = FBar->IsVertical();
        const TRect B = GetBoundsRect();
        const int Lead = Vertical ? B.Top : B.Left;
        int Shown = Vertical ? Picture->GetHeight() : Picture->GetWidth();
        // The first of the two stays where it is and the next caption slides
        // over it, so only its part before that caption can show; copying
        // the rest would be painted over in the same frame.
        if (Index == std::min(FBar->FVisibleGroup, FBar->FTargetGroup) &&
            Index + 1 < FGroups->GetCount()) {
            const TRect Next = FGroups->GetGroup(Index + 1)->GetBoundsRect();
            Shown = std::clamp((Vertical ? Next.Top : Next.Left) - Lead, 0, Shown);
        }
        if (Vertical)
            Canvas->CopyRect(Rect(0, Lead, Picture->GetWidth(), Lead + Shown), Picture->GetCanvas(),
                             Rect(0, 0, Picture->GetWidth(), Shown));
        else
            Canvas->CopyRect(Rect(Lead, 0, Lead + Shown, Picture->GetHeight()),
                             Picture->GetCanvas(), Rect(0, 0, Shown, Picture->GetHeight()));
        return;
    }
    if (Open || Target) {
        PaintClientRect(Canvas);
        PaintItems(Canvas);
        PaintButtons(Canvas);
    }
    PaintCaption(Canvas);
    PaintInsertMark(Canvas);
}

void TFolioGroup::PaintCaption(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    TRect R = GetCaptionRect();
    const TFolGroupState State = GetState();
    if (FBar->GetCustomDrawGroupCaption() && FBar->OnDrawGroupCaption) {
        FBar->OnDrawGroupCaption(FBar, Canvas, this, R, State);
        return;
    }
    DrawFrameRect(Canvas, R, FCaptionColor,
                  State == gsPressed ? frsPressed
                  : State == gsOver  ? frsOver
                                     : frsRegular,
                  FBar->ScalePixels(1));
    const unsigned Format = FBar->DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE |
                                                        DT_NOPREFIX | DT_END_ELLIPSIS);
    Canvas->SetFont(FBar->GetGroupsFont());
    Canvas->SetBkMode(TRANSPARENT);

    if (FBar->IsVertical()) {
        const int Across = FBar->ScalePixels(3);
        const int Along = FBar->ScalePixels(2);
        R.Left += Across;
        R.Right -= Across;
        R.Top += Along;
        R.Bottom -= Along;
        // A pressed caption's text sinks with its frame.
        if (State == gsPressed) {
            R.Left += Along;
            R.Top += Along;
        }
        DrawText(Canvas, FCaption, R, Format);
        return;
    }

    // A horizontal bar's caption is a tall strip: the text is fitted to the
    // strip laid on its side, then written upwards with the rotated font,
    // centred both ways.
    TRect M{R.Left, R.Top, R.Left + (R.Bottom - R.Top) - 2, R.Top + (R.Right - R.Left)};
    const int TH = Canvas->TextHeight(FCaption);
    String Text = FCaption.substr(0, 255);
    Canvas->DrawText(Text, M, Format | DT_CALCRECT | DT_MODIFYSTRING);
    const int Wt = M.Right - M.Left - 1;
    Canvas->SetFont(FBar->GetRotatedFont());
    Canvas->TextOut(R.Left + (R.Right - R.Left - TH) / 2, R.Bottom - ((R.Bottom - R.Top) - Wt) / 2,
                    Text);
}

void TFolioGroup::PaintClientRect(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const TRect R = GetClientRect();
    if (FBar->GetCustomDrawGroup() && FBar->OnDrawGroup) {
        FBar->OnDrawGroup(FBar, Canvas, this, R);
        return;
    }
    switch (FStyle) {
    case gbGradient:
        FillGradient(Canvas, R, FStartColor, FBar->IsVertical(), FEndColor);
        break;
    case gbBitmap:
        TileBitmap(Canvas, FBitmap.get(), R, FColor, FFixedBitmap);
        break;
    default:
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(FColor);
        Canvas->FillRect(R);
        break;
    }
}

void TFolioGroup::PaintItems(TCanvas* Canvas) {
    FItems->Paint(Canvas);
}

void TFolioGroup::PaintButtons(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const bool Vertical = FBar->IsVertical();
    if (GetPrevButtonVisible()) {
        TRect R = GetPrevButtonRect();
        unsigned State = (Vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | DFCS_FLAT;
        if (FBar->FPrevPressed && FBar->FPrevPressInside) State |= DFCS_PUSHED;
        DrawFrameControl(Canvas, R, DFC_SCROLL, State);
    }
    if (GetNextButtonVisible()) {
        TRect R = GetNextButtonRect();
        unsigned State = (Vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | DFCS_FLAT;
        if (FBar->FNextPressed && FBar->FNextPressInside) State |= DFCS_PUSHED;
        DrawFrameControl(Canvas, R, DFC_SCROLL, State);
    }
}

void TFolioGroup::PaintInsertMark(TCanvas* Canvas) {
    if (!Canvas || !FBar || FBar->FInsertIndex == -1) return;
    // The insert position is one in the open group's list. Drawn for a
    // closed group, scrolled elsewhere, the mark would show up over the open
    // group's items at a place that means nothing.
    if (GetIndex() != FBar->FVisibleGroup) return;
    const int I = FBar->FInsertIndex;
    const TRect CR = GetClientRect();
    const TRect Gap = GetInsertMarkRect(I);
    const int S = FBar->GetItemSpacing();
    const int B = S / 2;
    const int C = 2 * B;
    const int N = FItems->GetCount();
    const bool AtEnd = I == N && N > 0;

    TPen* Pen = Canvas->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    Pen->SetColor(FBar->GetInsertMarkColor());
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(FBar->GetInsertMarkColor());

    // The mark sits in the middle of the gap before slot I. At the first and
    // the last position only the half of each end triangle that points into
    // the group is drawn.
    if (FBar->IsVertical()) {
        const int A = Gap.Top;
        const int E = A + B;
        const int Upper = I == 0 ? E : A;
        const int Lower = AtEnd ? E : E + B;
        Canvas->MoveTo(CR.Left + B, E);
        Canvas->LineTo(CR.Right - B, E);
        Canvas->Polygon(
            {Point(CR.Left + B, Upper), Point(CR.Left + C, E), Point(CR.Left + B, Lower)});
        Canvas->Polygon(
            {Point(CR.Right - B, Upper), Point(CR.Right - C, E), Point(CR.Right - B, Lower)});
    } else {
        const int A = Gap.Left;
        const int D = A + B;
        const int Before = I == 0 ? D : A;
        const int After = AtEnd ? D : D + B;
        Canvas->MoveTo(D, CR.Top + B);
        Canvas->LineTo(D, CR.Bottom - B);
        Canvas->Polygon(
            {Point(Before, CR.Top + B), Point(D, CR.Top + C), Point(After, CR.Top + B)});
        Canvas->Polygon(
            {Point(Before, CR.Bottom - B), Point(D, CR.Bottom - C), Point(After, CR.Bottom - B)});
    }
}

} // namespace folio
