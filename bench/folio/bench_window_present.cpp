// The bar in a real window: what the window host's present costs and how
// long an input takes to reach the screen. Needs a display (run it under
// xvfb-run); without one every figure says it skipped.
//
// The scene is the gallery's: a 700 x 560 form holding a 240 x 500
// vertical bar whose open group has a gradient and large pictures.
// - present after a hover change (the bar repaints itself whole on a hover
//   change, so the damage is the bar) and after a change of the whole
//   window, beside memcpy of the same bytes and of the whole surface;
// - present after a change of a square of 1, 40 and 200 pixels a side
//   (one pixel gives the fixed cost of a present);
// - a hover change from the pointer's move to the end of its present
//   (handling, paint and present): what a move costs the application;
// - input to screen: from an event entering the host's queue to the end of
//   the present that shows its effect, for a hover change and for a click
//   on a caption of a bar that switches without animation.
// Times are on the wall clock and include the window system's round trip
// at the end of a present; cpu_us counters leave out the window system.

#include "bench/folio/BenchIcons.h"
#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/Input.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

using namespace folio;

namespace {

using TClock = std::chrono::steady_clock;

constexpr int FormWidth = 700;
constexpr int FormHeight = 560;

double Seconds(TClock::time_point Start) {
    return std::chrono::duration<double>(TClock::now() - Start).count();
}

double ThreadCpuMicros() {
    timespec T{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) * 1e6 + static_cast<double>(T.tv_nsec) / 1e3;
}

// A control that changes colour, and only itself.
class TSquare : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TColor Colour = 0x000000;

protected:
    void Paint() override {
        GetCanvas()->GetBrush()->SetColor(Colour);
        GetCanvas()->FillRect(GetClientRect());
    }
};

struct TWindowScene {
    TImageList Images{nullptr};
    TSdlHost Host;
    TForm Form{nullptr};
    TFolio* Bar = nullptr;
    TSquare* Square = nullptr;

    TWindowScene() {
        AddBenchIcons(Images);
        Form.SetBounds(40, 40, FormWidth, FormHeight);
        Bar = new TFolio(&Form);
        Bar->SetParent(&Form);
        Bar->SetBounds(10, 10, 240, 500);
        Bar->SetAnimationStyle(asNone);
        Bar->SetLargeImages(&Images);
        TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
        Mail->SetStyle(gbGradient);
        Mail->SetStartColor(0xF0E0D0);
        Mail->SetEndColor(0x906040);
        for (int I = 0; I < 12; ++I) Mail->GetItems()->Add(Format("Item %d", I), I % 10);
        for (const char* Caption : {"Calendar", "Places", "Notes"})
            Bar->GetGroups()->Add(Caption)->GetItems()->Add("Only item", 1);
        for (int G = 0; G < Bar->GetGroups()->GetCount(); ++G) {
            TFolioItems* Items = Bar->GetGroups()->GetGroup(G)->GetItems();
            for (int I = 0; I < Items->GetCount(); ++I)
                Items->GetItem(I)->SetOverImageIndex(Items->GetItem(I)->GetImageIndex());
        }
        Bar->SetVisibleGroup(0);
        Square = new TSquare(&Form);
        Square->SetParent(&Form);
        Square->SetBounds(FormWidth - 11, FormHeight - 11, 1, 1);
        Form.Show();
        Settle();
    }

