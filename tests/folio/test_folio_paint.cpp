#include "folio/Folio.h"
#include "folio/FolioPaintInspector.h"
#include "folio/FolioPrimitives.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/ImageList.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace folio;
using PI = TFolioPaintInspector;

namespace {

constexpr TColor Paper = 0x00FF00FF;

// A bitmap filled with a colour nothing in the bar uses.
struct TSheet {
    TBitmap Bitmap;
    TSheet(int W, int H) : Bitmap(W, H) {
        C()->GetBrush()->SetColor(Paper);
        C()->FillRect(Rect(0, 0, W, H));
    }
    TCanvas* C() { return Bitmap.GetCanvas(); }
    TColor At(int X, int Y) const { return Bitmap.GetPixel(X, Y); }
};

TColor Rgb(TColor C) {
    return ColorToRGB(C);
}

struct TBarFixture {
    TFolio Bar{nullptr};
    TBarFixture(int Width, int Height, int Groups) {
        Bar.SetBorderStyle(bsNone);
        Bar.SetAnimationStyle(asNone);
        Bar.SetWidth(Width);
        Bar.SetHeight(Height);
        for (int I = 0; I < Groups; ++I) Bar.GetGroups()->Add(Format("Group %d", I));
        Bar.HandleNeeded();
    }
    TFolioGroup* G(int I) { return Bar.GetGroups()->GetGroup(I); }
};

// The bounding box of pixels inside Area that differ from Background.
TRect Ink(const TSheet& S, const TRect& Area, TColor Background) {
    TRect Box{1 << 20, 1 << 20, -1, -1};
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        for (int X = Area.Left; X < Area.Right; ++X)
            if (S.At(X, Y) != Background) {
                Box.Left = std::min(Box.Left, X);
                Box.Top = std::min(Box.Top, Y);
                Box.Right = std::max(Box.Right, X + 1);
                Box.Bottom = std::max(Box.Bottom, Y + 1);
            }
    return Box;
}

} // namespace

TEST(FolioPrimitives, CaptionFramesInTheirThreeLooks) {
    const TRect R = Rect(2, 2, 12, 10); // x2 = 11, y2 = 9
    const TColor Face = Rgb(0x00336699);
    const TColor Shadow = Rgb(clBtnShadow), Light = Rgb(clBtnHighlight), Dark = Rgb(cl3DDkShadow);

    TSheet A(16, 14);
    DrawFrameRect(A.C(), R, 0x00336699, frsRegular);
    EXPECT_EQ(A.At(2, 2), Light);
    EXPECT_EQ(A.At(11, 2), Light) << "the highlight is drawn last over the top-right corner";
    EXPECT_EQ(A.At(11, 5), Shadow);
    EXPECT_EQ(A.At(11, 9), Shadow);
    EXPECT_EQ(A.At(3, 9), Shadow);
    EXPECT_EQ(A.At(2, 9), Face) << "neither line reaches the bottom-left corner";
    EXPECT_EQ(A.At(2, 8), Light);
    EXPECT_EQ(A.At(6, 5), Face);
    EXPECT_EQ(A.At(12, 2), Paper);

    TSheet B(16, 14);
    DrawFrameRect(B.C(), R, 0x00336699, frsOver);
    EXPECT_EQ(B.At(12, 2), Shadow) << "the outer top line starts one past the right edge";
    EXPECT_EQ(B.At(2, 2), Shadow);
    EXPECT_EQ(B.At(2, 8), Shadow);
    EXPECT_EQ(B.At(2, 9), Dark);
    EXPECT_EQ(B.At(11, 9), Dark);
    EXPECT_EQ(B.At(11, 3), Dark);
    EXPECT_EQ(B.At(11, 2), Shadow);
    EXPECT_EQ(B.At(3, 3), Light);
    EXPECT_EQ(B.At(10, 3), Light) << "the inner shadow stops short of the inner top line";
    EXPECT_EQ(B.At(3, 7), Light);
    EXPECT_EQ(B.At(3, 8), Shadow);
    EXPECT_EQ(B.At(10, 8), Shadow);
    EXPECT_EQ(B.At(10, 4), Shadow);
    EXPECT_EQ(B.At(6, 5), Face);

    TSheet C(16, 14);
    DrawFrameRect(C.C(), R, 0x00336699, frsPressed);
    EXPECT_EQ(C.At(2, 2), Dark);
    EXPECT_EQ(C.At(2, 9), Dark);
    EXPECT_EQ(C.At(11, 2), Dark);
    EXPECT_EQ(C.At(3, 3), Shadow);
    EXPECT_EQ(C.At(11, 9), Shadow) << "the inner outline covers the outer one's right and bottom";
    EXPECT_EQ(C.At(11, 5), Shadow);
    EXPECT_EQ(C.At(5, 9), Shadow);
    EXPECT_EQ(C.At(6, 5), Face);
    EXPECT_EQ(C.At(12, 5), Paper);
}

