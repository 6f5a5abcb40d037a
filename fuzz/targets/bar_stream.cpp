// TFolio::LoadFromStream into a shown bar full of groups, items and pictures.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/BarHarness.h"
#include "fuzz/support/PeakMemory.h"

using namespace folio;
using namespace folio::fuzz;

FOLIO_FUZZ_SEEDS {
    TBarHarness::AddSeeds(Seeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TBarHarness* Harness = new TBarHarness; // lives as long as the process
    TMemoryStream Stream;
    FillStream(Stream, Data, Size);
    TPeakMemory::Begin();
    Harness->CheckLoad([&](TFolio& Bar) { Bar.LoadFromStream(Stream); });
    NoteMemoryRatio("bar_stream", Size, TPeakMemory::Peak());
    return 0;
}
