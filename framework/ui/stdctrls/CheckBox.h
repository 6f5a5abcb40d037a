#pragma once

#include "framework/ui/stdctrls/ButtonControl.h"

namespace folio {

/// A check box's state: unticked, ticked, or grayed (neither).
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;

/// A check box: a square that a click or the space bar ticks and unticks.
/// With AllowGrayed the user's clicks also pass through a third, grayed
/// state (unchecked, checked, grayed, unchecked ...). The user's changes
/// fire OnClick; the program's (SetState, SetChecked) fire nothing.
class TCheckBox : public TButtonControl {
    FOLIO_CLASS(TCheckBox)
public:
    /// An unchecked box of 97 by 17 pixels.
    explicit TCheckBox(TComponent* AOwner);

    ///@{
    /// cbUnchecked by default; setting it repaints and fires nothing.
    TCheckBoxState GetState() const { return FState; }
    void SetState(TCheckBoxState Value);
    ///@}
    ///@{
    /// Whether State is cbChecked; setting it sets cbChecked or cbUnchecked.
    bool GetChecked() const { return FState == cbChecked; }
    void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
    ///@}
    ///@{
    /// Whether the user's clicks pass through cbGrayed; false by default.
    bool GetAllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }
    ///@}

    /// Moves to the next state as a click does.
    void Toggle();
    /// Toggles, then fires OnClick.
    void Click() override;

protected:
    /// Draws the square with its tick.
    void DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) override;
    /// Checked, grayed, pressed and enabled as the box is now.
    TMarkLook GetMarkLook() const override;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
};

} // namespace folio
