#include "FolioLiveInspector.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

// An edit box first in the tab order, then a bar of three groups, the first
// open, on a shown form; the application makes the bar a tab stop. The
// bar's client area is 200 x 300 at (20, 40); a large item slot with its
// spacing is 32 + 22 + 2 + 12 = 68 pixels, so three whole slots fit in the
// 240 pixels below the captions.
struct KeyboardTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TEdit* Edit = nullptr;
    TFolio* Bar = nullptr;
    std::vector<String> Log;

    void Make(int Items, TFolAlignment Alignment = baVertical, bool TabStop = true) {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Edit = new TEdit(Form.get());
        Edit->SetBounds(0, 0, 100, 20);
        Edit->SetParent(Form.get());
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetAlignment(Alignment);
        Bar->SetBounds(20, 40, Alignment == baVertical ? 200 : 420,
                       Alignment == baVertical ? 300 : 200);
        Bar->SetParent(Form.get());
        if (TabStop) Bar->SetTabStop(true);
        for (int G = 0; G < 3; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->Add("G" + IntToStr(G));
            for (int I = 0; I < Items; ++I) Group->GetItems()->Add("I" + IntToStr(I), -1);
        }
        Bar->OnGroupClick = [this](TObject*, TFolioGroup* G) { Log.push_back(G->GetCaption()); };
        Bar->OnItemClick = [this](TObject*, TFolioItem* I) {
            Log.push_back("click " + I->GetCaption());
        };
        Form->Show();
        Edit->SetFocus();
        Host.RunUntilIdle();
    }

    TFolioGroup* Group(int Index) const { return Bar->GetGroups()->GetGroup(Index); }
    TFolioItem* Item(int Group, int Index) const {
        return this->Group(Group)->GetItems()->GetItem(Index);
    }
    // What the keyboard is on: a caption "G1" or an item "I2".
    String Focus() const {
        if (TFolioItem* I = Bar->GetFocusedItem()) return I->GetCaption();
        if (TFolioGroup* G = Bar->GetFocusedGroup()) return G->GetCaption();
        return "(none)";
    }
    TColor Px(int X, int Y) const {
        const TPoint P = Bar->ClientToScreen(Point(X, Y));
        return Host.Pixel(Form.get(), P.X, P.Y);
    }
    // Whether a dotted focus rectangle runs along the top edge of R's inside.
    bool CueOn(TRect R, TColor Face) const {
        int Changed = 0;
        for (int X = R.Left + 5; X < R.Right - 5; ++X) Changed += Px(X, R.Top + 3) != Face;
        return Changed > (R.Width() - 10) / 3;
    }
};

} // namespace

// A new bar is not a tab stop: Tab passes it by and a click leaves the
// keyboard where it was, though the click still acts. The keys reach it once
// the application gives it the focus.
TEST_F(KeyboardTest, ANewBarIsNoTabStopAndAClickLeavesTheFocusWhereItWas) {
    Make(3, baVertical, false);
    EXPECT_FALSE(Bar->GetTabStop());
    EXPECT_FALSE(TFolio(nullptr).GetTabStop());
    Host.Key(VK_TAB);
    EXPECT_FALSE(Bar->Focused());
    const TPoint OnCaption = Bar->ClientToScreen(Point(100, 290));
    Host.Click(OnCaption.X, OnCaption.Y);
    Host.RunUntilIdle();
    EXPECT_FALSE(Bar->Focused());
    EXPECT_EQ(Bar->GetVisibleGroup(), 2) << "the click opened the group all the same";
    EXPECT_EQ(Form->GetActiveControl(), Edit);
    Bar->SetFocus();
    Host.Key(VK_UP);
    EXPECT_EQ(Focus(), "G1");
}

