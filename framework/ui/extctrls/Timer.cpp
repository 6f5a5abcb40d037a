#include "framework/ui/extctrls/Timer.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/ui/app/Application.h"

namespace folio {

namespace {
constexpr unsigned TimerId = 1;
} // namespace

const TClassInfo& TTimer::StaticClassInfo() {
    using C = TTimer;
    static const TClassInfo Info = TClassBuilder<C>("TTimer", &TComponent::StaticClassInfo())
                                       .Bool("Enabled", &C::GetEnabled, &C::SetEnabled, true)
                                       .Int("Interval", &C::GetInterval, &C::SetInterval, 1000)
                                       .Event("OnTimer", &C::OnTimer)
                                       .Creatable()
                                       .Build();
    return Info;
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
    FWindow = AllocateHWnd([this](TMessage& Message) { WndProc(Message); });
    UpdateTimer();
}

TTimer::~TTimer() {
    // Freeing the window stops its timer.
    DeallocateHWnd(FWindow);
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    if (FRunning) KillTimer(FWindow, TimerId);
    FRunning = false;
    if (!FEnabled || FInterval == 0 || IsLoading() || IsDesigning()) return;
    FRunning = SetTimer(FWindow, TimerId, FInterval) != 0;
}

void TTimer::WndProc(TMessage& Message) {
    if (Message.Msg != WM_TIMER) return;
    if (OnTimer && FEnabled && !IsDesigning()) OnTimer(this);
}

FOLIO_REGISTER_CLASS(TTimer)

} // namespace folio
