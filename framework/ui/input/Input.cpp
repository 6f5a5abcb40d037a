#include "framework/ui/input/Input.h"

#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/forms/PopupWindow.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace folio {

namespace {
TInputRouter TheRouter;
// The router keeps the capture: it clears it quietly when the control goes.
TControl* CaptureControl = nullptr;
} // namespace

TInputRouter* const InputRouter = &TheRouter;

short GetKeyState(int VirtualKey) {
    if (VirtualKey == VK_LBUTTON) return InputRouter->IsButtonDown(mbLeft) ? short(0x8000) : 0;
    if (VirtualKey == VK_RBUTTON) return InputRouter->IsButtonDown(mbRight) ? short(0x8000) : 0;
    if (VirtualKey == VK_MBUTTON) return InputRouter->IsButtonDown(mbMiddle) ? short(0x8000) : 0;
    if (VirtualKey < 0 || VirtualKey > 255) return 0;
    return InputRouter->IsKeyDown(static_cast<unsigned short>(VirtualKey)) ? short(0x8000) : 0;
}

// --- capture ---------------------------------------------------------------------

TControl* GetCaptureControl() {
    return CaptureControl;
}

void SetCaptureControl(TControl* Control) {
    if (Control == CaptureControl) return;
    TControl* Old = CaptureControl;
    CaptureControl = Control;
    if (Old) Old->Perform(WM_CAPTURECHANGED, 0, reinterpret_cast<std::intptr_t>(Control));
}

HWND GetCapture() {
    // A control without a window captures through the window it is drawn on.
    for (TControl* C = CaptureControl; C; C = C->GetParent())
        if (auto* W = dynamic_cast<TWinControl*>(C))
            return W->HandleAllocated() ? W->GetHandle() : 0;
    return 0;
}

// --- finding the target ----------------------------------------------------------------

bool TInputRouter::IsButtonDown(TMouseButton Button) const {
    return FButtons[static_cast<int>(Button)];
}

TWinControl* TInputRouter::FindWindowAt(TPoint P) const {
    for (size_t I = FTopLevels.size(); I-- > 0;) {
        TWinControl* W = FTopLevels[I];
        if (!W->GetVisible() || !W->HandleAllocated()) continue;
        if (W->GetBoundsRect().Contains(P)) return W;
    }
    return nullptr;
}

TControl* TInputRouter::FindControlAt(TPoint P, bool AllowDisabled) const {
    TWinControl* W = FindWindowAt(P);
    if (!W) return nullptr;
    // Descend through the children, in each window's client coordinates.
    TPoint Local{P.X - W->GetLeft(), P.Y - W->GetTop()};
    for (;;) {
        const int F = W->GetBorderWidth();
        const TPoint Client{Local.X - F, Local.Y - F};
        if (!W->GetClientRect().Contains(Client)) return W; // on the frame
        TControl* C = W->ControlAtPos(Client, true);
        if (!C) return W;
        if (!C->IsWindowed()) {
            if (!AllowDisabled && !C->GetEnabled()) return W;
            return C;
        }
        W = static_cast<TWinControl*>(C);
        if (!W->HandleAllocated()) return W->GetParent();
        Local = TPoint{Client.X - W->GetLeft(), Client.Y - W->GetTop()};
    }
}

TControl* TInputRouter::GetMouseTarget() const {
    if (CaptureControl) return CaptureControl;
    return FPressed;
}

TControl* TInputRouter::Target(TPoint ScreenPos) const {
    if (CaptureControl) return CaptureControl;
    if (FPressed) return FPressed;
    TControl* C = FindControlAt(ScreenPos, true);
    // Input for windows behind a modal form goes nowhere.
    if (C && Screen->IsBlockedByModal(C)) return nullptr;
    return C;
}

// --- delivery --------------------------------------------------------------------------------

void TInputRouter::SetModifiers(TShiftState Modifiers) {
    FKeys[VK_SHIFT] = Modifiers.Contains(ssShift);
    FKeys[VK_CONTROL] = Modifiers.Contains(ssCtrl);
    FKeys[VK_MENU] = Modifiers.Contains(ssAlt);
}

unsigned TInputRouter::MouseKeys() const {
    unsigned K = 0;
    if (FButtons[0]) K |= MK_LBUTTON;
    if (FButtons[1]) K |= MK_RBUTTON;
    if (FButtons[2]) K |= MK_MBUTTON;
    if (FKeys[VK_SHIFT]) K |= MK_SHIFT;
    if (FKeys[VK_CONTROL]) K |= MK_CONTROL;
    return K;
}

