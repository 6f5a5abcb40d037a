#include "DesignerFixture.h"

#include "Guides.h"

namespace designer::test {
namespace {

// The nearest line within reach wins on each axis, edges and centres alike;
// beyond reach nothing snaps.
TEST(Guides, AMovingControlSnapsToTheNearestLineOfANeighbourOrTheParent) {
    const TRect Parent = Rect(0, 0, 400, 300);
    const std::vector<TRect> Others = {Rect(100, 100, 180, 125)};
    const struct {
        TRect Moving;
        int DX, DY;
        std::optional<int> GuideX, GuideY;
    } Cases[] = {
        // Its left edge 3 pixels right of the neighbour's: back onto it.
        {Rect(103, 200, 143, 220), -3, 0, 100, std::nullopt},
        // Its right edge 2 pixels short of the neighbour's left: the edges meet.
        {Rect(58, 200, 98, 220), 2, 0, 100, std::nullopt},
        // Centres: 140 is the neighbour's; 20 + 122 = 142 is the moving one's.
        {Rect(122, 200, 162, 220), -2, 0, 140, std::nullopt},
        // Tops line up, and the left edge with the parent's.
        {Rect(3, 101, 43, 121), -3, -1, 0, 100},
        // The parent's bottom.
        {Rect(250, 276, 290, 298), 0, 2, std::nullopt, 300},
        // Out of reach on both axes.
        {Rect(250, 170, 290, 190), 0, 0, std::nullopt, std::nullopt},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Moving.Left);
        const TGuideSnap S = SnapToGuides(C.Moving, Others, Parent, 4);
        EXPECT_EQ(S.DX, C.DX);
        EXPECT_EQ(S.DY, C.DY);
        EXPECT_EQ(S.GuideX, C.GuideX);
        EXPECT_EQ(S.GuideY, C.GuideY);
    }
    const TEdgeSnap E = SnapEdge(177, true, Others, Parent, 4);
    EXPECT_EQ(E.Value, 180);
    EXPECT_EQ(E.Guide, 180);
    EXPECT_FALSE(SnapEdge(190, true, Others, Parent, 4).Guide);
}

// Dragged near a neighbour, a control lines up with it instead of the grid
// and the guide shows while the button is down, with the position beside
// the pointer; letting go takes both away.
TEST_F(DesignerTest, ADraggedControlLinesUpWithItsNeighbourAndShowsTheGuide) {
    Run("drop TButton 16 16\n"
        "drop TButton 200 100\n");
    auto* First = Find<TButton>("Button1");
    auto* Second = Find<TButton>("Button2");
    First->SetLeft(19); // off the grid, as a hand-made form may have it
    const TPoint From = Second->ClientToScreen(Point(5, 5));
    Host.MoveTo(From);
    Host.Press();
    // Left of 200 - 178 = 22 is 3 from the first button's 19.
    Host.MoveTo(From.X - 100, From.Y);
    Host.MoveTo(From.X - 178, From.Y);
    Host.RunUntilIdle();
    EXPECT_EQ(Second->GetLeft(), 19);
    EXPECT_TRUE(Designer().GetGuideLines().VerticalShown());
    EXPECT_TRUE(Designer().GetPositionHint().GetVisible());
    EXPECT_EQ(Designer().GetPositionHint().GetHintText(), "19, 104");
    Host.Release();
    Host.RunUntilIdle();
    EXPECT_EQ(Second->GetLeft(), 19);
    EXPECT_FALSE(Designer().GetGuideLines().VerticalShown());
    EXPECT_FALSE(Designer().GetPositionHint().GetVisible());
    // Without guides the grid has it.
    Designer().SetSnapToGuides(false);
    Run("drag Button2 3 0");
    EXPECT_EQ(Second->GetLeft(), 24);
}

// A handle lines the edge it moves up with a neighbour's and shows the size.
TEST_F(DesignerTest, AHandleLinesTheEdgeUpAndShowsTheSize) {
    Run("drop TButton 16 16\n"
        "drop TButton 16 100\n");
    auto* First = Find<TButton>("Button1");
    First->SetWidth(101); // its right edge at 117, off the grid
    Run("select Button2");
    auto* Second = Find<TButton>("Button2");
    // The right middle handle.
    const auto& Handle = Designer().GetHandles().Handles()[3];
    const TPoint From = Handle->ClientToScreen(Point(2, 2));
    Host.MoveTo(From);
    Host.Press();
    const int Needed = 117 - Second->GetBoundsRect().Right;
    Host.MoveTo(From.X + Needed - 2, From.Y);
    Host.RunUntilIdle();
    EXPECT_EQ(Second->GetBoundsRect().Right, 117);
    EXPECT_TRUE(Designer().GetGuideLines().VerticalShown());
    EXPECT_EQ(Designer().GetPositionHint().GetHintText(),
              std::to_string(Second->GetWidth()) + " x " + std::to_string(Second->GetHeight()));
    Host.Release();
    EXPECT_EQ(Second->GetBoundsRect().Right, 117);
    EXPECT_FALSE(Designer().GetGuideLines().VerticalShown());
}

} // namespace
} // namespace designer::test
