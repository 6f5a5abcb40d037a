#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/extctrls/Bevel.h"
#include "framework/ui/extctrls/Shape.h"
#include "framework/ui/extctrls/SpeedButton.h"
#include "framework/ui/extctrls/Timer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ExtControlsTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Form->SetColor(clBtnFace);
    }

    template <class T>
    T* Add(int X, int Y, int W, int H) {
        auto* C = new T(Form.get());
        C->SetParent(Form.get());
        C->SetBounds(X, Y, W, H);
        return C;
    }

    void Show() {
        Form->Show();
        Host.RunUntilIdle();
    }

    void ClickOn(TControl* C) {
        const TPoint P = C->ClientToScreen(Point(C->GetWidth() / 2, C->GetHeight() / 2));
        Host.Click(P.X, P.Y);
    }

    TColor At(TControl* C, int X, int Y) {
        Host.RunUntilIdle();
        return Host.Pixel(Form.get(), C->GetLeft() + X, C->GetTop() + Y);
    }
};

TEST_F(ExtControlsTest, SpeedButtonsOfAGroupKeepOneDown) {
    struct Case {
        int GroupIndex;
        bool AllowAllUp;
        // The buttons clicked in turn and which is down after each (-1: none).
        int Clicks[4];
        int Down[4];
    };
    const Case Cases[] = {
        {0, false, {0, 1, 1, 2}, {-1, -1, -1, -1}},
        {1, false, {0, 1, 1, 2}, {0, 1, 1, 2}},
        {1, true, {0, 1, 1, 2}, {0, 1, -1, 2}},
    };
    for (const Case& C : Cases) {
        TSpeedButton* B[3];
        int Clicked = 0;
        for (int I = 0; I < 3; ++I) {
            B[I] = Add<TSpeedButton>(10 + 30 * I, 10, 25, 25);
            B[I]->SetGroupIndex(C.GroupIndex);
            B[I]->OnClick = [&](TObject*) { ++Clicked; };
        }
        B[0]->SetAllowAllUp(C.AllowAllUp);
        EXPECT_EQ(B[2]->GetAllowAllUp(), C.AllowAllUp);
        Show();
        for (int Step = 0; Step < 4; ++Step) {
            // Apart enough not to make a double click.
            Host.Run(1000);
            ClickOn(B[C.Clicks[Step]]);
            for (int I = 0; I < 3; ++I)
                EXPECT_EQ(B[I]->GetDown(), I == C.Down[Step])
                    << "group " << C.GroupIndex << " step " << Step << " button " << I;
        }
        EXPECT_EQ(Clicked, 4);
        // A press taken off the button before its release clicks nothing.
        Host.Drag(B[0]->ClientToScreen(Point(5, 5)), B[0]->ClientToScreen(Point(5, 200)));
        EXPECT_EQ(Clicked, 4);
        for (TSpeedButton* X : B) delete X;
    }
}

