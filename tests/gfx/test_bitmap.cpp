#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/BmpFile.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

using namespace folio;

namespace {

using TBytes = std::vector<std::uint8_t>;

void Put16(TBytes& B, size_t At, unsigned V) {
    B[At] = V & 0xFF;
    B[At + 1] = (V >> 8) & 0xFF;
}
void Put32(TBytes& B, size_t At, std::uint32_t V) {
    Put16(B, At, V & 0xFFFF);
    Put16(B, At + 2, V >> 16);
}

// What a test BMP file holds, written by hand so the reader is checked
// against the file format rather than against our own writer.
struct TBmpSpec {
    int Width = 5;
    int Height = 3;
    int Bits = 24;
    bool TopDown = false;
    std::uint32_t Compression = 0;
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB
    std::uint32_t Masks[3] = {0, 0, 0}; // bit fields, when Compression is 3
    TBytes Rle;                         // compressed rows, when Compression is 1 or 2
    // The value stored for pixel (X, Y), Y counted from the top.
    std::function<std::uint32_t(int X, int Y)> Value;
};

TBytes MakeBmp(const TBmpSpec& S) {
    const size_t MaskBytes = S.Compression == 3 ? 12 : 0;
    const size_t Offset = 14 + 40 + MaskBytes + 4 * S.Palette.size();
    const size_t Stride = (static_cast<size_t>(S.Width) * S.Bits + 31) / 32 * 4;
    const size_t ImageSize = S.Rle.empty() ? Stride * S.Height : S.Rle.size();
    TBytes B(Offset + ImageSize, 0);
    B[0] = 'B';
    B[1] = 'M';
    Put32(B, 2, static_cast<std::uint32_t>(B.size()));
    Put32(B, 10, static_cast<std::uint32_t>(Offset));
    Put32(B, 14, 40);
    Put32(B, 18, static_cast<std::uint32_t>(S.Width));
    Put32(B, 22, static_cast<std::uint32_t>(S.TopDown ? -S.Height : S.Height));
    Put16(B, 26, 1);
    Put16(B, 28, static_cast<unsigned>(S.Bits));
    Put32(B, 30, S.Compression);
    Put32(B, 34, static_cast<std::uint32_t>(ImageSize));
    Put32(B, 46, static_cast<std::uint32_t>(S.Palette.size()));
    for (int I = 0; I < 3 && MaskBytes; ++I) Put32(B, 54 + 4 * I, S.Masks[I]);
    for (size_t I = 0; I < S.Palette.size(); ++I) Put32(B, 54 + MaskBytes + 4 * I, S.Palette[I]);
    if (!S.Rle.empty()) {
        std::copy(S.Rle.begin(), S.Rle.end(), B.begin() + static_cast<std::ptrdiff_t>(Offset));
        return B;
    }
    for (int Y = 0; Y < S.Height; ++Y) {
        const size_t Row = Offset + Stride * static_cast<size_t>(S.TopDown ? Y : S.Height - 1 - Y);
        for (int X = 0; X < S.Width; ++X) {
            const std::uint32_t V = S.Value(X, Y);
            if (S.Bits < 8) {
                const int PerByte = 8 / S.Bits;
                const int Shift = 8 - S.Bits * (X % PerByte + 1);
                B[Row + X / PerByte] |= static_cast<std::uint8_t>(V << Shift);
            } else {
                for (int K = 0; K < S.Bits / 8; ++K)
                    B[Row + X * (S.Bits / 8) + K] = (V >> (8 * K)) & 0xFF;
            }
        }
    }
    return B;
}

// Loads Bytes followed by a trailer and checks that the stream stops right
// after the image.
void LoadExact(TBitmap& Bmp, const TBytes& Bytes) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.WriteBuffer("TAIL", 4);
    Stream.SetPosition(0);
    Bmp.LoadFromStream(Stream);
    EXPECT_EQ(Stream.GetPosition(), static_cast<std::int64_t>(Bytes.size()));
    char Tail[4];
    Stream.ReadBuffer(Tail, 4);
    EXPECT_EQ(std::string(Tail, 4), "TAIL");
}