    // Steps until the window system and the host have nothing left to do.
    void Settle() {
        for (int I = 0; I < 30; ++I) Host.Step(5);
    }
    // A point of the bar's client area in window coordinates.
    TPoint InWindow(TPoint BarPoint) const {
        const TPoint S = Bar->ClientToScreen(BarPoint);
        return Point(S.X - Form.GetLeft(), S.Y - Form.GetTop());
    }
    TPoint ItemCentre(int Index) const {
        const TRect R = Bar->GetVisibleGroupObject()->GetItems()->GetItem(Index)->GetImageRect();
        return InWindow(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    }
    TPoint CaptionCentre(int Group) const {
        const TRect R = Bar->GetGroups()->GetGroup(Group)->GetCaptionRect();
        return InWindow(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    }
    // Moves the pointer as the host's input would, without the host.
    void MoveTo(TPoint InWindow) {
        InputRouter->MouseMove(Point(Form.GetLeft() + InWindow.X, Form.GetTop() + InWindow.Y),
                               TShiftState{});
    }
    // Steps until a frame went out; answers false when none came.
    bool StepUntilPresented() {
        const unsigned Before = Host.PresentCount();
        for (int I = 0; I < 1000; ++I) {
            Host.Step(0);
            if (Host.PresentCount() != Before) return true;
        }
        return false;
    }
};

std::unique_ptr<TWindowScene> MakeScene(benchmark::State& State) {
    if (!TSdlHost::DisplayAvailable()) {
        State.SkipWithError("skipped: no display (run under xvfb-run)");
        return nullptr;
    }
    return std::make_unique<TWindowScene>();
}

// Times Host.Present() alone after Change has been made and painted.
template <typename TChange>
void MeasurePresent(benchmark::State& State, TWindowScene& S, TChange Change) {
    unsigned long long Pixels = 0;
    double Cpu = 0;
    for (auto _ : State) {
        Change();
        Application->ProcessMessages();
        const auto Before = S.Host.PresentCounts();
        const double CpuStart = ThreadCpuMicros();
        const auto Start = TClock::now();
        S.Host.Present();
        State.SetIterationTime(Seconds(Start));
        Cpu += ThreadCpuMicros() - CpuStart;
        Pixels += S.Host.PresentCounts().Pixels - Before.Pixels;
    }
    const double N = static_cast<double>(State.iterations());
    State.counters["pixels"] = static_cast<double>(Pixels) / N;
    State.counters["cpu_us"] = Cpu / N;
    State.SetBytesProcessed(static_cast<long long>(Pixels * 4));
}

void BM_PresentAfterHoverChange(benchmark::State& State) {
    auto S = MakeScene(State);
    if (!S) return;
    const TPoint A = S->ItemCentre(0), B = S->ItemCentre(1);
    bool OnA = false;
    MeasurePresent(State, *S, [&] {
        OnA = !OnA;
        S->MoveTo(OnA ? A : B);
    });
}
BENCHMARK(BM_PresentAfterHoverChange)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_PresentAfterWholeWindowChange(benchmark::State& State) {
    auto S = MakeScene(State);
    if (!S) return;
    MeasurePresent(State, *S, [&] {
        S->Form.Invalidate();
        S->Bar->Invalidate();
        S->Square->Invalidate();
    });
}
BENCHMARK(BM_PresentAfterWholeWindowChange)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A square of N x N pixels that changes colour: N = 1 is the fixed cost of
// a present, N = 40 about an item's picture with its hover frame.
void BM_PresentAfterSquareChange(benchmark::State& State) {
    auto S = MakeScene(State);
    if (!S) return;
    const int N = static_cast<int>(State.range(0));
    S->Square->SetBounds(FormWidth - 10 - N, FormHeight - 10 - N, N, N);
    S->Settle();
    MeasurePresent(State, *S, [&] {
        S->Square->Colour ^= 0xFFFFFF;
        S->Square->Invalidate();
    });
}
BENCHMARK(BM_PresentAfterSquareChange)
    ->Arg(1)
    ->Arg(40)
    ->Arg(200)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// What a hover change costs the application from the pointer's move to the
// end of its present: the bar's handling and repaint plus the present.
void BM_HoverChangePaintAndPresent(benchmark::State& State) {
    auto S = MakeScene(State);
    if (!S) return;
    const TPoint A = S->ItemCentre(0), B = S->ItemCentre(1);
    bool OnA = false;
    double Cpu = 0;
    for (auto _ : State) {
        OnA = !OnA;
        const double CpuStart = ThreadCpuMicros();
        const auto Start = TClock::now();
        S->MoveTo(OnA ? A : B);
        Application->ProcessMessages();
        S->Host.Present();
        State.SetIterationTime(Seconds(Start));
        Cpu += ThreadCpuMicros() - CpuStart;
    }
    State.counters["cpu_us"] = Cpu / static_cast<double>(State.iterations());
}
BENCHMARK(BM_HoverChangePaintAndPresent)->UseManualTime()->Unit(benchmark::kMicrosecond);

// From events put into the host's queue to the end of the present that
// shows them. Push puts the events of one iteration.
template <typename TPush>
void MeasureInputToScreen(benchmark::State& State, TWindowScene& S, TPush Push) {
    double Cpu = 0;
    for (auto _ : State) {
        S.Host.Step(0); // nothing left over from the last iteration
        const double CpuStart = ThreadCpuMicros();
        const auto Start = TClock::now();
        Push();
        if (!S.StepUntilPresented()) {
            State.SkipWithError("an input showed nothing");
            return;
        }
        State.SetIterationTime(Seconds(Start));
        Cpu += ThreadCpuMicros() - CpuStart;
    }
    State.counters["cpu_us"] = Cpu / static_cast<double>(State.iterations());
}

void BM_InputToScreenHoverChange(benchmark::State& State) {
    auto S = MakeScene(State);
    if (!S) return;
    const TPoint A = S->ItemCentre(0), B = S->ItemCentre(1);
    bool OnA = false;
    MeasureInputToScreen(State, *S, [&] {
        OnA = !OnA;
        const TPoint P = OnA ? A : B;
        S->Host.PushMouseMove(&S->Form, P.X, P.Y);
    });
}
BENCHMARK(BM_InputToScreenHoverChange)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A click (press and release) on the caption of a closed group, which opens
// at once; the next click opens the first group again.
void BM_InputToScreenCaptionClick(benchmark::State& State) {
    auto S = MakeScene(State);
    if (!S) return;
    int Target = 0;
    MeasureInputToScreen(State, *S, [&] {
        Target = Target == 0 ? 2 : 0;
        const TPoint P = S->CaptionCentre(Target);
        S->Host.PushMouseMove(&S->Form, P.X, P.Y);
        S->Host.PushMouseButton(&S->Form, P.X, P.Y, mbLeft, true);
        S->Host.PushMouseButton(&S->Form, P.X, P.Y, mbLeft, false);
    });
    if (S->Bar->GetVisibleGroup() != Target) State.SkipWithError("the clicks opened no group");
}
BENCHMARK(BM_InputToScreenCaptionClick)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The physical anchors: memcpy of the whole surface, of the bar's pixels
// (the bytes a hover change sends) and of the squares above, each as rows
// of the surface.
void CopyRows(benchmark::State& State, int Width, int Height) {
    std::vector<std::uint32_t> From(FormWidth * FormHeight, 0xFF102030u), To(From.size());
    for (auto _ : State) {
        for (int Y = 0; Y < Height; ++Y)
            std::memcpy(To.data() + Y * FormWidth, From.data() + Y * FormWidth,
                        static_cast<size_t>(Width) * 4);
        benchmark::DoNotOptimize(To.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * Width * Height * 4LL);
}

void BM_AnchorMemcpyWholeSurface(benchmark::State& State) {
    CopyRows(State, FormWidth, FormHeight);
}
BENCHMARK(BM_AnchorMemcpyWholeSurface)->Unit(benchmark::kMicrosecond);

void BM_AnchorMemcpyBarPixels(benchmark::State& State) {
    CopyRows(State, 236, 496);
}
BENCHMARK(BM_AnchorMemcpyBarPixels)->Unit(benchmark::kMicrosecond);

void BM_AnchorMemcpySquare(benchmark::State& State) {
    const int N = static_cast<int>(State.range(0));
    CopyRows(State, N, N);
}
BENCHMARK(BM_AnchorMemcpySquare)->Arg(1)->Arg(40)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
