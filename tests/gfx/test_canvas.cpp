#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/Rects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace folio;

namespace {

// A white bitmap with a black pen and a red solid brush.
struct TPaper {
    TBitmap Bmp;
    TCanvas* C;
    explicit TPaper(int W = 20, int H = 20) : Bmp(W, H), C(Bmp.GetCanvas()) {
        C->GetPen()->SetColor(clBlack);
        C->GetBrush()->SetColor(clRed);
    }
    TColor At(int X, int Y) const { return Bmp.GetPixel(X, Y); }
    int Count(TColor Color) const {
        int N = 0;
        for (int Y = 0; Y < Bmp.GetHeight(); ++Y)
            for (int X = 0; X < Bmp.GetWidth(); ++X) N += At(X, Y) == Color;
        return N;
    }
};

} // namespace

TEST(Canvas, LineToLeavesOutTheEndPointInEveryDirection) {
    TPaper P;
    P.C->MoveTo(2, 5);
    P.C->LineTo(10, 5);
    for (int X = 2; X < 10; ++X) EXPECT_EQ(P.At(X, 5), clBlack) << X;
    EXPECT_EQ(P.At(10, 5), clWhite);
    EXPECT_EQ(P.At(1, 5), clWhite);
    EXPECT_EQ(P.C->GetPenPos(), Point(10, 5));

    TPaper Q;
    Q.C->MoveTo(10, 5);
    Q.C->LineTo(2, 5);
    EXPECT_EQ(Q.At(10, 5), clBlack);
    EXPECT_EQ(Q.At(3, 5), clBlack);
    EXPECT_EQ(Q.At(2, 5), clWhite);
    EXPECT_EQ(Q.Count(clBlack), 8);

    TPaper D;
    D.C->MoveTo(0, 0);
    D.C->LineTo(5, 5);
    for (int I = 0; I < 5; ++I) EXPECT_EQ(D.At(I, I), clBlack);
    EXPECT_EQ(D.At(5, 5), clWhite);
    EXPECT_EQ(D.Count(clBlack), 5);

    TPaper V;
    V.C->MoveTo(3, 12);
    V.C->LineTo(3, 2);
    EXPECT_EQ(V.Count(clBlack), 10);
    EXPECT_EQ(V.At(3, 2), clWhite);
    EXPECT_EQ(V.At(3, 12), clBlack);
}

TEST(Canvas, ClippedLinesMatchTheUnclippedPixels) {
    // The same lines on a small bitmap and, shifted by the origin, on a big
    // one: the clipped line must be exactly the visible part of the whole.
    std::mt19937 Rng(7);
    std::uniform_int_distribution<int> Coord(-150, 170);
    for (int Round = 0; Round < 300; ++Round) {
        TPaper Small(20, 20);
        TPaper Big(400, 400);
        Big.C->SetOrigin(200, 200);
        const int X0 = Coord(Rng), Y0 = Coord(Rng), X1 = Coord(Rng), Y1 = Coord(Rng);
        for (TPaper* P : {&Small, &Big}) {
            P->C->MoveTo(X0, Y0);
            P->C->LineTo(X1, Y1);
        }
        for (int Y = 0; Y < 20; ++Y)
            for (int X = 0; X < 20; ++X)
                ASSERT_EQ(Small.At(X, Y), Big.At(X + 200, Y + 200))
                    << "line " << X0 << "," << Y0 << " -> " << X1 << "," << Y1 << " at " << X << ","
                    << Y;
    }
}

TEST(Canvas, PenWidthZeroAndOneDrawOnePixelWiderPensMore) {
    for (int Width : {0, 1}) {
        TPaper P;
        P.C->GetPen()->SetWidth(Width);
        P.C->MoveTo(2, 5);
        P.C->LineTo(12, 5);
        EXPECT_EQ(P.Count(clBlack), 10) << Width;
    }
    TPaper W;
    W.C->GetPen()->SetWidth(3);
    W.C->MoveTo(2, 5);
    W.C->LineTo(12, 5);
    EXPECT_EQ(W.Count(clBlack), 30);
    EXPECT_EQ(W.At(5, 4), clBlack);
    EXPECT_EQ(W.At(5, 6), clBlack);

    TPaper Diagonal(40, 40);
    Diagonal.C->GetPen()->SetWidth(4);
    Diagonal.C->MoveTo(5, 5);
    Diagonal.C->LineTo(30, 30);
    EXPECT_GT(Diagonal.Count(clBlack), 25 * 4);
}