void TInputRouter::Deliver(TControl* Target, unsigned Msg, TPoint ScreenPos, std::intptr_t) {
    const TPoint P = Target->ScreenToClient(ScreenPos);
    Target->Perform(Msg, MouseKeys(), MAKELPARAM(P.X, P.Y));
}

void TInputRouter::UpdateMouseControl(TPoint ScreenPos) {
    TControl* Now = FindControlAt(ScreenPos, true);
    if (Now == FMouseControl) return;
    TControl* Old = FMouseControl;
    FMouseControl = Now;
    if (Old) Old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<std::intptr_t>(Old));
    // The leave handler may have changed the layout; enter only a control
    // that is still the one under the pointer.
    if (Now && FMouseControl == Now)
        Now->Perform(CM_MOUSEENTER, 0, reinterpret_cast<std::intptr_t>(Now));
}

void TInputRouter::MouseMove(TPoint ScreenPos, TShiftState Modifiers) {
    SetModifiers(Modifiers);
    Mouse->SetCursorPos(ScreenPos);
    UpdateMouseControl(ScreenPos);
    Application->GetHintManager().MouseMoved(FMouseControl,
                                             FButtons[0] || FButtons[1] || FButtons[2]);
    if (Application->GetDragManager().Active()) {
        Application->GetDragManager().DragTo(ScreenPos);
        return;
    }
    if (TControl* T = Target(ScreenPos)) Deliver(T, WM_MOUSEMOVE, ScreenPos);
    if (Application->GetDragManager().Pending())
        Application->GetDragManager().CheckThreshold(ScreenPos);
}