TEST(FolioPrimitives, FrameLinesColourTwoSidesEach) {
    TSheet S(12, 12);
    DrawFrameLines(S.C(), Rect(1, 1, 9, 8), 0x0000FF, 0x00FF00);
    EXPECT_EQ(S.At(1, 1), 0x0000FF);
    EXPECT_EQ(S.At(7, 1), 0x0000FF);
    EXPECT_EQ(S.At(1, 6), 0x0000FF);
    EXPECT_EQ(S.At(8, 1), 0x00FF00);
    EXPECT_EQ(S.At(8, 7), 0x00FF00);
    EXPECT_EQ(S.At(1, 7), Paper) << "both lines stop short of the bottom-left corner";
    EXPECT_EQ(S.At(2, 7), 0x00FF00);
    EXPECT_EQ(S.At(4, 4), Paper);
}

TEST(FolioPrimitives, GradientRunsFromStartToEnd) {
    TSheet S(20, 12);
    FillGradient(S.C(), Rect(0, 0, 20, 11), 0x000000, true, 0x0A14C8);
    EXPECT_EQ(S.At(5, 0), 0x000000);
    EXPECT_EQ(S.At(5, 10), 0x0A14C8);
    EXPECT_EQ(S.At(5, 11), Paper);
    // Row 5 of 10 steps: halfway, 100 = 200 / 2, 10 = 20 / 2, 5 = 10 / 2.
    EXPECT_EQ(S.At(5, 5), 0x050A64);
    // Row 1: 20 / 10 = 2, 10 / 10 = 1; 200 / 10 = 20.
    EXPECT_EQ(S.At(19, 1), 0x010214);

    TSheet Cols(11, 4);
    FillGradient(Cols.C(), Rect(0, 0, 11, 4), 0x0000FF, false, 0x00FF00);
    EXPECT_EQ(Cols.At(0, 3), 0x0000FF);
    EXPECT_EQ(Cols.At(10, 0), 0x00FF00);
}

// A long gradient between close colours: many lines share a shade, each
// line still takes the shade stepped to it, the lines fill the whole span,
// the caller's brush is kept and the pen ends as the last line left it.
TEST(FolioPrimitives, LongGradientStepsEveryLineAndKeepsTheBrush) {
    for (const bool Rows : {true, false}) {
        const int Long = 300;
        TSheet S(Rows ? 7 : Long, Rows ? Long : 7);
        S.C()->GetBrush()->SetColor(0x123456);
        S.C()->GetBrush()->SetStyle(bsClear);
        FillGradient(S.C(), Rows ? Rect(1, 0, 6, Long) : Rect(0, 1, Long, 6), 0x000080, Rows,
                     0x400000);
        float Red = 0x80, Blue = 0;
        for (int P = 0; P < Long; ++P) {
            const TColor Want = static_cast<TColor>(std::lround(Red)) |
                                static_cast<TColor>(std::lround(Blue)) << 16;
            const int X = Rows ? 3 : P, Y = Rows ? P : 3;
            // Halves round to even in the painter; skip the lines that land on one.
            const bool Half = std::fabs(Red - std::floor(Red) - 0.5f) < 1e-3f ||
                              std::fabs(Blue - std::floor(Blue) - 0.5f) < 1e-3f;
            if (!Half) {
                ASSERT_EQ(S.At(X, Y), Want) << "line " << P << (Rows ? " rows" : " columns");
            }
            ASSERT_EQ(S.At(Rows ? 1 : P, Rows ? P : 1), S.At(Rows ? 5 : P, Rows ? P : 5));
            ASSERT_EQ(S.At(Rows ? 0 : P, Rows ? P : 0), Paper);
            Red += (0.0f - 0x80) / (Long - 1);
            Blue += (0x40 - 0.0f) / (Long - 1);
        }
        EXPECT_EQ(S.C()->GetBrush()->GetColor(), 0x123456);
        EXPECT_EQ(S.C()->GetBrush()->GetStyle(), bsClear);
        EXPECT_EQ(S.C()->GetPen()->GetColor(), 0x400000);
        EXPECT_EQ(S.C()->GetPen()->GetStyle(), psSolid);
    }
}

