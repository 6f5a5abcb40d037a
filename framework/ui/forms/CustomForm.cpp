#include "framework/ui/forms/CustomForm.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/PopupWindow.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuBar.h"
#include "framework/ui/menus/PopupMenu.h"

#include <algorithm>

namespace folio {

namespace {
std::function<void()> ModalStep;
} // namespace

void SetModalLoopStep(std::function<void()> Step) {
    ModalStep = std::move(Step);
}

TCustomForm* GetParentForm(const TControl* Control) {
    if (!Control) return nullptr;
    const TControl* C = Control;
    while (C->GetParent()) C = C->GetParent();
    return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(C));
}

namespace {
const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone",   "bsSingle",     "bsSizeable",
                                           "bsDialog", "bsToolWindow", "bsSizeToolWin"};
    return Names;
}
const std::vector<String>& PositionNames() {
    static const std::vector<String> Names{
        "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
        "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
    return Names;
}
constexpr TBorderIcons DefaultBorderIcons{biSystemMenu, biMinimize, biMaximize};

// Where the system puts the next window it places itself: down and to the
// right of the last one, starting over near the corner when the screen is
// used up.
TPoint NextDefaultPosition(int Width, int Height) {
    constexpr int Step = 24;
    static int Placed = 0;
    for (int Attempt = 0; Attempt < 2; ++Attempt) {
        const int Offset = 8 + Step * Placed++;
        if (Offset + Width <= Screen->GetWidth() && Offset + Height <= Screen->GetHeight())
            return TPoint{Offset, Offset};
        Placed = 0;
    }
    return TPoint{8, 8};
}
} // namespace

