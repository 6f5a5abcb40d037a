#include "DesignerFixture.h"

#include "ComponentTree.h"
#include "DesignedForm.h"
#include "TabOrderDialog.h"

#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <algorithm>
#include <cstring>

namespace designer::test {
namespace {

class ComponentTreeTest : public DesignerTest {
protected:
    ComponentTreeTest() {
        Run("drop TPanel 16 16\n"
            "drop TButton 300 40\n"
            "drop TButton 300 120\n");
    }
    TComponentTree& Tree() { return Window->Tree(); }
    // The tree's lines as "depth name".
    std::vector<String> Shown() {
        std::vector<String> Lines;
        for (const auto& L : Tree().Lines())
            Lines.push_back(std::to_string(L.Depth) + " " + L.Component->GetName());
        return Lines;
    }
    TPoint LinePoint(const String& Name) {
        const int Line = Tree().FindLine(Name);
        EXPECT_GE(Line, 0) << Name;
        Tree().ScrollIntoView(Line);
        const TRect R = Tree().LineRect(Line);
        return Tree().ClientToScreen(
            Point(8 + Tree().Lines()[Line].Depth * TComponentTree::Indent, (R.Top + R.Bottom) / 2));
    }
    // Drags the line of Name onto the line of Onto, with the mouse.
    void DragLine(const String& Name, const String& Onto) {
        Host.Drag(LinePoint(Name), LinePoint(Onto), 6);
        Host.RunUntilIdle();
    }
    TControl* C(const String& Name) { return Find<TControl>(Name); }
};

// The tree follows the form: the controls nested by parent, the selection
// highlighted; a click on a line selects, Shift adds.
TEST_F(ComponentTreeTest, TheTreeShowsTheFormAndFollowsTheSelectionBothWays) {
    EXPECT_EQ(Shown(), (std::vector<String>{"0 Form1", "1 Panel1", "1 Button1", "1 Button2"}));
    Run("select Button1");
    EXPECT_TRUE(Tree().IsHighlighted(Tree().FindLine("Button1")));
    EXPECT_FALSE(Tree().IsHighlighted(Tree().FindLine("Panel1")));
    const TPoint Panel = LinePoint("Panel1");
    Host.Click(Panel.X, Panel.Y);
    Run("expect-selection Panel1");
    const TPoint Button = LinePoint("Button2");
    Host.Click(Button.X, Button.Y, mbLeft, {ssShift});
    Run("expect-selection Panel1 Button2");
    EXPECT_TRUE(Tree().IsHighlighted(Tree().FindLine("Button2")));
    // Only the highlighted lines show the highlight colour: the far end
    // of every other line keeps the window colour.
    Run("select Panel1");
    const TCustomForm* Form = GetParentForm(&Tree());
    ASSERT_NE(Form, nullptr);
    for (int Line = 0; Line < static_cast<int>(Tree().Lines().size()); ++Line) {
        const TRect R = Tree().LineRect(Line);
        const TPoint P = Tree().ClientToScreen(Point(R.Right - 6, (R.Top + R.Bottom) / 2));
        const TColor Shown = Host.Pixel(Form, P.X - Form->GetLeft(), P.Y - Form->GetTop());
        if (!Tree().IsHighlighted(Line)) {
            EXPECT_EQ(Shown, ColorToRGB(clWindow)) << "line " << Line;
        }
    }
    Run("drop TButton 8 8");
    EXPECT_EQ(Shown().size(), 5u) << "a drop adds its line";
    Run("key Delete");
    EXPECT_EQ(Shown().size(), 4u);
}

// A press on a line of a selection of several keeps the selection for a
// drag of all of it; a click there without a drag selects that line alone.
TEST_F(ComponentTreeTest, AClickOnALineOfSeveralSelectsItAloneAndADragTakesThemAll) {
    const struct {
        const char* Line;
        bool Drag;
        std::vector<String> Selected;
    } Cases[] = {
        {"Button2", false, {"Button2"}},
        {"Button1", false, {"Button1"}},
        {"Button1", true, {"Button1", "Button2"}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Line);
        Run("select Button1\nshift-click Button2");
        const TPoint At = LinePoint(Case.Line);
        if (Case.Drag) {
            DragLine(Case.Line, "Panel1");
        } else {
            Host.Click(At.X, At.Y);
            Host.RunUntilIdle();
        }
        std::vector<String> Names;
        for (TPersistent* P : Designer().GetSelectionList())
            Names.push_back(dynamic_cast<TComponent*>(P)->GetName());
        std::sort(Names.begin(), Names.end());
        EXPECT_EQ(Names, Case.Selected);
    }
    EXPECT_EQ(C("Button1")->GetParent(), C("Panel1"));
    EXPECT_EQ(C("Button2")->GetParent(), C("Panel1"));
}

// The tree with the keys: Form1, Panel1 holding Button1, then Button2.
// Each case clicks a line, presses keys and reads the selection.
TEST_F(ComponentTreeTest, TheKeysWalkTheTree) {
    DragLine("Button1", "Panel1");
    ASSERT_EQ(Shown(), (std::vector<String>{"0 Form1", "1 Panel1", "2 Button1", "1 Button2"}));
    const struct {
        const char* From;
        const char* Keys;
        std::vector<String> Selected; // sorted; the form alone is its name
    } Cases[] = {
        {"Panel1", "Down", {"Button1"}},
        {"Button1", "Down", {"Button2"}},
        {"Button2", "Down", {"Button2"}},
        {"Button1", "Up", {"Panel1"}},
        {"Form1", "Up", {"Form1"}},
        {"Button2", "Home", {"Form1"}},
        {"Panel1", "End", {"Button2"}},
        {"Form1", "PageDown", {"Button2"}},
        {"Button2", "PageUp", {"Form1"}},
        {"Button1", "Left", {"Panel1"}},
        {"Panel1", "Left", {"Form1"}},
        {"Panel1", "Right", {"Button1"}},
        {"Button2", "Right", {"Button2"}},
        {"Panel1", "shift+Down shift+Down", {"Button1", "Button2", "Panel1"}},
        {"Button2", "shift+Up", {"Button1", "Button2"}},
        {"Button2", "shift+Home", {"Button1", "Button2", "Panel1"}},
        {"Button1", "Down Up Up", {"Panel1"}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(String(Case.From) + ": " + Case.Keys);
        String Steps = "tree " + String(Case.From) + "\n";
        for (size_t Start = 0; Start < std::strlen(Case.Keys);) {
            const String Keys = Case.Keys;
            const size_t End = std::min(Keys.find(' ', Start), Keys.size());
            Steps += "key " + Keys.substr(Start, End - Start) + "\n";
            Start = End + 1;
        }
        Run(Steps);
        std::vector<String> Names;
        for (TPersistent* P : Designer().GetSelectionList())
            Names.push_back(dynamic_cast<TComponent*>(P)->GetName());
        std::sort(Names.begin(), Names.end());
        EXPECT_EQ(Names, Case.Selected);
        // The current line is the one the keys went to, and it shows.
        const int Line = Tree().CurrentLine();
        ASSERT_GE(Line, 0);
        EXPECT_GE(Line, Tree().GetTopLine());
        EXPECT_LT(Line, Tree().GetTopLine() + Tree().VisibleLines());
    }
}

// Delete and F2 in the tree: the selection goes as one undo step; a name
// typed over the line renames the component, one step, while Escape or a
// name that cannot be a component's changes nothing.
TEST_F(ComponentTreeTest, DeleteAndRenameFromTheTree) {
    std::vector<String> Told;
    Designer().OnError = [&](const String& Message) { Told.push_back(Message); };
    const size_t Steps = UndoSteps();
    Run("tree Button2\nkey Delete");
    EXPECT_EQ(C("Button2"), nullptr);
    EXPECT_EQ(UndoSteps(), Steps + 1);
    EXPECT_EQ(Tree().FindLine("Button2"), -1);
    Run("undo");
    ASSERT_NE(C("Button2"), nullptr);
    const struct {
        const char* Keys;
        const char* Name; // the button's name after them
        bool Refused;
    } Cases[] = {
        {"type OkButton\nkey Enter", "OkButton", false},
        {"type Other\nkey Escape", "OkButton", false},
        {"type 1st\nkey Enter", "OkButton", true},
        {"type Panel1\nkey Enter", "OkButton", true},
    };
    TControl* Button = C("Button2");
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Keys);
        Told.clear();
        const size_t Before = UndoSteps();
        Run("tree " + Button->GetName() + "\nkey F2");
        ASSERT_TRUE(Tree().IsRenaming());
        EXPECT_EQ(Tree().RenameBox().GetText(), Button->GetName());
        Run(Case.Keys);
        EXPECT_FALSE(Tree().IsRenaming());
        EXPECT_EQ(Button->GetName(), Case.Name);
        EXPECT_EQ(Told.size(), Case.Refused ? 1u : 0u);
        EXPECT_EQ(UndoSteps(), Before + (String(Case.Keys).find("OkButton") != String::npos));
        EXPECT_GE(Tree().FindLine(Case.Name), 0);
    }
    Run("undo");
    EXPECT_NE(Find<TButton>("Button2"), nullptr);
}

// Ctrl+Z while a name is typed over a line (the menu's shortcut, taken
// before the box sees the key) rebuilds the form from the step before and
// frees the component the box was for: the edit ends there, and nothing is
// renamed on the old form or the new one.
TEST_F(ComponentTreeTest, AnUndoDuringARenameEndsItWithNothingRenamed) {
    Run("tree Button1\nkey Delete");
    Run("tree Button2\nkey F2\ntype Renamed1");
    ASSERT_TRUE(Tree().IsRenaming());
    Run("key ctrl+z");
    EXPECT_FALSE(Tree().IsRenaming());
    EXPECT_NE(C("Button1"), nullptr);
    EXPECT_NE(C("Button2"), nullptr);
    EXPECT_EQ(C("Renamed1"), nullptr);
    Run("key Enter");
    EXPECT_EQ(C("Renamed1"), nullptr);
    EXPECT_GE(Tree().FindLine("Button2"), 0);
}

// Dragging a line onto a container's line makes the control its child,
// where it was on the screen, as one undo step; the form file keeps it so.
TEST_F(ComponentTreeTest, DraggingALineOntoAContainerReparentsItAsOneStep) {
    const size_t Steps = UndoSteps();
    const TPoint Before = C("Button1")->ClientToScreen(Point(0, 0));
    DragLine("Button1", "Panel1");
    EXPECT_EQ(C("Button1")->GetParent(), C("Panel1"));
    EXPECT_EQ(UndoSteps(), Steps + 1);
    EXPECT_EQ(Shown(), (std::vector<String>{"0 Form1", "1 Panel1", "2 Button1", "1 Button2"}));
    // Kept inside the panel, which it lay outside of.
    const TRect In = C("Button1")->GetBoundsRect();
    EXPECT_GE(In.Left, 0);
    EXPECT_LE(In.Right, C("Panel1")->GetClientWidth());
    EXPECT_NE(C("Button1")->ClientToScreen(Point(0, 0)), Before);
    Run("saveas tree.form");
    TDesignedForm Read = ReadDesignedForm(File("tree.form"), nullptr);
    auto* Saved = dynamic_cast<TControl*>(Read.Form->FindComponent("Button1"));
    ASSERT_NE(Saved, nullptr);
    ASSERT_NE(Saved->GetParent(), nullptr);
    EXPECT_EQ(Saved->GetParent()->GetName(), "Panel1");
    Run("undo");
    EXPECT_EQ(C("Button1")->GetParent(), Designer().GetForm());
    Run("redo");
    EXPECT_EQ(C("Button1")->GetParent(), C("Panel1"));
    // Back onto the form's line.
    DragLine("Button1", "Form1");
    EXPECT_EQ(C("Button1")->GetParent(), Designer().GetForm());
}

// Containers take children; buttons do not, and a container never goes
// inside itself: each refused drop says why and changes nothing.
TEST_F(ComponentTreeTest, ADropOntoWhatCannotHoldItIsRefused) {
    std::vector<String> Told;
    Designer().OnError = [&](const String& Message) { Told.push_back(Message); };
    DragLine("Button2", "Panel1");
    const String Before = SnapshotForm(*Designer().GetForm());
    const size_t Steps = UndoSteps();
    struct TCase {
        const char* Dragged;
        const char* Onto;
    };
    for (const TCase& Case : {TCase{"Button1", "Button2"}, TCase{"Panel1", "Button2"}}) {
        DragLine(Case.Dragged, Case.Onto);
        EXPECT_EQ(SnapshotForm(*Designer().GetForm()), Before) << Case.Dragged;
    }
    ASSERT_EQ(Told.size(), 2u);
    EXPECT_NE(Told[0].find("Button2"), String::npos) << Told[0];
    EXPECT_EQ(UndoSteps(), Steps);
    EXPECT_FALSE(Designer().CanHold(Find<TPanel>("Panel1"), C("Panel1")));
    EXPECT_THROW(Designer().Reparent({C("Panel1")}, Find<TPanel>("Panel1")), EInvalidOperation);
    EXPECT_EQ(SnapshotForm(*Designer().GetForm()), Before);
}

// On the form itself: a control dragged and let go over a container goes
// into it at the dropped place; one let go over a button stays beside it.
TEST_F(ComponentTreeTest, DraggingOnTheFormIntoAContainer) {
    const size_t Steps = UndoSteps();
    TControl* Panel = C("Panel1");
    const TPoint Into = Panel->ClientToScreen(Point(40, 24));
    const TPoint From = C("Button1")->ClientToScreen(Point(4, 4));
    Host.Drag(From, Into, 8);
    Host.RunUntilIdle();
    EXPECT_EQ(C("Button1")->GetParent(), Panel);
    EXPECT_EQ(UndoSteps(), Steps + 1) << "the move and the new parent are one step";
    const TPoint Landed = C("Button1")->ClientToScreen(Point(4, 4));
    EXPECT_LE(std::abs(Landed.X - Into.X), Designer().GetGridSize());
    EXPECT_LE(std::abs(Landed.Y - Into.Y), Designer().GetGridSize());
    Run("drag Button2 -150 0");
    EXPECT_EQ(C("Button2")->GetParent(), Designer().GetForm());
}

// The tab order dialog lists a parent's controls in tab order; Up and Down
// move the chosen one, OK applies the order as one step, Cancel nothing.
TEST_F(ComponentTreeTest, TheTabOrderDialogReordersAParentsControls) {
    auto Order = [&] {
        std::vector<String> Names;
        for (TWinControl* W : TabOrderControls(*Designer().GetForm(), Designer().GetForm()))
            Names.push_back(W->GetName());
        return Names;
    };
    EXPECT_EQ(Order(), (std::vector<String>{"Panel1", "Button1", "Button2"}));
    const size_t Steps = UndoSteps();
    Run("select Button2\n"
        "mainmenu Component > Tab order...\n"
        "dialog-click UpButton\n"
        "dialog-click UpButton\n"
        "dialog-click CancelButton\n");
    EXPECT_EQ(Order(), (std::vector<String>{"Panel1", "Button1", "Button2"}));
    EXPECT_EQ(UndoSteps(), Steps);
    // The chosen line starts on the first control; Down takes it to the end
    // and no further.
    Run("mainmenu Component > Tab order...\n"
        "dialog-click DownButton\n"
        "dialog-click DownButton\n"
        "dialog-click DownButton\n"
        "dialog-click OKButton\n");
    EXPECT_EQ(Order(), (std::vector<String>{"Button1", "Button2", "Panel1"}));
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("undo");
    EXPECT_EQ(Order(), (std::vector<String>{"Panel1", "Button1", "Button2"}));
    // Within a container: its own controls.
    DragLine("Button1", "Panel1");
    DragLine("Button2", "Panel1");
    Run("select Panel1");
    EXPECT_EQ(TabOrderParent(Designer()), C("Panel1"));
    Run("select Button1");
    EXPECT_EQ(TabOrderParent(Designer()), C("Panel1"));
    TTabOrderDialog Dialog(*Find<TPanel>("Panel1"), Designer().GetForm());
    EXPECT_EQ(Dialog.List().GetItems()->GetCount(), 2);
    Dialog.MoveChosen(-1);
    EXPECT_EQ(Dialog.Order().front()->GetName(), "Button1") << "nothing above the first";
    Dialog.MoveChosen(1);
    ApplyTabOrder(Designer(), Dialog.Order());
    EXPECT_EQ(TabOrderControls(*Find<TPanel>("Panel1"), Designer().GetForm()).front()->GetName(),
              "Button2");
}

} // namespace
} // namespace designer::test
