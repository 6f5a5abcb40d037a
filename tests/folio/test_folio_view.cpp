// The bar's looks drawn on plain bitmaps, without a bar: each stateless
// paint function draws what its arguments say, inside the rectangle it is
// given, and nothing else.

#include "folio/FolioView.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Rects.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

using namespace folio;

namespace {

constexpr TColor Stain = 0x13579B;

// A bitmap filled with the stain, to see which pixels a paint set.
std::unique_ptr<TBitmap> Stained(int W, int H) {
    auto B = std::make_unique<TBitmap>(W, H);
    B->GetCanvas()->GetBrush()->SetColor(Stain);
    B->GetCanvas()->FillRect(Rect(0, 0, W, H));
    return B;
}

// The number of pixels of B that differ from the stain inside R, and
// outside it.
std::pair<int, int> Painted(const TBitmap& B, const TRect& R) {
    int Inside = 0, Outside = 0;
    for (int Y = 0; Y < B.GetHeight(); ++Y)
        for (int X = 0; X < B.GetWidth(); ++X)
            if (B.GetPixel(X, Y) != Stain) ++(R.Contains(Point(X, Y)) ? Inside : Outside);
    return {Inside, Outside};
}

bool SamePixels(const TBitmap& A, const TBitmap& B) {
    for (int Y = 0; Y < A.GetHeight(); ++Y)
        for (int X = 0; X < A.GetWidth(); ++X)
            if (A.GetPixel(X, Y) != B.GetPixel(X, Y)) return false;
    return true;
}

TFolioLook PlainLook(bool Vertical) {
    TFolioLook Look;
    Look.Vertical = Vertical;
    Look.FrameHighlight = 0x00FF00;
    Look.FrameShadow = 0x0000FF;
    Look.InsertMark = 0xFF0000;
    Look.ItemSpacing = 12;
    return Look;
}

} // namespace

TEST(FolioView, AGroupBackgroundFillsItsRectangleInItsStyle) {
    TBitmap Tile(4, 4);
    Tile.GetCanvas()->GetBrush()->SetColor(0x204060);
    Tile.GetCanvas()->FillRect(Rect(0, 0, 4, 4));
    const TRect R = Rect(5, 6, 45, 36);
    struct TCase {
        const char* Name;
        TFolioBackground Background;
        bool Vertical;
        // The colours at R's first and last pixel along the gradient or the fill.
        TColor First, Last;
    };
    const TCase Cases[] = {
        {"plain colour", {gbColor, 0x336699, 0, 0, nullptr, true}, true, 0x336699, 0x336699},
        {"vertical gradient",
         {gbGradient, 0, 0x000000, 0xFFFFFF, nullptr, true},
         true,
         0x000000,
         0xFFFFFF},
        {"horizontal gradient",
         {gbGradient, 0, 0xFFFFFF, 0x000000, nullptr, true},
         false,
         0xFFFFFF,
         0x000000},
        {"picture style without a picture",
         {gbBitmap, 0x446688, 0, 0, nullptr, true},
         true,
         0x446688,
         0x446688},
        {"picture", {gbBitmap, 0x446688, 0, 0, &Tile, false}, true, 0x204060, 0x204060},
        {"system colour",
         {gbColor, clBtnFace, 0, 0, nullptr, true},
         true,
         ColorToRGB(clBtnFace),
         ColorToRGB(clBtnFace)},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto B = Stained(50, 40);
        PaintGroupBackground(B->GetCanvas(), R, C.Background, C.Vertical);
        const auto [Inside, Outside] = Painted(*B, R);
        EXPECT_EQ(Inside, R.Width() * R.Height());
        EXPECT_EQ(Outside, 0);
        EXPECT_EQ(B->GetPixel(R.Left, R.Top), C.First);
        // Along the gradient: the last row of a vertical one, the last column
        // of a horizontal one.
        const TPoint End = C.Vertical ? Point(R.Left, R.Bottom - 1) : Point(R.Right - 1, R.Top);
        EXPECT_EQ(B->GetPixel(End.X, End.Y), C.Last);
    }
}