TEST_F(KeyboardTest, TabFocusesTheBarAndTheArrowsWalkItemsThenCaptions) {
    Make(3);
    Host.Key(VK_TAB);
    ASSERT_TRUE(Bar->Focused());
    EXPECT_EQ(Focus(), "G0");
    // Down walks the open group's items and goes on to the captions below;
    // Up comes back the same way and stops at the first caption.
    const std::vector<std::pair<unsigned short, String>> Steps = {
        {VK_DOWN, "I0"}, {VK_DOWN, "I1"}, {VK_DOWN, "I2"}, {VK_DOWN, "G1"}, {VK_DOWN, "G2"},
        {VK_DOWN, "G2"}, {VK_UP, "G1"},   {VK_UP, "I2"},   {VK_UP, "I1"},   {VK_UP, "I0"},
        {VK_UP, "G0"},   {VK_UP, "G0"},   {VK_END, "I2"},  {VK_HOME, "I0"}};
    for (const auto& [Key, Expected] : Steps) {
        Host.Key(Key);
        EXPECT_EQ(Focus(), Expected) << "after key " << Key;
    }
    // The arrows stayed with the bar instead of moving to the next control.
    EXPECT_TRUE(Bar->Focused());
    EXPECT_TRUE(Log.empty());
}

TEST_F(KeyboardTest, AHorizontalBarWalksWithLeftAndRight) {
    Make(2, baHorizontal);
    Host.Key(VK_TAB);
    Host.Key(VK_DOWN); // the wrong axis does nothing
    EXPECT_EQ(Focus(), "G0");
    Host.Key(VK_RIGHT);
    Host.Key(VK_RIGHT);
    Host.Key(VK_RIGHT);
    EXPECT_EQ(Focus(), "G1");
    Host.Key(VK_LEFT);
    EXPECT_EQ(Focus(), "I1");
}

TEST_F(KeyboardTest, TheFocusRectangleShowsOnlyWhileFocusedAndAfterKeyboardUse) {
    Make(3);
    const TRect Caption = Group(0)->GetCaptionRect();
    const TColor Face = ColorToRGB(clBtnFace);
    EXPECT_FALSE(CueOn(Caption, Face));
    Host.Key(VK_TAB);
    Host.RunUntilIdle();
    EXPECT_TRUE(CueOn(Caption, Face));
    // A click focuses what it lands on, without a cue until the next key.
    Host.Click(Bar->ClientToScreen(Point(100, 290)).X, Bar->ClientToScreen(Point(100, 290)).Y);
    Host.RunUntilIdle();
    EXPECT_EQ(Focus(), "G2");
    EXPECT_FALSE(CueOn(Group(2)->GetCaptionRect(), Face));
    Host.Key(VK_UP);
    Host.RunUntilIdle();
    EXPECT_EQ(Focus(), "G1");
    EXPECT_TRUE(CueOn(Group(1)->GetCaptionRect(), Face));
    // Focus elsewhere takes the cue away.
    Edit->SetFocus();
    Host.RunUntilIdle();
    EXPECT_FALSE(CueOn(Group(1)->GetCaptionRect(), Face));
}

TEST_F(KeyboardTest, EnterAndSpaceActAsAClickWithTheVetoHonoured) {
    Make(2);
    bool Allow = false;
    int Asked = 0;
    Bar->OnGroupCanClick = [&](TObject*, TFolioGroup*, bool& A) {
        ++Asked;
        A = Allow;
    };
    Host.Key(VK_TAB);
    Host.Key(VK_DOWN);
    Host.Key(VK_DOWN);
    Host.Key(VK_DOWN);
    ASSERT_EQ(Focus(), "G1");
    Host.Key(VK_RETURN);
    EXPECT_EQ(Asked, 1);
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_TRUE(Log.empty());
    Allow = true;
    Host.Key(VK_SPACE);
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    EXPECT_EQ(Log, (std::vector<String>{"G1"}));
    // The caption keeps the keyboard; the next item down is the new group's.
    Host.Key(VK_DOWN);
    EXPECT_EQ(Focus(), "I0");
    EXPECT_EQ(Bar->GetFocusedItem(), Item(1, 0));
    Host.Key(VK_RETURN);
    EXPECT_EQ(Log, (std::vector<String>{"G1", "click I0"}));
}

