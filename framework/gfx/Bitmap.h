#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/GraphicsTypes.h"
#include "framework/gfx/Surface.h"

#include <memory>
#include <vector>

namespace folio {

class TCanvas;
class TStream;

// The depth a bitmap writes to a BMP file; in memory every bitmap holds
// 32-bit pixels.
enum TPixelFormat { pf24bit, pf32bit };

// The largest width or height a bitmap accepts, so that a size read from a
// file can never ask for more memory than a picture sensibly needs.
constexpr int MaxBitmapDimension = 32768;
// The largest number of pixels (256 MB of 32-bit pixels).
constexpr long long MaxBitmapPixels = 64LL * 1024 * 1024;

// A picture of 32-bit pixels with its own canvas. A bitmap without pixels
// (0 x 0, or one side 0) is empty.
class TBitmap : public TPersistent {
    FOLIO_CLASS(TBitmap)
public:
    TBitmap();
    TBitmap(int Width, int Height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    // Resizing keeps the picture at the top-left corner and fills new area
    // white. A side of 0 or less empties the bitmap; a side above
    // MaxBitmapDimension raises EInvalidGraphicOperation.
    void SetSize(int Width, int Height);
    bool GetEmpty() const { return FWidth == 0 || FHeight == 0; }

    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);

    // Draws into the bitmap's own pixels.
    TCanvas* GetCanvas() const { return FCanvas.get(); }

    // Row Y of the pixels (top row 0); raises ERangeError outside the picture.
    TPixel* ScanLine(int Y);
    const TPixel* ScanLine(int Y) const;
    // A view of the pixels, valid until the size changes.
    TPixelSurface GetSurface() const;
    TColor GetPixel(int X, int Y) const;

    // Copies another bitmap's picture; nullptr empties this one.
    void Assign(const TPersistent* Source) override;
    // True when Other holds the same picture: the same size and pixels.
    bool Equals(const TBitmap* Other) const;
    // In a form file the picture is the binary property "Data": one BMP
    // file image, nothing for an empty bitmap.
    void DefineProperties(TFiler* Filer) override;

    // One complete BMP file image: file header with the signature and the
    // total size, info header, pixel rows bottom-up. pf24bit (the default)
    // writes 24-bit rows, pf32bit 32-bit rows; neither has a colour table.
    void SaveToStream(TStream& Stream) const;
    // Reads exactly one BMP file image and leaves the stream directly after
    // it (by the total size in its file header). Reads 1, 4, 8, 16, 24 and
    // 32 bits per pixel, bottom-up and top-down, uncompressed, bit fields and
    // run-length encoded (8 and 4 bits). Anything else, or damaged input,
    // raises EInvalidGraphic; the bitmap then keeps its previous picture and
    // the stream is put back where the image began.
    void LoadFromStream(TStream& Stream);
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName) const;

    // Replaces the picture with Pixels (Width x Height, rows top-down).
    void SetPixels(int Width, int Height, std::vector<TPixel> Pixels);

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    void AttachCanvas();

    int FWidth = 0;
    int FHeight = 0;
    std::vector<TPixel> FPixels;
    TPixelFormat FPixelFormat = pf24bit;
    std::unique_ptr<TCanvas> FCanvas;
};

} // namespace folio
