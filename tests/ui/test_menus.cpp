#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuBar.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace folio;

namespace {

TPoint Corner(TControl* C) {
    return Point(C->GetLeft(), C->GetTop());
}

struct MenuTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TPopupMenu* Menu = nullptr;
    TButton* Target = nullptr;
    std::vector<String> Chosen;

    TMenuItem* AddItem(TMenuItem* Parent, const String& Caption, bool Enabled = true) {
        auto* Item = new TMenuItem(Form.get());
        Item->SetCaption(Caption);
        Item->SetEnabled(Enabled);
        Item->OnClick = [this, Caption](TObject*) { Chosen.push_back(Caption); };
        Parent->Add(Item);
        return Item;
    }

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(100, 100, 300, 200);
        Menu = new TPopupMenu(Form.get());
        Menu->SetName("Verbs");
        AddItem(Menu->GetItems(), "&Edit groups...");
        AddItem(Menu->GetItems(), "-");
        AddItem(Menu->GetItems(), "&Disabled", false);
        TMenuItem* More = AddItem(Menu->GetItems(), "&More");
        AddItem(More, "&First");
        AddItem(More, "&Second");
        AddItem(Menu->GetItems(), "&About");
        Target = new TButton(Form.get());
        Target->SetParent(Form.get());
        Target->SetBounds(20, 20, 100, 40);
        Form->Show();
        Host.RunUntilIdle();
    }

    TMenuWindow* Window() { return Menu->GetWindow(); }
    TPoint ItemPoint(TMenuWindow* W, int I) {
        const TRect R = W->ItemRect(I);
        return W->ClientToScreen(Point(R.Left + 20, (R.Top + R.Bottom) / 2));
    }
};

TEST_F(MenuTest, KeysWalkPastSeparatorsAndNeverChooseThemOrDisabledItems) {
    Menu->Popup(150, 150);
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Window()->GetParent(), nullptr);
    EXPECT_EQ(Corner(Window()), Point(150, 150));
    Host.Key(VK_DOWN);
    EXPECT_EQ(Window()->GetHotIndex(), 0);
    // Down passes the separator; the disabled item takes the highlight but
    // Enter does nothing there.
    Host.Key(VK_DOWN);
    EXPECT_EQ(Window()->GetHotIndex(), 2);
    Host.Key(VK_RETURN);
    EXPECT_TRUE(Chosen.empty());
    ASSERT_NE(Window(), nullptr);
    // Up from the top wraps to the bottom.
    Host.Key(VK_HOME);
    Host.Key(VK_UP);
    EXPECT_EQ(Window()->GetHotIndex(), 4);
    Host.Key(VK_RETURN);
    EXPECT_EQ(Chosen, std::vector<String>{"&About"});
    EXPECT_EQ(Window(), nullptr);
    EXPECT_TRUE(TPopupWindow::OpenPopups().empty());
}

