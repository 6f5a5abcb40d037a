#include "folio/FolioView.h"

#include "folio/FolioPrimitives.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"

namespace folio {

void PaintGroupCaption(TCanvas* Canvas, const TRect& Bounds, const String& Caption,
                       TColor CaptionColor, TFolGroupState State, const TFolioLook& Look) {
    TRect R = Bounds;
    DrawFrameRect(Canvas, R, CaptionColor,
                  State == gsPressed ? frsPressed
                  : State == gsOver  ? frsOver
                                     : frsRegular,
                  Look.Line);
    Canvas->SetFont(Look.GroupsFont);
    Canvas->SetBkMode(TRANSPARENT);

    if (Look.Vertical) {
        R.Left += Look.CaptionInsetAcross;
        R.Right -= Look.CaptionInsetAcross;
        R.Top += Look.CaptionInsetAlong;
        R.Bottom -= Look.CaptionInsetAlong;
        // A pressed caption's text sinks with its frame.
        if (State == gsPressed) {
            R.Left += Look.CaptionInsetAlong;
            R.Top += Look.CaptionInsetAlong;
        }
        DrawText(Canvas, Caption, R, Look.CaptionFormat);
        return;
    }

    // A horizontal bar's caption is a tall strip: the text is fitted to the
    // strip laid on its side, then written upwards with the rotated font,
    // centred both ways.
    TRect M{R.Left, R.Top, R.Left + (R.Bottom - R.Top) - 2, R.Top + (R.Right - R.Left)};
    const int TH = Canvas->TextHeight(Caption);
    String Text = Caption.substr(0, 255);
    Canvas->DrawText(Text, M, Look.CaptionFormat | DT_CALCRECT | DT_MODIFYSTRING);
    const int Wt = M.Right - M.Left - 1;
    Canvas->SetFont(Look.RotatedFont);
    Canvas->TextOut(R.Left + (R.Right - R.Left - TH) / 2, R.Bottom - ((R.Bottom - R.Top) - Wt) / 2,
                    Text);
}

void PaintGroupBackground(TCanvas* Canvas, const TRect& R, const TFolioBackground& Background,
                          bool Vertical) {
    switch (Background.Style) {
    case gbGradient:
        FillGradient(Canvas, R, Background.StartColor, Vertical, Background.EndColor);
        break;
    case gbBitmap:
        TileBitmap(Canvas, Background.Bitmap, R, Background.Color, Background.FixedBitmap);
        break;
    default:
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(Background.Color);
        Canvas->FillRect(R);
        break;
    }
}

void PaintScrollButton(TCanvas* Canvas, const TRect& R, bool Next, bool Pushed, bool Vertical) {
    unsigned State = Next ? (Vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT)
                          : (Vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT);
    State |= DFCS_FLAT;
    if (Pushed) State |= DFCS_PUSHED;
    TRect Face = R;
    DrawFrameControl(Canvas, Face, DFC_SCROLL, State);
}

void PaintInsertMark(TCanvas* Canvas, const TRect& CR, const TRect& Gap, bool First, bool Last,
                     const TFolioLook& Look) {
    const int B = Look.ItemSpacing / 2;
    const int C = 2 * B;

    TPen* Pen = Canvas->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    Pen->SetColor(Look.InsertMark);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Look.InsertMark);

    // The mark sits in the middle of the gap.
    if (Look.Vertical) {
        const int A = Gap.Top;
        const int E = A + B;
        const int Upper = First ? E : A;
        const int Lower = Last ? E : E + B;
        Canvas->MoveTo(CR.Left + B, E);
        Canvas->LineTo(CR.Right - B, E);
        Canvas->Polygon(
            {Point(CR.Left + B, Upper), Point(CR.Left + C, E), Point(CR.Left + B, Lower)});
        Canvas->Polygon(
            {Point(CR.Right - B, Upper), Point(CR.Right - C, E), Point(CR.Right - B, Lower)});
    } else {
        const int A = Gap.Left;
        const int D = A + B;
        const int Before = First ? D : A;
        const int After = Last ? D : D + B;
        Canvas->MoveTo(D, CR.Top + B);
        Canvas->LineTo(D, CR.Bottom - B);
        Canvas->Polygon(
            {Point(Before, CR.Top + B), Point(D, CR.Top + C), Point(After, CR.Top + B)});
        Canvas->Polygon(
            {Point(Before, CR.Bottom - B), Point(D, CR.Bottom - C), Point(After, CR.Bottom - B)});
    }
}

void PaintItem(TCanvas* Canvas, const String& Caption, const TFolioItemLook& Item,
               const TFolioLook& Look) {
    const TRect& IR = Item.ImageRect;
    // A bar scaled for a denser screen draws the list's best size for the
    // room its pictures take.
    if (Item.Images && Item.Scaled)
        Item.Images->DrawScaled(Canvas, IR, Item.Picture, true);
    else if (Item.Images)
        Item.Images->Draw(Canvas, IR.Left, IR.Top, Item.Picture, true);
    if (Item.ShowCaption) {
        TRect TR = Item.TextRect;
        DrawText(Canvas, Caption, TR, Item.Large ? Look.LargeItemFormat : Look.SmallItemFormat);
    }
    if (Item.Hovered) {
        TRect Frame = IR;
        InflateRect(Frame, Item.FrameGap, Item.FrameGap);
        if (Item.Pressed)
            DrawFrameLines(Canvas, Frame, Look.FrameShadow, Look.FrameHighlight, Look.Line);
        else
            DrawFrameLines(Canvas, Frame, Look.FrameHighlight, Look.FrameShadow, Look.Line);
    }
}

void PaintSlidingGroup(TCanvas* Canvas, TBitmap* Picture, int Lead, int Shown, bool Vertical) {
    if (!Picture || Picture->GetEmpty()) return;
    if (Vertical)
        Canvas->CopyRect(Rect(0, Lead, Picture->GetWidth(), Lead + Shown), Picture->GetCanvas(),
                         Rect(0, 0, Picture->GetWidth(), Shown));
    else
        Canvas->CopyRect(Rect(Lead, 0, Lead + Shown, Picture->GetHeight()), Picture->GetCanvas(),
                         Rect(0, 0, Shown, Picture->GetHeight()));
}

} // namespace folio
