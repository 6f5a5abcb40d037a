#include "framework/ui/grids/Grids.h"

#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

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
