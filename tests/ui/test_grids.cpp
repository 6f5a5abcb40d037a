#include "framework/ui/grids/Grids.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <utility>
#include <vector>

using namespace folio;

namespace {

// A grid that can refuse cells and counts its clicks.
struct TProbeGrid : TCustomGrid {
    explicit TProbeGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
        // Cells of 30 x 20 with one-pixel lines: column c starts at 31 c,
        // row r at 21 r.
        SetDefaultColWidth(30);
        SetDefaultRowHeight(20);
        SetBounds(0, 0, 200, 150);
    }
    struct TDrawn {
        int Col, Row;
        TRect Rect;
        TGridDrawState State;
    };
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override {
        Drawn.push_back({ACol, ARow, ARect, AState});
    }
    const TDrawn* Find(int ACol, int ARow) const {
        for (const TDrawn& D : Drawn)
            if (D.Col == ACol && D.Row == ARow) return &D;
        return nullptr;
    }
    bool SelectCell(int ACol, int ARow) override {
        return !Refused.count({ACol, ARow}) && TCustomGrid::SelectCell(ACol, ARow);
    }
    void Click() override {
        ++Clicks;
        TCustomGrid::Click();
    }
    void Key(unsigned short Key, TShiftState Shift = {}) { KeyDown(Key, Shift); }
    void ClickAt(int ACol, int ARow, unsigned Keys = 0) {
        const int X = ACol * 31 + 15, Y = ARow * 21 + 10;
        Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, MAKELPARAM(X, Y));
        Perform(WM_LBUTTONUP, Keys, MAKELPARAM(X, Y));
    }

    std::set<std::pair<int, int>> Refused;
    std::vector<TDrawn> Drawn;
    int Clicks = 0;
};

} // namespace

TEST(Grid, Defaults) {
    TCustomGrid Grid(nullptr);
    EXPECT_EQ(Grid.GetColCount(), 5);
    EXPECT_EQ(Grid.GetRowCount(), 5);
    EXPECT_EQ(Grid.GetFixedCols(), 1);
    EXPECT_EQ(Grid.GetFixedRows(), 1);
    EXPECT_EQ(Grid.GetDefaultColWidth(), 64);
    EXPECT_EQ(Grid.GetDefaultRowHeight(), 24);
    EXPECT_EQ(Grid.GetGridLineWidth(), 1);
    EXPECT_EQ(Grid.GetScrollBars(), ssBoth);
    EXPECT_EQ(Grid.GetBorderStyle(), bsSingle);
    EXPECT_TRUE(Grid.GetOptions().Contains(goRangeSelect));
    EXPECT_TRUE(Grid.GetTabStop());
    EXPECT_EQ(Grid.GetCol(), 1);
    EXPECT_EQ(Grid.GetRow(), 1);
    EXPECT_EQ(Grid.GetWidth(), 320);
    EXPECT_EQ(Grid.GetHeight(), 120);
}

TEST(Grid, CellGeometryAndHitTesting) {
    TProbeGrid Grid(nullptr);
    EXPECT_EQ(Grid.CellRect(0, 0), Rect(0, 0, 30, 20));
    EXPECT_EQ(Grid.CellRect(2, 1), Rect(62, 21, 92, 41));
    EXPECT_EQ(Grid.CellRect(5, 1), TRect{}); // no such column

    int Col = 0, Row = 0;
    Grid.MouseToCell(61, 20, Col, Row); // on the lines after cell (1, 0)
    EXPECT_EQ(Col, 1);
    EXPECT_EQ(Row, 0);
    Grid.MouseToCell(62, 21, Col, Row);
    EXPECT_EQ(Col, 2);
    EXPECT_EQ(Row, 1);
    Grid.MouseToCell(190, 140, Col, Row); // beyond the last column and row
    EXPECT_EQ(Col, -1);
    EXPECT_EQ(Row, -1);

    Grid.SetColWidths(1, 50);
    EXPECT_EQ(Grid.CellRect(2, 1).Left, 82);
    EXPECT_EQ(Grid.MouseCoord(81, 0), (TGridCoord{1, 0}));
    // A new default width drops the per-column ones.
    Grid.SetDefaultColWidth(30);
    EXPECT_EQ(Grid.GetColWidths(1), 30);

    // Without lines the cells touch.
    Grid.SetOptions({});
    EXPECT_EQ(Grid.CellRect(2, 1), Rect(60, 20, 90, 40));
}