TEST(Canvas, RectangleKeepsThePenInsideAndFillsWithTheBrush) {
    TPaper P;
    P.C->Rectangle(2, 3, 8, 9);
    for (int X = 2; X < 8; ++X) {
        EXPECT_EQ(P.At(X, 3), clBlack);
        EXPECT_EQ(P.At(X, 8), clBlack);
        EXPECT_EQ(P.At(X, 9), clWhite);
    }
    for (int Y = 3; Y < 9; ++Y) {
        EXPECT_EQ(P.At(2, Y), clBlack);
        EXPECT_EQ(P.At(7, Y), clBlack);
        EXPECT_EQ(P.At(8, Y), clWhite);
    }
    EXPECT_EQ(P.Count(clRed), 4 * 4);
    EXPECT_EQ(P.Count(clBlack), 6 * 6 - 16);

    TPaper Clear;
    Clear.C->GetBrush()->SetStyle(bsClear);
    Clear.C->Rectangle(2, 3, 8, 9);
    EXPECT_EQ(Clear.Count(clRed), 0);
    EXPECT_EQ(Clear.At(4, 5), clWhite);

    TPaper Wide;
    Wide.C->GetPen()->SetWidth(2);
    Wide.C->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(Wide.At(3, 3), clBlack);
    EXPECT_EQ(Wide.At(8, 8), clBlack);
    EXPECT_EQ(Wide.At(4, 4), clRed);
    EXPECT_EQ(Wide.At(10, 10), clWhite);
    EXPECT_EQ(Wide.Count(clRed), 4 * 4);

    // Reversed corners describe the same rectangle.
    TPaper Rev;
    Rev.C->Rectangle(8, 9, 2, 3);
    EXPECT_EQ(Rev.Count(clBlack), 20);
}

TEST(Canvas, FillRectFrameRectAndPolygon) {
    TPaper P;
    P.C->FillRect(Rect(1, 1, 4, 3));
    EXPECT_EQ(P.Count(clRed), 6);
    EXPECT_EQ(P.Count(clBlack), 0);
    EXPECT_EQ(P.At(4, 1), clWhite);
    EXPECT_EQ(P.At(1, 3), clWhite);

    TPaper F;
    F.C->FrameRect(Rect(2, 2, 7, 6));
    EXPECT_EQ(F.Count(clRed), 5 * 4 - 3 * 2);
    EXPECT_EQ(F.At(4, 4), clWhite);

    // A square polygon without a pen fills exactly what FillRect would.
    TPaper Sq;
    Sq.C->GetPen()->SetStyle(psClear);
    Sq.C->Polygon({Point(2, 2), Point(8, 2), Point(8, 8), Point(2, 8)});
    EXPECT_EQ(Sq.Count(clRed), 36);
    EXPECT_EQ(Sq.At(2, 2), clRed);
    EXPECT_EQ(Sq.At(8, 8), clWhite);

    // With a pen, the outline covers every vertex and edge.
    TPaper Tri;
    Tri.C->Polygon({Point(2, 2), Point(12, 2), Point(2, 12)});
    EXPECT_EQ(Tri.At(2, 2), clBlack);
    EXPECT_EQ(Tri.At(12, 2), clBlack);
    EXPECT_EQ(Tri.At(2, 12), clBlack);
    EXPECT_EQ(Tri.At(7, 7), clBlack);
    EXPECT_EQ(Tri.At(4, 4), clRed);
    EXPECT_EQ(Tri.At(10, 10), clWhite);

    TPaper Line;
    Line.C->Polyline({Point(1, 1), Point(6, 1), Point(6, 6)});
    EXPECT_EQ(Line.Count(clBlack), 10);
    EXPECT_EQ(Line.At(6, 6), clWhite);
}

