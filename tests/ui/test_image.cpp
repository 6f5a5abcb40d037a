#include "PropertyRoundTrip.h"

#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/stdctrls/Image.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

struct ImageTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TImage* Image = nullptr;

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Form->SetColor(clWhite);
        Image = new TImage(Form.get());
        Image->SetParent(Form.get());
        Image->SetBounds(10, 10, 100, 80);
        // A 20 x 10 picture: red with a green bottom row, its first pixel
        // (the transparent colour) green.
        TBitmap Picture(20, 10);
        TCanvas* C = Picture.GetCanvas();
        C->GetBrush()->SetColor(clRed);
        C->FillRect(Rect(0, 0, 20, 10));
        C->GetBrush()->SetColor(clLime);
        C->FillRect(Rect(0, 9, 20, 10));
        Image->SetPicture(&Picture);
    }

    TColor Px(int X, int Y) {
        Host.RunUntilIdle();
        return Host.Pixel(Form.get(), 10 + X, 10 + Y);
    }
};

TEST_F(ImageTest, PlacementFollowsStretchProportionalAndCenter) {
    struct Case {
        bool Stretch, Proportional, Center;
        TRect Dest;
    };
    const Case Cases[] = {
        {false, false, false, Rect(0, 0, 20, 10)},
        {false, false, true, Rect(40, 35, 60, 45)},
        {true, false, false, Rect(0, 0, 100, 80)},
        {true, true, false, Rect(0, 15, 100, 65)},
    };
    for (const Case& C : Cases) {
        Image->SetStretch(C.Stretch);
        Image->SetProportional(C.Proportional);
        Image->SetCenter(C.Center);
        EXPECT_EQ(Image->GetDestRect(), C.Dest);
    }
}

TEST_F(ImageTest, PaintsThePictureWhereItsPlacementSays) {
    Form->Show();
    EXPECT_EQ(Px(5, 5), clRed);
    EXPECT_EQ(Px(30, 5), clWhite);
    Image->SetStretch(true);
    EXPECT_EQ(Px(90, 5), clRed);
    EXPECT_EQ(Px(90, 78), clLime);
}

TEST_F(ImageTest, TransparentLeavesOutThePicturesTransparentColour) {
    Image->SetStretch(true);
    Form->Show();
    EXPECT_EQ(Px(50, 78), clLime);
    Image->SetTransparent(true);
    EXPECT_EQ(Px(50, 78), clWhite);
    EXPECT_EQ(Px(50, 40), clRed);
}

TEST_F(ImageTest, AutoSizeFitsTheControlToEachNewPicture) {
    Image->SetAutoSize(true);
    EXPECT_EQ(Image->GetWidth(), 20);
    EXPECT_EQ(Image->GetHeight(), 10);
    Image->GetPicture()->SetSize(30, 40);
    EXPECT_EQ(Image->GetWidth(), 30);
    EXPECT_EQ(Image->GetHeight(), 40);
}

TEST_F(ImageTest, ChangingThePictureRepaints) {
    Form->Show();
    EXPECT_EQ(Px(5, 5), clRed);
    TCanvas* C = Image->GetPicture()->GetCanvas();
    C->GetBrush()->SetColor(clBlue);
    C->FillRect(Rect(0, 0, 20, 9));
    EXPECT_EQ(Px(5, 5), clBlue);
}

TEST_F(ImageTest, ThePictureTravelsWithThePublishedProperties) {
    Image->SetCenter(true);
    Image->SetTransparent(true);
    TImage Copy(nullptr);
    proptest::CopyPublished(*Image, Copy);
    proptest::ExpectSamePublished(*Image, Copy);
    ASSERT_EQ(Copy.GetPicture()->GetWidth(), 20);
    EXPECT_EQ(Copy.GetPicture()->GetPixel(3, 9), clLime);
    EXPECT_TRUE(Copy.GetCenter());
}

} // namespace
