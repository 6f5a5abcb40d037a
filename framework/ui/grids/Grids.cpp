#include "framework/ui/grids/Grids.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/Font.h"

#include <algorithm>

namespace folio {

namespace {

const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone",   "bsSingle",     "bsSizeable",
                                           "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    return Names;
}
const std::vector<String>& ScrollStyleNames() {
    static const std::vector<String> Names{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};
    return Names;
}

constexpr TGridOptions DefaultOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                      goRangeSelect};

// Sizes are kept in a range where sums over every row of a grid cannot
// overflow, whatever a form file or a caller asks for.
constexpr int MaxCellSize = 1 << 14;

TGridRect GridRect(TGridCoord A, TGridCoord B) {
    return TGridRect{std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X),
                     std::max(A.Y, B.Y)};
}

} // namespace

const TClassInfo& TCustomGrid::StaticClassInfo() {
    using C = TCustomGrid;
    // The grid declares its properties; descendants choose what to publish.
    static const TClassInfo Info =
        TClassBuilder<C>("TCustomGrid", &TCustomControl::StaticClassInfo())
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, std::optional<TBorderStyle>(bsSingle))
            .Unpublished()
            .Int("ColCount", &C::GetColCount, &C::SetColCount, 5)
            .Unpublished()
            .Int("DefaultColWidth", &C::GetDefaultColWidth, &C::SetDefaultColWidth, 64)
            .Unpublished()
            .Int("DefaultRowHeight", &C::GetDefaultRowHeight, &C::SetDefaultRowHeight, 24)
            .Unpublished()
            .Color("FixedColor", &C::GetFixedColor, &C::SetFixedColor, clBtnFace)
            .Unpublished()
            .Int("FixedCols", &C::GetFixedCols, &C::SetFixedCols, 1)
            .Unpublished()
            .Int("FixedRows", &C::GetFixedRows, &C::SetFixedRows, 1)
            .Unpublished()
            .Int("GridLineWidth", &C::GetGridLineWidth, &C::SetGridLineWidth, 1)
            .Unpublished()
            .Int("Options", &C::GetOptionBits, &C::SetOptionBits,
                 static_cast<long long>(DefaultOptions.Bits()))
            .Unpublished()
            .Int("RowCount", &C::GetRowCount, &C::SetRowCount, 5)
            .Unpublished()
            .Enum("ScrollBars", "TScrollStyle", ScrollStyleNames(), &C::GetScrollBars,
                  &C::SetScrollBars, std::optional<TScrollStyle>(ssBoth))
            .Unpublished()
            .Build();
    return Info;
}

// --- construction ------------------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* AOwner) : TCustomControl(AOwner), FFixedColor(clBtnFace) {
    // The grid fires Click itself, after a selection by mouse or keyboard,
    // rather than on every button release.
    SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks});
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(GetLeft(), GetTop(), FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
}

TCustomGrid::~TCustomGrid() = default;

// --- setters -------------------------------------------------------------------------------

void TCustomGrid::SetColCount(int Value) {
    Value = std::clamp(Value, 1, MaxCellCount);
    if (Value == FColCount) return;
    FColCount = Value;
    if (FFixedCols >= FColCount) FFixedCols = FColCount - 1;
    if (!FColWidths.empty()) FColWidths.resize(FColCount, FDefaultColWidth);
    SizeChanged();
}

void TCustomGrid::SetRowCount(int Value) {
    Value = std::clamp(Value, 1, MaxCellCount);
    if (Value == FRowCount) return;
    FRowCount = Value;
    if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
    if (!FRowHeights.empty()) FRowHeights.resize(FRowCount, FDefaultRowHeight);
    SizeChanged();
}

void TCustomGrid::SetFixedCols(int Value) {
    if (Value == FFixedCols) return;
    // At least one column must stay scrollable, or no cell could be current.
    if (Value < 0 || Value >= FColCount)
        throw EInvalidOperation(Format("FixedCols must lie between 0 and %d (ColCount - 1), not %d",
                                       FColCount - 1, Value));
    FFixedCols = Value;
    // The scrollable part starts right after the fixed columns again.
    FTopLeft.X = FFixedCols;
    SizeChanged();
}

void TCustomGrid::SetFixedRows(int Value) {
    if (Value == FFixedRows) return;
    if (Value < 0 || Value >= FRowCount)
        throw EInvalidOperation(Format("FixedRows must lie between 0 and %d (RowCount - 1), not %d",
                                       FRowCount - 1, Value));
    FFixedRows = Value;
    FTopLeft.Y = FFixedRows;
    SizeChanged();
}