TEST(FolioPrimitives, OnePixelHighGradientIsTheStartColour) {
    TSheet S(10, 3);
    FillGradient(S.C(), Rect(0, 1, 10, 2), 0x123456, true, 0xFFFFFF);
    for (int X = 0; X < 10; ++X) EXPECT_EQ(S.At(X, 1), 0x123456);
    EXPECT_EQ(S.At(0, 0), Paper);
    EXPECT_EQ(S.At(0, 2), Paper);
}

// A system colour is a name, not a shade: its index in the low bytes would
// blend into near-black. Both ends are resolved first; a plain colour,
// whatever its top byte, keeps its three low bytes as before.
TEST(FolioPrimitives, GradientResolvesSystemColoursAndKeepsPlainOnes) {
    // The middle of three rows, each channel rounded halves to even.
    const auto Mid = [](TColor A, TColor B) {
        TColor M = 0;
        for (int Shift : {0, 8, 16}) {
            const float Sum = static_cast<float>(((A >> Shift) & 0xFF) + ((B >> Shift) & 0xFF));
            M |= static_cast<TColor>(std::nearbyint(Sum / 2)) << Shift;
        }
        return M;
    };
    struct TCase {
        TColor Start, End;
        TColor First, Last;
    } const Cases[] = {
        {clBtnShadow, cl3DDkShadow, Rgb(clBtnShadow), Rgb(cl3DDkShadow)},
        {clBtnShadow, clBtnShadow, Rgb(clBtnShadow), Rgb(clBtnShadow)},
        {0x00204060, clWindow, 0x00204060, Rgb(clWindow)},
        {clBtnHighlight, 0x00000000, Rgb(clBtnHighlight), 0x00000000},
        {0x00000010, 0x00000015, 0x00000010, 0x00000015},
        {0x02123456, 0x02FEDCBA, 0x00123456, 0x00FEDCBA},
    };
    for (const TCase& C : Cases) {
        TSheet S(4, 3);
        FillGradient(S.C(), Rect(0, 0, 4, 3), C.Start, true, C.End);
        EXPECT_EQ(S.At(0, 0), C.First) << std::hex << C.Start << " to " << C.End;
        EXPECT_EQ(S.At(3, 1), Mid(C.First, C.Last)) << std::hex << C.Start << " to " << C.End;
        EXPECT_EQ(S.At(0, 2), C.Last) << std::hex << C.Start << " to " << C.End;
    }
}

// A new group's gradient runs between its two default colours, the button
// shadow: choosing the style paints it in that grey, not in near-black.
TEST(FolioPaint, ANewGroupsGradientShowsTheButtonShadow) {
    for (const TFolAlignment Alignment : {baVertical, baHorizontal}) {
        TBarFixture F(60, 120, 1);
        F.Bar.SetAlignment(Alignment);
        TFolioGroup* G = F.G(0);
        G->SetStyle(gbGradient);
        TSheet S(60, 120);
        G->PaintClientRect(S.C());
        const TRect C = G->GetClientRect();
        for (const TPoint P : {Point(C.Left, C.Top), Point(C.Right - 1, C.Bottom - 1),
                               Point((C.Left + C.Right) / 2, (C.Top + C.Bottom) / 2)})
            EXPECT_EQ(S.At(P.X, P.Y), Rgb(clBtnShadow)) << P.X << ", " << P.Y;
    }
}

namespace {

// A 4 x 4 picture whose every pixel differs, so a pixel names its tile spot.
std::unique_ptr<TBitmap> Pattern() {
    auto B = std::make_unique<TBitmap>(4, 4);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X) B->GetCanvas()->SetPixel(X, Y, (X * 16 + Y) << 8);
    return B;
}

TColor PatternAt(int X, int Y) {
    return ((((X % 4) + 4) % 4) * 16 + (((Y % 4) + 4) % 4)) << 8;
}

} // namespace

