#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct CheckControlsTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
    }

    template <class T>
    T* Add(TWinControl* Parent, int X, int Y, int W = 120, int H = 17) {
        auto* C = new T(Form.get());
        C->SetParent(Parent);
        C->SetBounds(X, Y, W, H);
        return C;
    }

    void Show() {
        Form->Show();
        Host.RunUntilIdle();
    }

    void ClickOn(TControl* C, int X = 6) {
        const TPoint P = C->ClientToScreen(Point(X, 8));
        Host.Click(P.X, P.Y);
    }

    // How many pixels of R on the form show Color.
    int CountColor(const TRect& R, TColor Color) {
        const TColor Want = ColorToRGB(Color);
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) N += Host.Pixel(Form.get(), X, Y) == Want;
        return N;
    }

    // Inside the mark's edge, on the form.
    TRect MarkOnForm(TButtonControl* C) {
        const TRect M = C->MarkRect();
        return Bounds(C->GetLeft() + M.Left + 2, C->GetTop() + M.Top + 2, M.Width() - 4,
                      M.Height() - 4);
    }
};

TEST_F(CheckControlsTest, ClicksAndTheSpaceBarWalkTheStates) {
    struct Case {
        bool AllowGrayed;
        TCheckBoxState Expected[4];
    };
    const Case Cases[] = {
        {false, {cbChecked, cbUnchecked, cbChecked, cbUnchecked}},
        {true, {cbChecked, cbGrayed, cbUnchecked, cbChecked}},
    };
    for (const Case& C : Cases) {
        auto* Box = Add<TCheckBox>(Form.get(), 10, 10);
        Box->SetCaption("&Wrap");
        Box->SetAllowGrayed(C.AllowGrayed);
        int Clicks = 0;
        Box->OnClick = [&](TObject*) { ++Clicks; };
        Show();
        // Two mouse clicks, then two presses of the space bar.
        ClickOn(Box);
        EXPECT_EQ(Box->GetState(), C.Expected[0]);
        ClickOn(Box, 60);
        EXPECT_EQ(Box->GetState(), C.Expected[1]);
        EXPECT_TRUE(Box->Focused());
        Host.Key(VK_SPACE);
        EXPECT_EQ(Box->GetState(), C.Expected[2]);
        Host.Key(VK_SPACE);
        EXPECT_EQ(Box->GetState(), C.Expected[3]);
        EXPECT_EQ(Clicks, 4);
        EXPECT_EQ(Box->GetChecked(), C.Expected[3] == cbChecked);
        delete Box;
    }
}

TEST_F(CheckControlsTest, TheProgramsChangesAndReleasesElsewhereFireNothing) {
    auto* Box = Add<TCheckBox>(Form.get(), 10, 10);
    int Clicks = 0;
    Box->OnClick = [&](TObject*) { ++Clicks; };
    Show();
    Box->SetChecked(true);
    Box->SetState(cbGrayed);
    EXPECT_EQ(Clicks, 0);
    // A press dragged off the box before its release changes nothing.
    Host.Drag(Box->ClientToScreen(Point(6, 8)), Box->ClientToScreen(Point(300, 200)));
    EXPECT_EQ(Box->GetState(), cbGrayed);
    EXPECT_EQ(Clicks, 0);
    // A disabled box ignores the mouse.
    Box->SetEnabled(false);
    ClickOn(Box);
    EXPECT_EQ(Box->GetState(), cbGrayed);
}

TEST_F(CheckControlsTest, TheMarkIsPaintedInTheSchemesColours) {
    auto* Box = Add<TCheckBox>(Form.get(), 10, 10);
    auto* Radio = Add<TRadioButton>(Form.get(), 10, 40);
    Show();
    const TRect BoxMark = MarkOnForm(Box), RadioMark = MarkOnForm(Radio);
    EXPECT_EQ(CountColor(BoxMark, clWindowText), 0);
    EXPECT_GT(CountColor(BoxMark, clWindow), 60);
    Box->SetChecked(true);
    Radio->SetChecked(true);
    Host.RunUntilIdle();
    EXPECT_GT(CountColor(BoxMark, clWindowText), 8);
    EXPECT_GT(CountColor(RadioMark, clWindowText), 8);
    // Grayed: face colour inside, the tick in grey.
    Box->SetState(cbGrayed);
    Host.RunUntilIdle();
    EXPECT_EQ(CountColor(BoxMark, clWindowText), 0);
    EXPECT_GT(CountColor(BoxMark, clGrayText), 8);
    EXPECT_EQ(CountColor(BoxMark, clWindow), 0);
    // The caption may sit on either side of the mark.
    Box->SetAlignment(taLeftJustify);
    EXPECT_EQ(Box->MarkRect().Right, Box->GetClientWidth());
    EXPECT_LT(Box->CaptionRect().Right, Box->MarkRect().Left);
}

