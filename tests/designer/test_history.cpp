#include "DesignerFixture.h"

#include "UndoStack.h"

#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/Cursors.h"
#include "framework/ui/menus/MainMenu.h"

namespace designer::test {
namespace {

// A patch between two texts makes the second from the first, whatever the
// texts share: nothing, all, a start, an end, or a run that could count as
// either (the suffix must not reach back into the prefix).
TEST(TextPatch, MakesTheSecondTextFromTheFirst) {
    const std::pair<String, String> Cases[] = {
        {"", ""},
        {"", "abc"},
        {"abc", ""},
        {"same", "same"},
        {"Left = 16\nTop = 8\n", "Left = 24\nTop = 8\n"},
        {"object A\nend\n", "object A\n  object B\n  end\nend\n"},
        {"aa", "aaa"},
        {"aaa", "aa"},
        {"abcabc", "abc"},
        {"xyz", "xyzxyz"},
    };
    for (const auto& [From, To] : Cases) {
        const TTextPatch Patch = TTextPatch::Between(From, To);
        EXPECT_EQ(Patch.ApplyTo(From), To) << From << " -> " << To;
        EXPECT_LE(Patch.Prefix + Patch.Suffix, std::min(From.size(), To.size()));
    }
    // A change of one number costs about that number, not the text.
    const String Big(100000, 'x');
    EXPECT_LE(TTextPatch::Between(Big + "16" + Big, Big + "24" + Big).Middle.size(), 2u);
}

// Undo and redo walk the history both ways, each step giving back the form
// and the selection of its moment; a new change drops what could be redone.
TEST(UndoStack, WalksBothWaysWithTheSelectionOfEachMoment) {
    TUndoStack Stack;
    TSelectionNames Selection;
    Stack.Record("one", {"A"}, "two", {"B"});
    Stack.Record("two", {"B2"}, "three", {"C"});
    EXPECT_EQ(Stack.Undo("three", Selection), "two");
    EXPECT_EQ(Selection, TSelectionNames{"B2"});
    EXPECT_EQ(Stack.Undo("two", Selection), "one");
    EXPECT_EQ(Selection, TSelectionNames{"A"});
    EXPECT_FALSE(Stack.CanUndo());
    // Nothing left: the form stays, and so does the selection.
    EXPECT_EQ(Stack.Undo("one", Selection), "one");
    EXPECT_EQ(Selection, TSelectionNames{"A"});
    EXPECT_EQ(Stack.Redo("one", Selection), "two");
    EXPECT_EQ(Selection, TSelectionNames{"B"});
    EXPECT_EQ(Stack.Redo("two", Selection), "three");
    EXPECT_EQ(Selection, TSelectionNames{"C"});
    EXPECT_FALSE(Stack.CanRedo());
    Stack.Undo("three", Selection);
    Stack.Record("two", {"B"}, "four", {"D"});
    EXPECT_FALSE(Stack.CanRedo());
    EXPECT_EQ(Stack.Count(), 2u);
}

// A form rebuilt from a step may write itself a little differently; the
// history goes on from the form as shown, both ways.
TEST(UndoStack, GoesOnFromTheFormAsShownAfterARebase) {
    TUndoStack Stack;
    TSelectionNames Selection;
    Stack.Record("Left = 1\nTop = 2\n", {"A"}, "Left = 5\nTop = 2\n", {"A"});
    Stack.Record("Left = 5\nTop = 2\n", {"A"}, "Left = 5\nTop = 9\n", {"A"});
    const String Undone = Stack.Undo("Left = 5\nTop = 9\n", Selection);
    ASSERT_EQ(Undone, "Left = 5\nTop = 2\n");
    // Shown with a line of its own at the end.
    Stack.Rebase(Undone, "Left = 5\nTop = 2\nTag = 0\n");
    EXPECT_EQ(Stack.Undo("Left = 5\nTop = 2\nTag = 0\n", Selection), "Left = 1\nTop = 2\n");
    EXPECT_EQ(Stack.Redo("Left = 1\nTop = 2\n", Selection), "Left = 5\nTop = 2\nTag = 0\n");
    EXPECT_EQ(Stack.Redo("Left = 5\nTop = 2\nTag = 0\n", Selection), "Left = 5\nTop = 9\n");
}

// Ten thousand changes to a form of a few hundred lines stay within a few
// megabytes, since each keeps only what it changed.
TEST(UndoStack, TenThousandStepsOfALargeFormStayWithinAFewMegabytes) {
    String Form;
    for (int I = 0; I < 300; ++I)
        Form += "  object Button" + std::to_string(I) +
                ": TButton\n    Left = " + std::to_string(I) + "\n    Top = 8\n  end\n";
    TUndoStack Stack;
    String Current = Form;
    for (int Step = 0; Step < 10000; ++Step) {
        String Next = Current;
        const size_t At = Next.find("Top = ", Step % 200 * 40);
        Next.replace(At, 7, "Top = " + std::to_string(Step % 10));
        Stack.Record(Current, {"Button1"}, Next, {"Button1"});
        Current = std::move(Next);
    }
    EXPECT_EQ(Stack.Count(), 10000u);
    EXPECT_LT(Stack.ByteSize(), 4u << 20);
    TSelectionNames Selection;
    for (int Step = 0; Step < 10000; ++Step) Current = Stack.Undo(Current, Selection);
    EXPECT_EQ(Current, Form);
}

// Ctrl+Z undoes; Ctrl+Y, Ctrl+Shift+Z and the Redo button make the change
// again. Each step selects what was selected at its moment: undoing a move
// selects the control moved even after the selection went elsewhere.
TEST_F(DesignerTest, RedoMakesUndoneChangesAgainAndEachStepRestoresItsSelection) {
    Run("drop TCGauge 40 40\n"
        "drop TButton 200 40\n"
        "select CGauge1\n"
        "key Right\n"
        "select Button1\n");
    auto* Gauge = Find<TCGauge>("CGauge1");
    const TRect Moved = Gauge->GetBoundsRect();
    for (const char* RedoStep : {"key ctrl+Y", "key ctrl+shift+Z", "redo"}) {
        SCOPED_TRACE(RedoStep);
        Run("select Button1\n"
            "key ctrl+Z\n");
        Gauge = Find<TCGauge>("CGauge1");
        ASSERT_NE(Gauge, nullptr);
        EXPECT_EQ(Gauge->GetLeft(), Moved.Left - 1);
        EXPECT_EQ(Designer().GetSelection(), Gauge);
        EXPECT_TRUE(Designer().CanRedo());
        EXPECT_TRUE(Window->RedoButton().GetEnabled());
        Run(RedoStep);
        Gauge = Find<TCGauge>("CGauge1");
        EXPECT_EQ(Gauge->GetBoundsRect(), Moved);
        EXPECT_EQ(Designer().GetSelection(), Gauge);
        EXPECT_FALSE(Designer().CanRedo());
        EXPECT_FALSE(Window->RedoButton().GetEnabled());
    }
    // Undoing a delete brings the component back selected; undoing a drop
    // selects what was selected before it.
    Run("select Button1\n"
        "key Delete\n"
        "undo\n");
    EXPECT_EQ(Designer().GetSelection(), Find<TButton>("Button1"));
    Run("select CGauge1\n"
        "drop TButton 300 200\n"
        "undo\n");
    EXPECT_EQ(Find<TButton>("Button2"), nullptr);
    EXPECT_EQ(Designer().GetSelection(), Find<TCGauge>("CGauge1"));
    // A new change drops the redo steps. The Undo button kept the keys in
    // the designer's window: a click gives them to the designed form.
    Run("select CGauge1\n"
        "key Down\n");
    EXPECT_FALSE(Designer().CanRedo());
    Run("redo");
    EXPECT_EQ(Find<TButton>("Button2"), nullptr);
}

// Undo and redo change the designed form in the window it has. A window
// made for each step was shown, took the keyboard and left the user typing
// into the form; the keys stay where they were, in the inspector here.
TEST_F(DesignerTest, UndoAndRedoLeaveTheKeyboardWhereItWas) {
    Run("drop TButton 40 40\n"
        "set Caption Alpha\n");
    TForm* const Form = Designer().GetForm();
    TEdit* const Value = Window->Inspector().GetValueEdit();
    ASSERT_EQ(FindControl(GetFocus()), Value);
    struct {
        const char* Step;
        const char* Caption;
    } Steps[] = {
        {"key ctrl+Z", "Button1"},           {"key ctrl+Y", "Alpha"},
        {"mainmenu Edit > Undo", "Button1"}, {"mainmenu Edit > Redo", "Alpha"},
        {"key ctrl+Z", "Button1"},           {"key ctrl+shift+Z", "Alpha"},
    };
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.Step);
        Run(S.Step);
        EXPECT_EQ(Designer().GetForm(), Form);
        ASSERT_NE(Find<TButton>("Button1"), nullptr);
        EXPECT_EQ(Find<TButton>("Button1")->GetCaption(), S.Caption);
        EXPECT_EQ(Screen->GetActiveForm(), &Window->Window());
        EXPECT_EQ(FindControl(GetFocus()), Value);
    }
    // What is typed next reaches the inspector's value box.
    Value->SelectAll();
    Run("type Beta\n"
        "key Enter\n");
    EXPECT_EQ(Find<TButton>("Button1")->GetCaption(), "Beta");
}