TEST(FolioPrimitives, FixedTilesContinueAcrossAreasLooseTilesRestart) {
    auto Tile = Pattern();
    TSheet Fixed(30, 30);
    TileBitmap(Fixed.C(), Tile.get(), Rect(0, 0, 30, 9), 0, true);
    TileBitmap(Fixed.C(), Tile.get(), Rect(5, 13, 27, 27), 0, true);
    for (int Y : {0, 8, 13, 20, 26})
        for (int X : {5, 6, 17, 26}) EXPECT_EQ(Fixed.At(X, Y), PatternAt(X, Y)) << X << "," << Y;
    EXPECT_EQ(Fixed.At(4, 20), Paper) << "clipped to the rectangle";
    EXPECT_EQ(Fixed.At(27, 20), Paper);
    EXPECT_EQ(Fixed.At(10, 27), Paper);
    EXPECT_EQ(Fixed.At(10, 10), Paper);

    TSheet Loose(30, 30);
    TileBitmap(Loose.C(), Tile.get(), Rect(5, 13, 27, 27), 0, false);
    for (int Y : {13, 20, 26})
        for (int X : {5, 6, 17, 26})
            EXPECT_EQ(Loose.At(X, Y), PatternAt(X - 5, Y - 13)) << X << "," << Y;
    EXPECT_EQ(Loose.At(4, 20), Paper);
    EXPECT_FALSE(Loose.C()->HasClipRect()) << "the clip is removed again";
}

TEST(FolioPaint, GroupBackgroundsAndTheirFallback) {
    TBarFixture F(60, 120, 2);
    TFolioGroup* G = F.G(0);
    auto Tile = Pattern();
    TSheet S(60, 200);
    // Two bitmap groups painted on one canvas: with fixed tiles the pattern
    // continues from one client area into the other.
    G->SetStyle(gbBitmap);
    F.G(1)->SetStyle(gbBitmap);
    G->SetBitmap(Tile.get());
    F.G(1)->SetBitmap(Tile.get());
    G->PaintClientRect(S.C());
    F.G(1)->PaintClientRect(S.C());
    const TRect C1 = F.G(1)->GetClientRect();
    EXPECT_EQ(S.At(7, 30), PatternAt(7, 30));
    EXPECT_EQ(S.At(7, C1.Top + 1), PatternAt(7, C1.Top + 1));
    F.G(1)->SetFixedBitmap(false);
    F.G(1)->PaintClientRect(S.C());
    EXPECT_EQ(S.At(7, C1.Top + 1), PatternAt(7, 1));

    TBitmap Empty;
    G->SetBitmap(&Empty);
    G->SetColor(0x00102030);
    G->PaintClientRect(S.C());
    EXPECT_EQ(S.At(30, 30), 0x00102030) << "an empty picture shows plain Color";

    G->SetStyle(gbGradient);
    G->SetStartColor(0x000000);
    G->SetEndColor(0x0000FF);
    F.Bar.SetCustomDrawGroup(true);
    int Calls = 0;
    F.Bar.OnDrawGroup = [&](TObject* Sender, TCanvas*, TFolioGroup* Group, const TRect& R) {
        EXPECT_EQ(Sender, &F.Bar);
        EXPECT_EQ(Group, G);
        EXPECT_EQ(R, G->GetClientRect());
        ++Calls;
    };
    G->PaintClientRect(S.C());
    EXPECT_EQ(Calls, 1);
    EXPECT_EQ(S.At(30, 30), 0x00102030) << "the handler draws instead";
}

TEST(FolioPaint, BarWithoutGroupsPaintsNothing) {
    TBarFixture F(50, 80, 0);
    TSheet S(50, 80);
    F.Bar.GetGroups()->Paint(S.C());
    EXPECT_EQ(Ink(S, Rect(0, 0, 50, 80), Paper).Right, -1);
}

