#include "fuzz/support/HandBmp.h"

namespace folio::fuzz {

namespace {

constexpr int Width = 5;
constexpr int Height = 3;

struct TLayout {
    int Bits = 24;
    std::uint32_t Compression = 0;
    bool Core = false;
    bool TopDown = false;
    int PaletteSize = 0;
    std::vector<std::uint32_t> Masks;
    TBytes Rle;
};

std::uint32_t PaletteEntry(int I) {
    return static_cast<std::uint32_t>(((I * 53) & 0xFF) << 16 | ((I * 101) & 0xFF) << 8 |
                                      ((255 - I * 17) & 0xFF));
}

// The value stored for pixel (X, Y), Y counted from the top.
std::uint32_t Value(const TLayout& L, int X, int Y) {
    const std::uint32_t Index = static_cast<std::uint32_t>(X + Width * Y);
    if (L.Bits <= 8) return Index % (1u << L.Bits);
    if (L.Bits == 16) return (Index * 2731u) & 0xFFFF;
    return (Index * 0x0F1E2Du) & 0xFFFFFF;
}

TBytes Build(const TLayout& L) {
    const std::size_t HeaderSize = L.Core ? 12 : 40;
    const std::size_t EntrySize = L.Core ? 3 : 4;
    const std::size_t MaskBytes = 4 * L.Masks.size();
    const std::size_t Offset = 14 + HeaderSize + MaskBytes + EntrySize * L.PaletteSize;
    const std::size_t Stride = (static_cast<std::size_t>(Width) * L.Bits + 31) / 32 * 4;
    const std::size_t ImageSize = L.Rle.empty() ? Stride * Height : L.Rle.size();

    TBytes B;
    PutByte(B, 'B');
    PutByte(B, 'M');
    PutInt(B, static_cast<std::int32_t>(Offset + ImageSize));
    PutInt(B, 0);
    PutInt(B, static_cast<std::int32_t>(Offset));
    PutInt(B, static_cast<std::int32_t>(HeaderSize));
    if (L.Core) {
        PutU16(B, Width);
        PutU16(B, Height);
        PutU16(B, 1);
        PutU16(B, static_cast<std::uint16_t>(L.Bits));
    } else {
        PutInt(B, Width);
        PutInt(B, L.TopDown ? -Height : Height);
        PutU16(B, 1);
        PutU16(B, static_cast<std::uint16_t>(L.Bits));
        PutInt(B, static_cast<std::int32_t>(L.Compression));
        PutInt(B, static_cast<std::int32_t>(ImageSize));
        PutInt(B, 2835);
        PutInt(B, 2835);
        PutInt(B, L.PaletteSize);
        PutInt(B, 0);
    }
    for (std::uint32_t Mask : L.Masks) PutInt(B, static_cast<std::int32_t>(Mask));
    for (int I = 0; I < L.PaletteSize; ++I) {
        const std::uint32_t E = PaletteEntry(I);
        PutByte(B, static_cast<std::uint8_t>(E));
        PutByte(B, static_cast<std::uint8_t>(E >> 8));
        PutByte(B, static_cast<std::uint8_t>(E >> 16));
        if (!L.Core) PutByte(B, 0);
    }
    if (!L.Rle.empty()) {
        B.insert(B.end(), L.Rle.begin(), L.Rle.end());
        return B;
    }
    const std::size_t Rows = B.size();
    B.resize(Rows + Stride * Height, 0);
    for (int Y = 0; Y < Height; ++Y) {
        const std::size_t Row =
            Rows + Stride * static_cast<std::size_t>(L.TopDown ? Y : Height - 1 - Y);
        for (int X = 0; X < Width; ++X) {
            const std::uint32_t V = Value(L, X, Y);
            if (L.Bits < 8) {
                const int PerByte = 8 / L.Bits;
                const int Shift = 8 - L.Bits * (X % PerByte + 1);
                B[Row + X / PerByte] |= static_cast<std::uint8_t>(V << Shift);
            } else {
                for (int K = 0; K < L.Bits / 8; ++K)
                    B[Row + static_cast<std::size_t>(X) * (L.Bits / 8) + K] =
                        static_cast<std::uint8_t>(V >> (8 * K));
            }
        }
    }
    return B;
}

} // namespace

const std::vector<THandBmp>& HandBmpKinds() {
    static const std::vector<THandBmp> Kinds = {
        {"1bit.bmp", TBmpKind::Bits1},          {"4bit.bmp", TBmpKind::Bits4},
        {"8bit.bmp", TBmpKind::Bits8},          {"16bit.bmp", TBmpKind::Bits16},
        {"24bit.bmp", TBmpKind::Bits24},        {"32bit.bmp", TBmpKind::Bits32},
        {"fields16.bmp", TBmpKind::Fields16},   {"fields32.bmp", TBmpKind::Fields32},
        {"rle8.bmp", TBmpKind::Rle8},           {"rle4.bmp", TBmpKind::Rle4},
        {"core24.bmp", TBmpKind::Core24},       {"core8.bmp", TBmpKind::Core8},
        {"topdown24.bmp", TBmpKind::TopDown24}, {"topdown8.bmp", TBmpKind::TopDown8},
    };
    return Kinds;
}

TBytes HandBmp(TBmpKind Kind) {
    TLayout L;
    switch (Kind) {
    case TBmpKind::Bits1:
        L.Bits = 1;
        L.PaletteSize = 2;
        break;
    case TBmpKind::Bits4:
        L.Bits = 4;
        L.PaletteSize = 16;
        break;
    case TBmpKind::Bits8:
        L.Bits = 8;
        L.PaletteSize = 20; // a short table: indexes past it read as black
        break;
    case TBmpKind::Bits16:
        L.Bits = 16;
        break;
    case TBmpKind::Bits24:
        break;
    case TBmpKind::Bits32:
        L.Bits = 32;
        break;
    case TBmpKind::Fields16:
        L.Bits = 16;
        L.Compression = 3;
        L.Masks = {0xF800, 0x07E0, 0x001F};
        break;
    case TBmpKind::Fields32:
        L.Bits = 32;
        L.Compression = 3;
        L.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
        break;
    case TBmpKind::Rle8:
        L.Bits = 8;
        L.Compression = 1;
        L.PaletteSize = 4;
        // Bottom row a run of five; middle row a literal of three then a
        // delta; top row a run of two, then the end of the picture.
        L.Rle = {5, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 2, 1, 0, 0, 0, 2, 3, 0, 1};
        break;
    case TBmpKind::Rle4:
        L.Bits = 4;
        L.Compression = 2;
        L.PaletteSize = 16;
        L.Rle = {5, 0x12, 0, 0, 0, 4, 0x34, 0x56, 0, 0, 3, 0x78, 0, 0, 0, 1};
        break;
    case TBmpKind::Core24:
        L.Core = true;
        break;
    case TBmpKind::Core8:
        L.Core = true;
        L.Bits = 8;
        L.PaletteSize = 256;
        break;
    case TBmpKind::TopDown24:
        L.TopDown = true;
        break;
    case TBmpKind::TopDown8:
        L.TopDown = true;
        L.Bits = 8;
        L.PaletteSize = 8;
        break;
    }
    return Build(L);
}

} // namespace folio::fuzz
