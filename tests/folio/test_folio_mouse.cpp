#include "FolioLiveInspector.h"
#include "FolioPaintInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Rects.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/paint/PaintPass.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

// Keeps the rectangle each paint was asked to cover, so a test sees which
// part of the bar an input event invalidated.
struct TProbeBar : TFolio {
    using TFolio::TFolio;
    std::vector<TRect> Clips;
    void Paint() override {
        Clips.push_back(Application->GetPaintPass().CurrentClip());
        TFolio::Paint();
    }
};

struct TSelectingDesigner : IDesigner {
    std::vector<TPersistent*> Selected;
    void Modified() override {}
    void SelectComponent(TPersistent* Instance) override { Selected.push_back(Instance); }
};

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

TPoint Offset(TPoint P, int DX, int DY) {
    return Point(P.X + DX, P.Y + DY);
}

// A vertical bar of 200 x 300 client pixels at (20, 20) on its form, with
// captions 20 pixels high: with group 0 open its caption spans 0..20 and the
// captions of groups 1 and 2 sit at the bottom, 260..280 and 280..300.
struct MouseTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TProbeBar* Bar = nullptr;
    std::vector<TFolioGroup*> Clicked;
    std::vector<TFolioItem*> ItemClicks;

    void Make(int Items, TFolImageSize Size = isLarge, TFolAlignment Alignment = baVertical,
              int Width = 200, int Height = 300) {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 400);
        Bar = new TProbeBar(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetAlignment(Alignment);
        Bar->SetBounds(20, 20, Width, Height);
        Bar->SetParent(Form.get());
        for (int G = 0; G < 3; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->Add("Group " + IntToStr(G));
            Group->SetImageSize(Size);
            for (int I = 0; I < Items; ++I) Group->GetItems()->Add("Item " + IntToStr(I), -1);
        }
        Bar->OnGroupClick = [this](TObject*, TFolioGroup* G) { Clicked.push_back(G); };
        Bar->OnItemClick = [this](TObject*, TFolioItem* I) { ItemClicks.push_back(I); };
        Form->Show();
        Host.RunUntilIdle();
    }

    TFolioGroup* Group(int Index) const { return Bar->GetGroups()->GetGroup(Index); }
    TFolioItem* Item(int Index) const { return Group(0)->GetItems()->GetItem(Index); }
    TRect Caption(int Index) const { return Group(Index)->GetCaptionRect(); }

    // Pointer moves, in the bar's client coordinates; the paint log starts
    // afresh with each event.
    void Move(TPoint P) {
        Bar->Clips.clear();
        Host.MoveTo(Bar->ClientToScreen(P));
    }
    void Press(TMouseButton Button = mbLeft) {
        Bar->Clips.clear();
        Host.Press(Button);
    }
    void Release(TMouseButton Button = mbLeft) {
        Bar->Clips.clear();
        Host.Release(Button);
    }
    // The one rectangle painted since the last event (empty when nothing or
    // more than once was painted).
    TRect Painted() const { return Bar->Clips.size() == 1 ? Bar->Clips[0] : TRect{}; }
    TRect WholeBar() const { return Bar->GetClientRect(); }

    // Where the open group's scroll buttons sit while they are hidden: shown
    // for a moment by a seeded scroll position or an extra item.
    TRect PrevPlace() const {
        int& Start = TFolioPaintInspector::StartItem(*Bar->GetVisibleGroupObject());
        const int Saved = Start;
        Start = 1;
        const TRect R = Bar->GetVisibleGroupObject()->GetPrevButtonRect();
        Start = Saved;
        return R;
    }
    // Runs the loop until a switch has ended; bounded, never hangs.
    bool WaitForSwitch() {
        const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (LI::Switching(*Bar) && std::chrono::steady_clock::now() < Deadline) {
            Host.RunUntilIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        Host.RunUntilIdle();
        return !LI::Switching(*Bar);
    }
    TRect NextPlace() const {
        TFolioGroup* Open = Bar->GetVisibleGroupObject();
        TFolioItem* Extra = Open->GetItems()->Add("Extra", -1);
        const TRect R = Open->GetNextButtonRect();
        Extra->Delete();
        return R;
    }
};

} // namespace