TEST(Grid, ArrowKeysMoveTheCurrentCellAndClick) {
    TProbeGrid Grid(nullptr);
    Grid.Key(VK_RIGHT);
    Grid.Key(VK_DOWN);
    EXPECT_EQ(Grid.GetCol(), 2);
    EXPECT_EQ(Grid.GetRow(), 2);
    EXPECT_EQ(Grid.Clicks, 2);
    Grid.Key(VK_END);
    EXPECT_EQ(Grid.GetCol(), 4);
    Grid.Key(VK_HOME, {ssCtrl});
    EXPECT_EQ(Grid.GetCol(), 1);
    EXPECT_EQ(Grid.GetRow(), 1);
    // The fixed cells are never reached; a key that moves nothing clicks nothing.
    const int Clicks = Grid.Clicks;
    Grid.Key(VK_UP);
    Grid.Key(VK_LEFT);
    EXPECT_EQ(Grid.GetCol(), 1);
    EXPECT_EQ(Grid.GetRow(), 1);
    EXPECT_EQ(Grid.Clicks, Clicks);
    Grid.Key(VK_NEXT);
    EXPECT_EQ(Grid.GetRow(), 4);
}

TEST(Grid, RefusedCellsKeepTheCurrentOne) {
    TProbeGrid Grid(nullptr);
    Grid.Refused = {{2, 1}, {3, 3}};
    Grid.Key(VK_RIGHT);
    EXPECT_EQ(Grid.GetCol(), 1);
    Grid.ClickAt(3, 3);
    EXPECT_EQ(Grid.GetCol(), 1);
    EXPECT_EQ(Grid.GetRow(), 1);
    EXPECT_EQ(Grid.Clicks, 0);
    Grid.MoveColRow(3, 3, true, false);
    EXPECT_EQ(Grid.GetRow(), 1);
}

TEST(Grid, MouseSelectsCellsAndRanges) {
    TProbeGrid Grid(nullptr);
    Grid.ClickAt(2, 2);
    EXPECT_EQ(Grid.GetCol(), 2);
    EXPECT_EQ(Grid.GetRow(), 2);
    EXPECT_EQ(Grid.Clicks, 1);
    // Shift extends a range from the anchor.
    Grid.ClickAt(4, 3, MK_SHIFT);
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{2, 2, 4, 3}));
    // Dragging does too.
    Grid.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(31 + 5, 21 + 5));
    Grid.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3 * 31 + 5, 2 * 21 + 5));
    Grid.Perform(WM_LBUTTONUP, 0, MAKELPARAM(3 * 31 + 5, 2 * 21 + 5));
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{1, 1, 3, 2}));
    // A fixed cell is no target.
    Grid.ClickAt(0, 3);
    EXPECT_EQ(Grid.GetCol(), 3);

    // Without range selection the selection is the current cell alone.
    Grid.SetOptions(Grid.GetOptions() - TGridOptions{goRangeSelect});
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{3, 2, 3, 2}));
    Grid.ClickAt(4, 4, MK_SHIFT);
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{4, 4, 4, 4}));
    Grid.Key(VK_LEFT, {ssShift});
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{3, 4, 3, 4}));
}