TEST(FolioPaint, PressedCaptionTextSinks) {
    TBarFixture F(120, 200, 2);
    F.Bar.SetVisibleGroup(0);
    TFolioGroup* G = F.G(1);
    G->SetCaption("Mail");
    G->SetCaptionColor(0x00FFFFFF);
    F.Bar.GetGroupsFont()->SetColor(0x000000);
    const TRect R = G->GetCaptionRect();
    // Inside both frames, so only the text is seen.
    const TRect Inner = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);

    TSheet Up(120, 200);
    G->PaintCaption(Up.C());
    const TRect A = Ink(Up, Inner, 0x00FFFFFF);
    ASSERT_GT(A.Right, A.Left) << "the caption shows";

    PI::GroupPressed(F.Bar) = true;
    PI::PressedGroup(F.Bar) = 1;
    PI::GroupPressInside(F.Bar) = true;
    TSheet Down(120, 200);
    G->PaintCaption(Down.C());
    const TRect B = Ink(Down, Inner, 0x00FFFFFF);
    // The text rectangle's Left and Top grow by 2; centring passes half of
    // that on to the text.
    EXPECT_EQ(B.Left - A.Left, 1);
    EXPECT_EQ(B.Top - A.Top, 1);
    EXPECT_EQ(B.Width(), A.Width());

    F.Bar.SetCustomDrawGroupCaption(true);
    TFolGroupState Seen = gsNormal;
    F.Bar.OnDrawGroupCaption = [&](TObject*, TCanvas*, TFolioGroup*, const TRect& CR,
                                   TFolGroupState State) {
        EXPECT_EQ(CR, R);
        Seen = State;
    };
    TSheet Custom(120, 200);
    G->PaintCaption(Custom.C());
    EXPECT_EQ(Seen, gsPressed);
    EXPECT_EQ(Custom.At(R.Left, R.Top), Paper);
}

TEST(FolioPaint, HorizontalCaptionIsShortenedAndCentred) {
    TBarFixture F(200, 80, 2);
    F.Bar.SetAlignment(baHorizontal);
    F.Bar.SetVisibleGroup(1);
    TFolioGroup* G = F.G(0);
    G->SetCaptionColor(0x00FFFFFF);
    F.Bar.GetGroupsFont()->SetColor(0x000000);
    const TRect R = G->GetCaptionRect();
    const TRect Inner = Rect(R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2);

    G->SetCaption("Hi");
    TSheet Short(200, 80);
    G->PaintCaption(Short.C());
    const TRect A = Ink(Short, Inner, 0x00FFFFFF);
    ASSERT_GT(A.Bottom, A.Top);
    EXPECT_LE(std::abs((A.Top - R.Top) - (R.Bottom - A.Bottom)), 3) << "centred along the strip";
    EXPECT_LE(std::abs((A.Left - R.Left) - (R.Right - A.Right)), 3) << "centred across it";

    G->SetCaption("An extremely long caption that cannot fit the strip at all");
    TSheet Long(200, 80);
    G->PaintCaption(Long.C());
    // Unshortened, the text would run over the frame's top line.
    EXPECT_EQ(Ink(Long, Rect(R.Left + 1, R.Top, R.Right - 1, R.Top + 1), Rgb(clBtnHighlight)).Right,
              -1);
    const TRect B = Ink(Long, Inner, 0x00FFFFFF);
    EXPECT_GT(B.Height(), A.Height());
    EXPECT_LE(std::abs((B.Top - R.Top) - (R.Bottom - B.Bottom)), 3) << "still centred";
}

