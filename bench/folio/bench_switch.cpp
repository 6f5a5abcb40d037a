// Switching the bar's open group, on the headless host:
// - one animation frame of a 240 x 720 bar: the synchronised frame step that
//   moves the captions, plus the repaint that copies the two pictures and
//   draws the other captions;
// - a whole 300-pixel switch at speed 30, with the offsets its frames showed
//   and the time the frame count predicts (frames x (10 ms sleep + frame));
// - a click on a caption, without animation, up to the repainted new group;
// - two one-item repaints far apart (the first and the last item on show):
//   the paint pass paints the two items and nothing between them; beside
//   it the same two items invalidated as one rectangle holding both, which
//   is what a single dirty rectangle per window used to paint.
// Each figure carries, as counters measured in the same run, the physical
// floor it compares with: a memcpy of the bar's pixels, or a bare 10 ms sleep.
// The frame also gives what it changes (changed_kb: the rows holding a
// changed pixel, as wide as the bar) and a memcpy of that many bytes after
// a 10 ms sleep.

#include "bench/folio/BenchIcons.h"
#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ImageList.h"
#include "framework/gfx/Rects.h"
#include "framework/gfx/Surface.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/forms/Form.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

using namespace folio;

namespace {

using TClock = std::chrono::steady_clock;

double MicrosSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::micro>(TClock::now() - Start).count();
}

// The calling thread's processor time, in microseconds: unlike the clock on
// the wall it leaves out the time other programs of a busy machine take.
double ThreadCpuMicros() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) * 1e6 + static_cast<double>(T.tv_nsec) / 1e3;
}

// The fastest of a few memcpy runs over Bytes, in microseconds: what moving
// that many pixels costs on this machine right now.
double MemcpyMicros(std::size_t Bytes) {
    std::vector<char> From(Bytes, 1), To(Bytes, 0);
    double Best = 1e9;
    for (int Run = 0; Run < 200; ++Run) {
        const auto Start = TClock::now();
        std::memcpy(To.data(), From.data(), Bytes);
        benchmark::DoNotOptimize(To.data());
        benchmark::ClobberMemory();
        Best = std::min(Best, MicrosSince(Start));
        From[Run % Bytes] = static_cast<char>(Run);
    }
    return Best;
}

// The median of memcpy runs over Bytes that each follow a 10 ms sleep, in
// microseconds: the same bytes moved in the state a frame finds the caches
// in, after the pause between frames.
double MemcpyAfterSleepMicros(std::size_t Bytes) {
    std::vector<char> From(Bytes, 1), To(Bytes, 0);
    std::vector<double> Runs;
    for (int Run = 0; Run < 31; ++Run) {
        Sleep(10);
        const auto Start = TClock::now();
        std::memcpy(To.data(), From.data(), Bytes);
        benchmark::DoNotOptimize(To.data());
        benchmark::ClobberMemory();
        Runs.push_back(MicrosSince(Start));
    }
    std::nth_element(Runs.begin(), Runs.begin() + Runs.size() / 2, Runs.end());
    return Runs[Runs.size() / 2];
}

// The mean of a few bare 10 ms sleeps, in milliseconds: the pacing a frame
// of the slide cannot beat.
double SleepTenMillis() {
    const auto Start = TClock::now();
    for (int I = 0; I < 10; ++I) Sleep(10);
    return MicrosSince(Start) / 10000.0;
}

// Waits (bounded) until a worker asks the user-interface thread for a step.
bool WaitForStep() {
    const auto Deadline = TClock::now() + std::chrono::seconds(5);
    while (!SynchronizePending()) {
        if (TClock::now() > Deadline) return false;
        WaitForSynchronize(SynchronizeSignalCount(), 20);
    }
    return true;
}

// A form holding one bar of Width x Height without a border, with Groups
// groups of Items large items each.
struct TSwitchScene {
    THeadlessHost Host;
    TImageList Images{nullptr};
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;

