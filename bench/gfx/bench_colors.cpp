#include "framework/gfx/ColorSchemes.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace folio;

namespace {

// Resolving colours as it was done before there were schemes: one fixed
// table behind a constant. The figure to hold the scheme's table read to.
constexpr TColor FixedTable[SystemColorCount] = {
    0xC8D0D4, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF,
};

[[gnu::noinline]] TColor FixedColorToRGB(TColor Color) {
    if (Color < 0) {
        const int Index = Color & 0x7FFFFFFF;
        return Index < SystemColorCount ? FixedTable[Index] : clBlack;
    }
    if (Color == clNone || Color == clDefault) return clBlack;
    return Color & 0xFFFFFF;
}

// What painting resolves: mostly system colours, some plain ones.
std::vector<TColor> Colours() {
    std::vector<TColor> C(4096);
    for (std::size_t I = 0; I < C.size(); ++I)
        C[I] = I % 4 == 3 ? static_cast<TColor>(I * 2654435761u & 0xFFFFFF)
                          : (clSystemColor | static_cast<TColor>(I % SystemColorCount));
    return C;
}

void BM_ColorToRGB_FixedTableBefore(benchmark::State& State) {
    const auto C = Colours();
    for (auto _ : State) {
        TColor Sum = 0;
        for (TColor X : C) Sum += FixedColorToRGB(X);
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * static_cast<std::int64_t>(C.size()));
}
BENCHMARK(BM_ColorToRGB_FixedTableBefore);

void BM_ColorToRGB_ActiveScheme(benchmark::State& State) {
    SelectColorScheme(State.range(0) ? csDark : csClassic);
    const auto C = Colours();
    for (auto _ : State) {
        TColor Sum = 0;
        for (TColor X : C) Sum += ColorToRGB(X);
        benchmark::DoNotOptimize(Sum);
    }
    State.SetItemsProcessed(State.iterations() * static_cast<std::int64_t>(C.size()));
    SelectColorScheme(csClassic);
}
BENCHMARK(BM_ColorToRGB_ActiveScheme)->Arg(0)->Arg(1);

// The anchor: copying the same 16 KiB of colour values once.
void BM_Anchor_MemcpyColours(benchmark::State& State) {
    const auto C = Colours();
    std::vector<TColor> Out(C.size());
    for (auto _ : State) {
        std::memcpy(Out.data(), C.data(), C.size() * sizeof(TColor));
        benchmark::DoNotOptimize(Out.data());
        benchmark::ClobberMemory();
    }
    State.SetItemsProcessed(State.iterations() * static_cast<std::int64_t>(C.size()));
}
BENCHMARK(BM_Anchor_MemcpyColours);

} // namespace

BENCHMARK_MAIN();
