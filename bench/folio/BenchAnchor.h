#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace folio {

// The physical floor of a bar benchmark: filling the bar's pixels once.
inline void MemsetPixels(benchmark::State& State, std::size_t Pixels) {
    std::vector<std::uint32_t> Buffer(Pixels);
    for (auto _ : State) {
        std::memset(Buffer.data(), State.iterations() & 0xFF, Buffer.size() * 4);
        benchmark::DoNotOptimize(Buffer.data());
        benchmark::ClobberMemory();
    }
}

} // namespace folio
