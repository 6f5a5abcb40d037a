// Text drawing and measuring, each beside a memset of the bytes it touches.
// The program first times the first text drawn in this fresh process (font
// resolution, file open, glyph rendering), before any benchmark warms a cache.

#include "framework/gfx/FontEngine.h"
#include "framework/gfx/GlyphCache.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

using namespace folio;

namespace {

const std::string_view Text20 = "Shortcut bar: Inbox!"; // 20 characters

TLogFont DefaultLog() {
    TLogFont L;
    L.FaceName = "MS Sans Serif";
    L.Height = -11;
    return L;
}

struct TCanvasBuffer {
    std::vector<TPixel> Pixels;
    TPixelSurface View;
    TCanvasBuffer(int W, int H) : Pixels(static_cast<size_t>(W) * H, 0xFFFFFFFFu) {
        View = TPixelSurface{Pixels.data(), W, H, W};
    }
};

void BM_DrawString20Warm(benchmark::State& State) {
    const HFONT Face = CreateFontIndirect(DefaultLog());
    TCanvasBuffer B(240, 40);
    const TRect Clip{0, 0, 240, 40};
    Face->DrawString(B.View, Clip, 4, 4, Text20, 0xFF000000u);
    for (auto _ : State) {
        Face->DrawString(B.View, Clip, 4, 4, Text20, 0xFF000000u);
        benchmark::DoNotOptimize(B.Pixels.data());
    }
}
BENCHMARK(BM_DrawString20Warm);

void BM_TextExtent20(benchmark::State& State) {
    const HFONT Face = CreateFontIndirect(DefaultLog());
    benchmark::DoNotOptimize(Face->TextExtent(Text20));
    for (auto _ : State) benchmark::DoNotOptimize(Face->TextExtent(Text20));
}
BENCHMARK(BM_TextExtent20);

// The anchor: filling the text's cell (its width by the cell height).
void BM_MemsetTextCell(benchmark::State& State) {
    const HFONT Face = CreateFontIndirect(DefaultLog());
    const TSize Cell = Face->TextExtent(Text20);
    TCanvasBuffer B(240, 40);
    for (auto _ : State) {
        for (int Y = 0; Y < Cell.cy; ++Y)
            std::memset(B.View.Row(4 + Y) + 4, 0, static_cast<size_t>(Cell.cx) * sizeof(TPixel));
        benchmark::DoNotOptimize(B.Pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemsetTextCell);

// The machine-wide anchor of the graphics benchmarks: 240 x 720 pixels.
void BM_Memset240x720(benchmark::State& State) {
    std::vector<TPixel> Pixels(240 * 720);
    for (auto _ : State) {
        std::memset(Pixels.data(), 0, Pixels.size() * sizeof(TPixel));
        benchmark::DoNotOptimize(Pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memset240x720);

// A fresh glyph cache each time: opening the face file, scaling it and
// rendering the string's glyphs, as the first paint of a process does after
// the name is resolved.
void BM_DrawString20ColdGlyphCache(benchmark::State& State) {
    const HFONT Resolved = CreateFontIndirect(DefaultLog());
    TCanvasBuffer B(240, 40);
    const TRect Clip{0, 0, 240, 40};
    for (auto _ : State) {
        auto Source = std::make_shared<TGlyphSource>(
            TGlyphSourceKey{Resolved->FileName(), 0, -11, false, false});
        TFontFace Face(DefaultLog(), std::move(Source));
        Face.DrawString(B.View, Clip, 4, 4, Text20, 0xFF000000u);
        benchmark::DoNotOptimize(B.Pixels.data());
    }
}
BENCHMARK(BM_DrawString20ColdGlyphCache)->Unit(benchmark::kMicrosecond);

} // namespace

double ProcessCpuMs() {
    timespec T{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &T);
    return static_cast<double>(T.tv_sec) * 1e3 + static_cast<double>(T.tv_nsec) / 1e6;
}

int main(int argc, char** argv) {
    // Nothing font-related has run in this process yet. Both clocks are
    // printed: on a loaded machine the wall time mostly measures waiting.
    const double Cpu0 = ProcessCpuMs();
    const auto Start = std::chrono::steady_clock::now();
    {
        TCanvasBuffer B(240, 40);
        const HFONT Face = CreateFontIndirect(DefaultLog());
        Face->DrawString(B.View, TRect{0, 0, 240, 40}, 4, 4, Text20, 0xFF000000u);
    }
    const double Wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start).count();
    std::printf("First text drawn in a fresh process: %.3f ms wall, %.3f ms CPU (limit 10 ms)\n",
                Wall, ProcessCpuMs() - Cpu0);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
