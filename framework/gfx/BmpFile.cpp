#include "framework/gfx/BmpFile.h"

#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/Streams.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/PictureBudget.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace folio {

namespace {

constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t CoreHeaderSize = 12;
constexpr std::uint32_t InfoHeaderSize = 40;

enum : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

std::uint16_t U16(const std::uint8_t* P) {
    return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}
std::uint32_t U32(const std::uint8_t* P) {
    return static_cast<std::uint32_t>(P[0]) | (static_cast<std::uint32_t>(P[1]) << 8) |
           (static_cast<std::uint32_t>(P[2]) << 16) | (static_cast<std::uint32_t>(P[3]) << 24);
}
std::int32_t I32(const std::uint8_t* P) {
    return static_cast<std::int32_t>(U32(P));
}

void PutU16(std::uint8_t* P, std::uint32_t V) {
    P[0] = static_cast<std::uint8_t>(V);
    P[1] = static_cast<std::uint8_t>(V >> 8);
}
void PutU32(std::uint8_t* P, std::uint32_t V) {
    PutU16(P, V & 0xFFFF);
    PutU16(P + 2, V >> 16);
}

[[noreturn]] void Bad(const String& Why) {
    throw EInvalidGraphic("Invalid BMP image: " + Why);
}

TPixel Rgb(std::uint8_t R, std::uint8_t G, std::uint8_t B) {
    return 0xFF000000u | (static_cast<TPixel>(R) << 16) | (static_cast<TPixel>(G) << 8) | B;
}

// One channel of a bit-field pixel, scaled to 8 bits.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint64_t Max = 0;

    explicit TChannel(std::uint32_t M) : Mask(M) {
        if (M == 0) return;
        Shift = std::countr_zero(M);
        const int Bits = std::bit_width(M >> Shift);
        Max = (std::uint64_t{1} << Bits) - 1;
    }
    std::uint8_t Get(std::uint32_t V) const {
        if (Max == 0) return 0;
        const std::uint64_t C = (V & Mask) >> Shift;
        return static_cast<std::uint8_t>(std::min<std::uint64_t>(255, C * 255 / Max));
    }
};

// Decodes run-length encoded rows into Pixels (bottom-up file rows).
// Pixels a run does not reach stay as they are (black).
void DecodeRle(const std::uint8_t* P, const std::uint8_t* End, int Bits, int W, int H,
               const std::vector<TPixel>& Palette, std::vector<TPixel>& Pixels) {
    int X = 0;
    int Row = 0; // file row, 0 at the bottom
    auto Color = [&](unsigned Index) {
        return Index < Palette.size() ? Palette[Index] : 0xFF000000u;
    };
    auto Put = [&](unsigned Index) {
        if (X < W && Row < H) Pixels[static_cast<size_t>(H - 1 - Row) * W + X] = Color(Index);
        ++X;
    };
    while (P + 1 < End && Row < H) {
        const unsigned Count = P[0];
        const unsigned Value = P[1];
        P += 2;
        if (Count > 0) {
            // A run repeats one index (RLE8) or alternates two (RLE4).
            for (unsigned I = 0; I < Count && X < W; ++I)
                Put(Bits == 8 ? Value : (I & 1) ? (Value & 0x0F) : (Value >> 4));
            continue;
        }
        if (Value == 0) { // end of line
            X = 0;
            ++Row;
        } else if (Value == 1) { // end of bitmap
            return;
        } else if (Value == 2) { // delta
            if (P + 1 >= End) Bad("a run-length delta is cut off");
            X += P[0];
            Row += P[1];
            P += 2;
        } else { // absolute run of Value indexes, padded to a 16-bit boundary
            const unsigned Bytes = Bits == 8 ? Value : (Value + 1) / 2;
            const unsigned Padded = (Bytes + 1) & ~1u;
            if (static_cast<std::size_t>(End - P) < Padded)
                Bad("a run-length literal run is cut off");
            for (unsigned I = 0; I < Value; ++I) {
                if (X >= W) break;
                Put(Bits == 8 ? P[I] : (I & 1) ? (P[I / 2] & 0x0F) : (P[I / 2] >> 4));
            }
            P += Padded;
        }
    }
}

} // namespace

