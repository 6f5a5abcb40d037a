#include "framework/gfx/Colors.h"
#include "framework/gfx/Rects.h"
#include "framework/gfx/SystemMetrics.h"

#include <gtest/gtest.h>

using namespace folio;

TEST(Colors, SystemColoursResolveThroughTheFixedTable) {
    EXPECT_EQ(clBtnFace, static_cast<TColor>(0x8000000F));
    EXPECT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x808080);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x000000);
    EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0x000000);
    EXPECT_EQ(ColorToRGB(clGreen), 0x008000);
    EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack); // beyond the table
    EXPECT_EQ(ColorToRGB(0x02123456), 0x123456);
}

TEST(Colors, DefaultPaletteHasTwentyStaticColours) {
    TPaletteEntry E[20];
    EXPECT_EQ(GetPaletteEntries(0, 20, E), 20);
    EXPECT_EQ(E[1].peRed, 0x80);
    EXPECT_EQ(E[1].peGreen, 0);
    EXPECT_EQ(E[7].peRed, 0xC0);
    EXPECT_EQ(E[12].peRed, 0x80); // the bright half starts with grey
    EXPECT_EQ(E[13].peRed, 0xFF);
    EXPECT_EQ(E[19].peBlue, 0xFF);
    EXPECT_EQ(E[0].peFlags, 0);
    TPaletteEntry Tail[5];
    EXPECT_EQ(GetPaletteEntries(18, 5, Tail), 2);
    EXPECT_EQ(GetPaletteEntries(20, 1, Tail), 0);
    TPaletteEntry Via[20];
    EXPECT_EQ(GetPaletteEntries(GetStockObject(DEFAULT_PALETTE), 0, 20, Via), 20);
    EXPECT_EQ(Via[13].peRed, 0xFF);
    EXPECT_EQ(GetPaletteEntries(GetStockObject(0), 0, 20, Via), 0);
}

TEST(Rects, HelpersFollowThePlatform) {
    TRect R = Rect(1, 2, 5, 6);
    InflateRect(R, 1, 2);
    EXPECT_EQ(R, Rect(0, 0, 6, 8));
    OffsetRect(R, 3, -1);
    EXPECT_EQ(R, Rect(3, -1, 9, 7));
    TRect I;
    EXPECT_TRUE(IntersectRect(I, Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)));
    EXPECT_EQ(I, Rect(5, 5, 10, 10));
    EXPECT_FALSE(IntersectRect(I, Rect(0, 0, 5, 5), Rect(5, 0, 10, 5)));
    EXPECT_TRUE(IsRectEmpty(I));
    TRect U;
    EXPECT_TRUE(UnionRect(U, Rect(0, 0, 2, 2), Rect(5, 5, 6, 9)));
    EXPECT_EQ(U, Rect(0, 0, 6, 9));
    EXPECT_TRUE(UnionRect(U, TRect{}, Rect(1, 1, 2, 2)));
    EXPECT_EQ(U, Rect(1, 1, 2, 2));
    EXPECT_TRUE(PtInRect(Rect(0, 0, 2, 2), Point(1, 1)));
    EXPECT_FALSE(PtInRect(Rect(0, 0, 2, 2), Point(2, 1)));
    EXPECT_TRUE(EqualRect(Rect(1, 2, 3, 4), Rect(1, 2, 3, 4)));
}

TEST(Rects, SystemMetrics) {
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CXDRAG), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CYDRAG), 4);
    EXPECT_EQ(GetSystemMetrics(SM_CXEDGE), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), 1);
    EXPECT_EQ(GetSystemMetrics(9999), 0);
}
