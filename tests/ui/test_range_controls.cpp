#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/comctrls/ProgressBar.h"
#include "framework/ui/comctrls/SpinButton.h"
#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/comctrls/TrackBar.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct RangeControlsTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
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

    void ClickAt(TControl* C, TPoint P) {
        const TPoint S = C->ClientToScreen(P);
        Host.Click(S.X, S.Y);
    }
};

struct TKeyStep {
    unsigned short Key;
    int Value;
};

TEST_F(RangeControlsTest, KeysMoveTrackBarsAndSpinEditsWithinTheirRange) {
    auto* Track = Add<TTrackBar>(10, 10, 200, 45);
    Track->SetMax(20);
    Track->SetPageSize(5);
    auto* Spin = Add<TSpinEdit>(10, 80, 100, 24);
    Spin->SetMinValue(-5);
    Spin->SetMaxValue(12);
    Spin->SetIncrement(3);
    int TrackChanges = 0, SpinChanges = 0;
    Track->OnChange = [&](TObject*) { ++TrackChanges; };
    Spin->OnChange = [&](TObject*) { ++SpinChanges; };
    Show();
    const TKeyStep TrackSteps[] = {{VK_RIGHT, 1},  {VK_DOWN, 2},   {VK_NEXT, 7},
                                   {VK_END, 20},   {VK_RIGHT, 20}, {VK_LEFT, 19},
                                   {VK_PRIOR, 14}, {VK_HOME, 0},   {VK_UP, 0}};
    Track->SetFocus();
    for (const TKeyStep& S : TrackSteps) {
        Host.Key(S.Key);
        EXPECT_EQ(Track->GetPosition(), S.Value) << S.Key;
    }
    EXPECT_EQ(TrackChanges, 7);
    const TKeyStep SpinSteps[] = {{VK_UP, 3},    {VK_UP, 6},    {VK_PRIOR, 12}, {VK_DOWN, 9},
                                  {VK_NEXT, -5}, {VK_DOWN, -5}, {VK_UP, -2}};
    Spin->SetFocus();
    EXPECT_TRUE(Spin->GetEdit()->Focused());
    for (const TKeyStep& S : SpinSteps) {
        Host.Key(S.Key);
        EXPECT_EQ(Spin->GetValue(), S.Value) << S.Key;
        EXPECT_EQ(Spin->GetEdit()->GetText(), std::to_string(S.Value));
    }
    EXPECT_EQ(SpinChanges, 6);
}

TEST_F(RangeControlsTest, TypedNumbersAreTakenKeptInRangeOrRefused) {
    auto* Spin = Add<TSpinEdit>(10, 10, 100, 24);
    Spin->SetMinValue(-5);
    Spin->SetMaxValue(12);
    Spin->SetValue(4);
    auto* Other = Add<TEdit>(10, 50, 100, 24);
    Show();
    const struct {
        const char* Typed;
        unsigned short Ends; // Enter, or Tab to the next box
        int Value;
        const char* Shown;
    } Cases[] = {
        {"7", VK_RETURN, 7, "7"},
        {"-100", VK_RETURN, -5, "-5"},
        {"99999999999999999999", VK_TAB, 12, "12"},
        {"+09", VK_RETURN, 9, "9"},
        // Letters never reach the box; a lone sign is no number.
        {"x-", VK_RETURN, 9, "9"},
        {"", VK_TAB, 9, "9"},
    };
    for (const auto& C : Cases) {
        Spin->SetFocus();
        Spin->GetEdit()->SelectAll();
        if (*C.Typed)
            Host.Type(C.Typed);
        else
            Host.Key(VK_DELETE);
        Host.Key(C.Ends);
        EXPECT_EQ(Spin->GetValue(), C.Value) << C.Typed;
        EXPECT_EQ(Spin->GetEdit()->GetText(), C.Shown) << C.Typed;
    }
    EXPECT_TRUE(Other->Focused());
}

TEST_F(RangeControlsTest, TheSpinButtonsStepAndRepeatWhileHeld) {
    auto* Spin = Add<TSpinEdit>(10, 10, 100, 24);
    Show();
    const TRect Up = Spin->GetButton()->UpRect();
    const TPoint At = Spin->GetButton()->ClientToScreen(Point(Up.Width() / 2, Up.Height() / 2));
    Host.MoveTo(At);
    Host.Press();
    EXPECT_EQ(Spin->GetValue(), 1);
    Host.Run(350);
    EXPECT_EQ(Spin->GetValue(), 1);
    Host.Run(200); // the first repeat at 400 ms, then every 100 ms
    EXPECT_EQ(Spin->GetValue(), 3);
    Host.Release();
    Host.Run(500);
    EXPECT_EQ(Spin->GetValue(), 3);
    const TRect Down = Spin->GetButton()->DownRect();
    ClickAt(Spin->GetButton(), Point(Down.Width() / 2, Down.Top + 2));
    EXPECT_EQ(Spin->GetValue(), 2);
}

