#pragma once

#include "framework/core/Component.h"
#include "framework/ui/controls/ControlEvents.h"

namespace folio {

class TForm;
class TButton;
class TLabel;
class TWinControl;

/// The base of the standard dialogs: a component that, when executed, builds
/// a modal form from the framework's own controls, runs it and keeps what
/// the user chose. Execute answers true when the user confirmed.
class TCommonDialog : public TComponent {
    FOLIO_CLASS(TCommonDialog)
public:
    /// A dialog with no title of its own.
    explicit TCommonDialog(TComponent* AOwner);
    ~TCommonDialog() override;

    /// The dialog's caption; empty gives the dialog's own.
    const String& GetTitle() const { return FTitle; }
    /// Sets the caption; empty (the default) gives the dialog's own.
    void SetTitle(const String& Value) { FTitle = Value; }

    /// Shows the dialog modally and waits; true when the user confirmed, with
    /// the choice kept in the dialog's properties, false when cancelled (the
    /// properties keep their values).
    virtual bool Execute() = 0;
    /// The dialog's form while Execute runs (so a handler, or a test, can
    /// reach its controls), otherwise null.
    TForm* GetForm() const { return FForm; }

    /// Fired just before the dialog's form shows.
    TNotifyEvent OnShow;
    /// Fired after the dialog's form has closed.
    TNotifyEvent OnClose;

protected:
    /// Shows Form modally as this dialog's form, with the focus on First,
    /// and answers whether it closed with the OK result.
    bool RunModal(TForm& Form, TWinControl* First);

    /// A label captioned Caption at (X, Y) of Parent, which owns it.
    static TLabel* AddLabel(TWinControl* Parent, const String& Caption, int X, int Y);
    /// A 75 by 25 button captioned Caption at (X, Y) of Parent, which owns
    /// it, closing the form with modal result Result (the default button
    /// for mrOk, the cancel button for mrCancel).
    static TButton* AddButton(TWinControl* Parent, const String& Caption, int X, int Y, int Result);

private:
    String FTitle;
    TForm* FForm = nullptr;
};

} // namespace folio
