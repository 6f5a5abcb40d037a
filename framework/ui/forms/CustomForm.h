#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/forms/Designer.h"
#include "framework/ui/forms/FormTypes.h"

#include <functional>
#include <memory>

namespace folio {

class TBitmap;
class TMainMenu;
class TMenuBar;

// A top-level window: caption, border style, the active control, closing,
// showing modally with a result.
class TCustomForm : public TCustomControl {
    FOLIO_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    TBorderIcons GetBorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    // The small picture the window system shows for the form (its title bar,
    // its task-bar entry); empty, the system shows its own. SetIcon copies.
    TBitmap* GetIcon() const { return FIcon.get(); }
    void SetIcon(TBitmap* Value);
    // Counts the icon's changes, so that a host sends it only when it is new.
    unsigned GetIconVersion() const { return FIconVersion; }
    // Takes effect when the form is first shown.
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }

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

    // The form's main menu shows as a bar along the top of its client
    // area, above the aligned controls.
    TMainMenu* GetMenu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    TMenuBar* GetMenuBar() const;
    // Clicks the menu item whose shortcut the key is (the focused control's
    // popup menus first, then the main menu); true when one took it.
    bool IsShortCut(unsigned short Key, TShiftState Shift);
    void Notification(TComponent* AComponent, TOperation Operation) override;

    // Scaled forms are designed at PixelsPerInch and grow (or shrink) to the
    // screen's resolution when they show: bounds, fonts and the controls'
    // own metrics by Screen PixelsPerInch / PixelsPerInch, after which
    // PixelsPerInch is the screen's. A form read from a form file is meant
    // for the resolution the file names. At the standard 96 on a standard
    // screen nothing changes.
    bool GetScaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    // Values below 1 are ignored.
    void SetPixelsPerInch(int Value);

    // Fits the form into the screen's work area: a form larger than it
    // shrinks to it, never below its least size (Constraints), and one that
    // reaches beyond it moves onto it. A form whose least size does not fit
    // keeps that size with its top left corner in the work area, where its
    // title bar stays in reach. A form that is scaled as it shows, or that
    // shows larger than the work area, is fitted by itself.
    void FitToWorkArea();

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
    void Loaded() override;
    // A form keeps its place on the screen; its client area is scaled.
    void ChangeScale(int M, int D) override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& Action);
    // Gives the focus to the active control, or to the form itself.
    void SetWindowFocus();

private:
    // The form filer streams the icons as bits.
    long long GetBorderIconBits() const { return static_cast<long long>(FBorderIcons.Bits()); }
    void SetBorderIconBits(long long Value) {
        SetBorderIcons(TBorderIcons::FromBits(static_cast<std::uint64_t>(Value)));
    }
    // Moves the form where its Position says, before it is first shown.
    void PlaceOnScreen();
    // Scales a Scaled form to the screen's resolution; answers whether it
    // did.
    bool ScaleToScreen();

    std::unique_ptr<TBitmap> FIcon;
    unsigned FIconVersion = 0;
    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    bool FPlaced = false;
    TWinControl* FActiveControl = nullptr;
    TWinControl* FFocusedControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FActive = false;
    bool FKeyPreview = false;
    bool FScaled = true;
    int FPixelsPerInch = 96;
    bool FShown = false;
    IDesigner* FDesigner = nullptr;
    TMainMenu* FMenu = nullptr;
    std::unique_ptr<TMenuBar> FMenuBar;
};

// The loop ShowModal runs for each step; a host whose events come from
// elsewhere replaces it (null restores Application->HandleMessage).
void SetModalLoopStep(std::function<void()> Step);

// The form a control lies on, or null.
TCustomForm* GetParentForm(const TControl* Control);

} // namespace folio
