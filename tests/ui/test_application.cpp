#include "framework/core/Thread.h"
#include "framework/ui/app/Application.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace folio;

namespace {

// A message chain as controls write it: each class handles its own numbers
// and hands the rest to its base; the chain ends in DefaultHandler.
class TBaseReceiver : public TObject {
public:
    std::vector<String> Log;
    void Dispatch(TMessage& M) override {
        if (M.Msg == WM_TIMER) {
            Log.push_back("base:timer " + std::to_string(M.WParam));
            return;
        }
        TObject::Dispatch(M);
    }
    void DefaultHandler(TMessage& M) override {
        Log.push_back("default:" + std::to_string(M.Msg));
        M.Result = -1;
    }
};

class TDerivedReceiver : public TBaseReceiver {
public:
    void Dispatch(TMessage& M) override {
        if (M.Msg == WM_USER + 1) {
            Log.push_back("derived:user1");
            M.Result = 42;
            return;
        }
        TBaseReceiver::Dispatch(M);
    }
};

struct TWindow {
    TDerivedReceiver Receiver;
    HWND Handle = AllocateHWnd([this](TMessage& M) { Receiver.Dispatch(M); });
    ~TWindow() { DeallocateHWnd(Handle); }
};

struct ApplicationTest : ::testing::Test {
    TManualClock Clock{1000};
    void SetUp() override {
        SetMainThread();
        ResumeSynchronize();
        Application->SetClock(&Clock);
        Application->ProcessMessages(); // drain leftovers of other tests
    }
    void TearDown() override {
        // The test's handlers may refer to objects that are gone by now.
        Application->SetIdleHandler(nullptr);
        Application->OnException = nullptr;
        Application->ProcessMessages();
        Application->SetClock(nullptr);
        ResumeSynchronize();
    }
};

} // namespace

TEST_F(ApplicationTest, MessagesFallThroughToTheBaseAndDefaultHandler) {
    TWindow W;
    EXPECT_EQ(SendMessage(W.Handle, WM_USER + 1), 42);
    EXPECT_EQ(SendMessage(W.Handle, WM_USER + 2), -1);
    SendMessage(W.Handle, WM_TIMER, 3);
    EXPECT_EQ(W.Receiver.Log,
              (std::vector<String>{"derived:user1", "default:1026", "base:timer 3"}));
}

TEST_F(ApplicationTest, PostedMessagesArriveInOrderAtTheirWindow) {
    TWindow A, B;
    PostMessage(A.Handle, WM_USER + 1);
    PostMessage(B.Handle, WM_USER + 5);
    PostMessage(A.Handle, WM_USER + 7);
    EXPECT_TRUE(A.Receiver.Log.empty()); // nothing is delivered before the loop runs
    EXPECT_TRUE(Application->ProcessMessages());
    EXPECT_EQ(A.Receiver.Log, (std::vector<String>{"derived:user1", "default:1031"}));
    EXPECT_EQ(B.Receiver.Log, (std::vector<String>{"default:1029"}));
    EXPECT_FALSE(PostMessage(0, WM_USER));
}

TEST_F(ApplicationTest, MessagesForAWindowThatIsGoneAreDropped) {
    auto* W = new TWindow;
    const HWND Old = W->Handle;
    PostMessage(Old, WM_USER + 1);
    delete W;
    TWindow Reused; // may take the same slot, but never the same handle
    EXPECT_NE(Reused.Handle, Old);
    Application->ProcessMessages();
    EXPECT_TRUE(Reused.Receiver.Log.empty());
    EXPECT_FALSE(IsWindow(Old));
}

