#include "framework/ui/Grids.h"

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

const std::vector<String> BorderStyleNames{"bsNone",   "bsSingle",     "bsSizeable",
                                           "bsDialog", "bsToolWindow", "bsSizeToolWin"};
const std::vector<String> ScrollStyleNames{"ssNone", "ssHorizontal", "ssVertical", "ssBoth"};

constexpr TGridOptions DefaultOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                      goRangeSelect};

// Sizes are kept in a range where sums over every row of a grid cannot
// overflow, whatever a form file or a caller asks for.
constexpr int MaxCellCount = 1 << 20;
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
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames, &C::GetBorderStyle,
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
            .Enum("ScrollBars", "TScrollStyle", ScrollStyleNames, &C::GetScrollBars,
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
    InvalidateRect(GetHandle(), &Area, false);
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

// --- geometry ------------------------------------------------------------------------------

int TCustomGrid::VertLineWidth() const {
    return FOptions.Contains(goVertLine) || FOptions.Contains(goFixedVertLine) ? FGridLineWidth : 0;
}

int TCustomGrid::HorzLineWidth() const {
    return FOptions.Contains(goHorzLine) || FOptions.Contains(goFixedHorzLine) ? FGridLineWidth : 0;
}

bool TCustomGrid::ColSpan(int ACol, int& Start, int& End) const {
    if (ACol < 0 || ACol >= FColCount) return false;
    if (ACol >= FFixedCols && ACol < FTopLeft.X) return false;
    const int Limit = GetClientWidth();
    int X = 0;
    for (int C = 0; C < FFixedCols && C < ACol; ++C) X += GetColWidths(C) + VertLineWidth();
    if (ACol >= FFixedCols)
        for (int C = FTopLeft.X; C < ACol && X < Limit; ++C) X += GetColWidths(C) + VertLineWidth();
    if (X >= Limit) return false;
    Start = X;
    End = X + GetColWidths(ACol);
    return true;
}

bool TCustomGrid::RowSpan(int ARow, int& Start, int& End) const {
    if (ARow < 0 || ARow >= FRowCount) return false;
    if (ARow >= FFixedRows && ARow < FTopLeft.Y) return false;
    const int Limit = GetClientHeight();
    int Y = 0;
    for (int R = 0; R < FFixedRows && R < ARow; ++R) Y += GetRowHeights(R) + HorzLineWidth();
    if (ARow >= FFixedRows)
        for (int R = FTopLeft.Y; R < ARow && Y < Limit; ++R)
            Y += GetRowHeights(R) + HorzLineWidth();
    if (Y >= Limit) return false;
    Start = Y;
    End = Y + GetRowHeights(ARow);
    return true;
}

TRect TCustomGrid::CellRect(int ACol, int ARow) const {
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
    if (!ColSpan(ACol, Left, Right) || !RowSpan(ARow, Top, Bottom)) return TRect{};
    return TRect{Left, Top, Right, Bottom};
}

int TCustomGrid::ColAt(int X) const {
    if (X < 0 || X >= GetClientWidth()) return -1;
    int Start = 0;
    auto Hit = [&](int C) {
        const int End = Start + GetColWidths(C) + VertLineWidth();
        const bool Inside = X < End;
        Start = End;
        return Inside;
    };
    for (int C = 0; C < FFixedCols; ++C)
        if (Hit(C)) return C;
    for (int C = FTopLeft.X; C < FColCount && Start <= X; ++C)
        if (Hit(C)) return C;
    return -1;
}

int TCustomGrid::RowAt(int Y) const {
    if (Y < 0 || Y >= GetClientHeight()) return -1;
    int Start = 0;
    auto Hit = [&](int R) {
        const int End = Start + GetRowHeights(R) + HorzLineWidth();
        const bool Inside = Y < End;
        Start = End;
        return Inside;
    };
    for (int R = 0; R < FFixedRows; ++R)
        if (Hit(R)) return R;
    for (int R = FTopLeft.Y; R < FRowCount && Start <= Y; ++R)
        if (Hit(R)) return R;
    return -1;
}

void TCustomGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const {
    ACol = ColAt(X);
    ARow = RowAt(Y);
}

TGridCoord TCustomGrid::MouseCoord(int X, int Y) const {
    TGridCoord C;
    MouseToCell(X, Y, C.X, C.Y);
    return C;
}

// --- painting ------------------------------------------------------------------------------

void TCustomGrid::DrawCell(int, int, const TRect&, TGridDrawState) {}

void TCustomGrid::Paint() {
    TCanvas* Canvas = GetCanvas();
    const TRect Client = GetClientRect();
    const int VLine = VertLineWidth();
    const int HLine = HorzLineWidth();
    const bool HasFocus = Focused();
    const TGridRect Sel = GetSelection();

    // Whatever the cells and lines leave uncovered shows the control's colour.
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(Client);

    // Columns and rows on show, fixed ones first.
    std::vector<int> Cols, Rows;
    auto Collect = [](std::vector<int>& Out, int Fixed, int First, int Count, auto Span) {
        int Start = 0, End = 0;
        for (int I = 0; I < Fixed; ++I)
            if (Span(I, Start, End)) Out.push_back(I);
        for (int I = First; I < Count; ++I) {
            if (!Span(I, Start, End)) break;
            Out.push_back(I);
        }
    };
    Collect(Cols, FFixedCols, FTopLeft.X, FColCount,
            [this](int I, int& S, int& E) { return ColSpan(I, S, E); });
    Collect(Rows, FFixedRows, FTopLeft.Y, FRowCount,
            [this](int I, int& S, int& E) { return RowSpan(I, S, E); });

    const TColor FixedLineColor = clBlack;
    const TColor LineColor = GetCtl3D() ? clSilver : clBlack;
    for (int Row : Rows) {
        for (int Col : Cols) {
            const TRect R = CellRect(Col, Row);
            const bool Fixed = Col < FFixedCols || Row < FFixedRows;
            TGridDrawState State;
            if (Fixed) State.Include(gdFixed);
            const bool Current = Col == FCurrent.X && Row == FCurrent.Y;
            if (!Fixed && Sel.Contains(Col, Row)) State.Include(gdSelected);
            if (Current && HasFocus) State.Include(gdFocused);

            // The current cell shows as selected only when asked to, so the
            // focus frame stays readable on the window colour.
            const bool Highlight =
                State.Contains(gdSelected) && (!Current || FOptions.Contains(goDrawFocusSelected) ||
                                               FOptions.Contains(goRowSelect));
            Canvas->SetFont(GetFont());
            if (Fixed)
                Canvas->GetBrush()->SetColor(FFixedColor);
            else if (Highlight) {
                Canvas->GetBrush()->SetColor(clHighlight);
                Canvas->GetFont()->SetColor(clHighlightText);
            } else
                Canvas->GetBrush()->SetColor(GetColor());
            Canvas->FillRect(R);
            DrawCell(Col, Row, R, State);

            if (Fixed && GetCtl3D()) {
                TRect Edge = R;
                DrawEdge(Canvas->GetHandle(), Edge, BDR_RAISEDINNER, BF_RECT);
            }
            if (Current && HasFocus && !FOptions.Contains(goRowSelect)) Canvas->DrawFocusRect(R);

            // The lines to the right of and below the cell.
            const bool VerticalWanted = FOptions.Contains(Fixed ? goFixedVertLine : goVertLine);
            const bool HorizontalWanted = FOptions.Contains(Fixed ? goFixedHorzLine : goHorzLine);
            Canvas->GetBrush()->SetColor(Fixed ? FixedLineColor : LineColor);
            if (VLine > 0 && VerticalWanted)
                Canvas->FillRect(TRect{R.Right, R.Top, R.Right + VLine, R.Bottom + HLine});
            if (HLine > 0 && HorizontalWanted)
                Canvas->FillRect(TRect{R.Left, R.Bottom, R.Right + VLine, R.Bottom + HLine});
        }
    }
}

// --- window and messages -------------------------------------------------------------------

void TCustomGrid::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) {
        if (NewStyleControls && GetCtl3D()) {
            Params.Style &= ~WS_BORDER;
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        } else
            Params.Style |= WS_BORDER;
    }
}

