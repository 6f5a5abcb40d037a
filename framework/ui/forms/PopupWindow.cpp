#include "framework/ui/forms/PopupWindow.h"

#include "framework/ui/app/Screen.h"
#include "framework/ui/input/Input.h"

#include <algorithm>

namespace folio {

FOLIO_DEFINE_CLASS(TPopupWindow, TCustomControl)

namespace {
std::vector<TPopupWindow*>& Open() {
    static std::vector<TPopupWindow*> List;
    return List;
}
} // namespace

TPopupWindow::TPopupWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    StartHidden();
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque});
}

TPopupWindow::~TPopupWindow() {
    auto& List = Open();
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
}

bool TPopupWindow::IsOpen() const {
    const auto& List = Open();
    return std::find(List.begin(), List.end(), this) != List.end();
}

const std::vector<TPopupWindow*>& TPopupWindow::OpenPopups() {
    return Open();
}

TPopupWindow* TPopupWindow::KeyTarget() {
    return Open().empty() ? nullptr : Open().back();
}

void TPopupWindow::Popup(const TRect& ScreenRect) {
    TRect R = ScreenRect;
    const int SW = Screen->GetWidth(), SH = Screen->GetHeight();
    if (R.Right > SW) R = Bounds(std::max(0, SW - R.Width()), R.Top, R.Width(), R.Height());
    if (R.Bottom > SH) R = Bounds(R.Left, std::max(0, SH - R.Height()), R.Width(), R.Height());
    if (R.Left < 0) R = Bounds(0, R.Top, R.Width(), R.Height());
    if (R.Top < 0) R = Bounds(R.Left, 0, R.Width(), R.Height());
    SetBoundsRect(R);
    if (!IsOpen()) Open().push_back(this);
    HandleNeeded();
    SetVisible(true);
    InputRouter->BringToTop(this);
    Invalidate();
}

void TPopupWindow::CloseUp(bool Cancelled) {
    if (!IsOpen()) return;
    // Popups opened from this one (a submenu) close first.
    while (!Open().empty() && Open().back() != this) Open().back()->CloseUp(true);
    auto& List = Open();
    List.erase(std::remove(List.begin(), List.end(), this), List.end());
    SetVisible(false);
    DestroyHandle();
    DoCloseUp(Cancelled);
}

void TPopupWindow::DoCloseUp(bool Cancelled) {
    if (OnCloseUp) OnCloseUp(this, Cancelled);
}

void TPopupWindow::CloseAll() {
    while (!Open().empty()) Open().back()->CloseUp(true);
}

bool TPopupWindow::PressOutside(TPoint P) {
    if (Open().empty()) return false;
    for (TPopupWindow* W : Open())
        if (W->GetBoundsRect().Contains(P)) return false;
    CloseAll();
    return true;
}

TRect PlacePopup(const TRect& Anchor, TSize Size, TSize ScreenSize) {
    int Top = Anchor.Bottom;
    // Without room below, the popup opens upwards when there is more room there.
    if (Top + Size.cy > ScreenSize.cy && Anchor.Top - Size.cy >= 0) Top = Anchor.Top - Size.cy;
    int Left = std::min(Anchor.Left, ScreenSize.cx - Size.cx);
    return Bounds(std::max(Left, 0), std::max(Top, 0), Size.cx, Size.cy);
}

} // namespace folio