TEST_F(MouseTest, CaptionOpensOnlyWhenReleasedOnThePressedCaption) {
    Make(3);
    Bar->SetCursor(crCross);
    Move(Centre(Caption(1)));
    EXPECT_EQ(LI::HoverGroup(*Bar), 1);
    EXPECT_EQ(Host.GetCursor(), crHandPoint);
    EXPECT_EQ(Painted(), WholeBar()); // hover changes repaint everything

    Press();
    EXPECT_EQ(Group(1)->GetState(), gsPressed);
    EXPECT_EQ(Painted(), Caption(1)); // press feedback: the caption alone
    Move(Centre(Caption(2)));
    EXPECT_EQ(Group(1)->GetState(), gsOver);
    EXPECT_EQ(Painted(), Caption(1));
    Release();
    EXPECT_EQ(Painted(), Caption(1));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_TRUE(Clicked.empty());
    EXPECT_FALSE(LI::GroupPressed(*Bar));
    EXPECT_EQ(LI::HoverGroup(*Bar), 2);

    // Straight off the bar: the pointer leaves while the caption is held.
    Move(Centre(Caption(1)));
    Press();
    Move(Point(-10, Caption(1).Top + 5));
    EXPECT_EQ(Group(1)->GetState(), gsOver);
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_TRUE(Clicked.empty());

    // Out and back before the release: the press is inside again and opens.
    Move(Centre(Caption(1)));
    Press();
    Move(Centre(Caption(2)));
    Move(Offset(Centre(Caption(1)), 5, 0));
    EXPECT_EQ(Group(1)->GetState(), gsPressed);
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    ASSERT_EQ(Clicked.size(), 1u);
    EXPECT_EQ(Clicked[0], Group(1));

    // A click on the open group's caption only reports the click.
    Clicked.clear();
    Move(Centre(Caption(1)));
    Press();
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    EXPECT_EQ(Clicked, std::vector<TFolioGroup*>{Group(1)});

    // Away from the captions the resting cursor shows again.
    Move(Centre(Group(1)->GetClientRect()));
    EXPECT_EQ(LI::HoverGroup(*Bar), -1);
    EXPECT_EQ(Host.GetCursor(), crCross);
}

TEST_F(MouseTest, VetoedCaptionPressLeavesNothingPressed) {
    Make(3);
    std::vector<TFolioGroup*> Asked;
    bool Allow = false;
    Bar->OnGroupCanClick = [&](TObject*, TFolioGroup* G, bool& A) {
        EXPECT_TRUE(A);
        Asked.push_back(G);
        A = Allow;
    };
    Move(Centre(Caption(2)));
    Press();
    EXPECT_EQ(Asked, std::vector<TFolioGroup*>{Group(2)});
    EXPECT_FALSE(LI::GroupPressed(*Bar));
    EXPECT_EQ(Group(2)->GetState(), gsOver);
    EXPECT_TRUE(Bar->Clips.empty());
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_TRUE(Clicked.empty());

    Allow = true;
    Press();
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);
    EXPECT_EQ(Clicked, std::vector<TFolioGroup*>{Group(2)});

    // A press with the right button asks nothing and presses nothing.
    Asked.clear();
    Move(Centre(Caption(0)));
    Press(mbRight);
    Release(mbRight);
    EXPECT_TRUE(Asked.empty());
    EXPECT_FALSE(LI::GroupPressed(*Bar));
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);
}

