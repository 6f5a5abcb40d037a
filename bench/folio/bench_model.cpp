// The bar's model at scale: adding, clearing and indexing a million items,
// the memory an item costs, and the stream format's throughput beside memcpy
// of the same bytes.

#include "folio/Folio.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>

#include <cstring>
#include <memory>
#include <vector>

using namespace folio;

namespace {

constexpr int Million = 1000000;

std::unique_ptr<TFolio> NewBar() {
    auto Bar = std::make_unique<TFolio>(nullptr);
    Bar->GetGroups()->Add("Group");
    return Bar;
}

void BM_AddMillionItems(benchmark::State& State) {
    for (auto _ : State) {
        State.PauseTiming();
        auto Bar = NewBar();
        TFolioItems* Items = Bar->GetGroups()->GetGroup(0)->GetItems();
        State.ResumeTiming();
        for (int I = 0; I < Million; ++I) Items->Add(String(), I);
        State.PauseTiming();
        Bar.reset();
        State.ResumeTiming();
    }
    State.counters["ns/item"] =
        benchmark::Counter(static_cast<double>(State.iterations()) * Million,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AddMillionItems)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ClearMillionItemsWithDeletionEvent(benchmark::State& State) {
    long long Deleted = 0;
    for (auto _ : State) {
        State.PauseTiming();
        auto Bar = NewBar();
        Bar->OnItemDeletion = [&Deleted](TObject*, TFolioItem*) { ++Deleted; };
        TFolioItems* Items = Bar->GetGroups()->GetGroup(0)->GetItems();
        for (int I = 0; I < Million; ++I) Items->Add(String(), I);
        State.ResumeTiming();
        Items->Clear();
        State.PauseTiming();
        Bar.reset();
        State.ResumeTiming();
    }
    benchmark::DoNotOptimize(Deleted);
}
BENCHMARK(BM_ClearMillionItemsWithDeletionEvent)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_IndexOfLastOfMillion(benchmark::State& State) {
    auto Bar = NewBar();
    TFolioItems* Items = Bar->GetGroups()->GetGroup(0)->GetItems();
    for (int I = 0; I < Million; ++I) Items->Add(String(), I);
    // Remove a few from the front so the positions carry a base offset.
    for (int I = 0; I < 10; ++I) Items->GetFirstItem()->Delete();
    TFolioItem* Last = Items->GetLastItem();
    for (auto _ : State) {
        benchmark::DoNotOptimize(Last);
        benchmark::DoNotOptimize(Last->GetIndex());
    }
}
BENCHMARK(BM_IndexOfLastOfMillion);

long ResidentBytes() {
    long Pages = 0, Resident = 0;
    if (std::FILE* F = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(F, "%ld %ld", &Pages, &Resident) != 2) Resident = 0;
        std::fclose(F);
    }
    return Resident * sysconf(_SC_PAGESIZE);
}

// Memory per item with an empty caption: the resident set's growth around
// the adds (heap blocks and the item pool's mapped chunks alike).
void BM_MemoryPerItem(benchmark::State& State) {
    double PerItem = 0;
    for (auto _ : State) {
        auto Bar = NewBar();
        TFolioItems* Items = Bar->GetGroups()->GetGroup(0)->GetItems();
        malloc_trim(0);
        const long Before = ResidentBytes();
        for (int I = 0; I < Million; ++I) Items->Add(String(), I);
        PerItem = static_cast<double>(ResidentBytes() - Before) / Million;
    }
    State.counters["bytes/item"] = PerItem;
}
BENCHMARK(BM_MemoryPerItem)->Unit(benchmark::kMillisecond)->Iterations(1);

// 100 groups of 10,000 items with short captions.
std::unique_ptr<TFolio> StreamBar() {
    auto Bar = std::make_unique<TFolio>(nullptr);
    for (int G = 0; G < 100; ++G) {
        TFolioItems* Items = Bar->GetGroups()->Add("Group " + std::to_string(G))->GetItems();
        for (int I = 0; I < 10000; ++I) Items->Add("Item " + std::to_string(I), I % 50);
    }
    return Bar;
}

void BM_SaveToStream(benchmark::State& State) {
    auto Bar = StreamBar();
    std::int64_t Bytes = 0;
    for (auto _ : State) {
        TMemoryStream Stream;
        Bar->SaveToStream(Stream);
        Bytes = Stream.GetSize();
    }
    State.SetBytesProcessed(State.iterations() * Bytes);
}
BENCHMARK(BM_SaveToStream)->Unit(benchmark::kMillisecond);

void BM_LoadFromStream(benchmark::State& State) {
    auto Source = StreamBar();
    TMemoryStream Stream;
    Source->SaveToStream(Stream);
    Source.reset();
    auto Bar = std::make_unique<TFolio>(nullptr);
    for (auto _ : State) {
        Stream.SetPosition(0);
        Bar->LoadFromStream(Stream);
    }
    State.SetBytesProcessed(State.iterations() * Stream.GetSize());
}
BENCHMARK(BM_LoadFromStream)->Unit(benchmark::kMillisecond);

// The physical anchor: copying the same number of bytes.
void BM_MemcpyAnchor(benchmark::State& State) {
    auto Source = StreamBar();
    TMemoryStream Stream;
    Source->SaveToStream(Stream);
    const size_t Size = static_cast<size_t>(Stream.GetSize());
    std::vector<char> Target(Size);
    for (auto _ : State) {
        std::memcpy(Target.data(), Stream.Memory(), Size);
        benchmark::DoNotOptimize(Target.data());
        benchmark::ClobberMemory();
    }
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Size));
}
BENCHMARK(BM_MemcpyAnchor)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