TEST(FolioPaint, HoveredItemShowsOverImageAndFrame) {
    TBarFixture F(120, 200, 1);
    TFolioGroup* G = F.G(0);
    G->SetColor(0x00FFFFFF);
    TImageList Large(nullptr);
    Large.SetWidth(32);
    Large.SetHeight(32);
    for (TColor C : {0x0000FF, 0xFF0000}) {
        TBitmap B(32, 32);
        B.GetCanvas()->GetBrush()->SetColor(C);
        B.GetCanvas()->FillRect(Rect(0, 0, 32, 32));
        Large.Add(&B, nullptr);
    }
    F.Bar.SetLargeImages(&Large);
    F.Bar.SetFrameHighlightColor(0x00FFFF);
    F.Bar.SetFrameShadowColor(0x00FF00);
    TFolioItem* It = G->GetItems()->Add("Inbox", 0);
    It->SetOverImageIndex(1);
    const TRect IR = It->GetImageRect();
    const TRect Text = It->GetTextRect();

    TSheet Plain(120, 200);
    G->Paint(Plain.C());
    EXPECT_EQ(Plain.At(IR.Left + 5, IR.Top + 5), 0x0000FF);
    EXPECT_EQ(Plain.At(IR.Left - 2, IR.Top - 2), 0xFFFFFF);
    EXPECT_GT(Ink(Plain, Text, 0xFFFFFF).Right, 0) << "the caption is drawn";

    PI::HoverItem(F.Bar) = 0;
    TSheet Over(120, 200);
    G->Paint(Over.C());
    EXPECT_EQ(Over.At(IR.Left + 5, IR.Top + 5), 0xFF0000);
    EXPECT_EQ(Over.At(IR.Left - 2, IR.Top - 2), 0x00FFFF) << "raised: light top-left";
    EXPECT_EQ(Over.At(IR.Right + 1, IR.Bottom + 1), 0x00FF00);

    PI::ItemPressed(F.Bar) = true;
    PI::EditedItem(F.Bar) = It;
    TSheet Down(120, 200);
    G->Paint(Down.C());
    EXPECT_EQ(Down.At(IR.Left - 2, IR.Top - 2), 0x00FF00) << "sunken: dark top-left";
    EXPECT_EQ(Down.At(IR.Right + 1, IR.Bottom + 1), 0x00FFFF);
    EXPECT_EQ(Ink(Down, Text, 0xFFFFFF).Right, -1) << "the editor shows the caption instead";

    It->SetOverImageIndex(-1);
    PI::EditedItem(F.Bar) = nullptr;
    TSheet NoOver(120, 200);
    G->Paint(NoOver.C());
    EXPECT_EQ(NoOver.At(IR.Left + 5, IR.Top + 5), 0xFFFFFF) << "over index -1 draws no picture";
    F.Bar.SetLargeImages(nullptr);
}

TEST(FolioPaint, InsertMarkHasHalfTrianglesAtTheEnds) {
    TBarFixture F(100, 200, 1);
    TFolioGroup* G = F.G(0);
    G->SetColor(0x00FFFFFF);
    F.Bar.SetInsertMarkColor(0x0000FF);
    for (int I = 0; I < 2; ++I) G->GetItems()->Add("", -1);
    const TRect CR = G->GetClientRect();
    const int S = 12, B = 6;
    auto Mark = [&](int Index, TSheet& Sheet) {
        PI::InsertIndex(F.Bar) = Index;
        G->Paint(Sheet.C());
        return CR.Top + (S + G->GetItemHeight()) * Index + B; // the line's row
    };
    TSheet First(100, 200), Middle(100, 200), Last(100, 200);
    const int E0 = Mark(0, First), E1 = Mark(1, Middle), E2 = Mark(2, Last);
    for (int X : {CR.Left + B + 1, CR.Right - B - 2}) {
        EXPECT_EQ(First.At(X, E0), 0x0000FF);
        EXPECT_EQ(First.At(CR.Left + B, E0 - 2), 0xFFFFFF) << "no upper half at position 0";
        EXPECT_EQ(First.At(CR.Left + B, E0 + 2), 0x0000FF);
        EXPECT_EQ(Middle.At(CR.Left + B, E1 - 2), 0x0000FF);
        EXPECT_EQ(Middle.At(CR.Right - B - 1, E1 + 2), 0x0000FF);
        EXPECT_EQ(Last.At(CR.Right - B - 1, E2 - 2), 0x0000FF);
        EXPECT_EQ(Last.At(CR.Left + B, E2 + 2), 0xFFFFFF) << "no lower half at the end";
    }
    PI::InsertIndex(F.Bar) = -1;
    TSheet None(100, 200);
    G->Paint(None.C());
    EXPECT_EQ(None.At(CR.Left + B + 1, E0), 0xFFFFFF);
}

TEST(FolioPaint, OnlyTheOpenGroupDrawsTheInsertMark) {
    // The insert position is one in the open group. A closed group below it,
    // scrolled past that position, would otherwise put a mark over the open
    // group's area.
    TBarFixture F(100, 300, 3);
    F.Bar.SetInsertMarkColor(0x0000FF);
    F.G(0)->SetColor(0x00FFFFFF);
    for (int I = 0; I < 5; ++I) F.G(1)->GetItems()->Add("", -1);
    PI::StartItem(*F.G(1)) = 2;
    PI::InsertIndex(F.Bar) = 0;
    TSheet S(100, 300);
    F.Bar.GetGroups()->Paint(S.C());
    const TRect Open = F.G(0)->GetClientRect();
    const TRect Stray = F.G(1)->GetInsertMarkRect(0);
    ASSERT_GT(Stray.Top, Open.Top + 20);
    ASSERT_LT(Stray.Bottom, Open.Bottom);
    EXPECT_EQ(S.At(50, F.G(0)->GetInsertMarkRect(0).Top + 6), 0x0000FF);
    EXPECT_EQ(Ink(S, Rect(0, Stray.Top, 100, Stray.Bottom), 0x00FFFFFF).Right, -1);
}