TEST_F(MouseTest, HeldNextButtonRepeatsEveryDelayOnlyWhileThePointerIsOnIt) {
    Make(20);
    Bar->SetButtonClickDelay(100);
    std::vector<int> Proposed;
    Bar->OnNextButtonClick = [&](TObject*, TFolioGroup* G, int& Start) {
        EXPECT_EQ(G, Group(0));
        Proposed.push_back(Start);
    };
    ASSERT_TRUE(Group(0)->GetNextButtonVisible());
    const TRect Button = Group(0)->GetNextButtonRect();
    Move(Centre(Button));
    Press();
    EXPECT_EQ(Group(0)->GetStartItem(), 1); // the first step is the press itself
    EXPECT_TRUE(LI::NextPressed(*Bar));
    Host.Run(99);
    EXPECT_EQ(Group(0)->GetStartItem(), 1);
    Host.Run(1);
    EXPECT_EQ(Group(0)->GetStartItem(), 2);
    Host.Run(100);
    EXPECT_EQ(Group(0)->GetStartItem(), 3);

    // Off the button the repetition pauses and the button is drawn up.
    Move(Centre(Group(0)->GetClientRect()));
    EXPECT_FALSE(LI::NextPressInside(*Bar));
    EXPECT_EQ(Painted(), Button);
    Host.Run(350);
    EXPECT_EQ(Group(0)->GetStartItem(), 3);
    Move(Offset(Centre(Button), 1, 1));
    EXPECT_TRUE(LI::NextPressInside(*Bar));
    EXPECT_EQ(Painted(), Button);
    Host.Run(50); // the timer kept its rhythm while paused: due at 400
    EXPECT_EQ(Group(0)->GetStartItem(), 4);

    Release();
    EXPECT_FALSE(LI::NextPressed(*Bar));
    EXPECT_EQ(Painted(), Button);
    Host.Run(1000);
    EXPECT_EQ(Group(0)->GetStartItem(), 4);
    EXPECT_EQ(Proposed, (std::vector<int>{1, 2, 3, 4}));
}

TEST_F(MouseTest, DeletingTheOpenGroupLetsGoOfItsHeldScrollButton) {
    Make(20);
    Bar->SetButtonClickDelay(100);
    Move(Centre(Group(0)->GetNextButtonRect()));
    Press();
    ASSERT_EQ(Group(0)->GetStartItem(), 1);
    Group(0)->Delete();
    EXPECT_FALSE(LI::NextPressed(*Bar));
    Host.Run(500);
    // The group that opened instead keeps its place.
    EXPECT_EQ(Bar->GetVisibleGroupObject()->GetStartItem(), 0);
    Release();
}

TEST_F(MouseTest, ScrollEventsFireOnEveryStepEvenWhenNothingCanMove) {
    Make(20);
    const int Last = 20 - Group(0)->GetVisibleItems();
    ASSERT_GT(Last, 1);
    Group(0)->SetStartItem(Last - 1);
    int Events = 0;
    Bar->OnNextButtonClick = [&](TObject*, TFolioGroup*, int&) { ++Events; };
    const TRect Button = Group(0)->GetNextButtonRect();
    Move(Centre(Button));
    Press();
    EXPECT_EQ(Group(0)->GetStartItem(), Last);
    EXPECT_FALSE(Group(0)->GetNextButtonVisible());
    Host.Run(3 * Bar->GetButtonClickDelay());
    EXPECT_EQ(Events, 4);
    EXPECT_EQ(Group(0)->GetStartItem(), Last);
    Release();

    // The handler's value is the one the group takes, clamped to the range.
    Bar->OnPrevButtonClick = [&](TObject*, TFolioGroup*, int& Start) {
        EXPECT_EQ(Start, Last - 1);
        Start = -7;
    };
    Move(Centre(Group(0)->GetPrevButtonRect()));
    Press();
    Release();
    EXPECT_EQ(Group(0)->GetStartItem(), 0);
    EXPECT_FALSE(Group(0)->GetPrevButtonVisible());
}