TEST_F(MenuTest, SubmenusOpenWithRightAndCloseWithLeftAccelerators) {
    Menu->Popup(150, 150);
    Host.Type("m");
    TMenuWindow* Sub = Window()->GetSubmenu();
    ASSERT_NE(Sub, nullptr);
    EXPECT_EQ(Sub->GetHotIndex(), 0);
    Host.Key(VK_LEFT);
    EXPECT_EQ(Window()->GetSubmenu(), nullptr);
    ASSERT_NE(Window(), nullptr);
    Host.Key(VK_RIGHT);
    ASSERT_NE(Window()->GetSubmenu(), nullptr);
    Host.Type("s");
    EXPECT_EQ(Chosen, std::vector<String>{"&Second"});
    EXPECT_TRUE(TPopupWindow::OpenPopups().empty());
    // A disabled item's accelerator chooses nothing.
    Menu->Popup(150, 150);
    Host.Type("d");
    EXPECT_EQ(Chosen.size(), 1u);
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(MenuTest, TheMouseChoosesItemsButNotSeparatorsAndAPressOutsideCloses) {
    Menu->Popup(150, 150);
    const TPoint Separator = ItemPoint(Window(), 1);
    Host.Click(Separator.X, Separator.Y);
    ASSERT_NE(Window(), nullptr);
    const TPoint Disabled = ItemPoint(Window(), 2);
    Host.Click(Disabled.X, Disabled.Y);
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(Chosen.empty());
    // Hovering an item with items opens them; a click there chooses.
    const TPoint More = ItemPoint(Window(), 3);
    Host.MoveTo(More);
    TMenuWindow* Sub = Window()->GetSubmenu();
    ASSERT_NE(Sub, nullptr);
    const TPoint First = ItemPoint(Sub, 0);
    Host.Click(First.X, First.Y);
    EXPECT_EQ(Chosen, std::vector<String>{"&First"});
    // A press outside closes the menu and goes nowhere else.
    int TargetClicks = 0;
    Target->OnClick = [&](TObject*) { ++TargetClicks; };
    Menu->Popup(150, 150);
    const TPoint OnTarget = Target->ClientToScreen(Point(10, 10));
    Host.Click(OnTarget.X, OnTarget.Y);
    EXPECT_EQ(Window(), nullptr);
    EXPECT_EQ(TargetClicks, 0);
    EXPECT_EQ(Chosen.size(), 1u);
}

TEST_F(MenuTest, AControlsPopupMenuOpensOnARightClickAndTheMenuKey) {
    Target->SetPopupMenu(Menu);
    const TPoint P = Target->ClientToScreen(Point(30, 10));
    Host.Click(P.X, P.Y, mbRight);
    ASSERT_NE(Window(), nullptr);
    EXPECT_EQ(Corner(Window()), P);
    EXPECT_EQ(Menu->GetPopupComponent(), Target);
    Host.Key(VK_ESCAPE);
    Target->SetFocus();
    Host.Key(VK_APPS);
    ASSERT_NE(Window(), nullptr);
    Host.Key(VK_ESCAPE);
    // Without AutoPopup the menu waits for the program.
    Menu->SetAutoPopup(false);
    Host.Click(P.X, P.Y, mbRight);
    EXPECT_EQ(Window(), nullptr);
}

TEST_F(MenuTest, AMainMenuShowsABarThatOpensByClickAltAndShortcuts) {
    auto* Main = new TMainMenu(Form.get());
    Main->SetName("MainMenu1");
    TMenuItem* File = AddItem(Main->GetItems(), "&File");
    TMenuItem* Open = AddItem(File, "&Open...");
    Open->SetShortCut(ShortCut('O', {ssCtrl}));
    AddItem(File, "-");
    AddItem(File, "E&xit");
    TMenuItem* Help = AddItem(Main->GetItems(), "&Help");
    AddItem(Help, "&About");
    auto* Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(20, 80, 100, 21);
    auto* Status = new TButton(Form.get());
    Status->SetParent(Form.get());
    Status->SetAlign(alTop);
    Form->SetMenu(Main);
    Host.RunUntilIdle();
    TMenuBar* Bar = Form->GetMenuBar();
    ASSERT_NE(Bar, nullptr);
    // The bar runs along the top, above every aligned control.
    EXPECT_EQ(Bar->GetBoundsRect(), Rect(0, 0, Form->GetClientWidth(), Bar->GetHeight()));
    EXPECT_EQ(Status->GetTop(), Bar->GetHeight());

    const TRect E = Bar->EntryRect(0);
    const TPoint FileEntry = Bar->ClientToScreen(Point(E.Left + 5, E.Top + 5));
    Host.Click(FileEntry.X, FileEntry.Y);
    ASSERT_NE(Bar->GetWindow(), nullptr);
    const TPoint OpenItem = ItemPoint(Bar->GetWindow(), 0);
    Host.Click(OpenItem.X, OpenItem.Y);
    EXPECT_EQ(Chosen, std::vector<String>{"&Open..."});

    Edit->SetFocus();
    Host.Key('F', {ssAlt});
    ASSERT_NE(Bar->GetWindow(), nullptr);
    EXPECT_EQ(Bar->GetWindow()->GetHotIndex(), 0);
    Host.Key(VK_RIGHT);
    EXPECT_EQ(Bar->GetOpenIndex(), 1);
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(Bar->GetWindow(), nullptr);

    // The shortcut works without opening anything, and not while disabled.
    Host.Key('O', {ssCtrl});
    EXPECT_EQ(Chosen.size(), 2u);
    Open->SetEnabled(false);
    Host.Key('O', {ssCtrl});
    EXPECT_EQ(Chosen.size(), 2u);
    EXPECT_EQ(Edit->GetText(), "");

    Form->SetMenu(nullptr);
    EXPECT_EQ(Form->GetMenuBar(), nullptr);
    EXPECT_EQ(Status->GetTop(), 0);
}

// A program brings its items' states up to date when it is told, before an
// entry opens and before a shortcut is looked up: an item it disables then
// takes neither a click nor its key, one it enables takes both, and items
// it makes anew show in the entry it opens.
TEST_F(MenuTest, AMainMenuIsToldToUpdateBeforeItOpensOrTakesAKey) {
    auto* Main = new TMainMenu(Form.get());
    TMenuItem* Edit = AddItem(Main->GetItems(), "&Edit");
    TMenuItem* Undo = AddItem(Edit, "&Undo");
    Undo->SetShortCut(ShortCut('Z', {ssCtrl}));
    bool CanUndo = false;
    int Told = 0;
    Main->OnUpdate = [&](TObject* Sender) {
        EXPECT_EQ(Sender, Main);
        ++Told;
        Undo->SetEnabled(CanUndo);
        while (Edit->Count() > 1) Edit->Delete(1);
        AddItem(Edit, "Made " + std::to_string(Told));
    };
    Form->SetMenu(Main);
    Host.RunUntilIdle();
    TMenuBar* Bar = Form->GetMenuBar();
    const TRect E = Bar->EntryRect(0);
    const TPoint Entry = Bar->ClientToScreen(Point(E.Left + 5, E.Top + 5));
    struct TCase {
        bool CanUndo;
        bool ByKey;
        std::vector<String> Chosen;
    };
    const TCase Cases[] = {
        {false, true, {}},
        {true, true, {"&Undo"}},
        {false, false, {}},
        {true, false, {"&Undo"}},
    };
    for (const TCase& C : Cases) {
        Chosen.clear();
        CanUndo = C.CanUndo;
        const int Before = Told;
        if (C.ByKey) {
            Host.Key('Z', {ssCtrl});
        } else {
            Host.Click(Entry.X, Entry.Y);
            ASSERT_NE(Bar->GetWindow(), nullptr);
            EXPECT_EQ(Bar->GetWindow()->GetMenuItem()->Count(), 2);
            EXPECT_EQ(Edit->GetItem(1)->GetCaption(), "Made " + std::to_string(Told));
            const TPoint Item = ItemPoint(Bar->GetWindow(), 0);
            Host.Click(Item.X, Item.Y);
            if (Bar->GetWindow()) Bar->GetWindow()->CloseUp(true);
        }
        EXPECT_EQ(Told, Before + 1) << C.ByKey;
        EXPECT_EQ(Chosen, C.Chosen) << C.CanUndo << C.ByKey;
    }
}

TEST_F(MenuTest, AFormFileHoldsTheItemTreeAndTheFormsMenu) {
    auto* Main = new TMainMenu(Form.get());
    Main->SetName("MainMenu1");
    TMenuItem* File = AddItem(Main->GetItems(), "&File");
    File->SetName("FileItem");
    TMenuItem* Save = AddItem(File, "&Save");
    Save->SetName("SaveItem");
    Save->SetShortCut(ShortCut('S', {ssCtrl}));
    Save->SetChecked(true);
    Form->SetMenu(Main);
    for (int I = 0; I < Menu->GetItems()->Count(); ++I)
        Menu->GetItems()->GetItem(I)->SetName("Verb" + std::to_string(I));
    TMemoryStream S;
    WriteComponent(S, Form.get(), nullptr, feText);
    S.SetPosition(0);
    TForm Read(nullptr);
    ReadComponent(S, &Read);
    auto* M = dynamic_cast<TMainMenu*>(Read.FindComponent("MainMenu1"));
    ASSERT_NE(M, nullptr);
    EXPECT_EQ(Read.GetMenu(), M);
    ASSERT_EQ(M->GetItems()->Count(), 1);
    TMenuItem* F = M->GetItems()->GetItem(0);
    EXPECT_EQ(F->GetName(), "FileItem");
    ASSERT_EQ(F->Count(), 1);
    EXPECT_EQ(F->GetItem(0)->GetShortCut(), ShortCut('S', {ssCtrl}));
    EXPECT_TRUE(F->GetItem(0)->GetChecked());
    auto* P = dynamic_cast<TPopupMenu*>(Read.FindComponent("Verbs"));
    ASSERT_NE(P, nullptr);
    ASSERT_EQ(P->GetItems()->Count(), 5);
    EXPECT_EQ(P->GetItems()->GetItem(3)->Count(), 2);
    EXPECT_EQ(P->GetItems()->GetItem(3)->GetItem(1)->GetCaption(), "&Second");
    EXPECT_FALSE(P->GetItems()->GetItem(2)->GetEnabled());
}

TEST(MenuItems, ShortCutTextAndTreeEdits) {
    EXPECT_EQ(ShortCutToText(ShortCut('S', {ssCtrl})), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F10, {ssShift})), "Shift+F10");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, {})), "Del");
    EXPECT_EQ(ShortCutToText(0), "");
    TMenuItem Root(nullptr);
    auto* A = new TMenuItem(nullptr);
    auto* B = new TMenuItem(nullptr);
    Root.Add(A);
    A->Add(B);
    EXPECT_THROW(B->Add(A), EInvalidOperation);
    EXPECT_THROW(Root.GetItem(3), EListError);
    // An item moved elsewhere leaves its old place; a freed item leaves its
    // parent.
    Root.Add(B);
    EXPECT_EQ(A->Count(), 0);
    EXPECT_EQ(Root.IndexOf(B), 1);
    delete A;
    EXPECT_EQ(Root.Count(), 1);
    EXPECT_EQ(Root.GetItem(0), B);
}

} // namespace