TEST(Canvas, EllipseFillsInsideItsBoxSymmetrically) {
    TPaper P(40, 40);
    P.C->Ellipse(4, 6, 36, 30);
    // The outline touches the middle of every side of the box and no corner.
    EXPECT_EQ(P.At(4, 17), clBlack);
    EXPECT_EQ(P.At(35, 17), clBlack);
    EXPECT_EQ(P.At(19, 6), clBlack);
    EXPECT_EQ(P.At(19, 29), clBlack);
    EXPECT_EQ(P.At(3, 17), clWhite);
    EXPECT_EQ(P.At(36, 17), clWhite);
    EXPECT_EQ(P.At(19, 30), clWhite);
    EXPECT_EQ(P.At(4, 6), clWhite);
    EXPECT_EQ(P.At(20, 18), clRed);
    // Mirror images across both axes of the box (columns 4..35, rows 6..29).
    for (int Y = 6; Y < 30; ++Y)
        for (int X = 4; X < 36; ++X) {
            ASSERT_EQ(P.At(X, Y), P.At(39 - X, Y)) << X << "," << Y;
            ASSERT_EQ(P.At(X, Y), P.At(X, 35 - Y)) << X << "," << Y;
        }
}

TEST(Canvas, PieSweepsCounterClockwiseFromStartToEnd) {
    // From the ray to the right to the ray upwards: the upper-right quarter.
    TPaper P(40, 40);
    P.C->GetPen()->SetStyle(psClear);
    P.C->Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(P.At(30, 10), clRed);
    EXPECT_EQ(P.At(10, 10), clWhite);
    EXPECT_EQ(P.At(10, 30), clWhite);
    EXPECT_EQ(P.At(30, 30), clWhite);

    // The same rays swapped: three quarters.
    TPaper Q(40, 40);
    Q.C->GetPen()->SetStyle(psClear);
    Q.C->Pie(0, 0, 40, 40, 20, 0, 40, 20);
    EXPECT_EQ(Q.At(30, 10), clWhite);
    EXPECT_EQ(Q.At(10, 10), clRed);
    EXPECT_EQ(Q.At(10, 30), clRed);
    EXPECT_EQ(Q.At(30, 30), clRed);

    // Equal rays draw the whole ellipse; the pen outlines the radii.
    TPaper Full(40, 40);
    Full.C->Pie(0, 0, 40, 40, 20, 0, 20, 0);
    TPaper E(40, 40);
    E.C->Ellipse(0, 0, 40, 40);
    EXPECT_EQ(Full.Count(clRed) + Full.Count(clBlack), E.Count(clRed) + E.Count(clBlack));

    TPaper R(40, 40);
    R.C->Pie(0, 0, 40, 40, 40, 20, 20, 0);
    EXPECT_EQ(R.At(30, 20), clBlack); // the radius towards the right
    EXPECT_EQ(R.At(20, 10), clBlack); // the radius upwards
    EXPECT_EQ(R.At(30, 10), clRed);
}

TEST(Canvas, PenModes) {
    TPaper P;
    P.C->GetBrush()->SetColor(0x123456);
    P.C->FillRect(Rect(0, 0, 20, 20));
    P.C->GetPen()->SetMode(pmXor);
    P.C->GetPen()->SetColor(0x00FF00);
    P.C->MoveTo(0, 3);
    P.C->LineTo(20, 3);
    EXPECT_EQ(P.At(5, 3), 0x123456 ^ 0x00FF00);
    P.C->MoveTo(0, 3);
    P.C->LineTo(20, 3);
    EXPECT_EQ(P.At(5, 3), 0x123456);

    P.C->GetPen()->SetMode(pmNot);
    P.C->MoveTo(0, 4);
    P.C->LineTo(20, 4);
    EXPECT_EQ(P.At(5, 4), 0xEDCBA9);

    P.C->GetPen()->SetMode(pmCopy);
    P.C->MoveTo(0, 5);
    P.C->LineTo(20, 5);
    EXPECT_EQ(P.At(5, 5), 0x00FF00);

    EXPECT_EQ(MakePenOp(pmMask, 0xFF00FF00u).And, 0x0000FF00u);
    EXPECT_EQ(MakePenOp(pmWhite, 0).Xor, 0xFFFFFFFFu);
    EXPECT_TRUE(MakePenOp(pmNop, 0x123456).IsNop());
}

