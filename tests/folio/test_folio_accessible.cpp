#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

// A form laid out as the gallery's: a bar of three groups (the first with
// more items than it shows) that the application makes a tab stop, a
// label, an edit box and a button.
struct AccessibleTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;
    TButton* Button = nullptr;
    int Pressed = 0;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetCaption("Gallery");
        Form->SetBounds(0, 0, 400, 400);
        Bar = new TFolio(Form.get());
        Bar->SetName("Shortcuts");
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(10, 10, 150, 300);
        Bar->SetParent(Form.get());
        Bar->SetTabStop(true);
        TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
        Mail->SetHint("Your mail");
        for (int I = 0; I < 30; ++I) Mail->GetItems()->Add("Folder " + IntToStr(I), -1);
        Mail->GetItems()->GetItem(1)->SetHint("Sent mail");
        Bar->GetGroups()->Add("Places")->GetItems()->Add("Home", -1);
        Bar->GetGroups()->Add("Tools");
        auto* Label = new TLabel(Form.get());
        Label->SetCaption("Search");
        Label->SetBounds(200, 10, 80, 20);
        Label->SetParent(Form.get());
        auto* Edit = new TEdit(Form.get());
        Edit->SetHint("Search text");
        Edit->SetText("report");
        Edit->SetBounds(200, 40, 100, 24);
        Edit->SetParent(Form.get());
        Button = new TButton(Form.get());
        Button->SetCaption("Go");
        Button->SetBounds(200, 80, 80, 30);
        Button->SetParent(Form.get());
        Button->OnClick = [this](TObject*) { ++Pressed; };
        Form->Show();
        // The keyboard starts on the form itself, from where the tests take
        // it to the bar.
        Form->FocusControl(nullptr);
        Host.RunUntilIdle();
    }
    void TearDown() override { Form.reset(); }
    static std::unique_ptr<TAccessible> Find(const TAccessible& Node, TAccRole Role) {
        for (int I = 0; I < Node.GetChildCount(); ++I) {
            auto Child = Node.GetChild(I);
            if (Child->GetRole() == Role) return Child;
            if (auto Deeper = Find(*Child, Role)) return Deeper;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(AccessibleTest, TheFormsTreeNamesTheBarsGroupsAndItemsWithTheirRolesAndStates) {
    const auto Root = GetAccessible(Form.get());
    ASSERT_TRUE(Root);
    EXPECT_EQ(Root->GetRole(), TAccRole::Window);
    EXPECT_EQ(Root->GetName(), "Gallery");
    const String Tree = DescribeAccessibleTree(*Root, 3);
    // The text picture (three children a node at most) reads as the form.
    for (const char* Line :
         {"window \"Gallery\" [focused]\n  page tab list \"Shortcuts\" [focusable]\n",
          "    page tab \"Mail\" [selectable selected expandable expanded]\n"
          "      list item \"Folder 0\" [selectable]\n",
          "      (27 more)\n    page tab \"Places\" [selectable expandable]\n"})
        EXPECT_NE(Tree.find(Line), String::npos) << Line << "\nin\n" << Tree;
    const auto BarNode = Find(*Root, TAccRole::PageTabList);
    ASSERT_TRUE(BarNode);
    EXPECT_EQ(BarNode->GetName(), "Shortcuts");
    ASSERT_EQ(BarNode->GetChildCount(), 3);
    const auto MailTab = BarNode->GetChild(0);
    EXPECT_EQ(MailTab->GetName(), "Mail");
    EXPECT_EQ(MailTab->GetDescription(), "Your mail");
    EXPECT_EQ(MailTab->GetStates(),
              unsigned(asSelectable | asSelected | asExpandable | asExpanded));
    EXPECT_EQ(BarNode->GetChild(1)->GetStates(), unsigned(asSelectable | asExpandable));
    EXPECT_EQ(BarNode->GetChild(1)->GetChildCount(), 0); // a closed group shows no items
    ASSERT_EQ(MailTab->GetChildCount(), 30);
    const auto Sent = MailTab->GetChild(1);
    EXPECT_EQ(Sent->GetRole(), TAccRole::ListItem);
    EXPECT_EQ(Sent->GetName(), "Folder 1");
    EXPECT_EQ(Sent->GetDescription(), "Sent mail");
    // Bounds on the screen are the item's and caption's places.
    const TRect ItemRect = Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(1)->GetClientRect();
    EXPECT_EQ(Sent->GetBounds().Left, Bar->ClientToScreen(Point(ItemRect.Left, 0)).X);
    EXPECT_EQ(Sent->GetBounds().Height(), ItemRect.Height());
    // An item scrolled out of the group is there, off the screen.
    const auto Last = MailTab->GetChild(29);
    EXPECT_TRUE(Last->GetStates() & asOffscreen);
    EXPECT_TRUE(Last->GetBounds().IsEmpty());
    EXPECT_FALSE(Sent->GetStates() & asOffscreen);

    // The other controls.
    const auto Edit = Find(*Root, TAccRole::Text);
    ASSERT_TRUE(Edit);
    EXPECT_EQ(Edit->GetName(), "Search text");
    EXPECT_EQ(Edit->GetValue(), "report");
    EXPECT_EQ(Find(*Root, TAccRole::StaticText)->GetName(), "Search");
    EXPECT_EQ(Find(*Root, TAccRole::PushButton)->GetName(), "Go");
}

TEST_F(AccessibleTest, FocusAndActionsFollowTheBarAndHonourTheVeto) {
    const auto Root = GetAccessible(Form.get());
    auto BarNode = Find(*Root, TAccRole::PageTabList);
    // Tab to the bar, then an arrow key: the keyboard's item is focused.
    Host.Key(VK_TAB);
    Host.Key(VK_DOWN);
    ASSERT_TRUE(Bar->Focused());
    EXPECT_TRUE(BarNode->GetStates() & asFocused);
    const TFolioItem* Focused = Bar->GetFocusedItem();
    ASSERT_NE(Focused, nullptr);
    EXPECT_TRUE(BarNode->GetChild(0)->GetChild(Focused->GetIndex())->GetStates() & asFocused);

    // Expanding a tab opens its group, through OnGroupCanClick's veto.
    bool Allow = false;
    Bar->OnGroupCanClick = [&](TObject*, TFolioGroup*, bool& A) { A = Allow; };
    EXPECT_FALSE(BarNode->GetChild(1)->DoAction("expand"));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    Allow = true;
    EXPECT_TRUE(BarNode->GetChild(1)->DoAction("expand"));
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    EXPECT_TRUE(BarNode->GetChild(1)->GetStates() & asExpanded);
    EXPECT_EQ(BarNode->GetChild(1)->GetChild(0)->GetName(), "Home");
    EXPECT_FALSE(BarNode->GetChild(1)->DoAction("rename"));

    // Pressing an item is its click; pressing the button clicks it.
    TFolioItem* Clicked = nullptr;
    Bar->OnItemClick = [&](TObject*, TFolioItem* I) { Clicked = I; };
    EXPECT_TRUE(BarNode->GetChild(1)->GetChild(0)->DoAction("press"));
    EXPECT_EQ(Clicked, Bar->GetGroups()->GetGroup(1)->GetItems()->GetItem(0));
    EXPECT_TRUE(Find(*Root, TAccRole::PushButton)->DoAction("press"));
    EXPECT_EQ(Pressed, 1);
    // A disabled bar or button refuses.
    Bar->SetEnabled(false);
    Button->SetEnabled(false);
    EXPECT_FALSE(BarNode->GetChild(0)->DoAction("press"));
    EXPECT_TRUE(BarNode->GetStates() & asDisabled);
    EXPECT_FALSE(Find(*Root, TAccRole::PushButton)->DoAction("press"));
    EXPECT_EQ(Pressed, 1);
}

TEST_F(AccessibleTest, ChangesOfTheBarAreToldToTheListener) {
    struct THeard {
        const void* Key;
        TAccEvent Event;
        bool operator==(const THeard&) const = default;
    };
    std::vector<THeard> Heard;
    SetAccessibleEventListener([&](TControl* Control, const void* Key, TAccEvent Event) {
        if (Control == Bar) Heard.push_back({Key, Event});
    });
    TFolioGroups* Groups = Bar->GetGroups();
    TFolioGroup* Mail = Groups->GetGroup(0);
    TFolioGroup* Places = Groups->GetGroup(1);
    TFolioItem* Home = Places->GetItems()->GetItem(0);
    const struct {
        const char* What;
        std::function<void()> Change;
        std::vector<THeard> Expected;
    } Rows[] = {
        {"item renamed",
         [&] { Mail->GetItems()->GetItem(2)->SetCaption("Renamed"); },
         {{Mail->GetItems()->GetItem(2), TAccEvent::NameChanged}}},
        {"same caption again", [&] { Mail->GetItems()->GetItem(2)->SetCaption("Renamed"); }, {}},
        {"group renamed", [&] { Places->SetCaption("Sites"); }, {{Places, TAccEvent::NameChanged}}},
        {"item added",
         [&] { Mail->GetItems()->Add("New", -1); },
         {{Mail, TAccEvent::ChildrenChanged}}},
        {"item inserted",
         [&] { Places->GetItems()->Insert(0, "First", -1); },
         {{Places, TAccEvent::ChildrenChanged}}},
        {"item deleted",
         [&] { delete Mail->GetItems()->GetItem(0); },
         {{Mail, TAccEvent::ChildrenChanged}}},
        {"item moved to another group",
         [&] { Home->MoveTo(Mail->GetItems()->GetItem(0), true); },
         {{Places, TAccEvent::ChildrenChanged}, {Mail, TAccEvent::ChildrenChanged}}},
        {"group opened",
         [&] { Bar->SetVisibleGroup(1); },
         {{Mail, TAccEvent::StateChanged},
          {Mail, TAccEvent::ChildrenChanged},
          {Places, TAccEvent::StateChanged},
          {Places, TAccEvent::ChildrenChanged}}},
    };
    for (const auto& Row : Rows) {
        Heard.clear();
        Row.Change();
        EXPECT_EQ(Heard, Row.Expected) << Row.What;
    }
    // Without a listener nothing is told.
    SetAccessibleEventListener(nullptr);
    Heard.clear();
    Places->SetCaption("Places");
    EXPECT_TRUE(Heard.empty());
}

// The keyboard's cue inside the bar is told as focus: the caption or item
// it leaves loses it and the one it reaches gains it, while the bar has the
// keyboard; the cue loses it with the bar.
TEST_F(AccessibleTest, TheKeyboardsCueInsideTheBarIsToldAsFocus) {
    struct THeard {
        const void* Key;
        TAccEvent Event;
        bool operator==(const THeard&) const = default;
    };
    std::vector<THeard> Heard;
    SetAccessibleEventListener([&](TControl* Control, const void* Key, TAccEvent Event) {
        const bool Focus = Event == TAccEvent::FocusGained || Event == TAccEvent::FocusLost;
        if (Control == Bar && Key != Bar && Focus) Heard.push_back({Key, Event});
    });
    TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
    TFolioGroup* Places = Bar->GetGroups()->GetGroup(1);
    TFolioItem* First = Mail->GetItems()->GetItem(0);
    TFolioItem* Second = Mail->GetItems()->GetItem(1);
    // Unfocused, the cue moves in silence.
    Bar->SetFocusedItem(Second);
    EXPECT_TRUE(Heard.empty());
    Bar->SetFocusedGroup(Mail);
    Host.Key(VK_TAB);
    ASSERT_TRUE(Bar->Focused());
    const struct {
        const char* What;
        std::function<void()> Move;
        std::vector<THeard> Expected;
    } Rows[] = {
        {"down to the first item",
         [&] { Host.Key(VK_DOWN); },
         {{Mail, TAccEvent::FocusLost}, {First, TAccEvent::FocusGained}}},
        {"down to the next",
         [&] { Host.Key(VK_DOWN); },
         {{First, TAccEvent::FocusLost}, {Second, TAccEvent::FocusGained}}},
        {"the program moves it to a caption",
         [&] { Bar->SetFocusedGroup(Places); },
         {{Second, TAccEvent::FocusLost}, {Places, TAccEvent::FocusGained}}},
        {"the same caption again", [&] { Bar->SetFocusedGroup(Places); }, {}},
        {"the keyboard leaves the bar",
         [&] { Host.Key(VK_TAB); },
         {{Places, TAccEvent::FocusLost}}},
    };
    for (const auto& Row : Rows) {
        Heard.clear();
        Row.Move();
        EXPECT_EQ(Heard, Row.Expected) << Row.What;
    }
    SetAccessibleEventListener(nullptr);
}
