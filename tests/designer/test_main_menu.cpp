#include "DesignerFixture.h"

#include "DesignedForm.h"
#include "ObjectInspector.h"

#include "framework/core/ColorConsts.h"
#include "framework/gfx/Bitmap.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuBar.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"

namespace designer::test {
namespace {

class MainMenuTest : public DesignerTest {
protected:
    // Whether the line at Path can be chosen, as the menu shows it once
    // its entry has been opened with a click.
    bool Enabled(const std::vector<String>& Path) {
        TMenuBar* Bar = Window->Window().GetMenuBar();
        TMenuItem* Entry = Window->MainMenu().Find({Path[0]});
        const int Index = Bar->GetMenu()->GetItems()->IndexOf(Entry);
        const TRect E = Bar->EntryRect(Index);
        const TPoint At = Bar->ClientToScreen(Point(E.Left + 4, E.Top + 4));
        Host.Click(At.X, At.Y);
        TMenuItem* Item = Window->MainMenu().Find(Path);
        const bool Result = Item && Item->GetEnabled();
        if (Bar->GetWindow()) Bar->GetWindow()->CloseUp(true);
        return Result;
    }
    TColor FormPixel(int X, int Y) {
        const TPoint S = Designer().GetForm()->ClientToScreen(Point(X, Y));
        TBitmap Picture;
        Host.ScreenPicture(Rect(S.X, S.Y, S.X + 1, S.Y + 1), Picture);
        return Picture.GetCanvas()->GetPixel(0, 0);
    }
};

// The five menus stand on the window's bar, above the tool buttons.
TEST_F(MainMenuTest, TheBarHoldsTheFiveMenusAboveTheToolButtons) {
    TMenuBar* Bar = Window->Window().GetMenuBar();
    ASSERT_NE(Bar, nullptr);
    std::vector<String> Entries;
    for (int I = 0; I < Bar->GetMenu()->GetItems()->Count(); ++I)
        Entries.push_back(Bar->GetMenu()->GetItems()->GetItem(I)->GetCaption());
    EXPECT_EQ(Entries, (std::vector<String>{"&File", "&Edit", "&View", "&Component", "&Help"}));
    EXPECT_GE(Window->NewButton().GetTop(), Bar->GetTop() + Bar->GetHeight());
}

// Each command is enabled exactly when it can act, worked out as its menu
// opens: the steps of a session and what each line says then.
TEST_F(MainMenuTest, EachCommandIsEnabledWhenItCanAct) {
    struct TCase {
        const char* Steps;
        std::vector<String> Path;
        bool Enabled;
    };
    Clipboard()->SetAsText("");
    const TCase Cases[] = {
        {"", {"Edit", "Undo"}, false},
        {"", {"Edit", "Redo"}, false},
        {"", {"Edit", "Cut"}, false},
        {"", {"Edit", "Paste"}, false},
        {"", {"Edit", "Align"}, false},
        {"", {"Component", "Unload package"}, false},
        {"", {"File", "Save"}, true},
        {"drop TButton 16 16\ndrop TButton 120 40\n", {"Edit", "Undo"}, true},
        {"", {"Edit", "Cut"}, true},
        {"", {"Edit", "Delete"}, true},
        {"", {"Edit", "Align"}, false},
        {"shift-click Button1\n", {"Edit", "Align"}, true},
        {"", {"Edit", "Align", "Align tops"}, true},
        {"key ctrl+C\n", {"Edit", "Paste"}, true},
        {"undo\n", {"Edit", "Redo"}, true},
        {"select Form1\n", {"Edit", "Copy"}, false},
        {"", {"Edit", "Bring to front"}, false},
    };
    for (const TCase& C : Cases) {
        Run(C.Steps);
        String Path;
        for (const String& P : C.Path) Path += P + " > ";
        EXPECT_EQ(Enabled(C.Path), C.Enabled) << Path << " after \"" << C.Steps << "\"";
    }
}

// A command from the menu is the one its key or tool button gives: the
// same change, one undo step, the same selection.
TEST_F(MainMenuTest, MenuCommandsDoWhatTheirKeysDo) {
    Run("drop TButton 16 16\n"
        "drop TButton 120 40\n"
        "select Button1\n"
        "shift-click Button2\n");
    const size_t Steps = UndoSteps();
    Run("mainmenu Edit > Align > Align tops");
    EXPECT_EQ(Find<TButton>("Button1")->GetTop(), Find<TButton>("Button2")->GetTop());
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("mainmenu Edit > Undo");
    EXPECT_EQ(Find<TButton>("Button1")->GetTop(), 16);
    Run("expect-selection Button1 Button2\n"
        "mainmenu Edit > Redo\n"
        "mainmenu Edit > Copy\n"
        "mainmenu Edit > Delete\n");
    EXPECT_EQ(Find<TButton>("Button1"), nullptr);
    Run("mainmenu Edit > Paste\n"
        "expect-selection Button1 Button2\n");
    EXPECT_NE(Clipboard()->GetAsText().find("object Button1: TButton"), String::npos);
    EXPECT_EQ(Find<TButton>("Button1")->GetTop(), Find<TButton>("Button2")->GetTop());
    SaveAnswer = mrNo;
    Run("mainmenu File > New");
    EXPECT_EQ(Find<TButton>("Button1"), nullptr) << "New, with the changes dropped";
}

// In the designer's own window the menu's shortcuts are the keys; a text
// box there keeps the clipboard keys and Delete for its text.
TEST_F(MainMenuTest, ShortcutsInTheWindowAndATextBoxKeepsItsOwnKeys) {
    Run("drop TButton 16 16\n"
        "drop TButton 120 40\n");
    const size_t Steps = UndoSteps();
    const TPoint OnPalette = Window->Palette().ClientToScreen(Point(4, 4));
    Host.Click(OnPalette.X, OnPalette.Y);
    Host.Key('Z', {ssCtrl});
    EXPECT_EQ(Find<TButton>("Button2"), nullptr);
    EXPECT_EQ(UndoSteps(), Steps - 1);
    Host.Key('Y', {ssCtrl});
    ASSERT_NE(Find<TButton>("Button2"), nullptr);

    Run("select Button2");
    TObjectInspector& I = Window->Inspector();
    const TRect R = I.ValueRect(I.FindRow("Name"));
    const TPoint Value = I.ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    Host.Click(Value.X, Value.Y);
    Clipboard()->SetAsText("");
    I.GetValueEdit()->SelectAll();
    Host.Key('C', {ssCtrl});
    EXPECT_EQ(Clipboard()->GetAsText(), "Button2");
    Host.Key(VK_END);
    Host.Key(VK_BACK);
    Host.Key(VK_HOME);
    Host.Key(VK_DELETE);
    EXPECT_EQ(I.GetValueEdit()->GetText(), "utton");
    ASSERT_NE(Find<TButton>("Button2"), nullptr) << "Delete in the text box deletes no component";
    // The same command from the menu, clicked, acts on the text too.
    I.GetValueEdit()->SelectAll();
    Run("mainmenu Edit > Cut");
    EXPECT_EQ(Clipboard()->GetAsText(), "utton");
    EXPECT_EQ(I.GetValueEdit()->GetText(), "");
    ASSERT_NE(Find<TButton>("Button2"), nullptr);
}

// View: the grid's points show on the form's face and go with the toggle;
// snapping and guides turn off and on.
TEST_F(MainMenuTest, TheViewMenuTogglesTheGridSnappingAndGuides) {
    const int G = Designer().GetGridSize();
    EXPECT_EQ(FormPixel(2 * G, 3 * G), ColorToRGB(clBtnText));
    EXPECT_EQ(FormPixel(2 * G + 1, 3 * G), ColorToRGB(clBtnFace));
    Run("mainmenu View > Grid");
    EXPECT_FALSE(Designer().GetShowGrid());
    EXPECT_EQ(FormPixel(2 * G, 3 * G), ColorToRGB(clBtnFace));
    Run("mainmenu View > Grid\n"
        "mainmenu View > Snap to grid\n"
        "mainmenu View > Guides\n");
    EXPECT_TRUE(Designer().GetShowGrid());
    EXPECT_FALSE(Designer().GetSnapToGrid());
    EXPECT_FALSE(Designer().GetSnapToGuides());
    EXPECT_TRUE(Window->MainMenu().Find({"View", "Grid"})->GetChecked());
    EXPECT_FALSE(Window->MainMenu().Find({"View", "Snap to grid"})->GetChecked());
    // Without the grid to snap to, a drop lands where it is clicked.
    Run("drop TButton 13 21");
    EXPECT_EQ(Find<TButton>("Button1")->GetLeft(), 13);
    EXPECT_EQ(Find<TButton>("Button1")->GetTop(), 21);
    Run("mainmenu Help > About the designer\n"
        "dialog-click OKButton\n");
}

} // namespace
} // namespace designer::test
