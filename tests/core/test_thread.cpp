#include "framework/core/Exceptions.h"
#include "framework/core/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

using namespace folio;

namespace {

class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> Body, bool Suspended = true)
        : TThread(true), FBody(std::move(Body)) {
        if (!Suspended) Start();
    }
    using TThread::SetReturnValue;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TLambdaThread&)> FBody;
};

struct MainThreadFixture : ::testing::Test {
    void SetUp() override {
        SetMainThread();
        ResumeSynchronize();
    }
    void TearDown() override { ResumeSynchronize(); }
};

using ThreadTest = MainThreadFixture;

} // namespace

TEST_F(ThreadTest, CreatedSuspendedRunsOnlyAfterStart) {
    std::atomic<bool> Ran{false};
    TLambdaThread T([&](TLambdaThread& Self) {
        Ran = true;
        Self.SetReturnValue(7);
    });
    Sleep(5);
    EXPECT_FALSE(Ran);
    EXPECT_TRUE(T.Suspended());
    T.Start();
    EXPECT_EQ(T.WaitFor(), 7);
    EXPECT_TRUE(Ran);
    EXPECT_TRUE(T.Finished());
    EXPECT_THROW(T.Start(), EThread);
}

TEST_F(ThreadTest, SynchronizeRunsStepsOnTheMainThreadInOrder) {
    std::vector<int> Steps;
    std::vector<bool> OnMain;
    TLambdaThread T([&](TLambdaThread& Self) {
        for (int I = 0; I < 5; ++I)
            Self.Synchronize([&, I] {
                Steps.push_back(I);
                OnMain.push_back(IsMainThread());
            });
    });
    T.Start();
    T.WaitFor(); // services the requests while waiting
    EXPECT_EQ(Steps, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(OnMain, std::vector<bool>(5, true));
}

TEST_F(ThreadTest, SynchronizeOnTheMainThreadRunsInline) {
    int Calls = 0;
    TThread::Synchronize(nullptr, [&] { ++Calls; });
    EXPECT_EQ(Calls, 1);
}

TEST_F(ThreadTest, AnExceptionInAStepReachesTheWorker) {
    String Caught;
    TLambdaThread T([&](TLambdaThread& Self) {
        try {
            Self.Synchronize([] { throw ERangeError("step failed"); });
        } catch (const ERangeError& E) {
            Caught = E.Message();
        }
    });
    T.Start();
    T.WaitFor();
    EXPECT_EQ(Caught, "step failed");
}

TEST_F(ThreadTest, AnExceptionEndingExecuteIsKept) {
    TLambdaThread T([](TLambdaThread&) { throw EReadError("boom"); });
    T.Start();
    T.WaitFor();
    ASSERT_TRUE(T.FatalException());
    EXPECT_THROW(std::rethrow_exception(T.FatalException()), EReadError);
}

TEST_F(ThreadTest, ShutdownReleasesAWorkerBlockedInSynchronize) {
    std::atomic<bool> Queued{false};
    std::atomic<bool> Released{false};
    TLambdaThread T([&](TLambdaThread& Self) {
        try {
            Queued = true;
            Self.Synchronize([] {});
        } catch (const EThread&) {
            Released = true;
        }
        // Later requests fail at once instead of waiting.
        try {
            Self.Synchronize([] {});
        } catch (const EThread&) {
        }
    });
    T.Start();
    while (!SynchronizePending()) Sleep(1);
    ShutdownSynchronize();
    T.WaitFor();
    EXPECT_TRUE(Released);
}

TEST_F(ThreadTest, DestroyingARunningThreadTerminatesAndWaits) {
    std::atomic<int> Loops{0};
    {
        TLambdaThread T([&](TLambdaThread& Self) {
            while (!Self.Terminated()) {
                ++Loops;
                Sleep(1);
            }
        });
        T.Start();
        while (Loops == 0) Sleep(1);
    }
    const int After = Loops;
    Sleep(5);
    EXPECT_EQ(Loops, After);
}

TEST_F(ThreadTest, FreeOnTerminateDeletesItselfAfterTheLastStep) {
    static std::atomic<int> Destroyed;
    Destroyed = 0; // the test may run more than once in a process
    struct TCounting : TLambdaThread {
        using TLambdaThread::TLambdaThread;
        ~TCounting() override { ++Destroyed; }
    };
    std::atomic<bool> Stepped{false};
    auto* T =
        new TCounting([&](TLambdaThread& Self) { Self.Synchronize([&] { Stepped = true; }); });
    T->SetFreeOnTerminate(true);
    T->Start();
    while (Destroyed == 0) {
        const unsigned Seen = SynchronizeSignalCount();
        if (!CheckSynchronize() && Destroyed == 0) WaitForSynchronize(Seen, 50);
    }
    EXPECT_TRUE(Stepped);
}

TEST_F(ThreadTest, OnTerminateRunsOnTheMainThread) {
    bool Main = false;
    TLambdaThread T([](TLambdaThread&) {});
    T.OnTerminate = [&](TObject*) { Main = IsMainThread(); };
    T.Start();
    T.WaitFor();
    EXPECT_TRUE(Main);
}
