#pragma once

#include "framework/core/Set.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/forms/FormTypes.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <vector>

namespace folio {

/// What a grid lets the user do and which lines it draws. The sizing,
/// moving, editor-showing and thumb-tracking options are kept and stored
/// with a form, and change nothing in this grid.
enum class TGridOption {
    goFixedVertLine,     ///< lines between the fixed columns
    goFixedHorzLine,     ///< lines between the fixed rows
    goVertLine,          ///< lines between the scrollable columns
    goHorzLine,          ///< lines between the scrollable rows
    goRangeSelect,       ///< Shift with a key or a click, or a drag, selects a block
    goDrawFocusSelected, ///< the current cell is drawn selected too
    goRowSizing,         ///< kept and stored only
    goColSizing,         ///< kept and stored only
    goRowMoving,         ///< kept and stored only
    goColMoving,         ///< kept and stored only
    goEditing,           ///< a string grid edits the current cell in place
    goTabs,              ///< Tab and Shift+Tab move along the row, wrapping
    goRowSelect,         ///< the current cell is drawn selected, without a focus frame
    goAlwaysShowEditor,  ///< kept and stored only
    goThumbTracking,     ///< kept and stored only
};
using enum TGridOption;
/// A grid's options; by default the four kinds of lines and goRangeSelect.
using TGridOptions = TSet<TGridOption>;

/// How a cell is being drawn.
enum class TGridDrawStateFlag {
    gdSelected, ///< the cell is in the selection
    gdFocused,  ///< the cell is the current one and the grid has the focus
    gdFixed     ///< the cell is in a fixed row or column
};
using enum TGridDrawStateFlag;
/// The flags of a cell being drawn.
using TGridDrawState = TSet<TGridDrawStateFlag>;

/// A cell: X is the column, Y the row.
struct TGridCoord {
    /// The column, from 0.
    int X = 0;
    /// The row, from 0.
    int Y = 0;
    /// Same column and row.
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

/// A block of cells, all four bounds inclusive.
struct TGridRect {
    ///@{
    /// The first and last columns (Left, Right) and rows (Top, Bottom).
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    ///@}
    /// Whether cell (ACol, ARow) lies in the block.
    bool Contains(int ACol, int ARow) const {
        return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
    }
    /// Same four bounds.
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

/// A grid of cells: fixed rows and columns along the top and left edges that
/// never scroll, a current cell the keyboard and the mouse move, and an
/// anchor that, with goRangeSelect, spans a block of selected cells with it.
/// Descendants draw the cells' content in DrawCell and may refuse cells in
/// SelectCell. Each cell is followed by a grid line of GridLineWidth pixels
/// to its right and below it. There are no scroll bar widgets: the grid
/// scrolls by itself to keep the current cell in view.
class TCustomGrid : public TCustomControl {
    FOLIO_CLASS(TCustomGrid)
public:
    /// The most columns, and the most rows, a grid has.
    static constexpr int MaxCellCount = 1 << 20;

    /// A grid of 5 by 5 cells 64 by 24 pixels, one fixed row and column, in
    /// clWindow with clBtnFace fixed cells and a single border, taking the
    /// keyboard (TabStop).
    explicit TCustomGrid(TComponent* AOwner);
    ~TCustomGrid() override;

    /// How many columns, fixed ones included: 1 to MaxCellCount; 5 by default.
    /// Fewer columns than FixedCols + 1 lower FixedCols; the current cell stays
    /// inside.
    ///@{
    int GetColCount() const { return FColCount; }
    void SetColCount(int Value);
    ///@}
    /// How many rows, fixed ones included: 1 to MaxCellCount; 5 by default.
    /// Fewer rows than FixedRows + 1 lower FixedRows; the current cell stays
    /// inside.
    ///@{
    int GetRowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    ///@}
    /// How many columns along the left edge never scroll nor take the current
    /// cell: 0 to ColCount - 1 (else EInvalidOperation); 1 by default.
    ///@{
    int GetFixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    ///@}
    /// How many rows along the top never scroll nor take the current cell: 0 to
    /// RowCount - 1 (else EInvalidOperation); 1 by default.
    ///@{
    int GetFixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);
    ///@}
    /// Every column's width in pixels (0 to 16384); 64 by default.
    ///@{
    int GetDefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    ///@}
    /// Every row's height in pixels (0 to 16384); 24 by default.
    ///@{
    int GetDefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    ///@}
    /// Per-column widths and per-row heights in pixels (0 to 16384), from
    /// 0; setting the default resets them. The getters answer the default
    /// outside the grid; the setters raise EInvalidOperation there.
    ///@{
    int GetColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int GetRowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    ///@}
    /// The width of the grid lines in pixels (0 to 16384); 1 by default.
    ///@{
    int GetGridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);
    ///@}
    /// What the grid lets the user do and which lines it draws. Without
    /// goRangeSelect the selection shrinks to the current cell.
    ///@{
    TGridOptions GetOptions() const { return FOptions; }
    void SetOptions(TGridOptions Value);
    ///@}
    /// Kept and stored with a form (ssBoth by default); the grid shows no
    /// scroll bars and scrolls by itself.
    ///@{
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    ///@}
    /// bsSingle (the default) draws a border, sunken with Ctl3D; bsNone none.
    ///@{
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}
    /// The fixed cells' background; clBtnFace by default.
    ///@{
    TColor GetFixedColor() const { return FFixedColor; }
    void SetFixedColor(TColor Value);
    ///@}