void TCustomGrid::CMCtl3DChanged(TMessage& Message) {
    // A single border is drawn sunken or flat depending on Ctl3D.
    if (NewStyleControls && FBorderStyle == bsSingle && HandleAllocated()) RecreateWnd();
    TCustomControl::CMCtl3DChanged(Message);
}

void TCustomGrid::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | (FOptions.Contains(goTabs) ? DLGC_WANTTAB : 0u);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        // The focus frame and the focused look belong to the current cell.
        TCustomControl::Dispatch(Message);
        InvalidateCell(FCurrent.X, FCurrent.Y);
        return;
    default:
        TCustomControl::Dispatch(Message);
    }
}

// --- mouse ---------------------------------------------------------------------------------

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!IsDesigning() && CanFocus()) SetFocus();
    if (Button == mbLeft) {
        const TGridCoord Cell = MouseCoord(X, Y);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows) {
            FGridState = TGridState::gsSelecting;
            const bool Extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
            FPressSelected = MoveCurrent(Cell.X, Cell.Y, !Extend, true);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
    if (FGridState == TGridState::gsSelecting) {
        // Dragging beyond the edge follows the nearest cell on show.
        const int CX = std::clamp(X, 0, std::max(0, GetClientWidth() - 1));
        const int CY = std::clamp(Y, 0, std::max(0, GetClientHeight() - 1));
        const TGridCoord Cell = MouseCoord(CX, CY);
        if (Cell.X >= FFixedCols && Cell.Y >= FFixedRows && !(Cell == FCurrent) &&
            MoveCurrent(Cell.X, Cell.Y, !FOptions.Contains(goRangeSelect), true))
            FPressSelected = true;
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A press that selected a cell (also the current one again) clicks; one
    // on cells SelectCell refused does not.
    if (Button == mbLeft && FGridState == TGridState::gsSelecting) {
        FGridState = TGridState::gsNormal;
        if (FPressSelected) Click();
        FPressSelected = false;
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

// --- keyboard ------------------------------------------------------------------------------

void TCustomGrid::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const int Page = std::max(1, GetVisibleRowCount() - 1);
    const bool Ctrl = Shift.Contains(ssCtrl);
    TGridCoord Target = FCurrent;
    switch (Key) {
    case VK_UP:
        --Target.Y;
        break;
    case VK_DOWN:
        ++Target.Y;
        break;
    case VK_LEFT:
        --Target.X;
        break;
    case VK_RIGHT:
        ++Target.X;
        break;
    case VK_PRIOR:
        Target.Y -= Page;
        break;
    case VK_NEXT:
        Target.Y += Page;
        break;
    case VK_HOME:
        Target.X = FFixedCols;
        if (Ctrl) Target.Y = FFixedRows;
        break;
    case VK_END:
        Target.X = FColCount - 1;
        if (Ctrl) Target.Y = FRowCount - 1;
        break;
    case VK_TAB:
        if (!FOptions.Contains(goTabs)) return;
        // Tab walks along the row and wraps to the next (Shift: previous) row.
        if (Shift.Contains(ssShift)) {
            if (--Target.X < FFixedCols) {
                Target.X = FColCount - 1;
                --Target.Y;
            }
        } else if (++Target.X >= FColCount) {
            Target.X = FFixedCols;
            ++Target.Y;
        }
        break;
    default:
        return;
    }
    Target.X = std::clamp(Target.X, FFixedCols, FColCount - 1);
    Target.Y = std::clamp(Target.Y, FFixedRows, FRowCount - 1);
    if (Target == FCurrent) return;
    const bool Extend =
        Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect) && Key != VK_TAB;
    FocusCell(Target.X, Target.Y, !Extend);
}

} // namespace folio