std::uint32_t PaletteColor(int I) {
    return static_cast<std::uint32_t>((I * 37) << 16 | (I * 91 & 0xFF) << 8 | (255 - I));
}
TColor AsColor(std::uint32_t Rgb) {
    return static_cast<TColor>(((Rgb >> 16) & 0xFF) | (Rgb & 0xFF00) | ((Rgb & 0xFF) << 16));
}

} // namespace

TEST(Bitmap, SizeEmptinessAndChangeNotification) {
    TBitmap B;
    EXPECT_TRUE(B.GetEmpty());
    int Changes = 0;
    B.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &B);
        ++Changes;
    };
    B.SetSize(3, 2);
    EXPECT_FALSE(B.GetEmpty());
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(B.GetPixel(2, 1), clWhite);
    B.GetCanvas()->GetBrush()->SetColor(clNavy);
    B.GetCanvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(B.ScanLine(0)[0], RgbToPixel(clNavy));
    B.SetWidth(6); // keeps the picture, new area white
    EXPECT_EQ(B.GetPixel(0, 0), clNavy);
    EXPECT_EQ(B.GetPixel(5, 1), clWhite);
    B.GetCanvas()->FillRect(Rect(5, 1, 6, 2)); // the canvas follows the new size
    EXPECT_EQ(B.GetPixel(5, 1), clNavy);
    EXPECT_THROW(B.ScanLine(2), ERangeError);
    B.SetHeight(0);
    EXPECT_TRUE(B.GetEmpty());
    EXPECT_THROW(B.SetSize(100000, 100000), EInvalidGraphicOperation);
}

TEST(Bitmap, AssignCopiesThePicture) {
    TBitmap A(4, 4), B;
    A.GetCanvas()->SetPixel(1, 2, clLime);
    B.Assign(&A);
    EXPECT_EQ(B.GetWidth(), 4);
    EXPECT_EQ(B.GetPixel(1, 2), clLime);
    A.GetCanvas()->SetPixel(1, 2, clRed);
    EXPECT_EQ(B.GetPixel(1, 2), clLime);
    B.Assign(nullptr);
    EXPECT_TRUE(B.GetEmpty());
}

TEST(Bitmap, WritesOneBmpImageAndReadsItBack) {
    for (TPixelFormat Format : {pf24bit, pf32bit}) {
        TBitmap A(7, 5);
        A.SetPixelFormat(Format);
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 7; ++X)
                A.GetCanvas()->SetPixel(X, Y, static_cast<TColor>(X * 0x203040 + Y * 0x0A0B0C));
        TMemoryStream Stream;
        Stream.WriteBuffer("HEAD", 4);
        A.SaveToStream(Stream);
        Stream.WriteBuffer("TAIL", 4);
        const auto* Bytes = reinterpret_cast<const std::uint8_t*>(Stream.Memory()) + 4;
        const std::uint32_t Total = BmpTotalSize(Bytes);
        EXPECT_EQ(Total + 8, Stream.GetSize());
        EXPECT_EQ(Bytes[28], Format == pf32bit ? 32 : 24);

        Stream.SetPosition(4);
        TBitmap B;
        B.LoadFromStream(Stream);
        EXPECT_EQ(Stream.GetPosition(), 4 + static_cast<std::int64_t>(Total));
        ASSERT_EQ(B.GetWidth(), 7);
        ASSERT_EQ(B.GetHeight(), 5);
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 7; ++X) EXPECT_EQ(B.GetPixel(X, Y), A.GetPixel(X, Y));
    }
    TBitmap Empty;
    TMemoryStream S;
    EXPECT_THROW(Empty.SaveToStream(S), EInvalidGraphicOperation);
}

