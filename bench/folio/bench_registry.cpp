// The bar's registry layout at 100 groups of 100 items (10,101 keys, 61,201
// values): a save, which writes the whole store file and flushes it to the
// disk, and a load, which reads and parses it. Beside them, in the same run,
// the physical floor: writing and flushing a file of the same size, and
// copying its bytes in memory. The store lives in a temporary folder under
// $TMPDIR (or /tmp), so the flush reaches that folder's disk.

#include "folio/Folio.h"

#include "framework/core/Registry.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace folio;

namespace {

constexpr int Groups = 100;
constexpr int ItemsPerGroup = 100;
const String KeyPath = "\\Software\\Folio Bench\\Bar";

// A temporary store for the whole run, and a filled bar.
struct TFixture {
    TFixture() {
        const char* Tmp = std::getenv("TMPDIR");
        String Template = String(Tmp && *Tmp ? Tmp : "/tmp") + "/folio_bench_registry_XXXXXX";
        Folder = ::mkdtemp(Template.data());
        SetRegistryFolder(Folder);
        Bar = std::make_unique<TFolio>(nullptr);
        for (int G = 0; G < Groups; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->Add("Group " + std::to_string(G + 1));
            Group->SetHint("Shortcuts of the " + std::to_string(G + 1) + "th kind");
            for (int I = 0; I < ItemsPerGroup; ++I)
                Group->GetItems()->Add("Item " + std::to_string(I + 1), I % 32);
        }
        Bar->SaveToRegistry(HKEY_CURRENT_USER, KeyPath);
        FileSize = static_cast<std::int64_t>(
            std::filesystem::file_size(RegistryFileName(HKEY_CURRENT_USER)));
    }
    ~TFixture() {
        SetRegistryFolder("");
        std::filesystem::remove_all(Folder);
    }

    String Folder;
    std::unique_ptr<TFolio> Bar;
    std::int64_t FileSize = 0;
};

TFixture& Fixture() {
    static TFixture Instance;
    return Instance;
}

void Report(benchmark::State& State) {
    State.SetBytesProcessed(State.iterations() * Fixture().FileSize);
    State.counters["file bytes"] = static_cast<double>(Fixture().FileSize);
}

// Every save changes one value, so that each writes and flushes a new file
// (a save that changes nothing leaves the file alone).
void BM_SaveToRegistry(benchmark::State& State) {
    TFolio& Bar = *Fixture().Bar;
    int Tag = 0;
    for (auto _ : State) {
        Bar.GetGroups()->GetGroup(0)->SetTag(++Tag);
        Bar.SaveToRegistry(HKEY_CURRENT_USER, KeyPath);
    }
    Report(State);
}
BENCHMARK(BM_SaveToRegistry)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first save into an empty store: every key is new.
void BM_SaveToEmptyRegistry(benchmark::State& State) {
    TFolio& Bar = *Fixture().Bar;
    const String File = RegistryFileName(HKEY_CURRENT_USER);
    for (auto _ : State) {
        State.PauseTiming();
        std::filesystem::remove(File);
        State.ResumeTiming();
        Bar.SaveToRegistry(HKEY_CURRENT_USER, KeyPath);
    }
    Report(State);
}
BENCHMARK(BM_SaveToEmptyRegistry)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadFromRegistry(benchmark::State& State) {
    Fixture().Bar->SaveToRegistry(HKEY_CURRENT_USER, KeyPath);
    TFolio Bar(nullptr);
    for (auto _ : State) Bar.LoadFromRegistry(HKEY_CURRENT_USER, KeyPath);
    if (Bar.GetGroups()->GetCount() != Groups) State.SkipWithError("the load lost groups");
    Report(State);
}
BENCHMARK(BM_LoadFromRegistry)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a save: a new file of the same size written and flushed.
void BM_AnchorWriteAndFlushFile(benchmark::State& State) {
    const std::vector<char> Bytes(static_cast<size_t>(Fixture().FileSize), 'x');
    const String Path = Fixture().Folder + "/anchor";
    for (auto _ : State) {
        const int Fd = ::open(Path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (Fd < 0 ||
            ::write(Fd, Bytes.data(), Bytes.size()) != static_cast<ssize_t>(Bytes.size()) ||
            ::fsync(Fd) != 0)
            State.SkipWithError("cannot write the anchor file");
        ::close(Fd);
    }
    Report(State);
}
BENCHMARK(BM_AnchorWriteAndFlushFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_AnchorMemcpy(benchmark::State& State) {
    const std::vector<char> Source(static_cast<size_t>(Fixture().FileSize), 'x');
    std::vector<char> Dest(Source.size());
    for (auto _ : State) {
        std::memcpy(Dest.data(), Source.data(), Source.size());
        benchmark::DoNotOptimize(Dest.data());
        benchmark::ClobberMemory();
    }
    Report(State);
}
BENCHMARK(BM_AnchorMemcpy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
