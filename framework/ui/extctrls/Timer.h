#pragma once

#include "framework/core/Component.h"
#include "framework/ui/app/WindowHandles.h"
#include "framework/ui/controls/ControlEvents.h"

namespace folio {

/// A timer component: while Enabled with an Interval above 0 it calls
/// OnTimer (when assigned) every Interval milliseconds of the application's
/// clock, through a window timer of the loop, so a tick never interrupts
/// other work and ticks that fall due together come once. Changing Enabled
/// or Interval starts the count afresh. It does not tick in a designer, and
/// a form being read starts it once the whole form is read.
class TTimer : public TComponent {
    FOLIO_CLASS(TTimer)
public:
    /// A timer, Enabled with an Interval of 1000 milliseconds.
    explicit TTimer(TComponent* AOwner);
    /// Stops the timer.
    ~TTimer() override;

    /// Whether the timer ticks; true by default.
    ///@{
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    ///@}
    /// Milliseconds between ticks; 1000 by default, 0 stops the ticks.
    ///@{
    unsigned GetInterval() const { return FInterval; }
    void SetInterval(unsigned Value);
    ///@}

    /// Whether a window timer runs for it now.
    bool IsRunning() const { return FRunning; }

    /// Starts the timer once the form it was read with is whole.
    void Loaded() override;

    /// Fired at each tick while Enabled (never in a designer).
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
