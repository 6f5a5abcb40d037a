// Converting real text forms of other applications, all of the corpus
// folder (FOLIO_FORMS_CORPUS, or the variable of that name at run time),
// text to binary and binary to text: megabytes of the input per second.
// Beside them, in the same run, the physical floor: a copy of as many
// bytes in memory. Without the folder the benchmarks report an error and
// measure nothing.

#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

using namespace folio;
namespace fs = std::filesystem;

namespace {

struct TCorpus {
    std::vector<String> Texts;
    std::vector<String> Binaries;
    std::size_t TextBytes = 0;
    std::size_t BinaryBytes = 0;
    String Error;

    TCorpus() {
        fs::path Folder;
        if (const char* Env = std::getenv("FOLIO_FORMS_CORPUS"); Env && *Env) Folder = Env;
#ifdef FOLIO_FORMS_CORPUS
        if (Folder.empty()) Folder = FOLIO_FORMS_CORPUS;
#endif
        std::error_code Failed;
        if (Folder.empty() || !fs::is_directory(Folder, Failed)) {
            Error = "no corpus folder at '" + Folder.string() + "'";
            return;
        }
        std::vector<fs::path> Files;
        for (const auto& Entry : fs::directory_iterator(Folder, Failed))
            if (Entry.is_regular_file() && Entry.path().extension() != ".md")
                Files.push_back(Entry.path());
        std::sort(Files.begin(), Files.end());
        for (const fs::path& File : Files) {
            std::ifstream In(File, std::ios::binary);
            std::ostringstream Bytes;
            Bytes << In.rdbuf();
            Texts.push_back(Bytes.str());
            TMemoryStream Text, Binary;
            Text.WriteBuffer(Texts.back().data(), static_cast<std::int64_t>(Texts.back().size()));
            Text.SetPosition(0);
            try {
                ObjectTextToBinary(Text, Binary);
            } catch (const std::exception& E) {
                Error = File.filename().string() + ": " + E.what();
                return;
            }
            Binaries.emplace_back(Binary.Memory(), static_cast<std::size_t>(Binary.GetSize()));
            TextBytes += Texts.back().size();
            BinaryBytes += Binaries.back().size();
        }
    }
};

const TCorpus& Corpus() {
    static const TCorpus Instance;
    return Instance;
}

void Report(benchmark::State& State, std::size_t Bytes) {
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Bytes));
    State.counters["files"] = static_cast<double>(Corpus().Texts.size());
    State.counters["input bytes"] = static_cast<double>(Bytes);
}

template <void (*Convert)(TStream&, TStream&)>
void Run(benchmark::State& State, const std::vector<String>& Inputs, std::size_t Bytes) {
    if (!Corpus().Error.empty()) {
        State.SkipWithError(Corpus().Error.c_str());
        return;
    }
    std::vector<TMemoryStream> In(Inputs.size());
    for (std::size_t I = 0; I < Inputs.size(); ++I)
        In[I].WriteBuffer(Inputs[I].data(), static_cast<std::int64_t>(Inputs[I].size()));
    TMemoryStream Out;
    for (auto _ : State) {
        for (TMemoryStream& S : In) {
            S.SetPosition(0);
            Out.SetPosition(0);
            Convert(S, Out);
        }
        benchmark::DoNotOptimize(Out.Memory());
    }
    Report(State, Bytes);
}

void BM_CorpusTextToBinary(benchmark::State& State) {
    Run<ObjectTextToBinary>(State, Corpus().Texts, Corpus().TextBytes);
}
BENCHMARK(BM_CorpusTextToBinary)->Unit(benchmark::kMillisecond);

void BM_CorpusBinaryToText(benchmark::State& State) {
    Run<ObjectBinaryToText>(State, Corpus().Binaries, Corpus().BinaryBytes);
}
BENCHMARK(BM_CorpusBinaryToText)->Unit(benchmark::kMillisecond);

// The floor: copying the corpus's text once.
void BM_CorpusMemcpy(benchmark::State& State) {
    if (!Corpus().Error.empty()) {
        State.SkipWithError(Corpus().Error.c_str());
        return;
    }
    std::vector<char> To(Corpus().TextBytes);
    for (auto _ : State) {
        char* At = To.data();
        for (const String& Text : Corpus().Texts) {
            std::memcpy(At, Text.data(), Text.size());
            At += Text.size();
        }
        benchmark::ClobberMemory();
    }
    Report(State, Corpus().TextBytes);
}
BENCHMARK(BM_CorpusMemcpy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