TEST_F(RangeControlsTest, TheTrackBarsThumbDragsAndTheChannelPages) {
    auto* Track = Add<TTrackBar>(10, 10, 226, 45); // a 200-pixel track
    Track->SetMax(100);
    Track->SetPageSize(10);
    Show();
    const TRect Thumb = Track->ThumbRect();
    const TPoint Grip = Point((Thumb.Left + Thumb.Right) / 2, (Thumb.Top + Thumb.Bottom) / 2);
    Host.Drag(Track->ClientToScreen(Grip), Track->ClientToScreen(Point(Grip.X + 100, Grip.Y + 30)));
    EXPECT_EQ(Track->GetPosition(), 50);
    Host.Drag(Track->ClientToScreen(Point(Grip.X + 100, Grip.Y)),
              Track->ClientToScreen(Point(500, Grip.Y)));
    EXPECT_EQ(Track->GetPosition(), 100);
    EXPECT_TRUE(Track->Focused());
    // A press left of the thumb pages towards it.
    ClickAt(Track, Point(40, Grip.Y));
    EXPECT_EQ(Track->GetPosition(), 90);
    // Vertical: the minimum at the top.
    Track->SetOrientation(trVertical);
    EXPECT_EQ(Track->GetWidth(), 45);
    EXPECT_LT(Track->TickAt(0), Track->TickAt(100));
    EXPECT_GT(Track->ThumbRect().Top, Track->GetHeight() / 2);
}

TEST_F(RangeControlsTest, AProgressBarFillsItsShareAndStepsWithinItsRange) {
    auto* Bar = Add<TProgressBar>(10, 10, 204, 20); // a 200-pixel track inside the edge
    const struct {
        int Min, Max, Position, Steps;
        int Expected, Filled;
    } Cases[] = {
        {0, 100, 25, 0, 25, 50},  {0, 100, 95, 1, 100, 200}, {0, 100, -3, 0, 0, 0},
        {-50, 50, 0, 2, 20, 140}, {10, 10, 10, 3, 10, 0},    {0, 1000, 999, 0, 999, 199},
    };
    Show();
    for (const auto& C : Cases) {
        Bar->SetMin(INT32_MIN);
        Bar->SetMax(C.Max);
        Bar->SetMin(C.Min);
        Bar->SetPosition(C.Position);
        for (int I = 0; I < C.Steps; ++I) Bar->StepIt();
        EXPECT_EQ(Bar->GetPosition(), C.Expected) << C.Min << ".." << C.Max;
        EXPECT_EQ(Bar->BarRect().Width(), C.Filled) << C.Min << ".." << C.Max;
    }
    // Vertical bars fill from the bottom.
    Bar->SetOrientation(pbVertical);
    Bar->SetRange(0, 100);
    Bar->SetPosition(50);
    EXPECT_EQ(Bar->BarRect().Bottom, Bar->GetClientHeight() - 2);
    EXPECT_EQ(Bar->BarRect().Height(), 100);
}

TEST_F(RangeControlsTest, RangesReadAndSetThroughTheAccessibilityTree) {
    auto* Bar = Add<TProgressBar>(10, 10, 100, 16);
    Bar->SetPosition(40);
    auto* Track = Add<TTrackBar>(10, 40, 150, 45);
    auto* Spin = Add<TSpinEdit>(10, 100, 100, 24);
    Show();
    const struct {
        TControl* Control;
        TAccRole Role;
        bool Settable;
        double Max;
    } Cases[] = {{Bar, TAccRole::ProgressBar, false, 100},
                 {Track, TAccRole::Slider, true, 10},
                 {Spin, TAccRole::SpinButton, true, 100}};
    for (const auto& C : Cases) {
        auto Node = GetAccessible(C.Control);
        EXPECT_EQ(Node->GetRole(), C.Role) << AccRoleName(C.Role);
        TAccRange Range;
        ASSERT_TRUE(Node->GetRange(Range));
        EXPECT_EQ(Range.Max, C.Max);
        EXPECT_EQ(Node->SetRangeValue(1e9), C.Settable);
        if (C.Settable) {
            ASSERT_TRUE(Node->GetRange(Range));
            EXPECT_EQ(Range.Current, C.Max);
            EXPECT_EQ(Node->GetValue(), std::to_string(int(C.Max)));
        }
    }
    EXPECT_EQ(GetAccessible(Bar)->GetValue(), "40");
}

} // namespace