    TSwitchScene(int Width, int Height, int Groups, int Items) {
        AddBenchIcons(Images);
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, Width + 40, Height + 40);
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetBounds(0, 0, Width, Height);
        Bar->SetLargeImages(&Images);
        Bar->SetParent(Form.get());
        for (int G = 0; G < Groups; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->Add(Format("Group %d", G));
            Group->SetStyle(G % 2 ? gbGradient : gbColor);
            Group->SetStartColor(0xE0C0A0);
            Group->SetEndColor(0x604020);
            for (int I = 0; I < Items; ++I)
                Group->GetItems()->Add(I % 2 ? Format("Item %d", I) : Format("A longer item %d", I),
                                       I % 10);
        }
        Form->Show();
        Host.RunUntilIdle();
    }

    ~TSwitchScene() {
        // A switch still running is stopped by the bar's destructor.
        Form.reset();
        Application->ProcessMessages();
    }
};

// One frame: the worker's synchronised frame step and the idle repaint that
// follows it, timed on the user-interface thread only (the wall-clock time,
// and as cpu_us the thread's processor time). The slide runs at speed 1 so
// that it never ends within the measured frames.
void BM_AnimationFrame(benchmark::State& State) {
    TSwitchScene Scene(240, 720, 8, 40);
    TFolio* Bar = Scene.Bar;
    Bar->SetAnimationStyle(asNone);
    Bar->SetVisibleGroup(3);
    Scene.Host.RunUntilIdle();
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(1);
    Bar->SetVisibleGroup(4);
    // The first step paints the two pictures; frames start after it.
    if (!WaitForStep()) {
        State.SkipWithError("the worker never asked for its preparation");
        return;
    }
    Application->ProcessMessages();
    double CpuMicros = 0, WarmMicros = 0;
    for (auto _ : State) {
        if (!WaitForStep()) {
            State.SkipWithError("the worker stopped asking for frames");
            break;
        }
        const double Cpu = ThreadCpuMicros();
        const auto Start = TClock::now();
        Application->ProcessMessages();
        State.SetIterationTime(MicrosSince(Start) / 1e6);
        CpuMicros += ThreadCpuMicros() - Cpu;
        // The same frame painted again at once, while the worker sleeps:
        // the repaint alone with the caches still warm from it.
        const auto Again = TClock::now();
        Bar->Invalidate();
        Application->ProcessMessages();
        WarmMicros += MicrosSince(Again);
    }
    // What a frame changes, measured on frames after the timed ones (a copy
    // of the surface before each would warm the caches the timed frames
    // find cold): the rows that hold a changed pixel, as wide as the bar.
    const TPixelSurface* Surface = Scene.Form->GetSurface();
    std::vector<TPixel> Before;
    double ChangedBytes = 0, ChangedPixels = 0;
    int Counted = 0;
    for (; Counted < 20 && Surface && Surface->Valid(); ++Counted) {
        if (!WaitForStep()) break;
        Before.assign(Surface->Pixels,
                      Surface->Pixels +
                          static_cast<std::ptrdiff_t>(Surface->Stride) * Surface->Height);
        Application->ProcessMessages();
        const TPixelSurface Old{Before.data(), Surface->Width, Surface->Height, Surface->Stride};
        // Only the bar changes in a frame; the whole surface is searched.
        for (int Y = 0; Y < Surface->Height; ++Y) {
            int InRow = 0;
            for (int X = 0; X < Surface->Width; ++X) InRow += Surface->Row(Y)[X] != Old.Row(Y)[X];
            ChangedPixels += InRow;
            if (InRow) ChangedBytes += Bar->GetWidth() * 4.0;
        }
    }
    if (Bar->GetVisibleGroup() != 3) State.SkipWithError("the slide ended inside the measurement");
    const double Frames = std::max<double>(1, static_cast<double>(State.iterations()));
    const double Changed = ChangedBytes / std::max(Counted, 1);
    const double ChangedAfterSleep = MemcpyAfterSleepMicros(static_cast<std::size_t>(Changed));
    State.counters["changed_kb"] = Changed / 1024;
    State.counters["changed_pixels"] = ChangedPixels / std::max(Counted, 1);
    State.counters["memcpy_changed_after_sleep_us"] = ChangedAfterSleep;
    State.counters["cpu_us"] = CpuMicros / Frames;
    State.counters["repaint_warm_us"] = WarmMicros / Frames;
    State.counters["memcpy_bar_us"] = MemcpyMicros(240 * 720 * 4);
    State.counters["memcpy_after_sleep_us"] = MemcpyAfterSleepMicros(240 * 720 * 4);
    State.SetLabel("anchors: memcpy of the bar's 240x720 pixels, warm and after 10 ms asleep, "
                   "and of the rows a frame changes after 10 ms asleep");
}
BENCHMARK(BM_AnimationFrame)->UseManualTime()->Iterations(300)->Unit(benchmark::kMicrosecond);

