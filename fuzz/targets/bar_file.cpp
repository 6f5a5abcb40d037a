// TFolio::LoadFromFile into a shown bar full of groups, items and pictures,
// and the file saved from a bar that loaded.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/BarHarness.h"
#include "fuzz/support/Scratch.h"

#include "framework/core/Exceptions.h"

using namespace folio;
using namespace folio::fuzz;

FOLIO_FUZZ_SEEDS {
    TBarHarness::AddSeeds(Seeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TBarHarness* Harness = new TBarHarness;
    static TScratchFiles Scratch("bar");
    Scratch.WriteInput(Data, Size);
    TBytes Loaded;
    const bool Ok = Harness->CheckLoad([&](TFolio& Bar) {
        Bar.LoadFromFile(Scratch.Input());
        Loaded = TBarHarness::Save(Bar);
    });
    if (!Ok) return 0;

    // What a loaded bar saves to a file is what it saves to a stream, and
    // that file loads again.
    TFolio Bar(nullptr);
    TMemoryStream Stream;
    FillStream(Stream, Loaded.data(), Loaded.size());
    Bar.LoadFromStream(Stream);
    Bar.SaveToFile(Scratch.Output());
    TMemoryStream File;
    File.LoadFromFile(Scratch.Output());
    FOLIO_FUZZ_CHECK(StreamBytes(File) == Loaded, "the saved file differs from the saved stream");
    TFolio Again(nullptr);
    Again.LoadFromFile(Scratch.Output());
    FOLIO_FUZZ_CHECK(TBarHarness::Save(Again) == Loaded, "the saved file loads differently");
    return 0;
}