TEST(Canvas, CopyModes) {
    TBitmap Src(4, 4);
    Src.GetCanvas()->GetBrush()->SetColor(0x0F0F0F);
    Src.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
    TPaper P(8, 8);
    P.C->GetBrush()->SetColor(0x336699);
    P.C->FillRect(Rect(0, 0, 8, 8));

    auto DrawWith = [&](TCopyMode Mode) {
        P.C->SetCopyMode(Mode);
        P.C->Draw(2, 2, &Src);
        return P.At(3, 3);
    };
    EXPECT_EQ(DrawWith(cmSrcInvert), 0x336699 ^ 0x0F0F0F);
    EXPECT_EQ(DrawWith(cmSrcInvert), 0x336699);
    EXPECT_EQ(P.At(1, 1), 0x336699);
    EXPECT_EQ(DrawWith(cmSrcAnd), 0x336699 & 0x0F0F0F);
    EXPECT_EQ(DrawWith(cmSrcPaint), (0x336699 & 0x0F0F0F) | 0x0F0F0F);
    EXPECT_EQ(DrawWith(cmDstInvert), 0xF0F0F0);
    EXPECT_EQ(DrawWith(cmWhiteness), clWhite);
    EXPECT_EQ(DrawWith(cmBlackness), clBlack);
    EXPECT_EQ(DrawWith(cmSrcCopy), 0x0F0F0F);
    EXPECT_EQ(P.At(6, 6), 0x336699);

    P.C->SetCopyMode(0x123456);
    EXPECT_THROW(P.C->Draw(0, 0, &Src), EInvalidGraphicOperation);
    P.C->SetCopyMode(cmSrcCopy);

    // Blackness over the canvas's own rectangle needs no source pixels.
    P.C->SetCopyMode(cmBlackness);
    P.C->CopyRect(Rect(0, 0, 8, 8), P.C, Rect(0, 0, 8, 8));
    EXPECT_EQ(P.Count(clBlack), 64);
}

TEST(Canvas, CopyRectScalesAndHandlesOverlap) {
    TPaper P(10, 10);
    for (int X = 0; X < 10; ++X) P.C->SetPixel(X, 0, X * 10);
    // Shift the row right by two within the same surface.
    P.C->CopyRect(Rect(2, 0, 10, 1), P.C, Rect(0, 0, 8, 1));
    for (int X = 2; X < 10; ++X) EXPECT_EQ(P.At(X, 0), (X - 2) * 10);

    TBitmap Src(2, 2);
    Src.GetCanvas()->SetPixel(0, 0, clBlue);
    TPaper S(8, 8);
    S.C->StretchDraw(Rect(0, 0, 8, 8), &Src);
    EXPECT_EQ(S.At(3, 3), clBlue);
    EXPECT_EQ(S.At(4, 4), clWhite);
    EXPECT_EQ(S.Count(clBlue), 16);
}

TEST(Canvas, ClipRegionsLimitDrawingUntilRemoved) {
    TPaper P;
    HRGN Rgn = CreateRectRgn(5, 5, 10, 8);
    EXPECT_EQ(SelectClipRgn(P.C->GetHandle(), Rgn), SIMPLEREGION);
    EXPECT_TRUE(DeleteObject(Rgn)); // the canvas keeps its own copy
    P.C->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(P.Count(clRed), 15);
    EXPECT_EQ(P.At(5, 5), clRed);
    EXPECT_EQ(P.At(10, 7), clWhite);
    P.C->MoveTo(0, 6);
    P.C->LineTo(20, 6);
    EXPECT_EQ(P.Count(clBlack), 5);
    TRect Box;
    EXPECT_EQ(GetClipBox(P.C, Box), SIMPLEREGION);
    EXPECT_EQ(Box, Rect(5, 5, 10, 8));

    SelectClipRgn(P.C, nullptr);
    P.C->FillRect(Rect(0, 0, 20, 20));
    EXPECT_EQ(P.Count(clRed), 400);

    HRGN Outside = CreateRectRgn(30, 30, 40, 40);
    EXPECT_EQ(SelectClipRgn(P.C, Outside), NULLREGION);
    DeleteObject(Outside);
}