namespace {

// A screen reader's view of a main menu's bar: a named menu bar of menu
// items, one per shown entry, whose press opens the entry as a click does
// and whose opening and closing are heard.
TEST_F(MenuTest, AMenuBarReadsAsNamedEntriesThatOpenByTheirPress) {
    auto* Main = new TMainMenu(Form.get());
    TMenuItem* File = AddItem(Main->GetItems(), "&File");
    AddItem(File, "&Open...");
    AddItem(Main->GetItems(), "&Hidden")->SetVisible(false);
    AddItem(Main->GetItems(), "&Off", false);
    AddItem(Main->GetItems(), "&Now");
    Form->SetMenu(Main);
    Host.RunUntilIdle();
    TMenuBar* Bar = Form->GetMenuBar();
    ASSERT_NE(Bar, nullptr);
    std::vector<std::pair<const void*, TAccEvent>> Heard;
    SetAccessibleEventListener(
        [&](TControl*, const void* Key, TAccEvent Event) { Heard.emplace_back(Key, Event); });
    const auto Node = GetAccessible(Bar);
    EXPECT_EQ(Node->GetRole(), TAccRole::MenuBar);
    EXPECT_EQ(Node->GetName(), "Main menu");
    const struct {
        const char* Name;
        unsigned States;
    } Entries[] = {{"File", asExpandable}, {"Off", asDisabled}, {"Now", 0}};
    ASSERT_EQ(Node->GetChildCount(), 3) << "the hidden entry is left out";
    for (int I = 0; I < 3; ++I) {
        const auto Entry = Node->GetChild(I);
        EXPECT_EQ(Entry->GetRole(), TAccRole::MenuItem);
        EXPECT_EQ(Entry->GetName(), Entries[I].Name);
        EXPECT_EQ(Entry->GetStates(), Entries[I].States) << Entries[I].Name;
        EXPECT_FALSE(Entry->GetBounds().IsEmpty());
        EXPECT_EQ(Entry->GetActions(), std::vector<String>{"press"});
    }
    EXPECT_EQ(Node->GetChild(3), nullptr);
    EXPECT_EQ(Node->GetChild(0)->GetBounds().Left, Bar->ClientToScreen(Point(0, 0)).X);
    // Pressing File opens its items; its state says so, and is heard.
    ASSERT_TRUE(Node->GetChild(0)->DoAction("press"));
    EXPECT_EQ(Bar->GetOpenIndex(), 0);
    EXPECT_EQ(Node->GetChild(0)->GetStates(), asExpandable | asExpanded);
    EXPECT_NE(std::find(Heard.begin(), Heard.end(),
                        std::pair<const void*, TAccEvent>(File, TAccEvent::StateChanged)),
              Heard.end());
    Heard.clear();
    Host.Key(VK_ESCAPE);
    EXPECT_EQ(Bar->GetOpenIndex(), -1);
    EXPECT_EQ(Heard.size(), 1u) << "closing is heard too";
    // A disabled entry refuses; an entry without items is clicked.
    EXPECT_FALSE(Node->GetChild(1)->DoAction("press"));
    EXPECT_FALSE(Node->GetChild(2)->DoAction("open"));
    ASSERT_TRUE(Node->GetChild(2)->DoAction("press"));
    EXPECT_EQ(Chosen, std::vector<String>{"&Now"});
    SetAccessibleEventListener(nullptr);
}

} // namespace
