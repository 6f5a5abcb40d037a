#include "PropertyRoundTrip.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ButtonTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TButton* Ok = nullptr;
    TButton* Cancel = nullptr;
    TButton* Other = nullptr;
    TEdit* Edit = nullptr;
    std::vector<String> Clicks;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 100, 300, 200);
        Edit = new TEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(10, 10, 150, 25);
        Ok = AddButton("&OK", 10, 60);
        Ok->SetDefault(true);
        Ok->SetModalResult(mrOk);
        Cancel = AddButton("&Cancel", 90, 60);
        Cancel->SetCancel(true);
        Cancel->SetModalResult(mrCancel);
        Other = AddButton("&Apply", 170, 60);
    }

    TButton* AddButton(const String& Caption, int X, int Y) {
        auto* B = new TButton(Form.get());
        B->SetParent(Form.get());
        B->SetCaption(Caption);
        B->SetBounds(X, Y, 75, 25);
        B->OnClick = [this, Caption](TObject*) { Clicks.push_back(Caption); };
        return B;
    }

    // Shows the form modally and gives it Input from inside its loop.
    int RunModal(std::function<void()> Input) {
        Host.Defer([this, Input] {
            Edit->SetFocus();
            Host.RunUntilIdle();
            Input();
        });
        return Form->ShowModal();
    }

    TColor Px(const TControl* C, int X, int Y) {
        Host.RunUntilIdle();
        return Host.Pixel(Form.get(), C->GetLeft() + X, C->GetTop() + Y);
    }
};

TEST_F(ButtonTest, EnterAndEscapeCloseAModalFormWithTheirButtonsResults) {
    struct Case {
        unsigned short Key;
        TModalResult Result;
        const char* Clicked;
    };
    for (const Case& C : {Case{VK_RETURN, mrOk, "&OK"}, Case{VK_ESCAPE, mrCancel, "&Cancel"}}) {
        Clicks.clear();
        EXPECT_EQ(RunModal([&] { Host.Key(C.Key); }), C.Result);
        EXPECT_EQ(Clicks, std::vector<String>{C.Clicked});
        EXPECT_FALSE(Form->GetVisible());
        // The key went to the button, not into the focused edit box.
        EXPECT_EQ(Edit->GetText(), "");
    }
}

TEST_F(ButtonTest, EnterClicksTheFocusedButtonInsteadOfTheDefaultOne) {
    Form->Show();
    Other->SetFocus();
    Host.RunUntilIdle();
    EXPECT_TRUE(Other->IsActiveDefault());
    EXPECT_FALSE(Ok->IsActiveDefault());
    Host.Key(VK_RETURN);
    EXPECT_EQ(Clicks, std::vector<String>{"&Apply"});
    // Back in the edit box the default button takes Enter again.
    Edit->SetFocus();
    Host.RunUntilIdle();
    EXPECT_TRUE(Ok->IsActiveDefault());
    Host.Key(VK_RETURN);
    EXPECT_EQ(Clicks, (std::vector<String>{"&Apply", "&OK"}));
}

TEST_F(ButtonTest, EnterAndEscapeDoNothingWithoutAnEnabledButtonToTakeThem) {
    Form->Show();
    Ok->SetEnabled(false);
    Cancel->SetVisible(false);
    Edit->SetFocus();
    Host.Key(VK_RETURN);
    Host.Key(VK_ESCAPE);
    EXPECT_TRUE(Clicks.empty());
    EXPECT_EQ(Form->GetModalResult(), mrNone);
}

TEST_F(ButtonTest, AcceleratorsClickTheirButtonButTypedTextStaysInAnEdit) {
    Form->Show();
    Edit->SetFocus();
    Host.Key('A', {ssAlt});
    EXPECT_EQ(Clicks, std::vector<String>{"&Apply"});
    // Plain letters are text while the edit box has the focus...
    Host.Type("c");
    EXPECT_EQ(Edit->GetText(), "c");
    EXPECT_EQ(Clicks.size(), 1u);
    // ...and accelerators while a button has it.
    Other->SetFocus();
    Host.Type("c");
    EXPECT_EQ(Clicks, (std::vector<String>{"&Apply", "&Cancel"}));
    // A disabled button keeps still.
    Cancel->SetEnabled(false);
    Host.Key('C', {ssAlt});
    EXPECT_EQ(Clicks.size(), 2u);
}

