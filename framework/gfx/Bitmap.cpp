#include "framework/gfx/Bitmap.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Filer.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Canvas.h"

#include <algorithm>
#include <cstring>

namespace folio {

FOLIO_DEFINE_CLASS(TBitmap, TPersistent)

TBitmap::TBitmap() : FCanvas(std::make_unique<TCanvas>()) {
    // Drawing on the bitmap's canvas changes the bitmap.
    FCanvas->OnChange = [this](TObject*) { Changed(); };
}

TBitmap::TBitmap(int Width, int Height) : TBitmap() {
    SetSize(Width, Height);
}

TBitmap::~TBitmap() = default;

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

void TBitmap::AttachCanvas() {
    FCanvas->SetSurface(GetSurface());
}

void TBitmap::SetSize(int Width, int Height) {
    if (Width <= 0 || Height <= 0) Width = Height = 0;
    if (Width > MaxBitmapDimension || Height > MaxBitmapDimension ||
        static_cast<long long>(Width) * Height > MaxBitmapPixels)
        throw EInvalidGraphicOperation(Format(
            "A bitmap of %d x %d pixels is larger than the framework supports", Width, Height));
    if (Width == FWidth && Height == FHeight) return;
    std::vector<TPixel> Pixels(static_cast<size_t>(Width) * static_cast<size_t>(Height),
                               0xFFFFFFFFu);
    const int CW = std::min(Width, FWidth);
    const int CH = std::min(Height, FHeight);
    for (int Y = 0; Y < CH; ++Y)
        std::memcpy(Pixels.data() + static_cast<size_t>(Y) * Width,
                    FPixels.data() + static_cast<size_t>(Y) * FWidth,
                    static_cast<size_t>(CW) * sizeof(TPixel));
    FPixels = std::move(Pixels);
    FWidth = Width;
    FHeight = Height;
    AttachCanvas();
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (FPixelFormat == Value) return;
    FPixelFormat = Value;
    Changed();
}

TPixel* TBitmap::ScanLine(int Y) {
    if (Y < 0 || Y >= FHeight)
        throw ERangeError(Format("Scan line %d is outside the bitmap (height %d)", Y, FHeight));
    return FPixels.data() + static_cast<size_t>(Y) * FWidth;
}

const TPixel* TBitmap::ScanLine(int Y) const {
    return const_cast<TBitmap*>(this)->ScanLine(Y);
}

TPixelSurface TBitmap::GetSurface() const {
    if (GetEmpty()) return TPixelSurface{};
    return TPixelSurface{const_cast<TPixel*>(FPixels.data()), FWidth, FHeight, FWidth};
}

TColor TBitmap::GetPixel(int X, int Y) const {
    if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
    return PixelToRgb(FPixels[static_cast<size_t>(Y) * FWidth + X]);
}

void TBitmap::SetPixels(int Width, int Height, std::vector<TPixel> Pixels) {
    if (Width <= 0 || Height <= 0) {
        Width = Height = 0;
        Pixels.clear();
    }
    if (Pixels.size() != static_cast<size_t>(Width) * static_cast<size_t>(Height))
        throw EInvalidGraphicOperation("The pixel count does not match the bitmap size");
    FPixels = std::move(Pixels);
    FWidth = Width;
    FHeight = Height;
    AttachCanvas();
    Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
    if (!Source) {
        SetPixels(0, 0, {});
        return;
    }
    if (const auto* B = dynamic_cast<const TBitmap*>(Source)) {
        if (B == this) return;
        FPixelFormat = B->FPixelFormat;
        SetPixels(B->FWidth, B->FHeight, B->FPixels);
        return;
    }
    TPersistent::Assign(Source);
}

bool TBitmap::Equals(const TBitmap* Other) const {
    return Other && Other->FWidth == FWidth && Other->FHeight == FHeight &&
           Other->FPixels == FPixels;
}

void TBitmap::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    const auto* Ancestor = dynamic_cast<const TBitmap*>(Filer->Ancestor());
    const bool HasData = Ancestor ? !Equals(Ancestor) : !GetEmpty();
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream& Stream) {
            if (Stream.Remaining() == 0)
                SetPixels(0, 0, {});
            else
                LoadFromStream(Stream);
        },
        [this](TStream& Stream) {
            if (!GetEmpty()) SaveToStream(Stream);
        },
        HasData);
}

void TBitmap::LoadFromFile(const String& FileName) {
    TFileStream Stream(FileName, fmOpenRead);
    LoadFromStream(Stream);
}

void TBitmap::SaveToFile(const String& FileName) const {
    TFileStream Stream(FileName, fmCreate);
    SaveToStream(Stream);
    Stream.Flush();
}

} // namespace folio
