#include "folio/Folio.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

// Pictures of one colour, Count of them, Size x Size.
void AddPictures(TImageList* List, int Size, TColor Colour, int Count = 2) {
    TBitmap Pictures(Size * Count, Size);
    Pictures.GetCanvas()->GetBrush()->SetColor(Colour);
    Pictures.GetCanvas()->FillRect(Rect(0, 0, Size * Count, Size));
    List->AddMasked(&Pictures, clNone);
}

// A form designed at the standard resolution with a vertical bar of two
// groups, the open one holding 20 large items, shown on a screen of Ppi.
struct TScaledBar {
    THeadlessHost Host{2048, 1536};
    std::unique_ptr<TForm> Form;
    TImageList* Large = nullptr;
    TFolio* Bar = nullptr;

    explicit TScaledBar(int Ppi, bool Sized = true) {
        Screen->SetPixelsPerInch(Ppi);
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 400);
        Large = new TImageList(Form.get());
        Large->SetWidth(32);
        Large->SetHeight(32);
        AddPictures(Large, 32, clRed);
        if (Sized) AddPictures(Large->AddSize(64, 64), 64, clLime);
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(10, 10, 200, 300);
        Bar->SetLargeImages(Large);
        Bar->SetParent(Form.get());
        for (int G = 0; G < 2; ++G) {
            TFolioGroup* Group = Bar->GetGroups()->Add("Group");
            for (int I = 0; I < 20; ++I) Group->GetItems()->Add("Item", 1);
        }
        Form->Show();
        Host.RunUntilIdle();
    }
    ~TScaledBar() { Screen->SetPixelsPerInch(96); }

    TFolioGroup* Open() const { return Bar->GetVisibleGroupObject(); }
    // A pixel of the bar, in its client coordinates.
    TColor At(int X, int Y) const {
        const TPoint O = Bar->GetWindowOrigin();
        return Host.Pixel(Form.get(), O.X + X, O.Y + Y);
    }
};

TEST(FolioScaling, MetricsDoubleOnADoubleResolutionScreenAndStayAtTheStandardOne) {
    struct TExpected {
        int Ppi, Caption, Spacing, Font, Button, Picture, ItemHeight;
    };
    for (const TExpected E : {TExpected{96, 20, 12, -11, 16, 32, 32 + 22 + 2},
                              TExpected{192, 40, 24, -22, 32, 64, 64 + 44 + 4}}) {
        TScaledBar S(E.Ppi);
        EXPECT_EQ(S.Bar->GetBoundsRect(),
                  E.Ppi == 96 ? Rect(10, 10, 210, 310) : Rect(20, 20, 420, 620))
            << E.Ppi;
        EXPECT_EQ(S.Bar->GetGroupCaptionHeight(), E.Caption) << E.Ppi;
        EXPECT_EQ(S.Open()->GetCaptionRect().Height(), E.Caption) << E.Ppi;
        EXPECT_EQ(S.Bar->GetItemSpacing(), E.Spacing) << E.Ppi;
        EXPECT_EQ(S.Bar->GetGroupsFont()->GetHeight(), E.Font) << E.Ppi;
        EXPECT_EQ(S.Bar->GetFont()->GetHeight(), E.Font) << E.Ppi;
        EXPECT_EQ(S.Bar->GetRotatedFont()->GetHeight(), E.Font) << E.Ppi;
        const TRect Next = S.Open()->GetNextButtonRect();
        EXPECT_EQ(Next.Width(), E.Button) << E.Ppi;
        EXPECT_EQ(Next.Height(), E.Button) << E.Ppi;
        EXPECT_EQ(S.Open()->GetImagesWidth(), E.Picture) << E.Ppi;
        EXPECT_EQ(S.Open()->GetItemHeight(), E.ItemHeight) << E.Ppi;
        const TRect Image = S.Open()->GetItems()->GetItem(0)->GetImageRect();
        EXPECT_EQ(Image.Width(), E.Picture) << E.Ppi;
        EXPECT_EQ(Image.Top, S.Open()->GetClientRect().Top + E.Spacing) << E.Ppi;
        // The slots fit the same number of items into the doubled bar.
        EXPECT_EQ(S.Open()->GetVisibleItems(), 3) << E.Ppi;
        // The caption's text is measured with the doubled font.
        const TRect Text = S.Open()->GetItems()->GetItem(0)->GetTextRect();
        EXPECT_EQ(Text.Top, Image.Bottom + E.Picture / 16) << E.Ppi;
    }
}