// Remembers, at every repaint request a frame makes, how far the watched
// group's caption has moved from where it rests.
struct TWatchedBar : TFolio {
    using TFolio::TFolio;
    int Watched = 0;
    int RestPosition = 0;
    int From = -1;
    std::vector<int> Offsets;

    int Position() const {
        const TRect B = GetGroups()->GetGroup(Watched)->GetBoundsRect();
        return GetAlignment() == baHorizontal ? B.Left : B.Top;
    }
    void Invalidate() override {
        // The finishing step repaints too, once the new group is open.
        if (From >= 0 && GetVisibleGroup() == From) Offsets.push_back(Position() - RestPosition);
        TFolio::Invalidate();
    }
};

// A 300-pixel high bar of four groups with 20-pixel captions leaves 220
// pixels to slide; at speed 30 a linear slide shows 8 frames.
void BM_Switch300AtSpeed30(benchmark::State& State) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 300, 360);
    auto* Bar = new TWatchedBar(&Form);
    Bar->SetBorderStyle(bsNone);
    Bar->SetBounds(0, 0, 240, 300);
    Bar->SetParent(&Form);
    for (int G = 0; G < 4; ++G) {
        TFolioGroup* Group = Bar->GetGroups()->Add(Format("Group %d", G));
        for (int I = 0; I < 6; ++I) Group->GetItems()->Add(Format("Item %d", I), -1);
    }
    Bar->SetAnimationStyle(asLinear);
    Bar->SetAnimationSpeed(30);
    Form.Show();
    Host.RunUntilIdle();

    const std::vector<int> Down{0, -30, -60, -90, -120, -150, -180, -210};
    const std::vector<int> Up{0, 30, 60, 90, 120, 150, 180, 210};
    double UiMicros = 0;
    long long Frames = 0;
    String Seen;
    for (auto _ : State) {
        // Open the last group, then the first one again: the watched last
        // caption slides up, then down.
        const int Target = Bar->GetVisibleGroup() == 0 ? 3 : 0;
        Bar->Watched = 3;
        Bar->RestPosition = Bar->Position();
        Bar->From = Bar->GetVisibleGroup();
        Bar->Offsets.clear();
        Bar->SetVisibleGroup(Target);
        while (Bar->GetVisibleGroup() != Target) {
            if (!WaitForStep()) break;
            const auto Start = TClock::now();
            Application->ProcessMessages();
            UiMicros += MicrosSince(Start);
        }
        Bar->From = -1;
        if (Bar->GetVisibleGroup() != Target) {
            State.SkipWithError("the switch did not end");
            break;
        }
        if (Bar->Offsets != (Target == 3 ? Down : Up)) {
            State.SkipWithError("the frames did not show the expected offsets");
            break;
        }
        Frames += static_cast<long long>(Bar->Offsets.size());
        if (Seen.empty())
            for (int Offset : Bar->Offsets) Seen += (Seen.empty() ? "" : ",") + IntToStr(Offset);
    }
    // The worker frees itself once its finishing step has run; let it go.
    Sleep(20);
    Application->ProcessMessages();

    const double PerSwitch = static_cast<double>(Frames) / std::max<double>(1, State.iterations());
    // The user-interface time includes the preparation and finishing steps,
    // so it bounds the frame cost from above.
    const double FrameMicros = UiMicros / std::max<double>(1, static_cast<double>(Frames));
    const double Sleep10 = SleepTenMillis();
    State.counters["frames"] = PerSwitch;
    State.counters["ui_us_per_frame"] = FrameMicros;
    State.counters["sleep10_ms"] = Sleep10;
    State.counters["predicted_ms"] = PerSwitch * (Sleep10 + FrameMicros / 1000.0);
    State.SetLabel("offsets " + Seen + " (then the same upwards); anchor: sleep10_ms");
}
BENCHMARK(BM_Switch300AtSpeed30)->UseRealTime()->Iterations(12)->Unit(benchmark::kMillisecond);

