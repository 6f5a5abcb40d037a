#include "PropertyRoundTrip.h"

#include "framework/core/FormFiles.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/PopupList.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ComboTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TComboBox* Combo = nullptr;
    TButton* Button = nullptr;
    std::vector<int> Changes; // ItemIndex at each OnChange
    int ButtonClicks = 0;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 100, 300, 250);
        Combo = new TComboBox(Form.get());
        Combo->SetParent(Form.get());
        Combo->SetStyle(csDropDownList);
        Combo->SetBounds(10, 10, 120, 0);
        for (const char* S : {"Apple", "Banana", "Cherry", "Blueberry", "Date"})
            Combo->GetItems()->Add(S);
        Combo->SetItemIndex(0);
        Combo->OnChange = [this](TObject*) { Changes.push_back(Combo->GetItemIndex()); };
        Button = new TButton(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(200, 150, 75, 25);
        Button->OnClick = [this](TObject*) { ++ButtonClicks; };
        Form->Show();
        Combo->SetFocus();
        Host.RunUntilIdle();
    }

    TPoint ComboCentre() { return Combo->ClientToScreen(Point(40, 8)); }
    TListBox* List() {
        TPopupList* P = Combo->GetPopupList();
        return P ? P->GetList() : nullptr;
    }
    // The screen point in the middle of item I of the open list.
    TPoint ItemPoint(int I) {
        const TRect R = List()->ItemRect(I);
        return List()->ClientToScreen(Point(R.Left + 10, (R.Top + R.Bottom) / 2));
    }
    int Highlight() { return List()->GetItemIndex(); }
};

TEST_F(ComboTest, AClickOpensAPopupWindowBelowTheBoxAndAClickOnAnItemChoosesIt) {
    Host.Click(ComboCentre().X, ComboCentre().Y);
    ASSERT_TRUE(Combo->GetDroppedDown());
    TPopupList* Popup = Combo->GetPopupList();
    // Its own top-level window, in screen coordinates, just below the box.
    EXPECT_EQ(Popup->GetParent(), nullptr);
    EXPECT_TRUE(Popup->HandleAllocated());
    const TPoint BoxBottomLeft = Combo->ClientToScreen(Point(0, Combo->GetClientHeight()));
    EXPECT_EQ(Popup->GetTop(), BoxBottomLeft.Y + Combo->GetBorderWidth());
    EXPECT_EQ(Popup->GetWidth(), Combo->GetWidth());
    EXPECT_EQ(Highlight(), 0);
    Host.Click(ItemPoint(2).X, ItemPoint(2).Y);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 2);
    EXPECT_EQ(Combo->GetText(), "Cherry");
    EXPECT_EQ(Changes, std::vector<int>{2});
}

TEST_F(ComboTest, TheOpenListFollowsArrowsAndLettersEnterChoosesEscapeKeeps) {
    Host.Key(VK_DOWN, {ssAlt});
    ASSERT_TRUE(Combo->GetDroppedDown());
    Host.Key(VK_DOWN);
    Host.Key(VK_DOWN);
    EXPECT_EQ(Highlight(), 2);
    EXPECT_EQ(Combo->GetItemIndex(), 0);
    Host.Key(VK_RETURN);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 2);
    Host.Key(VK_F4);
    ASSERT_TRUE(Combo->GetDroppedDown());
    // Letters find the next item starting with them, wrapping round.
    Host.Type("b");
    EXPECT_EQ(Highlight(), 3);
    Host.Type("b");
    EXPECT_EQ(Highlight(), 1);
    Host.Key(VK_END);
    EXPECT_EQ(Highlight(), 4);
    Host.Key(VK_HOME);
    EXPECT_EQ(Highlight(), 0);
    Host.Key(VK_ESCAPE);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 2);
    EXPECT_EQ(Changes, std::vector<int>{2});
}

TEST_F(ComboTest, APressOutsideClosesTheListWithoutChoosingAndGoesNoFurther) {
    Host.Click(ComboCentre().X, ComboCentre().Y);
    Host.MoveTo(ItemPoint(3));
    EXPECT_EQ(Highlight(), 3);
    const TPoint B = Button->ClientToScreen(Point(10, 10));
    Host.Click(B.X, B.Y);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetItemIndex(), 0);
    EXPECT_EQ(ButtonClicks, 0);
    EXPECT_TRUE(Changes.empty());
    // A press on the box itself closes the list too, without opening it again.
    Host.Click(ComboCentre().X, ComboCentre().Y);
    ASSERT_TRUE(Combo->GetDroppedDown());
    Host.Click(ComboCentre().X, ComboCentre().Y);
    EXPECT_FALSE(Combo->GetDroppedDown());
    // The next click goes where it lands again.
    Host.Click(B.X, B.Y);
    EXPECT_EQ(ButtonClicks, 1);
}

