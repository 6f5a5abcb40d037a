#include "folio/Folio.h"
#include "folio/FolioPaintInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/SystemMetrics.h"

#include <gtest/gtest.h>

#include <random>

using namespace folio;
using PI = TFolioPaintInspector;

namespace {

// A borderless bar, so that its client area is exactly Width x Height.
struct TBarFixture {
    TFolio Bar{nullptr};
    TBarFixture(int Width, int Height, int Groups, bool WithWindow = true) {
        Bar.SetBorderStyle(bsNone);
        Bar.SetAnimationStyle(asNone);
        Bar.SetWidth(Width);
        Bar.SetHeight(Height);
        for (int I = 0; I < Groups; ++I) Bar.GetGroups()->Add(Format("G%d", I));
        if (WithWindow) Bar.HandleNeeded();
    }
    TFolioGroup* G(int I) { return Bar.GetGroups()->GetGroup(I); }
};

int LineHeightOf(TFont* Font) {
    TCanvas C;
    C.SetFont(Font);
    TRect R;
    String W = "W";
    return C.DrawText(W, R, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
}

} // namespace

TEST(FolioGeometry, ThreeGroupsStackForEachOpenGroup) {
    TBarFixture F(100, 200, 3);
    struct TCase {
        int Open;
        int Tops[3];
    };
    // Groups up to the open one sit at the top, later ones at the bottom,
    // and every group is 160 tall (200 minus the two other captions).
    for (const TCase& C :
         {TCase{0, {0, 160, 180}}, TCase{1, {0, 20, 180}}, TCase{2, {0, 20, 40}}}) {
        F.Bar.SetVisibleGroup(C.Open);
        for (int I = 0; I < 3; ++I) {
            SCOPED_TRACE(Format("open %d, group %d", C.Open, I));
            EXPECT_EQ(F.G(I)->GetBoundsRect(), Rect(0, C.Tops[I], 100, C.Tops[I] + 160));
            EXPECT_EQ(F.G(I)->GetCaptionRect(), Rect(0, C.Tops[I], 100, C.Tops[I] + 20));
            EXPECT_EQ(F.G(I)->GetClientRect(), Rect(0, C.Tops[I] + 20, 100, C.Tops[I] + 160));
        }
    }
    // The same across the other axis.
    F.Bar.SetAlignment(baHorizontal);
    F.Bar.SetWidth(200);
    F.Bar.SetHeight(100);
    F.Bar.SetVisibleGroup(1);
    EXPECT_EQ(F.G(0)->GetBoundsRect(), Rect(0, 0, 160, 100));
    EXPECT_EQ(F.G(1)->GetClientRect(), Rect(40, 0, 180, 100));
    EXPECT_EQ(F.G(2)->GetCaptionRect(), Rect(180, 0, 200, 100));
}

TEST(FolioGeometry, PaintAtOriginAndAnimationOffset) {
    TBarFixture F(100, 200, 3);
    F.Bar.SetVisibleGroup(0);
    PI::PaintAtOrigin(*F.G(2)) = true;
    EXPECT_EQ(F.G(2)->GetBoundsRect(), Rect(0, 0, 100, 160));
    PI::PaintAtOrigin(*F.G(2)) = false;
    PI::AnimOffset(*F.G(1)) = -30;
    EXPECT_EQ(F.G(1)->GetBoundsRect(), Rect(0, 130, 100, 290));
}

TEST(FolioGeometry, PictureSizesWithoutListsAndSlotSizes) {
    TBarFixture F(200, 300, 1);
    TFolioGroup* G = F.G(0);
    F.Bar.GetFont()->SetHeight(-11);
    EXPECT_EQ(G->GetImagesWidth(), 32);
    EXPECT_EQ(G->GetImagesHeight(), 32);
    EXPECT_EQ(G->GetItemHeight(), 32 + 22 + 2);
    EXPECT_EQ(G->GetItemWidth(), 64);
    G->SetImageSize(isSmall);
    EXPECT_EQ(G->GetImagesWidth(), 16);
    EXPECT_EQ(G->GetItemHeight(), 16);
    EXPECT_EQ(G->GetItemWidth(), 200 - 32);
    F.Bar.SetAlignment(baHorizontal);
    EXPECT_EQ(G->GetItemWidth(), 64);
}

TEST(FolioGeometry, ScrollButtonsNeedAWindowToShowNext) {
    TBarFixture Off(100, 200, 1, false);
    TFolioGroup* G = Off.G(0);
    for (int I = 0; I < 50; ++I) G->GetItems()->Add("x", 0);
    EXPECT_EQ(G->GetVisibleItems(), 0);
    EXPECT_FALSE(G->GetPrevButtonVisible());
    EXPECT_TRUE(G->GetNextButtonVisible()) << "nothing fits, so everything lies ahead";
    PI::StartItem(*G) = 1;
    EXPECT_TRUE(G->GetPrevButtonVisible());

    TBarFixture On(100, 200, 1);
    TFolioGroup* H = On.G(0);
    EXPECT_FALSE(H->GetNextButtonVisible()) << "an empty group has nothing to scroll to";
    for (int I = 0; I < 50; ++I) H->GetItems()->Add("x", 0);
    EXPECT_GT(H->GetVisibleItems(), 0);
    H->SetStartItem(1);
    const int BW = GetSystemMetrics(SM_CXVSCROLL);
    const int BH = GetSystemMetrics(SM_CYVSCROLL);
    const int S = 12;
    EXPECT_EQ(H->GetPrevButtonRect(), Rect(100 - S - BW, 20 + S, 100 - S, 20 + S + BH));
    EXPECT_EQ(H->GetNextButtonRect(), Rect(100 - S - BW, 200 - S - BH, 100 - S, 200 - S));
    On.Bar.SetAlignment(baHorizontal);
    EXPECT_EQ(H->GetPrevButtonRect().Left, 20 + S);
    EXPECT_EQ(H->GetNextButtonRect(), Rect(100 - S - BW, S, 100 - S, S + BH));
}

TEST(FolioGeometry, ItemCaptionsTakeOneOrTwoLines) {
    TBarFixture F(120, 400, 1);
    TFolioGroup* G = F.G(0);
    TFolioItem* Short = G->GetItems()->Add("Ab", 0);
    TFolioItem* Long = G->GetItems()->Add("A caption far too wide for one line", 0);
    const int L = LineHeightOf(F.Bar.GetFont());
    const int T = -2 * F.Bar.GetFont()->GetHeight();
    ASSERT_GT(L, 0);
    const TRect CR = G->GetClientRect();

    const TRect I0 = Short->GetImageRect();
    EXPECT_EQ(I0, Rect(44, CR.Top + 12, 76, CR.Top + 44));
    const TRect T0 = Short->GetTextRect();
    EXPECT_EQ(T0.Top, I0.Bottom + 2);
    EXPECT_EQ(T0.Bottom, T0.Top + L);
    EXPECT_EQ(T0.Left + T0.Right, 120 - (120 - T0.Width()) % 2) << "centred on one line";

    const TRect I1 = Long->GetImageRect();
    EXPECT_EQ(I1.Top, I0.Top + 32 + T + 12 + 2);
    EXPECT_EQ(Long->GetTextRect(), Rect(12, I1.Bottom + 2, 108, I1.Bottom + 2 + 2 * L));
    TRect U = I1;
    U.Left = 12 - 2;
    U.Right = 108 + 2;
    U.Top -= 2;
    U.Bottom = I1.Bottom + 2 + 2 * L + 2;
    EXPECT_EQ(Long->GetClientRect(), U);
}

TEST(FolioGeometry, RightToLeftMirrorsOnlySmallLayouts) {
    TBarFixture F(200, 300, 1);
    TFolioGroup* G = F.G(0);
    TFolioItem* It = G->GetItems()->Add("x", 0);
    const TRect LargeLtr = It->GetImageRect();
    G->SetImageSize(isSmall);
    const TRect SmallLtr = It->GetImageRect();
    EXPECT_EQ(SmallLtr.Left, 12);
    EXPECT_EQ(It->GetTextRect().Left, 12 + 16 + 3);
    EXPECT_EQ(It->GetTextRect().Right, 200 - 12);

    F.Bar.SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(It->GetImageRect(), Rect(200 - 12 - 16, SmallLtr.Top, 200 - 12, SmallLtr.Bottom));
    EXPECT_EQ(It->GetTextRect(), Rect(12, SmallLtr.Top, 200 - 12 - 16 - 3, SmallLtr.Bottom));
    G->SetImageSize(isLarge);
    EXPECT_EQ(It->GetImageRect(), LargeLtr) << "large pictures stay centred";

    F.Bar.SetAlignment(baHorizontal);
    G->SetImageSize(isSmall);
    const TRect R = It->GetImageRect();
    EXPECT_EQ(R.Left, 20 + 12 + 3 * 16);
    EXPECT_EQ(It->GetTextRect().Right, R.Left - 3);
    EXPECT_EQ(It->GetTextRect().Left, R.Left - 3 * 16 - 3);
    F.Bar.SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(It->GetImageRect().Left, 20 + 12);
    EXPECT_EQ(It->GetTextRect().Left, 20 + 12 + 16 + 3);
}

TEST(FolioGeometry, ItemsScrolledOutBeforeStartItemStillHit) {
    TBarFixture F(200, 300, 2);
    F.Bar.SetVisibleGroup(1);
    TFolioGroup* G = F.G(1);
    G->SetImageSize(isSmall);
    for (int I = 0; I < 40; ++I) G->GetItems()->Add(Format("item %d", I), 0);
    G->SetStartItem(3);
    ASSERT_EQ(G->GetStartItem(), 3);
    TFolioItem* First = G->GetItems()->GetItem(0);
    const TRect R = First->GetImageRect();
    EXPECT_LT(R.Top, G->GetClientRect().Top) << "slot -3 lies above the client area";
    EXPECT_EQ(G->GetOnItem(R.Left + 1, R.Top + 1), 0);
    const TRect Third = G->GetItems()->GetItem(3)->GetImageRect();
    EXPECT_EQ(G->GetOnItem(Third.Left, Third.Top), 3);
    EXPECT_EQ(G->GetOnItem(Third.Left - 1, Third.Top), -1) << "the spacing left of the picture";
    // The widened caption: three pixels on either side of the text.
    const TRect Text = G->GetItems()->GetItem(3)->GetTextRect();
    EXPECT_EQ(G->GetOnItem(Text.Left - 3, Text.Top), 3);
    EXPECT_EQ(G->GetOnItem(Text.Right + 2, Text.Top), 3);
}

namespace {

// The hit test as the plain loop over every item in index order.
int InOrderOnItem(TFolioGroup* G, int X, int Y) {
    const bool Large = G->GetImageSize() == isLarge;
    for (int I = 0; I < G->GetItems()->GetCount(); ++I) {
        TFolioItem* It = G->GetItems()->GetItem(I);
        const TPoint P{X, Y};
        if (It->GetImageRect().Contains(P)) return I;
        TRect T = It->GetTextRect();
        if (Large) {
            T.Top -= 2;
        } else {
            T.Left -= 3;
            T.Right += 3;
        }
        if (T.Contains(P)) return I;
    }
    return -1;
}

} // namespace

TEST(FolioGeometry, HitTestAgreesWithInOrderLoop) {
    std::mt19937 Rng(1234);
    auto Pick = [&](int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(Rng); };
    const char* Captions[] = {"", "a", "Mail", "A long caption that needs two lines",
                              "WWWWWWWWWWWW"};
    for (int Round = 0; Round < 60; ++Round) {
        TBarFixture F(Pick(60, 260), Pick(80, 400), 1);
        TFolioGroup* G = F.G(0);
        F.Bar.SetAlignment(Pick(0, 1) ? baHorizontal : baVertical);
        G->SetImageSize(Pick(0, 1) ? isSmall : isLarge);
        F.Bar.SetBiDiMode(Pick(0, 1) ? bdRightToLeft : bdLeftToRight);
        // Tight and even negative spacing makes neighbouring items overlap,
        // which is where the first item in index order must win.
        F.Bar.SetItemSpacing(Pick(-6, 14));
        F.Bar.GetFont()->SetHeight(Pick(0, 3) ? -Pick(6, 16) : Pick(4, 10));
        const int N = Pick(0, 40);
        for (int I = 0; I < N; ++I) G->GetItems()->Add(Captions[Pick(0, 4)], 0);
        PI::StartItem(*G) = N ? Pick(0, N - 1) : 0;
        for (int P = 0; P < 150; ++P) {
            const int X = Pick(-300, F.Bar.GetWidth() + 300);
            const int Y = Pick(-300, F.Bar.GetHeight() + 300);
            ASSERT_EQ(G->GetOnItem(X, Y), InOrderOnItem(G, X, Y))
                << "round " << Round << " at " << X << "," << Y;
        }
    }
}

TEST(FolioGeometry, CaptionLookFollowsPointerState) {
    TBarFixture F(100, 200, 2);
    TFolioGroup* G = F.G(1);
    EXPECT_EQ(G->GetState(), gsNormal);
    PI::HoverGroup(F.Bar) = 1;
    EXPECT_EQ(G->GetState(), gsOver);
    PI::HoverGroup(F.Bar) = -1;
    PI::GroupPressed(F.Bar) = true;
    PI::PressedGroup(F.Bar) = 1;
    PI::GroupPressInside(F.Bar) = true;
    EXPECT_EQ(G->GetState(), gsPressed);
    EXPECT_EQ(F.G(0)->GetState(), gsNormal);
    PI::GroupPressInside(F.Bar) = false;
    EXPECT_EQ(G->GetState(), gsOver) << "pressed, pointer dragged outside";
    F.Bar.SetDesigning(true);
    EXPECT_EQ(G->GetState(), gsNormal);
    TFolioGroup Loose(nullptr);
    EXPECT_EQ(Loose.GetState(), gsNormal);
    EXPECT_EQ(Loose.GetOnItem(0, 0), -1);
}