TEST_F(MouseTest, ItemClicksWhenReleasedOverThePressedItem) {
    Make(3);
    Bar->SetAllowDragging(false);
    const TPoint On0 = Centre(Item(0)->GetImageRect());
    const TPoint On1 = Centre(Item(1)->GetImageRect());
    Move(On0);
    EXPECT_EQ(LI::HoverItem(*Bar), 0);
    EXPECT_EQ(Painted(), WholeBar());
    Press();
    EXPECT_TRUE(LI::ItemPressed(*Bar));
    EXPECT_EQ(Painted(), Item(0)->GetClientRect());
    Move(On1);
    EXPECT_EQ(Painted(), Item(0)->GetClientRect());
    Release();
    EXPECT_TRUE(ItemClicks.empty());

    // Far away and back: without dragging the item stays pressed.
    Move(On0);
    Press();
    Move(Offset(On0, 0, 60));
    Move(On0);
    Release();
    EXPECT_EQ(ItemClicks, std::vector<TFolioItem*>{Item(0)});
    EXPECT_FALSE(LI::ItemPressed(*Bar));
}

TEST_F(MouseTest, DragStartsAtTheThresholdMeasuredAsManhattanDistance) {
    Make(3);
    const int T = Mouse->GetDragThreshold();
    ASSERT_GE(T, 2);
    const TPoint On0 = Centre(Item(0)->GetImageRect());
    Move(On0);
    Press();
    // One short of the threshold along both axes together: still a press.
    Move(Offset(On0, T / 2, T - 1 - T / 2));
    EXPECT_TRUE(LI::ItemPressed(*Bar));
    EXPECT_FALSE(Bar->Dragging());
    // The threshold as a sum, though the straight-line distance is shorter.
    Move(Offset(On0, T / 2, T - T / 2));
    EXPECT_FALSE(LI::ItemPressed(*Bar));
    EXPECT_TRUE(Bar->Dragging());
    EXPECT_TRUE(Application->GetDragManager().Active());
    Release();
    EXPECT_FALSE(Application->GetDragManager().Active());
    EXPECT_TRUE(ItemClicks.empty());
}

TEST_F(MouseTest, HoverFollowsThePointerAndIsClearedOverScrollButtonPlaces) {
    Make(3, isSmall);
    ASSERT_FALSE(Group(0)->GetPrevButtonVisible());
    Move(Centre(Item(0)->GetImageRect()));
    EXPECT_EQ(LI::HoverItem(*Bar), 0);
    EXPECT_EQ(Bar->GetItemUnderCurosr(), Item(0));

    // Item 0's caption runs under the hidden previous button.
    TRect Under;
    ASSERT_TRUE(IntersectRect(Under, PrevPlace(), Item(0)->GetTextRect()));
    const TPoint P = Centre(Under);
    ASSERT_EQ(Group(0)->GetOnItem(P.X, P.Y), 0);
    Move(P);
    EXPECT_EQ(LI::HoverItem(*Bar), -1);
    EXPECT_EQ(Painted(), WholeBar());

    // Leaving the bar clears the hover state.
    Move(Centre(Caption(1)));
    EXPECT_EQ(LI::HoverGroup(*Bar), 1);
    Move(Point(-10, 10));
    EXPECT_EQ(LI::HoverGroup(*Bar), -1);
    EXPECT_EQ(Painted(), WholeBar());
}

TEST_F(MouseTest, HiddenButtonPlacesOfAHorizontalBar) {
    // A low bar: the pictures reach the top corners where the buttons sit.
    Make(3, isSmall, baHorizontal, 300, 56);
    ASSERT_FALSE(Group(0)->GetNextButtonVisible());
    TRect UnderPrev, UnderNext;
    ASSERT_TRUE(IntersectRect(UnderPrev, PrevPlace(), Item(0)->GetImageRect()));
    ASSERT_TRUE(IntersectRect(UnderNext, NextPlace(), Item(2)->GetTextRect()));
    for (const TRect& Place : {UnderPrev, UnderNext}) {
        const TPoint P = Centre(Place);
        ASSERT_NE(Group(0)->GetOnItem(P.X, P.Y), -1);
        Move(Centre(Item(1)->GetImageRect()));
        EXPECT_EQ(LI::HoverItem(*Bar), 1);
        Move(P);
        EXPECT_EQ(LI::HoverItem(*Bar), -1);
    }
}