TEST(Bitmap, ReadsEveryPaletteDepth) {
    for (int Bits : {1, 4, 8}) {
        const int Colors = 1 << Bits;
        TBmpSpec S;
        S.Width = 13; // rows need padding at every depth
        S.Height = 4;
        S.Bits = Bits;
        for (int I = 0; I < Colors; ++I) S.Palette.push_back(PaletteColor(I));
        S.Value = [&](int X, int Y) { return static_cast<std::uint32_t>((X + 3 * Y) % Colors); };
        for (bool TopDown : {false, true}) {
            S.TopDown = TopDown;
            TBitmap B;
            LoadExact(B, MakeBmp(S));
            ASSERT_EQ(B.GetWidth(), 13);
            ASSERT_EQ(B.GetHeight(), 4);
            for (int Y = 0; Y < 4; ++Y)
                for (int X = 0; X < 13; ++X)
                    ASSERT_EQ(B.GetPixel(X, Y), AsColor(PaletteColor((X + 3 * Y) % Colors)))
                        << Bits << " " << X << "," << Y;
        }
    }
}

TEST(Bitmap, ReadsTrueColourDepthsAndBitFields) {
    auto Rgb = [](int X, int Y) {
        return static_cast<std::uint32_t>((X * 40) << 16 | (Y * 60) << 8 | (X * 10 + Y));
    };
    for (int Bits : {24, 32}) {
        TBmpSpec S;
        S.Bits = Bits;
        S.Value = Rgb;
        for (bool TopDown : {false, true}) {
            S.TopDown = TopDown;
            TBitmap B;
            LoadExact(B, MakeBmp(S));
            for (int Y = 0; Y < 3; ++Y)
                for (int X = 0; X < 5; ++X) ASSERT_EQ(B.GetPixel(X, Y), AsColor(Rgb(X, Y))) << Bits;
        }
    }
    // 32 bits with the channels in unusual places.
    TBmpSpec F;
    F.Bits = 32;
    F.Compression = 3;
    F.Masks[0] = 0x0000FF00; // red
    F.Masks[1] = 0x00FF0000; // green
    F.Masks[2] = 0xFF000000; // blue
    F.Value = [](int X, int Y) {
        return static_cast<std::uint32_t>((X * 50) << 8 | (Y * 70) << 16 | 0x11u << 24);
    };
    TBitmap B;
    LoadExact(B, MakeBmp(F));
    EXPECT_EQ(B.GetPixel(2, 1), static_cast<TColor>(100 | 70 << 8 | 0x11 << 16));

    // 16 bits: 5-5-5 by default, 5-6-5 through bit fields.
    TBmpSpec H;
    H.Bits = 16;
    H.Value = [](int, int) { return 0x7C00u; };
    LoadExact(B, MakeBmp(H));
    EXPECT_EQ(B.GetPixel(0, 0), clRed);
    H.Compression = 3;
    H.Masks[0] = 0xF800;
    H.Masks[1] = 0x07E0;
    H.Masks[2] = 0x001F;
    H.Value = [](int, int) { return 0x07E0u; };
    LoadExact(B, MakeBmp(H));
    EXPECT_EQ(B.GetPixel(4, 2), clLime);
}

TEST(Bitmap, ReadsRunLengthEncodedImages) {
    TBmpSpec S;
    S.Width = 4;
    S.Height = 2;
    S.Bits = 8;
    S.Compression = 1;
    S.Palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    // Bottom row: four of index 1. Top row: literal 3, 2, 1, then one 0.
    S.Rle = {4, 1, 0, 0, 0, 3, 3, 2, 1, 0, 1, 0, 0, 1};
    TBitmap B;
    LoadExact(B, MakeBmp(S));
    EXPECT_EQ(B.GetPixel(0, 1), clRed);
    EXPECT_EQ(B.GetPixel(3, 1), clRed);
    EXPECT_EQ(B.GetPixel(0, 0), clBlue);
    EXPECT_EQ(B.GetPixel(1, 0), clLime);
    EXPECT_EQ(B.GetPixel(2, 0), clRed);
    EXPECT_EQ(B.GetPixel(3, 0), clBlack);

    S.Bits = 4;
    S.Compression = 2;
    // Bottom row: alternating 1 and 2. Top row: literal 3, 3, 1, then end.
    S.Rle = {4, 0x12, 0, 0, 0, 3, 0x33, 0x10, 0, 1};
    LoadExact(B, MakeBmp(S));
    EXPECT_EQ(B.GetPixel(0, 1), clRed);
    EXPECT_EQ(B.GetPixel(1, 1), clLime);
    EXPECT_EQ(B.GetPixel(0, 0), clBlue);
    EXPECT_EQ(B.GetPixel(2, 0), clRed);
    EXPECT_EQ(B.GetPixel(3, 0), clBlack);
}

