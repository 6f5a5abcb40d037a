#include "FolioLiveInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// A bar of three groups of 20 items each beside a focused edit box: the
// wheel goes to the control under the pointer, not to the focus.
struct WheelTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;
    std::vector<int> Steps; // the proposed positions of the button events
    int FormTurns = 0;

    void Make(TFolAlignment Alignment = baVertical) {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        auto* Edit = new TEdit(Form.get());
        Edit->SetBounds(0, 0, 100, 20);
        Edit->SetParent(Form.get());
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAlignment(Alignment);
        Bar->SetBounds(20, 40, Alignment == baVertical ? 200 : 420,
                       Alignment == baVertical ? 300 : 200);
        Bar->SetParent(Form.get());
        for (int G = 0; G < 3; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->Add("G" + IntToStr(G));
            for (int I = 0; I < 20; ++I) Group->GetItems()->Add("I" + IntToStr(I), -1);
        }
        Bar->OnNextButtonClick = [this](TObject*, TFolioGroup*, int& S) { Steps.push_back(S); };
        Bar->OnPrevButtonClick = [this](TObject*, TFolioGroup*, int& S) { Steps.push_back(S); };
        Form->OnMouseWheel = [this](TObject*, TShiftState, int, TPoint, bool&) { ++FormTurns; };
        Form->Show();
        Edit->SetFocus();
        Host.RunUntilIdle();
    }
    TFolioGroup* Open() const { return Bar->GetVisibleGroupObject(); }
    void PointAt(TPoint Client) { Host.MoveTo(Bar->ClientToScreen(Client)); }
};

} // namespace

TEST_F(WheelTest, EachNotchScrollsOneItemThroughTheButtonEventsAndNeverSwitchesGroups) {
    Make();
    // Over an item, then over a closed group's caption: the open group
    // scrolls either way and stays open.
    for (TPoint P : {Point(100, 60), Centre(Bar->GetGroups()->GetGroup(2)->GetCaptionRect())}) {
        PointAt(P);
        Host.Wheel(-WHEEL_DELTA);
        Host.Wheel(-2 * WHEEL_DELTA); // a fast turn: two notches at once
    }
    EXPECT_EQ(Open()->GetStartItem(), 6);
    EXPECT_EQ(Steps, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    Host.Wheel(WHEEL_DELTA);
    EXPECT_EQ(Open()->GetStartItem(), 5);
    EXPECT_EQ(Steps.back(), 5);
    // The bar took every turn; none went on to its form.
    EXPECT_EQ(FormTurns, 0);
    // At the end the next button hides: the steps stop there, and turns
    // past the end go on to the form, as they would without the wheel.
    const int Last = 20 - Open()->GetVisibleItems();
    for (int K = 0; K < 30; ++K) Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Open()->GetStartItem(), Last);
    EXPECT_EQ(Steps.size(), 7u + static_cast<size_t>(Last - 5));
    EXPECT_EQ(FormTurns, 30 - (Last - 5));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    // A fast turn of many notches stops at the end too.
    Host.Wheel(40 * WHEEL_DELTA);
    EXPECT_EQ(Open()->GetStartItem(), 0);
}

TEST_F(WheelTest, AHandlerThatRemovesTheGroupEndsTheTurn) {
    Make();
    PointAt(Point(100, 60));
    Bar->OnNextButtonClick = [this](TObject*, TFolioGroup* G, int&) { G->Delete(); };
    Host.Wheel(-3 * WHEEL_DELTA);
    EXPECT_EQ(Bar->GetGroups()->GetCount(), 2);
}

TEST_F(WheelTest, FineTurnsAddUpToWholeNotchesAndAReversalStartsAfresh) {
    Make();
    PointAt(Point(100, 60));
    for (int K = 0; K < 3; ++K) Host.Wheel(-30);
    EXPECT_EQ(Open()->GetStartItem(), 0);
    Host.Wheel(-30);
    EXPECT_EQ(Open()->GetStartItem(), 1);
    Host.Wheel(-90);
    Host.Wheel(60); // back: the three quarters forward are dropped
    EXPECT_EQ(Open()->GetStartItem(), 1);
    Host.Wheel(60);
    EXPECT_EQ(Open()->GetStartItem(), 0);
}

TEST_F(WheelTest, SidewaysTurnsScrollOnlyAHorizontalBar) {
    struct Case {
        TFolAlignment Alignment;
        bool Shift;
        bool Sideways;
        int Start; // after one notch forward
    };
    const Case Cases[] = {
        {baVertical, false, false, 1},  {baVertical, true, false, 0},
        {baVertical, false, true, 0},   {baHorizontal, false, false, 1},
        {baHorizontal, true, false, 1}, {baHorizontal, false, true, 1},
    };
    for (const Case& C : Cases) {
        Make(C.Alignment);
        PointAt(Point(100, 100));
        const TShiftState Shift = C.Shift ? TShiftState{ssShift} : TShiftState{};
        if (C.Sideways)
            Host.HWheel(WHEEL_DELTA, Shift); // to the right: on through the items
        else
            Host.Wheel(-WHEEL_DELTA, Shift);
        EXPECT_EQ(Open()->GetStartItem(), C.Start)
            << C.Alignment << " shift " << C.Shift << " sideways " << C.Sideways;
        // What the bar does not take goes up to its form.
        EXPECT_EQ(FormTurns, C.Start == 0 && !C.Sideways ? 1 : 0);
        FormTurns = 0;
    }
}

TEST_F(WheelTest, TheHoverFollowsTheItemsUnderTheRestingPointer) {
    Make();
    const TRect Picture = Open()->GetItems()->GetItem(1)->GetImageRect();
    PointAt(Centre(Picture));
    ASSERT_EQ(Bar->GetItemUnderCursor(), Open()->GetItems()->GetItem(1));
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Bar->GetItemUnderCursor(), Open()->GetItems()->GetItem(2));
}

TEST_F(WheelTest, AnOpenEditorOrARunningSlideKeepsTheItemsStill) {
    Make();
    PointAt(Point(100, 60));
    ASSERT_TRUE(Bar->EditItem(Open()->GetItems()->GetItem(0)));
    Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Open()->GetStartItem(), 0);
    EXPECT_TRUE(LI::Editing(*Bar));
}
