// The window host at rest: process CPU time over one idle second with a
// shown form of 50 controls, the host blocked in the window system's queue
// until its only timer ends the second. Needs a display (run it under
// xvfb-run); without one it says so and measures nothing. The host wakes
// twice: once for the timer being started and once when it falls due.
#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <poll.h>
#include <vector>

using namespace folio;

namespace {

double CpuMs(clockid_t Clock) {
    timespec T;
    clock_gettime(Clock, &T);
    return T.tv_sec * 1e3 + T.tv_nsec / 1e6;
}

class TTile : public TCustomControl {
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override { GetCanvas()->FillRect(GetClientRect()); }
};

void BM_SdlHostIdleSecondCpu(benchmark::State& State) {
    if (!TSdlHost::DisplayAvailable()) {
        State.SkipWithError("no display: run under xvfb-run");
        return;
    }
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 800, 600);
    for (int I = 0; I < 50; ++I) {
        auto* T = new TTile(&Form);
        T->SetBounds((I % 10) * 80, (I / 10) * 120, 70, 110);
        T->SetParent(&Form);
    }
    Form.Show();
    // Let the window appear and the first frames go out.
    for (int I = 0; I < 20; ++I) Host.Step(10);
    for (auto _ : State) {
        bool Done = false;
        HWND H = AllocateHWnd([&](TMessage& M) {
            if (M.Msg == WM_TIMER) Done = true;
        });
        SetTimer(H, 1, 1000);
        const unsigned Presents = Host.PresentCount();
        const double Before = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        const double ThreadBefore = CpuMs(CLOCK_THREAD_CPUTIME_ID);
        int Wakes = 0;
        while (!Done) {
            Host.Step(-1);
            ++Wakes;
        }
        State.counters["host_wakes"] = Wakes;
        const double After = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        State.counters["ui_thread_cpu_ms"] = CpuMs(CLOCK_THREAD_CPUTIME_ID) - ThreadBefore;
        DeallocateHWnd(H);
        State.counters["cpu_ms_per_idle_second"] = After - Before;
        State.counters["frames_presented"] = Host.PresentCount() - Presents;
    }
}
BENCHMARK(BM_SdlHostIdleSecondCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// The floor under the figure above: the CPU that one plain sleep of a second
// and its wake-up cost this process (with the display open), measured in the
// same run. On a virtual machine it is not zero.
void BM_AnchorSleepOneSecondCpu(benchmark::State& State) {
    if (!TSdlHost::DisplayAvailable()) {
        State.SkipWithError("no display: run under xvfb-run");
        return;
    }
    TSdlHost Host;
    for (auto _ : State) {
        const double Before = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        poll(nullptr, 0, 1000);
        State.counters["cpu_ms_per_idle_second"] = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - Before;
    }
}
BENCHMARK(BM_AnchorSleepOneSecondCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// The physical anchor: copying the form's 800 x 600 pixels once.
void BM_AnchorMemcpyFormPixels(benchmark::State& State) {
    std::vector<char> A(800 * 600 * 4, 1), B(A.size());
    for (auto _ : State) {
        std::memcpy(B.data(), A.data(), A.size());
        benchmark::DoNotOptimize(B.data());
    }
    State.SetBytesProcessed(State.iterations() * static_cast<long long>(A.size()));
}
BENCHMARK(BM_AnchorMemcpyFormPixels);

} // namespace

BENCHMARK_MAIN();