const TClassInfo& TCustomForm::StaticClassInfo() {
    using C = TCustomForm;
    static const TClassInfo Info =
        TClassBuilder<C>("TCustomForm", &TCustomControl::StaticClassInfo())
            .Enum("BorderStyle", "TFormBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, std::optional<TFormBorderStyle>(bsSizeable))
            .Unpublished()
            .Bool("KeyPreview", &C::GetKeyPreview, &C::SetKeyPreview, false)
            .Unpublished()
            .Set("BorderIcons", "TBorderIcons",
                 {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, &C::GetBorderIconBits,
                 &C::SetBorderIconBits, static_cast<long long>(DefaultBorderIcons.Bits()))
            .Unpublished()
            .Object("Icon", &C::GetIcon, &C::SetIcon)
            .Unpublished()
            .Component("Menu", &C::GetMenu, &C::SetMenu)
            .Unpublished()
            .Int("PixelsPerInch", &C::GetPixelsPerInch, &C::SetPixelsPerInch, 96)
            .Unpublished()
            .Enum("Position", "TPosition", PositionNames(), &C::GetPosition, &C::SetPosition,
                  std::optional<TPosition>(poDesigned))
            .Unpublished()
            .Bool("Scaled", &C::GetScaled, &C::SetScaled, true)
            .Unpublished()
            .Event("OnActivate", &C::OnActivate)
            .Unpublished()
            .Event("OnClose", &C::OnClose)
            .Unpublished()
            .Event("OnCloseQuery", &C::OnCloseQuery)
            .Unpublished()
            .Event("OnDeactivate", &C::OnDeactivate)
            .Unpublished()
            .Event("OnDestroy", &C::OnDestroy)
            .Unpublished()
            .Event("OnHide", &C::OnHide)
            .Unpublished()
            .Event("OnShow", &C::OnShow)
            .Unpublished()
            .Build();
    return Info;
}

TCustomForm::TCustomForm(TComponent* AOwner)
    : TCustomControl(AOwner), FIcon(std::make_unique<TBitmap>()) {
    FIcon->OnChange = [this](TObject*) { ++FIconVersion; };
    StartHidden();
    SetColor(SysColorBtnFace);
    SetControlStyle(
        {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(GetLeft(), GetTop(), 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    FMenuBar.reset();
    // The controls go while the form is still a form: their destructors
    // may ask it to forget them.
    DestroyComponents();
    if (OnDestroy) OnDestroy(this);
    Screen->RemoveForm(this);
    FIcon->OnChange = nullptr;
}

void TCustomForm::SetIcon(TBitmap* Value) {
    FIcon->Assign(Value);
}

void TCustomForm::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.Style &= ~(WS_CHILD | WS_CLIPSIBLINGS);
    Params.Style |= WS_POPUP | WS_CLIPCHILDREN;
    const unsigned SysMenu = FBorderIcons.Contains(biSystemMenu) ? WS_SYSMENU : 0u;
    // Dialogs and tool windows have no minimise and maximise buttons.
    const unsigned Boxes = (FBorderIcons.Contains(biMinimize) ? WS_MINIMIZEBOX : 0u) |
                           (FBorderIcons.Contains(biMaximize) ? WS_MAXIMIZEBOX : 0u);
    switch (FBorderStyle) {
    case bsNone:
        break;
    case bsSingle:
        Params.Style |= WS_CAPTION | SysMenu | Boxes;
        break;
    case bsToolWindow:
        Params.Style |= WS_CAPTION | SysMenu;
        break;
    case bsSizeable:
        Params.Style |= WS_CAPTION | SysMenu | Boxes | WS_THICKFRAME;
        break;
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | SysMenu | WS_THICKFRAME;
        break;
    case bsDialog:
        Params.Style |= WS_CAPTION | SysMenu;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin)
        Params.ExStyle |= WS_EX_TOOLWINDOW;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value) {
    if (Value.Bits() == FBorderIcons.Bits()) return;
    FBorderIcons = Value;
    RecreateWnd();
}

void TCustomForm::PlaceOnScreen() {
    FPlaced = true;
    TRect Around = Rect(0, 0, Screen->GetWidth(), Screen->GetHeight());
    switch (FPosition) {
    case poDesigned:
    case poDefaultSizeOnly:
        return;
    case poDefault:
    case poDefaultPosOnly: {
        const TPoint P = NextDefaultPosition(GetWidth(), GetHeight());
        SetBounds(P.X, P.Y, GetWidth(), GetHeight());
        return;
    }
    case poMainFormCenter:
    case poOwnerFormCenter:
        // Over the form that owns this one, when there is such a form.
        if (auto* OwnerForm = dynamic_cast<TCustomForm*>(Owner()); OwnerForm && OwnerForm != this)
            Around = OwnerForm->GetBoundsRect();
        break;
    case poScreenCenter:
    case poDesktopCenter:
        break;
    }
    SetBounds(Around.Left + (Around.Width() - GetWidth()) / 2,
              Around.Top + (Around.Height() - GetHeight()) / 2, GetWidth(), GetHeight());
}

void TCustomForm::Paint() {
    if (FDesigner) FDesigner->PaintGrid();
}

void TCustomForm::SetPixelsPerInch(int Value) {
    if (Value >= 1) FPixelsPerInch = Value;
}

void TCustomForm::Loaded() {
    TCustomControl::Loaded();
    // The file's sizes are meant for its resolution; the controls measure
    // their own metrics by it until the form is scaled.
    std::vector<TControl*> Pending{this};
    while (!Pending.empty()) {
        TControl* C = Pending.back();
        Pending.pop_back();
        TScaleHooks::SetCurrentPPI(*C, FPixelsPerInch);
        if (auto* W = dynamic_cast<TWinControl*>(C))
            for (int I = 0; I < W->ControlCount(); ++I) Pending.push_back(W->Controls(I));
    }
}

bool TCustomForm::ScaleToScreen() {
    const int Target = Screen->GetPixelsPerInch();
    if (!FScaled || Target == FPixelsPerInch) return false;
    ScaleBy(Target, FPixelsPerInch);
    FPixelsPerInch = Target;
    return true;
}

void TCustomForm::FitToWorkArea() {
    const TRect Area = Screen->GetWorkAreaRect();
    // The size first: the constraints may refuse part of the shrinking.
    const int Width = std::min(GetWidth(), Area.Width());
    const int Height = std::min(GetHeight(), Area.Height());
    if (Width != GetWidth() || Height != GetHeight()) SetBounds(GetLeft(), GetTop(), Width, Height);
    const int Left = std::max(Area.Left, std::min(GetLeft(), Area.Right - GetWidth()));
    const int Top = std::max(Area.Top, std::min(GetTop(), Area.Bottom - GetHeight()));
    if (Left != GetLeft() || Top != GetTop()) SetBounds(Left, Top, GetWidth(), GetHeight());
}

void TCustomForm::ChangeScale(int M, int D) {
    if (M == D || M <= 0 || D <= 0) return;
    const int Left = GetLeft();
    const int Top = GetTop();
    const int ClientW = GetClientWidth();
    const int ClientH = GetClientHeight();
    TCustomControl::ChangeScale(M, D);
    SetBounds(Left, Top, GetWidth(), GetHeight());
    SetClientWidth(MulDiv(ClientW, M, D));
    SetClientHeight(MulDiv(ClientH, M, D));
}

void TCustomForm::UpdateShowing() {
    if (GetVisible()) {
        const bool Scaled = ScaleToScreen();
        if (!FPlaced) PlaceOnScreen();
        // A form designed for a smaller screen, or grown by scaling, would
        // reach beyond the screen, its lower controls and its title bar's
        // buttons out of the user's reach. A form open in a designer keeps
        // the size being designed.
        const TRect Area = Screen->GetWorkAreaRect();
        if (!IsDesigning() && (Scaled || GetWidth() > Area.Width() || GetHeight() > Area.Height()))
            FitToWorkArea();
        // A shown form gets its windows and becomes the active form.
        if (!HandleAllocated()) CreateHandle();
        InputRouter->BringToTop(this);
        Invalidate();
        if (!FShown) {
            FShown = true;
            DoShow();
        }
        Screen->ActivateForm(this);
    } else {
        if (FShown) {
            FShown = false;
            DoHide();
        }
        if (HandleAllocated()) {
            // The focus leaves a hidden form.
            if (FindControl(GetFocus()) && GetParentForm(FindControl(GetFocus())) == this)
                folio::SetFocus(0);
        }
        Screen->FormHidden(this);
    }
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::Show() {
    SetVisible(true);
    Screen->ActivateForm(this);
}

void TCustomForm::Hide() {
    SetVisible(false);
}

void TCustomForm::Activate(bool Value) {
    if (Value == FActive) return;
    FActive = Value;
    if (Value) {
        // A form activated with no control chosen gives the keyboard to the
        // first control of its tab order that can take it, as a dialog
        // does: keys then go to a control the user sees, not to the form
        // unseen. A form open in a designer leaves the choice to it.
        if (!FActiveControl && !IsDesigning())
            FActiveControl = FindNextControl(nullptr, true, true, false);
        SetWindowFocus();
        if (OnActivate) OnActivate(this);
    } else if (OnDeactivate) {
        OnDeactivate(this);
    }
}

void TCustomForm::SetWindowFocus() {
    if (!HandleAllocated()) return;
    TWinControl* Target = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : this;
    folio::SetFocus(Target->GetHandle());
}

void TCustomForm::SetActiveControl(TWinControl* Control) {
    if (Control == FActiveControl) return;
    if (Control && (Control == this || GetParentForm(Control) != this ||
                    (!IsLoading() && !Control->CanFocus())))
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    FActiveControl = Control;
    if (!IsLoading() && FActive) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* Control) {
    const bool WasActive = FActive;
    SetActiveControl(Control);
    if (!WasActive) Screen->ActivateForm(this);
    if (FActive && HandleAllocated() && Control && FindControl(GetFocus()) != Control &&
        Control->CanFocus())
        folio::SetFocus(Control->GetHandle());
}

bool TCustomForm::SetFocusedControl(TWinControl* Control) {
    // The active control follows even when the focused one stays: a control
    // that hands the keyboard to a short-lived child of its own (an in-place
    // editor) records itself again, over the child that focusing made active.
    if (Control != this && Control) FActiveControl = Control;
    if (Control == FFocusedControl) return true;
    // Exit events from the old control up to the common parent, then enter
    // events down to the new one.
    TWinControl* Old = FFocusedControl;
    FFocusedControl = Control;
    std::vector<TWinControl*> NewChain;
    for (TWinControl* W = Control; W && W != this; W = W->GetParent()) NewChain.push_back(W);
    auto InNewChain = [&](TWinControl* W) {
        return std::find(NewChain.begin(), NewChain.end(), W) != NewChain.end();
    };
    for (TWinControl* W = Old; W && W != this && !InNewChain(W); W = W->GetParent()) {
        W->Perform(CM_EXIT);
        if (FFocusedControl != Control) return false; // a handler moved the focus
    }
    std::vector<TWinControl*> Enter;
    for (TWinControl* W : NewChain) {
        bool InOld = false;
        for (TWinControl* X = Old; X && X != this; X = X->GetParent())
            if (X == W) InOld = true;
        if (!InOld) Enter.push_back(W);
    }
    for (size_t I = Enter.size(); I-- > 0;) {
        Enter[I]->Perform(CM_ENTER);
        if (FFocusedControl != Control) return false;
    }
    // The buttons follow the focus: the focused one answers Enter.
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<std::intptr_t>(Control));
    return true;
}

// --- the main menu ----------------------------------------------------------------------------

void TCustomForm::SetMenu(TMainMenu* Value) {
    if (Value == FMenu) return;
    if (FMenu) FMenu->RemoveFreeNotification(this);
    FMenu = Value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        if (!FMenuBar) {
            FMenuBar = std::make_unique<TMenuBar>(nullptr);
            FMenuBar->SetParent(this);
            // First among the children, so that it takes accelerators first.
            SetChildOrder(FMenuBar.get(), 0);
        }
        FMenuBar->SetMenu(FMenu);
    } else {
        FMenuBar.reset();
    }
    Realign();
}

TMenuBar* TCustomForm::GetMenuBar() const {
    return FMenuBar.get();
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect) {
    // The menu bar runs along the top, above every aligned control.
    if (FMenuBar) {
        const int H = FMenuBar->BarHeight();
        FMenuBar->SetBounds(Rect.Left, Rect.Top, Rect.Width(), H);
        Rect.Top += H;
    }
    TCustomControl::AlignControls(AControl, Rect);
}

bool TCustomForm::IsShortCut(unsigned short Key, TShiftState Shift) {
    // The popup menus of the focused control and its parents first, then
    // the form's menu.
    for (TControl* C = FindControl(GetFocus()); C; C = C->GetParent())
        if (auto* Popup = dynamic_cast<TPopupMenu*>(C->GetPopupMenu()))
            if (Popup->IsShortCut(Key, Shift)) return true;
    return FMenu && FMenu->IsShortCut(Key, Shift);
}

void TCustomForm::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu) SetMenu(nullptr);
}

void TCustomForm::ControlRemoved(TControl* Control) {
    auto Inside = [Control](TWinControl* W) {
        for (TControl* X = W; X; X = X->GetParent())
            if (X == Control) return true;
        return false;
    };
    if (FActiveControl && Inside(FActiveControl)) FActiveControl = nullptr;
    if (FFocusedControl && Inside(FFocusedControl)) FFocusedControl = nullptr;
}

bool TCustomForm::CloseQuery() {
    bool CanClose = true;
    if (OnCloseQuery) OnCloseQuery(this, CanClose);
    return CanClose;
}

void TCustomForm::DoClose(TCloseAction& Action) {
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction Action = caHide;
    DoClose(Action);
    switch (Action) {
    case caHide:
    case caMinimize:
        Hide();
        break;
    case caFree:
        Release();
        break;
    case caNone:
        break;
    }
}

void TCustomForm::Release() {
    if (HandleAllocated()) PostMessage(GetHandle(), CM_RELEASE);
}

int TCustomForm::ShowModal() {
    if (GetVisible() || FModal) throw EInvalidOperation("Cannot make a visible window modal");
    // A modal form takes over from whatever popup was open.
    TPopupWindow::CloseAll();
    FModal = true;
    FModalResult = mrNone;
    Screen->PushModal(this);
    // The press that opened the form and the next one after it closes are
    // no double click, however quick.
    InputRouter->ForgetFirstPress();
    // A loop that was told to end before the form showed is not this
    // form's business; one told to end while it shows cancels the form.
    const bool WasTerminated = Application->Terminated();
    {
        TScopeGuard EndModal([this] {
            Screen->PopModal(this);
            InputRouter->ForgetFirstPress();
            FModal = false;
            Hide();
        });
        Show();
        for (;;) {
            if (ModalStep)
                ModalStep();
            else
                Application->HandleMessage();
            if (!WasTerminated && Application->Terminated()) FModalResult = mrCancel;
            if (FModalResult != mrNone) {
                // A result ends the loop unless the form refuses to close.
                TCloseAction Action = caHide;
                if (CloseQuery())
                    DoClose(Action);
                else
                    Action = caNone;
                if (Action == caNone)
                    FModalResult = mrNone;
                else
                    break;
            }
        }
    }
    return FModalResult;
}

void TCustomForm::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_DIALOGKEY:
        // Ctrl+Tab is for the tab controls: it goes round the controls.
        if (Message.WParam == VK_TAB && !InputRouter->IsKeyDown(VK_CONTROL)) {
            SelectNext(FActiveControl, !InputRouter->IsKeyDown(VK_SHIFT), true);
            Message.Result = 1;
            return;
        }
        // Arrows walk the active control's siblings in tab order, tab stops
        // or not. Without an active control they stay ordinary keys.
        if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT || Message.WParam == VK_UP ||
            Message.WParam == VK_DOWN) {
            if (!FActiveControl || !FActiveControl->GetParent()) return;
            const bool Forward = Message.WParam == VK_RIGHT || Message.WParam == VK_DOWN;
            if (TWinControl* Next = FActiveControl->GetParent()->FindNextControl(
                    FActiveControl, Forward, false, true))
                Next->SetFocus();
            Message.Result = 1;
            return;
        }
        break;
    case CM_RELEASE:
        delete this;
        return;
    case WM_CLOSE:
        Close();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

} // namespace folio
