#include "framework/gfx/FontEngine.h"

#include "TextTestSurface.h"

#include <gtest/gtest.h>

#include <vector>

using namespace folio;

namespace {

using test::Black;
using test::White;
using TSurface = test::TTextSurface;

const TFontFace& DefaultFace() {
    static const HFONT Face = [] {
        TLogFont L;
        L.FaceName = "MS Sans Serif";
        L.Height = -11;
        return CreateFontIndirect(L);
    }();
    return *Face;
}

int CalcHeight(String Text, int Width, unsigned Format) {
    TRect R{0, 0, Width, 0};
    TSurface S(1, 1);
    return DrawTextOn(S.View, S.Whole(), DefaultFace(), Black, nullptr, Text, R,
                      Format | DT_CALCRECT);
}

const String Paragraph = "The quick brown fox jumps over the lazy dog near the river bank";

} // namespace

TEST(DrawText, CalcRectMeasuresWithoutDrawing) {
    const TFontFace& F = DefaultFace();
    TSurface S(200, 50);
    String Text = "Shortcut";
    TRect R{10, 10, 10, 10};
    const int H =
        DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(H, F.Metrics().tmHeight);
    EXPECT_EQ(R, (TRect{10, 10, 10 + F.TextWidth("Shortcut"), 10 + H}));
    EXPECT_TRUE(S.Ink().IsEmpty());

    String Empty;
    TRect E{5, 5, 50, 50};
    EXPECT_EQ(DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Empty, E, DT_CALCRECT), 0);
    EXPECT_EQ(E, (TRect{5, 5, 5, 5}));
}

TEST(DrawText, WrappedHeightGrowsAsTheWidthShrinks) {
    const int Line = DefaultFace().Metrics().tmHeight;
    int Previous = 0;
    for (int Width : {1000, 200, 120, 80, 50}) {
        const int H = CalcHeight(Paragraph, Width, DT_WORDBREAK);
        EXPECT_GE(H, Previous) << Width;
        EXPECT_EQ(H % Line, 0);
        Previous = H;
    }
    EXPECT_EQ(CalcHeight(Paragraph, 1000, DT_WORDBREAK), Line);
    EXPECT_GT(CalcHeight(Paragraph, 50, DT_WORDBREAK), 4 * Line);
    // Wrapped lines never exceed the width unless one word does.
    TRect R{0, 0, 80, 0};
    String Text = Paragraph;
    TSurface S(1, 1);
    DrawTextOn(S.View, S.Whole(), DefaultFace(), Black, nullptr, Text, R,
               DT_CALCRECT | DT_WORDBREAK);
    EXPECT_LE(R.Width(), 80);
    // A single word wider than the line stays whole, or breaks with the edit control flag.
    EXPECT_EQ(CalcHeight("Unbreakableword", 20, DT_WORDBREAK), Line);
    EXPECT_GT(CalcHeight("Unbreakableword", 20, DT_WORDBREAK | DT_EDITCONTROL), Line);
    // Explicit line breaks count without word breaking; a single line ignores them.
    EXPECT_EQ(CalcHeight("one\r\ntwo\nthree", 1000, 0), 3 * Line);
    EXPECT_EQ(CalcHeight("one\r\ntwo\nthree", 1000, DT_SINGLELINE), Line);
}

TEST(DrawText, EndEllipsisShortensAndWritesBack) {
    const TFontFace& F = DefaultFace();
    TSurface S(200, 30);
    const int Width = F.TextWidth("The quick br");
    String Text = Paragraph;
    TRect R{0, 0, Width, 20};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_EQ(Text, Paragraph); // without DT_MODIFYSTRING the caller's text stays
    EXPECT_LE(S.Ink().Right, Width);

    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R,
               DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    ASSERT_GT(Text.size(), 3u);
    EXPECT_EQ(Text.substr(Text.size() - 3), "...");
    EXPECT_EQ(Paragraph.compare(0, Text.size() - 3, Text, 0, Text.size() - 3), 0);
    EXPECT_LE(F.TextWidth(Text), Width);
    EXPECT_GT(F.TextWidth(Text), Width - F.TextWidth("W...") - 1);

    // Text that fits is left alone.
    String Fits = "Bar";
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Fits, R,
               DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(Fits, "Bar");

    // Shortening never splits a UTF-8 sequence, and prefixes are kept intact.
    String Accents =
        "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    TRect Narrow{0, 0, F.TextWidth("\xC3\xA9\xC3\xA9\xC3\xA9..."), 20};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Accents, Narrow,
               DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(Accents, "\xC3\xA9\xC3\xA9\xC3\xA9...");
    String Prefixed = "&Open the file now";
    TRect P{0, 0, F.TextWidth("Open..."), 20};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Prefixed, P,
               DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(Prefixed, "&Open...");
}