std::uint32_t BmpTotalSize(const std::uint8_t* FileHeader) {
    if (FileHeader[0] != 'B' || FileHeader[1] != 'M') Bad("the signature is not \"BM\"");
    const std::uint32_t Total = U32(FileHeader + 2);
    if (Total < FileHeaderSize + CoreHeaderSize)
        Bad(Format("its total size of %u bytes is smaller than its headers", Total));
    return Total;
}

TBmpImage DecodeBmp(const std::uint8_t* Data, std::size_t Size) {
    if (Size < FileHeaderSize + 4) Bad("it is too short for its headers");
    const std::uint32_t Total = BmpTotalSize(Data);
    if (Total > Size) Bad(Format("it promises %u bytes but holds %zu", Total, Size));
    Size = Total;
    const std::uint32_t OffBits = U32(Data + 10);
    const std::uint32_t HeaderSize = U32(Data + FileHeaderSize);
    if (HeaderSize != CoreHeaderSize && HeaderSize < InfoHeaderSize)
        Bad(Format("an info header of %u bytes is not a known kind", HeaderSize));
    if (HeaderSize > Size - FileHeaderSize) Bad("its info header reaches beyond the image");
    const std::uint8_t* H = Data + FileHeaderSize;

    std::int64_t Width, Height;
    unsigned Bits;
    std::uint32_t Compression = BI_RGB;
    std::uint32_t ColorsUsed = 0;
    if (HeaderSize == CoreHeaderSize) {
        Width = U16(H + 4);
        Height = U16(H + 6);
        Bits = U16(H + 10);
    } else {
        Width = I32(H + 4);
        Height = I32(H + 8);
        Bits = U16(H + 14);
        Compression = U32(H + 16);
        ColorsUsed = U32(H + 32);
    }
    const bool TopDown = Height < 0;
    if (TopDown) Height = -Height;
    if (Width <= 0 || Height <= 0 || Width > MaxBitmapDimension || Height > MaxBitmapDimension ||
        Width * Height > MaxBitmapPixels)
        Bad(Format("a size of %lld x %lld pixels is empty or larger than the framework supports",
                   static_cast<long long>(Width),
                   static_cast<long long>(TopDown ? -Height : Height)));
    const int W = static_cast<int>(Width);
    const int Ht = static_cast<int>(Height);

    switch (Compression) {
    case BI_RGB:
        if (Bits != 1 && Bits != 4 && Bits != 8 && Bits != 16 && Bits != 24 && Bits != 32)
            Bad(Format("%u bits per pixel is not a supported depth", Bits));
        break;
    case BI_RLE8:
    case BI_RLE4:
        if (Bits != (Compression == BI_RLE8 ? 8u : 4u))
            Bad(Format("run-length compression does not go with %u bits per pixel", Bits));
        if (TopDown) Bad("run-length compressed images cannot be stored top-down");
        break;
    case BI_BITFIELDS:
        if (Bits != 16 && Bits != 32)
            Bad(Format("bit fields do not go with %u bits per pixel", Bits));
        break;
    default:
        Bad(Format("compression method %u is not supported", Compression));
    }

    // Colour masks follow a 40-byte header, or sit inside a longer one.
    std::uint64_t TableStart = FileHeaderSize + HeaderSize;
    std::uint32_t Masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (Bits == 16) Masks[0] = 0x7C00, Masks[1] = 0x03E0, Masks[2] = 0x001F;
    if (Compression == BI_BITFIELDS) {
        const std::uint64_t MaskStart = FileHeaderSize + InfoHeaderSize;
        if (MaskStart + 12 > Size) Bad("its colour masks lie beyond the image");
        for (int I = 0; I < 3; ++I) Masks[I] = U32(Data + MaskStart + 4 * I);
        if (HeaderSize == InfoHeaderSize) TableStart += 12;
    }

    std::vector<TPixel> Palette;
    if (Bits <= 8) {
        const std::uint32_t MaxColors = 1u << Bits;
        const std::uint32_t Count = ColorsUsed == 0 ? MaxColors : ColorsUsed;
        if (Count > MaxColors)
            Bad(Format("a colour table of %u entries is too long for %u bits per pixel", Count,
                       Bits));
        const unsigned EntrySize = HeaderSize == CoreHeaderSize ? 3 : 4;
        if (TableStart + std::uint64_t{Count} * EntrySize > Size)
            Bad("its colour table lies beyond the image");
        Palette.resize(Count);
        for (std::uint32_t I = 0; I < Count; ++I) {
            const std::uint8_t* E = Data + TableStart + std::uint64_t{I} * EntrySize;
            Palette[I] = Rgb(E[2], E[1], E[0]);
        }
    }

    if (OffBits < FileHeaderSize + HeaderSize || OffBits >= Size)
        Bad(Format("its pixel data offset %u lies outside the image", OffBits));
    const std::uint8_t* Rows = Data + OffBits;
    const std::uint64_t Available = Size - OffBits;

    if (Compression == BI_RLE8 || Compression == BI_RLE4) {
        // Runs repeat at most 255 pixels per 2 bytes; refuse sizes the data
        // could not describe before allocating for them.
        if (static_cast<std::uint64_t>(W) * Ht > Available * 255)
            Bad("its run-length data is far too short for its size");
        ChargePictureBudget("BMP image", W, Ht);
        TBmpImage Image{W, Ht, std::vector<TPixel>(static_cast<size_t>(W) * Ht, 0xFF000000u)};
        DecodeRle(Rows, Rows + Available, static_cast<int>(Bits), W, Ht, Palette, Image.Pixels);
        return Image;
    }

    const std::uint64_t Stride = (static_cast<std::uint64_t>(W) * Bits + 31) / 32 * 4;
    if (Stride * Ht > Available)
        Bad(Format("its pixel rows are cut off (%llu bytes needed, %llu present)",
                   static_cast<unsigned long long>(Stride * Ht),
                   static_cast<unsigned long long>(Available)));

    ChargePictureBudget("BMP image", W, Ht);
    TBmpImage Image{W, Ht, std::vector<TPixel>(static_cast<size_t>(W) * Ht)};
    const TChannel R(Masks[0]), G(Masks[1]), B(Masks[2]);
    const bool Plain32 =
        Bits == 32 && Masks[0] == 0x00FF0000u && Masks[1] == 0x0000FF00u && Masks[2] == 0x000000FFu;
    for (int Y = 0; Y < Ht; ++Y) {
        const std::uint8_t* Src =
            Rows + Stride * static_cast<std::uint64_t>(TopDown ? Y : Ht - 1 - Y);
        TPixel* Dst = Image.Pixels.data() + static_cast<size_t>(Y) * W;
        switch (Bits) {
        case 1:
        case 4:
        case 8: {
            const unsigned PerByte = 8 / Bits;
            const unsigned Mask = (1u << Bits) - 1;
            for (int X = 0; X < W; ++X) {
                const unsigned Byte = Src[X / PerByte];
                const unsigned Shift = 8 - Bits * (X % PerByte + 1);
                const unsigned Index = (Byte >> Shift) & Mask;
                Dst[X] = Index < Palette.size() ? Palette[Index] : 0xFF000000u;
            }
            break;
        }
        case 16:
            for (int X = 0; X < W; ++X) {
                const std::uint32_t V = U16(Src + 2 * X);
                Dst[X] = Rgb(R.Get(V), G.Get(V), B.Get(V));
            }
            break;
        case 24:
            for (int X = 0; X < W; ++X) Dst[X] = Rgb(Src[3 * X + 2], Src[3 * X + 1], Src[3 * X]);
            break;
        case 32:
            if (Plain32) {
                for (int X = 0; X < W; ++X) Dst[X] = U32(Src + 4 * X) | 0xFF000000u;
            } else {
                for (int X = 0; X < W; ++X) {
                    const std::uint32_t V = U32(Src + 4 * X);
                    Dst[X] = Rgb(R.Get(V), G.Get(V), B.Get(V));
                }
            }
            break;
        }
    }
    return Image;
}