// What a step set on the form itself goes back with it: each change of the
// form, undone, gives the form exactly as it was (a value the form had set
// returns to a new form's), and redone, as it was after the change.
TEST_F(DesignerTest, UndoingAChangeOfTheFormItselfGivesBackTheFormAsItWas) {
    Run("drop TButton 40 40\n");
    Designer().DropComponent(TMainMenu::StaticClassInfo(), nullptr, Point(8, 8));
    Run("select Form1\n");
    TForm* const Form = Designer().GetForm();
    const String First = SnapshotForm(*Form);
    const char* Changes[] = {
        "set Color clRed",
        "set Caption Other",
        "set KeyPreview True",
        "set BorderStyle bsDialog",
        "set Font.Size 14",
        "set ClientWidth 500",
        "set Constraints.MinWidth 200",
        "set Menu MainMenu1",
        "page Events\nset OnClick FormClick\npage Properties",
        "set Name Main",
    };
    for (const char* Change : Changes) {
        SCOPED_TRACE(Change);
        const String Before = SnapshotForm(*Form);
        Run(Change);
        const String After = SnapshotForm(*Form);
        ASSERT_NE(After, Before);
        Run("undo");
        EXPECT_EQ(Designer().GetForm(), Form);
        EXPECT_EQ(SnapshotForm(*Form), Before);
        Run("redo");
        EXPECT_EQ(SnapshotForm(*Form), After);
    }
    EXPECT_EQ(Form->GetMenu(), Designer().GetComponent("MainMenu1"));
    EXPECT_EQ(Form->GetEventHandlerName("OnClick"), "FormClick");
    for (size_t K = 0; K < std::size(Changes); ++K) Run("undo");
    EXPECT_EQ(SnapshotForm(*Form), First);
    EXPECT_EQ(Form->GetColor(), clBtnFace);
    EXPECT_EQ(Form->GetMenu(), nullptr);
    EXPECT_EQ(Form->GetEventHandlerName("OnClick"), "");
    Run("expect-modified yes\n"
        "undo\n"
        "undo\n"
        "expect-modified no\n");
}