TEST_F(ApplicationTest, TimersFireInDueOrderUnderTheManualClock) {
    TWindow A, B;
    std::vector<String> Order;
    EXPECT_EQ(SetTimer(A.Handle, 1, 150), 1u);
    EXPECT_EQ(SetTimer(B.Handle, 2, 100), 2u);
    Application->AdvanceTime(99);
    EXPECT_TRUE(A.Receiver.Log.empty());
    EXPECT_TRUE(B.Receiver.Log.empty());
    Application->AdvanceTime(351); // now 450 ms after the start
    // B at 100, 200, 300, 400; A at 150, 300, 450: every tick, none merged.
    EXPECT_EQ(B.Receiver.Log.size(), 4u);
    EXPECT_EQ(A.Receiver.Log.size(), 3u);
    EXPECT_EQ(A.Receiver.Log.front(), "base:timer 1");
}

TEST_F(ApplicationTest, TimersInterleaveByTimeAcrossWindows) {
    std::vector<int> Ticks;
    HWND H = AllocateHWnd([&](TMessage& M) {
        if (M.Msg == WM_TIMER) Ticks.push_back(static_cast<int>(M.WParam));
    });
    SetTimer(H, 7, 30);
    SetTimer(H, 5, 20);
    Application->AdvanceTime(60);
    // 20:5, 30:7, 40:5, 60: both due; the earlier-scheduled one first.
    EXPECT_EQ(Ticks, (std::vector<int>{5, 7, 5, 7, 5}));
    DeallocateHWnd(H);
}

TEST_F(ApplicationTest, KilledAndRestartedTimers) {
    TWindow W;
    SetTimer(W.Handle, 1, 100);
    Application->AdvanceTime(100);
    EXPECT_EQ(W.Receiver.Log.size(), 1u);
    EXPECT_TRUE(KillTimer(W.Handle, 1));
    EXPECT_FALSE(KillTimer(W.Handle, 1));
    Application->AdvanceTime(500);
    EXPECT_EQ(W.Receiver.Log.size(), 1u);
    // Restarting counts the interval from now.
    SetTimer(W.Handle, 1, 100);
    Application->AdvanceTime(50);
    SetTimer(W.Handle, 1, 100);
    Application->AdvanceTime(99);
    EXPECT_EQ(W.Receiver.Log.size(), 1u);
    Application->AdvanceTime(1);
    EXPECT_EQ(W.Receiver.Log.size(), 2u);
    EXPECT_EQ(SetTimer(0, 1, 10), 0u);
}

TEST_F(ApplicationTest, DestroyingAWindowStopsItsTimers) {
    const std::size_t Before = Application->TimerCount();
    {
        TWindow W;
        SetTimer(W.Handle, 1, 10);
        SetTimer(W.Handle, 2, 10);
        EXPECT_EQ(Application->TimerCount(), Before + 2);
    }
    EXPECT_EQ(Application->TimerCount(), Before);
    Application->AdvanceTime(100);
}

TEST_F(ApplicationTest, AHandlerMayKillItsOwnTimerOrFreeItsWindow) {
    int Ticks = 0;
    HWND H = 0;
    H = AllocateHWnd([&](TMessage& M) {
        if (M.Msg != WM_TIMER) return;
        if (++Ticks == 2) DeallocateHWnd(H);
    });
    SetTimer(H, 1, 10);
    Application->AdvanceTime(100);
    EXPECT_EQ(Ticks, 2);
}

TEST_F(ApplicationTest, IdleWorkRunsAfterTheQueueIsEmpty) {
    TWindow W;
    std::vector<String> Seen;
    Application->SetIdleHandler(
        [&] { Seen.push_back("idle after " + std::to_string(W.Receiver.Log.size())); });
    PostMessage(W.Handle, WM_USER + 1);
    PostMessage(W.Handle, WM_USER + 1);
    Application->ProcessMessages();
    EXPECT_EQ(Seen, (std::vector<String>{"idle after 2"}));
}

