#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/GraphicsTypes.h"
#include "framework/gfx/Surface.h"

#include <memory>
#include <vector>

namespace folio {

class TCanvas;
class TStream;

/// The depth a bitmap writes to a BMP file; in memory every bitmap holds
/// 32-bit pixels.
enum TPixelFormat { pf24bit, pf32bit };

/// The largest width or height a bitmap accepts, so that a size read from a
/// file can never ask for more memory than a picture sensibly needs.
constexpr int MaxBitmapDimension = 32768;
/// The largest number of pixels (256 MB of 32-bit pixels).
constexpr long long MaxBitmapPixels = 64LL * 1024 * 1024;

/// A picture of 32-bit pixels with its own canvas. A bitmap without pixels
/// (0 x 0, or one side 0) is empty.
class TBitmap : public TPersistent {
    FOLIO_CLASS(TBitmap)
public:
    /// An empty bitmap, pf24bit.
    TBitmap();
    /// A white bitmap of Width x Height pixels (see SetSize).
    TBitmap(int Width, int Height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    ///@{
    /// The width or height in pixels; setting one keeps the other (see SetSize).
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { SetSize(Value, FHeight); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { SetSize(FWidth, Value); }
    ///@}
    /// Resizing keeps the picture at the top-left corner and fills new area
    /// white. A side of 0 or less empties the bitmap; a side above
    /// MaxBitmapDimension, or more than MaxBitmapPixels in all, raises
    /// EInvalidGraphicOperation. Fires OnChange when the size changes.
    void SetSize(int Width, int Height);
    /// True when the bitmap has no pixels.
    bool GetEmpty() const { return FWidth == 0 || FHeight == 0; }

    ///@{
    /// The depth SaveToStream writes; pf24bit by default. Fires OnChange.
    TPixelFormat GetPixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    ///@}

    /// Draws into the bitmap's own pixels; every drawing call fires the
    /// bitmap's OnChange.
    TCanvas* GetCanvas() const { return FCanvas.get(); }

    ///@{
    /// Row Y of the pixels (top row 0); raises ERangeError outside the picture.
    TPixel* ScanLine(int Y);
    const TPixel* ScanLine(int Y) const;
    ///@}
    /// A view of the pixels, valid until the size changes; an invalid surface
    /// for an empty bitmap.
    TPixelSurface GetSurface() const;
    /// The colour of the pixel at (X, Y); 0 (black) outside the picture.
    TColor GetPixel(int X, int Y) const;

    /// Copies another bitmap's picture and pixel format; nullptr empties this
    /// one. Fires OnChange; other sources go to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;
    /// True when Other holds the same picture: the same size and pixels.
    bool Equals(const TBitmap* Other) const;
    /// In a form file the picture is the binary property "Data": one BMP
    /// file image, nothing for an empty bitmap.
    void DefineProperties(TFiler* Filer) override;

    /// One complete BMP file image: file header with the signature and the
    /// total size, info header, pixel rows bottom-up. pf24bit (the default)
    /// writes 24-bit rows, pf32bit 32-bit rows; neither has a colour table.
    /// An empty bitmap raises EInvalidGraphicOperation.
    void SaveToStream(TStream& Stream) const;
    /// Reads exactly one BMP file image and leaves the stream directly after
    /// it (by the total size in its file header). Reads 1, 4, 8, 16, 24 and
    /// 32 bits per pixel, bottom-up and top-down, uncompressed, bit fields and
    /// run-length encoded (8 and 4 bits). Anything else, or damaged input,
    /// raises EInvalidGraphic; the bitmap then keeps its previous picture and
    /// the stream is put back where the image began.
    void LoadFromStream(TStream& Stream);
    /// LoadFromStream on the file; a file that cannot be opened raises
    /// EFOpenError.
    void LoadFromFile(const String& FileName);
    /// SaveToStream into the file, made or emptied first; raises
    /// EFCreateError or EWriteError when the file cannot take it.
    void SaveToFile(const String& FileName) const;

    /// Replaces the picture with Pixels (Width x Height, rows top-down); a
    /// count that does not match raises EInvalidGraphicOperation. Fires
    /// OnChange.
    void SetPixels(int Width, int Height, std::vector<TPixel> Pixels);

    /// Fired after the picture, its size or its format changes, with the
    /// bitmap as Sender.
    TNotifyEvent OnChange;

protected:
    /// Fires OnChange.
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
