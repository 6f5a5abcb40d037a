#include "framework/ui/controls/WinControl.h"

#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

// --- focus -------------------------------------------------------------------------

TWinControl* TWinControl::FFocusedWindow = nullptr;

bool TWinControl::FocusWithin() const {
    return FFocusedWindow && (FFocusedWindow == this || ContainsControl(FFocusedWindow));
}

HWND GetFocus() {
    TWinControl*& FFocusedWindow = TWinControl::FFocusedWindow;
    return FFocusedWindow ? FFocusedWindow->GetHandle() : 0;
}

HWND SetFocus(HWND Handle) {
    TWinControl*& FFocusedWindow = TWinControl::FFocusedWindow;
    TWinControl* New = FindControl(Handle);
    TWinControl* Old = FFocusedWindow;
    const HWND OldHandle = Old ? Old->GetHandle() : 0;
    if (New == Old) return OldHandle;
    FFocusedWindow = New;
    if (Old) Old->Perform(WM_KILLFOCUS, static_cast<std::intptr_t>(Handle));
    // The old window's handler may have moved the focus on already.
    if (New && FFocusedWindow == New)
        New->Perform(WM_SETFOCUS, static_cast<std::intptr_t>(OldHandle));
    if (Old && FFocusedWindow != Old) NotifyAccessible(Old, TAccEvent::FocusLost);
    if (New && FFocusedWindow == New) NotifyAccessible(New, TAccEvent::FocusGained);
    return OldHandle;
}

bool TWinControl::Focused() const {
    return FHandle != 0 && FFocusedWindow == this;
}

bool TWinControl::CanFocus() const {
    TCustomForm* Form = GetParentForm(this);
    if (!Form || !Form->GetVisible()) return false;
    for (const TControl* C = this; C && C != Form; C = C->GetParent())
        if (!C->GetVisible() || !C->GetEnabled()) return false;
    return Form->GetEnabled();
}

void TWinControl::SetFocus() {
    if (TCustomForm* Form = GetParentForm(this)) {
        Form->FocusControl(this);
        return;
    }
    // A window without a form takes the focus directly.
    folio::SetFocus(GetHandle());
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop) return;
    FTabStop = Value;
    if (FHandle) {
        if (Value)
            FStyle |= WS_TABSTOP;
        else
            FStyle &= ~WS_TABSTOP;
    }
}

int TWinControl::GetTabOrder() const {
    if (!GetParent()) return -1;
    int Index = 0;
    for (TControl* C : GetParent()->FControls) {
        if (C == this) return Index;
        if (dynamic_cast<TWinControl*>(C)) ++Index;
    }
    return -1;
}

void TWinControl::SetTabOrder(int Value) {
    if (!GetParent()) {
        FTabOrder = Value;
        return;
    }
    // The tab order is the order of the windowed children: move this one
    // among them, leaving the graphic controls where they are.
    std::vector<TWinControl*> Wins;
    for (TControl* C : GetParent()->FControls)
        if (auto* W = dynamic_cast<TWinControl*>(C)) Wins.push_back(W);
    auto It = std::find(Wins.begin(), Wins.end(), this);
    if (It == Wins.end()) return;
    Wins.erase(It);
    Value = std::clamp(Value, 0, static_cast<int>(Wins.size()));
    Wins.insert(Wins.begin() + Value, this);
    size_t K = 0;
    for (TControl*& C : GetParent()->FControls)
        if (dynamic_cast<TWinControl*>(C)) C = Wins[K++];
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
    for (TControl* C : FControls) {
        if (auto* W = dynamic_cast<TWinControl*>(C)) {
            List.push_back(W);
            W->GetTabOrderList(List);
        }
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
    std::vector<TWinControl*> List;
    GetTabOrderList(List);
    if (List.empty()) return nullptr;
    const int Count = static_cast<int>(List.size());
    int Start = -1;
    for (int I = 0; I < Count; ++I)
        if (List[static_cast<size_t>(I)] == CurControl) Start = I;
    if (Start < 0) Start = GoForward ? Count - 1 : 0;
    int I = Start;
    for (int Step = 0; Step < Count; ++Step) {
        I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
        TWinControl* W = List[static_cast<size_t>(I)];
        if (W == CurControl) break;
        if (CheckTabStop && !W->FTabStop) continue;
        if (CheckParent && W->GetParent() != this) continue;
        if (W->CanFocus()) return W;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, false))
        Next->SetFocus();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::WMSetFocus(TMessage&) {}
void TWinControl::WMKillFocus(TMessage&) {}

// --- keys ------------------------------------------------------------------------------

namespace {
TShiftState KeyboardShift() {
    TShiftState S;
    if (InputRouter->IsKeyDown(VK_SHIFT)) S.Include(ssShift);
    if (InputRouter->IsKeyDown(VK_CONTROL)) S.Include(ssCtrl);
    if (InputRouter->IsKeyDown(VK_MENU)) S.Include(ssAlt);
    return S;
}
} // namespace

void TWinControl::KeyDown(unsigned short& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(unsigned short& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

namespace {
// The form that sees the keys of Control first (KeyPreview), or null.
TWinControl* PreviewForm(TWinControl* Control) {
    TCustomForm* Form = GetParentForm(Control);
    if (!Form || Form == Control || !Form->GetKeyPreview()) return nullptr;
    return Form;
}
} // namespace

bool TWinControl::DoKeyDown(TMessage& Message) {
    // A form with KeyPreview handles the key before the focused control; a
    // key it sets to 0 never reaches the control, a key it changes arrives
    // changed.
    if (TWinControl* Form = PreviewForm(this); Form && Form->DoKeyDown(Message)) return true;
    auto Key = static_cast<unsigned short>(Message.WParam);
    KeyDown(Key, KeyboardShift());
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this); Form && Form->DoKeyUp(Message)) return true;
    auto Key = static_cast<unsigned short>(Message.WParam);
    KeyUp(Key, KeyboardShift());
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this); Form && Form->DoKeyPress(Message)) return true;
    char Key = static_cast<char>(Message.WParam);
    KeyPress(Key);
    Message.WParam = static_cast<unsigned char>(Key);
    return Key == 0;
}

} // namespace folio