TEST_F(ApplicationTest, WorkQueuedAfterIdleWaitsForThePaintAndItsPostsForTheNextPass) {
    TWindow W;
    std::vector<String> Seen;
    Application->SetIdleHandler([&] { Seen.push_back("idle"); });
    int Left = 3;
    // Work that does a share and leaves the rest for after the next paint.
    std::function<void()> Share = [&] {
        Seen.push_back("share");
        if (--Left > 0) {
            PostMessage(W.Handle, WM_USER + 1);
            Application->QueueAfterIdle(Share);
        }
    };
    Application->QueueAfterIdle(Share);
    for (int Pass = 0; Pass < 3; ++Pass) {
        Application->ProcessMessages();
        Seen.push_back("pass");
    }
    EXPECT_EQ(Seen, (std::vector<String>{"idle", "share", "pass", "idle", "share", "pass", "idle",
                                         "share", "pass"}));
    // Each share's post was handled in the pass after it, not in its own.
    EXPECT_EQ(W.Receiver.Log.size(), 2u);
    // A failure in queued work is reported; the loop goes on.
    int Reported = 0;
    Application->OnException = [&](TObject*, const std::exception&) { ++Reported; };
    Application->QueueAfterIdle([] { throw EInvalidOperation("broken"); });
    Application->QueueAfterIdle([&] { Seen.push_back("after the failure"); });
    Application->ProcessMessages();
    Application->OnException = nullptr;
    EXPECT_EQ(Reported, 1);
    EXPECT_EQ(Seen.back(), "after the failure");
}

TEST_F(ApplicationTest, ExceptionsInHandlersDoNotStopTheLoop) {
    std::vector<String> Errors;
    Application->OnException = [&](TObject*, const std::exception& E) {
        Errors.push_back(E.what());
    };
    HWND H = AllocateHWnd([](TMessage& M) {
        if (M.Msg == WM_USER) throw EInvalidOperation("handler failed");
    });
    TWindow Other;
    PostMessage(H, WM_USER);
    PostMessage(Other.Handle, WM_USER + 1);
    Application->ProcessMessages();
    EXPECT_EQ(Errors, (std::vector<String>{"handler failed"}));
    EXPECT_EQ(Other.Receiver.Log.size(), 1u);
    Application->OnException = nullptr;
    DeallocateHWnd(H);
}

TEST_F(ApplicationTest, RunServesWorkersAndEndsOnTerminate) {
    // A worker posts from its thread and hands steps over with Synchronize;
    // the last step ends the loop.
    TWindow W;
    struct TWorker : TThread {
        HWND Target;
        int Steps = 0;
        explicit TWorker(HWND H) : TThread(true), Target(H) {}
        void Execute() override {
            PostMessage(Target, WM_USER + 1);
            for (int I = 0; I < 3; ++I) Synchronize([this] { ++Steps; });
            Synchronize([] { Application->Terminate(); });
        }
    } Worker(W.Handle);
    Application->SetClock(nullptr); // Run waits on real time
    Worker.Start();
    Application->Run();
    Worker.WaitFor();
    EXPECT_EQ(Worker.Steps, 3);
    Application->ProcessMessages();
    EXPECT_EQ(W.Receiver.Log, (std::vector<String>{"derived:user1"}));
}

TEST_F(ApplicationTest, ClosingTheLoopReleasesAWorkerWaitingInSynchronize) {
    std::atomic<bool> Released{false};
    struct TWorker : TThread {
        std::atomic<bool>& Released;
        explicit TWorker(std::atomic<bool>& R) : TThread(true), Released(R) {}
        void Execute() override {
            Synchronize([] { PostQuitMessage(0); });
            try {
                Sleep(20); // the loop has ended by now
                Synchronize([] {});
            } catch (const EThread&) {
                Released = true;
            }
        }
    } Worker(Released);
    Application->SetClock(nullptr);
    Worker.Start();
    Application->Run();
    Worker.WaitFor();
    EXPECT_TRUE(Released);
}

