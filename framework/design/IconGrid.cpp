#include "framework/design/IconGrid.h"

#include "framework/core/ColorConsts.h"
#include "framework/gfx/Edges.h"

#include <algorithm>

namespace folio {

void TIconGrid::Fill(const TRect& Area, TColor Color) const {
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(Color);
    C->FillRect(Area);
}

void TIconGrid::Frame(const TRect& Area, TColor Color) const {
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(Color);
    C->FrameRect(Area);
}

void TIconGrid::Edge(TRect Area, unsigned Kind, unsigned Flags) const {
    DrawEdge(C, Area, Kind, Flags);
}

void TIconGrid::Line(int X1, int Y1, int X2, int Y2, TColor Color) const {
    TPen* Pen = C->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetColor(Color);
    Pen->SetWidth(std::max(1, R.Width() / 24));
    C->MoveTo(X(X1), Y(Y1));
    C->LineTo(X(X2), Y(Y2));
}

TRect TIconGrid::Field(int L, int T, int Rt, int B) const {
    TRect Inside = Box(L, T, Rt, B);
    DrawEdge(C, Inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    Fill(Inside, clWindow);
    return Inside;
}

void TIconGrid::Text(int L, int T, const char* Text, TColor Color, int Height) const {
    TFont* Font = C->GetFont();
    Font->SetName("DejaVu Sans");
    Font->SetHeight(-Height * R.Height() / 24);
    Font->SetColor(Color);
    Font->SetStyle({fsBold});
    C->SetBkMode(TRANSPARENT);
    C->TextOut(X(L), Y(T), Text);
    Font->SetStyle({});
}

void TIconGrid::Arrow(int CX, int CY, bool Down, TColor Color) const {
    // Half the width: 3 pixels in a 24-pixel icon, 6 in a 48-pixel one.
    const int H = std::max(2, R.Width() / 8);
    const int PX = X(CX), PY = Y(CY);
    C->GetPen()->SetColor(Color);
    C->GetPen()->SetWidth(1);
    C->GetBrush()->SetColor(Color);
    C->GetBrush()->SetStyle(bsSolid);
    const int Tip = Down ? H / 2 + 1 : -(H / 2 + 1);
    const int Base = Down ? -(H / 2) : H / 2;
    C->Polygon({Point(PX - H, PY + Base), Point(PX + H, PY + Base), Point(PX, PY + Tip)});
}

void TIconGrid::Edge(TRect Area, unsigned Kind) const {
    Edge(Area, Kind, BF_RECT);
}

} // namespace folio
