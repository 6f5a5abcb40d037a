#pragma once

#include "framework/ui/stdctrls/ButtonControl.h"

namespace folio {

/// A radio button: one choice of a group. The radio buttons that share a
/// parent are one group: checking one, by the user or the program, unchecks
/// the others. The arrow keys move the focus to the group's next or previous
/// button (in tab order, wrapping round) and check it; only the checked
/// button of a group is a tab stop (all are while none is checked), so Tab
/// enters the group at its choice.
class TRadioButton : public TButtonControl {
    FOLIO_CLASS(TRadioButton)
public:
    /// An unchecked button of 113 by 17 pixels, a Tab stop.
    explicit TRadioButton(TComponent* AOwner);

    ///@{
    /// False by default. Checking it unchecks the rest of the group (once the
    /// form is read, for a form file) and fires OnChange.
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    ///@}

    /// Checks the button, then fires OnClick.
    void Click() override;
    /// After a form file is read: a checked button unchecks the rest of its group.
    void Loaded() override;
    /// Asks the dialog for the arrow keys.
    void Dispatch(TMessage& Message) override;

    /// A change of Checked by the user or the program (also when another
    /// button of the group takes the check).
    TNotifyEvent OnChange;

protected:
    /// Draws the round mark with its dot.
    void DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) override;
    /// Checked, pressed and enabled as the button is now.
    TMarkLook GetMarkLook() const override;
    /// The arrows check and focus the group's next or previous button.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    // The other radio buttons of the group, in tab order, this one among them.
    std::vector<TRadioButton*> Group() const;
    // Takes the check and the tab stop from the rest of the group.
    void UncheckOthers();

    bool FChecked = false;
};

} // namespace folio