TEST_F(MouseTest, HandlersThatDeleteTheGroupLeaveNothingPressed) {
    Make(1);
    Bar->OnGroupCanClick = [](TObject*, TFolioGroup* G, bool&) { G->Delete(); };
    Move(Centre(Caption(2)));
    Press();
    EXPECT_FALSE(LI::GroupPressed(*Bar));
    Release();
    ASSERT_EQ(Bar->GetGroups()->GetCount(), 2);
    EXPECT_TRUE(Clicked.empty());

    // At design time the designer is not handed a deleted group.
    Bar->OnGroupCanClick = nullptr;
    Bar->OnGroupClick = [](TObject*, TFolioGroup* G) { G->Delete(); };
    TSelectingDesigner Designer;
    Form->SetDesigner(&Designer);
    Bar->SetDesigning(true);
    Move(Centre(Caption(1)));
    Press();
    Release();
    EXPECT_EQ(Bar->GetGroups()->GetCount(), 1);
    EXPECT_TRUE(Designer.Selected.empty());
    Form->SetDesigner(nullptr);
}

TEST_F(MouseTest, OpenEditorFreezesHoverAndAnyPressAcceptsIt) {
    Make(3);
    ASSERT_TRUE(Bar->EditGroup(Group(2)));
    ASSERT_TRUE(LI::Editing(*Bar));
    Move(Centre(Caption(1)));
    Move(Centre(Item(0)->GetImageRect()));
    EXPECT_EQ(LI::HoverGroup(*Bar), -1);
    EXPECT_EQ(LI::HoverItem(*Bar), -1);

    LI::Editor(*Bar)->SetText("Renamed");
    Press(mbRight);
    Release(mbRight);
    EXPECT_FALSE(LI::Editing(*Bar));
    EXPECT_EQ(Group(2)->GetCaption(), "Renamed");
    EXPECT_FALSE(LI::ItemPressed(*Bar));

    // An item editor too; a left press on a caption accepts and presses.
    ASSERT_TRUE(Bar->EditItem(Item(1)));
    Move(Centre(Caption(1)));
    EXPECT_EQ(LI::HoverGroup(*Bar), -1);
    LI::Editor(*Bar)->SetText("Item renamed");
    Press();
    EXPECT_EQ(Item(1)->GetCaption(), "Item renamed");
    EXPECT_TRUE(LI::GroupPressed(*Bar));
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
}

TEST_F(MouseTest, DesignerSelectsTheClickedGroup) {
    Make(1);
    TSelectingDesigner Designer;
    Form->SetDesigner(&Designer);
    Move(Centre(Caption(1)));
    Press();
    Release();
    EXPECT_TRUE(Designer.Selected.empty()); // not designing

    Bar->SetDesigning(true);
    Move(Centre(Caption(2)));
    Press();
    EXPECT_EQ(Group(2)->GetState(), gsNormal);
    Release();
    EXPECT_EQ(Designer.Selected, std::vector<TPersistent*>{Group(2)});
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);

    Form->SetDesigner(nullptr);
    Move(Centre(Caption(0)));
    Press();
    Release();
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
}

