#pragma once

#include "framework/ui/comctrls/RangeValue.h"
#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TEdit;
class TSpinButton;

/// A whole number in an edit box with a pair of arrow buttons beside it.
/// The buttons and the Up and Down keys step Value by Increment, Page Up and
/// Page Down by ten increments; typed digits are taken when Enter is pressed
/// or the box loses the keyboard, kept within MinValue to MaxValue (text
/// that is no number gives the value back). Every change of Value fires
/// OnChange.
class TSpinEdit : public TCustomControl {
    FOLIO_CLASS(TSpinEdit)
public:
    /// A spin edit 121 pixels wide and one edit box high, showing 0 in the
    /// range 0 to 100, stepping by 1.
    explicit TSpinEdit(TComponent* AOwner);
    /// Frees its box and buttons.
    ~TSpinEdit() override;

    /// The number; 0 by default, kept within MinValue to MaxValue. Every change
    /// fires OnChange.
    ///@{
    int GetValue() const { return FRange.Position; }
    void SetValue(int Value);
    ///@}
    /// The least value; 0 by default. Setting it above MaxValue raises MaxValue
    /// with it, and a Value below it comes up (firing OnChange).
    ///@{
    int GetMinValue() const { return FRange.Min; }
    void SetMinValue(int Value);
    ///@}
    /// The greatest value; 100 by default. Setting it below MinValue lowers
    /// MinValue with it, and a Value above it comes down (firing OnChange).
    ///@{
    int GetMaxValue() const { return FRange.Max; }
    void SetMaxValue(int Value);
    ///@}
    /// How far one step moves Value; 1 by default, at least 1.
    ///@{
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = std::max(Value, 1); }
    ///@}

    /// The edit box, a part of the spin edit (not a component of the form).
    TEdit* GetEdit() const { return FEdit.get(); }
    /// The arrow buttons, a part of the spin edit (not a component of the
    /// form).
    TSpinButton* GetButton() const { return FButton.get(); }

    /// Takes what is typed in the box as the value.
    void CommitText();
    /// Steps Value by Count increments (negative: down).
    void StepBy(int Count);

    /// Gives the keyboard to the edit box.
    void SetFocus() override;
    /// Whether the edit box can take the keyboard.
    bool CanFocus() const override;
    /// Puts the values read from a form in order and shows Value.
    void Loaded() override;

    /// Fired after every change of Value, by the user or the program (not while
    /// a form is read).
    TNotifyEvent OnChange;

protected:
    /// Lays the box and the buttons (16 pixels wide at 96 dots per inch) side
    /// by side over the whole control.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// Fills what the box and the buttons leave with the control's colour.
    void Paint() override;

private:
    void ValueChanged(int Was);
    void ShowValue();

    TRangeValue FRange;
    int FIncrement = 1;
    std::unique_ptr<TEdit> FEdit;
    std::unique_ptr<TSpinButton> FButton;
};

} // namespace folio
