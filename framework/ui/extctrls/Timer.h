#pragma once

#include "framework/core/Component.h"
#include "framework/ui/app/WindowHandles.h"
#include "framework/ui/controls/ControlEvents.h"

namespace folio {

// A timer component: while Enabled with an Interval above 0 it calls
// OnTimer (when assigned) every Interval milliseconds of the application's
// clock, through a window timer of the loop, so a tick never interrupts
// other work and ticks that fall due together come once. Changing Enabled
// or Interval starts the count afresh. It does not tick in a designer, and
// a form being read starts it once the whole form is read.
class TTimer : public TComponent {
    FOLIO_CLASS(TTimer)
public:
    explicit TTimer(TComponent* AOwner);
    ~TTimer() override;

    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned GetInterval() const { return FInterval; }
    void SetInterval(unsigned Value);

    // Whether a window timer runs for it now.
    bool IsRunning() const { return FRunning; }

    void Loaded() override;

    TNotifyEvent OnTimer;

private:
    void UpdateTimer();
    void WndProc(TMessage& Message);

    bool FEnabled = true;
    unsigned FInterval = 1000;
    bool FRunning = false;
    HWND FWindow = 0;
};

} // namespace folio
