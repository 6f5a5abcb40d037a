#include "framework/ui/comctrls/InplaceEdit.h"

#include "framework/ui/controls/ControlMessages.h"
#include "framework/ui/input/VirtualKeys.h"

namespace folio {

TInplaceEdit::TInplaceEdit(TWinControl* Parent) : TCustomEdit(nullptr) {
    SetVisible(false);
    SetTabStop(false);
    SetAutoSize(false);
    SetParent(Parent);
}

void TInplaceEdit::Start(const TRect& R, const String& Text) {
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    SetText(Text);
    FEditing = true;
    SetVisible(true);
    BringToFront();
    SelectAll();
    if (CanFocus()) SetFocus();
}

void TInplaceEdit::Finish(bool Accept) {
    if (!FEditing) return;
    FEditing = false;
    const String Text = GetText();
    SetVisible(false);
    if (OnDone) OnDone(Accept, Text);
}

void TInplaceEdit::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == VK_RETURN || Key == VK_ESCAPE) {
        const bool Accept = Key == VK_RETURN;
        Key = 0;
        Finish(Accept);
    }
}

void TInplaceEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_WANTSPECIALKEY:
        // Enter and Escape end the edit; they never reach the form's
        // default and cancel buttons.
        if (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_KILLFOCUS:
        TCustomEdit::Dispatch(Message);
        // Clicking elsewhere keeps what was typed.
        Finish(true);
        return;
    default:
        break;
    }
    TCustomEdit::Dispatch(Message);
}

} // namespace folio
