// Painting and hit-testing the bar: a full paint of a 240 x 720 bar with 8
// groups whose open group holds N large items, for N = 100 and N = 100,000
// (the cost must follow what shows, not what exists), one hit test in the
// large group, and memset of the bar's pixels as the floor.

#include "bench/folio/BenchAnchor.h"
#include "bench/folio/BenchIcons.h"
#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ImageList.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

constexpr int BarWidth = 240;
constexpr int BarHeight = 720;

struct TPaintScene {
    TImageList Images{nullptr};
    TFolio Bar{nullptr};
    TBitmap Target{BarWidth, BarHeight};

    TPaintScene(int Items, TFolGroupBackgroungStyle Style) {
        AddBenchIcons(Images);
        Bar.SetBorderStyle(bsNone);
        Bar.SetAnimationStyle(asNone);
        Bar.SetWidth(BarWidth);
        Bar.SetHeight(BarHeight);
        Bar.SetLargeImages(&Images);
        for (int G = 0; G < 8; ++G) Bar.GetGroups()->Add(Format("Group %d", G));
        TFolioGroup* Open = Bar.GetGroups()->GetGroup(3);
        Open->SetStyle(Style);
        Open->SetStartColor(0xE0C0A0);
        Open->SetEndColor(0x604020);
        TFolioItems* List = Open->GetItems();
        // Captions repeat every 100 items, so that both sizes draw the same
        // text and differ only in what has to be skipped.
        for (int I = 0; I < Items; ++I)
            List->Add(I % 2 ? Format("Item %d", I % 100)
                            : Format("A longer caption for item %d", I % 100),
                      I % 10);
        Bar.SetVisibleGroup(3);
        Bar.HandleNeeded();
        // Scrolled to the middle, so that the items before StartItem and
        // after the last visible slot both have to be skipped.
        Open->SetStartItem(Items / 2);
    }

    void Paint() { Bar.GetGroups()->Paint(Target.GetCanvas()); }
};

void BM_MemsetBarPixels(benchmark::State& State) {
    MemsetPixels(State, BarWidth * BarHeight);
}
BENCHMARK(BM_MemsetBarPixels)->Unit(benchmark::kMicrosecond);

void BM_PaintBar(benchmark::State& State) {
    TPaintScene Scene(static_cast<int>(State.range(0)),
                      static_cast<TFolGroupBackgroungStyle>(State.range(1)));
    Scene.Paint(); // warm the glyph cache
    for (auto _ : State) {
        Scene.Paint();
        benchmark::ClobberMemory();
    }
    State.SetLabel(State.range(1) == gbGradient ? "gradient background" : "colour background");
}
BENCHMARK(BM_PaintBar)
    ->Args({100, gbColor})
    ->Args({100000, gbColor})
    ->Args({100, gbGradient})
    ->Args({100000, gbGradient})
    ->Unit(benchmark::kMicrosecond);

void BM_GetOnItem(benchmark::State& State) {
    TPaintScene Scene(static_cast<int>(State.range(0)), gbColor);
    TFolioGroup* Open = Scene.Bar.GetGroups()->GetGroup(3);
    const TRect CR = Open->GetClientRect();
    const int X = (CR.Left + CR.Right) / 2;
    int Y = CR.Top + 60;
    int Hits = 0;
    for (auto _ : State) {
        Hits += Open->GetOnItem(X, Y) >= 0;
        Y = Y == CR.Bottom - 1 ? CR.Top : Y + 1;
    }
    benchmark::DoNotOptimize(Hits);
}
BENCHMARK(BM_GetOnItem)->Arg(100)->Arg(100000)->Unit(benchmark::kNanosecond);

} // namespace

BENCHMARK_MAIN();
