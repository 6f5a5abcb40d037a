#include "samples/Cgauges.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Font.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "samples/SampleStrings.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace folio;

namespace {

// Counts repaint requests and renders the finished picture into a bitmap,
// exactly as Paint builds it before the final copy.
class TGaugeProbe : public TCGauge {
public:
    using TCGauge::TCGauge;

    int Repaints = 0;
    void Repaint() override {
        ++Repaints;
        TCGauge::Repaint();
    }

    std::unique_ptr<TBitmap> Picture() {
        auto Image = std::make_unique<TBitmap>();
        PaintImage(Image.get());
        return Image;
    }
};

String MessageOf(const std::function<void()>& Action) {
    try {
        Action();
    } catch (const Exception& E) {
        return E.Message();
    }
    return "(nothing raised)";
}

// Rows and columns of Image with the colour Color inside R.
bool AllOf(const TBitmap& Image, const TRect& R, TColor Color) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (Image.GetPixel(X, Y) != Color) return false;
    return true;
}

bool AnyOf(const TBitmap& Image, const TRect& R, TColor Color) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (Image.GetPixel(X, Y) == Color) return true;
    return false;
}

} // namespace

TEST(Gauge, DefaultsMatchTheDeclaredDefaults) {
    TGaugeProbe G(nullptr);
    EXPECT_EQ(G.GetMinValue(), 0);
    EXPECT_EQ(G.GetMaxValue(), 100);
    EXPECT_EQ(G.GetProgress(), 0);
    EXPECT_EQ(G.GetKind(), gkHorizontalBar);
    EXPECT_TRUE(G.GetShowText());
    EXPECT_EQ(G.GetBorderStyle(), bsSingle);
    EXPECT_EQ(G.GetForeColor(), clBlack);
    EXPECT_EQ(G.GetBackColor(), clWhite);
    EXPECT_EQ(G.GetWidth(), 100);
    EXPECT_EQ(G.GetHeight(), 100);
    EXPECT_TRUE(G.GetControlStyle().Contains(csFramed));
    EXPECT_TRUE(G.GetControlStyle().Contains(csOpaque));
    // A fresh control holds every declared default, so a form file written
    // from it stores nothing that would be lost on reading.
    for (const TPropInfo* P : TCGauge::StaticClassInfo().PublishedProperties())
        if (P->IsOrdinal() && P->Default) {
            EXPECT_TRUE(P->HasDefaultValue(G)) << P->Name;
        }
}

TEST(Gauge, RangeErrorsNameTheBoundsAndChangeNothing) {
    TGaugeProbe G(nullptr);
    EXPECT_EQ(MessageOf([&] { G.SetMinValue(200); }), Format(SOutOfRange, -2147483647, 99));
    EXPECT_EQ(MessageOf([&] { G.SetMaxValue(-5); }), Format(SOutOfRange, 1, 2147483647));
    EXPECT_EQ(G.GetMinValue(), 0);
    EXPECT_EQ(G.GetMaxValue(), 100);
    EXPECT_EQ(G.Repaints, 0);

    // An equal minimum and maximum is allowed and shows 0 %.
    G.SetMaxValue(50);
    G.SetMinValue(50);
    EXPECT_EQ(G.GetProgress(), 50);
    EXPECT_EQ(G.GetPercentDone(), 0);

    // At the very ends of the integer range the bounds saturate rather
    // than overflow.
    G.SetMinValue(INT_MIN);
    G.SetMaxValue(INT_MIN);
    EXPECT_EQ(MessageOf([&] { G.SetMinValue(5); }), Format(SOutOfRange, -2147483647, INT_MIN));
    G.SetMaxValue(INT_MAX);
    G.SetMinValue(INT_MAX);
    EXPECT_EQ(MessageOf([&] { G.SetMaxValue(5); }), Format(SOutOfRange, INT_MAX, INT_MAX));
}

TEST(Gauge, ProgressIsClampedAndFollowsTheRange) {
    TGaugeProbe G(nullptr);
    G.SetProgress(-10);
    EXPECT_EQ(G.GetProgress(), 0);
    G.SetProgress(1000);
    EXPECT_EQ(G.GetProgress(), 100);
    G.SetProgress(40);
    G.SetMinValue(60);
    EXPECT_EQ(G.GetProgress(), 60);
    G.SetMaxValue(80);
    G.SetProgress(75);
    G.SetMaxValue(70);
    EXPECT_EQ(G.GetProgress(), 70);
    // AddProgress saturates at the end of the integer range.
    G.SetMaxValue(INT_MAX);
    G.SetProgress(INT_MAX - 1);
    G.AddProgress(INT_MAX);
    EXPECT_EQ(G.GetProgress(), INT_MAX);
}