TEST(DrawText, SingleLineVerticalCentringAndAlignment) {
    const TFontFace& F = DefaultFace();
    const TTextMetric& M = F.Metrics();
    TSurface S(200, 60);
    String Text = "HHHH";
    TRect R{0, 0, 200, 60};
    const int Bottom = DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R,
                                  DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    EXPECT_EQ(Bottom, (60 - M.tmHeight) / 2 + M.tmHeight);
    const TRect Ink = S.Ink();
    ASSERT_FALSE(Ink.IsEmpty());
    // Capitals sit above the descent, so their centre is within two pixels of the rectangle's.
    EXPECT_NEAR((Ink.Top + Ink.Bottom) / 2.0, 30.0, 2.0);
    EXPECT_NEAR((Ink.Left + Ink.Right) / 2.0, 100.0, 2.0);

    TSurface B(200, 60);
    DrawTextOn(B.View, B.Whole(), F, Black, nullptr, Text, R, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
    const TRect BI = B.Ink();
    EXPECT_LE(BI.Bottom, 60);
    EXPECT_GE(BI.Bottom, 60 - M.tmDescent - 1);
    EXPECT_GE(BI.Right, 200 - 2);
}

TEST(DrawText, PrefixesUnderlineOrPassThrough) {
    const TFontFace& F = DefaultFace();
    TSurface S(100, 20);
    String Text = "&File";
    TRect R{0, 0, 100, 20};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R, DT_SINGLELINE);
    const int Row = F.UnderlineTop();
    // The underline spans the F and stops before the i.
    EXPECT_EQ(S.At(1, Row), Black);
    EXPECT_EQ(S.At(F.TextWidth("Fi") - 1, Row), White);

    String Amp = "A&&B";
    TRect C{0, 0, 0, 0};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Amp, C, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(C.Width(), F.TextWidth("A&B"));
    String Raw = "A&&B";
    TRect D{0, 0, 0, 0};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Raw, D,
               DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(D.Width(), F.TextWidth("A&&B"));
    // A lone trailing ampersand draws nothing and reads nothing beyond the text.
    String Lone = "Edit&";
    TRect E{0, 0, 0, 0};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Lone, E, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(E.Width(), F.TextWidth("Edit"));
}

TEST(DrawText, ClippingAndOpaqueBackground) {
    const TFontFace& F = DefaultFace();
    TSurface S(100, 30);
    String Text = "Clipped text here";
    TRect R{10, 5, 40, 25};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R, DT_SINGLELINE);
    const TRect Ink = S.Ink();
    EXPECT_GE(Ink.Left, 10);
    EXPECT_LE(Ink.Right, 40);

    TSurface N(100, 30);
    DrawTextOn(N.View, N.Whole(), F, Black, nullptr, Text, R, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(N.Ink().Right, 40);

    TSurface B(100, 30);
    const TPixel Blue = 0xFF0000FFu;
    DrawTextOn(B.View, B.Whole(), F, Black, &Blue, Text, R, DT_SINGLELINE | DT_NOCLIP);
    // The background covers the whole line cell, under the glyphs.
    EXPECT_EQ(B.At(10, 5), Blue);
    EXPECT_EQ(B.At(10 + F.TextWidth(Text) - 1, 5 + F.Metrics().tmHeight - 1), Blue);
    EXPECT_EQ(B.At(10, 5 + F.Metrics().tmHeight), White);
}

