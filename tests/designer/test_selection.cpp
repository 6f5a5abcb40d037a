#include "DesignerFixture.h"

#include "DesignedForm.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/app/Clipboard.h"

#include <algorithm>

namespace designer::test {
namespace {

// Three buttons in a row and a panel below them.
class SelectionTest : public DesignerTest {
protected:
    SelectionTest() {
        Run("drop TButton 16 16\n"
            "drop TButton 112 16\n"
            "drop TButton 208 16\n"
            "drop TPanel 16 120\n");
    }
    TButton* B(int N) { return Find<TButton>("Button" + std::to_string(N)); }
    std::vector<TRect> Bounds() {
        std::vector<TRect> R;
        for (int N = 1; N <= 3; ++N) R.push_back(B(N)->GetBoundsRect());
        return R;
    }
};

// Shift and Ctrl with a click add a component or take it out; a plain click
// selects one alone. The form never shares a selection.
TEST_F(SelectionTest, ShiftAndCtrlClicksAddAndRemoveComponents) {
    const struct {
        const char* Steps;
        std::vector<String> Selected;
    } Cases[] = {
        {"select Button1\nshift-click Button2\n", {"Button1", "Button2"}},
        {"ctrl-click Button3\n", {"Button1", "Button2", "Button3"}},
        {"shift-click Button2\n", {"Button1", "Button3"}},
        {"ctrl-click Button1\nctrl-click Button3\n", {}},
        {"select Form1\nshift-click Panel1\n", {"Panel1"}},
        {"select Button2\n", {"Button2"}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Steps);
        Run(C.Steps);
        std::vector<String> Names;
        for (TPersistent* P : Designer().GetSelectionList())
            Names.push_back(dynamic_cast<TComponent*>(P)->GetName());
        if (C.Selected.empty()) {
            // The last one out leaves the form selected.
            EXPECT_EQ(Designer().GetSelection(), Designer().GetForm());
            continue;
        }
        std::sort(Names.begin(), Names.end());
        EXPECT_EQ(Names, C.Selected);
        // One has handles; several have grey marks, four each.
        const bool Several = C.Selected.size() > 1;
        EXPECT_EQ(Designer().GetHandles().GetControl() != nullptr, !Several);
        EXPECT_EQ(Designer().GetMarks().Count(), Several ? 4 * int(C.Selected.size()) : 0);
    }
}

// The band selects the form's controls it touches; a band with Shift adds
// them to the selection; a press without a drag selects the form.
TEST_F(SelectionTest, ABandOverTheFormSelectsTheControlsItTouches) {
    Run("band 8 8 130 30\n"
        "expect-selection Button1 Button2\n"
        "band 300 30 200 10\n"
        "expect-selection Button3\n"
        "band 0 110 30 130\n"
        "expect-selection Panel1\n"
        "select Button1\n"
        "band 300 8 250 30 shift\n"
        "expect-selection Button1 Button3\n"
        "band 400 400 401 401\n");
    EXPECT_EQ(Designer().GetSelection(), Designer().GetForm());
    EXPECT_TRUE(Designer().GetBandRect().IsEmpty());
    // The band lines went with the release.
    for (int I = 0; I < Designer().GetForm()->ControlCount(); ++I)
        EXPECT_NE(Designer().GetForm()->Controls(I)->GetOwner(), nullptr)
            << "a band line stayed on the form";
}

// Dragging one of several moves them all by the same amount (the one
// pressed lands on the grid), as one change that undo takes back whole and
// redo makes again, each with all three selected.
TEST_F(SelectionTest, ADragMovesTheWholeSelectionAsOneChange) {
    Run("band 8 8 300 30");
    const std::vector<TRect> Was = Bounds();
    const size_t Steps = UndoSteps();
    Run("drag Button2 21 43");
    const std::vector<TRect> Now = Bounds();
    const int DX = Now[0].Left - Was[0].Left;
    const int DY = Now[0].Top - Was[0].Top;
    EXPECT_EQ(DX, 24);
    EXPECT_EQ(DY, 40);
    for (int I = 0; I < 3; ++I)
        EXPECT_EQ(Now[I], OffsetRectBy(Was[I], DX, DY)) << "Button" << I + 1;
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("undo\n"
        "expect-selection Button1 Button2 Button3\n");
    EXPECT_EQ(Bounds(), Was);
    Run("redo\n"
        "expect-selection Button1 Button2 Button3\n");
    EXPECT_EQ(Bounds(), Now);
}

// The arrows move, Shift and the arrows size, and Delete deletes every
// selected control, each key one change.
TEST_F(SelectionTest, KeysActOnEverySelectedControlAsOneChange) {
    Run("select Button1\nshift-click Button3\n");
    const std::vector<TRect> Was = Bounds();
    size_t Steps = UndoSteps();
    Run("key Right\nkey Down\n");
    EXPECT_EQ(B(1)->GetBoundsRect(), OffsetRectBy(Was[0], 1, 1));
    EXPECT_EQ(B(3)->GetBoundsRect(), OffsetRectBy(Was[2], 1, 1));
    EXPECT_EQ(B(2)->GetBoundsRect(), Was[1]);
    Run("key shift+Right");
    EXPECT_EQ(B(1)->GetWidth(), Was[0].Width() + 1);
    EXPECT_EQ(B(3)->GetWidth(), Was[2].Width() + 1);
    EXPECT_EQ(UndoSteps(), Steps + 3);
    Steps = UndoSteps();
    Run("key Delete");
    EXPECT_EQ(B(1), nullptr);
    EXPECT_EQ(B(3), nullptr);
    EXPECT_NE(B(2), nullptr);
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("key ctrl+Z\n"
        "expect-selection Button1 Button3\n");
    EXPECT_NE(B(1), nullptr);
    EXPECT_NE(B(3), nullptr);
}

// A container and a control inside it selected together: the control goes
// with its container (deleted, moved and copied once), and nothing is left
// pointing at either.
TEST_F(SelectionTest, AControlInsideASelectedContainerGoesWithIt) {
    Clipboard()->SetAsText("object Inside: TButton\n  Left = 8\n  Top = 8\nend\n");
    Run("key ctrl+V");
    auto* Inside = Find<TButton>("Inside");
    ASSERT_NE(Inside, nullptr);
    ASSERT_EQ(Inside->GetParent(), Find<TPanel>("Panel1"));
    Run("select Panel1\n"
        "shift-click Inside\n");
    const TRect InsideWas = Inside->GetBoundsRect();
    Run("key Right");
    EXPECT_EQ(Inside->GetBoundsRect(), InsideWas) << "moved twice: with the panel and by itself";
    Run("key ctrl+C");
    EXPECT_EQ(Clipboard()->GetAsText().find("object Panel1"), 0u);
    EXPECT_EQ(Clipboard()->GetAsText().find("object Inside", 1),
              Clipboard()->GetAsText().find("object Inside"));
    Run("key Delete");
    EXPECT_EQ(Find<TPanel>("Panel1"), nullptr);
    EXPECT_EQ(Find<TButton>("Inside"), nullptr);
    EXPECT_EQ(Designer().GetSelection(), Designer().GetForm());
    Run("undo\nexpect-selection Panel1 Inside\n");
    // The panel alone goes with what it holds too, and comes back with it.
    Run("select Panel1\n"
        "key Delete\n");
    EXPECT_EQ(Find<TButton>("Inside"), nullptr);
    Run("undo");
    ASSERT_NE(Find<TButton>("Inside"), nullptr);
    EXPECT_EQ(Find<TButton>("Inside")->GetParent(), Find<TPanel>("Panel1"));
}

// Copy and paste of several: the blocks follow one another on the
// clipboard, and a paste makes them all, selected, as one change. A paste
// whose second block cannot be made changes nothing at all.
TEST_F(SelectionTest, SeveralComponentsAreCopiedAndPastedTogether) {
    Run("select Button1\nshift-click Button2\nkey ctrl+C\n");
    const String Copied = Clipboard()->GetAsText();
    EXPECT_NE(Copied.find("object Button1: TButton"), String::npos);
    EXPECT_NE(Copied.find("object Button2: TButton"), String::npos);
    const size_t Steps = UndoSteps();
    Run("select Form1\nkey ctrl+V\n"
        "expect-selection Button4 Button5\n");
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("undo");
    EXPECT_EQ(B(4), nullptr);

    const String Before = SnapshotForm(*Designer().GetForm());
    for (const char* Text :
         {"object A1: TButton\nend\nobject A2: TNoSuchClass\nend\n",
          "object A1: TButton\nend\nLeft = 3\n", "object A1: TButton\nend\nobject A2: TButton\n"}) {
        Clipboard()->SetAsText(Text);
        try {
            Designer().Paste();
            ADD_FAILURE() << Text << " pasted";
        } catch (const EFormError& E) {
            EXPECT_FALSE(E.Message().empty());
        }
        EXPECT_EQ(SnapshotForm(*Designer().GetForm()), Before) << Text;
        EXPECT_EQ(UndoSteps(), Steps) << Text;
    }
}

// The inspector shows what the selection shares and sets it on all, as one
// change; a component's own name is not among it.
TEST_F(SelectionTest, TheInspectorSetsASharedPropertyOnEverySelectedComponent) {
    Run("band 8 8 300 30");
    TObjectInspector& I = Window->Inspector();
    EXPECT_LT(I.FindRow("Name"), 0);
    ASSERT_GE(I.FindRow("Top"), 0);
    const size_t Steps = UndoSteps();
    Run("set Top 64\n"
        "expect Top 64\n");
    for (int N = 1; N <= 3; ++N) EXPECT_EQ(B(N)->GetTop(), 64);
    EXPECT_EQ(UndoSteps(), Steps + 1);
    // Values that differ show empty.
    Run("select Button1\n"
        "key Right\n"
        "shift-click Button2\n");
    EXPECT_EQ(I.RowValue(I.FindRow("Left")), "");
}

// While a control is dragged, the inspector shows where it is at each step,
// not only once the button is let go.
TEST_F(SelectionTest, TheInspectorFollowsADragAsItHappens) {
    Run("select Button1");
    TObjectInspector& I = Window->Inspector();
    const TPoint From = B(1)->ClientToScreen(Point(10, 10));
    Host.MoveTo(From);
    Host.Press();
    Host.MoveTo(From.X + 20, From.Y);
    Host.MoveTo(From.X + 40, From.Y);
    Host.RunUntilIdle();
    EXPECT_EQ(I.RowValue(I.FindRow("Left")), std::to_string(B(1)->GetLeft()));
    EXPECT_NE(B(1)->GetLeft(), 16);
    Host.Release();
}

} // namespace
} // namespace designer::test
