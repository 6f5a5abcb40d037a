#include "framework/ui/dialogs/ColorSwatches.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

FOLIO_DEFINE_CLASS(TColorSwatches, TCustomControl)

namespace {
// Each cell is a sunken well with room around it for the choice frame.
constexpr int CellGap = 2;
} // namespace

TColorSwatches::TColorSwatches(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque});
    SetTabStop(true);
    SetColor(clBtnFace);
    SetBounds(GetLeft(), GetTop(), 200, 150);
}

void TColorSwatches::SetColors(std::vector<TColor> Value) {
    if (Value == FColors) return;
    FColors = std::move(Value);
    if (FItemIndex >= static_cast<int>(FColors.size())) FItemIndex = -1;
    Invalidate();
}

void TColorSwatches::SetColumns(int Value) {
    Value = std::max(Value, 1);
    if (Value == FColumns) return;
    FColumns = Value;
    Invalidate();
}

void TColorSwatches::SetItemIndex(int Value) {
    if (Value < -1 || Value >= static_cast<int>(FColors.size())) Value = -1;
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    Invalidate();
}

TColor TColorSwatches::GetSelectedColor() const {
    return FItemIndex >= 0 ? FColors[static_cast<size_t>(FItemIndex)] : clNone;
}

void TColorSwatches::SelectColor(TColor Value) {
    const auto It = std::find(FColors.begin(), FColors.end(), Value);
    SetItemIndex(It == FColors.end() ? -1 : static_cast<int>(It - FColors.begin()));
}

void TColorSwatches::ChangeByUser(int Index) {
    if (Index < 0 || Index >= static_cast<int>(FColors.size()) || Index == FItemIndex) return;
    SetItemIndex(Index);
    if (OnChange) OnChange(this);
}

// --- geometry ---------------------------------------------------------------------------------

int TColorSwatches::Rows() const {
    return (static_cast<int>(FColors.size()) + FColumns - 1) / FColumns;
}

TRect TColorSwatches::CellRect(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FColors.size())) return TRect{};
    const int W = GetClientWidth() / FColumns;
    const int H = Rows() > 0 ? GetClientHeight() / Rows() : 0;
    const int Col = Index % FColumns, Row = Index / FColumns;
    return Rect(Col * W, Row * H, Col * W + W, Row * H + H);
}

int TColorSwatches::CellAtPos(TPoint P) const {
    for (int I = 0; I < static_cast<int>(FColors.size()); ++I)
        if (CellRect(I).Contains(P)) return I;
    return -1;
}

// --- painting ---------------------------------------------------------------------------------

void TColorSwatches::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    for (int I = 0; I < static_cast<int>(FColors.size()); ++I) {
        TRect Cell = CellRect(I);
        if (I == FItemIndex) {
            // The chosen cell wears a dark frame and, with the focus, the
            // dotted focus rectangle outside it.
            if (Focused()) Canvas->DrawFocusRect(Cell);
            TRect Frame = Cell;
            InflateRect(Frame, -1, -1);
            Brush->SetColor(clWindowFrame);
            Canvas->FrameRect(Frame);
        }
        InflateRect(Cell, -CellGap, -CellGap);
        DrawEdge(Canvas, Cell, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        Brush->SetColor(FColors[static_cast<size_t>(I)]);
        Canvas->FillRect(Cell);
    }
}

// --- input ------------------------------------------------------------------------------------

void TColorSwatches::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        ChangeByUser(CellAtPos(Point(X, Y)));
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TColorSwatches::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const int N = static_cast<int>(FColors.size());
    if (N == 0) return;
    const int From = FItemIndex < 0 ? 0 : FItemIndex;
    int To = From;
    switch (Key) {
    case VK_LEFT:
        To = From - 1;
        break;
    case VK_RIGHT:
        To = From + 1;
        break;
    case VK_UP:
        To = From - FColumns;
        break;
    case VK_DOWN:
        To = From + FColumns;
        break;
    case VK_HOME:
        To = 0;
        break;
    case VK_END:
        To = N - 1;
        break;
    default:
        return;
    }
    // Nothing chosen yet: the first key chooses the first cell.
    if (FItemIndex < 0) To = 0;
    ChangeByUser(std::clamp(To, 0, N - 1));
    Key = 0;
}

void TColorSwatches::Dispatch(TMessage& Message) {
    // The whole control is its focus cue.
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS, [this] { return GetClientRect(); }))
        return;
    TCustomControl::Dispatch(Message);
}

} // namespace folio
