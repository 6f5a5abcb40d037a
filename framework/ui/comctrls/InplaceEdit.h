#pragma once

#include "framework/ui/stdctrls/Edit.h"

#include <functional>

namespace folio {

// The edit box a list, tree or grid opens over an entry to rename it in
// place: Enter or leaving it accepts the text, Escape drops it. Either
// way the box hides and tells OnDone once; its owner applies the text.
class TInplaceEdit : public TCustomEdit {
public:
    // A part of Parent, not a component of the form.
    explicit TInplaceEdit(TWinControl* Parent);

    // Shows the box over R (Parent's client coordinates) holding Text, all
    // of it selected, with the keyboard.
    void Start(const TRect& R, const String& Text);
    bool Editing() const { return FEditing; }
    // Ends the edit; the text goes to OnDone when Accept.
    void Finish(bool Accept);

    std::function<void(bool Accept, const String& Text)> OnDone;

    void Dispatch(TMessage& Message) override;

protected:
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    bool FEditing = false;
};

} // namespace folio
