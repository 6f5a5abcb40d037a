// Registry file text: reading and writing a wide tree (the keys of 20 bars
// of 50 groups with 20 items each, a few values per key, as the bar saves
// them) and a deep one (a chain of keys down to the depth bound, where the
// written text names every key by its whole path). Figures are per CPU
// second of the benchmark's thread.

#include "framework/core/RegistryText.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace folio;

TRegValue Number(std::uint32_t N) {
    return TRegValue{rdInteger, N, {}};
}

TRegValue Text(const std::string& S) {
    return TRegValue{rdString, 0, S};
}

void FillWide(TRegKeyNode& Root) {
    for (int Bar = 0; Bar < 20; ++Bar) {
        TRegKeyNode& BarKey =
            EnsureRegKey(Root, {"Software", "Folio", "Bar " + std::to_string(Bar)});
        BarKey.SetValue("Groups", Number(50));
        for (int Group = 0; Group < 50; ++Group) {
            TRegKeyNode& GroupKey = BarKey.EnsureKey("Group " + std::to_string(Group));
            GroupKey.SetValue("Caption", Text("Group " + std::to_string(Group)));
            GroupKey.SetValue("Items", Number(20));
            for (int Item = 0; Item < 20; ++Item) {
                TRegKeyNode& ItemKey = GroupKey.EnsureKey("Item " + std::to_string(Item));
                ItemKey.SetValue("Caption", Text("A \"shortcut\" " + std::to_string(Item)));
                ItemKey.SetValue("ImageIndex", Number(static_cast<std::uint32_t>(Item)));
                ItemKey.SetValue("Tag", Number(0xFFFFFFFF));
            }
        }
    }
}

void FillDeep(TRegKeyNode& Root) {
    TRegKeyNode* Key = &Root;
    for (int Depth = 0; Depth < RegistryMaxDepth; ++Depth) {
        Key = &Key->EnsureKey("Key " + std::to_string(Depth));
        Key->SetValue("Depth", Number(static_cast<std::uint32_t>(Depth)));
    }
}

template <void (*Fill)(TRegKeyNode&)>
void BM_Read(benchmark::State& State) {
    TRegKeyNode Root;
    Fill(Root);
    const String Written = FormatRegistryText(Root, "bench");
    for (auto _ : State) benchmark::DoNotOptimize(ParseRegistryText(Written, "bench.keys"));
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Written.size()));
}

template <void (*Fill)(TRegKeyNode&)>
void BM_Write(benchmark::State& State) {
    TRegKeyNode Root;
    Fill(Root);
    std::int64_t Bytes = 0;
    for (auto _ : State) {
        const String Written = FormatRegistryText(Root, "bench");
        Bytes += static_cast<std::int64_t>(Written.size());
        benchmark::DoNotOptimize(Written.data());
    }
    State.SetBytesProcessed(Bytes);
}

BENCHMARK(BM_Read<FillWide>)->Name("ReadWide")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write<FillWide>)->Name("WriteWide")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read<FillDeep>)->Name("ReadDeep")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Write<FillDeep>)->Name("WriteDeep")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