bool TInputRouter::PairsWithFirstPress(TControl* Target, TMouseButton Button, TPoint ScreenPos,
                                       TMilliseconds Now) const {
    if (!FFirstPress.Control || FFirstPress.Control != Target || FFirstPress.Button != Button)
        return false;
    if (Now < FFirstPress.Time || Now - FFirstPress.Time > GetDoubleClickTime()) return false;
    // The distance is a box of the system's size centred on the first press.
    return std::abs(ScreenPos.X - FFirstPress.Pos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           std::abs(ScreenPos.Y - FFirstPress.Pos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

void TInputRouter::MouseDown(TMouseButton Button, TPoint ScreenPos, TShiftState Modifiers) {
    SetModifiers(Modifiers);
    Mouse->SetCursorPos(ScreenPos);
    UpdateMouseControl(ScreenPos);
    Application->GetHintManager().Cancel();
    Screen->SetFocusCues(false);
    if (Application->GetDragManager().Active()) return;
    const bool First = !FButtons[0] && !FButtons[1] && !FButtons[2];
    // A press outside the open popups closes them and does nothing else,
    // not even on release.
    if (TPopupWindow::PressOutside(ScreenPos)) {
        FButtons[static_cast<int>(Button)] = true;
        if (First) FSwallowing = true;
        return;
    }
    if (FSwallowing) {
        FButtons[static_cast<int>(Button)] = true;
        return;
    }
    TControl* T = Target(ScreenPos);
    FButtons[static_cast<int>(Button)] = true;
    if (!FPressWatchers.empty()) {
        TellPressOutside(T);
        // A watcher's handler may have changed, or destroyed, what lies
        // under the pointer.
        T = Target(ScreenPos);
    }
    if (!T) {
        FFirstPress = TFirstPress{};
        return;
    }
    if (First) FPressed = T;
    const TMilliseconds Now = Application->Now();
    const bool Pair = PairsWithFirstPress(T, Button, ScreenPos, Now);
    // The second press of a pair ends it; any other press may begin one.
    FFirstPress = Pair ? TFirstPress{} : TFirstPress{T, Button, ScreenPos, Now};
    // A press activates the form it lands on.
    if (TCustomForm* Form = GetParentForm(T)) Screen->ActivateForm(Form);
    unsigned Msg;
    const bool Double = Pair && T->GetControlStyle().Contains(csDoubleClicks);
    switch (Button) {
    case mbLeft:
        Msg = Double ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN;
        break;
    case mbRight:
        Msg = Double ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN;
        break;
    default:
        Msg = Double ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN;
        break;
    }
    Deliver(T, Msg, ScreenPos);
}

void TInputRouter::WatchPressesOutside(TControl* Watcher) {
    if (Watcher &&
        std::find(FPressWatchers.begin(), FPressWatchers.end(), Watcher) == FPressWatchers.end())
        FPressWatchers.push_back(Watcher);
}

void TInputRouter::UnwatchPressesOutside(TControl* Watcher) {
    FPressWatchers.erase(std::remove(FPressWatchers.begin(), FPressWatchers.end(), Watcher),
                         FPressWatchers.end());
}

void TInputRouter::TellPressOutside(TControl* Target) {
    if (FPressWatchers.empty()) return;
    // A watcher may stop watching, or be destroyed, while it hears.
    const std::vector<TControl*> Watchers = FPressWatchers;
    for (TControl* W : Watchers) {
        if (std::find(FPressWatchers.begin(), FPressWatchers.end(), W) == FPressWatchers.end())
            continue;
        bool Inside = false;
        for (TControl* C = Target; C && !Inside; C = C->GetParent()) Inside = C == W;
        if (!Inside) W->Perform(CM_MOUSEDOWNOUTSIDE, 0, reinterpret_cast<std::intptr_t>(Target));
    }
}

void TInputRouter::MouseUp(TMouseButton Button, TPoint ScreenPos, TShiftState Modifiers) {
    SetModifiers(Modifiers);
    Mouse->SetCursorPos(ScreenPos);
    const bool WasDown = FButtons[static_cast<int>(Button)];
    FButtons[static_cast<int>(Button)] = false;
    const bool AllUp = !FButtons[0] && !FButtons[1] && !FButtons[2];
    if (FSwallowing) {
        if (AllUp) FSwallowing = false;
        UpdateMouseControl(ScreenPos);
        return;
    }
    if (Application->GetDragManager().Active()) {
        if (Button == mbLeft || AllUp) Application->GetDragManager().Drop(ScreenPos);
        if (AllUp) FPressed = nullptr;
        UpdateMouseControl(ScreenPos);
        return;
    }
    if (Application->GetDragManager().Pending() && (Button == mbLeft || AllUp))
        Application->GetDragManager().CancelPending();
    TControl* T = Target(ScreenPos);
    if (AllUp) FPressed = nullptr;
    if (T && WasDown) {
        const unsigned Msg = Button == mbLeft    ? WM_LBUTTONUP
                             : Button == mbRight ? WM_RBUTTONUP
                                                 : WM_MBUTTONUP;
        Deliver(T, Msg, ScreenPos);
    }
    UpdateMouseControl(ScreenPos);
}

void TInputRouter::MouseExit() {
    if (FButtons[0] || FButtons[1] || FButtons[2] || Application->GetDragManager().Active()) return;
    Application->GetHintManager().Cancel();
    if (TControl* Old = FMouseControl) {
        FMouseControl = nullptr;
        Old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<std::intptr_t>(Old));
    }
}

void TInputRouter::MouseWheel(int Delta, TPoint ScreenPos, TShiftState Modifiers) {
    DeliverWheel(WM_MOUSEWHEEL, Delta, ScreenPos, Modifiers);
}

void TInputRouter::MouseHWheel(int Delta, TPoint ScreenPos, TShiftState Modifiers) {
    DeliverWheel(WM_MOUSEHWHEEL, Delta, ScreenPos, Modifiers);
}

void TInputRouter::DeliverWheel(unsigned Msg, int Delta, TPoint ScreenPos, TShiftState Modifiers) {
    SetModifiers(Modifiers);
    Application->GetHintManager().Cancel();
    Mouse->SetCursorPos(ScreenPos);
    if (Delta == 0) return;
    const std::intptr_t WParam = static_cast<std::intptr_t>(
        (MouseKeys() & 0xFFFF) | (static_cast<unsigned>(Delta & 0xFFFF) << 16));
    const std::intptr_t LParam = MAKELPARAM(ScreenPos.X, ScreenPos.Y);
    // While popups are open the wheel scrolls the one under the pointer, or
    // the newest, and nothing else.
    if (TPopupWindow* Popup = TPopupWindow::KeyTarget()) {
        TControl* T = Popup;
        TWinControl* UnderWindow = FindWindowAt(ScreenPos);
        for (TPopupWindow* P : TPopupWindow::OpenPopups())
            if (P == UnderWindow) T = FindControlAt(ScreenPos);
        if (T) T->Perform(Msg, WParam, LParam);
        return;
    }
    // The wheel scrolls what is under the pointer: that control, or the
    // first of its parents that can use the turn. A turn nothing there can
    // use ends unused; it never goes sideways to the focused control, which
    // the user is not pointing at.
    TControl* Under = FindControlAt(ScreenPos);
    if (Under && !Screen->IsBlockedByModal(Under)) Under->Perform(Msg, WParam, LParam);
}

void TInputRouter::KeyDown(unsigned short Key, TShiftState Modifiers) {
    SetModifiers(Modifiers);
    const bool Modifier = Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU;
    if (Key < 256 && !Modifier) FKeys[Key] = true;
    Application->GetHintManager().Cancel();
    if (!Modifier) Screen->SetFocusCues(true);
    if (Key == VK_ESCAPE &&
        (Application->GetDragManager().Active() || Application->GetDragManager().Pending())) {
        Application->GetDragManager().EndDrag(false);
        return;
    }
    // An open popup takes every key: it never has the focus, but the user
    // works in it.
    if (TPopupWindow* Popup = TPopupWindow::KeyTarget()) {
        Popup->Perform(WM_KEYDOWN, Key);
        return;
    }
    TWinControl* Focus = FindControl(GetFocus());
    if (!Focus) {
        if (TCustomForm* Form = Screen->GetActiveForm()) Focus = Form;
    }
    if (!Focus) return;
    // Tab and the arrows move the focus through the form, Enter and Escape
    // press its default and cancel buttons, unless the focused control says
    // (WM_GETDLGCODE, CM_WANTSPECIALKEY) that it handles them itself.
    unsigned Wants = 0;
    if (Key == VK_TAB) Wants = DLGC_WANTTAB;
    if (Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN)
        Wants = DLGC_WANTARROWS;
    if (Key == VK_RETURN || Key == VK_ESCAPE) Wants = DLGC_WANTALLKEYS;
    // Ctrl+Tab turns the pages of the tab control the focus is in.
    if (Key == VK_TAB && Modifiers.Contains(ssCtrl) && !Modifiers.Contains(ssAlt)) {
        if (TCustomForm* Form = GetParentForm(Focus))
            if (Form->Perform(CM_DIALOGKEY, Key) != 0) return;
    }
    // A menu item's shortcut goes to its menu before the focused control.
    if (!Modifier) {
        if (TCustomForm* Form = GetParentForm(Focus))
            if (Form->IsShortCut(Key, Modifiers)) return;
    }
    if (Wants && !Modifiers.Contains(ssCtrl) && !Modifiers.Contains(ssAlt) &&
        Focus->Perform(CM_WANTSPECIALKEY, Key) == 0) {
        const auto Code = static_cast<unsigned>(Focus->Perform(WM_GETDLGCODE));
        if (!(Code & (Wants | DLGC_WANTALLKEYS))) {
            if (TCustomForm* Form = GetParentForm(Focus)) {
                if (Form->Perform(CM_DIALOGKEY, Key) != 0) return;
            }
        }
    }
    Focus->Perform(WM_KEYDOWN, Key);
    // The menu key and Shift+F10 ask for the focused control's context menu.
    if (Key == VK_APPS || (Key == VK_F10 && Modifiers.Contains(ssShift) &&
                           !Modifiers.Contains(ssCtrl) && !Modifiers.Contains(ssAlt))) {
        if (TWinControl* Now = FindControl(GetFocus())) Now->Perform(WM_CONTEXTMENU, 1, 0);
        return;
    }
    // Alt with a letter or digit is an accelerator of the focused form.
    if (Modifiers.Contains(ssAlt) && !Modifiers.Contains(ssCtrl) &&
        ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))) {
        if (TCustomForm* Form = GetParentForm(Focus))
            Form->Perform(CM_DIALOGCHAR, std::tolower(Key), 1);
        return;
    }
    // The platform's key translation: these keys also type a character.
    if (Modifiers.Contains(ssCtrl) || Modifiers.Contains(ssAlt)) return;
    if (Key == VK_BACK || Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE) {
        TWinControl* Now = FindControl(GetFocus());
        if (Now) Now->Perform(WM_CHAR, Key);
    }
}