void EncodeBmp(const TPixelSurface& Surface, int BitsPerPixel, TStream& Stream) {
    if (!Surface.Valid())
        throw EInvalidGraphicOperation("An empty bitmap has no BMP image to write");
    if (BitsPerPixel != 24 && BitsPerPixel != 32)
        throw EInvalidGraphicOperation(
            Format("BMP images are written with 24 or 32 bits per pixel, not %d", BitsPerPixel));
    const std::uint64_t Stride =
        (static_cast<std::uint64_t>(Surface.Width) * BitsPerPixel + 31) / 32 * 4;
    const std::uint64_t ImageSize = Stride * static_cast<std::uint64_t>(Surface.Height);
    const std::uint64_t Total = FileHeaderSize + InfoHeaderSize + ImageSize;
    if (Total > 0xFFFFFFFFu)
        throw EInvalidGraphicOperation("The bitmap is too large for a BMP file");

    std::uint8_t Header[FileHeaderSize + InfoHeaderSize] = {};
    Header[0] = 'B';
    Header[1] = 'M';
    PutU32(Header + 2, static_cast<std::uint32_t>(Total));
    PutU32(Header + 10, FileHeaderSize + InfoHeaderSize);
    std::uint8_t* I = Header + FileHeaderSize;
    PutU32(I, InfoHeaderSize);
    PutU32(I + 4, static_cast<std::uint32_t>(Surface.Width));
    PutU32(I + 8, static_cast<std::uint32_t>(Surface.Height));
    PutU16(I + 12, 1);
    PutU16(I + 14, static_cast<std::uint32_t>(BitsPerPixel));
    PutU32(I + 16, BI_RGB);
    PutU32(I + 20, static_cast<std::uint32_t>(ImageSize));
    PutU32(I + 24, 3780); // 96 dots per inch
    PutU32(I + 28, 3780);
    Stream.WriteBuffer(Header, sizeof(Header));

    std::vector<std::uint8_t> Row(static_cast<size_t>(Stride), 0);
    for (int Y = Surface.Height - 1; Y >= 0; --Y) {
        const TPixel* Src = Surface.Row(Y);
        std::uint8_t* D = Row.data();
        if (BitsPerPixel == 24) {
            for (int X = 0; X < Surface.Width; ++X, D += 3) {
                D[0] = static_cast<std::uint8_t>(Src[X]);
                D[1] = static_cast<std::uint8_t>(Src[X] >> 8);
                D[2] = static_cast<std::uint8_t>(Src[X] >> 16);
            }
        } else {
            // The fourth byte is reserved in an uncompressed 32-bit image.
            for (int X = 0; X < Surface.Width; ++X, D += 4) PutU32(D, Src[X] & 0x00FFFFFFu);
        }
        Stream.WriteBuffer(Row.data(), static_cast<std::int64_t>(Stride));
    }
}