// A click on a caption of a bar that switches at once: the pointer moves onto
// the caption, presses and releases it, and the loop repaints the bar with the
// new group open. Two captions take turns.
void BM_ClickCaptionToRepaint(benchmark::State& State) {
    TSwitchScene Scene(240, 720, 8, 40);
    TFolio* Bar = Scene.Bar;
    Bar->SetAnimationStyle(asNone);
    Bar->SetVisibleGroup(2);
    Scene.Host.RunUntilIdle();
    for (auto _ : State) {
        const int Target = Bar->GetVisibleGroup() == 2 ? 5 : 2;
        const TRect R = Bar->GetGroups()->GetGroup(Target)->GetCaptionRect();
        const TPoint P = Bar->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Scene.Host.Click(P.X, P.Y);
        if (Bar->GetVisibleGroup() != Target) {
            State.SkipWithError("the click did not open the group");
            break;
        }
    }
    State.counters["memcpy_bar_us"] = MemcpyMicros(240 * 720 * 4);
    State.SetLabel("anchor: memcpy of the bar's 240x720 pixels");
}
BENCHMARK(BM_ClickCaptionToRepaint)->Unit(benchmark::kMicrosecond);

// Invalidates the first and the last item on show of the open group, as
// two rectangles or as the one rectangle holding both, and lets the loop
// repaint them; the pixels counter is what the form's surface says was
// painted.
void TwoFarItemRepaints(benchmark::State& State, bool AsOneRectangle) {
    TSwitchScene Scene(240, 720, 8, 40);
    TFolio* Bar = Scene.Bar;
    Bar->SetAnimationStyle(asNone);
    Bar->SetVisibleGroup(3);
    Scene.Host.RunUntilIdle();
    TFolioGroup* Group = Bar->GetVisibleGroupObject();
    const TRect First = Group->GetItems()->GetItem(0)->GetClientRect();
    int Last = 0;
    while (Last + 1 < Group->GetItems()->GetCount() &&
           Group->GetItems()->GetItem(Last + 1)->GetClientRect().Bottom <=
               Group->GetClientRect().Bottom)
        ++Last;
    const TRect Second = Group->GetItems()->GetItem(Last)->GetClientRect();
    if (Last < 4 || First.IsEmpty() || Second.IsEmpty()) {
        State.SkipWithError("the open group shows too few items");
        return;
    }
    TRect Both;
    UnionRect(Both, First, Second);
    Scene.Form->TakeSurfaceDamage();
    long long Pixels = 0;
    for (auto _ : State) {
        if (AsOneRectangle) {
            InvalidateRect(Bar->GetHandle(), &Both, true);
        } else {
            InvalidateRect(Bar->GetHandle(), &First, true);
            InvalidateRect(Bar->GetHandle(), &Second, true);
        }
        Application->ProcessMessages();
        for (const TRect& R : Scene.Form->TakeSurfaceDamage())
            Pixels += static_cast<long long>(R.Width()) * R.Height();
    }
    const double Repaints = std::max<double>(1, static_cast<double>(State.iterations()));
    State.counters["pixels"] = static_cast<double>(Pixels) / Repaints;
    State.counters["memcpy_bar_us"] = MemcpyMicros(240 * 720 * 4);
    State.SetLabel(Format("items 0 and %d", Last) + "; anchor: memcpy of the bar's 240x720 pixels");
}

void BM_TwoFarItemRepaints(benchmark::State& State) {
    TwoFarItemRepaints(State, false);
}
BENCHMARK(BM_TwoFarItemRepaints)->Unit(benchmark::kMicrosecond);

void BM_TwoFarItemRepaintsAsOneRectangle(benchmark::State& State) {
    TwoFarItemRepaints(State, true);
}
BENCHMARK(BM_TwoFarItemRepaintsAsOneRectangle)->Unit(benchmark::kMicrosecond);

// The anchor on a line of its own, as the other benchmarks print it.
void BM_AnchorMemcpyBarPixels(benchmark::State& State) {
    std::vector<char> From(240 * 720 * 4, 1), To(From.size());
    for (auto _ : State) {
        std::memcpy(To.data(), From.data(), From.size());
        benchmark::DoNotOptimize(To.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * static_cast<long long>(From.size()));
}
BENCHMARK(BM_AnchorMemcpyBarPixels)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