    /// The current cell; 1, 1 at first. Setting Col or Row selects the cell
    /// as a click would (SelectCell decides, Click follows); a fixed cell or
    /// one outside the grid raises EInvalidOperation.
    ///@{
    int GetCol() const { return FCurrent.X; }
    void SetCol(int Value);
    int GetRow() const { return FCurrent.Y; }
    void SetRow(int Value);
    ///@}
    /// The selected block: the current cell and the anchor. Setting it makes
    /// Left, Top current (SelectCell decides) and, with goRangeSelect, puts
    /// the anchor at Right, Bottom; no Click follows. A cell outside the
    /// scrollable part raises EInvalidOperation.
    ///@{
    TGridRect GetSelection() const;
    void SetSelection(const TGridRect& Value);
    ///@}

    /// The first scrollable column and row on show, kept within the
    /// scrollable part.
    ///@{
    int GetLeftCol() const { return FTopLeft.X; }
    void SetLeftCol(int Value);
    int GetTopRow() const { return FTopLeft.Y; }
    void SetTopRow(int Value);
    ///@}
    /// Scrollable columns and rows that fit the client area whole.
    ///@{
    int GetVisibleColCount() const;
    int GetVisibleRowCount() const;
    ///@}

    /// The client rectangle of a cell without its grid lines; empty when the
    /// cell is scrolled out of view or does not exist.
    TRect CellRect(int ACol, int ARow) const;
    /// The cell under a client point (a grid line belongs to the cell before
    /// it); -1 for a column or row where there is none.
    ///@{
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;
    TGridCoord MouseCoord(int X, int Y) const;
    ///@}

    /// Moves the current cell when SelectCell accepts it. MoveAnchor false
    /// extends a range selection; Show scrolls the cell into view. Raises
    /// EInvalidOperation for a cell outside the scrollable part of the grid.
    void MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show);

protected:
    /// Asked before a cell becomes current; false keeps the current one.
    virtual bool SelectCell(int ACol, int ARow);
    /// Draws a cell's content into ARect. The canvas brush holds the cell's
    /// background (already filled) and the font the cell's text colour.
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);

    /// Draws the cells on show (fixed ones in FixedColor, selected ones
    /// highlighted, the current one framed while focused) with DrawCell, and
    /// the grid lines.
    void Paint() override;
    /// A single border is a sunken client edge with Ctl3D, a plain border
    /// without.
    void CreateParams(TCreateParams& Params) override;
    /// The arrows (and Tab with goTabs) are the grid's own keys; the focus
    /// coming or going repaints the current cell.
    void Dispatch(TMessage& Message) override;
    /// Remakes the window so that a single border follows Ctl3D.
    void CMCtl3DChanged(TMessage& Message) override;
    /// Takes the focus; a left press on a scrollable cell makes it current
    /// (Shift with goRangeSelect extends the selection) and starts a drag.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// While dragging, the current cell follows the pointer (the nearest cell
    /// on show beyond the edges).
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Ends a drag; a press that selected a cell fires Click.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The arrows, Page Up and Page Down, Home and End (with Ctrl: the first or
    /// last row too) and, with goTabs, Tab move the current cell and fire
    /// Click; Shift extends the selection with goRangeSelect.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

    /// Repaints a cell with its grid lines; nothing for a cell not on show.
    void InvalidateCell(int ACol, int ARow);
    /// Repaints the whole grid.
    void InvalidateGrid() { Invalidate(); }

private:
    enum class TGridState { gsNormal, gsSelecting };

    /// Moves the current cell (SelectCell deciding) and fires Click.
    void FocusCell(int ACol, int ARow, bool MoveAnchor);
    bool MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show);
    /// Scrolls so that the cell is on show.
    void ClampInView(const TGridCoord& Cell);
    void InvalidateSelection(const TGridRect& Sel);
    /// The client extent [Start, End) of a column or row, or false when it is
    /// not on show.
    bool ColSpan(int ACol, int& Start, int& End) const;
    bool RowSpan(int ARow, int& Start, int& End) const;
    int VertLineWidth() const;
    int HorzLineWidth() const;
    /// The cell index under a client position along one axis.
    int ColAt(int X) const;
    int RowAt(int Y) const;
    void SizeChanged();
    void CheckCoord(int ACol, int ARow) const;

    /// Property table access: the options travel as the set's bits.
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