void TCustomGrid::SetDefaultColWidth(int Value) {
    Value = std::clamp(Value, 0, MaxCellSize);
    if (Value == FDefaultColWidth && FColWidths.empty()) return;
    FDefaultColWidth = Value;
    FColWidths.clear();
    Invalidate();
}

void TCustomGrid::SetDefaultRowHeight(int Value) {
    Value = std::clamp(Value, 0, MaxCellSize);
    if (Value == FDefaultRowHeight && FRowHeights.empty()) return;
    FDefaultRowHeight = Value;
    FRowHeights.clear();
    Invalidate();
}

int TCustomGrid::GetColWidths(int Index) const {
    if (Index < 0 || Index >= FColCount) return FDefaultColWidth;
    return FColWidths.empty() ? FDefaultColWidth : FColWidths[Index];
}

void TCustomGrid::SetColWidths(int Index, int Value) {
    CheckCoord(Index, 0);
    Value = std::clamp(Value, 0, MaxCellSize);
    if (Value == GetColWidths(Index)) return;
    if (FColWidths.empty()) FColWidths.assign(FColCount, FDefaultColWidth);
    FColWidths[Index] = Value;
    Invalidate();
}

int TCustomGrid::GetRowHeights(int Index) const {
    if (Index < 0 || Index >= FRowCount) return FDefaultRowHeight;
    return FRowHeights.empty() ? FDefaultRowHeight : FRowHeights[Index];
}

void TCustomGrid::SetRowHeights(int Index, int Value) {
    CheckCoord(0, Index);
    Value = std::clamp(Value, 0, MaxCellSize);
    if (Value == GetRowHeights(Index)) return;
    if (FRowHeights.empty()) FRowHeights.assign(FRowCount, FDefaultRowHeight);
    FRowHeights[Index] = Value;
    Invalidate();
}

void TCustomGrid::SetGridLineWidth(int Value) {
    Value = std::clamp(Value, 0, MaxCellSize);
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    Invalidate();
}

void TCustomGrid::SetOptions(TGridOptions Value) {
    if (Value == FOptions) return;
    FOptions = Value;
    // Without range selection the selection shrinks to the current cell.
    if (!FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
    Invalidate();
}

void TCustomGrid::SetOptionBits(long long Value) {
    SetOptions(TGridOptions::FromBits(static_cast<std::uint64_t>(Value)));
}

void TCustomGrid::SetScrollBars(TScrollStyle Value) {
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    Invalidate();
}

void TCustomGrid::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    // The border is a window style, so the window is made again.
    if (HandleAllocated()) RecreateWnd();
}

void TCustomGrid::SetFixedColor(TColor Value) {
    if (Value == FFixedColor) return;
    FFixedColor = Value;
    Invalidate();
}

void TCustomGrid::SizeChanged() {
    // Keep the current cell, the anchor and the scroll position inside the
    // scrollable part of the new shape.
    auto Clamp = [this](TGridCoord& C) {
        C.X = std::clamp(C.X, FFixedCols, FColCount - 1);
        C.Y = std::clamp(C.Y, FFixedRows, FRowCount - 1);
    };
    Clamp(FCurrent);
    Clamp(FAnchor);
    Clamp(FTopLeft);
    Invalidate();
}

void TCustomGrid::CheckCoord(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= FColCount || ARow < 0 || ARow >= FRowCount)
        throw EInvalidOperation(Format("Grid cell (%d, %d) is outside the %d x %d grid", ACol, ARow,
                                       FColCount, FRowCount));
}

// --- selection -----------------------------------------------------------------------------

void TCustomGrid::SetCol(int Value) {
    if (Value == FCurrent.X) return;
    FocusCell(Value, FCurrent.Y, true);
}

void TCustomGrid::SetRow(int Value) {
    if (Value == FCurrent.Y) return;
    FocusCell(FCurrent.X, Value, true);
}

TGridRect TCustomGrid::GetSelection() const {
    return GridRect(FCurrent, FAnchor);
}

void TCustomGrid::SetSelection(const TGridRect& Value) {
    const TGridRect Old = GetSelection();
    if (!MoveCurrent(Value.Left, Value.Top, true, false)) return;
    if (FOptions.Contains(goRangeSelect)) {
        CheckCoord(Value.Right, Value.Bottom);
        FAnchor = TGridCoord{std::max(Value.Right, FFixedCols), std::max(Value.Bottom, FFixedRows)};
    }
    InvalidateSelection(Old);
    InvalidateSelection(GetSelection());
}

void TCustomGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show) {
    MoveCurrent(ACol, ARow, MoveAnchor, Show);
}

void TCustomGrid::FocusCell(int ACol, int ARow, bool MoveAnchor) {
    if (MoveCurrent(ACol, ARow, MoveAnchor, true)) Click();
}

