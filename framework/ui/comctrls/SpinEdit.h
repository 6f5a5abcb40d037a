#pragma once

#include "framework/ui/comctrls/RangeValue.h"
#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TEdit;
class TSpinButton;

// A whole number in an edit box with a pair of arrow buttons beside it.
// The buttons and the Up and Down keys step Value by Increment, Page Up and
// Page Down by ten increments; typed digits are taken when Enter is pressed
// or the box loses the keyboard, kept within MinValue .. MaxValue (text
// that is no number gives the value back). Every change of Value fires
// OnChange.
class TSpinEdit : public TCustomControl {
    FOLIO_CLASS(TSpinEdit)
public:
    explicit TSpinEdit(TComponent* AOwner);
    ~TSpinEdit() override;

    int GetValue() const { return FRange.Position; }
    void SetValue(int Value);
    int GetMinValue() const { return FRange.Min; }
    void SetMinValue(int Value);
    int GetMaxValue() const { return FRange.Max; }
    void SetMaxValue(int Value);
    int GetIncrement() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = std::max(Value, 1); }

    TEdit* GetEdit() const { return FEdit.get(); }
    TSpinButton* GetButton() const { return FButton.get(); }

    // Takes what is typed in the box as the value.
    void CommitText();
    // Steps Value by Count increments (negative: down).
    void StepBy(int Count);

    void SetFocus() override;
    bool CanFocus() const override;
    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;
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
