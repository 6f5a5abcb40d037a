#include "framework/ui/paint/ControlPaint.h"

#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"

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