void TInputRouter::KeyUp(unsigned short Key, TShiftState Modifiers) {
    SetModifiers(Modifiers);
    if (Key < 256) FKeys[Key] = false;
    if (TPopupWindow* Popup = TPopupWindow::KeyTarget()) {
        Popup->Perform(WM_KEYUP, Key);
        return;
    }
    TWinControl* Focus = FindControl(GetFocus());
    if (!Focus) Focus = Screen->GetActiveForm();
    if (Focus) Focus->Perform(WM_KEYUP, Key);
}

void TInputRouter::Char(char Ch) {
    if (TPopupWindow* Popup = TPopupWindow::KeyTarget()) {
        Popup->Perform(WM_CHAR, static_cast<unsigned char>(Ch));
        return;
    }
    TWinControl* Focus = FindControl(GetFocus());
    if (!Focus) Focus = Screen->GetActiveForm();
    if (!Focus) return;
    // A control that takes no typed text lets its form use the character
    // as an accelerator ("&OK" answers O).
    const auto Code = static_cast<unsigned char>(Ch);
    if (Code > ' ' && Code < 0x7F &&
        !(static_cast<unsigned>(Focus->Perform(WM_GETDLGCODE)) & DLGC_WANTCHARS)) {
        if (TCustomForm* Form = GetParentForm(Focus))
            if (Form->Perform(CM_DIALOGCHAR, Code, 0) != 0) return;
    }
    Focus->Perform(WM_CHAR, Code);
}

