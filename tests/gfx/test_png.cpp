#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Png.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace folio;

TEST(Png, SnapshotsRoundTrip) {
    const String Name = ::testing::TempDir() + "folio_png_test.png";
    TBitmap A(23, 17);
    for (int Y = 0; Y < 17; ++Y)
        for (int X = 0; X < 23; ++X)
            A.GetCanvas()->SetPixel(X, Y, static_cast<TColor>(X * 0x0B0A09 + Y * 0x010203));
    SavePng(A, Name);
    TBitmap B;
    LoadPng(Name, B);
    ASSERT_EQ(B.GetWidth(), 23);
    ASSERT_EQ(B.GetHeight(), 17);
    for (int Y = 0; Y < 17; ++Y)
        for (int X = 0; X < 23; ++X) ASSERT_EQ(B.GetPixel(X, Y), A.GetPixel(X, Y));

    // A view with a stride wider than its width (part of a bigger surface).
    TBitmap Big(10, 10);
    Big.GetCanvas()->SetPixel(5, 5, clRed);
    TPixelSurface View = Big.GetSurface();
    View.Pixels += 4 * 10 + 4;
    View.Width = 3;
    View.Height = 3;
    SavePng(View, Name);
    LoadPng(Name, B);
    EXPECT_EQ(B.GetWidth(), 3);
    EXPECT_EQ(B.GetPixel(1, 1), clRed);
    EXPECT_EQ(B.GetPixel(0, 0), clWhite);
    std::remove(Name.c_str());
}

TEST(Png, FailuresRaise) {
    TBitmap A(2, 2), B(1, 1);
    EXPECT_THROW(SavePng(A, "/nonexistent-folder/x.png"), EFCreateError);
    EXPECT_THROW(SavePng(TBitmap(), ::testing::TempDir() + "empty.png"), EInvalidGraphicOperation);
    EXPECT_THROW(LoadPng("/nonexistent-folder/x.png", B), EFOpenError);
    const String NotPng = ::testing::TempDir() + "folio_not_png.png";
    A.SaveToFile(NotPng); // a BMP
    EXPECT_THROW(LoadPng(NotPng, B), EInvalidGraphic);
    EXPECT_EQ(B.GetWidth(), 1);
    std::remove(NotPng.c_str());
}
