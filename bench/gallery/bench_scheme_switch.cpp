#include "BarGalleryForm.h"

#include "framework/ui/app/Screen.h"
#include "framework/ui/paint/PaintPass.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

using namespace folio;

namespace {

// Marks every window of the form for a whole repaint, as an expose of the
// whole form would.
void InvalidateAll(TWinControl* W) {
    W->Invalidate();
    for (int I = 0; I < W->ControlCount(); ++I)
        if (auto* Child = dynamic_cast<TWinControl*>(W->Controls(I))) InvalidateAll(Child);
}

// The gallery's 700 x 560 form, shown on the headless screen.
struct TShownGallery {
    THeadlessHost Host;
    gallery::TGalleryForm Gallery;
    TShownGallery() {
        Gallery.Form.Show();
        Gallery.OpenLongGroup();
        Host.RunUntilIdle();
    }
};

void BM_FullRepaint(benchmark::State& State) {
    TShownGallery G;
    for (auto _ : State) {
        InvalidateAll(&G.Gallery.Form);
        G.Host.RunUntilIdle();
    }
    State.counters["width"] = G.Gallery.Form.GetWidth();
    State.counters["height"] = G.Gallery.Form.GetHeight();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// A scheme switch: every control hears of it, then the form repaints.
void BM_SchemeSwitch(benchmark::State& State) {
    TShownGallery G;
    bool Dark = false;
    for (auto _ : State) {
        Dark = !Dark;
        Screen->SetColorScheme(Dark ? csDark : csClassic);
        G.Host.RunUntilIdle();
    }
    Screen->SetColorScheme(csClassic);
}
BENCHMARK(BM_SchemeSwitch)->Unit(benchmark::kMicrosecond);

// The anchor: setting the form's pixels once.
void BM_Anchor_MemsetForm(benchmark::State& State) {
    std::vector<std::uint32_t> Pixels(700 * 560);
    for (auto _ : State) {
        std::memset(Pixels.data(), static_cast<int>(State.iterations() & 0xFF), Pixels.size() * 4);
        benchmark::DoNotOptimize(Pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Anchor_MemsetForm)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
