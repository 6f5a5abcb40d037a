#include "framework/ui/grids/Grids.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/Font.h"

namespace folio {

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

} // namespace folio