TEST(Gauge, RepaintsOnlyWhenTheWholePercentChanges) {
    TGaugeProbe G(nullptr);
    G.SetMaxValue(1000);
    G.Repaints = 0;
    for (int V = 0; V <= 1000; ++V) G.SetProgress(V);
    EXPECT_EQ(G.Repaints, 100);
    G.SetProgress(1000);
    EXPECT_EQ(G.Repaints, 100);
    G.AddProgress(0);
    EXPECT_EQ(G.Repaints, 101);
    // Look setters repaint once per real change.
    G.SetKind(gkPie);
    G.SetKind(gkPie);
    G.SetForeColor(clRed);
    G.SetBackColor(clBlue);
    G.SetShowText(false);
    G.SetBorderStyle(bsNone);
    EXPECT_EQ(G.Repaints, 106);
}

TEST(Gauge, PercentageOfSpansWiderThan32Bits) {
    TGaugeProbe G(nullptr);
    G.SetMinValue(INT_MIN);
    G.SetMaxValue(INT_MAX);
    G.SetProgress(0);
    EXPECT_EQ(G.GetPercentDone(), 50);
    G.SetProgress(INT_MAX);
    EXPECT_EQ(G.GetPercentDone(), 100);
    G.SetMaxValue(2000000000);
    G.SetProgress(0);
    // 2147483648 * 100 / 4147483648 = 51.8
    EXPECT_EQ(G.GetPercentDone(), 51);
}

TEST(Gauge, BarExtentsOnAFramedGauge) {
    TGaugeProbe G(nullptr);
    G.SetShowText(false);
    G.SetForeColor(clRed);
    G.SetProgress(50);
    auto P = G.Picture();
    // Horizontal: (1, 1, 49, 99), the rest of the inside white, the frame black.
    EXPECT_TRUE(AllOf(*P, Rect(1, 1, 49, 99), clRed));
    EXPECT_TRUE(AllOf(*P, Rect(49, 1, 99, 99), clWhite));
    EXPECT_TRUE(AllOf(*P, Rect(0, 0, 100, 1), clBlack));
    EXPECT_TRUE(AllOf(*P, Rect(0, 99, 100, 100), clBlack));
    EXPECT_TRUE(AllOf(*P, Rect(99, 0, 100, 100), clBlack));

    G.SetKind(gkVerticalBar);
    P = G.Picture();
    EXPECT_TRUE(AllOf(*P, Rect(1, 50, 99, 99), clRed));
    EXPECT_TRUE(AllOf(*P, Rect(1, 1, 99, 50), clWhite));

    // At 100 % the vertical bar is limited to H - 1 and so starts at row 1;
    // the horizontal bar reaches F = W.
    G.SetProgress(100);
    P = G.Picture();
    EXPECT_TRUE(AllOf(*P, Rect(1, 1, 99, 99), clRed));
    G.SetKind(gkHorizontalBar);
    P = G.Picture();
    EXPECT_TRUE(AllOf(*P, Rect(1, 1, 99, 99), clRed));
    EXPECT_TRUE(AllOf(*P, Rect(0, 0, 1, 100), clBlack));

    // Without a frame the bar fills the whole control.
    G.SetBorderStyle(bsNone);
    P = G.Picture();
    EXPECT_TRUE(AllOf(*P, Rect(0, 0, 100, 100), clRed));
}

TEST(Gauge, PieAndNeedleShowNothingAtZero) {
    TGaugeProbe G(nullptr);
    G.SetShowText(false);
    G.SetForeColor(clRed);
    G.SetKind(gkPie);
    // The outline is drawn in the fore colour; inside it nothing is.
    auto P = G.Picture();
    EXPECT_FALSE(AnyOf(*P, Rect(25, 25, 75, 75), clRed));
    // A quarter fills the upper right quadrant only: the wedge grows
    // clockwise from twelve o'clock.
    G.SetProgress(25);
    P = G.Picture();
    EXPECT_EQ(P->GetPixel(70, 30), clRed);
    EXPECT_EQ(P->GetPixel(30, 30), clWhite);
    EXPECT_EQ(P->GetPixel(70, 70), clWhite);
    G.SetProgress(50);
    P = G.Picture();
    EXPECT_EQ(P->GetPixel(70, 70), clRed);
    EXPECT_EQ(P->GetPixel(30, 70), clWhite);

    G.SetKind(gkNeedle);
    G.SetProgress(0);
    P = G.Picture();
    EXPECT_FALSE(AnyOf(*P, Rect(20, 40, 80, 97), clRed));
    // At 50 % the needle points straight up from the middle of the base.
    G.SetProgress(50);
    P = G.Picture();
    EXPECT_TRUE(AnyOf(*P, Rect(48, 40, 52, 41), clRed));
    EXPECT_TRUE(AnyOf(*P, Rect(48, 80, 52, 81), clRed));
    EXPECT_FALSE(AnyOf(*P, Rect(20, 40, 45, 97), clRed));
}

