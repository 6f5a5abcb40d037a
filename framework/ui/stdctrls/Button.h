#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/controls/PressTracker.h"
#include "framework/ui/forms/FormTypes.h"

namespace folio {

/// A push button. It clicks on a mouse press and release over it, on the
/// space bar, on its accelerator ("&OK") and, as its form's default button,
/// on Enter (or Escape as its cancel button). A click hands ModalResult to
/// the form, which closes a modal form with that result.
class TButton : public TCustomControl {
    FOLIO_CLASS(TButton)
public:
    /// A button of 75 by 25 pixels on the button-face colour, a Tab stop.
    explicit TButton(TComponent* AOwner);

    ///@{
    /// Enter clicks the default button unless another button has the focus,
    /// which then takes Enter itself.
    /// False by default.
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    ///@}
    ///@{
    /// Escape clicks the cancel button.
    /// False by default.
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    ///@}
    ///@{
    /// What a click sets the form's ModalResult to; mrNone (the default) sets
    /// nothing.
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    ///@}

    /// True while Enter would click this button (the dark frame shows).
    bool IsActiveDefault() const { return FActive; }
    /// True while the button is held down (pressed look).
    bool IsPressed() const { return FPress.IsPressed(); }

    /// Hands ModalResult to the form (unless mrNone), then fires OnClick.
    void Click() override;
    /// Enter and Escape as the default or cancel button, the accelerator, and
    /// the pressed look following the mouse and the focus.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the face (pressed, default, focused) and the caption.
    void Paint() override;
    /// A left press focuses the button and holds it down.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The pressed look follows the pointer in and out.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// The space bar holds the button down.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// Letting the space bar go clicks.
    void KeyUp(unsigned short& Key, TShiftState Shift) override;

private:
    // Whether Enter goes to this button when Focused has the focus.
    void UpdateActive(const TWinControl* Focused);

    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    TModalResult FModalResult = mrNone;
    TPressTracker FPress;
};

} // namespace folio
