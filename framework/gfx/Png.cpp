#include "framework/gfx/Png.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"

#include <png.h>

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

void LoadPng(const String& FileName, TBitmap& Bitmap) {
    std::FILE* Raw = std::fopen(FileName.c_str(), "rb");
    if (!Raw)
        throw EFOpenError(Format(SFOpenError, FileName.c_str(), SysErrorMessage(errno).c_str()));
    TFilePtr File(Raw);

    png_image Image;
    std::memset(&Image, 0, sizeof(Image));
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_stdio(&Image, File.get())) {
        const String Why = Image.message;
        png_image_free(&Image);
        throw EInvalidGraphic(Format("Invalid PNG file \"%s\": %s", FileName.c_str(), Why.c_str()));
    }
    // The size is checked before anything is allocated for it.
    if (Image.width == 0 || Image.height == 0 || Image.width > MaxBitmapDimension ||
        Image.height > MaxBitmapDimension ||
        static_cast<long long>(Image.width) * Image.height > MaxBitmapPixels) {
        png_image_free(&Image);
        throw EInvalidGraphic(
            Format("Invalid PNG file \"%s\": a size of %u x %u pixels is not supported",
                   FileName.c_str(), Image.width, Image.height));
    }
    const int W = static_cast<int>(Image.width);
    const int H = static_cast<int>(Image.height);
    std::vector<TPixel> Pixels(static_cast<size_t>(W) * H);
    // Translucent pixels are composed over white, as a viewer shows them.
    png_color White{255, 255, 255};
    Image.format = PNG_FORMAT_BGR;
    std::vector<std::uint8_t> Rgb(static_cast<size_t>(W) * H * 3);
    if (!png_image_finish_read(&Image, &White, Rgb.data(), W * 3, nullptr)) {
        const String Why = Image.message;
        png_image_free(&Image);
        throw EInvalidGraphic(Format("Invalid PNG file \"%s\": %s", FileName.c_str(), Why.c_str()));
    }
    for (size_t I = 0; I < Pixels.size(); ++I)
        Pixels[I] = 0xFF000000u | (static_cast<TPixel>(Rgb[3 * I + 2]) << 16) |
                    (static_cast<TPixel>(Rgb[3 * I + 1]) << 8) | Rgb[3 * I];
    Bitmap.SetPixels(W, H, std::move(Pixels));
}

} // namespace folio