TEST(Gauge, TextInvertsWhatLiesBeneathIt) {
    TGaugeProbe G(nullptr);
    // Glyph stems of a large font are fully covered; small anti-aliased
    // text may have no fully covered pixel at all.
    G.GetFont()->SetHeight(-40);
    G.SetProgress(50);
    G.SetShowText(false);
    auto Plain = G.Picture();
    G.SetShowText(true);
    auto Text = G.Picture();

    // Every text pixel is the picture XOR a grey of the glyph's coverage;
    // fully covered pixels turn white on the black bar and black on white.
    int InvertedOnBar = 0, InvertedOnBack = 0, Changed = 0;
    for (int Y = 0; Y < 100; ++Y)
        for (int X = 0; X < 100; ++X) {
            const TColor Before = Plain->GetPixel(X, Y);
            const TColor After = Text->GetPixel(X, Y);
            const int Mask = Before ^ After;
            if (Mask == 0) continue;
            ++Changed;
            ASSERT_EQ(Mask & 0xFF, (Mask >> 8) & 0xFF) << X << "," << Y;
            ASSERT_EQ(Mask & 0xFF, (Mask >> 16) & 0xFF) << X << "," << Y;
            ASSERT_TRUE(X >= 1 && X < 99 && Y >= 1 && Y < 99) << "text outside the frame";
            if (Mask == 0xFFFFFF && Before == clBlack) ++InvertedOnBar;
            if (Mask == 0xFFFFFF && Before == clWhite) ++InvertedOnBack;
        }
    EXPECT_GT(Changed, 0);
    EXPECT_GT(InvertedOnBar, 0);
    EXPECT_GT(InvertedOnBack, 0);
}

// The text inverts the picture exactly: every pixel of the gauge with its
// text is the same as without it, or its exact inverse, on every kind and
// over every colour beneath (a grey glyph edge XORed onto a colour would
// give an unrelated one, a fringe).
TEST(Gauge, TextLeavesEachPixelUntouchedOrExactlyInverted) {
    struct TCase {
        TCGaugeKind Kind;
        TColor Fore, Back;
        int Progress;
    };
    const TCase Cases[] = {
        {gkText, clNavy, clWhite, 15},          {gkHorizontalBar, clNavy, clWhite, 37},
        {gkVerticalBar, 0x207020, clWhite, 62}, {gkPie, 0x2060C0, clWhite, 80},
        {gkNeedle, clMaroon, clWhite, 45},      {gkHorizontalBar, 0x20C040, 0xC0A0FF, 50},
        {gkPie, clTeal, clYellow, 58},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(testing::Message() << "kind " << C.Kind << ", " << C.Progress << "%");
        TGaugeProbe G(nullptr);
        G.SetBounds(0, 0, 130, 100);
        G.SetKind(C.Kind);
        G.SetForeColor(C.Fore);
        G.SetBackColor(C.Back);
        G.SetProgress(C.Progress);
        G.SetShowText(false);
        auto Plain = G.Picture();
        G.SetShowText(true);
        auto Text = G.Picture();
        int Inverted = 0;
        for (int Y = 0; Y < 100; ++Y)
            for (int X = 0; X < 130; ++X) {
                const TColor Mask = Plain->GetPixel(X, Y) ^ Text->GetPixel(X, Y);
                ASSERT_TRUE(Mask == 0 || Mask == 0xFFFFFF)
                    << X << "," << Y << " changed by " << std::hex << Mask;
                if (Mask) ++Inverted;
            }
        EXPECT_GT(Inverted, 20);
    }
}

TEST(Gauge, PaintsOnItsParentsSurface) {
    THeadlessHost Host;
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    auto* G = new TGaugeProbe(Form.get());
    G->SetBounds(20, 30, 100, 100);
    G->SetParent(Form.get());
    G->SetShowText(false);
    G->SetForeColor(clRed);
    G->SetProgress(50);
    Form->Show();
    Host.RunUntilIdle();
    // The form's surface starts at the form's own top-left corner.
    const TPoint Origin = G->ClientToScreen(Point(0, 0));
    const int X0 = Origin.X - Form->GetLeft();
    const int Y0 = Origin.Y - Form->GetTop();
    EXPECT_EQ(Host.Pixel(Form.get(), X0, Y0), clBlack);
    EXPECT_EQ(Host.Pixel(Form.get(), X0 + 1, Y0 + 1), clRed);
    EXPECT_EQ(Host.Pixel(Form.get(), X0 + 48, Y0 + 98), clRed);
    EXPECT_EQ(Host.Pixel(Form.get(), X0 + 49, Y0 + 50), clWhite);
    // A repaint at once after a whole-percent change.
    G->SetProgress(100);
    EXPECT_EQ(Host.Pixel(Form.get(), X0 + 97, Y0 + 50), clRed);
}

TEST(Gauge, RegistersOnTheSamplesPage) {
    Cgauges::Register();
    EXPECT_EQ(PalettePageOf(TCGauge::StaticClassInfo()), LoadStr(SSamplesPage));
    std::unique_ptr<TComponent> C(TCGauge::StaticClassInfo().CreateComponent(nullptr));
    EXPECT_NE(dynamic_cast<TCGauge*>(C.get()), nullptr);
}