TEST(Bitmap, DamagedImagesRaiseAndLeaveThePictureAlone) {
    TBmpSpec Good;
    Good.Bits = 8;
    Good.Palette = {0xFF0000, 0x00FF00};
    Good.Value = [](int X, int) { return static_cast<std::uint32_t>(X & 1); };
    const TBytes Base = MakeBmp(Good);

    std::vector<std::pair<const char*, TBytes>> Cases;
    auto Add = [&](const char* Name, std::function<void(TBytes&)> Damage) {
        TBytes B = Base;
        Damage(B);
        Cases.emplace_back(Name, B);
    };
    Add("wrong signature", [](TBytes& B) { B[1] = 'X'; });
    Add("truncated rows", [](TBytes& B) {
        B.resize(B.size() - 5);
        Put32(B, 2, static_cast<std::uint32_t>(B.size()));
    });
    Add("stream shorter than the total size", [](TBytes& B) { B.resize(B.size() - 5); });
    Add("zero width", [](TBytes& B) { Put32(B, 18, 0); });
    Add("zero height", [](TBytes& B) { Put32(B, 22, 0); });
    Add("huge size", [](TBytes& B) {
        Put32(B, 18, 100000);
        Put32(B, 22, 100000);
    });
    Add("colour table beyond the image", [](TBytes& B) {
        Put32(B, 46, 256 + 0 * B.size());
        Put32(B, 2, 80);
    });
    Add("colour table longer than the depth allows", [](TBytes& B) { Put32(B, 46, 300); });
    Add("pixel offset beyond the image", [](TBytes& B) { Put32(B, 10, 100000); });
    Add("pixel offset inside the headers", [](TBytes& B) { Put32(B, 10, 20); });
    Add("total size smaller than the headers", [](TBytes& B) { Put32(B, 2, 20); });
    Add("unknown header size", [](TBytes& B) { Put32(B, 14, 30); });
    Add("unsupported compression", [](TBytes& B) { Put32(B, 30, 4); });
    Add("unsupported depth", [](TBytes& B) { Put16(B, 28, 2); });
    Add("run-length data too short for its size", [](TBytes& B) {
        Put32(B, 30, 1);
        Put32(B, 18, 30000);
        Put32(B, 22, 30000);
    });
    Cases.emplace_back("empty stream", TBytes{});
    Cases.emplace_back("file header only", TBytes(Base.begin(), Base.begin() + 14));

    for (const auto& [Name, Bytes] : Cases) {
        TBitmap B(3, 3);
        B.GetCanvas()->SetPixel(1, 1, clBlue);
        TMemoryStream Stream;
        Stream.WriteBuffer("XX", 2);
        if (!Bytes.empty())
            Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
        Stream.SetPosition(2);
        try {
            B.LoadFromStream(Stream);
            ADD_FAILURE() << Name << ": no error";
        } catch (const EInvalidGraphic& E) {
            EXPECT_NE(std::string(E.what()).find("BMP"), std::string::npos)
                << Name << ": " << E.what();
        } catch (const std::exception& E) {
            ADD_FAILURE() << Name << ": unexpected " << E.what();
        }
        EXPECT_EQ(Stream.GetPosition(), 2) << Name;
        EXPECT_EQ(B.GetWidth(), 3) << Name;
        EXPECT_EQ(B.GetPixel(1, 1), clBlue) << Name;
    }
}

TEST(Bitmap, FilesRoundTrip) {
    const String Name = ::testing::TempDir() + "folio_bitmap_test.bmp";
    TBitmap A(9, 4);
    A.GetCanvas()->SetPixel(8, 3, clPurple);
    A.SaveToFile(Name);
    TBitmap B;
    B.LoadFromFile(Name);
    EXPECT_EQ(B.GetPixel(8, 3), clPurple);
    EXPECT_EQ(B.GetPixel(0, 0), clWhite);
    std::remove(Name.c_str());
    EXPECT_THROW(B.LoadFromFile(Name), EFOpenError);
}