void TInputRouter::Text(const String& Utf8) {
    for (char Ch : Utf8) Char(Ch);
}

void TInputRouter::Composition(const String& Utf8, int Cursor) {
    TWinControl* Focus = FindControl(GetFocus());
    if (!Focus) return;
    Focus->Perform(WM_IME_COMPOSITION, Cursor, reinterpret_cast<std::intptr_t>(&Utf8));
}

TCursor TInputRouter::GetCursor() const {
    if (Application->GetDragManager().Active()) return Application->GetDragManager().Cursor();
    if (Screen->GetCursor() != crDefault) return Screen->GetCursor();
    const TControl* C = CaptureControl ? CaptureControl : FMouseControl;
    for (; C; C = C->GetParent()) {
        if (C->GetCursor() != crDefault) return C->GetCursor();
        const TCursor Own = C->GetClassCursor();
        if (Own != crDefault) return Own;
    }
    return crArrow;
}

// --- bookkeeping ---------------------------------------------------------------------------------

void TInputRouter::TopLevelCreated(TWinControl* W) {
    FTopLevels.erase(std::remove(FTopLevels.begin(), FTopLevels.end(), W), FTopLevels.end());
    FTopLevels.push_back(W);
}

void TInputRouter::BringToTop(TWinControl* W) {
    auto It = std::find(FTopLevels.begin(), FTopLevels.end(), W);
    if (It == FTopLevels.end()) return;
    FTopLevels.erase(It);
    FTopLevels.push_back(W);
    LayoutChanged();
}

void TInputRouter::ControlHidden(TControl* C) {
    // The control and everything inside it stop receiving the mouse.
    auto Inside = [C](TControl* X) {
        for (; X; X = X->GetParent())
            if (X == C) return true;
        return false;
    };
    Application->GetHintManager().ControlGone(C);
    if (Inside(CaptureControl)) CaptureControl = nullptr;
    if (Inside(FPressed)) FPressed = nullptr;
    if (Inside(FFirstPress.Control)) FFirstPress = TFirstPress{};
    if (Inside(FMouseControl)) {
        TControl* Old = FMouseControl;
        FMouseControl = nullptr;
        Old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<std::intptr_t>(Old));
    }
}

void TInputRouter::ControlDestroyed(TControl* C) {
    Application->GetHintManager().ControlGone(C);
    if (FFirstPress.Control == C) FFirstPress = TFirstPress{};
    UnwatchPressesOutside(C);
    if (CaptureControl == C) CaptureControl = nullptr;
    if (FPressed == C) FPressed = nullptr;
    if (FMouseControl == C) FMouseControl = nullptr;
    FTopLevels.erase(std::remove(FTopLevels.begin(), FTopLevels.end(), C), FTopLevels.end());
}

void TInputRouter::WindowDestroyed(TWinControl* W) {
    if (!W->GetParent())
        FTopLevels.erase(std::remove(FTopLevels.begin(), FTopLevels.end(), W), FTopLevels.end());
}

void TInputRouter::WindowRecreated(TWinControl*) {}

void TInputRouter::LayoutChanged() {}

void TInputRouter::Reset() {
    Application->GetHintManager().Cancel();
    Screen->SetFocusCues(false);
    std::fill(std::begin(FKeys), std::end(FKeys), false);
    std::fill(std::begin(FButtons), std::end(FButtons), false);
    FPressed = nullptr;
    CaptureControl = nullptr;
    FMouseControl = nullptr;
    FSwallowing = false;
    FFirstPress = TFirstPress{};
}

} // namespace folio
