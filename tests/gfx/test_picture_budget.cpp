#include "framework/core/Exceptions.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/PictureBudget.h"
#include "framework/gfx/Png.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

using namespace folio;

namespace {

// A file name of this process's own: test runs of several trees at once
// share the temporary folder.
String ScratchName(const char* Name) {
    return ::testing::TempDir() + std::to_string(getpid()) + "_" + Name;
}

} // namespace

namespace {

using TBytes = std::vector<std::uint8_t>;

// Puts the default budgets back however a test ends.
struct TBudgetGuard {
    ~TBudgetGuard() {
        SetPicturePixelBudget(DefaultPicturePixelBudget);
        SetLoadPixelBudget(DefaultLoadPixelBudget);
    }
};

void Put32(TBytes& B, size_t At, std::uint32_t V) {
    for (int K = 0; K < 4; ++K) B[At + K] = static_cast<std::uint8_t>(V >> (8 * K));
}

// A run-length (8-bit) BMP image of Width x Height pixels whose data is
// DataSize bytes of end-of-line codes: the cheapest way to name a large
// picture.
TBytes RleBmp(int Width, int Height, size_t DataSize) {
    const size_t Offset = 14 + 40 + 4 * 2;
    TBytes B(Offset + DataSize, 0);
    B[0] = 'B';
    B[1] = 'M';
    Put32(B, 2, static_cast<std::uint32_t>(B.size()));
    Put32(B, 10, static_cast<std::uint32_t>(Offset));
    Put32(B, 14, 40);
    Put32(B, 18, static_cast<std::uint32_t>(Width));
    Put32(B, 22, static_cast<std::uint32_t>(Height));
    B[26] = 1;
    B[28] = 8;
    Put32(B, 30, 1);      // RLE8
    Put32(B, 46, 2);      // two colours
    B[Offset - 4] = 0xFF; // colour 1 is blue
    return B;
}

// A plain 24-bit BMP image as the bitmap writes it.
TBytes PlainBmp(int Width, int Height) {
    TBitmap Picture(Width, Height);
    TMemoryStream Stream;
    Picture.SaveToStream(Stream);
    const auto* P = reinterpret_cast<const std::uint8_t*>(Stream.Memory());
    return TBytes(P, P + Stream.GetSize());
}

// Loads Bytes into Picture; answers the error message, empty on success.
std::string Load(TBitmap& Picture, const TBytes& Bytes) {
    TMemoryStream Stream;
    Stream.WriteBuffer(Bytes.data(), static_cast<std::int64_t>(Bytes.size()));
    Stream.SetPosition(0);
    try {
        Picture.LoadFromStream(Stream);
    } catch (const EInvalidGraphic& E) {
        return E.what();
    }
    return "";
}

bool Has(const std::string& Text, const std::string& Part) {
    return Text.find(Part) != std::string::npos;
}

TBytes ReadFile(const String& Name) {
    std::ifstream In(Name, std::ios::binary);
    return TBytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

void WriteFile(const String& Name, const TBytes& Bytes) {
    std::ofstream Out(Name, std::ios::binary | std::ios::trunc);
    Out.write(reinterpret_cast<const char*>(Bytes.data()),
              static_cast<std::streamsize>(Bytes.size()));
}

std::uint32_t Crc32(const std::uint8_t* P, size_t N) {
    std::uint32_t C = 0xFFFFFFFFu;
    for (size_t I = 0; I < N; ++I) {
        C ^= P[I];
        for (int K = 0; K < 8; ++K) C = (C >> 1) ^ (0xEDB88320u & (0u - (C & 1)));
    }
    return ~C;
}

// A PNG file whose header names Width x Height pixels, with the data of a
// 1 x 1 picture behind it.
TBytes PngClaiming(std::uint32_t Width, std::uint32_t Height) {
    const String Name = ScratchName("folio_budget_small.png");
    SavePng(TBitmap(1, 1), Name);
    TBytes B = ReadFile(Name);
    std::remove(Name.c_str());
    // The header chunk follows the 8-byte signature: length, "IHDR", then
    // width and height big-endian, and its checksum after 13 bytes of data.
    auto Big32 = [&](size_t At, std::uint32_t V) {
        for (int K = 0; K < 4; ++K) B[At + K] = static_cast<std::uint8_t>(V >> (24 - 8 * K));
    };
    Big32(16, Width);
    Big32(20, Height);
    Big32(29, Crc32(B.data() + 12, 17));
    return B;
}

} // namespace

TEST(PictureBudget, SettersRefuseBudgetsBelowOnePixel) {
    TBudgetGuard Guard;
    for (long long Bad : {0LL, -1LL}) {
        EXPECT_THROW(SetPicturePixelBudget(Bad), ERangeError);
        EXPECT_THROW(SetLoadPixelBudget(Bad), ERangeError);
    }
    EXPECT_EQ(GetPicturePixelBudget(), DefaultPicturePixelBudget);
    SetLoadPixelBudget(7);
    EXPECT_EQ(GetLoadPixelBudget(), 7);
}

TEST(PictureBudget, BmpImagesOverThePictureBudgetAreRefusedByName) {
    TBudgetGuard Guard;
    SetPicturePixelBudget(1000);
    TBitmap Picture(2, 2);
    EXPECT_EQ(Load(Picture, PlainBmp(25, 40)), ""); // exactly the budget
    const std::string Why = Load(Picture, PlainBmp(40, 30));
    EXPECT_TRUE(Has(Why, "40 x 30") && Has(Why, "1000") && Has(Why, "SetPicturePixelBudget"))
        << Why;
    EXPECT_EQ(Picture.GetWidth(), 25);
}

// A run-length image names eight times the default budget from about 130 KB
// of data; it used to take 128 MB of pixels before reading a single run.
TEST(PictureBudget, TheDefaultBudgetRefusesARunLengthBomb) {
    const TBytes Bomb = RleBmp(8192, 4096, 8192 * 4096 / 255 + 2);
    ASSERT_LT(Bomb.size(), 140000u);
    TBitmap Picture(3, 3);
    const std::string Why = Load(Picture, Bomb);
    EXPECT_TRUE(Has(Why, "8192 x 4096") && Has(Why, "16777216")) << Why;
    EXPECT_EQ(Picture.GetWidth(), 3);

    // The same encoding within the budget loads.
    TBitmap Small;
    EXPECT_EQ(Load(Small, RleBmp(300, 200, 300 * 200 / 255 + 2)), "");
    EXPECT_EQ(Small.GetWidth(), 300);
}

TEST(PictureBudget, PicturesOfOneLoadShareTheLoadBudget) {
    TBudgetGuard Guard;
    SetLoadPixelBudget(1500);
    const TBytes Image = PlainBmp(30, 30); // 900 pixels
    TBitmap A, B, C;
    EXPECT_EQ(Load(A, Image), ""); // outside a load only the picture budget counts
    EXPECT_EQ(Load(B, Image), "");
    {
        TPictureLoadScope Load1;
        EXPECT_EQ(Load(A, Image), "");
        std::string Why;
        {
            TPictureLoadScope Inner; // joins the open load
            Why = Load(B, Image);
        }
        EXPECT_TRUE(Has(Why, "1500") && Has(Why, "900 are taken") && Has(Why, "SetLoadPixelBudget"))
            << Why;
        EXPECT_EQ(Load(C, PlainBmp(20, 30)), ""); // 600 more fit
    }
    TPictureLoadScope Load2; // a new load starts afresh
    EXPECT_EQ(Load(B, Image), "");
}

// A 70-byte file claiming 8192 x 8192 pixels used to take about 450 MB
// before its data was looked at.
TEST(PictureBudget, PngHeadersMustFitTheFileAndTheBudget) {
    TBudgetGuard Guard;
    SetPicturePixelBudget(MaxBitmapPixels); // the file's size alone must refuse it
    const String Name = ScratchName("folio_budget.png");
    const TBytes Claim = PngClaiming(8192, 8192);
    ASSERT_LT(Claim.size(), 100u);
    WriteFile(Name, Claim);
    TBitmap Picture(2, 2);
    try {
        LoadPng(Name, Picture);
        ADD_FAILURE() << "a 8192 x 8192 claim in a small file loaded";
    } catch (const EInvalidGraphic& E) {
        EXPECT_TRUE(Has(E.what(), "8192 x 8192") && Has(E.what(), "bytes can hold")) << E.what();
    }
    EXPECT_EQ(Picture.GetWidth(), 2);

    // A picture that compresses extremely well is not mistaken for one.
    TBitmap White(1500, 1500);
    SavePng(White, Name);
    LoadPng(Name, Picture);
    EXPECT_EQ(Picture.GetWidth(), 1500);
    EXPECT_EQ(Picture.GetPixel(1499, 1499), Picture.GetPixel(0, 0));

    SetPicturePixelBudget(1500 * 1500 - 1);
    try {
        LoadPng(Name, Picture);
        ADD_FAILURE() << "a picture over the budget loaded";
    } catch (const EInvalidGraphic& E) {
        EXPECT_TRUE(Has(E.what(), "SetPicturePixelBudget")) << E.what();
    }
    std::remove(Name.c_str());
}