TEST_F(CheckControlsTest, RadioButtonsUncheckTheirSiblingsOnly) {
    auto* Left = Add<TPanel>(Form.get(), 0, 0, 200, 100);
    auto* Right = Add<TPanel>(Form.get(), 200, 0, 200, 100);
    TRadioButton* A[3];
    for (int I = 0; I < 3; ++I) A[I] = Add<TRadioButton>(Left, 10, 10 + 25 * I);
    auto* Other = Add<TRadioButton>(Right, 10, 10);
    Other->SetChecked(true);
    Show();
    ClickOn(A[1]);
    EXPECT_TRUE(A[1]->GetChecked());
    EXPECT_TRUE(Other->GetChecked());
    A[2]->SetChecked(true);
    EXPECT_FALSE(A[1]->GetChecked());
    EXPECT_FALSE(A[0]->GetChecked());
    // Only the checked one of a group is a tab stop.
    EXPECT_TRUE(A[2]->GetTabStop());
    EXPECT_FALSE(A[0]->GetTabStop());
    EXPECT_FALSE(A[1]->GetTabStop());
    // Clicking the checked one keeps it checked.
    ClickOn(A[2]);
    EXPECT_TRUE(A[2]->GetChecked());
}

TEST_F(CheckControlsTest, ArrowsMoveTheCheckThroughTheGroupAndWrap) {
    TRadioButton* A[3];
    for (int I = 0; I < 3; ++I) A[I] = Add<TRadioButton>(Form.get(), 10, 10 + 25 * I);
    A[1]->SetEnabled(false);
    int Changes = 0;
    A[2]->OnChange = [&](TObject*) { ++Changes; };
    Show();
    ClickOn(A[0]);
    // The disabled button is passed over; the arrows wrap at both ends.
    const std::pair<unsigned short, int> Steps[] = {
        {VK_DOWN, 2}, {VK_DOWN, 0}, {VK_UP, 2}, {VK_LEFT, 0}, {VK_RIGHT, 2}};
    for (auto [Key, Expected] : Steps) {
        Host.Key(Key);
        for (int I = 0; I < 3; ++I) EXPECT_EQ(A[I]->GetChecked(), I == Expected) << Key << " " << I;
        EXPECT_TRUE(A[Expected]->Focused());
    }
    EXPECT_EQ(Changes, 5);
}

TEST_F(CheckControlsTest, ARadioGroupMakesButtonsFromItsItemsInColumns) {
    auto* Group = Add<TRadioGroup>(Form.get(), 10, 10, 300, 120);
    Group->SetCaption("Size");
    Group->GetItems()->SetText("Small\nMedium\nLarge\nHuge\nGiant\n");
    Group->SetColumns(2);
    int Clicks = 0;
    Group->OnClick = [&](TObject*) { ++Clicks; };
    Show();
    ASSERT_EQ(Group->ButtonCount(), 5);
    // Three rows: the fourth item heads the second column.
    EXPECT_EQ(Group->GetButton(3)->GetTop(), Group->GetButton(0)->GetTop());
    EXPECT_GT(Group->GetButton(3)->GetLeft(), Group->GetButton(2)->GetLeft());
    EXPECT_EQ(Group->GetButton(4)->GetCaption(), "Giant");
    ClickOn(Group->GetButton(3));
    EXPECT_EQ(Group->GetItemIndex(), 3);
    EXPECT_EQ(Clicks, 1);
    Host.Key(VK_DOWN);
    EXPECT_EQ(Group->GetItemIndex(), 4);
    EXPECT_EQ(Clicks, 2);
    // The program's index is kept to the items and checks the button.
    const std::pair<int, int> Indices[] = {{1, 1}, {9, 4}, {-7, -1}};
    for (auto [Set, Expected] : Indices) {
        Group->SetItemIndex(Set);
        EXPECT_EQ(Group->GetItemIndex(), Expected);
        for (int I = 0; I < 5; ++I) EXPECT_EQ(Group->GetButton(I)->GetChecked(), I == Expected);
    }
    Group->SetItemIndex(4);
    Group->GetItems()->Delete(4);
    EXPECT_EQ(Group->ButtonCount(), 4);
    EXPECT_EQ(Group->GetItemIndex(), 3);
    EXPECT_EQ(Clicks, 2);
}

TEST_F(CheckControlsTest, TheAccessibilityTreeHearsRolesAndCheckStates) {
    auto* Box = Add<TCheckBox>(Form.get(), 10, 10);
    Box->SetCaption("Wrap");
    Box->SetAllowGrayed(true);
    auto* Group = Add<TRadioGroup>(Form.get(), 10, 40, 200, 80);
    Group->GetItems()->SetText("One\nTwo\n");
    Group->SetItemIndex(1);
    Show();
    auto Node = GetAccessible(Box);
    EXPECT_EQ(Node->GetRole(), TAccRole::CheckBox);
    EXPECT_EQ(Node->GetName(), "Wrap");
    EXPECT_EQ(Node->GetStates() & (asChecked | asIndeterminate | asCheckable), asCheckable);
    EXPECT_TRUE(Node->DoAction("press"));
    EXPECT_TRUE(GetAccessible(Box)->GetStates() & asChecked);
    Box->SetState(cbGrayed);
    EXPECT_TRUE(GetAccessible(Box)->GetStates() & asIndeterminate);
    auto GroupNode = GetAccessible(Group);
    EXPECT_EQ(GroupNode->GetRole(), TAccRole::Grouping);
    ASSERT_EQ(GroupNode->GetChildCount(), 2);
    auto Second = GroupNode->GetChild(1);
    EXPECT_EQ(Second->GetRole(), TAccRole::RadioButton);
    EXPECT_EQ(Second->GetName(), "Two");
    EXPECT_TRUE(Second->GetStates() & asChecked);
    EXPECT_TRUE(GroupNode->GetChild(0)->DoAction("press"));
    EXPECT_EQ(Group->GetItemIndex(), 0);
}

} // namespace