bool TCustomGrid::MoveCurrent(int ACol, int ARow, bool MoveAnchor, bool Show) {
    CheckCoord(ACol, ARow);
    if (ACol < FFixedCols || ARow < FFixedRows)
        throw EInvalidOperation(
            Format("Grid cell (%d, %d) is a fixed cell and cannot be selected", ACol, ARow));
    if (!SelectCell(ACol, ARow)) return false;
    const TGridRect Old = GetSelection();
    FCurrent = TGridCoord{ACol, ARow};
    if (MoveAnchor || !FOptions.Contains(goRangeSelect)) FAnchor = FCurrent;
    if (Show) ClampInView(FCurrent);
    InvalidateSelection(Old);
    InvalidateSelection(GetSelection());
    return true;
}

bool TCustomGrid::SelectCell(int, int) {
    return true;
}

void TCustomGrid::InvalidateCell(int ACol, int ARow) {
    const TRect R = CellRect(ACol, ARow);
    if (R.IsEmpty() || !HandleAllocated()) return;
    // The focus frame and the lines around the cell belong to it as well.
    const TRect Area{R.Left, R.Top, R.Right + VertLineWidth(), R.Bottom + HorzLineWidth()};
    InvalidateRect(Area, false);
}

void TCustomGrid::InvalidateSelection(const TGridRect& Sel) {
    if (!HandleAllocated()) return;
    // Only the cells on show can need a repaint.
    const int Right = std::min(Sel.Right, FTopLeft.X + GetVisibleColCount());
    const int Bottom = std::min(Sel.Bottom, FTopLeft.Y + GetVisibleRowCount());
    for (int R = std::max(Sel.Top, FTopLeft.Y); R <= Bottom; ++R)
        for (int C = std::max(Sel.Left, FTopLeft.X); C <= Right; ++C) InvalidateCell(C, R);
}

// --- scrolling -----------------------------------------------------------------------------

void TCustomGrid::SetLeftCol(int Value) {
    Value = std::clamp(Value, FFixedCols, FColCount - 1);
    if (Value == FTopLeft.X) return;
    FTopLeft.X = Value;
    Invalidate();
}

void TCustomGrid::SetTopRow(int Value) {
    Value = std::clamp(Value, FFixedRows, FRowCount - 1);
    if (Value == FTopLeft.Y) return;
    FTopLeft.Y = Value;
    Invalidate();
}

int TCustomGrid::GetVisibleColCount() const {
    const int Limit = GetClientWidth();
    int X = 0;
    for (int C = 0; C < FFixedCols; ++C) X += GetColWidths(C) + VertLineWidth();
    int Count = 0;
    for (int C = FTopLeft.X; C < FColCount; ++C) {
        X += GetColWidths(C);
        if (X > Limit) break;
        X += VertLineWidth();
        ++Count;
    }
    return Count;
}

int TCustomGrid::GetVisibleRowCount() const {
    const int Limit = GetClientHeight();
    int Y = 0;
    for (int R = 0; R < FFixedRows; ++R) Y += GetRowHeights(R) + HorzLineWidth();
    int Count = 0;
    for (int R = FTopLeft.Y; R < FRowCount; ++R) {
        Y += GetRowHeights(R);
        if (Y > Limit) break;
        Y += HorzLineWidth();
        ++Count;
    }
    return Count;
}

void TCustomGrid::ClampInView(const TGridCoord& Cell) {
    // Walking back from the cell, the first column (row) that still lets it
    // fit whole; never below Lowest. A cell larger than the space starts it.
    auto FirstToShow = [](int Target, int Lowest, int Space, int Line, auto Size) {
        int First = Target;
        int Used = Size(Target);
        while (First > Lowest && Used + Line + Size(First - 1) <= Space) {
            --First;
            Used += Line + Size(First);
        }
        return First;
    };
    int FixedWidth = 0, FixedHeight = 0;
    for (int C = 0; C < FFixedCols; ++C) FixedWidth += GetColWidths(C) + VertLineWidth();
    for (int R = 0; R < FFixedRows; ++R) FixedHeight += GetRowHeights(R) + HorzLineWidth();
    TGridCoord TopLeft;
    TopLeft.X = FirstToShow(Cell.X, std::min(FTopLeft.X, Cell.X), GetClientWidth() - FixedWidth,
                            VertLineWidth(), [this](int C) { return GetColWidths(C); });
    TopLeft.Y = FirstToShow(Cell.Y, std::min(FTopLeft.Y, Cell.Y), GetClientHeight() - FixedHeight,
                            HorzLineWidth(), [this](int R) { return GetRowHeights(R); });
    if (TopLeft == FTopLeft) return;
    FTopLeft = TopLeft;
    Invalidate();
}

} // namespace folio
