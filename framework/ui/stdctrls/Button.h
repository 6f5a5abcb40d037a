#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/controls/PressTracker.h"
#include "framework/ui/forms/FormTypes.h"

namespace folio {

// A push button. It clicks on a mouse press and release over it, on the
// space bar, on its accelerator ("&OK") and, as its form's default button,
// on Enter (or Escape as its cancel button). A click hands ModalResult to
// the form, which closes a modal form with that result.
class TButton : public TCustomControl {
    FOLIO_CLASS(TButton)
public:
    explicit TButton(TComponent* AOwner);

    // Enter clicks the default button unless another button has the focus,
    // which then takes Enter itself.
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    // Escape clicks the cancel button.
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }

    // True while Enter would click this button (the dark frame shows).
    bool IsActiveDefault() const { return FActive; }
    // True while the button is held down (pressed look).
    bool IsPressed() const { return FPress.IsPressed(); }

    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
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
