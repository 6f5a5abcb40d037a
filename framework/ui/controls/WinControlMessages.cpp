#include "framework/ui/app/Application.h"
#include "framework/ui/controls/WinControl.h"

#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/paint/PaintPass.h"
#include "framework/ui/paint/RectOps.h"

#include <algorithm>

namespace folio {

// --- messages ----------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS: {
        // The form records its focused control first; a form that refuses
        // keeps the message from the control.
        TCustomForm* Form = GetParentForm(this);
        if (Form && !Form->SetFocusedControl(this)) return;
        break;
    }
    case WM_KILLFOCUS:
        break;
    default:
        break;
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(Message)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(Message)) return;
        break;
    case WM_CHAR:
        if (DoKeyPress(Message)) return;
        break;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        break;
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        // Dialog keys, accelerators and focus news go to every control on
        // the window until one of them takes the key.
        Broadcast(Message);
        if (Message.Result != 0) return;
        break;
    case CM_SYSCOLORCHANGE:
        // The frame and the client area were painted in the old colours.
        // Every window of the form is marked at once; the paint pass then
        // paints each one once.
        InvalidateFrame();
        Invalidate();
        for (size_t I = 0; I < FControls.size(); ++I) FControls[I]->Perform(CM_SYSCOLORCHANGE);
        break;
    case CM_PARENTCTL3DCHANGED:
        if (FParentCtl3D && GetParent() && FCtl3D != GetParent()->GetCtl3D()) {
            FCtl3D = GetParent()->GetCtl3D();
            Perform(CM_CTL3DCHANGED);
        }
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_SHOWHINTCHANGED:
    case CM_BIDIMODECHANGED: {
        // The children that follow their parent take the new value.
        unsigned Child = CM_PARENTBIDIMODECHANGED;
        if (Message.Msg == CM_FONTCHANGED)
            Child = CM_PARENTFONTCHANGED;
        else if (Message.Msg == CM_COLORCHANGED)
            Child = CM_PARENTCOLORCHANGED;
        else if (Message.Msg == CM_SHOWHINTCHANGED)
            Child = CM_PARENTSHOWHINTCHANGED;
        for (size_t I = 0; I < FControls.size(); ++I) FControls[I]->Perform(Child);
        break;
    }
    default:
        break;
    }
    TControl::Dispatch(Message);
}

void TWinControl::Broadcast(TMessage& Message) {
    // A handler may add or remove controls: walk a copy.
    const std::vector<TControl*> Children = FControls;
    for (TControl* C : Children) {
        if (std::find(FControls.begin(), FControls.end(), C) == FControls.end()) continue;
        C->WndProc(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = 0;
        return;
    case WM_ERASEBKGND:
        Application->GetPaintPass().EraseBackground(this, Message);
        return;
    case WM_NCPAINT:
        TPaintPass::PaintDefaultFrame(this);
        return;
    default:
        TControl::DefaultHandler(Message);
    }
}

// --- painting ---------------------------------------------------------------------------------

void TWinControl::InvalidateRect(const TRect& R, bool Erase) {
    if (!FHandle) {
        // Without a window the change shows on the parent's surface, if any.
        if (GetParent() && GetVisible()) {
            const int F = GetBorderWidth();
            GetParent()->InvalidateRect(rects::Offset(R, GetLeft() + F, GetTop() + F), Erase);
        }
        return;
    }
    Application->GetPaintPass().Invalidate(this, R, Erase);
}

void TWinControl::InvalidateFrame() {
    if (!FHandle) return;
    FPaintState.FrameDirty = true;
    Application->GetPaintPass().MarkDirty(this);
}

void TWinControl::Invalidate() {
    if (FHandle)
        InvalidateRect(GetClientRect(), true);
    else
        TControl::Invalidate();
}

void TWinControl::Update() {
    if (FHandle) Application->GetPaintPass().PaintNow(this);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

bool InvalidateRect(HWND Handle, const TRect* R, bool Erase) {
    TWinControl* W = FindControl(Handle);
    if (!W) return false;
    W->InvalidateRect(R ? *R : W->GetClientRect(), Erase);
    return true;
}

void TWinControl::PaintWindow() {}

void TWinControl::PaintControls(const TRect& Clip) {
    Application->GetPaintPass().PaintGraphicChildren(this, Clip);
}

void TWinControl::WMPaint(TMessage&) {
    PaintWindow();
    PaintControls(Application->GetPaintPass().CurrentClip());
}

void TWinControl::WMNCPaint(TMessage& Message) {
    DefaultHandler(Message);
}

} // namespace folio
