#pragma once

#include "framework/ui/stdctrls/ButtonControl.h"

namespace folio {

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;

// A check box: a square that a click or the space bar ticks and unticks.
// With AllowGrayed the user's clicks also pass through a third, grayed
// state (unchecked, checked, grayed, unchecked ...). The user's changes
// fire OnClick; the program's (SetState, SetChecked) fire nothing.
class TCheckBox : public TButtonControl {
    FOLIO_CLASS(TCheckBox)
public:
    explicit TCheckBox(TComponent* AOwner);

    TCheckBoxState GetState() const { return FState; }
    void SetState(TCheckBoxState Value);
    bool GetChecked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    bool GetAllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

    // Moves to the next state as a click does.
    void Toggle();
    void Click() override;

protected:
    void DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) override;
    TMarkLook GetMarkLook() const override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

} // namespace folio
