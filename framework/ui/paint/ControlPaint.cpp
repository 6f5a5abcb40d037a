#include "framework/ui/paint/ControlPaint.h"

#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"

#include <algorithm>

namespace folio {

void DrawCaption(TCanvas* Canvas, const String& Text, TRect R, unsigned Flags, bool Enabled) {
    Canvas->GetBrush()->SetStyle(bsClear);
    TFont* Font = Canvas->GetFont();
    if (Enabled) {
        DrawText(Canvas, Text, R, Flags);
        return;
    }
    const TColor Saved = Font->GetColor();
    if (!GetColorSchemeTraits().EngravedDisabledText) {
        Font->SetColor(clGrayText);
        DrawText(Canvas, Text, R, Flags);
        Font->SetColor(Saved);
        return;
    }
    TRect Shifted = Rect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
    Font->SetColor(clBtnHighlight);
    DrawText(Canvas, Text, Shifted, Flags);
    Font->SetColor(clBtnShadow);
    DrawText(Canvas, Text, R, Flags);
    Font->SetColor(Saved);
}

TRect DrawButtonFace(TCanvas* Canvas, const TRect& R, const TButtonLook& Look) {
    TRect Face = R;
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    if (Look.Default || Look.Pressed) {
        // The button Enter would press, and a pressed one, wear a frame in
        // the window-frame colour outside their edges.
        Brush->SetColor(clWindowFrame);
        Canvas->FrameRect(Face);
        InflateRect(Face, -1, -1);
    }
    if (Look.Pressed) {
        // Pressed: a flat shadow line, the face sunk by one pixel.
        Brush->SetColor(clBtnShadow);
        Canvas->FrameRect(Face);
        InflateRect(Face, -1, -1);
        Brush->SetColor(clBtnFace);
        Canvas->FillRect(Face);
    } else {
        DrawEdge(Canvas, Face, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    }
    if (Look.Focused) {
        TRect Focus = R;
        InflateRect(Focus, -4, -4);
        Canvas->DrawFocusRect(Focus);
    }
    TRect Text = Face;
    if (Look.Pressed) Text = Rect(Text.Left + 1, Text.Top + 1, Text.Right + 1, Text.Bottom + 1);
    return Text;
}

void DrawTab(TCanvas* Canvas, const TRect& R) {
    if (R.Width() < 4 || R.Height() < 3) return;
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(clBtnFace);
    Canvas->FillRect(Rect(R.Left, R.Top + 2, R.Right, R.Bottom));
    Canvas->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Top + 2));
    const int Foot = R.Bottom - 1;
    TPen* Pen = Canvas->GetPen();
    Pen->SetWidth(0);
    Pen->SetColor(clBtnHighlight);
    // Left side and top, with a cut top-left corner.
    Canvas->MoveTo(R.Left, Foot);
    Canvas->LineTo(R.Left, R.Top + 2);
    Canvas->LineTo(R.Left + 2, R.Top);
    Canvas->LineTo(R.Right - 2, R.Top);
    // Right side: a dark outer line and a shadow inside it.
    Pen->SetColor(cl3DDkShadow);
    Canvas->MoveTo(R.Right - 2, R.Top + 1);
    Canvas->LineTo(R.Right - 1, R.Top + 2);
    Canvas->LineTo(R.Right - 1, Foot + 1);
    Pen->SetColor(clBtnShadow);
    Canvas->MoveTo(R.Right - 2, R.Top + 2);
    Canvas->LineTo(R.Right - 2, Foot + 1);
}

} // namespace folio

namespace folio {

namespace {

// The colour a mark's inside takes: the window colour, or the face colour
// while the user cannot change it or holds it down.
TColor MarkFill(const TMarkLook& Look) {
    return Look.Pressed || !Look.Enabled || Look.Grayed ? clBtnFace : clWindow;
}

TColor MarkInk(const TMarkLook& Look) {
    return Look.Enabled && !Look.Grayed ? clWindowText : clGrayText;
}

} // namespace

void DrawCheckMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) {
    TRect Inside = Box;
    DrawEdge(Canvas, Inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(MarkFill(Look));
    Canvas->FillRect(Inside);
    if (!Look.Checked && !Look.Grayed) return;
    // The tick scales with the box: a short stroke down to the lowest point
    // and a long one up to the right, about a seventh of the box thick.
    const int N = Inside.Width();
    if (N < 5) return;
    const int Thick = std::max(1, N / 6);
    const TPoint Low{Inside.Left + N * 2 / 5, Inside.Top + N * 7 / 10};
    TPen* Pen = Canvas->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    Pen->SetColor(MarkInk(Look));
    for (int I = 0; I < Thick + 1; ++I) {
        Canvas->MoveTo(Inside.Left + N / 5, Low.Y - N / 5 + I - 1);
        Canvas->LineTo(Low.X, Low.Y + I - 1);
        Canvas->LineTo(Inside.Right - N / 5, Inside.Top + N / 4 + I - 1);
    }
}

void DrawRadioMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) {
    TPen* Pen = Canvas->GetPen();
    TBrush* Brush = Canvas->GetBrush();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    Pen->SetColor(clBtnShadow);
    Brush->SetStyle(bsSolid);
    Brush->SetColor(MarkFill(Look));
    Canvas->Ellipse(Box);
    if (!Look.Checked) return;
    const int Dot = std::max(2, Box.Width() * 5 / 13);
    const int Left = Box.Left + (Box.Width() - Dot) / 2;
    const int Top = Box.Top + (Box.Height() - Dot) / 2;
    Pen->SetColor(MarkInk(Look));
    Brush->SetColor(MarkInk(Look));
    Canvas->Ellipse(Left, Top, Left + Dot, Top + Dot);
}

void DrawEtchedLine(TCanvas* Canvas, TPoint From, TPoint To, bool Lowered) {
    TPen* Pen = Canvas->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    const bool Across = From.Y == To.Y;
    const int DX = Across ? 0 : 1, DY = Across ? 1 : 0;
    Pen->SetColor(Lowered ? clBtnShadow : clBtnHighlight);
    Canvas->MoveTo(From.X, From.Y);
    Canvas->LineTo(To.X, To.Y);
    Pen->SetColor(Lowered ? clBtnHighlight : clBtnShadow);
    Canvas->MoveTo(From.X + DX, From.Y + DY);
    Canvas->LineTo(To.X + DX, To.Y + DY);
}

} // namespace folio