TEST(FolioView, AScrollButtonShowsItsDirectionAndItsPress) {
    const TRect R = Rect(4, 4, 20, 20);
    for (const bool Vertical : {true, false}) {
        SCOPED_TRACE(Vertical ? "vertical" : "horizontal");
        std::unique_ptr<TBitmap> Looks[2][2];
        for (int Next = 0; Next < 2; ++Next)
            for (int Pushed = 0; Pushed < 2; ++Pushed) {
                Looks[Next][Pushed] = Stained(24, 24);
                PaintScrollButton(Looks[Next][Pushed]->GetCanvas(), R, Next, Pushed, Vertical);
                const auto [Inside, Outside] = Painted(*Looks[Next][Pushed], R);
                EXPECT_GT(Inside, 0);
                EXPECT_EQ(Outside, 0);
            }
        EXPECT_FALSE(SamePixels(*Looks[0][0], *Looks[1][0])) << "back and on look alike";
        EXPECT_FALSE(SamePixels(*Looks[0][0], *Looks[0][1])) << "a press does not show";
        EXPECT_FALSE(SamePixels(*Looks[1][0], *Looks[1][1])) << "a press does not show";
    }
}

TEST(FolioView, TheInsertMarkDrawsOnlyTheHalvesOfItsEndsThatPointIntoTheGroup) {
    // A vertical bar's client area and the gap before a slot at y 40: the
    // mark's line lies half a spacing into the gap.
    const TRect Client = Rect(0, 0, 80, 100);
    const TRect Gap = Rect(0, 40, 80, 52);
    const TFolioLook Look = PlainLook(true);
    const int B = Look.ItemSpacing / 2;
    const int Line = Gap.Top + B;
    struct TCase {
        const char* Name;
        bool First, Last;
    };
    const TCase Cases[] = {{"between items", false, false},
                           {"first position", true, false},
                           {"after the last item", false, true}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto Pic = Stained(80, 100);
        PaintInsertMark(Pic->GetCanvas(), Client, Gap, C.First, C.Last, Look);
        EXPECT_EQ(Pic->GetPixel(40, Line), Look.InsertMark);
        // The ends' triangles stand at the client area's edges, B inside.
        EXPECT_EQ(Pic->GetPixel(B, Line), Look.InsertMark);
        EXPECT_EQ(Pic->GetPixel(Client.Right - B, Line), Look.InsertMark);
        // The half above the line is drawn unless the mark is at the first
        // position, the half below unless it is after the last item.
        EXPECT_EQ(Pic->GetPixel(B, Line - B + 1) == Look.InsertMark, !C.First);
        EXPECT_EQ(Pic->GetPixel(B, Line + B - 1) == Look.InsertMark, !C.Last);
        EXPECT_EQ(Pic->GetPixel(40, Line - 2), Stain) << "the line is one pixel thick";
    }
}

TEST(FolioView, TheInsertMarkOfAHorizontalBarStandsAcrossTheGroup) {
    const TRect Client = Rect(0, 0, 100, 80);
    const TRect Gap = Rect(30, 0, 42, 80);
    const TFolioLook Look = PlainLook(false);
    const int B = Look.ItemSpacing / 2;
    auto Pic = Stained(100, 80);
    PaintInsertMark(Pic->GetCanvas(), Client, Gap, false, false, Look);
    EXPECT_EQ(Pic->GetPixel(Gap.Left + B, 40), Look.InsertMark);
    EXPECT_EQ(Pic->GetPixel(Gap.Left + B + 2, 40), Stain);
}

TEST(FolioView, AnItemFramesItsPictureOnlyWhileHoveredAndSinksItWhilePressed) {
    const TRect Image = Rect(20, 10, 52, 42);
    struct TCase {
        const char* Name;
        bool Hovered, Pressed;
        // The frame's top-left and bottom-right colours; the stain for none.
        TColor TopLeft, BottomRight;
    };
    const TFolioLook Look = PlainLook(true);
    const TCase Cases[] = {
        {"plain", false, false, Stain, Stain},
        {"hovered", true, false, Look.FrameHighlight, Look.FrameShadow},
        {"hovered and pressed", true, true, Look.FrameShadow, Look.FrameHighlight},
        // A press elsewhere does not frame an item the pointer is not on.
        {"pressed, not hovered", false, true, Stain, Stain},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto Pic = Stained(80, 80);
        TFolioItemLook Item;
        Item.ImageRect = Image;
        Item.TextRect = Rect(10, 46, 70, 60);
        Item.Hovered = C.Hovered;
        Item.Pressed = C.Pressed;
        // No image list and no caption: only the frame can show.
        Item.ShowCaption = false;
        PaintItem(Pic->GetCanvas(), "Inbox", Item, Look);
        const int G = Item.FrameGap;
        EXPECT_EQ(Pic->GetPixel(Image.Left - G, Image.Top - G), C.TopLeft);
        EXPECT_EQ(Pic->GetPixel(Image.Right + G - 1, Image.Bottom + G - 1), C.BottomRight);
        TRect Frame = Image;
        InflateRect(Frame, G, G);
        EXPECT_EQ(Painted(*Pic, Frame).second, 0);
        EXPECT_EQ(Pic->GetPixel(Image.Left + 5, Image.Top + 5), Stain) << "the picture's place";
    }
}