// Undo back to the saved form clears the mark, redo puts it back; the
// history outlives a save and goes only when asked.
TEST_F(DesignerTest, SavingKeepsTheHistoryUntilItIsCleared) {
    Run("drop TCGauge 40 40\n"
        "saveas kept.form\n"
        "select CGauge1\n"
        "key Right\n"
        "undo\n"
        "expect-modified no\n"
        "redo\n"
        "expect-modified yes\n"
        "save\n");
    EXPECT_EQ(UndoSteps(), 2u);
    Designer().ClearHistory();
    EXPECT_FALSE(Designer().CanUndo());
    EXPECT_FALSE(Window->UndoButton().GetEnabled());
}

// The question before unsaved changes go names the file as it is called,
// without the title's modified mark.
TEST_F(DesignerTest, TheCloseQuestionNamesTheFileWithoutTheModifiedMark) {
    std::vector<String> Asked;
    Window->OnAskSave = [&](const String& Name) {
        Asked.push_back(Name);
        return mrCancel;
    };
    Run("drop TCGauge 40 40\n"
        "close\n"
        "saveas myform.form\n"
        "select CGauge1\n"
        "key Right\n"
        "close\n");
    EXPECT_EQ(Asked, (std::vector<String>{"Form1", "myform.form"}));
    EXPECT_EQ(Window->Window().GetCaption(), "Folio designer: myform.form *");
}

// Cursors show by name, offer the shapes in a list and take a name, in any
// case, or a number; a text that is neither is refused with what to give.
TEST_F(DesignerTest, CursorsShowAndTakeTheirNames) {
    Run("drop TPanel 40 40\n"
        "expect Cursor crDefault\n"
        "expect DragCursor crDrag\n"
        "choose Cursor crHandPoint\n"
        "expect Cursor crHandPoint\n"
        "set DragCursor crsizeall\n"
        "expect DragCursor crSizeAll\n");
    auto* Panel = Find<TPanel>("Panel1");
    EXPECT_EQ(Panel->GetCursor(), crHandPoint);
    EXPECT_EQ(Panel->GetDragCursor(), crSizeAll);
    Run("set Cursor 7\n"
        "expect Cursor 7\n");
    EXPECT_EQ(Panel->GetCursor(), 7);
    for (const char* Bad : {"crPointer", "99999", "7x"}) {
        SCOPED_TRACE(Bad);
        EXPECT_THROW(Run(String("set Cursor ") + Bad), EDesignScriptError);
        EXPECT_EQ(Panel->GetCursor(), 7);
        EXPECT_NE(Window->Inspector().GetMessage().find("crHandPoint"), String::npos)
            << Window->Inspector().GetMessage();
    }
}

} // namespace
} // namespace designer::test
