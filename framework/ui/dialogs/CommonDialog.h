#pragma once

#include "framework/core/Component.h"
#include "framework/ui/controls/ControlEvents.h"

namespace folio {

class TForm;
class TButton;
class TLabel;
class TWinControl;

// The base of the standard dialogs: a component that, when executed, builds
// a modal form from the framework's own controls, runs it and keeps what
// the user chose. Execute answers true when the user confirmed.
class TCommonDialog : public TComponent {
    FOLIO_CLASS(TCommonDialog)
public:
    explicit TCommonDialog(TComponent* AOwner);
    ~TCommonDialog() override;

    // The dialog's caption; empty gives the dialog's own.
    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }

    virtual bool Execute() = 0;
    // The dialog's form while Execute runs (so a handler, or a test, can
    // reach its controls), otherwise null.
    TForm* GetForm() const { return FForm; }

    // Told when the form is about to show and when it has closed.
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // Shows Form modally as this dialog's form, with the focus on First,
    // and answers whether it closed with the OK result.
    bool RunModal(TForm& Form, TWinControl* First);

    // Building blocks for the dialogs' layouts.
    static TLabel* AddLabel(TWinControl* Parent, const String& Caption, int X, int Y);
    static TButton* AddButton(TWinControl* Parent, const String& Caption, int X, int Y, int Result);

private:
    String FTitle;
    TForm* FForm = nullptr;
};

} // namespace folio
