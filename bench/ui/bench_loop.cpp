// The application loop: message throughput, Synchronize round trips, timer
// ticks, and the CPU an idle loop uses.
#include "framework/core/Thread.h"
#include "framework/ui/app/Application.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <ctime>
#include <vector>

using namespace folio;

namespace {

void BM_PostAndDispatch(benchmark::State& State) {
    SetMainThread();
    std::int64_t Received = 0;
    HWND H = AllocateHWnd([&](TMessage& M) { Received += M.WParam; });
    const int Batch = 1000;
    for (auto _ : State) {
        for (int I = 0; I < Batch; ++I) PostMessage(H, WM_USER, 1);
        Application->ProcessMessages();
    }
    State.SetItemsProcessed(State.iterations() * Batch);
    benchmark::DoNotOptimize(Received);
    DeallocateHWnd(H);
}
BENCHMARK(BM_PostAndDispatch);

// A worker asks the idle loop to run a step and waits for it; the figure is
// the median of the round trips.
void BM_SynchronizeRoundTrip(benchmark::State& State) {
    SetMainThread();
    ResumeSynchronize();
    Application->SetClock(nullptr);
    for (auto _ : State) {
        State.PauseTiming();
        std::vector<double> Micros;
        struct TWorker : TThread {
            std::vector<double>& Out;
            explicit TWorker(std::vector<double>& O) : TThread(true), Out(O) {}
            void Execute() override {
                for (int I = 0; I < 2000; ++I) {
                    Sleep(0);
                    const auto Start = std::chrono::steady_clock::now();
                    Synchronize([] {});
                    const auto End = std::chrono::steady_clock::now();
                    Out.push_back(std::chrono::duration<double, std::micro>(End - Start).count());
                }
                Synchronize([] { Application->Terminate(); });
            }
        } Worker(Micros);
        Worker.Start();
        State.ResumeTiming();
        Application->Run();
        Worker.WaitFor();
        ResumeSynchronize();
        std::sort(Micros.begin(), Micros.end());
        State.counters["median_us"] = Micros[Micros.size() / 2];
        State.counters["p99_us"] = Micros[Micros.size() * 99 / 100];
    }
}
BENCHMARK(BM_SynchronizeRoundTrip)->Iterations(3)->Unit(benchmark::kMillisecond);

// One timer tick among N running timers, under the manual clock: the heap
// makes each tick O(log N).
void BM_TimerTick(benchmark::State& State) {
    SetMainThread();
    TManualClock Clock(0);
    Application->SetClock(&Clock);
    const int N = static_cast<int>(State.range(0));
    std::int64_t Ticks = 0;
    HWND H = AllocateHWnd([&](TMessage& M) {
        if (M.Msg == WM_TIMER) ++Ticks;
    });
    // Intervals spread so that about one timer falls due per millisecond.
    for (int I = 0; I < N; ++I)
        SetTimer(H, static_cast<unsigned>(I + 1), static_cast<unsigned>(N + I % 7));
    for (auto _ : State) Application->AdvanceTime(1);
    State.counters["ticks_per_iter"] =
        benchmark::Counter(static_cast<double>(Ticks) / State.iterations());
    State.counters["ns_per_tick"] =
        benchmark::Counter(Ticks ? static_cast<double>(Ticks) : 1.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    DeallocateHWnd(H);
    Application->SetClock(nullptr);
}
BENCHMARK(BM_TimerTick)->Arg(100)->Arg(10000);

// Process CPU time of a loop that waits one second for its only timer.
void BM_IdleSecondCpu(benchmark::State& State) {
    SetMainThread();
    ResumeSynchronize();
    Application->SetClock(nullptr);
    for (auto _ : State) {
        HWND H = AllocateHWnd([](TMessage& M) {
            if (M.Msg == WM_TIMER) Application->Terminate();
        });
        SetTimer(H, 1, 1000);
        timespec Before, After;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &Before);
        Application->Run();
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &After);
        ResumeSynchronize();
        DeallocateHWnd(H);
        State.counters["cpu_ms_per_idle_second"] =
            (After.tv_sec - Before.tv_sec) * 1e3 + (After.tv_nsec - Before.tv_nsec) / 1e6;
    }
}
BENCHMARK(BM_IdleSecondCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// The physical anchor: copying the bytes of a batch of queued messages.
void BM_AnchorMemcpy(benchmark::State& State) {
    std::vector<char> A(1000 * 40), B(A.size());
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(A.size()));
}
BENCHMARK(BM_AnchorMemcpy);

} // namespace

BENCHMARK_MAIN();
