#include "framework/ui/app/Hints.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/ControlMessages.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/Mouse.h"

#include <algorithm>

namespace folio {

FOLIO_DEFINE_CLASS(THintWindow, TCustomControl)

namespace {
// Text margins inside the frame, as the platform's hint window has them.
constexpr int MarginX = 3, MarginY = 2;
// The hint shows below the pointer, clear of the arrow's shape.
constexpr int BelowPointer = 20;
// Hint lines wrap at this width.
constexpr int MaxHintWidth = 300;

constexpr unsigned ShowTimer = 1;
constexpr unsigned HideTimer = 2;

bool Inside(const TControl* C, const TControl* Container) {
    for (; C; C = C->GetParent())
        if (C == Container) return true;
    return false;
}

// The control that decides whether a hint shows: the nearest one, from the
// control under the pointer up through its parents, whose ShowHint is set.
TControl* HintControlOf(TControl* Under) {
    TControl* C = Under;
    while (C && !C->GetShowHint()) C = C->GetParent();
    if (C && C->ComponentState().Contains(csDesigning)) return nullptr;
    return C;
}

// The hint text: the control's own, or its nearest parent's when it has none.
String HintTextOf(const TControl* Control) {
    for (const TControl* C = Control; C; C = C->GetParent())
        if (!C->GetHint().empty()) return GetShortHint(C->GetHint());
    return String();
}
} // namespace

String GetShortHint(const String& Hint) {
    const size_t Bar = Hint.find('|');
    return Bar == String::npos ? Hint : Hint.substr(0, Bar);
}

String GetLongHint(const String& Hint) {
    const size_t Bar = Hint.find('|');
    return Bar == String::npos ? Hint : Hint.substr(Bar + 1);
}

// --- the window -------------------------------------------------------------------------

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetVisible(false);
    SetColor(clInfoBk);
    GetFont()->SetColor(clInfoText);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint) {
    TRect R = Rect(0, 0, std::max(MaxWidth, 1), 0);
    String Text = AHint;
    GetCanvas()->SetFont(GetFont());
    GetCanvas()->DrawText(Text, R, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    return Rect(0, 0, R.Width() + 2 * MarginX + 2, R.Height() + 2 * MarginY + 2);
}

void THintWindow::ActivateHint(const TRect& R, const String& AHint) {
    SetCaption(AHint);
    SetBoundsRect(R);
    HandleNeeded();
    SetVisible(true);
    InputRouter->BringToTop(this);
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    SetVisible(false);
    DestroyHandle();
}

void THintWindow::Paint() {
    TCanvas* C = GetCanvas();
    const TRect R = GetClientRect();
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(GetColor());
    C->FillRect(R);
    C->GetBrush()->SetColor(clWindowFrame);
    C->FrameRect(R);
    C->SetFont(GetFont());
    C->GetBrush()->SetStyle(bsClear);
    String Text = GetCaption();
    TRect T = Rect(R.Left + 1 + MarginX, R.Top + 1 + MarginY, R.Right - 1 - MarginX,
                   R.Bottom - 1 - MarginY);
    C->DrawText(Text, T, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// --- the manager --------------------------------------------------------------------------

THintWindow* THintManager::ShownWindow() const {
    return FShown ? FWindow : nullptr;
}

void THintManager::MouseMoved(TControl* Under, bool Buttons) {
    // Most moves stay over the same control and inside the part its hint is
    // for: they cost two comparisons.
    const bool Inside = !FHasCursorRect || !FControl || FCursorRect.Contains(Mouse->GetCursorPos());
    if (Under == FUnder && !Buttons && Inside) {
        // After a hint hid because the pointer left its part, the next one
        // waits for the pointer to rest for the short pause: a pointer that
        // sweeps on across parts (items of a list, say) would otherwise
        // flash a hint every short pause, each a window made and dropped.
        if (FReshowPending) Arm(true);
        return;
    }
    FUnder = Under;
    if (Buttons || Application->GetDragManager().Active()) {
        Cancel();
        return;
    }
    TControl* Control = HintControlOf(Under);
    if (Control && Screen->IsBlockedByModal(Control)) Control = nullptr;
    if (Control == FControl && Inside) return;
    const bool WasShown = FShown;
    Hide();
    FControl = Control;
    FHasCursorRect = false;
    if (!FControl || !Application->GetShowHint()) return;
    Arm(WasShown);
    FReshowPending = WasShown;
}

void THintManager::Arm(bool Short) {
    if (!FTimerWindow)
        FTimerWindow = AllocateHWnd([this](TMessage& M) {
            if (M.Msg == WM_TIMER) TimerFired(static_cast<unsigned>(M.WParam));
        });
    const int Pause = Short ? Application->GetHintShortPause() : Application->GetHintPause();
    SetTimer(FTimerWindow, ShowTimer, static_cast<unsigned>(std::max(Pause, 0)));
}

void THintManager::TimerFired(unsigned Id) {
    KillTimer(FTimerWindow, Id);
    if (Id == ShowTimer)
        Show();
    else
        Hide();
}

void THintManager::Show() {
    FReshowPending = false;
    if (!FControl || !Application->GetShowHint()) return;
    const TPoint P = Mouse->GetCursorPos();
    THintInfo Info;
    Info.HintControl = FControl;
    Info.CursorPos = FControl->ScreenToClient(P);
    Info.CursorRect = FControl->GetClientRect();
    Info.HintPos = Point(P.X, P.Y + BelowPointer);
    Info.HintMaxWidth = MaxHintWidth;
    Info.HintStr = HintTextOf(FControl);
    TControl* const Asked = FControl;
    const bool Refused =
        FControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<std::intptr_t>(&Info)) != 0;
    // The handler may have hidden or freed the control, which cancels.
    if (FControl != Asked) return;
    const TPoint TopLeft =
        FControl->ClientToScreen(Point(Info.CursorRect.Left, Info.CursorRect.Top));
    FCursorRect = Bounds(TopLeft.X, TopLeft.Y, Info.CursorRect.Width(), Info.CursorRect.Height());
    FHasCursorRect = true;
    if (Refused || Info.HintStr.empty()) return;
    // The window lives as long as the process; hiding gives its surface back.
    if (!FWindow) FWindow = new THintWindow(nullptr);
    TRect R = FWindow->CalcHintRect(Info.HintMaxWidth, Info.HintStr);
    int X = Info.HintPos.X, Y = Info.HintPos.Y;
    // Kept on the screen: flipped above the pointer when there is no room below.
    if (X + R.Width() > Screen->GetWidth()) X = Screen->GetWidth() - R.Width();
    if (Y + R.Height() > Screen->GetHeight()) Y = P.Y - R.Height();
    X = std::max(X, 0);
    Y = std::max(Y, 0);
    FWindow->ActivateHint(Bounds(X, Y, R.Width(), R.Height()), Info.HintStr);
    FShown = true;
    SetTimer(FTimerWindow, HideTimer,
             static_cast<unsigned>(std::max(Application->GetHintHidePause(), 0)));
}

void THintManager::Hide() {
    FReshowPending = false;
    if (FTimerWindow) {
        KillTimer(FTimerWindow, ShowTimer);
        KillTimer(FTimerWindow, HideTimer);
    }
    if (FShown && FWindow) FWindow->ReleaseHandle();
    FShown = false;
}

void THintManager::Cancel() {
    Hide();
    FControl = nullptr;
    FUnder = nullptr;
    FHasCursorRect = false;
}

void THintManager::ControlGone(TControl* Control) {
    if (!Control || Control == FWindow) return;
    if (Inside(FControl, Control) || Inside(FUnder, Control)) Cancel();
}

} // namespace folio
