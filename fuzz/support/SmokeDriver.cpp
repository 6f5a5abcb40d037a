// The plain driver of a fuzz target, for builds without libFuzzer: replays
// the seed corpus and a fixed-seed batch of mutations of it, so that every
// build (and the continuous integration) checks the targets' invariants.
//
//   fuzz_<name>_smoke [--runs N] [--seed S] [--max-size BYTES] [--dict FILE] PATH...
//       replays every file named or found (sorted) in the folders named,
//       then runs N mutations of them;
//   fuzz_<name>_smoke --write-seeds FOLDER
//       writes the target's seed inputs into FOLDER.
//
// When an invariant breaks, the input is kept in fuzz-failure-<name>.bin in
// the working folder; passing that file replays it alone.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/Mutator.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* Argc, char*** Argv) __attribute__((weak));

namespace {

namespace fs = std::filesystem;
using folio::fuzz::TBytes;

std::string ProgramName = "fuzz";
const TBytes* CurrentInput = nullptr;
std::string CurrentName;

TBytes ReadFile(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

bool WriteFile(const fs::path& Path, const TBytes& Bytes) {
    std::ofstream Out(Path, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
    return static_cast<bool>(Out);
}

void Run(const TBytes& Input, const std::string& Name) {
    CurrentInput = &Input;
    CurrentName = Name;
    LLVMFuzzerTestOneInput(Input.data(), Input.size());
    CurrentInput = nullptr;
}

int WriteSeeds(const fs::path& Folder) {
    const folio::fuzz::TSeedWriter Writer = folio::fuzz::RegisteredSeedWriter();
    if (!Writer) {
        std::fprintf(stderr, "%s: this target has no seed writer\n", ProgramName.c_str());
        return 1;
    }
    folio::fuzz::TSeeds Seeds;
    Writer(Seeds);
    fs::create_directories(Folder);
    for (const auto& [Name, Bytes] : Seeds.Items()) {
        if (!WriteFile(Folder / Name, Bytes)) {
            std::fprintf(stderr, "%s: cannot write %s\n", ProgramName.c_str(),
                         (Folder / Name).c_str());
            return 1;
        }
    }
    std::printf("%s: wrote %zu seeds into %s\n", ProgramName.c_str(), Seeds.Items().size(),
                Folder.c_str());
    return 0;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: %s [--runs N] [--seed S] [--max-size BYTES] [--dict FILE] PATH...\n"
                 "       %s --write-seeds FOLDER\n",
                 ProgramName.c_str(), ProgramName.c_str());
    std::exit(2);
}

} // namespace

extern "C" void FolioFuzzKeepFailingInput() {
    if (!CurrentInput) return;
    const std::string File = "fuzz-failure-" + ProgramName + ".bin";
    if (WriteFile(File, *CurrentInput))
        std::fprintf(stderr, "The input (%s) is kept in %s/%s; replay it with: %s %s\n",
                     CurrentName.c_str(), fs::current_path().c_str(), File.c_str(),
                     ProgramName.c_str(), File.c_str());
}

int main(int Argc, char** Argv) {
    ProgramName = fs::path(Argv[0]).filename().string();
    long Runs = 0;
    std::uint64_t Seed = 1;
    std::size_t MaxSize = 1 << 16;
    std::vector<fs::path> Paths;
    std::string Dictionary;
    for (int I = 1; I < Argc; ++I) {
        const std::string Arg = Argv[I];
        const bool HasValue = I + 1 < Argc;
        if (Arg == "--runs" && HasValue)
            Runs = std::strtol(Argv[++I], nullptr, 10);
        else if (Arg == "--seed" && HasValue)
            Seed = std::strtoull(Argv[++I], nullptr, 10);
        else if (Arg == "--max-size" && HasValue)
            MaxSize = std::strtoull(Argv[++I], nullptr, 10);
        else if (Arg == "--dict" && HasValue)
            Dictionary = Argv[++I];
        else if (Arg == "--write-seeds" && HasValue)
            return WriteSeeds(Argv[++I]);
        else if (Arg.rfind("--", 0) == 0)
            Usage();
        else
            Paths.emplace_back(Arg);
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&Argc, &Argv);

    std::vector<std::pair<std::string, TBytes>> Corpus;
    for (const fs::path& Path : Paths) {
        if (fs::is_directory(Path)) {
            std::vector<fs::path> Files;
            for (const auto& Entry : fs::directory_iterator(Path))
                if (Entry.is_regular_file()) Files.push_back(Entry.path());
            std::sort(Files.begin(), Files.end());
            for (const fs::path& File : Files) Corpus.emplace_back(File.string(), ReadFile(File));
        } else if (fs::is_regular_file(Path)) {
            Corpus.emplace_back(Path.string(), ReadFile(Path));
        } else {
            std::fprintf(stderr, "%s: no such file or folder: %s\n", ProgramName.c_str(),
                         Path.c_str());
            return 2;
        }
    }

    const auto Start = std::chrono::steady_clock::now();
    Run(TBytes{}, "the empty input");
    for (const auto& [Name, Bytes] : Corpus) Run(Bytes, Name);
    if (Runs > 0 && !Corpus.empty()) {
        folio::fuzz::TMutator Mutator(Seed);
        if (!Dictionary.empty()) Mutator.SetDictionary(folio::fuzz::ReadDictionary(Dictionary));
        for (long I = 0; I < Runs; ++I) {
            const auto& Base = Corpus[Mutator.Below(Corpus.size())];
            const auto& Other = Corpus[Mutator.Below(Corpus.size())].second;
            const TBytes Input = Mutator.Mutate(Base.second, Other, MaxSize);
            Run(Input, "mutation " + std::to_string(I) + " of " + Base.first + " (seed " +
                           std::to_string(Seed) + ")");
        }
    }
    const double Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    std::printf("%s: %zu inputs replayed and %ld mutations run in %.2f s, no invariant broken\n",
                ProgramName.c_str(), Corpus.size() + 1, Corpus.empty() ? 0 : Runs, Seconds);
    return 0;
}