// --- TBitmap's BMP serialisation -------------------------------------------

void TBitmap::SaveToStream(TStream& Stream) const {
    EncodeBmp(GetSurface(), FPixelFormat == pf32bit ? 32 : 24, Stream);
}

void TBitmap::LoadFromStream(TStream& Stream) {
    const std::int64_t Start = Stream.GetPosition();
    // A failed read leaves the stream where it was.
    TScopeGuard Rewind([&Stream, Start] { Stream.SetPosition(Start); });
    std::uint8_t FileHeader[FileHeaderSize];
    if (Stream.Read(FileHeader, FileHeaderSize) != FileHeaderSize)
        Bad("the stream ends inside its file header");
    const std::uint32_t Total = BmpTotalSize(FileHeader);
    const std::int64_t Remaining = Stream.GetSize() - Stream.GetPosition();
    if (static_cast<std::int64_t>(Total) - static_cast<std::int64_t>(FileHeaderSize) > Remaining)
        Bad(Format("it promises %u bytes but the stream ends after %lld", Total,
                   static_cast<long long>(Remaining + FileHeaderSize)));
    std::vector<std::uint8_t> Data(Total);
    std::memcpy(Data.data(), FileHeader, FileHeaderSize);
    Stream.ReadBuffer(Data.data() + FileHeaderSize, Total - FileHeaderSize);
    TBmpImage Image = DecodeBmp(Data.data(), Data.size());
    Rewind.Dismiss();
    SetPixels(Image.Width, Image.Height, std::move(Image.Pixels));
}

} // namespace folio
