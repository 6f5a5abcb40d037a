#include "framework/ui/app/Application.h"

#include "framework/core/Thread.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/paint/PaintPass.h"

#include <cstdio>
#include <new>
#include <utility>

namespace folio {

FOLIO_DEFINE_CLASS(TApplication, TComponent)

namespace {
// The application lives as long as the process and is never destroyed: a
// worker that outlives main (a self-freeing thread still finishing) may still
// wake the loop, and must never find its queue torn down. The storage's
// address is a constant, so Application is valid during every static
// initialisation, as before.
union TApplicationStorage {
    TApplicationStorage() {}
    ~TApplicationStorage() {}
    TApplication Object;
};
TApplicationStorage Storage;
const bool Constructed = (new (&Storage.Object) TApplication(nullptr), true);
} // namespace

TApplication* const Application = &Storage.Object;

bool PostMessage(HWND Handle, unsigned Msg, std::intptr_t WParam, std::intptr_t LParam) {
    if (Handle == 0) return false;
    return Application->Post(Handle, TMessage{Msg, WParam, LParam, 0});
}

void PostQuitMessage(int ExitCode) {
    // A quit message has no window; the loop recognises it by number.
    Application->Post(0, TMessage{WM_QUIT, ExitCode, 0, 0});
}

unsigned SetTimer(HWND Handle, unsigned Id, unsigned Interval) {
    return Application->StartTimer(Handle, Id, Interval);
}

bool KillTimer(HWND Handle, unsigned Id) {
    return Application->StopTimer(Handle, Id);
}

TApplication::TApplication(TComponent* AOwner)
    : TComponent(AOwner), FPaintPass(std::make_unique<TPaintPass>(*this)),
      FDragManager(std::make_unique<TDragManager>()),
      FHintManager(std::make_unique<THintManager>()) {
    SetWakeMainThread([this] { WakeUp(); });
}

TApplication::~TApplication() {
    SetWakeMainThread(nullptr);
}

void TApplication::SetClock(TClock* Clock) {
    FClock = Clock ? Clock : &FSteadyClock;
    // Timers keep their intervals; their next ticks restart from the new clock.
    const TMilliseconds Now = FClock->Now();
    FTimerHeap = {};
    for (auto& [Key, Timer] : FTimers) {
        Timer.Due = Now + Timer.Interval;
        Timer.Sequence = ++FTimerSequence;
        FTimerHeap.push({Timer.Due, Timer.Sequence, Key});
    }
}

bool TApplication::Post(HWND Handle, const TMessage& Message) {
    bool Signal;
    {
        std::lock_guard Guard(FQueueLock);
        FQueue.push_back({Handle, Message});
        Signal = !std::exchange(FHookSignalled, true);
    }
    FQueueChanged.notify_one();
    if (Signal) SignalHook();
    return true;
}

void TApplication::WakeUp() {
    bool Signal;
    {
        std::lock_guard Guard(FQueueLock);
        FWakeRequested = true;
        Signal = !std::exchange(FHookSignalled, true);
    }
    FQueueChanged.notify_one();
    if (Signal) SignalHook();
}

void TApplication::SetWakeHook(std::function<void()> Hook) {
    std::lock_guard Guard(FHookLock);
    FWakeHook = std::move(Hook);
}

void TApplication::SignalHook() {
    // The hook runs under its own lock, never under the queue's, so a hook
    // that takes locks of its own cannot deadlock against a poster.
    std::lock_guard Guard(FHookLock);
    if (FWakeHook) FWakeHook();
}

bool TApplication::GetNextTimerDue(TMilliseconds& Due) {
    return NextDue(Due);
}

int TApplication::TimeToNextTimer() {
    TMilliseconds Due;
    if (!NextDue(Due)) return -1;
    const TMilliseconds Left = Due - Now();
    if (Left <= 0) return 0;
    return Left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(Left);
}

unsigned TApplication::StartTimer(HWND Handle, unsigned Id, unsigned Interval) {
    if (!IsWindow(Handle)) return 0;
    if (Id == 0) Id = 0x7FFF0000u + static_cast<unsigned>(++FTimerSequence % 0xFFFF);
    const std::uint64_t Key = TimerKey(Handle, Id);
    TMilliseconds Earliest = 0;
    const bool HadTimer = NextDue(Earliest);
    TTimer& Timer = FTimers[Key];
    // The platform treats a zero interval as the shortest it has.
    Timer.Interval = Interval == 0 ? 1 : Interval;
    Timer.Due = Now() + Timer.Interval;
    Timer.Sequence = ++FTimerSequence;
    FTimerHeap.push({Timer.Due, Timer.Sequence, Key});
    // A host blocked until the earliest timer must wake to wait less.
    if (!HadTimer || Timer.Due < Earliest) {
        bool Signal;
        {
            std::lock_guard Guard(FQueueLock);
            Signal = !std::exchange(FHookSignalled, true);
        }
        if (Signal) SignalHook();
    }
    return Id;
}

bool TApplication::StopTimer(HWND Handle, unsigned Id) {
    // The heap entry stays behind and is dropped when it comes up.
    return FTimers.erase(TimerKey(Handle, Id)) != 0;
}

void TApplication::WindowDestroyed(HWND Handle) {
    for (auto It = FTimers.begin(); It != FTimers.end();) {
        if (static_cast<HWND>(It->first >> 32) == Handle)
            It = FTimers.erase(It);
        else
            ++It;
    }
}

bool TApplication::NextDue(TMilliseconds& Due) {
    while (!FTimerHeap.empty()) {
        const THeapEntry& Top = FTimerHeap.top();
        auto It = FTimers.find(Top.Key);
        if (It == FTimers.end() || It->second.Sequence != Top.Sequence) {
            FTimerHeap.pop();
            continue;
        }
        Due = Top.Due;
        return true;
    }
    return false;
}

bool TApplication::FireOneDueTimer(TMilliseconds Now) {
    TMilliseconds Due;
    if (!NextDue(Due) || Due > Now) return false;
    const THeapEntry Entry = FTimerHeap.top();
    FTimerHeap.pop();
    TTimer& Timer = FTimers[Entry.Key];
    // The next tick counts from this one, so a manual clock sees every tick;
    // a real loop that fell behind skips the missed ticks instead of bursting.
    Timer.Due = Entry.Due + Timer.Interval;
    if (FClock->IsRealTime() && Timer.Due <= Now) Timer.Due = Now + Timer.Interval;
    Timer.Sequence = ++FTimerSequence;
    FTimerHeap.push({Timer.Due, Timer.Sequence, Entry.Key});

    const HWND Handle = static_cast<HWND>(Entry.Key >> 32);
    TMessage Message{WM_TIMER, static_cast<std::intptr_t>(Entry.Key & 0xFFFFFFFFu), 0, 0};
    try {
        DeliverMessage(Handle, Message);
    } catch (...) {
        HandleException(this);
    }
    return true;
}

bool TApplication::HandleOnePosted() {
    TQueued Item;
    {
        std::lock_guard Guard(FQueueLock);
        if (FQueue.empty()) return false;
        Item = FQueue.front();
        FQueue.pop_front();
    }
    if (Item.Message.Msg == WM_QUIT && Item.Handle == 0) {
        FExitCode = static_cast<int>(Item.Message.WParam);
        Terminate();
        return true;
    }
    try {
        DeliverMessage(Item.Handle, Item.Message);
    } catch (...) {
        HandleException(this);
    }
    return true;
}

void TApplication::Idle() {
    {
        std::lock_guard Guard(FQueueLock);
        FWakeRequested = false;
    }
    try {
        FPaintPass->PaintAll();
        if (FIdleHandler) FIdleHandler();
        if (OnIdle) {
            bool Done = true;
            OnIdle(this, Done);
        }
    } catch (...) {
        HandleException(this);
    }
    // Work queued meanwhile waits for the next idle work.
    std::vector<std::function<void()>> After;
    After.swap(FAfterIdle);
    for (auto& Work : After) {
        try {
            Work();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::QueueAfterIdle(std::function<void()> Work) {
    FAfterIdle.push_back(std::move(Work));
    WakeUp();
}

void TApplication::RearmHook() {
    // Whatever arrives from now on signals the host again.
    std::lock_guard Guard(FQueueLock);
    FHookSignalled = false;
}

bool TApplication::ProcessMessages() {
    RearmHook();
    bool Handled = false;
    for (;;) {
        bool Any = false;
        try {
            Any = CheckSynchronize();
        } catch (...) {
            HandleException(this);
        }
        while (HandleOnePosted()) Any = true;
        if (!Any) Any = FireOneDueTimer(Now());
        if (!Any) break;
        Handled = true;
    }
    Idle();
    return Handled;
}

void TApplication::WaitForWork() {
    std::unique_lock Guard(FQueueLock);
    auto Ready = [&] { return !FQueue.empty() || FWakeRequested || SynchronizePending(); };
    if (Ready()) return;
    TMilliseconds Due;
    if (FClock->IsRealTime() && NextDue(Due)) {
        const TMilliseconds Wait = Due - Now();
        if (Wait <= 0) return;
        FQueueChanged.wait_for(Guard, std::chrono::milliseconds(Wait), Ready);
    } else {
        FQueueChanged.wait(Guard, Ready);
    }
}

void TApplication::HandleMessage() {
    RearmHook();
    bool Any = false;
    try {
        Any = CheckSynchronize();
    } catch (...) {
        HandleException(this);
    }
    if (!Any) Any = HandleOnePosted();
    if (!Any) Any = FireOneDueTimer(Now());
    if (!Any) {
        Idle();
        if (!FTerminated) WaitForWork();
    }
}

void TApplication::Run() {
    SetMainThread();
    ResumeSynchronize();
    FTerminated = false;
    while (!FTerminated) HandleMessage();
    ShutdownSynchronize();
}

void TApplication::Terminate() {
    FTerminated = true;
    WakeUp();
}

void TApplication::AdvanceTime(TMilliseconds Delta) {
    auto* Manual = dynamic_cast<TManualClock*>(FClock);
    if (!Manual) return;
    const TMilliseconds Target = Manual->Now() + Delta;
    ProcessMessages();
    TMilliseconds Due;
    while (NextDue(Due) && Due <= Target) {
        if (Due > Manual->Now()) Manual->Set(Due);
        ProcessMessages();
    }
    Manual->Set(Target);
    ProcessMessages();
}

void TApplication::SetShowHint(bool Value) {
    if (Value == FShowHint) return;
    FShowHint = Value;
    if (!Value) CancelHint();
}

void TApplication::CancelHint() {
    Application->GetHintManager().Cancel();
}

void TApplication::HandleException(TObject*) {
    try {
        throw;
    } catch (const std::exception& E) {
        if (OnException)
            OnException(this, E);
        else
            std::fprintf(stderr, "Unhandled exception: %s\n", E.what());
    } catch (...) {
        if (OnException)
            OnException(this, Exception("Unknown exception"));
        else
            std::fprintf(stderr, "Unhandled exception of an unknown type\n");
    }
}

} // namespace folio