TEST(FolioScaling, CaptionTextLinesGrowWithTheFont) {
    auto LineAt = [](int Ppi) {
        TScaledBar S(Ppi);
        return S.Open()->GetItems()->GetItem(0)->GetTextRect().Height();
    };
    const int Standard = LineAt(96);
    EXPECT_GT(Standard, 8);
    EXPECT_NEAR(LineAt(192), 2 * Standard, 2);
}

TEST(FolioScaling, PicturesComeFromTheSizeThatFitsTheirRoom) {
    struct TCase {
        int Ppi;
        bool Sized;
        TColor Seen;
    };
    for (const TCase C :
         {TCase{96, true, clRed}, TCase{192, true, clLime}, TCase{192, false, clRed}}) {
        TScaledBar S(C.Ppi, C.Sized);
        const TRect R = S.Open()->GetItems()->GetItem(0)->GetImageRect();
        // The whole room is covered, corner to corner, and nothing beyond.
        EXPECT_EQ(S.At(R.Left, R.Top), C.Seen) << C.Ppi << C.Sized;
        EXPECT_EQ(S.At(R.Right - 1, R.Bottom - 1), C.Seen) << C.Ppi << C.Sized;
        EXPECT_NE(S.At(R.Right, R.Bottom - 1), C.Seen) << C.Ppi << C.Sized;
    }
}

TEST(FolioScaling, FrameLinesAreAsWideAsTheScaleSays) {
    for (const int Ppi : {96, 192}) {
        TScaledBar S(Ppi);
        const int Line = Ppi / 96;
        const TRect Caption = S.Bar->GetGroups()->GetGroup(1)->GetCaptionRect();
        const int X = (Caption.Left + Caption.Right) / 2;
        const TColor Highlight = ColorToRGB(clBtnHighlight);
        const TColor Shadow = ColorToRGB(clBtnShadow);
        const TColor Face = ColorToRGB(S.Bar->GetGroups()->GetGroup(1)->GetCaptionColor());
        for (int I = 0; I < Line; ++I) {
            EXPECT_EQ(S.At(X, Caption.Top + I), Highlight) << Ppi << " " << I;
            EXPECT_EQ(S.At(X, Caption.Bottom - 1 - I), Shadow) << Ppi << " " << I;
        }
        EXPECT_EQ(S.At(X, Caption.Top + Line), Face) << Ppi;
        EXPECT_EQ(S.At(X, Caption.Bottom - 1 - Line), Face) << Ppi;

        // The hover frame around an item's picture.
        S.Bar->SetFrameHighlightColor(clYellow);
        const TRect Image = S.Open()->GetItems()->GetItem(0)->GetImageRect();
        S.Host.MoveTo(S.Bar->ClientToScreen(Point(Image.Left + 4, Image.Top + 4)));
        ASSERT_EQ(S.Bar->GetItemUnderCursor(), S.Open()->GetItems()->GetItem(0)) << Ppi;
        const int Gap = 2 * Line;
        const TColor Light = clYellow;
        for (int I = 0; I < Line; ++I)
            EXPECT_EQ(S.At(Image.Left + 8, Image.Top - Gap + I), Light) << Ppi << " " << I;
        EXPECT_NE(S.At(Image.Left + 8, Image.Top - Gap + Line), Light) << Ppi;
        // The captions painted after the frame keep their clear background.
        const TRect Text = S.Open()->GetItems()->GetItem(1)->GetTextRect();
        int Filled = 0;
        for (int Y = Text.Top; Y < Text.Bottom; ++Y)
            for (int X = Text.Left; X < Text.Right; ++X) Filled += S.At(X, Y) == Light;
        EXPECT_EQ(Filled, 0) << Ppi;
    }
}

} // namespace
