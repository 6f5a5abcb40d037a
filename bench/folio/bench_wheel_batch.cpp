// The wheel and batch updates. One wheel notch over an open group of
// 100,000 items, routed from the pointer through the input router and
// painted, beside one step of a scroll button painted the same way; adding
// 10,000 items to a bar without a window, beside the same adds to a shown
// bar inside BeginUpdate/EndUpdate followed by its one repaint; and, in the
// same run, memset of the bar's pixels.

#include "bench/folio/BenchAnchor.h"
#include "bench/folio/BenchBar.h"
#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace folio;

namespace {

constexpr int BarWidth = 240;
constexpr int BarHeight = 720;

struct TScene {
    THeadlessHost Host;
    TImageList Images{nullptr};
    TForm Form{nullptr};
    TFolio* Bar = nullptr;
    TFolioGroup* Open = nullptr;

    explicit TScene(int Items) {
        Bar = new TFolio(&Form);
        FillBenchBar(Form, *Bar, Images, BarWidth, BarHeight, Items);
        Open = Bar->GetGroups()->GetGroup(3);
        Bar->SetVisibleGroup(3);
        Form.Show();
        Open->SetStartItem(Items / 2);
        Host.RunUntilIdle();
        // The pointer rests on the open group's background, left of the items.
        const TRect C = Open->GetClientRect();
        Host.MoveTo(Bar->ClientToScreen(Point(C.Left + 3, (C.Top + C.Bottom) / 2)));
    }
};

// Forward and back in turn, so the group stays in the middle.
void BM_WheelNotch(benchmark::State& State) {
    TScene S(static_cast<int>(State.range(0)));
    int Sign = -1;
    for (auto _ : State) {
        S.Host.Wheel(Sign * WHEEL_DELTA);
        Sign = -Sign;
    }
    if (S.Open->GetStartItem() < 1) State.SkipWithError("the wheel did not scroll");
}
BENCHMARK(BM_WheelNotch)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ScrollButtonStep(benchmark::State& State) {
    TScene S(static_cast<int>(State.range(0)));
    bool Next = true;
    for (auto _ : State) {
        if (Next)
            S.Open->ClickNextButton();
        else
            S.Open->ClickPrevButton();
        Next = !Next;
        S.Host.RunUntilIdle();
    }
}
BENCHMARK(BM_ScrollButtonStep)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_AddItemsWithoutWindow(benchmark::State& State) {
    const int Count = static_cast<int>(State.range(0));
    TFolio Bar(nullptr);
    TFolioGroup* G = Bar.GetGroups()->Add("Group");
    for (auto _ : State) {
        for (int I = 0; I < Count; ++I) G->GetItems()->Add(Format("Item %d", I % 100), I % 10);
        State.PauseTiming();
        G->GetItems()->Clear();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_AddItemsWithoutWindow)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The adds, the end of the batch and the loop's one repaint.
void BM_AddItemsInABatchShown(benchmark::State& State) {
    const int Count = static_cast<int>(State.range(0));
    TScene S(0);
    TFolioItems* Items = S.Open->GetItems();
    for (auto _ : State) {
        Items->BeginUpdate();
        for (int I = 0; I < Count; ++I) Items->Add(Format("Item %d", I % 100), I % 10);
        Items->EndUpdate();
        S.Host.RunUntilIdle();
        State.PauseTiming();
        Items->BeginUpdate();
        Items->Clear();
        Items->EndUpdate();
        S.Host.RunUntilIdle();
        State.ResumeTiming();
    }
}
BENCHMARK(BM_AddItemsInABatchShown)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_MemsetBarPixels(benchmark::State& State) {
    MemsetPixels(State, static_cast<std::size_t>(BarWidth) * BarHeight);
}
BENCHMARK(BM_MemsetBarPixels)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
