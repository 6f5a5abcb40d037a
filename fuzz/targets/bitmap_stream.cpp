// TBitmap::LoadFromStream: a BMP file image read from the middle of a
// stream.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/HandBmp.h"
#include "fuzz/support/PeakMemory.h"
#include "fuzz/support/Pictures.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/BmpFile.h"
#include "framework/gfx/PictureBudget.h"

#include <algorithm>

using namespace folio;
using namespace folio::fuzz;

namespace {

// The image starts after this many bytes of something else in the stream.
constexpr std::int64_t Lead = 3;

// What loading an image of Size bytes may take at its peak: the image's
// bytes (read from the stream in one piece) and 4 bytes per pixel, for no
// more pixels than the picture budget allows or than Size bytes may claim
// (255 per byte, by the run-length rule), plus a little for the rest.
std::int64_t MemoryBound(std::size_t Size) {
    const auto N = static_cast<std::int64_t>(Size);
    return 65536 + 2 * N + 4 * std::min<std::int64_t>(GetPicturePixelBudget(), 255 * N);
}

void CheckMemory(std::size_t Size) {
    const std::int64_t Peak = TPeakMemory::Peak();
    NoteMemoryRatio("bitmap_stream", Size, Peak);
    FOLIO_FUZZ_CHECK(!TPeakMemory::Available() || Peak <= MemoryBound(Size),
                     "loading " + std::to_string(Size) + " bytes took " + std::to_string(Peak));
}

void CheckReencodes(const TBitmap& Picture, TPixelFormat Format) {
    TBitmap Copy;
    Copy.Assign(&Picture);
    Copy.SetPixelFormat(Format);
    TMemoryStream Stream;
    Copy.SaveToStream(Stream);
    Stream.SetPosition(0);
    TBitmap Again;
    Again.LoadFromStream(Stream);
    FOLIO_FUZZ_CHECK(SamePixels(Again, Picture), "a loaded picture re-encodes to other pixels");
    FOLIO_FUZZ_CHECK(Stream.GetPosition() == Stream.GetSize(),
                     "a written image is not read to its end");
}

} // namespace

FOLIO_FUZZ_SEEDS {
    for (const THandBmp& Kind : HandBmpKinds()) Seeds.Add(Kind.Name, HandBmp(Kind.Kind));
    TBitmap Picture;
    Paint(Picture, 7, 4);
    TMemoryStream Stream;
    Picture.SaveToStream(Stream);
    Seeds.Add("written24.bmp", Stream);
    Picture.SetPixelFormat(pf32bit);
    Stream.Clear();
    Picture.SaveToStream(Stream);
    Seeds.Add("written32.bmp", Stream);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TBitmap* Previous = [] {
        auto* B = new TBitmap;
        Paint(*B, 3, 3);
        return B;
    }();
    TMemoryStream Stream;
    Stream.WriteBuffer("lead", Lead);
    if (Size) Stream.WriteBuffer(Data, static_cast<std::int64_t>(Size));
    Stream.SetPosition(Lead);

    TBitmap Picture;
    Picture.Assign(Previous);
    TPeakMemory::Begin();
    try {
        Picture.LoadFromStream(Stream);
    } catch (const EInvalidGraphic&) {
        CheckMemory(Size);
        FOLIO_FUZZ_CHECK(SamePixels(Picture, *Previous), "a failed load changed the picture");
        FOLIO_FUZZ_CHECK(Stream.GetPosition() == Lead, "a failed load moved the stream");
        return 0;
    }
    CheckMemory(Size);
    FOLIO_FUZZ_CHECK(static_cast<long long>(Picture.GetWidth()) * Picture.GetHeight() <=
                         GetPicturePixelBudget(),
                     "a picture over the budget loaded");
    FOLIO_FUZZ_CHECK(Size >= 14 && Stream.GetPosition() == Lead + BmpTotalSize(Data),
                     "a load did not stop right after the image");
    FOLIO_FUZZ_CHECK(!Picture.GetEmpty(), "a load gave an empty picture");
    CheckReencodes(Picture, pf24bit);
    CheckReencodes(Picture, pf32bit);
    return 0;
}