TEST(Grid, KeysExtendARangeWithShift) {
    TProbeGrid Grid(nullptr);
    Grid.Key(VK_RIGHT, {ssShift});
    Grid.Key(VK_DOWN, {ssShift});
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{1, 1, 2, 2}));
    Grid.Key(VK_RIGHT);
    EXPECT_EQ(Grid.GetSelection(), (TGridRect{3, 2, 3, 2}));
}

TEST(Grid, ScrollsToKeepTheCurrentCellInView) {
    TProbeGrid Grid(nullptr);
    Grid.SetColCount(20);
    Grid.SetRowCount(30);
    Grid.Key(VK_END, {ssCtrl});
    EXPECT_EQ(Grid.GetCol(), 19);
    EXPECT_EQ(Grid.GetRow(), 29);
    const TRect Cell = Grid.CellRect(19, 29);
    EXPECT_FALSE(Cell.IsEmpty());
    EXPECT_LE(Cell.Right, 200);
    EXPECT_LE(Cell.Bottom, 150);
    EXPECT_GT(Grid.GetLeftCol(), 1);
    EXPECT_TRUE(Grid.CellRect(1, 1).IsEmpty());
    // The fixed column stays where it is.
    EXPECT_EQ(Grid.CellRect(0, 0), Rect(0, 0, 30, 20));
    EXPECT_EQ(Grid.MouseCoord(40, 30), (TGridCoord{Grid.GetLeftCol(), Grid.GetTopRow()}));

    Grid.Key(VK_HOME, {ssCtrl});
    EXPECT_EQ(Grid.GetLeftCol(), 1);
    EXPECT_EQ(Grid.GetTopRow(), 1);
}

TEST(Grid, ShapeChangesKeepTheCurrentCellValid) {
    TProbeGrid Grid(nullptr);
    Grid.MoveColRow(4, 4, true, true);
    Grid.SetColCount(3);
    Grid.SetRowCount(2);
    EXPECT_EQ(Grid.GetCol(), 2);
    EXPECT_EQ(Grid.GetRow(), 1);
    EXPECT_THROW(Grid.SetFixedCols(3), EInvalidOperation);
    EXPECT_THROW(Grid.SetFixedRows(-1), EInvalidOperation);
    EXPECT_THROW(Grid.MoveColRow(5, 1, true, false), EInvalidOperation);
    EXPECT_THROW(Grid.MoveColRow(0, 1, true, false), EInvalidOperation);
    // Fewer columns than fixed ones takes the fixed count down with it.
    Grid.SetColCount(1);
    EXPECT_EQ(Grid.GetFixedCols(), 0);
    EXPECT_EQ(Grid.GetCol(), 0);
    Grid.SetColCount(-4);
    EXPECT_EQ(Grid.GetColCount(), 1);
}

TEST(Grid, WantsArrowKeys) {
    TProbeGrid Grid(nullptr);
    EXPECT_EQ(Grid.Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
    Grid.SetOptions(Grid.GetOptions() + TGridOptions{goTabs});
    EXPECT_EQ(Grid.Perform(WM_GETDLGCODE), DLGC_WANTARROWS | DLGC_WANTTAB);
    Grid.Key(VK_TAB);
    Grid.Key(VK_TAB);
    Grid.Key(VK_TAB);
    Grid.Key(VK_TAB);
    EXPECT_EQ(Grid.GetCol(), 1);
    EXPECT_EQ(Grid.GetRow(), 2);
}

namespace {

// A probe grid without a border at (10, 10) of a borderless form.
struct GridPaint : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TProbeGrid* Grid = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 300, 200);
        Grid = new TProbeGrid(Form.get());
        Grid->SetBorderStyle(bsNone);
        // Out of the tab order, the grid does not get the keyboard as the
        // form opens: the tests give it when they look at the focused look.
        Grid->SetTabStop(false);
        Grid->SetBounds(10, 10, 200, 150);
        Grid->SetParent(Form.get());
        Form->Show();
        Host.RunUntilIdle();
    }
    void TearDown() override { Form.reset(); }
    TColor At(int X, int Y) const { return Host.Pixel(Form.get(), 10 + X, 10 + Y); }
    // The middle of a cell of the probe grid.
    TColor Middle(int ACol, int ARow) const { return At(ACol * 31 + 15, ARow * 21 + 10); }
};

} // namespace