TEST(DrawText, ExpandTabsAndEditControlLastLine) {
    const TFontFace& F = DefaultFace();
    const int Tab = 8 * F.Metrics().tmAveCharWidth;
    TRect R{0, 0, 0, 0};
    String Text = "a\tb";
    TSurface S(1, 1);
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R,
               DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(R.Width(), Tab + F.TextWidth("b"));

    // Three lines in a rectangle two and a half lines tall: the edit control
    // flag leaves out the partly visible third one.
    const int Line = F.Metrics().tmHeight;
    String Lines = "one\ntwo\nthree";
    TSurface A(100, 60), B(100, 60);
    TRect Box{0, 0, 100, Line * 5 / 2};
    DrawTextOn(A.View, A.Whole(), F, Black, nullptr, Lines, Box, 0);
    DrawTextOn(B.View, B.Whole(), F, Black, nullptr, Lines, Box, DT_EDITCONTROL);
    EXPECT_GT(A.Ink().Bottom, 2 * Line);
    EXPECT_LE(B.Ink().Bottom, 2 * Line);
}

TEST(DrawText, EditControlEllipsisEndsTheLastWholeLine) {
    const TFontFace& F = DefaultFace();
    const int Line = F.Metrics().tmHeight;
    const unsigned Format =
        DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS;
    TSurface S(100, 60);
    String Text = Paragraph;
    TRect R{0, 0, 80, 2 * Line + Line / 2};
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Text, R, Format | DT_MODIFYSTRING);
    EXPECT_LE(S.Ink().Bottom, 2 * Line);
    ASSERT_GT(Text.size(), 3u);
    EXPECT_EQ(Text.substr(Text.size() - 3), "...");
    EXPECT_LT(Text.size(), Paragraph.size());
    // What was written back is what two lines show: measured again, it wraps to two lines.
    EXPECT_EQ(CalcHeight(Text, 80, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX), 2 * Line);

    // Text that fits keeps every character.
    String Short = "Inbox";
    DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Short, R, Format | DT_MODIFYSTRING);
    EXPECT_EQ(Short, "Inbox");
}

TEST(DrawText, ArbitraryTextAndFlagsStayInBounds) {
    // Random mixes of prefixes, tabs, line breaks, multi-byte and malformed
    // sequences, rectangles and flags: nothing may read or write out of
    // bounds, and measuring must agree with the line height.
    const TFontFace& F = DefaultFace();
    const int Line = F.Metrics().tmHeight;
    const char* const Pieces[] = {"&",    "&&",   "\t", "\r\n",     "\n",           " ",
                                  "  ",   "word", "W",  "\xC3\xA9", "\xE2\x98\x83", "\xE2\x82",
                                  "\xFF", "...",  "x"};
    const unsigned Flags[] = {DT_CENTER,    DT_RIGHT,       DT_VCENTER,      DT_BOTTOM,
                              DT_WORDBREAK, DT_SINGLELINE,  DT_EXPANDTABS,   DT_NOCLIP,
                              DT_NOPREFIX,  DT_EDITCONTROL, DT_END_ELLIPSIS, DT_MODIFYSTRING,
                              DT_RTLREADING};
    std::uint32_t Seed = 12345;
    auto Next = [&Seed](std::uint32_t Range) {
        Seed = Seed * 1664525u + 1013904223u;
        return (Seed >> 8) % Range;
    };
    TSurface S(64, 48);
    for (int Round = 0; Round < 1500; ++Round) {
        String Text;
        const int Count = static_cast<int>(Next(12));
        for (int K = 0; K < Count; ++K) Text += Pieces[Next(std::size(Pieces))];
        unsigned Format = 0;
        for (unsigned Flag : Flags)
            if (Next(3) == 0) Format |= Flag;
        const int L = static_cast<int>(Next(80)) - 8, T = static_cast<int>(Next(60)) - 8;
        TRect R{L, T, L + static_cast<int>(Next(70)) - 4, T + static_cast<int>(Next(50)) - 4};
        const TPixel Back = 0xFF808080u;
        String Drawn = Text;
        TRect DrawRect = R;
        DrawTextOn(S.View, S.Whole(), F, Black, Next(2) ? &Back : nullptr, Drawn, DrawRect, Format);
        EXPECT_EQ(DrawRect, R);
        if (!(Format & DT_MODIFYSTRING)) {
            EXPECT_EQ(Drawn, Text);
        }

        String Measured = Text;
        TRect M = R;
        const int H =
            DrawTextOn(S.View, S.Whole(), F, Black, nullptr, Measured, M, Format | DT_CALCRECT);
        EXPECT_EQ(H % Line, 0) << Text;
        EXPECT_EQ(M.Bottom - M.Top, H);
        EXPECT_GE(M.Right, M.Left);
    }
}
