#include "folio/FolioItemLayout.h"
#include "folio/FolioView.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"

#include <algorithm>

namespace folio {

namespace {

// Paints the items of one group with one layout and one look: the line
// height, fonts, text flags and image list are settled once for the pass.
class TItemPainter {
public:
    TItemPainter(const TFolioGroup& Group, const TFolioItemLayout& Layout, TCanvas* Canvas)
        : FLayout(Layout), FCanvas(Canvas), FBar(*Group.GetBar()), FLook(FBar.GetLook()) {
        FItem.Images = Group.GetImages();
        FItem.Large = Layout.Large;
        FItem.FrameGap = Layout.Gap2;
        FItem.Scaled = FItem.Images && (FItem.Images->GetWidth() != Layout.W ||
                                        FItem.Images->GetHeight() != Layout.H);
        FBarClient = FBar.GetClientRect();
        FOpen = Group.GetIndex() == FBar.GetVisibleGroup();
        // The layout put the bar's Font on this canvas when it measured.
        FCanvas->SetBkMode(TRANSPARENT);
    }

    void Paint(const TFolioItem& Item, int Index) {
        FItem.ImageRect = FLayout.ImageRect(Index - FLayout.StartItem);
        FItem.TextRect = FLayout.TextRect(FItem.ImageRect, Item.GetCaption());
        TRect Whole;
        UnionRect(Whole, FItem.TextRect, FItem.ImageRect);
        InflateRect(Whole, FLayout.Gap2, FLayout.Gap2);
        TRect Seen;
        if (!IntersectRect(Seen, Whole, FBarClient)) return;

        FItem.Hovered = FOpen && Index == FBar.GetHoverItem();
        FItem.Pressed = FBar.GetItemPressed();
        FItem.Picture = FItem.Hovered ? Item.GetOverImageIndex() : Item.GetImageIndex();
        // The caption under the in-place editor is left to the editor.
        FItem.ShowCaption = !Item.GetEdited();
        PaintItem(FCanvas, Item.GetCaption(), FItem, FLook);
    }

private:
    const TFolioItemLayout& FLayout;
    TCanvas* FCanvas;
    const TFolio& FBar;
    const TFolioLook FLook;
    TFolioItemLook FItem;
    TRect FBarClient;
    bool FOpen = false;
};

} // namespace

// ---------------------------------------------------------------------------
// The bar's background

TFolioLook TFolio::GetLook() const {
    TFolioLook Look;
    Look.Vertical = IsVertical();
    Look.Line = ScalePixels(1);
    Look.CaptionInsetAcross = ScalePixels(3);
    Look.CaptionInsetAlong = ScalePixels(2);
    Look.ItemSpacing = GetItemSpacing();
    Look.FrameHighlight = GetFrameHighlightColor();
    Look.FrameShadow = GetFrameShadowColor();
    Look.InsertMark = GetInsertMarkColor();
    Look.GroupsFont = GetGroupsFont();
    Look.RotatedFont = GetRotatedFont();
    Look.CaptionFormat = DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE |
                                               DT_NOPREFIX | DT_END_ELLIPSIS);
    Look.LargeItemFormat = DrawTextBiDiModeFlags(DT_CENTER | DT_WORDBREAK | DT_NOPREFIX |
                                                 DT_EDITCONTROL | DT_END_ELLIPSIS);
    Look.SmallItemFormat =
        DrawTextBiDiModeFlags(DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    return Look;
}

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
        Painter.Paint(*FList.At(I), I);
    }
}

void TFolioItem::Paint(TCanvas* Canvas) {
    if (!Canvas || !FBar || !FGroup) return;
    const TFolioItemLayout Layout(*FGroup, Canvas);
    TItemPainter Painter(*FGroup, Layout, Canvas);
    Painter.Paint(*this, GetIndex());
}

// ---------------------------------------------------------------------------
// A group

void TFolioGroup::Paint(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const int Index = GetIndex();
    const int Visible = FBar->GetVisibleGroup();
    const int Target = FBar->GetTargetGroup();
    const bool Open = Index == Visible;
    if (FBar->GetAnimating() && (Open || Index == Target)) {
        // The two sliding groups were painted beforehand; a frame copies them
        // at their current places and draws nothing else for them.
        TBitmap* Picture = Open ? FBar->GetVisibleBitmap() : FBar->GetTargetBitmap();
        if (!Picture || Picture->GetEmpty()) return;
        const bool Vertical = FBar->IsVertical();
        const TRect B = GetBoundsRect();
        const int Lead = Vertical ? B.Top : B.Left;
        int Shown = Vertical ? Picture->GetHeight() : Picture->GetWidth();
        // The first of the two stays where it is and the next caption slides
        // over it, so only its part before that caption can show; copying
        // the rest would be painted over in the same frame.
        if (Index == std::min(Visible, Target) && Index + 1 < FGroups->GetCount()) {
            const TRect Next = FGroups->GetGroup(Index + 1)->GetBoundsRect();
            Shown = std::clamp((Vertical ? Next.Top : Next.Left) - Lead, 0, Shown);
        }
        PaintSlidingGroup(Canvas, Picture, Lead, Shown, Vertical);
        return;
    }
    if (Open || Index == Target) {
        PaintClientRect(Canvas);
        PaintItems(Canvas);
        PaintButtons(Canvas);
    }
    PaintCaption(Canvas);
    PaintInsertMark(Canvas);
}

void TFolioGroup::PaintCaption(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const TRect R = GetCaptionRect();
    const TFolGroupState State = GetState();
    if (FBar->GetCustomDrawGroupCaption() && FBar->OnDrawGroupCaption) {
        FBar->OnDrawGroupCaption(FBar, Canvas, this, R, State);
        return;
    }
    PaintGroupCaption(Canvas, R, FCaption, FCaptionColor, State, FBar->GetLook());
}

void TFolioGroup::PaintClientRect(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const TRect R = GetClientRect();
    if (FBar->GetCustomDrawGroup() && FBar->OnDrawGroup) {
        FBar->OnDrawGroup(FBar, Canvas, this, R);
        return;
    }
    PaintGroupBackground(Canvas, R,
                         {FStyle, FColor, FStartColor, FEndColor, FBitmap.get(), FFixedBitmap},
                         FBar->IsVertical());
}

void TFolioGroup::PaintItems(TCanvas* Canvas) {
    FItems->Paint(Canvas);
}

void TFolioGroup::PaintButtons(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const bool Vertical = FBar->IsVertical();
    if (GetPrevButtonVisible())
        PaintScrollButton(Canvas, GetPrevButtonRect(), false,
                          FBar->GetPrevPressed() && FBar->GetPrevPressInside(), Vertical);
    if (GetNextButtonVisible())
        PaintScrollButton(Canvas, GetNextButtonRect(), true,
                          FBar->GetNextPressed() && FBar->GetNextPressInside(), Vertical);
}

void TFolioGroup::PaintInsertMark(TCanvas* Canvas) {
    if (!Canvas || !FBar) return;
    const int I = FBar->GetInsertIndex();
    // The insert position is one in the open group's list. Drawn for a
    // closed group, scrolled elsewhere, the mark would show up over the open
    // group's items at a place that means nothing.
    if (I == -1 || GetIndex() != FBar->GetVisibleGroup()) return;
    const int N = FItems->GetCount();
    ::folio::PaintInsertMark(Canvas, GetClientRect(), GetInsertMarkRect(I), I == 0, I == N && N > 0,
                             FBar->GetLook());
}

} // namespace folio
