// The pieces push-style controls and lists of rows share: what holds a
// control down, and which row a list shows first.
#include "framework/ui/controls/PressTracker.h"
#include "framework/ui/stdctrls/RowScrolling.h"

#include <gtest/gtest.h>

namespace folio {
namespace {

// Each step's answer (did the held look change?) and the look after it.
TEST(PressTracker, EachStepSaysWhetherTheHeldLookChanged) {
    enum TStep { Down, MoveOut, MoveIn, Up, Space, SpaceUp, Cancel };
    struct TCase {
        const char* Name;
        std::vector<TStep> Steps;
        std::vector<bool> Changed;
        bool PressedAfter;
    };
    const TCase Cases[] = {
        {"click", {Down, Up}, {true, true}, false},
        {"out and back", {Down, MoveOut, MoveIn}, {true, true, true}, true},
        {"let go outside", {Down, MoveOut, Up}, {true, true, false}, false},
        {"moves without the button", {MoveOut, MoveIn}, {false, false}, false},
        {"space", {Space, SpaceUp}, {true, true}, false},
        {"space holds through the mouse",
         {Space, Down, MoveOut, Up},
         {true, false, false, false},
         true},
        {"cancel lets go of all", {Space, Down, Cancel}, {true, false, true}, false},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPressTracker P;
        std::vector<bool> Changed;
        for (TStep S : C.Steps) {
            switch (S) {
            case Down:
                Changed.push_back(P.MouseDown());
                break;
            case MoveOut:
                Changed.push_back(P.MouseMove(false));
                break;
            case MoveIn:
                Changed.push_back(P.MouseMove(true));
                break;
            case Up:
                Changed.push_back(P.MouseUp());
                break;
            case Space:
                Changed.push_back(P.SpaceDown());
                break;
            case SpaceUp:
                Changed.push_back(P.SpaceUp());
                break;
            case Cancel:
                Changed.push_back(P.Cancel());
                break;
            }
        }
        EXPECT_EQ(Changed, C.Changed);
        EXPECT_EQ(P.IsPressed(), C.PressedAfter);
    }
}

TEST(RowScrolling, TheTopRowMovesOnlyAsFarAsShowingTheRowNeeds) {
    struct TCase {
        int Row, Top, Page, Expected;
    };
    const TCase Cases[] = {
        {5, 0, 10, 0},   // on the page
        {9, 0, 10, 0},   // its last row
        {10, 0, 10, 1},  // one beyond: the page moves by one
        {40, 0, 10, 31}, // far below: the row ends the page
        {3, 8, 10, 3},   // above: the row begins the page
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(TopRowShowing(C.Row, C.Top, C.Page), C.Expected) << C.Row << " from " << C.Top;
    // A notch away from the user goes up by the rows of a notch.
    EXPECT_EQ(TopRowAfterWheel(10, 120, 3), 7);
    EXPECT_EQ(TopRowAfterWheel(10, -240, 1), 12);
}

} // namespace
} // namespace folio
