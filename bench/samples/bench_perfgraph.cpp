// One step of a 1000 x 200 strip chart with 16 points per step: a scroll
// copy of the whole chart, one band fill and the drawing of one step, beside
// a memcpy of the chart's bytes measured in the same run.

#include "samples/Perfgrap.h"

#include "framework/gfx/Colors.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

using namespace folio;

constexpr int ChartWidth = 1000;
constexpr int ChartHeight = 200;
constexpr size_t ChartBytes = size_t{ChartWidth} * ChartHeight * sizeof(TPixel);

void BM_MemcpyAnchor(benchmark::State& State) {
    std::vector<char> Source(ChartBytes, 1), Dest(ChartBytes, 0);
    for (auto _ : State) {
        std::memcpy(Dest.data(), Source.data(), ChartBytes);
        benchmark::DoNotOptimize(Dest.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * ChartBytes));
}
BENCHMARK(BM_MemcpyAnchor)->Unit(benchmark::kMicrosecond);

// Sixteen ascending values below the scale; the last point sits at the
// scale in every step, so Update never replays the history.
void FeedStep(TPerformanceGraph& Graph, int Step) {
    for (int I = 0; I < 15; ++I)
        Graph.DataPoint(static_cast<TColor>(0x101010 * (I + 1)),
                        (I + 1) * 50 + (Step * 7 + I * 13) % 40);
    Graph.DataPoint(clWhite, 1000);
}

void BM_Update(benchmark::State& State) {
    TPerformanceGraph Graph(nullptr);
    Graph.SetBounds(0, 0, ChartWidth, ChartHeight);
    Graph.SetKind(static_cast<TGraphKind>(State.range(0)));
    // Bring the bitmap and the ring to the new size, as the first paint would.
    Graph.SetStepSize(2);
    Graph.SetStepSize(3);
    int Step = 0;
    for (int I = 0; I < 400; ++I) {
        FeedStep(Graph, Step++);
        Graph.Update();
    }
    for (auto _ : State) {
        FeedStep(Graph, Step++);
        Graph.Update();
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * ChartBytes));
    State.SetLabel(State.range(0) == pgBar ? "bars" : "lines");
}
BENCHMARK(BM_Update)->Arg(pgBar)->Arg(pgLine)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
