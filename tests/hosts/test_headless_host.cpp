#include "framework/core/Exceptions.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Png.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"

#include <cstdio>
#include <filesystem>

#include <gtest/gtest.h>

using namespace folio;

namespace {

class TTicker : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<TMilliseconds> Ticks;
    void Dispatch(TMessage& M) override {
        if (M.Msg == WM_TIMER) {
            Ticks.push_back(Application->Now());
            return;
        }
        TCustomControl::Dispatch(M);
    }
};

TEST(HeadlessHost, RunAdvancesTheManualClockAndFiresWindowTimers) {
    THeadlessHost Host(640, 480, 5000);
    EXPECT_EQ(Screen->GetWidth(), 640);
    TForm Form(nullptr);
    auto* T = new TTicker(&Form);
    T->SetParent(&Form);
    Form.Show();
    SetTimer(T->GetHandle(), 1, 100);
    Host.Run(350);
    EXPECT_EQ(T->Ticks, (std::vector<TMilliseconds>{5100, 5200, 5300}));
    EXPECT_EQ(Application->Now(), 5350);
}

TEST(HeadlessHost, FormsPaintOnTheirSurfaceAndDeferredWorkRunsInTheLoop) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBounds(10, 10, 50, 40);
    Form.SetColor(0x00FF00);
    EXPECT_EQ(Host.Pixel(&Form, 0, 0), -1); // not shown: no surface
    Form.Show();
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(&Form, 0, 0), 0x00FF00);
    EXPECT_EQ(Host.Pixel(&Form, 49, 39), 0x00FF00);
    EXPECT_EQ(Host.Pixel(&Form, 50, 0), -1);
    bool Ran = false;
    Host.Defer([&] { Ran = true; });
    EXPECT_FALSE(Ran);
    Host.RunUntilIdle();
    EXPECT_TRUE(Ran);
}

TEST(HeadlessHost, ScreenshotWritesTheFormSurfaceAsPng) {
    THeadlessHost Host;
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 30, 20);
    Form.SetColor(0x0000FF);
    const String Path =
        (std::filesystem::temp_directory_path() / "folio_headless_shot.png").string();
    EXPECT_THROW(Host.Screenshot(&Form, Path), EInvalidOperation);
    Form.Show();
    Host.Screenshot(&Form, Path);
    TBitmap B;
    LoadPng(Path, B);
    EXPECT_EQ(B.GetWidth(), 30);
    EXPECT_EQ(B.GetHeight(), 20);
    EXPECT_EQ(B.GetPixel(5, 5), 0x0000FF);
    std::remove(Path.c_str());
}

TEST(HeadlessHost, TheTopmostFormGetsThePointer) {
    THeadlessHost Host;
    TForm Back(nullptr), Front(nullptr);
    Back.SetBounds(0, 0, 100, 100);
    Front.SetBounds(50, 50, 100, 100);
    int BackClicks = 0, FrontClicks = 0;
    Back.OnClick = [&](TObject*) { ++BackClicks; };
    Front.OnClick = [&](TObject*) { ++FrontClicks; };
    Back.Show();
    Front.Show();
    Host.Click(60, 60);
    EXPECT_EQ(FrontClicks, 1);
    Host.Click(10, 10); // activates and raises the form behind
    EXPECT_EQ(BackClicks, 1);
    EXPECT_EQ(Screen->GetActiveForm(), &Back);
    Host.Click(60, 60);
    EXPECT_EQ(BackClicks, 2);
}

} // namespace

namespace {

TEST(HeadlessHostScreen, TheScreenPictureStacksTheShownWindowsInZOrder) {
    THeadlessHost Host;
    TForm Back(nullptr), Front(nullptr);
    Back.SetBounds(10, 10, 50, 50);
    Back.SetColor(clRed);
    Front.SetBounds(40, 40, 50, 50);
    Front.SetColor(clBlue);
    Back.Show();
    Front.Show();
    TBitmap Picture;
    Host.ScreenPicture(Rect(0, 0, 100, 100), Picture);
    EXPECT_EQ(Picture.GetPixel(5, 5), ColorToRGB(clBackground));
    EXPECT_EQ(Picture.GetPixel(20, 20), clRed);
    EXPECT_EQ(Picture.GetPixel(50, 50), clBlue);
    Back.Show(); // activated: now on top
    Host.ScreenPicture(Rect(0, 0, 100, 100), Picture);
    EXPECT_EQ(Picture.GetPixel(50, 50), clRed);
    EXPECT_EQ(Picture.GetPixel(80, 80), clBlue);
    Front.Hide();
    Host.ScreenPicture(Rect(0, 0, 100, 100), Picture);
    EXPECT_EQ(Picture.GetPixel(80, 80), ColorToRGB(clBackground));
}

} // namespace
