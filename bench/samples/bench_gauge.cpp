// A 100 x 100 gauge painted with its percentage text, each kind: the image,
// both overlays, the XOR composition and the final copy onto a target
// bitmap, beside a memcpy of one picture's bytes measured in the same run.

#include "samples/Cgauges.h"

#include "framework/gfx/Canvas.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace folio;

constexpr size_t PictureBytes = size_t{100} * 100 * sizeof(TPixel);

// Paints the gauge into a target bitmap the way Paint copies it to the
// control.
class TBenchGauge : public TCGauge {
public:
    using TCGauge::TCGauge;
    void PaintInto(TBitmap& Target) {
        auto Image = std::make_unique<TBitmap>();
        PaintImage(Image.get());
        Target.GetCanvas()->SetCopyMode(cmSrcCopy);
        Target.GetCanvas()->Draw(0, 0, Image.get());
    }
};

void BM_MemcpyAnchor(benchmark::State& State) {
    std::vector<char> Source(PictureBytes, 1), Dest(PictureBytes, 0);
    for (auto _ : State) {
        std::memcpy(Dest.data(), Source.data(), PictureBytes);
        benchmark::DoNotOptimize(Dest.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * PictureBytes));
}
BENCHMARK(BM_MemcpyAnchor)->Unit(benchmark::kMicrosecond);

void BM_Paint(benchmark::State& State) {
    TBenchGauge Gauge(nullptr);
    Gauge.SetKind(static_cast<TCGaugeKind>(State.range(0)));
    Gauge.SetProgress(67);
    TBitmap Target(100, 100);
    Gauge.PaintInto(Target); // warms the glyph cache
    for (auto _ : State) {
        Gauge.PaintInto(Target);
        benchmark::ClobberMemory();
    }
    static const char* const Names[] = {"text", "horizontal bar", "vertical bar", "pie", "needle"};
    State.SetLabel(Names[State.range(0)]);
}
BENCHMARK(BM_Paint)->DenseRange(gkText, gkNeedle)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
