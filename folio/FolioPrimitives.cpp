#include "folio/FolioPrimitives.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"

#include <algorithm>
#include <cmath>

namespace folio {

namespace {

void SolidPen(TCanvas* Canvas, TColor Colour) {
    TPen* Pen = Canvas->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    Pen->SetColor(Colour);
}

void SolidBrush(TCanvas* Canvas, TColor Colour) {
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(Colour);
}

// Rounds to the nearest integer, halves to even, and keeps the byte in range.
int Channel(float Value) {
    return static_cast<int>(std::clamp(std::nearbyint(Value), 0.0f, 255.0f));
}

// One ring of a frame drawn Line pixels wide, Inset pixels inside R: the
// top and left bands in one colour, the right and bottom bands in the
// other. Wide frames are drawn as bands; one-pixel frames keep the line
// drawing below, whose corners are what they always were.
void Ring(TCanvas* Canvas, const TRect& R, int Inset, int Line, TColor TopLeft,
          TColor BottomRight) {
    const TRect In{R.Left + Inset, R.Top + Inset, R.Right - Inset, R.Bottom - Inset};
    if (In.IsEmpty()) return;
    // The bands are filled with the brush; what the caller draws next (an
    // item's caption, with a transparent background) must not find it
    // changed, as it would not after the one-pixel lines.
    TBrush* Brush = Canvas->GetBrush();
    const TColor OldColour = Brush->GetColor();
    const TBrushStyle OldStyle = Brush->GetStyle();
    const int OldMode = Canvas->GetBkMode();
    SolidBrush(Canvas, BottomRight);
    Canvas->FillRect(TRect{In.Right - Line, In.Top, In.Right, In.Bottom});
    Canvas->FillRect(TRect{In.Left, In.Bottom - Line, In.Right, In.Bottom});
    SolidBrush(Canvas, TopLeft);
    Canvas->FillRect(TRect{In.Left, In.Top, In.Right - Line, In.Top + Line});
    Canvas->FillRect(TRect{In.Left, In.Top, In.Left + Line, In.Bottom - Line});
    Brush->SetColor(OldColour);
    Brush->SetStyle(OldStyle);
    Canvas->SetBkMode(OldMode);
}

} // namespace

void DrawFrameRect(TCanvas* Canvas, const TRect& R, TColor Colour, TFrameRectState State,
                   int Line) {
    SolidBrush(Canvas, Colour);
    Canvas->FillRect(R);
    if (Line > 1) {
        switch (State) {
        case frsOver:
            Ring(Canvas, R, 0, Line, clBtnShadow, cl3DDkShadow);
            Ring(Canvas, R, Line, Line, clBtnHighlight, clBtnShadow);
            break;
        case frsPressed:
            Ring(Canvas, R, 0, Line, cl3DDkShadow, clBtnShadow);
            Ring(Canvas, TRect{R.Left, R.Top, R.Right + Line, R.Bottom + Line}, Line, Line,
                 clBtnShadow, clBtnShadow);
            break;
        default:
            Ring(Canvas, R, 0, Line, clBtnHighlight, clBtnShadow);
            break;
        }
        return;
    }
    const int X2 = R.Right - 1;
    const int Y2 = R.Bottom - 1;
    switch (State) {
    case frsOver:
        SolidPen(Canvas, clBtnShadow);
        Canvas->MoveTo(R.Right, R.Top);
        Canvas->LineTo(R.Left, R.Top);
        Canvas->LineTo(R.Left, Y2);
        SolidPen(Canvas, cl3DDkShadow);
        Canvas->LineTo(X2, Y2);
        Canvas->LineTo(X2, R.Top);
        SolidPen(Canvas, clBtnHighlight);
        Canvas->MoveTo(R.Right - 2, R.Top + 1);
        Canvas->LineTo(R.Left + 1, R.Top + 1);
        Canvas->LineTo(R.Left + 1, R.Bottom - 2);
        SolidPen(Canvas, clBtnShadow);
        Canvas->LineTo(R.Right - 2, R.Bottom - 2);
        Canvas->LineTo(R.Right - 2, R.Top + 1);
        break;
    case frsPressed:
        Canvas->GetBrush()->SetStyle(bsClear);
        SolidPen(Canvas, cl3DDkShadow);
        Canvas->Rectangle(R);
        SolidPen(Canvas, clBtnShadow);
        Canvas->Rectangle(R.Left + 1, R.Top + 1, R.Right, R.Bottom);
        break;
    default:
        SolidPen(Canvas, clBtnShadow);
        Canvas->MoveTo(X2, R.Top);
        Canvas->LineTo(X2, Y2);
        Canvas->LineTo(R.Left, Y2);
        SolidPen(Canvas, clBtnHighlight);
        Canvas->MoveTo(X2, R.Top);
        Canvas->LineTo(R.Left, R.Top);
        Canvas->LineTo(R.Left, Y2);
        break;
    }
}

void DrawFrameLines(TCanvas* Canvas, const TRect& R, TColor First, TColor Second, int Line) {
    if (Line > 1) {
        Ring(Canvas, R, 0, Line, First, Second);
        return;
    }
    SolidPen(Canvas, First);
    Canvas->MoveTo(R.Right - 1, R.Top);
    Canvas->LineTo(R.Left, R.Top);
    Canvas->LineTo(R.Left, R.Bottom - 1);
    SolidPen(Canvas, Second);
    Canvas->MoveTo(R.Right - 1, R.Top);
    Canvas->LineTo(R.Right - 1, R.Bottom - 1);
    Canvas->LineTo(R.Left, R.Bottom - 1);
}

void FillGradient(TCanvas* Canvas, const TRect& R, TColor Start, bool Rows, TColor End) {
    // A system colour is an index, not a shade: its low bytes would blend
    // into near-black. Both ends are resolved to their shades first, which
    // leaves plain colours as they are.
    Start = ColorToRGB(Start);
    End = ColorToRGB(End);
    const auto Byte = [](TColor C, int Shift) {
        return static_cast<float>((static_cast<unsigned>(C) >> Shift) & 0xFF);
    };
    int N = Rows ? R.Bottom - R.Top - 1 : R.Right - R.Left - 1;
    if (N <= 0) N = 1;
    float Value[3] = {Byte(Start, 0), Byte(Start, 8), Byte(Start, 16)};
    float Step[3];
    for (int C = 0; C < 3; ++C) Step[C] = (Byte(End, C * 8) - Value[C]) / static_cast<float>(N);
    const auto Colour = [&] {
        return static_cast<TColor>(Channel(Value[0]) | Channel(Value[1]) << 8 |
                                   Channel(Value[2]) << 16);
    };

    // Neighbouring lines mostly share a colour (a bar hundreds of pixels
    // long spans a few dozen shades), so each run of equal lines is one
    // fill. The brush is the caller's again afterwards, and the pen is left
    // as drawing the lines one by one would leave it.
    TBrush* Brush = Canvas->GetBrush();
    const TColor OldColour = Brush->GetColor();
    const TBrushStyle OldStyle = Brush->GetStyle();
    SolidPen(Canvas, Start);
    const int From = Rows ? R.Top : R.Left;
    const int To = Rows ? R.Bottom : R.Right;
    const auto Fill = [&](int First, int Last, TColor C) {
        SolidBrush(Canvas, C);
        Canvas->FillRect(Rows ? TRect{R.Left, First, R.Right, Last}
                              : TRect{First, R.Top, Last, R.Bottom});
    };
    TColor RunColour = Colour();
    int RunStart = From;
    for (int P = From; P < To; ++P) {
        const TColor C = Colour();
        if (C != RunColour) {
            Fill(RunStart, P, RunColour);
            RunStart = P;
            RunColour = C;
        }
        for (int I = 0; I < 3; ++I) Value[I] += Step[I];
    }
    if (RunStart < To) {
        Fill(RunStart, To, RunColour);
        Canvas->GetPen()->SetColor(RunColour);
        Canvas->MoveTo(Rows ? R.Right : To - 1, Rows ? To - 1 : R.Bottom);
    }
    Brush->SetColor(OldColour);
    Brush->SetStyle(OldStyle);
}

void TileBitmap(TCanvas* Canvas, const TBitmap* Bitmap, const TRect& R, TColor Colour, bool Fixed) {
    if (!Bitmap || Bitmap->GetEmpty()) {
        SolidBrush(Canvas, Colour);
        Canvas->FillRect(R);
        return;
    }
    // The tiles are limited to R. A clip the caller had selected is narrowed
    // rather than replaced, and put back afterwards.
    const bool HadClip = Canvas->HasClipRect();
    const TRect SavedClip = HadClip ? Canvas->GetClipRect() : TRect{};
    HRGN Region = CreateRectRgnIndirect(R);
    if (HadClip) {
        Canvas->IntersectClipRect(R);
    } else {
        SelectClipRgn(Canvas, Region);
    }
    const int BW = Bitmap->GetWidth();
    const int BH = Bitmap->GetHeight();
    // The grid's first tile and the tile counts; only the tiles that meet
    // the clip are drawn, which leaves the picture the same and keeps a huge
    // rectangle from costing more than what can show.
    const int ColFrom = Fixed ? R.Left / BW : 0;
    const int ColTo = Fixed ? R.Right / BW : (R.Right - R.Left) / BW;
    const int RowFrom = Fixed ? R.Top / BH : 0;
    const int RowTo = Fixed ? R.Bottom / BH : (R.Bottom - R.Top) / BH;
    const int X0 = Fixed ? 0 : R.Left;
    const int Y0 = Fixed ? 0 : R.Top;
    const TRect Clip = Canvas->GetClipRect();
    const int ColLo =
        std::max(ColFrom, static_cast<int>((static_cast<long long>(Clip.Left) - X0 - BW) / BW));
    const int ColHi =
        std::min(ColTo, static_cast<int>((static_cast<long long>(Clip.Right) - X0) / BW + 1));
    const int RowLo =
        std::max(RowFrom, static_cast<int>((static_cast<long long>(Clip.Top) - Y0 - BH) / BH));
    const int RowHi =
        std::min(RowTo, static_cast<int>((static_cast<long long>(Clip.Bottom) - Y0) / BH + 1));
    for (int Row = RowLo; Row <= RowHi; ++Row)
        for (int Col = ColLo; Col <= ColHi; ++Col)
            Canvas->Draw(X0 + Col * BW, Y0 + Row * BH, Bitmap);
    if (HadClip)
        Canvas->SelectClipRect(SavedClip);
    else
        SelectClipRgn(Canvas, nullptr);
    DeleteObject(Region);
}

} // namespace folio