TEST_F(ExtControlsTest, AFlatSpeedButtonShowsItsEdgeUnderThePointerAndItsGlyph) {
    auto* Button = Add<TSpeedButton>(20, 20, 40, 40);
    Button->SetFlat(true);
    TBitmap Glyph(8, 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            Glyph.GetCanvas()->SetPixel(X, Y, X >= 2 && X < 6 && Y >= 2 && Y < 6 ? clBlue : clRed);
    Button->SetGlyph(&Glyph);
    auto* Away = Add<TSpeedButton>(200, 20, 40, 40);
    Show();
    const TColor Face = ColorToRGB(clBtnFace);
    EXPECT_EQ(At(Button, 0, 0), Face);
    // The glyph's red (its bottom-left colour) is transparent.
    EXPECT_EQ(At(Button, 20, 20), ColorToRGB(clBlue));
    EXPECT_EQ(At(Button, 16, 16), Face);
    Host.MoveTo(Button->ClientToScreen(Point(20, 20)));
    EXPECT_EQ(At(Button, 0, 0), ColorToRGB(clBtnHighlight));
    Host.MoveTo(Away->ClientToScreen(Point(20, 20)));
    EXPECT_EQ(At(Button, 0, 0), Face);
    // Disabled, the glyph is embossed: no blue.
    Button->SetEnabled(false);
    EXPECT_NE(At(Button, 20, 20), ColorToRGB(clBlue));
    auto Node = GetAccessible(Button);
    EXPECT_EQ(Node->GetRole(), TAccRole::PushButton);
    Away->SetGroupIndex(3);
    Away->SetDown(true);
    EXPECT_EQ(GetAccessible(Away)->GetRole(), TAccRole::ToggleButton);
    EXPECT_TRUE(GetAccessible(Away)->GetStates() & asPressed);
}

TEST_F(ExtControlsTest, ShapesFillTheirKindOfOutline) {
    struct Probe {
        int X, Y;
        bool Filled;
    };
    struct Case {
        TShapeType Shape;
        Probe Probes[3];
    };
    // A 100 x 60 shape: squares and circles are 60 across, centred.
    const Case Cases[] = {
        {stRectangle, {{3, 3, true}, {97, 57, true}, {50, 30, true}}},
        {stSquare, {{10, 30, false}, {25, 30, true}, {75, 5, true}}},
        {stRoundRect, {{1, 1, false}, {3, 30, true}, {98, 58, false}}},
        {stEllipse, {{3, 3, false}, {3, 30, true}, {50, 3, true}}},
        {stCircle, {{21, 5, false}, {50, 30, true}, {30, 30, true}}},
        {stRoundSquare, {{21, 1, false}, {50, 3, true}, {10, 30, false}}},
    };
    auto* Shape = Add<TShape>(20, 20, 100, 60);
    Shape->GetBrush()->SetColor(clYellow);
    Shape->GetPen()->SetColor(clNavy);
    Show();
    for (const Case& C : Cases) {
        Shape->SetShape(C.Shape);
        for (const Probe& P : C.Probes)
            EXPECT_EQ(At(Shape, P.X, P.Y) == ColorToRGB(clYellow), P.Filled)
                << int(C.Shape) << " at " << P.X << "," << P.Y;
    }
    // A change of the pen repaints.
    Shape->SetShape(stRectangle);
    Shape->GetPen()->SetColor(clRed);
    EXPECT_EQ(At(Shape, 0, 30), ColorToRGB(clRed));
}

TEST_F(ExtControlsTest, BevelsDrawEtchedLinesAndBoxesOnly) {
    struct Case {
        TBevelShape Shape;
        TBevelStyle Style;
        int X, Y;
        TColor Expected;
    };
    const Case Cases[] = {
        {bsTopLine, bsLowered, 30, 0, clBtnShadow},
        {bsTopLine, bsLowered, 30, 1, clBtnHighlight},
        {bsTopLine, bsRaised, 30, 0, clBtnHighlight},
        {bsBottomLine, bsLowered, 30, 38, clBtnShadow},
        {bsLeftLine, bsLowered, 1, 20, clBtnHighlight},
        {bsBox, bsLowered, 0, 20, clBtnShadow},
        {bsBox, bsLowered, 59, 20, clBtnHighlight},
        {bsBox, bsRaised, 30, 0, clBtnHighlight},
        {bsSpacer, bsLowered, 0, 0, clBtnFace},
        {bsBox, bsLowered, 30, 20, clBtnFace},
    };
    auto* Bevel = Add<TBevel>(20, 20, 60, 40);
    Show();
    for (const Case& C : Cases) {
        Bevel->SetShape(C.Shape);
        Bevel->SetStyle(C.Style);
        EXPECT_EQ(At(Bevel, C.X, C.Y), ColorToRGB(C.Expected))
            << int(C.Shape) << " " << int(C.Style) << " at " << C.X << "," << C.Y;
    }
}

TEST_F(ExtControlsTest, ATimerTicksOnTheLoopsClockWhileEnabled) {
    TTimer Timer(Form.get());
    int Ticks = 0;
    Timer.OnTimer = [&](TObject*) { ++Ticks; };
    Timer.SetInterval(100);
    Host.Run(350);
    EXPECT_EQ(Ticks, 3);
    Timer.SetEnabled(false);
    Host.Run(500);
    EXPECT_EQ(Ticks, 3);
    Timer.SetEnabled(true);
    Host.Run(50);
    // A new interval starts the count afresh.
    Timer.SetInterval(200);
    Host.Run(150);
    EXPECT_EQ(Ticks, 3);
    Host.Run(50);
    EXPECT_EQ(Ticks, 4);
    Timer.SetInterval(0);
    Host.Run(1000);
    EXPECT_EQ(Ticks, 4);
    EXPECT_FALSE(Timer.IsRunning());
    // A designer's timer does not tick.
    Timer.SetInterval(10);
    Timer.SetDesigning(true);
    Host.Run(100);
    EXPECT_EQ(Ticks, 4);
}

} // namespace
