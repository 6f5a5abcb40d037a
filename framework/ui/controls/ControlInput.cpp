#include "framework/ui/app/Application.h"
#include "framework/ui/controls/Control.h"

#include "framework/ui/controls/WinControl.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/MouseFlags.h"
#include "framework/ui/menus/PopupMenu.h"

namespace folio {

// --- messages ----------------------------------------------------------------

std::intptr_t TControl::Perform(unsigned Msg, std::intptr_t WParam, std::intptr_t LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    WndProc(Message);
    return Message.Result;
}

namespace {
// The messages a designer sees before a control it designs.
bool IsDesignInput(unsigned Msg) {
    return (Msg >= WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK) || Msg == WM_KEYDOWN ||
           Msg == WM_KEYUP || Msg == WM_CHAR || Msg == WM_GETDLGCODE || Msg == CM_WANTSPECIALKEY;
}

// The control a designer takes this one's input for: itself when it is
// designed; for a part that a control made for itself (a spin edit's box,
// a memo's scroll bars, a radio group's buttons: controls without an
// owner, which a form file never names), the designed control holding it,
// so that a click on the part selects and drags the whole. Owner-less
// children of a designed container are the designer's own marks (grab
// handles, guide lines), which take their input themselves, as do a scroll
// box's scroll bars. Null for controls of a running program.
TControl* DesignedHolder(TControl* Control) {
    if (Control->IsDesigning()) return Control;
    for (TControl* C = Control; !C->Owner(); C = C->GetParent()) {
        TWinControl* Parent = C->GetParent();
        if (!Parent) return nullptr;
        if (Parent->IsDesigning())
            return Parent->GetControlStyle().Contains(csAcceptsControls) ? nullptr : Parent;
    }
    return nullptr;
}
} // namespace

void TControl::WndProc(TMessage& Message) {
    if (IsDesignInput(Message.Msg))
        if (TControl* Holder = DesignedHolder(this))
            if (TCustomForm* Form = GetParentForm(Holder))
                if (IDesigner* Designer = Form->GetDesigner()) {
                    if (Holder == this) {
                        if (Designer->IsDesignMsg(this, Message)) return;
                    } else {
                        // The holder hears the part's input in its own
                        // client coordinates.
                        TMessage Held = Message;
                        if (Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONDBLCLK)
                            Held.LParam = PointToLParam(Holder->ScreenToClient(
                                ClientToScreen(LParamToPoint(Message.LParam))));
                        if (Designer->IsDesignMsg(Holder, Held)) {
                            Message.Result = Held.Result;
                            return;
                        }
                    }
                }
    // Mouse presses on a disabled control go nowhere.
    if (Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONDBLCLK && !GetEnabled()) return;
    Dispatch(Message);
}

void TControl::DoMouseDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift) {
    const TPoint P = LParamToPoint(Message.LParam);
    MouseDown(Button, KeysToShiftState(static_cast<unsigned>(Message.WParam)) + Shift, P.X, P.Y);
}

void TControl::DoMouseUpMessage(TMessage& Message, TMouseButton Button) {
    const TPoint P = LParamToPoint(Message.LParam);
    MouseUp(Button, KeysToShiftState(static_cast<unsigned>(Message.WParam)), P.X, P.Y);
}