TEST_F(MouseTest, PressesAndMovesDuringASwitchAreIgnored) {
    Make(20);
    const TRect Button = Group(0)->GetNextButtonRect();
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(4); // 60 frames of at least 10 ms each
    Bar->SetVisibleGroup(1);
    ASSERT_TRUE(LI::Switching(*Bar));
    Move(Centre(Item(0)->GetImageRect()));
    EXPECT_EQ(LI::HoverItem(*Bar), -1);
    Move(Centre(Button));
    Press();
    EXPECT_FALSE(LI::NextPressed(*Bar));
    EXPECT_EQ(Group(0)->GetStartItem(), 0);
    Release();

    // Bounded: the slide ends on its own well within the limit.
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (LI::Switching(*Bar) && std::chrono::steady_clock::now() < Deadline) {
        Host.RunUntilIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_FALSE(LI::Switching(*Bar));
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    EXPECT_EQ(Group(0)->GetStartItem(), 0);
}

// Quick clicks on captions while a switch runs: the second press at the same
// place is a double click, and an application that renames what is under the
// pointer on a double click (as the gallery does) asks for the item the
// pointer rested on before the switch, an item of the group being closed.
// No editor may open for it.
TEST_F(MouseTest, NoEditorOpensForAnItemOfAGroupThatIsNotOpen) {
    Make(20);
    bool Rename = false;
    Bar->OnDblClick = [&](TObject*) { Rename = true; };
    Bar->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) {
        if (!Rename) return;
        Rename = false;
        Bar->EditItem(Bar->GetItemUnderCurosr());
    };
    // The items below the visible slots reach under the stacked captions,
    // so the pointer on group 1's caption rests on an item of group 0 too.
    Move(Centre(Caption(1)));
    ASSERT_NE(Bar->GetItemUnderCurosr(), nullptr);
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(4); // long enough for the clicks below
    Press();
    Release();
    ASSERT_TRUE(LI::Switching(*Bar));
    Press();
    Release();
    EXPECT_EQ(LI::Editor(*Bar), nullptr);
    ASSERT_TRUE(WaitForSwitch());
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    EXPECT_EQ(LI::Editor(*Bar), nullptr);

    // Asked directly: an item of a closed group, or any item while a switch
    // runs, gets no editor; an item of the open group does.
    Bar->SetAnimationStyle(asNone);
    EXPECT_FALSE(Bar->EditItem(Item(0)));
    Bar->SetAnimationStyle(asLinear);
    Bar->SetVisibleGroup(0);
    ASSERT_TRUE(LI::Switching(*Bar));
    EXPECT_FALSE(Bar->EditItem(Item(0)));
    EXPECT_FALSE(Bar->EditGroup(Group(0)));
    ASSERT_TRUE(WaitForSwitch());
    EXPECT_TRUE(Bar->EditItem(Item(0)));

    // A switch asked for while an item is edited ends the edit first,
    // keeping the text.
    LI::Editor(*Bar)->SetText("Kept");
    Bar->SetAnimationStyle(asNone);
    Bar->SetVisibleGroup(2);
    EXPECT_EQ(LI::Editor(*Bar), nullptr);
    EXPECT_EQ(Item(0)->GetCaption(), "Kept");
}

// The captions move under a pointer that stays where it clicked: when the
// switch ends, the hover state is what lies under the pointer now, not the
// caption that was clicked.
TEST_F(MouseTest, AfterASwitchTheHoverIsWhatThePointerRestsOn) {
    for (TFolAnimationStyle Style : {asNone, asLinear}) {
        SCOPED_TRACE(Style == asNone ? "at once" : "sliding");
        Make(3);
        Bar->SetCursor(crCross);
        Bar->SetAnimationStyle(Style);
        Bar->SetAnimationSpeed(50);
        const TPoint Where = Centre(Caption(1));
        Move(Where);
        Press();
        Release();
        ASSERT_TRUE(WaitForSwitch());
        ASSERT_EQ(Bar->GetVisibleGroup(), 1);
        ASSERT_FALSE(Caption(1).Contains(Where));
        EXPECT_EQ(LI::HoverGroup(*Bar), -1);
        EXPECT_EQ(Group(1)->GetState(), gsNormal);
        EXPECT_EQ(Host.GetCursor(), crCross);
        EXPECT_EQ(LI::HoverItem(*Bar), Group(1)->GetOnItem(Where.X, Where.Y));

        // Switched back by the program: group 1's caption comes to rest
        // under the pointer and is hot at once.
        Bar->SetVisibleGroup(0);
        ASSERT_TRUE(WaitForSwitch());
        ASSERT_TRUE(Caption(1).Contains(Where));
        EXPECT_EQ(LI::HoverGroup(*Bar), 1);
        EXPECT_EQ(Group(1)->GetState(), gsOver);
        EXPECT_EQ(Host.GetCursor(), crHandPoint);
    }
}
