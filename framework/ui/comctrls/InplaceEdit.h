#pragma once

#include "framework/ui/stdctrls/Edit.h"

#include <functional>

namespace folio {

/// The edit box a list, tree or grid opens over an entry to rename it in
/// place: Enter or leaving it accepts the text, Escape drops it. Either
/// way the box hides and tells OnDone once; its owner applies the text.
class TInplaceEdit : public TCustomEdit {
public:
    /// A part of Parent, not a component of the form.
    explicit TInplaceEdit(TWinControl* Parent);

    /// Shows the box over R (Parent's client coordinates) holding Text, all
    /// of it selected, with the keyboard.
    void Start(const TRect& R, const String& Text);
    /// True from Start until the edit ends.
    bool Editing() const { return FEditing; }
    /// Ends the edit; the text goes to OnDone when Accept.
    void Finish(bool Accept);

    /// Told once when an edit ends: Accept true with the text typed (Enter, or
    /// the focus leaving), false when Escape dropped it.
    std::function<void(bool Accept, const String& Text)> OnDone;

    /// Enter and Escape are always the box's own keys (a form's default and
    /// cancel buttons do not take them); losing the focus accepts the edit.
    void Dispatch(TMessage& Message) override;

protected:
    /// Enter accepts the edit and Escape drops it.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    bool FEditing = false;
};

} // namespace folio
