// A dragged item and the bar's two timers: resting on either scroll button
// scrolls one item per delay, and resting on a caption opens its group every
// 300 ms for as long as the pointer stays there, never while a switch
// slides, and not at all once the pointer has left the caption.
#include "folio/Folio.h"
#include "folio/FolioPaintInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;
using PI = TFolioPaintInspector;

namespace {

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// A shown vertical bar of small pictures, one group per entry of Counts
// (its number of items); every drag is real input on the headless screen
// with its manual clock.
struct FolioDragTimerTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TFolio* Bar = nullptr;

    void Make(std::vector<int> Counts) {
        Form->SetBounds(0, 0, 400, 360);
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(20, 20, 200, 300);
        Bar->SetParent(Form.get());
        for (const int Count : Counts) {
            TFolioGroup* G = Bar->GetGroups()->Add("Group");
            G->SetImageSize(isSmall);
            for (int I = 0; I < Count; ++I) G->GetItems()->Add(IntToStr(I), -1);
        }
        Form->Show();
        Host.RunUntilIdle();
    }
    TFolioGroup* Group(int I) const { return Bar->GetGroups()->GetGroup(I); }
    void MoveTo(TPoint P) { Host.MoveTo(Bar->ClientToScreen(P)); }
    void StartDrag(int Item) {
        const TPoint P =
            Centre(Bar->GetVisibleGroupObject()->GetItems()->GetItem(Item)->GetImageRect());
        MoveTo(P);
        Host.Press();
        MoveTo(Point(P.X + Mouse->GetDragThreshold(), P.Y));
        ASSERT_TRUE(Application->GetDragManager().Active());
    }
    void ToGap(int Index) {
        MoveTo(Centre(Bar->GetVisibleGroupObject()->GetInsertMarkRect(Index)));
    }
    void ToCaption(int G, int Nudge = 0) {
        const TPoint C = Centre(Group(G)->GetCaptionRect());
        MoveTo(Point(C.X + Nudge, C.Y));
    }
    void TearDown() override {
        if (Application->GetDragManager().Active()) Host.Key(VK_ESCAPE);
        Host.Release();
    }
};

} // namespace

// Either button: no step on arrival, then one item per ButtonClickDelay, the
// insert position kept meanwhile; moving off the button stops the steps.
TEST_F(FolioDragTimerTest, RestingOnEitherScrollButtonScrollsOneItemPerDelay) {
    struct TCase {
        const char* Name;
        bool Previous;
        int Start, AfterOne, AfterTwo;
    } const Cases[] = {{"previous", true, 10, 9, 8}, {"next", false, 0, 1, 2}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Form = std::make_unique<TForm>(nullptr);
        Make({30});
        TFolioGroup* G = Group(0);
        int Steps = 0;
        Bar->OnPrevButtonClick = [&](TObject*, TFolioGroup*, int&) { Steps += C.Previous; };
        Bar->OnNextButtonClick = [&](TObject*, TFolioGroup*, int&) { Steps += !C.Previous; };
        G->SetStartItem(C.Start);
        StartDrag(C.Start);
        ToGap(C.Start + 1);
        const int Gap = Bar->GetInsertIndex();
        ASSERT_EQ(Gap, C.Start + 1);
        const int Delay = Bar->GetButtonClickDelay();
        ASSERT_TRUE(C.Previous ? G->GetPrevButtonVisible() : G->GetNextButtonVisible());
        MoveTo(Centre(C.Previous ? G->GetPrevButtonRect() : G->GetNextButtonRect()));
        EXPECT_EQ(Bar->GetInsertIndex(), Gap) << "kept over a scroll button";
        Host.Run(Delay - 1);
        EXPECT_EQ(G->GetStartItem(), C.Start) << "no step on arrival";
        Host.Run(1);
        EXPECT_EQ(G->GetStartItem(), C.AfterOne);
        Host.Run(Delay);
        EXPECT_EQ(G->GetStartItem(), C.AfterTwo);
        ToGap(G->GetStartItem() + 1);
        Host.Run(Delay * 3);
        EXPECT_EQ(G->GetStartItem(), C.AfterTwo) << "off the button the steps stop";
        EXPECT_EQ(Steps, 2);
        Host.Key(VK_ESCAPE);
        Host.Release();
    }
}

// The pointer rests on a closed caption for less than the delay and moves
// on to a gap of the open group: the timer stops and nothing opens, however
// long the pointer then stays.
TEST_F(FolioDragTimerTest, LeavingACaptionBeforeTheDelayStopsTheOpeningTimer) {
    Make({3, 0, 1});
    StartDrag(0);
    ToCaption(2);
    Host.Run(FolioOpenDelay - 100);
    ToGap(2);
    EXPECT_EQ(Bar->GetInsertIndex(), 2);
    Host.Run(FolioOpenDelay * 4);
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_EQ(Bar->GetInsertIndex(), 2) << "no tick cleared the insert position";
    // Coming back to the caption starts a fresh delay.
    ToCaption(2);
    Host.Run(FolioOpenDelay - 1);
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    Host.Run(1);
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);
}

// With the last group open every caption sits at the top, where the pointer
// stays on the first caption whichever group opens. The timer keeps ticking
// every 300 ms: when the application opens another group meanwhile, the
// next tick opens the caption's group again, and every tick clears the
// insert position.
TEST_F(FolioDragTimerTest, RestingOnACaptionTicksEveryDelayForAsLongAsThePointerStays) {
    Make({1, 0, 4});
    Bar->SetVisibleGroup(2);
    StartDrag(0);
    ToCaption(0);
    for (int Tick = 1; Tick <= 3; ++Tick) {
        SCOPED_TRACE(Tick);
        Bar->SetVisibleGroup(2);
        PI::InsertIndex(*Bar) = 1;
        ASSERT_TRUE(
            Group(0)->GetCaptionRect().Contains(Bar->ScreenToClient(Mouse->GetCursorPos())));
        Host.Run(FolioOpenDelay - 1);
        EXPECT_EQ(Bar->GetVisibleGroup(), 2);
        EXPECT_EQ(Bar->GetInsertIndex(), 1);
        Host.Run(1);
        EXPECT_EQ(Bar->GetVisibleGroup(), 0);
        EXPECT_EQ(Bar->GetInsertIndex(), -1);
    }
}

// While a switch slides, a caption under the pointer is no caption to the
// drag: moving over one neither starts the opening timer nor keeps one that
// runs.
TEST_F(FolioDragTimerTest, CaptionsDoNothingForADragWhileASwitchSlides) {
    struct TCase {
        const char* Name;
        bool TimerRunning;
    } const Cases[] = {{"arriving during the slide", false},
                       {"resting since before the slide", true}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Form = std::make_unique<TForm>(nullptr);
        Make({3, 0, 1});
        StartDrag(0);
        ToGap(1);
        if (C.TimerRunning) {
            ToCaption(2);
            Host.Run(FolioOpenDelay / 2);
        }
        PI::Animating(*Bar) = true;
        ToCaption(2, 3);
        EXPECT_EQ(Bar->GetGroupUnderCursor(), nullptr);
        Host.Run(FolioOpenDelay * 3);
        PI::Animating(*Bar) = false;
        EXPECT_EQ(Bar->GetVisibleGroup(), 0) << "no tick opened the caption's group";
        Host.Key(VK_ESCAPE);
        Host.Release();
    }
}
