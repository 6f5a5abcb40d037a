#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"

#include <gtest/gtest.h>

using namespace folio;

namespace {

// The bounding box of the pixels that are not white (empty when none are).
TRect Inked(const TBitmap& B, TColor Paper = clWhite) {
    TRect R{B.GetWidth(), B.GetHeight(), 0, 0};
    for (int Y = 0; Y < B.GetHeight(); ++Y)
        for (int X = 0; X < B.GetWidth(); ++X)
            if (B.GetPixel(X, Y) != Paper) {
                R.Left = std::min(R.Left, X);
                R.Top = std::min(R.Top, Y);
                R.Right = std::max(R.Right, X + 1);
                R.Bottom = std::max(R.Bottom, Y + 1);
            }
    return R.IsEmpty() ? TRect{} : R;
}

} // namespace

TEST(CanvasText, TextOutDrawsInsideItsExtentAndMovesThePen) {
    TBitmap B(200, 40);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    const TSize E = C->TextExtent("Hello");
    EXPECT_GT(E.cx, 10);
    EXPECT_EQ(E.cy, C->TextHeight("Hello"));
    EXPECT_EQ(E.cx, C->TextWidth("Hello"));
    C->TextOut(20, 5, "Hello");
    EXPECT_EQ(C->GetPenPos(), Point(20 + E.cx, 5));
    const TRect Ink = Inked(B);
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_GE(Ink.Left, 20);
    EXPECT_GE(Ink.Top, 5);
    EXPECT_LE(Ink.Right, 20 + E.cx + 1);
    EXPECT_LE(Ink.Bottom, 5 + E.cy);
}

TEST(CanvasText, OpaqueModeFillsTheCellWithTheBrush) {
    TBitmap B(200, 40);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetColor(clYellow);
    const TSize E = C->TextExtent("Wide text");
    C->TextOut(3, 4, "Wide text");
    EXPECT_EQ(B.GetPixel(3, 4), clYellow);
    EXPECT_EQ(B.GetPixel(3 + E.cx - 1, 4 + E.cy - 1), clYellow);
    EXPECT_EQ(B.GetPixel(3 + E.cx, 4), clWhite);
    EXPECT_EQ(B.GetPixel(2, 4), clWhite);

    TBitmap T(200, 40);
    T.GetCanvas()->GetBrush()->SetColor(clYellow);
    SetBkMode(T.GetCanvas(), TRANSPARENT);
    T.GetCanvas()->TextOut(3, 4, "Wide text");
    EXPECT_EQ(T.GetPixel(3, 4), clWhite);
}

TEST(CanvasText, FontColourMayBeASystemColour) {
    TBitmap B(100, 30);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    C->GetFont()->SetColor(clHighlight); // navy in the fixed scheme
    C->TextOut(2, 2, "HHHH");
    int Navy = 0;
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 100; ++X) {
            const TColor P = B.GetPixel(X, Y);
            if (P == clWhite) continue;
            // Blended from white towards navy: blue keeps at least half,
            // red and green fall further.
            const int Red = P & 0xFF, Blue = (P >> 16) & 0xFF;
            EXPECT_GE(Blue, 0x80) << X << "," << Y;
            EXPECT_GE(Blue, Red) << X << "," << Y;
            Navy += Red < 0x40;
        }
    EXPECT_GT(Navy, 0); // strokes with (nearly) full coverage
}

TEST(CanvasText, TextRectClipsAndOriginShifts) {
    TBitmap B(200, 40);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    C->TextRect(Rect(10, 0, 16, 40), 5, 5, "WWWWWW");
    const TRect Ink = Inked(B);
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_GE(Ink.Left, 10);
    EXPECT_LE(Ink.Right, 16);

    TBitmap S(200, 40);
    TCanvas* SC = S.GetCanvas();
    SC->GetBrush()->SetColor(clAqua);
    SC->TextRect(Rect(0, 0, 8, 8), 0, 0, "x");
    EXPECT_EQ(S.GetPixel(7, 7), clAqua); // a solid brush fills the rectangle
    EXPECT_EQ(S.GetPixel(8, 8), clWhite);

    TBitmap O(200, 40);
    TCanvas* OC = O.GetCanvas();
    OC->GetBrush()->SetStyle(bsClear);
    OC->SetOrigin(50, 10);
    OC->TextOut(0, 0, "Hi");
    const TRect OI = Inked(O);
    EXPECT_GE(OI.Left, 50);
    EXPECT_GE(OI.Top, 10);
}

TEST(CanvasText, DrawTextWorksInLogicalCoordinates) {
    TBitmap B(200, 60);
    TCanvas* C = B.GetCanvas();
    C->SetOrigin(30, 20);
    String Text = "Some words that wrap";
    TRect R = Rect(5, 5, 60, 5);
    const int H = C->DrawText(Text, R, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(R.Left, 5);
    EXPECT_EQ(R.Top, 5);
    EXPECT_EQ(R.Bottom - R.Top, H);
    EXPECT_GT(H, C->TextHeight("S")); // wrapped onto several lines
    EXPECT_EQ(Inked(B), TRect{});     // measuring draws nothing

    C->GetBrush()->SetStyle(bsClear);
    String Line = "Centred";
    TRect Box = Rect(0, 0, 100, 30);
    C->DrawText(Line, Box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    const TRect Ink = Inked(B);
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_GE(Ink.Left, 30);
    EXPECT_GE(Ink.Top, 20);
    EXPECT_LE(Ink.Right, 130);
    EXPECT_NEAR((Ink.Left + Ink.Right) / 2, 30 + 50, 4);

    // The handle form writes the shortened text back.
    String Long = "A caption far too long for its box";
    TRect Narrow = Rect(0, 0, 50, 20);
    DrawText(C->GetHandle(), Long, Narrow,
             DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
    EXPECT_NE(Long.find("..."), String::npos);
}

TEST(CanvasText, RotatedTextRunsUpwardsFromItsOrigin) {
    TBitmap B(60, 200);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetStyle(bsClear);
    TLogFont LF = C->GetFont()->GetLogFont();
    LF.Escapement = LF.Orientation = 900;
    C->GetFont()->SetHandle(CreateFontIndirect(LF));
    const TSize E = C->TextExtent("Rotated");
    C->TextOut(10, 150, "Rotated");
    const TRect Ink = Inked(B);
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_GE(Ink.Left, 10);
    EXPECT_LE(Ink.Right, 10 + E.cy);
    EXPECT_LE(Ink.Bottom, 150);
    EXPECT_GE(Ink.Top, 150 - E.cx - 1);
    EXPECT_GT(Ink.Height(), Ink.Width()); // reads along the vertical
}
