#include "framework/ui/stdctrls/Button.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"

namespace folio {

const TClassInfo& TButton::StaticClassInfo() {
    using C = TButton;
    static const TClassInfo Info =
        TClassBuilder<C>("TButton", &TCustomControl::StaticClassInfo())
            .Bool("Cancel", &C::GetCancel, &C::SetCancel, false)
            .Bool("Default", &C::GetDefault, &C::SetDefault, false)
            .Int("ModalResult", &C::GetModalResult, &C::SetModalResult, mrNone)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Caption", "Font", "ParentFont", "TabOrder"})
            .Publish("TabStop", 1)
            .Creatable()
            .Build();
    return Info;
}

TButton::TButton(TComponent* AOwner) : TCustomControl(AOwner) {
    // Two quick clicks are two clicks, not a double click.
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csOpaque});
    SetBounds(GetLeft(), GetTop(), 75, 25);
    SetTabStop(true);
    SetColor(clBtnFace);
}

// --- properties --------------------------------------------------------------------------

void TButton::SetDefault(bool Value) {
    if (Value == FDefault) return;
    FDefault = Value;
    const TCustomForm* Form = GetParentForm(this);
    UpdateActive(Form ? Form->GetFocusedControl() : nullptr);
}

void TButton::UpdateActive(const TWinControl* Focused) {
    const bool Active = dynamic_cast<const TButton*>(Focused) ? Focused == this : FDefault;
    if (Active == FActive) return;
    FActive = Active;
    Invalidate();
}

void TButton::Click() {
    if (FModalResult != mrNone)
        if (TCustomForm* Form = GetParentForm(this)) Form->SetModalResult(FModalResult);
    TCustomControl::Click();
}

// --- painting ------------------------------------------------------------------------------

void TButton::Paint() {
    TCanvas* Canvas = GetCanvas();
    const TButtonLook Look{IsPressed(), FActive, Focused()};
    const TRect Text = DrawButtonFace(Canvas, GetClientRect(), Look);
    DrawCaption(Canvas, GetCaption(), Text,
                DrawTextBiDiModeFlags(DT_CENTER | DT_VCENTER | DT_SINGLELINE), GetEnabled());
}

// --- input ------------------------------------------------------------------------------------

void TButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (HoldOnMouseDown(*this, FPress, Button)) Invalidate();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (FollowPointer(*this, FPress, X, Y)) Invalidate();
    TCustomControl::MouseMove(Shift, X, Y);
}

void TButton::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE && FPress.SpaceDown()) Invalidate();
}

void TButton::KeyUp(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FPress.IsSpaceDown()) {
        if (FPress.SpaceUp()) Invalidate();
        Click();
    }
}

void TButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONUP:
        // The button comes up before its click runs: a click that opens a
        // modal form must not leave it drawn pressed meanwhile.
        if (FPress.MouseUp()) Invalidate();
        Update();
        break;
    case WM_CANCELMODE:
    case WM_KILLFOCUS:
        FPress.Cancel();
        Invalidate();
        break;
    case WM_SETFOCUS:
        Invalidate();
        break;
    case CM_FOCUSCHANGED:
        UpdateActive(reinterpret_cast<const TWinControl*>(Message.LParam));
        return;
    case CM_DIALOGKEY: {
        const bool Plain = !InputRouter->IsKeyDown(VK_SHIFT) &&
                           !InputRouter->IsKeyDown(VK_CONTROL) && !InputRouter->IsKeyDown(VK_MENU);
        if (((Message.WParam == VK_RETURN && FActive) ||
             (Message.WParam == VK_ESCAPE && FCancel)) &&
            Plain && CanFocus()) {
            Click();
            Message.Result = 1;
        }
        return;
    }
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(Message.WParam), GetCaption()) && CanFocus()) {
            Click();
            Message.Result = 1;
        }
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TButton)

} // namespace folio
