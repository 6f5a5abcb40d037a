// Memory stream throughput: 100 MB written and read back as 4-byte fields
// through the abstract stream interface, the way the form filer and the
// registry writer use it, beside a plain memcpy of the same bytes. Figures
// are per CPU second of the benchmark's thread (page faults included), so a
// machine shared with other work still gives comparable numbers.

#include "framework/core/Streams.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using folio::TMemoryStream;
using folio::TStream;

constexpr std::int64_t TotalBytes = 100'000'000;
constexpr std::int64_t FieldCount = TotalBytes / 4;

// Hides the stream's dynamic type from the optimiser, so every call goes
// through the virtual interface as it does in real callers.
TStream& Opaque(TMemoryStream& Stream) {
    TStream* Result = &Stream;
    benchmark::DoNotOptimize(Result);
    return *Result;
}

void WriteFields(TStream& Stream) {
    for (std::int64_t I = 0; I < FieldCount; ++I) {
        const std::uint32_t Value = static_cast<std::uint32_t>(I);
        Stream.WriteBuffer(&Value, sizeof Value);
    }
}

void BM_MemcpyAnchor(benchmark::State& State) {
    std::vector<char> Source(TotalBytes, 1), Dest(TotalBytes, 0);
    for (auto _ : State) {
        std::memcpy(Dest.data(), Source.data(), TotalBytes);
        benchmark::DoNotOptimize(Dest.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * TotalBytes);
}
BENCHMARK(BM_MemcpyAnchor)->Unit(benchmark::kMillisecond);

// Writing over a stream that already has the memory: the per-call cost alone.
void BM_MemoryStreamWrite(benchmark::State& State) {
    TMemoryStream Memory;
    Memory.SetSize(TotalBytes);
    TStream& Stream = Opaque(Memory);
    for (auto _ : State) {
        Stream.SetPosition(0);
        WriteFields(Stream);
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * TotalBytes);
}
BENCHMARK(BM_MemoryStreamWrite)->Unit(benchmark::kMillisecond);

// Writing into a new stream: adds growing the buffer and touching fresh pages.
void BM_MemoryStreamWriteFresh(benchmark::State& State) {
    for (auto _ : State) {
        TMemoryStream Memory;
        WriteFields(Opaque(Memory));
        benchmark::DoNotOptimize(Memory.Memory());
    }
    State.SetBytesProcessed(State.iterations() * TotalBytes);
}
BENCHMARK(BM_MemoryStreamWriteFresh)->Unit(benchmark::kMillisecond);

void BM_MemoryStreamRead(benchmark::State& State) {
    TMemoryStream Memory;
    WriteFields(Memory);
    TStream& Stream = Opaque(Memory);
    for (auto _ : State) {
        Stream.SetPosition(0);
        std::uint32_t Sum = 0;
        for (std::int64_t I = 0; I < FieldCount; ++I) {
            std::uint32_t Value;
            Stream.ReadBuffer(&Value, sizeof Value);
            Sum += Value;
        }
        benchmark::DoNotOptimize(Sum);
    }
    State.SetBytesProcessed(State.iterations() * TotalBytes);
}
BENCHMARK(BM_MemoryStreamRead)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