TEST_F(ComboTest, APressCanDragIntoTheListAndReleaseOnAnItem) {
    Host.MoveTo(ComboCentre());
    Host.Press();
    ASSERT_TRUE(Combo->GetDroppedDown());
    Host.MoveTo(ItemPoint(4));
    EXPECT_EQ(Highlight(), 4);
    Host.Release();
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Changes, std::vector<int>{4});
}

TEST_F(ComboTest, KeysOnTheClosedBoxChangeTheChoiceOncePerRealChange) {
    struct Step {
        unsigned short Key;
        int Index;
    };
    const Step Steps[] = {{VK_DOWN, 1}, {VK_DOWN, 2}, {VK_UP, 1},   {VK_HOME, 0},
                          {VK_UP, 0},   {VK_END, 4},  {VK_DOWN, 4}, {VK_PRIOR, 0}};
    for (const Step& S : Steps) {
        Host.Key(S.Key);
        EXPECT_EQ(Combo->GetItemIndex(), S.Index) << S.Key;
    }
    EXPECT_EQ(Changes, (std::vector<int>{1, 2, 1, 0, 4, 0}));
    Changes.clear();
    Host.Type("c");
    Host.Type("b");
    Host.Type("b");
    Host.Type("z");
    EXPECT_EQ(Changes, (std::vector<int>{2, 3, 1}));
}

TEST_F(ComboTest, TheProgramsChangesFireNothing) {
    Combo->SetItemIndex(3);
    Combo->SetText("Date");
    EXPECT_EQ(Combo->GetItemIndex(), 4);
    Combo->SetItemIndex(99);
    EXPECT_EQ(Combo->GetItemIndex(), -1);
    EXPECT_EQ(Combo->GetText(), "");
    Combo->GetItems()->Delete(0);
    EXPECT_TRUE(Changes.empty());
}

TEST_F(ComboTest, ALongListScrollsAndKeepsTheHighlightInView) {
    for (int I = 0; I < 20; ++I) Combo->GetItems()->Add("Item " + std::to_string(I));
    Combo->SetDropDownCount(5);
    Host.Key(VK_F4);
    TListBox* L = List();
    ASSERT_TRUE(L);
    EXPECT_EQ(L->VisibleRows(), 5);
    EXPECT_TRUE(L->GetScrollBar()->GetVisible());
    Host.Key(VK_END);
    EXPECT_EQ(Highlight(), 24);
    EXPECT_EQ(L->GetTopIndex(), 20);
    Host.Wheel(WHEEL_DELTA);
    EXPECT_EQ(L->GetTopIndex(), 17);
    Host.Key(VK_RETURN);
    EXPECT_EQ(Combo->GetText(), "Item 19");
}

TEST_F(ComboTest, EscapeInAnOpenListOfAModalFormClosesOnlyTheList) {
    TForm Dialog(nullptr);
    Dialog.SetBounds(300, 300, 200, 150);
    auto* DialogCombo = new TComboBox(&Dialog);
    DialogCombo->SetParent(&Dialog);
    DialogCombo->SetStyle(csDropDownList);
    DialogCombo->GetItems()->SetText("One\nTwo\n");
    auto* Cancel = new TButton(&Dialog);
    Cancel->SetParent(&Dialog);
    Cancel->SetTop(80);
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    bool StillShownAfterFirstEscape = false;
    Host.Defer([&] {
        DialogCombo->SetFocus();
        Host.Key(VK_DOWN, {ssAlt});
        EXPECT_TRUE(DialogCombo->GetDroppedDown());
        Host.Key(VK_ESCAPE);
        StillShownAfterFirstEscape = Dialog.GetVisible() && !DialogCombo->GetDroppedDown();
        // The list of a modal form takes clicks like the form itself.
        const TPoint Box = DialogCombo->ClientToScreen(Point(20, 8));
        Host.Click(Box.X, Box.Y);
        ASSERT_TRUE(DialogCombo->GetDroppedDown());
        const TListBox* List = DialogCombo->GetPopupList()->GetList();
        const TRect Second = List->ItemRect(1);
        const TPoint P = List->ClientToScreen(Point(10, (Second.Top + Second.Bottom) / 2));
        Host.Click(P.X, P.Y);
        EXPECT_FALSE(DialogCombo->GetDroppedDown());
        EXPECT_EQ(DialogCombo->GetText(), "Two");
        Host.Key(VK_ESCAPE);
    });
    EXPECT_EQ(Dialog.ShowModal(), mrCancel);
    EXPECT_TRUE(StillShownAfterFirstEscape);
}

