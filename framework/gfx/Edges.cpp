#include "framework/gfx/Edges.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/Rects.h"

#include <algorithm>

namespace folio {

namespace {

TPixelOp SysOp(TColor Color) {
    return FillOp(RgbToPixel(ColorToRGB(Color)));
}

// A one-pixel frame on the chosen sides of device rectangle R: the top and
// left in TopLeft, then the bottom and right in BottomRight, which thereby
// own the top-right and bottom-left corners.
void EdgeLines(HDC DC, const TRect& R, unsigned Sides, TColor TopLeft, TColor BottomRight) {
    if (R.IsEmpty()) return;
    const TPixelSurface& S = DC->GetSurface();
    const TRect& Clip = DC->DeviceClip();
    const TPixelOp Light = SysOp(TopLeft);
    const TPixelOp Dark = SysOp(BottomRight);
    if (Sides & BF_TOP)
        raster::FillRect(S, Clip, TRect{R.Left, R.Top, R.Right - 1, R.Top + 1}, Light);
    if (Sides & BF_LEFT)
        raster::FillRect(S, Clip, TRect{R.Left, R.Top, R.Left + 1, R.Bottom - 1}, Light);
    if (Sides & BF_BOTTOM)
        raster::FillRect(S, Clip, TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, Dark);
    if (Sides & BF_RIGHT)
        raster::FillRect(S, Clip, TRect{R.Right - 1, R.Top, R.Right, R.Bottom}, Dark);
}

void Shrink(TRect& R, unsigned Sides) {
    if (Sides & BF_LEFT) ++R.Left;
    if (Sides & BF_TOP) ++R.Top;
    if (Sides & BF_RIGHT) --R.Right;
    if (Sides & BF_BOTTOM) --R.Bottom;
}

} // namespace

bool DrawEdge(HDC DC, TRect& R, unsigned Edge, unsigned Flags) {
    if (!DC) return false;
    const TPoint O = DC->GetOrigin();
    TRect D = OffsetRectBy(R, O.X, O.Y);
    const unsigned Sides = Flags & BF_RECT;
    const unsigned Outer = Edge & BDR_OUTER;
    const unsigned Inner = Edge & BDR_INNER;
    if (Outer) {
        TColor TL, BR;
        if (Flags & BF_MONO)
            TL = BR = clWindowFrame;
        else if (Flags & BF_FLAT)
            TL = BR = clBtnShadow;
        else if (Outer & BDR_RAISEDOUTER)
            TL = cl3DLight, BR = cl3DDkShadow;
        else
            TL = clBtnShadow, BR = clBtnHighlight;
        EdgeLines(DC, D, Sides, TL, BR);
        Shrink(D, Sides);
    }
    if (Inner) {
        TColor TL, BR;
        if (Flags & BF_MONO)
            TL = BR = clWindow;
        else if (Flags & BF_FLAT)
            TL = BR = clBtnFace;
        else if (Inner & BDR_RAISEDINNER)
            TL = clBtnHighlight, BR = clBtnShadow;
        else
            TL = cl3DDkShadow, BR = cl3DLight;
        EdgeLines(DC, D, Sides, TL, BR);
        Shrink(D, Sides);
    }
    if ((Flags & BF_MIDDLE) && !D.IsEmpty())
        raster::FillRect(DC->GetSurface(), DC->DeviceClip(), D,
                         SysOp((Flags & BF_MONO) ? clWindow : clBtnFace));
    if (Flags & BF_ADJUST) R = OffsetRectBy(D, -O.X, -O.Y);
    return true;
}

bool DrawFrameControl(HDC DC, TRect& R, unsigned Type, unsigned State) {
    if (!DC || Type != DFC_SCROLL) return false;
    if (R.IsEmpty()) return true;
    const TPoint O = DC->GetOrigin();
    const TRect D = OffsetRectBy(R, O.X, O.Y);
    const TPixelSurface& S = DC->GetSurface();
    const TRect& Clip = DC->DeviceClip();
    const bool Pushed = (State & DFCS_PUSHED) != 0;

    raster::FillRect(S, Clip, D, SysOp(clBtnFace));
    TRect Border = R;
    if ((State & DFCS_FLAT) || Pushed) {
        EdgeLines(DC, D, BF_RECT, clBtnShadow, clBtnShadow);
    } else {
        DrawEdge(DC, Border, EDGE_RAISED, BF_RECT);
    }

    // The arrow: a triangle whose base is 2A + 1 pixels and height A + 1,
    // centred in the button and moved down and right by one when pushed.
    const int Size = std::min(D.Width(), D.Height());
    const int A = std::clamp((Size - 2) / 4, 1, 256);
    const int Shift = Pushed ? 1 : 0;
    const unsigned Dir = State & 0x3;
    const bool Vertical = Dir == DFCS_SCROLLUP || Dir == DFCS_SCROLLDOWN;
    // Centre pixel across the arrow and the start of its height along it.
    const int CX = D.Left + (D.Width() - 1) / 2 + Shift;
    const int CY = D.Top + (D.Height() - 1) / 2 + Shift;
    auto DrawArrow = [&](int DX, int DY, const TPixelOp& Op) {
        for (int I = 0; I <= A; ++I) {
            // Row I of the triangle from its tip is 2I + 1 pixels wide.
            if (Vertical) {
                const int Top = CY - A / 2 + DY;
                const int Y = Dir == DFCS_SCROLLUP ? Top + I : Top + A - I;
                raster::FillSpan(S, Clip, Y, CX - I + DX, CX + I + 1 + DX, Op);
            } else {
                const int Left = CX - A / 2 + DX;
                const int X = Dir == DFCS_SCROLLLEFT ? Left + I : Left + A - I;
                raster::FillRect(S, Clip, TRect{X, CY - I + DY, X + 1, CY + I + 1 + DY}, Op);
            }
        }
    };
    if (State & DFCS_INACTIVE) {
        DrawArrow(1, 1, SysOp(clBtnHighlight));
        DrawArrow(0, 0, SysOp(clBtnShadow));
    } else {
        DrawArrow(0, 0, SysOp(clBtnText));
    }
    if (State & DFCS_ADJUSTRECT) InflateRect(R, -2, -2);
    return true;
}

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
    if (!Canvas) return;
    TPen* Pen = Canvas->GetPen();
    Pen->SetWidth(1);
    // Work on inclusive corners: the lines run along the last row and column.
    --Rect.Bottom;
    --Rect.Right;
    while (Width > 0) {
        --Width;
        const TPoint TopLeft{Rect.Left, Rect.Top};
        const TPoint TopRight{Rect.Right, Rect.Top};
        const TPoint BottomRight{Rect.Right, Rect.Bottom};
        Pen->SetColor(TopColor);
        Canvas->Polyline({TPoint{Rect.Left, Rect.Bottom}, TopLeft, TopRight});
        Pen->SetColor(BottomColor);
        // One pixel further left, so the bottom line reaches the left column.
        Canvas->Polyline({TopRight, BottomRight, TPoint{Rect.Left - 1, Rect.Bottom}});
        InflateRect(Rect, -1, -1);
    }
    ++Rect.Bottom;
    ++Rect.Right;
}

} // namespace folio