// A form opens with the keyboard in the first control of its tab order
// that can take it, so that typing goes where the user sees it: into the
// edit box, or, with that disabled, to the first button, where a plain
// letter is an accelerator. A click on the disabled box moves nothing.
TEST_F(ButtonTest, AFormOpensWithTheKeyboardInItsFirstEnabledControl) {
    struct TCase {
        const char* Name;
        bool EditEnabled;
        const char* Focused;
        String Text;
        std::vector<String> Clicks;
    };
    const TCase Cases[] = {
        {"the edit box first", true, "edit", "Inbox", {}},
        {"the edit box disabled", false, "&OK", "", {"&OK"}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        SetUp();
        Clicks.clear();
        Edit->SetEnabled(C.EditEnabled);
        Form->Show();
        Host.RunUntilIdle();
        const TWinControl* Focus = FindControl(GetFocus());
        ASSERT_NE(Focus, nullptr);
        EXPECT_EQ(Focus == Edit ? String("edit") : Focus->GetText(), C.Focused);
        const TPoint OnEdit = Edit->ClientToScreen(Point(20, 10));
        Host.Click(OnEdit.X, OnEdit.Y);
        EXPECT_EQ(FindControl(GetFocus()), Focus);
        Host.Type("Inbox");
        EXPECT_EQ(Edit->GetText(), C.Text);
        EXPECT_EQ(Clicks, C.Clicks);
    }
}

TEST_F(ButtonTest, SpaceShowsThePressedLookAndClicksOnRelease) {
    Form->Show();
    Other->SetFocus();
    Host.KeyDown(VK_SPACE);
    EXPECT_TRUE(Other->IsPressed());
    EXPECT_TRUE(Clicks.empty());
    Host.KeyUp(VK_SPACE);
    EXPECT_FALSE(Other->IsPressed());
    EXPECT_EQ(Clicks, std::vector<String>{"&Apply"});
}

TEST_F(ButtonTest, AMouseClickCountsOnlyWhenReleasedOverTheButton) {
    Form->Show();
    const TPoint Centre = Other->ClientToScreen(Point(30, 12));
    Host.MoveTo(Centre);
    Host.Press();
    EXPECT_TRUE(Other->IsPressed());
    EXPECT_TRUE(Other->Focused());
    Host.MoveTo(Centre.X + 200, Centre.Y);
    EXPECT_FALSE(Other->IsPressed());
    Host.Release();
    EXPECT_TRUE(Clicks.empty());
    // Two quick clicks are two clicks.
    Host.Click(Centre.X, Centre.Y);
    Host.DoubleClick(Centre.X, Centre.Y);
    EXPECT_EQ(Clicks.size(), 3u);
}

TEST_F(ButtonTest, AClickThatOpensAModalFormShowsTheButtonReleased) {
    Form->Show();
    bool PressedDuringClick = true;
    Other->OnClick = [&](TObject*) { PressedDuringClick = Other->IsPressed(); };
    Host.Click(Other->ClientToScreen(Point(5, 5)).X, Other->ClientToScreen(Point(5, 5)).Y);
    EXPECT_FALSE(PressedDuringClick);
}

TEST_F(ButtonTest, EdgesShowRaisedPressedDefaultAndFocusedLooks) {
    Form->Show();
    Edit->SetFocus();
    const TColor Face = ColorToRGB(clBtnFace), Light = ColorToRGB(cl3DLight),
                 White = ColorToRGB(clBtnHighlight), Shadow = ColorToRGB(clBtnShadow),
                 Dark = ColorToRGB(cl3DDkShadow), Frame = ColorToRGB(clWindowFrame);
    // Raised: light outer and white inner lines on the top and left, black
    // outer and grey inner lines on the bottom and right.
    EXPECT_EQ(Px(Other, 0, 10), Light);
    EXPECT_EQ(Px(Other, 1, 10), White);
    EXPECT_EQ(Px(Other, 74, 10), Dark);
    EXPECT_EQ(Px(Other, 73, 10), Shadow);
    EXPECT_EQ(Px(Other, 10, 24), Dark);
    EXPECT_EQ(Px(Other, 2, 3), Face);
    // The default button wears a frame outside the same edges.
    EXPECT_EQ(Px(Ok, 0, 10), Frame);
    EXPECT_EQ(Px(Ok, 1, 10), Light);
    EXPECT_EQ(Px(Ok, 2, 10), White);
    // Pressed: the frame, then one flat shadow line all round.
    Host.MoveTo(Other->ClientToScreen(Point(60, 3)));
    Host.Press();
    EXPECT_EQ(Px(Other, 0, 10), Frame);
    EXPECT_EQ(Px(Other, 1, 10), Shadow);
    EXPECT_EQ(Px(Other, 73, 10), Shadow);
    EXPECT_EQ(Px(Other, 2, 10), Face);
    Host.Release();
    // Focused: a dotted rectangle four pixels inside, alternating with the face.
    EXPECT_TRUE(Other->Focused());
    int Dots = 0;
    for (int X = 4; X < 71; ++X) Dots += Px(Other, X, 4) != Face;
    EXPECT_GE(Dots, 30);
    EXPECT_LE(Dots, 35);
    Edit->SetFocus();
    for (int X = 4; X < 71; ++X) EXPECT_EQ(Px(Other, X, 4), Face) << X;
}

TEST_F(ButtonTest, PublishedPropertiesSurviveACopyThroughTheTable) {
    TButton Copy(nullptr);
    proptest::CopyPublished(*Ok, Copy);
    proptest::ExpectSamePublished(*Ok, Copy);
    EXPECT_TRUE(Copy.GetDefault());
    EXPECT_EQ(Copy.GetModalResult(), mrOk);
    EXPECT_EQ(Copy.GetCaption(), "&OK");
    TButton Cancelling(nullptr);
    proptest::CopyPublished(*Cancel, Cancelling);
    EXPECT_TRUE(Cancelling.GetCancel());
}

TEST_F(ButtonTest, AModalFormWithNothingLeftToDoFailsInsteadOfWaitingForever) {
    EXPECT_THROW(Form->ShowModal(), EInvalidOperation);
    EXPECT_FALSE(Form->GetVisible());
    EXPECT_FALSE(Form->IsModal());
}

} // namespace