namespace {

// A host in miniature that waits on its own queue, as the window host waits
// on the window system's: the application's wake hook is its only way to
// learn that work arrived.
struct TBlockingHost {
    std::mutex Lock;
    std::condition_variable Changed;
    int Wakes = 0;
    int Seen = 0;
    TBlockingHost() {
        Application->SetWakeHook([this] {
            {
                std::lock_guard Guard(Lock);
                ++Wakes;
            }
            Changed.notify_all();
        });
    }
    ~TBlockingHost() { Application->SetWakeHook(nullptr); }
    // Blocks until woken or the timeout passes; true when woken.
    bool Wait(int Ms) {
        std::unique_lock Guard(Lock);
        const bool Woken = Changed.wait_for(Guard, std::chrono::milliseconds(Ms),
                                            [this] { return Wakes != Seen; });
        Seen = Wakes;
        return Woken;
    }
    int WakeCount() {
        std::lock_guard Guard(Lock);
        return Wakes;
    }
};

} // namespace

TEST_F(ApplicationTest, AWorkersPostAndSynchronizeWakeABlockedHost) {
    TWindow W;
    TBlockingHost Host;
    Application->ProcessMessages();
    Host.Wait(0);
    EXPECT_FALSE(Host.Wait(20)); // nothing to do: the host sleeps

    std::atomic<int> Steps{0};
    struct TWorker : TThread {
        HWND Target;
        std::atomic<int>& Steps;
        TWorker(HWND H, std::atomic<int>& S) : TThread(true), Target(H), Steps(S) {}
        void Execute() override {
            PostMessage(Target, WM_USER + 1);
            Synchronize([this] { ++Steps; });
        }
    } Worker(W.Handle, Steps);
    Worker.Start();
    // The post wakes the host; the Synchronize request that follows wakes it
    // again once the host has handled the post. A host that did not wake
    // would leave the worker waiting and this loop would run out.
    for (int I = 0; I < 100 && Steps == 0; ++I)
        if (Host.Wait(1000)) Application->ProcessMessages();
    Worker.WaitFor();
    EXPECT_EQ(Steps, 1);
    EXPECT_EQ(W.Receiver.Log, (std::vector<String>{"derived:user1"}));
}

TEST_F(ApplicationTest, TheWakeHookFiresOncePerRoundAndForAnEarlierTimer) {
    TWindow W;
    TBlockingHost Host;
    Application->ProcessMessages();
    const int Start = Host.WakeCount();
    // A burst of posts wakes the host once; handling them re-arms the hook.
    for (int I = 0; I < 50; ++I) PostMessage(W.Handle, WM_USER + 1);
    EXPECT_EQ(Host.WakeCount(), Start + 1);
    Application->ProcessMessages();
    EXPECT_EQ(W.Receiver.Log.size(), 50u);
    const int AfterPosts = Host.WakeCount();
    PostMessage(W.Handle, WM_USER + 1);
    EXPECT_EQ(Host.WakeCount(), AfterPosts + 1);
    Application->ProcessMessages();

    // A timer that falls due before every other shortens the host's wait;
    // a later one does not need to wake it.
    const int BeforeTimers = Host.WakeCount();
    SetTimer(W.Handle, 1, 500);
    EXPECT_EQ(Host.WakeCount(), BeforeTimers + 1);
    EXPECT_EQ(Application->TimeToNextTimer(), 500);
    Application->ProcessMessages();
    SetTimer(W.Handle, 2, 900);
    EXPECT_EQ(Host.WakeCount(), BeforeTimers + 1);
    SetTimer(W.Handle, 3, 100);
    EXPECT_EQ(Host.WakeCount(), BeforeTimers + 2);
    TMilliseconds Due = 0;
    ASSERT_TRUE(Application->GetNextTimerDue(Due));
    EXPECT_EQ(Due, Clock.Now() + 100);
    Application->AdvanceTime(100);
    EXPECT_EQ(Application->TimeToNextTimer(), 100);
    KillTimer(W.Handle, 1);
    KillTimer(W.Handle, 2);
    KillTimer(W.Handle, 3);
    EXPECT_EQ(Application->TimeToNextTimer(), -1);
}