void TControl::SendCancelMode() {
    // Another control keeping the mouse gives it up when this one is pressed.
    TControl* Capture = GetCaptureControl();
    if (Capture && Capture != this) Capture->Perform(WM_CANCELMODE);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const TMouseButton B = Message.Msg == WM_LBUTTONDOWN   ? mbLeft
                               : Message.Msg == WM_RBUTTONDOWN ? mbRight
                                                               : mbMiddle;
        SendCancelMode();
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (B == mbLeft) {
            if (FControlStyle.Contains(csClickEvents))
                FControlState.Include(TControlStateFlag::csClicked);
            if (FDragMode == dmAutomatic && !IsDesigning()) {
                BeginDrag(false);
                FControlState.Include(TControlStateFlag::csLButtonDown);
            }
        }
        DoMouseDownMessage(Message, B, {});
        return;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const TMouseButton B = Message.Msg == WM_LBUTTONDBLCLK   ? mbLeft
                               : Message.Msg == WM_RBUTTONDBLCLK ? mbRight
                                                                 : mbMiddle;
        SendCancelMode();
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (B == mbLeft && FControlStyle.Contains(csClickEvents)) DblClick();
        DoMouseDownMessage(Message, B, TShiftState{ssDouble});
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const TMouseButton B = Message.Msg == WM_LBUTTONUP   ? mbLeft
                               : Message.Msg == WM_RBUTTONUP ? mbRight
                                                             : mbMiddle;
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (B == mbLeft) {
            FControlState.Exclude(TControlStateFlag::csLButtonDown);
            if (FControlState.Contains(TControlStateFlag::csClicked)) {
                FControlState.Exclude(TControlStateFlag::csClicked);
                if (GetClientRect().Contains(LParamToPoint(Message.LParam))) Click();
            }
        }
        DoMouseUpMessage(Message, B);
        // A released right button asks for the control's context menu,
        // where the pointer is.
        if (B == mbRight && !IsDesigning())
            Perform(WM_CONTEXTMENU, 0,
                    PointToLParam(ClientToScreen(LParamToPoint(Message.LParam))));
        return;
    }
    case WM_CONTEXTMENU: {
        // The nearest popup menu up the parents opens; WParam 1 says the
        // keyboard asked, which opens it at the control's corner.
        const TPoint P =
            Message.WParam ? ClientToScreen(Point(0, 0)) : LParamToPoint(Message.LParam);
        for (TControl* C = this; C; C = C->GetParent()) {
            auto* Menu = dynamic_cast<TPopupMenu*>(C->GetPopupMenu());
            if (!Menu || !Menu->GetAutoPopup()) continue;
            Menu->SetPopupComponent(C);
            Menu->Popup(P.X, P.Y);
            Message.Result = 1;
            return;
        }
        break;
    }
    case WM_MOUSEMOVE: {
        const TPoint P = LParamToPoint(Message.LParam);
        MouseMove(KeysToShiftState(static_cast<unsigned>(Message.WParam)), P.X, P.Y);
        return;
    }
    case WM_MOUSEWHEEL:
        WMMouseWheel(Message);
        return;
    case WM_MOUSEHWHEEL:
        WMMouseHWheel(Message);
        return;
    case WM_CANCELMODE:
        if (GetMouseCapture()) SetMouseCapture(false);
        FControlState.Exclude(TControlStateFlag::csClicked);
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(Message);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(Message);
        return;
    case CM_PARENTBIDIMODECHANGED:
        CMParentBiDiModeChanged(Message);
        return;
    case CM_DRAG:
        TDragManager::HandleDragMessage(this, Message);
        return;
    default:
        TComponent::Dispatch(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETTEXT:
        if (Message.LParam) SetText(*reinterpret_cast<const String*>(Message.LParam));
        Message.Result = 1;
        return;
    case WM_GETTEXT:
        if (Message.LParam) *reinterpret_cast<String*>(Message.LParam) = FText;
        Message.Result = static_cast<std::intptr_t>(FText.size());
        return;
    default:
        break;
    }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::WMMouseWheel(TMessage& Message) {
    const TShiftState Shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    const int Delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
    const TPoint Pos = LParamToPoint(Message.LParam);
    if (DoMouseWheel(Shift, Delta, Pos)) {
        Message.Result = 1;
        return;
    }
    // Unhandled wheel turns go up to the parent, as the platform does.
    if (FParent) Message.Result = FParent->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

void TControl::WMMouseHWheel(TMessage& Message) {
    const TShiftState Shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    if (DoMouseHWheel(Shift, GET_WHEEL_DELTA_WPARAM(Message.WParam),
                      LParamToPoint(Message.LParam))) {
        Message.Result = 1;
        return;
    }
    if (FParent) Message.Result = FParent->Perform(WM_MOUSEHWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseHWheel(TShiftState, int, TPoint) {
    return false;
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    if (!Handled) {
        if (WheelDelta < 0)
            Handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            Handled = DoMouseWheelUp(Shift, MousePos);
    }
    return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}

// --- capture -----------------------------------------------------------------

bool TControl::GetMouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (Value == GetMouseCapture()) return;
    SetCaptureControl(Value ? this : nullptr);
}

// --- drag and drop -----------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold) {
    if (FDragKind != dkDrag) return;
    if (Threshold < 0) Threshold = Mouse->GetDragThreshold();
    Application->GetDragManager().BeginDrag(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
    if (Dragging()) Application->GetDragManager().EndDrag(Drop);
}

bool TControl::Dragging() const {
    return Application->GetDragManager().DragControl() == this;
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

} // namespace folio
