// A form file of one bar of 100 groups of 100 items and 50 other components
// (edit boxes, image lists of two 16 x 16 pictures, small bars): writing it
// and reading it back in the binary and the text encoding, and converting
// between the two. Beside them, in the same run, the physical floor: a copy
// of as many bytes in memory.

#include "folio/Folio.h"

#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Edit.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace folio;

namespace {

constexpr int Groups = 100;
constexpr int ItemsPerGroup = 100;
constexpr int OtherComponents = 50;

std::unique_ptr<TForm> MakeForm() {
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetName("BenchForm");
    auto* Bar = new TFolio(Form.get());
    Bar->SetName("Bar");
    Bar->SetParent(Form.get());
    for (int G = 0; G < Groups; ++G) {
        TFolioGroup* Group = Bar->GetGroups()->Add("Group " + std::to_string(G + 1));
        Group->SetHint("Shortcuts of the " + std::to_string(G + 1) + "th kind");
        for (int I = 0; I < ItemsPerGroup; ++I)
            Group->GetItems()->Add("Item " + std::to_string(I + 1), I % 32);
    }
    TBitmap Picture(32, 16);
    for (int I = 0; I < OtherComponents; ++I) {
        const String Name = "C" + std::to_string(I + 1);
        switch (I % 3) {
        case 0: {
            auto* Edit = new TEdit(Form.get());
            Edit->SetName(Name);
            Edit->SetParent(Form.get());
            Edit->SetBounds(300, I * 24, 120, 21);
            Edit->SetText("Edit box " + std::to_string(I));
            break;
        }
        case 1: {
            auto* Images = new TImageList(Form.get());
            Images->SetName(Name);
            Images->Add(&Picture, nullptr);
            break;
        }
        default: {
            auto* Small = new TFolio(Form.get());
            Small->SetName(Name);
            Small->SetParent(Form.get());
            Small->GetGroups()->Add("One")->GetItems()->Add("Item", 0);
            break;
        }
        }
    }
    return Form;
}

struct TFixture {
    std::unique_ptr<TForm> Form = MakeForm();
    String Binary = Encode(feBinary);
    String Text = Encode(feText);

    String Encode(TFormEncoding Encoding) {
        TMemoryStream S;
        WriteComponent(S, Form.get(), nullptr, Encoding);
        return String(S.Memory(), static_cast<size_t>(S.GetSize()));
    }
};

TFixture& Fixture() {
    static TFixture Instance;
    return Instance;
}

const String& Bytes(TFormEncoding Encoding) {
    return Encoding == feBinary ? Fixture().Binary : Fixture().Text;
}

void Report(benchmark::State& State, std::size_t Size) {
    State.SetBytesProcessed(State.iterations() * static_cast<std::int64_t>(Size));
    State.counters["form bytes"] = static_cast<double>(Size);
}

void BM_WriteForm(benchmark::State& State) {
    const auto Encoding = static_cast<TFormEncoding>(State.range(0));
    TForm* Form = Fixture().Form.get();
    TMemoryStream S;
    for (auto _ : State) {
        S.SetPosition(0);
        WriteComponent(S, Form, nullptr, Encoding);
        benchmark::DoNotOptimize(S.Memory());
    }
    Report(State, Bytes(Encoding).size());
}
BENCHMARK(BM_WriteForm)->Arg(feBinary)->Arg(feText)->Unit(benchmark::kMillisecond);

// Each read makes a fresh form and all its components; freeing them is not
// counted.
void BM_ReadForm(benchmark::State& State) {
    const auto Encoding = static_cast<TFormEncoding>(State.range(0));
    const String& Form = Bytes(Encoding);
    TMemoryStream S;
    S.WriteBuffer(Form.data(), static_cast<std::int64_t>(Form.size()));
    for (auto _ : State) {
        State.PauseTiming();
        auto Read = std::make_unique<TForm>(nullptr);
        S.SetPosition(0);
        State.ResumeTiming();
        ReadComponent(S, Read.get());
        State.PauseTiming();
        if (Read->ComponentCount() != OtherComponents + 1) State.SkipWithError("components lost");
        Read.reset();
        State.ResumeTiming();
    }
    Report(State, Form.size());
}
BENCHMARK(BM_ReadForm)->Arg(feBinary)->Arg(feText)->Unit(benchmark::kMillisecond);

void BM_BinaryToText(benchmark::State& State) {
    TMemoryStream In, Out;
    In.WriteBuffer(Fixture().Binary.data(), static_cast<std::int64_t>(Fixture().Binary.size()));
    for (auto _ : State) {
        In.SetPosition(0);
        Out.SetPosition(0);
        ObjectBinaryToText(In, Out);
    }
    Report(State, Fixture().Binary.size());
}
BENCHMARK(BM_BinaryToText)->Unit(benchmark::kMillisecond);

void BM_TextToBinary(benchmark::State& State) {
    TMemoryStream In, Out;
    In.WriteBuffer(Fixture().Text.data(), static_cast<std::int64_t>(Fixture().Text.size()));
    for (auto _ : State) {
        In.SetPosition(0);
        Out.SetPosition(0);
        ObjectTextToBinary(In, Out);
    }
    Report(State, Fixture().Text.size());
}
BENCHMARK(BM_TextToBinary)->Unit(benchmark::kMillisecond);

// The floor: copying the form's bytes once.
void BM_Memcpy(benchmark::State& State) {
    const String& Form = Bytes(static_cast<TFormEncoding>(State.range(0)));
    std::vector<char> To(Form.size());
    for (auto _ : State) {
        std::memcpy(To.data(), Form.data(), Form.size());
        benchmark::ClobberMemory();
    }
    Report(State, Form.size());
}
BENCHMARK(BM_Memcpy)->Arg(feBinary)->Arg(feText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
