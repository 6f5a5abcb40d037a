#include "DesignerFixture.h"

#include "AlignCommands.h"
#include "DesignedForm.h"

namespace designer::test {
namespace {

// Three controls of different sizes lined up on the middle one, command by
// command.
TEST(AlignCommands, LineUpAndSizeOnTheReference) {
    const std::vector<TRect> Bounds = {Rect(10, 10, 50, 30), Rect(100, 40, 160, 80),
                                       Rect(200, 5, 220, 105)};
    const struct {
        TAlignCommand Command;
        std::vector<TRect> Result;
    } Cases[] = {
        {acLefts, {Rect(100, 10, 140, 30), Rect(100, 40, 160, 80), Rect(100, 5, 120, 105)}},
        {acCentres, {Rect(110, 10, 150, 30), Rect(100, 40, 160, 80), Rect(120, 5, 140, 105)}},
        {acRights, {Rect(120, 10, 160, 30), Rect(100, 40, 160, 80), Rect(140, 5, 160, 105)}},
        {acTops, {Rect(10, 40, 50, 60), Rect(100, 40, 160, 80), Rect(200, 40, 220, 140)}},
        {acMiddles, {Rect(10, 50, 50, 70), Rect(100, 40, 160, 80), Rect(200, 10, 220, 110)}},
        {acBottoms, {Rect(10, 60, 50, 80), Rect(100, 40, 160, 80), Rect(200, -20, 220, 80)}},
        {acSameWidth, {Rect(10, 10, 70, 30), Rect(100, 40, 160, 80), Rect(200, 5, 260, 105)}},
        {acSameHeight, {Rect(10, 10, 50, 50), Rect(100, 40, 160, 80), Rect(200, 5, 220, 45)}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Command));
        EXPECT_EQ(AlignedBounds(Bounds, 1, C.Command), C.Result);
    }
    EXPECT_EQ(AlignedBounds(Bounds, 3, acLefts), Bounds) << "a reference out of range";
}

// Spacing keeps the outermost two and shares the room between them out in
// gaps that differ by a pixel at most, whatever order the controls were
// selected in; with fewer than three nothing moves.
TEST(AlignCommands, SpacingSharesTheRoomBetweenTheOutermostControls) {
    const std::vector<TRect> Across = {Rect(300, 0, 320, 10), Rect(0, 0, 40, 10),
                                       Rect(50, 0, 60, 10), Rect(61, 0, 71, 10)};
    const std::vector<TRect> Spaced = AlignedBounds(Across, 0, acSpaceAcross);
    EXPECT_EQ(Spaced[0], Across[0]);
    EXPECT_EQ(Spaced[1], Across[1]);
    const int Gap1 = Spaced[2].Left - Spaced[1].Right;
    const int Gap2 = Spaced[3].Left - Spaced[2].Right;
    const int Gap3 = Spaced[0].Left - Spaced[3].Right;
    EXPECT_LE(std::max({Gap1, Gap2, Gap3}) - std::min({Gap1, Gap2, Gap3}), 1);
    EXPECT_EQ(Gap1 + Gap2 + Gap3, 300 - 40 - 10 - 10);
    EXPECT_EQ(Spaced[2].Width(), 10);
    EXPECT_EQ(Spaced[2].Top, 0);
    // Down, on overlapping controls: they spread back into order.
    const std::vector<TRect> Down = {Rect(0, 0, 10, 50), Rect(0, 10, 10, 60), Rect(0, 20, 10, 70)};
    const std::vector<TRect> Out = AlignedBounds(Down, 2, acSpaceDown);
    EXPECT_EQ(Out[0], Down[0]);
    EXPECT_EQ(Out[2], Down[2]);
    EXPECT_EQ(Out[1].Top, 10);
    const std::vector<TRect> Two = {Rect(0, 0, 10, 10), Rect(50, 0, 60, 10)};
    EXPECT_EQ(AlignedBounds(Two, 0, acSpaceAcross), Two);
}

class AlignTest : public DesignerTest {
protected:
    AlignTest() {
        Run("drop TButton 16 16\n"
            "drop TButton 112 40\n"
            "drop TButton 208 64\n"
            "drop TPanel 16 120\n"
            "drop TButton 300 300\n");
    }
    TControl* C(const String& Name) { return Find<TControl>(Name); }
};

// An align command moves the selected controls of the current one's
// parent as one change; undo puts them back.
TEST_F(AlignTest, AlignCommandsMoveTheSelectionAsOneChange) {
    Run("select Button1\n"
        "shift-click Button3\n"
        "shift-click Button2\n");
    const size_t Steps = UndoSteps();
    Designer().AlignSelection(acTops);
    for (const char* Name : {"Button1", "Button2", "Button3"}) EXPECT_EQ(C(Name)->GetTop(), 40);
    EXPECT_EQ(UndoSteps(), Steps + 1);
    Run("undo\n"
        "expect-selection Button1 Button2 Button3\n");
    EXPECT_EQ(C("Button1")->GetTop(), 16);
    EXPECT_EQ(C("Button3")->GetTop(), 64);
    // One control alone, or nothing to move, is no change.
    // A click on one of several, without a drag, selects it alone.
    Run("select Button1\n"
        "expect-selection Button1\n");
    Designer().AlignSelection(acLefts);
    EXPECT_EQ(UndoSteps(), Steps);
    Run("select Button1\nshift-click Button2\n");
    EXPECT_EQ(UndoSteps(), Steps);
    Designer().AlignSelection(acSpaceAcross);
    EXPECT_EQ(UndoSteps(), Steps);
}

// Bring to front and send to back change the order among siblings, and the
// form file keeps it: undo and a save and open give the same order.
TEST_F(AlignTest, FrontAndBackOrderIsKeptByTheFormFile) {
    auto Order = [&] {
        std::vector<String> Names;
        TForm* Form = Designer().GetForm();
        for (int I = 0; I < Form->ControlCount(); ++I)
            if (Form->Controls(I)->GetOwner() == Form)
                Names.push_back(Form->Controls(I)->GetName());
        return Names;
    };
    Run("select Button1");
    Designer().BringSelectionToFront();
    EXPECT_EQ(Order(), (std::vector<String>{"Button2", "Button3", "Panel1", "Button4", "Button1"}));
    Run("select Button3\nshift-click Panel1\n");
    Designer().SendSelectionToBack();
    const std::vector<String> Sent{"Button3", "Panel1", "Button2", "Button4", "Button1"};
    EXPECT_EQ(Order(), Sent);
    Run("undo\nredo\n");
    EXPECT_EQ(Order(), Sent);
    Run("saveas order.form\nnew\nopen order.form\n");
    EXPECT_EQ(Order(), Sent);
}

} // namespace
} // namespace designer::test
