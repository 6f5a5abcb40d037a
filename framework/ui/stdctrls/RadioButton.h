#pragma once

#include "framework/ui/stdctrls/ButtonControl.h"

namespace folio {

// A radio button: one choice of a group. The radio buttons that share a
// parent are one group: checking one, by the user or the program, unchecks
// the others. The arrow keys move the focus to the group's next or previous
// button (in tab order, wrapping round) and check it; only the checked
// button of a group is a tab stop (all are while none is checked), so Tab
// enters the group at its choice.
class TRadioButton : public TButtonControl {
    FOLIO_CLASS(TRadioButton)
public:
    explicit TRadioButton(TComponent* AOwner);

    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);

    void Click() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

    // A change of Checked by the user or the program (also when another
    // button of the group takes the check).
    TNotifyEvent OnChange;

protected:
    void DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) override;
    TMarkLook GetMarkLook() const override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    // The other radio buttons of the group, in tab order, this one among them.
    std::vector<TRadioButton*> Group() const;
    // Takes the check and the tab stop from the rest of the group.
    void UncheckOthers();

    bool FChecked = false;
};

} // namespace folio
