#include "framework/gfx/Png.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/PictureBudget.h"

#include <png.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace folio {

namespace {

struct TFileCloser {
    void operator()(std::FILE* F) const { std::fclose(F); }
};
using TFilePtr = std::unique_ptr<std::FILE, TFileCloser>;

} // namespace

void SavePng(const TPixelSurface& Surface, const String& FileName) {
    if (!Surface.Valid())
        throw EInvalidGraphicOperation("An empty picture cannot be saved as a PNG file");
    std::FILE* Raw = std::fopen(FileName.c_str(), "wb");
    if (!Raw)
        throw EFCreateError(
            Format(SFCreateError, FileName.c_str(), SysErrorMessage(errno).c_str()));
    TFilePtr File(Raw);

    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    Image.width = static_cast<png_uint_32>(Surface.Width);
    Image.height = static_cast<png_uint_32>(Surface.Height);
    // Pixels are 0xAARRGGBB words: bytes B, G, R, A in memory.
    Image.format = PNG_FORMAT_BGRA;
    const int Ok = png_image_write_to_stdio(&Image, File.get(), 0, Surface.Pixels,
                                            static_cast<png_int_32>(Surface.Stride) * 4, nullptr);
    const String Why = Image.message;
    png_image_free(&Image);
    if (!Ok)
        throw EWriteError(
            Format("Cannot write the PNG file \"%s\". %s", FileName.c_str(), Why.c_str()));
    std::FILE* ToClose = File.release();
    if (std::fflush(ToClose) != 0 || std::fclose(ToClose) != 0)
        throw EWriteError(Format("Cannot write the PNG file \"%s\". %s", FileName.c_str(),
                                 SysErrorMessage(errno).c_str()));
}

void SavePng(const TBitmap& Bitmap, const String& FileName) {
    SavePng(Bitmap.GetSurface(), FileName);
}

namespace {

// Deflate expands at most 1,032 times: a longest match of 258 bytes costs at
// least 2 bits.
constexpr unsigned long long MaxInflation = 1032;

// The fewest bytes of filtered rows a PNG of this size and format can hold
// (a filter byte per row; colour maps and grey levels may have 1 bit per
// pixel; an alpha flag may come from a transparency chunk rather than a
// channel, so it adds nothing).
unsigned long long LeastRowBytes(const png_image& Image) {
    unsigned long long Bits = 1;
    if (!(Image.format & PNG_FORMAT_FLAG_COLORMAP)) {
        if (Image.format & PNG_FORMAT_FLAG_COLOR) Bits = 24;
        if (Image.format & PNG_FORMAT_FLAG_LINEAR) Bits = Bits == 1 ? 16 : 48;
    }
    return static_cast<unsigned long long>(Image.height) *
           (1 + (static_cast<unsigned long long>(Image.width) * Bits + 7) / 8);
}

[[noreturn]] void BadPng(png_image& Image, const String& FileName, const String& Why) {
    png_image_free(&Image);
    throw EInvalidGraphic(Format("Invalid PNG file \"%s\": %s", FileName.c_str(), Why.c_str()));
}

} // namespace

void LoadPng(const String& FileName, TBitmap& Bitmap) {
    std::FILE* Raw = std::fopen(FileName.c_str(), "rb");
    if (!Raw)
        throw EFOpenError(Format(SFOpenError, FileName.c_str(), SysErrorMessage(errno).c_str()));
    TFilePtr File(Raw);
    struct stat Info;
    if (fstat(fileno(Raw), &Info) != 0)
        throw EFOpenError(Format(SFOpenError, FileName.c_str(), SysErrorMessage(errno).c_str()));
    const auto FileSize = static_cast<unsigned long long>(Info.st_size);

    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&Image, File.get()))
        BadPng(Image, FileName, Image.message);
    // The size is checked against the framework's caps, against what the
    // file's bytes can hold and against the picture budget before anything
    // is allocated for it.
    if (Image.width == 0 || Image.height == 0 || Image.width > MaxBitmapDimension ||
        Image.height > MaxBitmapDimension ||
        static_cast<long long>(Image.width) * Image.height > MaxBitmapPixels)
        BadPng(Image, FileName,
               Format("a size of %u x %u pixels is not supported", Image.width, Image.height));
    if (LeastRowBytes(Image) > MaxInflation * FileSize)
        BadPng(Image, FileName,
               Format("it claims %u x %u pixels, more than its %llu bytes can hold", Image.width,
                      Image.height, FileSize));
    try {
        ChargePictureBudget("PNG picture", Image.width, Image.height);
    } catch (...) {
        png_image_free(&Image);
        throw;
    }
    const int W = static_cast<int>(Image.width);
    const int H = static_cast<int>(Image.height);
    // The rows are decoded as 3-byte pixels into the front of the pixel
    // buffer and then widened in place from the back, so the picture takes
    // its final size only.
    std::vector<TPixel> Pixels(static_cast<size_t>(W) * H);
    auto* Bytes = reinterpret_cast<std::uint8_t*>(Pixels.data());
    // Translucent pixels are composed over white, as a viewer shows them.
    png_color White{255, 255, 255};
    Image.format = PNG_FORMAT_BGR;
    if (!png_image_finish_read(&Image, &White, Bytes, W * 3, nullptr))
        BadPng(Image, FileName, Image.message);
    for (size_t I = Pixels.size(); I-- > 0;) {
        const std::uint8_t* P = Bytes + 3 * I;
        Pixels[I] = 0xFF000000u | (static_cast<TPixel>(P[2]) << 16) |
                    (static_cast<TPixel>(P[1]) << 8) | P[0];
    }
    Bitmap.SetPixels(W, H, std::move(Pixels));
}

} // namespace folio
