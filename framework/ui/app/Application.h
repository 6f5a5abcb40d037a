#pragma once

#include "framework/core/Clock.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/ui/app/WindowHandles.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <queue>
#include <unordered_map>
#include <vector>

namespace folio {

class TPaintPass;
class TDragManager;
class THintManager;

/// Posts a message to a window's queue; safe from any thread. Returns false
/// for the null handle. A message for a window that is gone by the time it is
/// handled is dropped.
bool PostMessage(HWND Handle, unsigned Msg, std::intptr_t WParam = 0, std::intptr_t LParam = 0);
/// Ends the loop after the messages already queued.
void PostQuitMessage(int ExitCode = 0);

/// Starts (or restarts) the window timer (Handle, Id): every Interval
/// milliseconds of the application's clock the window receives WM_TIMER with
/// WParam = Id. Returns Id (never 0) or 0 when Handle is not a window.
unsigned SetTimer(HWND Handle, unsigned Id, unsigned Interval);
/// Stops the timer; false when there was none.
bool KillTimer(HWND Handle, unsigned Id);

/// The application: one user-interface thread, one message queue, one set of
/// window timers and one clock. Posted messages are handled first, then
/// Synchronize requests, then due timers (WM_TIMER is the lowest priority, as
/// on the platform), then the idle work (the paint pass). An idle loop blocks
/// until something arrives; it never spins.
class TApplication : public TComponent {
    FOLIO_CLASS(TApplication)
public:
    /// The process has one, Application; a program does not make another.
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    ///@{
    /// The clock timers run on. Tests install a TManualClock and advance it.
    /// The application does not own the clock; null restores the steady clock.
    void SetClock(TClock* Clock);
    TClock& GetClock() const { return *FClock; }
    TMilliseconds Now() const { return FClock->Now(); }
    ///@}

    /// Handles everything that is waiting (messages, Synchronize requests and
    /// due timers, until none is left), then runs the idle work once.
    /// Returns true when it handled anything.
    bool ProcessMessages();
    /// Handles one message; when none is waiting, runs the idle work and then
    /// blocks until one arrives.
    void HandleMessage();
    /// Runs the loop until Terminate (or PostQuitMessage). Workers still
    /// waiting in Synchronize when it ends are released with EThread.
    void Run();
    /// Ends Run (and a modal form's loop, which cancels the form) once the
    /// message being handled is done.
    void Terminate();
    /// Whether Terminate or PostQuitMessage was called.
    bool Terminated() const { return FTerminated; }
    /// Lets the loop run again after Terminate: Run does it when it starts,
    /// and so does a host that runs a loop of its own.
    void ResetTerminated() { FTerminated = false; }
    /// The code PostQuitMessage gave; 0 by default.
    int ExitCode() const { return FExitCode; }

    /// For a manual clock: advances it by Delta, firing every timer that falls
    /// due on the way in time order (each at its own moment), with the messages
    /// and idle work that follow each tick. No effect on a real-time clock.
    void AdvanceTime(TMilliseconds Delta);

    ///@{
    /// The control layer's state of the user-interface thread, which the
    /// application owns: the paint pass, the drag in progress and the hint
    /// that shows.
    TPaintPass& GetPaintPass() const { return *FPaintPass; }
    TDragManager& GetDragManager() const { return *FDragManager; }
    THintManager& GetHintManager() const { return *FHintManager; }
    ///@}

    /// Idle work besides painting, run after the paint pass each time no
    /// message is waiting; it must not block.
    void SetIdleHandler(std::function<void()> Handler) { FIdleHandler = std::move(Handler); }
    /// Asks the loop to run the idle work soon (wakes a blocked loop); any thread.
    void WakeUp();
    /// Runs Work once after the next idle work (the paint pass), on the
    /// user-interface thread: a handler that has more to do than one turn of
    /// the loop should take leaves the rest there, and what Work posts is
    /// handled in the loop's next turn, after the input that came meanwhile.
    /// User-interface thread only.
    void QueueAfterIdle(std::function<void()> Work);

    /// A host that waits on its own event queue (a window system's) instead
    /// of the application's sets a wake hook. It is called, from whatever
    /// thread caused it, when work arrives for the loop: a posted message, a
    /// Synchronize request or a finished worker, WakeUp, or a timer started
    /// to fall due before every other. After one call it is not called again
    /// until the loop next looks for work (ProcessMessages or HandleMessage),
    /// so a flood of posts wakes the host once. The hook must be quick and thread-safe and must not
    /// call back into the application; when SetWakeHook returns, no call of the old hook is still
    /// running. Null removes it.
    void SetWakeHook(std::function<void()> Hook);
    /// When the earliest running timer falls due on the application's clock;
    /// false when no timer runs. A host blocks until then at the latest.
    /// These two are for the user-interface thread.
    bool GetNextTimerDue(TMilliseconds& Due);
    /// Milliseconds until the earliest timer falls due (0 when it is due),
    /// or -1 when no timer runs; what a host may wait for nothing to happen.
    int TimeToNextTimer();