TEST(FolioView, ASlidingGroupShowsOnlyItsFirstPixelsAlongTheBarAtItsLead) {
    // The picture: its first row or column red, the rest blue, so that where
    // each part lands can be told.
    for (const bool Vertical : {true, false}) {
        SCOPED_TRACE(Vertical ? "vertical" : "horizontal");
        TBitmap Picture(Vertical ? 30 : 20, Vertical ? 20 : 30);
        Picture.GetCanvas()->GetBrush()->SetColor(0xFF0000);
        Picture.GetCanvas()->FillRect(Rect(0, 0, Picture.GetWidth(), Picture.GetHeight()));
        Picture.GetCanvas()->GetBrush()->SetColor(0x0000FF);
        Picture.GetCanvas()->FillRect(Vertical ? Rect(0, 0, 30, 1) : Rect(0, 0, 1, 30));
        auto Pic = Stained(40, 40);
        const int Lead = 7, Shown = 12;
        PaintSlidingGroup(Pic->GetCanvas(), &Picture, Lead, Shown, Vertical);
        const TRect Copied =
            Vertical ? Rect(0, Lead, 30, Lead + Shown) : Rect(Lead, 0, Lead + Shown, 30);
        const auto [Inside, Outside] = Painted(*Pic, Copied);
        EXPECT_EQ(Inside, Copied.Width() * Copied.Height());
        EXPECT_EQ(Outside, 0);
        EXPECT_EQ(Vertical ? Pic->GetPixel(3, Lead) : Pic->GetPixel(Lead, 3), 0x0000FF);
        EXPECT_EQ(Vertical ? Pic->GetPixel(3, Lead + 1) : Pic->GetPixel(Lead + 1, 3), 0xFF0000);
    }
    // No picture, or an empty one, draws nothing.
    auto Pic = Stained(10, 10);
    TBitmap Empty;
    PaintSlidingGroup(Pic->GetCanvas(), nullptr, 0, 10, true);
    PaintSlidingGroup(Pic->GetCanvas(), &Empty, 0, 10, true);
    EXPECT_EQ(Painted(*Pic, Rect(0, 0, 0, 0)).second, 0);
}

TEST(FolioView, ACaptionLooksDifferentInEachStateAndStaysInItsRectangle) {
    TFont Font;
    // A horizontal bar writes its captions upwards with the font turned a quarter.
    TLogFont Turned = Font.GetLogFont();
    Turned.Escapement = 900;
    Turned.Orientation = 900;
    TFont Rotated;
    Rotated.Assign(&Font);
    Rotated.SetHandle(CreateFontIndirect(Turned));
    for (const bool Vertical : {true, false}) {
        SCOPED_TRACE(Vertical ? "vertical" : "horizontal");
        TFolioLook Look = PlainLook(Vertical);
        Look.GroupsFont = &Font;
        Look.RotatedFont = &Rotated;
        const TRect R = Vertical ? Rect(2, 2, 98, 24) : Rect(2, 2, 24, 98);
        std::unique_ptr<TBitmap> Looks[3];
        const TFolGroupState States[] = {gsNormal, gsOver, gsPressed};
        for (int S = 0; S < 3; ++S) {
            Looks[S] = Stained(100, 100);
            PaintGroupCaption(Looks[S]->GetCanvas(), R, "Mail", clBtnFace, States[S], Look);
            const auto [Inside, Outside] = Painted(*Looks[S], R);
            EXPECT_EQ(Inside, R.Width() * R.Height()) << "the face is filled";
            // The hovered look's outer line starts at the caption's right
            // edge on its top row, the one pixel it sets outside.
            const bool Over = States[S] == gsOver;
            EXPECT_EQ(Outside, Over ? 1 : 0);
            EXPECT_EQ(Looks[S]->GetPixel(R.Right, R.Top) != Stain, Over);
        }
        EXPECT_FALSE(SamePixels(*Looks[0], *Looks[1]));
        EXPECT_FALSE(SamePixels(*Looks[1], *Looks[2]));
        EXPECT_FALSE(SamePixels(*Looks[0], *Looks[2]));
    }
}