TEST_F(GridPaint, CellsAreDrawnWithTheirRectanglesAndStates) {
    ASSERT_EQ(Grid->Drawn.size(), 25u);
    const auto* Corner = Grid->Find(0, 0);
    ASSERT_NE(Corner, nullptr);
    EXPECT_EQ(Corner->Rect, Rect(0, 0, 30, 20));
    EXPECT_EQ(Corner->State, TGridDrawState{gdFixed});
    EXPECT_EQ(Grid->Find(0, 3)->State, TGridDrawState{gdFixed});
    EXPECT_EQ(Grid->Find(1, 1)->State, TGridDrawState{gdSelected});
    EXPECT_EQ(Grid->Find(2, 3)->State, TGridDrawState{});
    EXPECT_EQ(Grid->Find(4, 2)->Rect, Rect(124, 42, 154, 62));

    // With the focus the current cell is drawn focused.
    Grid->SetFocus();
    Grid->Drawn.clear();
    Grid->Invalidate();
    Host.RunUntilIdle();
    EXPECT_EQ(Grid->Find(1, 1)->State, (TGridDrawState{gdSelected, gdFocused}));
}

TEST_F(GridPaint, FixedSelectedAndPlainCellColours) {
    const TColor Window = ColorToRGB(clWindow);
    const TColor Highlight = ColorToRGB(clHighlight);
    EXPECT_EQ(Middle(0, 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(Middle(2, 2), Window);
    // The current cell of a range stays plain; the rest of the range is
    // highlighted.
    Grid->Key(VK_RIGHT, {ssShift});
    Grid->Key(VK_DOWN, {ssShift});
    Host.RunUntilIdle();
    EXPECT_EQ(Middle(1, 1), Highlight);
    EXPECT_EQ(Middle(2, 1), Highlight);
    EXPECT_EQ(Middle(1, 2), Highlight);
    EXPECT_EQ(Middle(2, 2), Window);
    EXPECT_EQ(Middle(3, 2), Window);
    Grid->SetOptions(Grid->GetOptions() + TGridOptions{goDrawFocusSelected});
    Host.RunUntilIdle();
    EXPECT_EQ(Middle(2, 2), Highlight);
    Grid->SetFixedColor(clRed);
    Host.RunUntilIdle();
    EXPECT_EQ(Middle(0, 2), clRed);
}

TEST_F(GridPaint, LinesFollowTheOptions) {
    // The line after column 2 (x = 92) and below row 2 (y = 62).
    EXPECT_EQ(At(92, 50), ColorToRGB(clSilver));
    EXPECT_EQ(At(100, 62), ColorToRGB(clSilver));
    EXPECT_EQ(At(30, 50), clBlack); // after the fixed column
    Grid->SetOptions({goFixedVertLine, goFixedHorzLine});
    Host.RunUntilIdle();
    // The space stays but only the fixed cells draw their lines.
    EXPECT_EQ(At(92, 50), ColorToRGB(clWindow));
    EXPECT_EQ(At(30, 50), clBlack);
    Grid->SetGridLineWidth(3);
    Host.RunUntilIdle();
    EXPECT_EQ(Grid->CellRect(2, 2), Rect(66, 46, 96, 66));
    EXPECT_EQ(At(31, 50), clBlack);
    EXPECT_EQ(At(32, 50), clBlack);
}

TEST_F(GridPaint, SingleBorderTakesTheClientEdge) {
    Grid->SetBorderStyle(bsSingle);
    EXPECT_EQ(Grid->GetClientWidth(), 196);
    Grid->SetCtl3D(false);
    EXPECT_EQ(Grid->GetClientWidth(), 198);
}
