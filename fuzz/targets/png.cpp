// LoadPng: a PNG file read into a bitmap.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/PeakMemory.h"
#include "fuzz/support/Pictures.h"
#include "fuzz/support/Scratch.h"

#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/PictureBudget.h"
#include "framework/gfx/Png.h"

#include <png.h>

#include <cstring>

using namespace folio;
using namespace folio::fuzz;

namespace {

// A PNG in one of the layouts the project's writer does not make (it writes
// 8-bit RGBA only), written by the PNG library itself.
TBytes LibraryPng(std::uint32_t Format, int Width, int Height) {
    png_image Image;
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(Width);
    Image.height = static_cast<png_uint_32>(Height);
    Image.format = Format;
    if (Format & PNG_FORMAT_FLAG_COLORMAP) Image.colormap_entries = 16;
    std::vector<std::uint8_t> Pixels(PNG_IMAGE_SIZE(Image));
    for (std::size_t I = 0; I < Pixels.size(); ++I) Pixels[I] = static_cast<std::uint8_t>(I * 37);
    std::vector<std::uint8_t> Colormap(PNG_IMAGE_COLORMAP_SIZE(Image));
    for (std::size_t I = 0; I < Colormap.size(); ++I)
        Colormap[I] = static_cast<std::uint8_t>(I * 11);
    if (Format & PNG_FORMAT_FLAG_COLORMAP)
        for (auto& P : Pixels) P &= 15;
    png_alloc_size_t Size = 0;
    png_image_write_to_memory(&Image, nullptr, &Size, 0, Pixels.data(), 0,
                              Colormap.empty() ? nullptr : Colormap.data());
    TBytes Out(Size);
    if (!png_image_write_to_memory(&Image, Out.data(), &Size, 0, Pixels.data(), 0,
                                   Colormap.empty() ? nullptr : Colormap.data()))
        Fail(__FILE__, __LINE__, Image.message);
    Out.resize(Size);
    png_image_free(&Image);
    return Out;
}

// What loading a file of Size bytes may take at its peak: 4 bytes per pixel
// of the picture (decoded in place), the decoder's state and a few rows of
// working space. Pixels are bounded by the budget and by what Size bytes can
// hold: at most 1,032 filtered bytes per byte, 8 pixels per filtered byte.
std::int64_t MemoryBound(std::size_t Size, std::int64_t Width) {
    const auto N = static_cast<std::int64_t>(Size);
    return 262144 + 64 * Width + 4 * std::min<std::int64_t>(GetPicturePixelBudget(), 8 * 1032 * N);
}

void CheckMemory(std::size_t Size, std::int64_t Width) {
    const std::int64_t Peak = TPeakMemory::Peak();
    NoteMemoryRatio("png", Size, Peak);
    FOLIO_FUZZ_CHECK(!TPeakMemory::Available() || Peak <= MemoryBound(Size, Width),
                     "loading " + std::to_string(Size) + " bytes took " + std::to_string(Peak));
}

} // namespace

FOLIO_FUZZ_SEEDS {
    TScratchFiles Scratch("png");
    TBitmap Picture;
    for (const auto& [Name, W, H] : {std::tuple{"written-7x4.png", 7, 4},
                                     {"written-1x1.png", 1, 1},
                                     {"written-33x2.png", 33, 2}}) {
        Paint(Picture, W, H);
        SavePng(Picture, Scratch.Output());
        TMemoryStream File;
        File.LoadFromFile(Scratch.Output());
        Seeds.Add(Name, File);
    }
    Seeds.Add("gray.png", LibraryPng(PNG_FORMAT_GRAY, 5, 3));
    Seeds.Add("gray-alpha.png", LibraryPng(PNG_FORMAT_GA, 5, 3));
    Seeds.Add("rgb.png", LibraryPng(PNG_FORMAT_RGB, 5, 3));
    Seeds.Add("rgba-linear16.png", LibraryPng(PNG_FORMAT_LINEAR_RGB_ALPHA, 4, 2));
    Seeds.Add("palette.png", LibraryPng(PNG_FORMAT_RGB_COLORMAP, 6, 3));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static TScratchFiles Scratch("png");
    static TBitmap* Previous = [] {
        auto* B = new TBitmap;
        Paint(*B, 3, 3);
        return B;
    }();
    Scratch.WriteInput(Data, Size);
    TBitmap Picture;
    Picture.Assign(Previous);
    TPeakMemory::Begin();
    try {
        LoadPng(Scratch.Input(), Picture);
    } catch (const EInvalidGraphic&) {
        CheckMemory(Size, MaxBitmapDimension);
        FOLIO_FUZZ_CHECK(SamePixels(Picture, *Previous), "a failed load changed the picture");
        return 0;
    }
    CheckMemory(Size, Picture.GetWidth());
    FOLIO_FUZZ_CHECK(!Picture.GetEmpty(), "a load gave an empty picture");
    FOLIO_FUZZ_CHECK(static_cast<long long>(Picture.GetWidth()) * Picture.GetHeight() <=
                         GetPicturePixelBudget(),
                     "a picture over the budget loaded");
    SavePng(Picture, Scratch.Output());
    TBitmap Again;
    LoadPng(Scratch.Output(), Again);
    FOLIO_FUZZ_CHECK(SamePixels(Again, Picture), "a loaded picture re-encodes to other pixels");
    return 0;
}
