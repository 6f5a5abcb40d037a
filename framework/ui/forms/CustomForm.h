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

/// A top-level window: caption, border style, the active control, closing,
/// showing modally with a result.
class TCustomForm : public TCustomControl {
    FOLIO_CLASS(TCustomForm)
public:
    /// A hidden form of 320 by 240 pixels, in the button-face colour, known to
    /// Screen; Show or ShowModal shows it.
    explicit TCustomForm(TComponent* AOwner);
    /// Frees the form's components first, then fires OnDestroy and leaves
    /// Screen.
    ~TCustomForm() override;

    ///@{
    /// The frame and title bar: bsSizeable (the default), fixed, dialog, tool
    /// window or none. A change makes the window again.
    TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle Value);
    ///@}
    ///@{
    /// The title bar's buttons; system menu, minimise and maximise by default
    /// (dialogs and tool windows never show the last two). A change makes the
    /// window again.
    TBorderIcons GetBorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons Value);
    ///@}
    ///@{
    /// The small picture the window system shows for the form (its title bar,
    /// its task-bar entry); empty, the system shows its own. SetIcon copies.
    TBitmap* GetIcon() const { return FIcon.get(); }
    void SetIcon(TBitmap* Value);
    ///@}
    /// Counts the icon's changes, so that a host sends it only when it is new.
    unsigned GetIconVersion() const { return FIconVersion; }
    ///@{
    /// Takes effect when the form is first shown.
    /// poDesigned by default.
    TPosition GetPosition() const { return FPosition; }
    void SetPosition(TPosition Value) { FPosition = Value; }
    ///@}

    ///@{
    /// The control that has (or gets, when the form is activated) the focus.
    /// Setting raises EInvalidOperation for the form itself, a control of
    /// another form, or one that cannot take the focus (while the form is not
    /// being read from a file); on an active form the focus moves at once.
    TWinControl* GetActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* Control);
    ///@}
    /// Records Control as the focused control of the form, firing the exit
    /// and enter events along the way. A form may refuse (answer false); the
    /// focus message is then dropped.
    virtual bool SetFocusedControl(TWinControl* Control);
    /// The control that has the focus on this form, or null.
    TWinControl* GetFocusedControl() const { return FFocusedControl; }
    /// Makes Control the active control, activates the form and gives Control
    /// the keyboard focus (TWinControl::SetFocus comes here).
    void FocusControl(TWinControl* Control);
    /// Whether this is the active form, the one whose controls get the keys.
    bool GetActive() const { return FActive; }

    /// Shows the form and makes it the active form; the first show places it
    /// (Position), scales it (Scaled) and fires OnShow.
    void Show();
    /// Hides the form (OnHide); the focus leaves it.
    void Hide();
    /// Asks OnCloseQuery, then OnClose (whose Action starts as caHide) decides:
    /// hide, free (Release) or stay. On a modal form it only sets ModalResult to
    /// mrCancel, which ends the loop.
    void Close();
    /// Fires OnCloseQuery; whether the form may close (true without a handler).
    bool CloseQuery();
    /// Shows the form and runs a nested loop until ModalResult is set; hides
    /// the form and answers the result.
    /// Raises EInvalidOperation for a form that is already visible or modal.
    /// Open popups close first. A result the form refuses to close on
    /// (OnCloseQuery, OnClose with caNone) is cleared and the loop goes on; an
    /// application told to end while the form shows cancels it (mrCancel).
    int ShowModal();
    ///@{
    /// The result of a modal form: mrNone while it runs; anything else ends
    /// ShowModal with that value.
    TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    ///@}
    /// Whether the form is running in ShowModal.
    bool IsModal() const { return FModal; }
    /// Frees the form once the messages already queued are handled; nothing
    /// for a form whose window was never made (never shown).
    void Release();

    ///@{
    /// The form's main menu shows as a bar along the top of its client
    /// area, above the aligned controls.
    /// Null by default; the reference is dropped when the menu is freed.
    TMainMenu* GetMenu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    ///@}
    /// The bar showing the main menu; null without one.
    TMenuBar* GetMenuBar() const;
    /// Clicks the menu item whose shortcut the key is (the focused control's
    /// popup menus first, then the main menu); true when one took it.
    bool IsShortCut(unsigned short Key, TShiftState Shift);
    /// Drops the main menu when it is freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;

    ///@{
    /// Scaled forms are designed at PixelsPerInch and grow (or shrink) to the
    /// screen's resolution when they show: bounds, fonts and the controls'
    /// own metrics by Screen PixelsPerInch / PixelsPerInch, after which
    /// PixelsPerInch is the screen's. A form read from a form file is meant
    /// for the resolution the file names. At the standard 96 on a standard
    /// screen nothing changes.
    /// True by default.
    bool GetScaled() const { return FScaled; }
    void SetScaled(bool Value) { FScaled = Value; }
    ///@}
    ///@{
    /// The resolution the form's sizes are meant for; 96 by default. Values
    /// below 1 are ignored.
    int GetPixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value);
    ///@}

    /// Fits the form into the screen's work area: a form larger than it
    /// shrinks to it, never below its least size (Constraints), and one that
    /// reaches beyond it moves onto it. A form whose least size does not fit
    /// keeps that size with its top left corner in the work area, where its
    /// title bar stays in reach. A form that is scaled as it shows, or that
    /// shows larger than the work area, is fitted by itself.
    void FitToWorkArea();

    ///@{
    /// Whether the form sees the keys of its focused control first (OnKeyDown,
    /// OnKeyPress, OnKeyUp of the form); a key the form sets to 0 never reaches
    /// the control. False by default.
    bool GetKeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool Value) { FKeyPreview = Value; }
    ///@}

    ///@{
    /// The designer the form is open in; null at run time.
    IDesigner* GetDesigner() const { return FDesigner; }
    void SetDesigner(IDesigner* Value) { FDesigner = Value; }
    ///@}

    /// Tab and Shift+Tab move the focus round the Tab stops; the arrow keys
    /// walk the active control's siblings; WM_CLOSE closes the form.
    void Dispatch(TMessage& Message) override;

    /// The form was shown (not again until it was hidden).
    TNotifyEvent OnShow;
    /// The form was hidden.
    TNotifyEvent OnHide;
    /// The form became the active form.
    TNotifyEvent OnActivate;
    /// The form stopped being the active form (another took over, or it hid).
    TNotifyEvent OnDeactivate;
    /// The form closes; Action arrives as caHide and picks hide, free, stay
    /// (caNone) or minimise (hidden too).
    TCloseEvent OnClose;
    /// May the form close? CanClose arrives true.
    TCloseQueryEvent OnCloseQuery;
    /// Never fired by the framework: a program sets the form up after making it.
    TNotifyEvent OnCreate;
    /// The form is being destroyed; its components are already gone.
    TNotifyEvent OnDestroy;

    ///@{
    /// Internal: the screen activates forms; the control layer tells the form
    /// of removed controls.
    void Activate(bool Value);
    void ControlRemoved(TControl* Control);
    ///@}

protected:
    /// A top-level window whose title bar and frame follow BorderStyle and
    /// BorderIcons.
    void CreateParams(TCreateParams& Params) override;
    /// Showing: scales, places and fits the form, makes its window and
    /// activates it (OnShow the first time); hiding: OnHide, the focus leaves.
    void UpdateShowing() override;
    /// After a form file is read: every control measures by the form's
    /// PixelsPerInch until the form is scaled.
    void Loaded() override;
    /// A form keeps its place on the screen; its client area is scaled.
    void ChangeScale(int M, int D) override;
    /// The menu bar goes along the top, above every aligned control.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// Lets the designer draw its grid.
    void Paint() override;
    /// Fires OnShow.
    virtual void DoShow();
    /// Fires OnHide.
    virtual void DoHide();
    /// Fires OnClose.
    virtual void DoClose(TCloseAction& Action);
    /// Gives the focus to the active control, or to the form itself.
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

/// The loop ShowModal runs for each step; a host whose events come from
/// elsewhere replaces it (null restores Application->HandleMessage).
void SetModalLoopStep(std::function<void()> Step);

/// The form a control lies on, or null.
TCustomForm* GetParentForm(const TControl* Control);

} // namespace folio