TEST_F(KeyboardTest, CtrlDownMovesTheFocusedItemAndScrollsItIntoView) {
    Make(6);
    Host.Key(VK_TAB);
    Host.Key(VK_DOWN);
    Host.Key(VK_DOWN);
    ASSERT_EQ(Focus(), "I1");
    Host.Key(VK_DOWN, TShiftState{ssCtrl});
    auto Order = [&] {
        String S;
        for (int I = 0; I < Group(0)->GetItems()->GetCount(); ++I) S += Item(0, I)->GetCaption();
        return S;
    };
    EXPECT_EQ(Order(), "I0I2I1I3I4I5");
    EXPECT_EQ(Focus(), "I1");
    // Down to the last place: the item stays in view all the way.
    for (int K = 0; K < 5; ++K) Host.Key(VK_DOWN, TShiftState{ssCtrl});
    EXPECT_EQ(Order(), "I0I2I3I4I5I1");
    const int Slots = Group(0)->GetVisibleItems();
    ASSERT_EQ(Slots, 3);
    EXPECT_EQ(Group(0)->GetStartItem(), 6 - Slots);
    Host.Key(VK_UP, TShiftState{ssCtrl});
    EXPECT_EQ(Order(), "I0I2I3I4I1I5");
    // No click came of it.
    EXPECT_TRUE(Log.empty());
}

TEST_F(KeyboardTest, PageDownScrollsByTheVisibleSlotsThroughTheButtonEvent) {
    Make(20);
    std::vector<int> Proposed;
    Bar->OnNextButtonClick = [&](TObject*, TFolioGroup*, int& Start) { Proposed.push_back(Start); };
    Host.Key(VK_TAB);
    Host.Key(VK_DOWN);
    const int Slots = Group(0)->GetVisibleItems();
    ASSERT_EQ(Slots, 3);
    Host.Key(VK_NEXT);
    EXPECT_EQ(Group(0)->GetStartItem(), Slots);
    EXPECT_EQ(Focus(), "I3");
    EXPECT_EQ(Proposed, (std::vector<int>{Slots}));
    Host.Key(VK_NEXT);
    Host.Key(VK_NEXT);
    EXPECT_EQ(Group(0)->GetStartItem(), 3 * Slots);
    Host.Key(VK_PRIOR);
    EXPECT_EQ(Group(0)->GetStartItem(), 2 * Slots);
    EXPECT_EQ(Focus(), "I6");
    // Down past the last visible slot scrolls by one.
    for (int K = 0; K < Slots; ++K) Host.Key(VK_DOWN);
    EXPECT_EQ(Focus(), "I9");
    EXPECT_EQ(Group(0)->GetStartItem(), 2 * Slots + 1);
}

TEST_F(KeyboardTest, F2RenamesTheFocusedCaptionOrItem) {
    Make(2);
    Host.Key(VK_TAB);
    Host.Key(VK_F2);
    ASSERT_TRUE(LI::Editing(*Bar));
    Host.Type("Mail");
    Host.Key(VK_RETURN);
    Host.RunUntilIdle();
    EXPECT_EQ(Group(0)->GetCaption(), "Mail");
    // The keyboard came back to the bar, still on the caption.
    EXPECT_TRUE(Bar->Focused());
    Host.Key(VK_DOWN);
    Host.Key(VK_F2);
    ASSERT_TRUE(LI::Editing(*Bar));
    Host.Type("Inbox");
    Host.Key(VK_RETURN);
    Host.RunUntilIdle();
    EXPECT_EQ(Item(0, 0)->GetCaption(), "Inbox");
    EXPECT_TRUE(Log.empty());
}

TEST_F(KeyboardTest, DeletingTheFocusedItemOrGroupLeavesTheKeyboardOnTheOpenCaption) {
    Make(3);
    Host.Key(VK_TAB);
    Host.Key(VK_DOWN);
    Item(0, 0)->Delete();
    EXPECT_EQ(Bar->GetFocusedItem(), nullptr);
    Host.Key(VK_DOWN);
    EXPECT_EQ(Focus(), "I1");
    Bar->SetFocusedGroup(Group(2));
    Group(2)->Delete();
    Host.Key(VK_DOWN);
    EXPECT_EQ(Focus(), "I1");
}