    ///@{
    /// An exception escaping a message handler ends up here: OnException when
    /// assigned, otherwise the message is written to standard error.
    void HandleException(TObject* Sender);
    std::function<void(TObject* Sender, const std::exception& E)> OnException;
    ///@}
    /// Runs after the paint pass and the idle handler each time the loop goes
    /// idle; Done is not used (the loop always waits for the next work).
    std::function<void(TObject* Sender, bool& Done)> OnIdle;

    ///@{
    /// Hints: whether they show at all; how long the pointer rests over a
    /// control before its hint shows; the shorter pause when it moves on from
    /// a shown hint to another control; how long a hint stays (milliseconds).
    /// By default on, 500, 50 and 2500; turning hints off hides the one shown.
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    int GetHintPause() const { return FHintPause; }
    void SetHintPause(int Value) { FHintPause = Value; }
    int GetHintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int Value) { FHintShortPause = Value; }
    int GetHintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int Value) { FHintHidePause = Value; }
    ///@}
    /// Hides the hint that shows (or is about to).
    void CancelHint();

    ///@{
    /// The user asked the desktop for less motion: controls that animate a
    /// change show its end at once. Off unless the application or the window
    /// host (from the desktop's preference) turns it on.
    bool GetReducedMotion() const { return FReducedMotion; }
    void SetReducedMotion(bool Value) { FReducedMotion = Value; }
    ///@}

    /// Number of timers running (tests and benchmarks).
    std::size_t TimerCount() const { return FTimers.size(); }

    /// Internal: the window handle table tells the application about a window
    /// that is gone, so its timers stop.
    void WindowDestroyed(HWND Handle);
    ///@{
    /// Internal: used by PostMessage, SetTimer and KillTimer.
    bool Post(HWND Handle, const TMessage& Message);
    unsigned StartTimer(HWND Handle, unsigned Id, unsigned Interval);
    bool StopTimer(HWND Handle, unsigned Id);
    ///@}

private:
    struct TQueued {
        HWND Handle;
        TMessage Message;
    };
    struct TTimer {
        unsigned Interval = 0;
        TMilliseconds Due = 0;
        std::uint64_t Sequence = 0; // identifies the live heap entry
    };
    struct THeapEntry {
        TMilliseconds Due;
        std::uint64_t Sequence;
        std::uint64_t Key;
        bool operator>(const THeapEntry& Other) const {
            return Due != Other.Due ? Due > Other.Due : Sequence > Other.Sequence;
        }
    };
    static std::uint64_t TimerKey(HWND Handle, unsigned Id) {
        return (static_cast<std::uint64_t>(Handle) << 32) | Id;
    }

    bool HandleOnePosted();
    bool FireOneDueTimer(TMilliseconds Now);
    /// The due time of the earliest live timer, dropping stale heap entries.
    bool NextDue(TMilliseconds& Due);
    void Idle();
    void WaitForWork();
    /// Tells the host that work arrived (see SetWakeHook).
    void SignalHook();
    void RearmHook();

    TSteadyClock FSteadyClock;
    TClock* FClock = &FSteadyClock;

    std::mutex FQueueLock;
    std::condition_variable FQueueChanged;
    std::deque<TQueued> FQueue;
    bool FWakeRequested = false;
    /// Set once the wake hook was called; cleared when the loop starts
    /// handling what is waiting (guarded by FQueueLock).
    bool FHookSignalled = false;
    /// Held while the hook runs and while it is replaced.
    std::mutex FHookLock;
    std::function<void()> FWakeHook;

    std::unordered_map<std::uint64_t, TTimer> FTimers;
    std::priority_queue<THeapEntry, std::vector<THeapEntry>, std::greater<THeapEntry>> FTimerHeap;
    std::uint64_t FTimerSequence = 0;

    std::unique_ptr<TPaintPass> FPaintPass;
    std::unique_ptr<TDragManager> FDragManager;
    std::unique_ptr<THintManager> FHintManager;
    std::function<void()> FIdleHandler;
    std::vector<std::function<void()>> FAfterIdle;
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintShortPause = 50;
    int FHintHidePause = 2500;
    bool FReducedMotion = false;
    bool FTerminated = false;
    int FExitCode = 0;
};

/// The application object of the process.
extern TApplication* const Application;

} // namespace folio