TEST(FolioPaint, AnimationFramesCopyThePreparedPicture) {
    TBarFixture F(80, 160, 2);
    F.Bar.SetVisibleGroup(1);
    auto Picture = std::make_unique<TBitmap>(80, 140);
    Picture->GetCanvas()->GetBrush()->SetColor(0x00ABCDEF);
    Picture->GetCanvas()->FillRect(Rect(0, 0, 80, 140));
    PI::VisibleBitmap(F.Bar) = std::move(Picture);
    PI::Animating(F.Bar) = true;
    TSheet S(80, 160);
    F.G(1)->Paint(S.C());
    const TRect B = F.G(1)->GetBoundsRect();
    EXPECT_EQ(S.At(3, B.Top), 0x00ABCDEF) << "the caption too comes from the picture";
    EXPECT_EQ(S.At(3, B.Top + 139), 0x00ABCDEF);
    PI::Animating(F.Bar) = false;
}

TEST(FolioPaint, ScrollButtonsShowWhereTheGroupScrolls) {
    TBarFixture F(120, 200, 1);
    TFolioGroup* G = F.G(0);
    G->SetColor(0x00FFFFFF);
    for (int I = 0; I < 30; ++I) G->GetItems()->Add("", -1);
    G->SetStartItem(2);
    TSheet S(120, 200);
    G->Paint(S.C());
    const TRect P = G->GetPrevButtonRect();
    const TRect N = G->GetNextButtonRect();
    ASSERT_FALSE(P.IsEmpty());
    ASSERT_FALSE(N.IsEmpty());
    EXPECT_NE(Ink(S, P, 0xFFFFFF).Right, -1);
    EXPECT_NE(Ink(S, N, 0xFFFFFF).Right, -1);
}

TEST(FolioPaint, PartlyShownSlotIsPaintedAndHeldButtonSinks) {
    TBarFixture F(120, 210, 1);
    TFolioGroup* G = F.G(0);
    G->SetColor(0x00FFFFFF);
    G->SetImageSize(isSmall);
    TImageList Small(nullptr);
    TBitmap Red(16, 16);
    Red.GetCanvas()->GetBrush()->SetColor(0x0000FF);
    Red.GetCanvas()->FillRect(Rect(0, 0, 16, 16));
    Small.Add(&Red, nullptr);
    F.Bar.SetSmallImages(&Small);
    for (int I = 0; I < 1000; ++I) G->GetItems()->Add("", 0);
    G->SetStartItem(500);
    const int Whole = G->GetVisibleItems();
    // The first slot past the whole ones reaches into the client area: its
    // picture shows as far as the bar goes.
    const TRect Partial = G->GetItems()->GetItem(500 + Whole)->GetImageRect();
    ASSERT_LT(Partial.Top, 210);
    TSheet S(120, 210);
    G->Paint(S.C());
    EXPECT_EQ(S.At(Partial.Left + 1, Partial.Top + 1), 0x0000FF);
    const TRect Before = G->GetItems()->GetItem(499)->GetImageRect();
    EXPECT_NE(S.At(Before.Left + 1, Before.Bottom - 1), 0x0000FF) << "under the caption";

    const TRect N = G->GetNextButtonRect();
    TSheet Held(120, 210);
    PI::NextPressed(F.Bar) = true;
    PI::NextPressInside(F.Bar) = true;
    G->Paint(Held.C());
    bool Differs = false;
    for (int Y = N.Top; Y < N.Bottom; ++Y)
        for (int X = N.Left; X < N.Right; ++X) Differs |= S.At(X, Y) != Held.At(X, Y);
    EXPECT_TRUE(Differs) << "a held button is drawn pushed";
    F.Bar.SetSmallImages(nullptr);
}