TEST_F(ComboTest, TheListClosesWhenTheBoxIsHiddenOrAnotherFormIsActivated) {
    Host.Key(VK_F4);
    Combo->SetVisible(false);
    EXPECT_FALSE(Combo->GetDroppedDown());
    Combo->SetVisible(true);
    Combo->SetDroppedDown(true);
    TForm Other(nullptr);
    Other.SetBounds(500, 100, 100, 100);
    Other.Show();
    EXPECT_FALSE(Combo->GetDroppedDown());
}

TEST_F(ComboTest, TheEditStyleTakesTypedTextAndItsArrowsPickItems) {
    Combo->SetStyle(csDropDown);
    Combo->SetFocus();
    Host.RunUntilIdle();
    Host.Type("Kiwi");
    EXPECT_EQ(Combo->GetText(), "Kiwi");
    EXPECT_EQ(Combo->GetItemIndex(), -1);
    EXPECT_EQ(Changes.size(), 4u);
    Host.Key(VK_DOWN);
    EXPECT_EQ(Combo->GetText(), "Apple");
    EXPECT_EQ(Combo->GetItemIndex(), 0);
    EXPECT_EQ(Changes.size(), 5u);
    Host.Key(VK_DOWN, {ssAlt});
    EXPECT_TRUE(Combo->GetDroppedDown());
    Host.Key(VK_DOWN);
    Host.Key(VK_RETURN);
    EXPECT_EQ(Combo->GetText(), "Banana");
}

TEST_F(ComboTest, PublishedPropertiesSurviveACopyThroughTheTable) {
    Combo->SetDropDownCount(12);
    Combo->SetItemIndex(3);
    TComboBox Copy(nullptr);
    proptest::CopyPublished(*Combo, Copy);
    proptest::ExpectSamePublished(*Combo, Copy);
    EXPECT_EQ(Copy.GetItems()->GetCount(), 5);
    EXPECT_EQ(Copy.GetItemIndex(), 3);
    EXPECT_EQ(Copy.GetStyle(), csDropDownList);
}

// A form written by hand may give a list's items as lines of text; the
// writer writes every list one way, as a list of its strings.
TEST(ComboBoxForm, ItemsReadFromTextLinesAndAreWrittenAsStrings) {
    TForm Form(nullptr);
    const String Source = "object Dialog: TForm\n"
                          "  object Style: TComboBox\n"
                          "    Style = csDropDownList\n"
                          "    Items.Text = 'Single color'#10'Picture'#13#10'Gradient'\n"
                          "    ItemIndex = 2\n"
                          "  end\n"
                          "end\n";
    TMemoryStream Text;
    Text.Write(Source.data(), static_cast<std::int64_t>(Source.size()));
    Text.SetPosition(0);
    ReadComponent(Text, &Form);
    auto* Combo = dynamic_cast<TComboBox*>(Form.FindComponent("Style"));
    ASSERT_NE(Combo, nullptr);
    EXPECT_EQ(Combo->GetItems()->Items(),
              (std::vector<String>{"Single color", "Picture", "Gradient"}));
    EXPECT_EQ(Combo->GetText(), "Gradient");

    TMemoryStream Out;
    WriteComponent(Out, &Form, nullptr, feText);
    const String Written(static_cast<const char*>(Out.Memory()), Out.GetSize());
    EXPECT_NE(Written.find("Items.Strings = ("), String::npos) << Written;
    EXPECT_EQ(Written.find("Items.Text"), String::npos) << Written;
}

TEST(PlacePopup, OpensBelowOrAboveAndStaysOnTheScreen) {
    struct Case {
        TRect Anchor;
        TSize Size;
        TRect Expected;
    };
    const TSize Screen{800, 600};
    const Case Cases[] = {
        {Rect(100, 100, 200, 121), {100, 80}, Rect(100, 121, 200, 201)},
        {Rect(100, 550, 200, 571), {100, 80}, Rect(100, 470, 200, 550)},
        {Rect(750, 100, 850, 121), {100, 80}, Rect(700, 121, 800, 201)},
        {Rect(-20, 100, 80, 121), {100, 80}, Rect(0, 121, 100, 201)},
    };
    for (const Case& C : Cases) EXPECT_EQ(PlacePopup(C.Anchor, C.Size, Screen), C.Expected);
}

} // namespace
