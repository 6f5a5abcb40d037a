#pragma once

// The in-place caption editor of the bar.

#include "folio/Folio.h"
#include "framework/ui/stdctrls/Edit.h"

namespace folio {

/// A flat edit box laid over a group or item caption. It never applies its
/// text itself: Enter and Escape post WM_HIDEEDITOR to the bar, which closes
/// the editor when the message arrives, so the editor is never destroyed while
/// one of its own handlers runs. A press on the bar accepts the edit; a press
/// on another control, or the focus going elsewhere, leaves it open, so the
/// developer can look something up and come back to the text.
class TFolEditor : public TCustomEdit {
    FOLIO_CLASS(TFolEditor)
public:
    /// The owner is the bar; the editor reaches the bar through it.
    explicit TFolEditor(TFolio* ABar);

    /// Enter and Escape are always the editor's own keys (a form's default
    /// or cancel button does not take them), the focus stays the bar's for
    /// the form, and a release waits until the editor's handlers have
    /// returned.
    void WndProc(TMessage& Message) override;

    /// True while one of the editor's own message handlers runs. An event of
    /// the application called from there may still close the edit; the bar
    /// then retires the editor instead of freeing it under its own handler.
    bool GetBusy() const { return FBusy > 0; }
    /// Hides the editor and frees it from the loop, after its handlers and
    /// the framework code that called them are done with it.
    void Retire();

protected:
    /// Takes the bar's reading order; a box for an item caption of a group
    /// with large pictures wraps and centres its text, any other scrolls it
    /// sideways.
    void CreateParams(TCreateParams& Params) override;
    /// Escape posts WM_HIDEEDITOR with WParam 0 (cancel) to the bar.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// Enter posts WM_HIDEEDITOR with WParam 1 (accept) to the bar and is
    /// never typed; what is typed also reaches the bar's OnKeyPress.
    void KeyPress(char& Key) override;
    /// A wrapping item editor grows with its text, centred, up to the bar's
    /// client width less two ItemSpacing.
    void Change() override;

private:
    /// The bar sizes a new item editor through Change.
    friend class TFolio;
    TFolio* Bar() const { return static_cast<TFolio*>(GetOwner()); }
    /// The bar while this is its open editor; null once the edit was closed
    /// and the editor only waits to be freed, so its keys close nothing else.
    TFolio* LiveBar() const;
    /// True when the bar edits an item caption of a group with large pictures:
    /// the box wraps its text and grows with it.
    bool LargeItemEdit() const;

    void HandleMessage(TMessage& Message);

    int FBusy = 0;
    bool FReleasePending = false;
};

} // namespace folio
