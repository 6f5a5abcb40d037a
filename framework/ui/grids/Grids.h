#pragma once

#include "framework/core/Set.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/forms/FormTypes.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <vector>

namespace folio {

// What a grid lets the user do and which lines it draws.
enum class TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking,
};
using enum TGridOption;
using TGridOptions = TSet<TGridOption>;

// How a cell is being drawn.
enum class TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using enum TGridDrawStateFlag;
using TGridDrawState = TSet<TGridDrawStateFlag>;

// A cell: X is the column, Y the row.
struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, all four bounds inclusive.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int ACol, int ARow) const {
        return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
    }
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

// A grid of cells: fixed rows and columns along the top and left edges that
// never scroll, a current cell the keyboard and the mouse move, and an
// anchor that, with goRangeSelect, spans a block of selected cells with it.
// Descendants draw the cells' content in DrawCell and may refuse cells in
// SelectCell. Each cell is followed by a grid line of GridLineWidth pixels
// to its right and below it. There are no scroll bar widgets: the grid
// scrolls by itself to keep the current cell in view.
class TCustomGrid : public TCustomControl {
    FOLIO_CLASS(TCustomGrid)
public:
    // The most columns, and the most rows, a grid has.
    static constexpr int MaxCellCount = 1 << 20;

    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    int GetColCount() const { return FColCount; }
    void SetColCount(int Value);
    int GetRowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int GetFixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int GetFixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    int GetDefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int GetDefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    // Per-column widths and per-row heights; setting the default resets them.
    int GetColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int GetRowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    int GetGridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    TGridOptions GetOptions() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TColor GetFixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);

    // The current cell. Setting Col or Row selects the cell as a click would
    // (SelectCell decides, Click follows).
    int GetCol() const { return FCurrent.X; }
    void SetCol(int Value);
    int GetRow() const { return FCurrent.Y; }
    void SetRow(int Value);
    // The selected block: the current cell and the anchor.
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect& Value);

    // The first scrollable column and row on show.
    int GetLeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int GetTopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    // Scrollable columns and rows that fit the client area whole.
    int GetVisibleColCount() const;
    int GetVisibleRowCount() const;

    // The client rectangle of a cell without its grid lines; empty when the
    // cell is scrolled out of view or does not exist.
    TRect CellRect(int ACol, int ARow) const;
    // The cell under a client point (a grid line belongs to the cell before
    // it); -1 for a column or row where there is none.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;

    // Moves the current cell when SelectCell accepts it. MoveAnchor false
    // extends a range selection; Show scrolls the cell into view. Raises
    // EInvalidOperation for a cell outside the scrollable part of the grid.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);

protected:
    // Asked before a cell becomes current; false keeps the current one.
    virtual bool SelectCell(int ACol, int ARow);
    // Draws a cell's content into ARect. The canvas brush holds the cell's
    // background (already filled) and the font the cell's text colour.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);

    void Paint() override;
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void CMCtl3DChanged(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

    void InvalidateCell(int ACol, int ARow);
    void InvalidateGrid() { Invalidate(); }

private:
    enum class TGridState { gsNormal, gsSelecting };

    // Moves the current cell (SelectCell deciding) and fires Click.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    bool MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    // Scrolls so that the cell is on show.
    void ClampInView(const TGridCoord& Cell);
    void InvalidateSelection(const TGridRect& Sel);
    // The client extent [Start, End) of a column or row, or false when it is
    // not on show.
    bool ColSpan(int ACol, int& Start, int& End) const;
    bool RowSpan(int ARow, int& Start, int& End) const;
    int VertLineWidth() const;
    int HorzLineWidth() const;
    // The cell index under a client position along one axis.
    int ColAt(int X) const;
    int RowAt(int Y) const;
    void SizeChanged();
    void CheckCoord(int ACol, int ARow) const;

    // Property table access: the options travel as the set's bits.
    long long GetOptionBits() const { return static_cast<long long>(FOptions.Bits()); }
    void SetOptionBits(long long Value);

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    std::vector<int> FColWidths; // empty: every column has the default width
    std::vector<int> FRowHeights;
    int FGridLineWidth = 1;
    TGridOptions FOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle FScrollBars = ssBoth;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FFixedColor;
    TGridCoord FCurrent{1, 1};
    TGridCoord FAnchor{1, 1};
    TGridCoord FTopLeft{1, 1};
    TGridState FGridState = TGridState::gsNormal;
    bool FPressSelected = false; // the current press selected a cell
};

} // namespace folio