TEST(Canvas, OriginAndBaseClipMapLogicalToDevice) {
    TPaper P;
    P.C->SetOrigin(10, 5);
    P.C->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(P.At(10, 5), clRed);
    EXPECT_EQ(P.At(11, 6), clRed);
    EXPECT_EQ(P.Count(clRed), 4);
    EXPECT_EQ(P.C->GetPixel(0, 0), clRed);

    // A clip region is in logical coordinates.
    HRGN Rgn = CreateRectRgn(0, 0, 1, 1);
    SelectClipRgn(P.C, Rgn);
    DeleteObject(Rgn);
    P.C->GetBrush()->SetColor(clBlue);
    P.C->FillRect(Rect(-10, -10, 10, 10));
    EXPECT_EQ(P.Count(clBlue), 1);
    EXPECT_EQ(P.At(10, 5), clBlue);

    // A base clip bounds everything a window's canvas can reach.
    TPaper B;
    B.C->SetBaseClip(Rect(2, 2, 6, 6));
    B.C->SetOrigin(2, 2);
    B.C->FillRect(Rect(-5, -5, 50, 50));
    EXPECT_EQ(B.Count(clRed), 16);
    EXPECT_EQ(B.C->GetClipRect(), Rect(0, 0, 4, 4));
}

TEST(Canvas, FocusRectIsDottedAndVanishesWhenDrawnTwice) {
    TPaper P;
    P.C->DrawFocusRect(Rect(2, 2, 10, 8));
    EXPECT_EQ(P.At(2, 2), clBlack);
    EXPECT_EQ(P.At(3, 2), clWhite);
    EXPECT_EQ(P.At(4, 2), clBlack);
    EXPECT_EQ(P.At(5, 5), clWhite);
    EXPECT_GT(P.Count(clBlack), 8);
    DrawFocusRect(P.C, Rect(2, 2, 10, 8));
    EXPECT_EQ(P.Count(clWhite), 400);
}

TEST(Canvas, BackgroundModeFollowsTheBrushUntilSet) {
    TPaper P;
    EXPECT_EQ(GetBkMode(P.C), OPAQUE);
    P.C->GetBrush()->SetStyle(bsClear);
    EXPECT_EQ(P.C->GetBkMode(), TRANSPARENT);
    P.C->GetBrush()->SetStyle(bsSolid);
    EXPECT_EQ(SetBkMode(P.C, TRANSPARENT), OPAQUE);
    EXPECT_EQ(P.C->GetBkMode(), TRANSPARENT);
    EXPECT_EQ(SetBkMode(P.C, 7), 0);
}

