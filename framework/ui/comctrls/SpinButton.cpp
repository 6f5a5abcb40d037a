#include "framework/ui/comctrls/SpinButton.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/app/Application.h"

namespace folio {

namespace {
// A held button waits, then repeats quicker, as a scroll bar's arrows do.
constexpr unsigned RepeatTimer = 1;
constexpr unsigned FirstRepeatDelay = 400;
constexpr unsigned RepeatDelay = 100;
} // namespace

FOLIO_DEFINE_CLASS(TSpinButton, TCustomControl)

TSpinButton::TSpinButton(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csOpaque});
    SetBounds(GetLeft(), GetTop(), 16, 24);
    SetColor(clBtnFace);
}

TRect TSpinButton::UpRect() const {
    return Rect(0, 0, GetClientWidth(), GetClientHeight() / 2);
}

TRect TSpinButton::DownRect() const {
    return Rect(0, GetClientHeight() / 2, GetClientWidth(), GetClientHeight());
}

void TSpinButton::Paint() {
    TCanvas* Canvas = GetCanvas();
    const unsigned Inactive = GetEnabled() ? 0u : unsigned(DFCS_INACTIVE);
    auto Pushed = [&](THeld Part) {
        return FHeld == Part && FHeldInside ? unsigned(DFCS_PUSHED) : 0u;
    };
    TRect Up = UpRect(), Down = DownRect();
    DrawFrameControl(Canvas, Up, DFC_SCROLL, DFCS_SCROLLUP | Inactive | Pushed(THeld::Up));
    DrawFrameControl(Canvas, Down, DFC_SCROLL, DFCS_SCROLLDOWN | Inactive | Pushed(THeld::Down));
}

void TSpinButton::Step() {
    if (FHeld == THeld::Up && OnUpClick) OnUpClick(this);
    if (FHeld == THeld::Down && OnDownClick) OnDownClick(this);
}

void TSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FHeld = UpRect().Contains(Point(X, Y)) ? THeld::Up : THeld::Down;
    FHeldInside = true;
    Invalidate();
    Step();
    if (HandleAllocated()) SetTimer(GetHandle(), RepeatTimer, FirstRepeatDelay);
}

void TSpinButton::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FHeld == THeld::None) return;
    const bool Inside = (FHeld == THeld::Up ? UpRect() : DownRect()).Contains(Point(X, Y));
    if (Inside == FHeldInside) return;
    FHeldInside = Inside;
    Invalidate();
}

void TSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) Release();
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TSpinButton::Release() {
    if (FHeld == THeld::None) return;
    FHeld = THeld::None;
    if (HandleAllocated()) KillTimer(GetHandle(), RepeatTimer);
    Invalidate();
}

void TSpinButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_TIMER:
        if (Message.WParam == RepeatTimer) {
            SetTimer(GetHandle(), RepeatTimer, RepeatDelay);
            if (FHeldInside) Step();
            return;
        }
        break;
    case WM_CANCELMODE:
        Release();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TSpinButton)

} // namespace folio
