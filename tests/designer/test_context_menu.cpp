#include "DesignerFixture.h"

#include "DesignedForm.h"

#include "framework/ui/app/Clipboard.h"

namespace designer::test {
namespace {

class ContextMenuTest : public DesignerTest {
protected:
    ContextMenuTest() {
        Run("drop TButton 16 16\n"
            "drop TButton 112 40\n"
            "drop TButton 208 64\n");
    }
    TControl* C(const String& Name) { return Find<TControl>(Name); }
    // The lines the right click on the selection shows, and which of them
    // can be chosen.
    std::vector<std::pair<String, bool>> MenuLines() {
        auto* Selected = dynamic_cast<TControl*>(Designer().GetSelection());
        const TPoint At = Selected->ClientToScreen(
            Point(Selected->GetClientWidth() / 2, Selected->GetClientHeight() / 2));
        Host.Click(At.X, At.Y, mbRight);
        std::vector<std::pair<String, bool>> Lines;
        const std::vector<String> Captions = Window->Verbs().Captions();
        for (size_t I = 0; I < Captions.size(); ++I)
            Lines.emplace_back(Captions[I], Window->Verbs().IsEnabled(int(I)));
        Window->Verbs().Close();
        return Lines;
    }
};

// The commands on the selection follow the component's own verbs, each
// enabled when it can act: Align needs two controls, Paste a clipboard.
TEST_F(ContextMenuTest, TheRightClickOffersTheCommandsThatCanAct) {
    Clipboard()->SetAsText("");
    Run("select Button1");
    const std::vector<std::pair<String, bool>> One = {
        {"Cut", true}, {"Copy", true},           {"Paste", false},       {"Delete", true},
        {"-", true},   {"Bring to front", true}, {"Send to back", true}, {"Align", false},
        {"-", true},   {"View in scheme", true}};
    EXPECT_EQ(MenuLines(), One);
    Run("shift-click Button2\nkey ctrl+C\n");
    const auto Several = MenuLines();
    ASSERT_EQ(Several.size(), One.size());
    EXPECT_TRUE(Several[2].second) << "Paste with something to paste";
    EXPECT_TRUE(Several[7].second) << "Align with two controls";
    // On the form: nothing to cut, copy, delete or align.
    Run("select Form1");
    const auto Form = MenuLines();
    for (const char* Line : {"Cut", "Copy", "Delete", "Bring to front", "Align"})
        EXPECT_FALSE(std::find(Form.begin(), Form.end(), std::pair<String, bool>(Line, false)) ==
                     Form.end())
            << Line;
}

// Align from the menu lines up every selected control as one change, and
// the right click on one of them keeps the whole selection.
TEST_F(ContextMenuTest, AlignFromTheMenuActsOnTheWholeSelection) {
    const size_t Steps = UndoSteps();
    Run("band 8 8 400 120\n"
        "menu Align > Align tops\n"
        "expect-selection Button1 Button2 Button3\n");
    const int Top = C("Button3")->GetTop();
    for (const char* Name : {"Button1", "Button2"}) EXPECT_EQ(C(Name)->GetTop(), Top) << Name;
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("menu Align > Space evenly across\n"
        "menu Align > Same width\n");
    EXPECT_EQ(UndoSteps(), Steps + 1) << "the buttons were evenly apart and as wide already";
    EXPECT_THROW(Run("menu Align > Align sideways"), EDesignScriptError);
}

// Cut, Copy, Paste and Delete from the menu do what their keys do.
TEST_F(ContextMenuTest, ClipboardCommandsFromTheMenu) {
    Run("select Button1\n"
        "shift-click Button2\n"
        "menu Copy\n"
        "select Form1\n"
        "menu Paste\n"
        "expect-selection Button4 Button5\n"
        "menu Delete\n");
    EXPECT_EQ(Find<TButton>("Button4"), nullptr);
    EXPECT_EQ(Find<TButton>("Button5"), nullptr);
    Run("select Button3\n"
        "menu Cut\n");
    EXPECT_EQ(Find<TButton>("Button3"), nullptr);
    EXPECT_NE(Clipboard()->GetAsText().find("object Button3: TButton"), String::npos);
    Run("select Button1\n"
        "menu Bring to front\n");
    // Above every other control of the form (the designer's handles aside).
    TForm* Form = Designer().GetForm();
    TControl* Top = nullptr;
    for (int I = 0; I < Form->ControlCount(); ++I)
        if (Form->Controls(I)->GetOwner() == Form) Top = Form->Controls(I);
    EXPECT_EQ(Top, C("Button1"));
    Run("menu Send to back");
    EXPECT_EQ(Designer().GetForm()->Controls(0), C("Button1"));
}

// A paste of text that is no component, by key or by menu, tells the user
// why and changes nothing.
TEST_F(ContextMenuTest, ABadPasteIsReportedAndChangesNothing) {
    std::vector<String> Told;
    Designer().OnError = [&](const String& Message) { Told.push_back(Message); };
    const String Before = SnapshotForm(*Designer().GetForm());
    const size_t Steps = UndoSteps();
    Clipboard()->SetAsText("not a component at all");
    Run("select Button1\n"
        "key ctrl+V\n"
        "menu Paste\n");
    ASSERT_EQ(Told.size(), 2u);
    EXPECT_FALSE(Told[0].empty());
    Clipboard()->SetAsText("object X1: TNoSuchThing\nend\n");
    Run("key ctrl+V");
    ASSERT_EQ(Told.size(), 3u);
    EXPECT_NE(Told[2].find("TNoSuchThing"), String::npos) << Told[2];
    EXPECT_EQ(SnapshotForm(*Designer().GetForm()), Before);
    EXPECT_EQ(UndoSteps(), Steps);
}

} // namespace
} // namespace designer::test