TEST(Canvas, DrawEdgeColoursAndAdjust) {
    TPaper P;
    TRect R = Rect(2, 2, 12, 10);
    DrawEdge(P.C, R, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(R, Rect(4, 4, 10, 8));
    EXPECT_EQ(P.At(2, 2), ColorToRGB(cl3DLight));
    EXPECT_EQ(P.At(11, 2), ColorToRGB(cl3DDkShadow)); // top-right corner is dark
    EXPECT_EQ(P.At(2, 9), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(P.At(3, 3), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(P.At(10, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(P.At(5, 5), clWhite);

    TPaper S;
    TRect Q = Rect(0, 0, 5, 5);
    DrawEdge(S.C, Q, BDR_SUNKENOUTER, BF_RECT);
    EXPECT_EQ(Q, Rect(0, 0, 5, 5));
    EXPECT_EQ(S.At(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(S.At(4, 4), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(S.At(1, 1), clWhite);
}

TEST(Canvas, Frame3DShrinksByItsWidth) {
    TPaper P;
    TRect R = Rect(1, 1, 11, 9);
    Frame3D(P.C, R, clBtnShadow, clBtnHighlight, 2);
    EXPECT_EQ(R, Rect(3, 3, 9, 7));
    EXPECT_EQ(P.At(1, 1), 0x808080);
    EXPECT_EQ(P.At(2, 2), 0x808080);
    EXPECT_EQ(P.At(10, 1), clWhite); // top-right corner belongs to the bottom colour
    EXPECT_EQ(P.At(1, 8), clWhite);
    EXPECT_EQ(P.At(10, 8), clWhite);
    EXPECT_EQ(P.At(9, 7), clWhite);
    EXPECT_EQ(P.At(5, 1), 0x808080);
    // Each frame's bottom-left corner goes to the bottom colour.
    EXPECT_EQ(P.Count(0x808080), (9 + 7 - 1) + (7 + 5 - 1));
}

TEST(Canvas, ScrollArrowsPointTheirWay) {
    auto Dark = [](TPaper& P, bool Rows, int I) {
        int N = 0;
        for (int J = 0; J < 16; ++J) N += (Rows ? P.At(J, I) : P.At(I, J)) == ColorToRGB(clBtnText);
        return N;
    };
    for (unsigned Dir : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT}) {
        TPaper P(16, 16);
        TRect R = Rect(0, 0, 16, 16);
        EXPECT_TRUE(DrawFrameControl(P.C, R, DFC_SCROLL, Dir | DFCS_FLAT));
        const bool Vertical = Dir < DFCS_SCROLLLEFT;
        int First = -1, Last = -1;
        for (int I = 0; I < 16; ++I)
            if (Dark(P, Vertical, I)) {
                if (First < 0) First = I;
                Last = I;
            }
        ASSERT_GE(First, 0);
        const bool TipFirst = Dir == DFCS_SCROLLUP || Dir == DFCS_SCROLLLEFT;
        EXPECT_EQ(Dark(P, Vertical, TipFirst ? First : Last), 1) << Dir;
        EXPECT_GT(Dark(P, Vertical, TipFirst ? Last : First), 3) << Dir;
        EXPECT_EQ(P.At(0, 0), ColorToRGB(clBtnShadow));
        EXPECT_EQ(P.At(1, 1), ColorToRGB(clBtnFace));
    }
    // Pushed moves the arrow by one pixel.
    TPaper A(16, 16), B(16, 16);
    TRect R = Rect(0, 0, 16, 16);
    DrawFrameControl(A.C, R, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_FLAT);
    DrawFrameControl(B.C, R, DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_FLAT | DFCS_PUSHED);
    for (int Y = 2; Y < 14; ++Y)
        for (int X = 2; X < 14; ++X) EXPECT_EQ(A.At(X, Y), B.At(X + 1, Y + 1));
    EXPECT_FALSE(DrawFrameControl(A.C, R, DFC_BUTTON, 0));
}

TEST(Canvas, HugeShapesCostOnlyWhatIsVisible) {
    // Shapes a billion pixels across, clipped to a small bitmap, finish at
    // once and draw what a small window onto them shows.
    TPaper P;
    P.C->GetPen()->SetStyle(psClear);
    P.C->Ellipse(-500000000, -10, 500000000, 30);
    EXPECT_EQ(P.At(0, 10), clRed);
    EXPECT_EQ(P.At(19, 10), clRed);
    P.C->GetBrush()->SetColor(clBlue);
    P.C->Pie(-500000000, -500000000, 500000000, 500000000, 600000000, 0, 0, -600000000);
    EXPECT_EQ(P.At(5, 5), clRed); // the upper-right quarter ends at the centre
    P.C->Pie(-500000000, -500000000, 500000000, 500000000, 0, 600000000, 600000000, 0);
    EXPECT_EQ(P.At(5, 5), clBlue);
    P.C->GetPen()->SetStyle(psSolid);
    P.C->MoveTo(-400000000, -400000000);
    P.C->LineTo(400000000, 400000000);
    EXPECT_EQ(P.At(7, 7), clBlack);
    P.C->Polygon({Point(-400000000, 0), Point(400000000, 0), Point(0, 400000000)});
    EXPECT_EQ(P.At(10, 3), clBlue);
}

namespace {

// Every pixel whose point lies well inside the band of a wide line (closer
// to the path than half the width less a pixel's reach, and away from the
// ends) must be drawn; a hole there is a visible gap in the line.
int HolesInWideLine(const TPaper& P, int X0, int Y0, int X1, int Y1, int Width) {
    const double DX = X1 - X0, DY = Y1 - Y0;
    const double Len2 = DX * DX + DY * DY;
    const double Reach = Width / 2.0 - 0.75;
    int Holes = 0;
    for (int Y = 0; Y < P.Bmp.GetHeight(); ++Y)
        for (int X = 0; X < P.Bmp.GetWidth(); ++X) {
            const double T = ((X - X0) * DX + (Y - Y0) * DY) / Len2;
            if (T < 0.05 || T > 0.95) continue;
            const double PX = X0 + T * DX - X, PY = Y0 + T * DY - Y;
            if (std::sqrt(PX * PX + PY * PY) <= Reach && P.At(X, Y) != clBlack) ++Holes;
        }
    return Holes;
}

// The pixels of a row or column across the line: the drawn ones must form
// one unbroken run.
bool RunsUnbroken(const TPaper& P, bool Rows) {
    const int Lines = Rows ? P.Bmp.GetHeight() : P.Bmp.GetWidth();
    const int Along = Rows ? P.Bmp.GetWidth() : P.Bmp.GetHeight();
    for (int L = 0; L < Lines; ++L) {
        int Runs = 0;
        bool In = false;
        for (int I = 0; I < Along; ++I) {
            const bool Black = (Rows ? P.At(I, L) : P.At(L, I)) == clBlack;
            if (Black && !In) ++Runs;
            In = Black;
        }
        if (Runs > 1) return false;
    }
    return true;
}

} // namespace

TEST(Canvas, WideDiagonalLinesHaveNoGaps) {
    // Lines from the centre in every direction, at the widths charts and
    // needles use.
    for (int Width : {2, 3, 4, 5}) {
        for (int Angle = 0; Angle < 360; Angle += 7) {
            const double A = Angle * 3.141592653589793 / 180;
            const int X1 = 30 + static_cast<int>(std::lround(24 * std::cos(A)));
            const int Y1 = 30 + static_cast<int>(std::lround(24 * std::sin(A)));
            TPaper P(60, 60);
            P.C->GetPen()->SetWidth(Width);
            P.C->MoveTo(30, 30);
            P.C->LineTo(X1, Y1);
            // The first pixel belongs to the line whatever its direction.
            EXPECT_EQ(P.At(30, 30), clBlack) << "width " << Width << " to " << X1 << "," << Y1;
            EXPECT_EQ(HolesInWideLine(P, 30, 30, X1, Y1, Width), 0)
                << "width " << Width << " to " << X1 << "," << Y1;
            EXPECT_TRUE(RunsUnbroken(P, true)) << "width " << Width << " to " << X1 << "," << Y1;
            EXPECT_TRUE(RunsUnbroken(P, false)) << "width " << Width << " to " << X1 << "," << Y1;
        }
    }
}

TEST(Canvas, WidePolylineJointsAreClosed) {
    // A zig-zag of short steep segments, as a chart's line draws step by
    // step: the outside of every bend must be filled, not notched.
    TPaper P(60, 60);
    P.C->GetPen()->SetWidth(3);
    const TPoint Zig[] = {Point(5, 50), Point(15, 10), Point(25, 50), Point(35, 10), Point(45, 50)};
    P.C->MoveTo(Zig[0].X, Zig[0].Y);
    for (int I = 1; I < 5; ++I) P.C->LineTo(Zig[I].X, Zig[I].Y);
    for (int I = 1; I < 4; ++I) {
        // The joint's pixel and the one just outside the bend.
        EXPECT_EQ(P.At(Zig[I].X, Zig[I].Y), clBlack) << I;
        const int Out = Zig[I].Y < 30 ? -1 : 1;
        EXPECT_EQ(P.At(Zig[I].X, Zig[I].Y + Out), clBlack) << I;
    }
    for (int I = 0; I < 4; ++I)
        EXPECT_EQ(HolesInWideLine(P, Zig[I].X, Zig[I].Y, Zig[I + 1].X, Zig[I + 1].Y, 3), 0) << I;
}
