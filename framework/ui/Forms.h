#pragma once

#include "framework/ui/Controls.h"

#include <functional>
#include <vector>

namespace folio {

// What a form designer offers the components it designs. A form holds one
// while it is being designed; at run time there is none.
class IDesigner {
public:
    virtual ~IDesigner() = default;
    // Something of the designed form changed and must be saved.
    virtual void Modified() = 0;
    // Makes Instance the designer's selection.
    virtual void SelectComponent(TPersistent* Instance) = 0;
};

// A top-level window: caption, border style, the active control, closing,
// showing modally with a result.
class TCustomForm : public TCustomControl {
    FOLIO_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* GetActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    // Records Control as the focused control of the form, firing the exit
    // and enter events along the way. A form may refuse (answer false); the
    // focus message is then dropped.
    virtual bool SetFocusedControl(TWinControl* Control);
    TWinControl* GetFocusedControl() const { return FFocusedControl; }
    void FocusControl(TWinControl* Control);
    bool GetActive() const { return FActive; }

    void Show();
    void Hide();
    void Close();
    bool CloseQuery();
    // Shows the form and runs a nested loop until ModalResult is set; hides
    // the form and answers the result.
    int ShowModal();
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool IsModal() const { return FModal; }
    // Frees the form once the messages already queued are handled.
    void Release();

    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }

    IDesigner* GetDesigner() const { return FDesigner; }
    void SetDesigner(IDesigner* Value) { FDesigner = Value; }

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

    // Internal: the screen activates forms; the control layer tells the form
    // of removed controls.
    void Activate(bool Value);
    void ControlRemoved(TControl* Control);

protected:
    void CreateParams(TCreateParams& Params) override;
    void UpdateShowing() override;
    void Paint() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    // Gives the focus to the active control, or to the form itself.
    void SetWindowFocus();

private:
    TFormBorderStyle FBorderStyle = bsSizeable;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    bool FKeyPreview = false;
    bool FShown = false;
    IDesigner* FDesigner = nullptr;
};

class TForm : public TCustomForm {
    FOLIO_CLASS(TForm)
public:
    explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

// The screen: every form, the active one, the cursor, the size.
class TScreen {
public:
    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int Index) const;
    TCustomForm* GetActiveForm() const { return FActiveForm; }
    TWinControl* GetActiveControl() const;
    // A cursor other than crDefault shows everywhere.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    int GetWidth() const { return FWidth; }
    int GetHeight() const { return FHeight; }
    void SetSize(int Width, int Height);

    // Internal bookkeeping.
    void AddForm(TCustomForm* Form);
    void RemoveForm(TCustomForm* Form);
    void ActivateForm(TCustomForm* Form);
    void FormHidden(TCustomForm* Form);
    void PushModal(TCustomForm* Form);
    void PopModal(TCustomForm* Form);
    // True when a modal form shows and C is not on it.
    bool IsBlockedByModal(const TControl* C) const;

private:
    std::vector<TCustomForm*> FForms;
    std::vector<TCustomForm*> FModalForms;
    TCustomForm* FActiveForm = nullptr;
    TCursor FCursor = crDefault;
    int FWidth = 1024;
    int FHeight = 768;
};

extern TScreen* const Screen;

// The loop ShowModal runs for each step; a host whose events come from
// elsewhere replaces it (null restores Application->HandleMessage).
void SetModalLoopStep(std::function<void()> Step);

} // namespace folio
