#include "framework/core/Exceptions.h"
#include "framework/gfx/Font.h"
#include "framework/gfx/FontEngine.h"

#include "TextTestSurface.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <thread>
#include <vector>

using namespace folio;

namespace {

using test::Black;
using test::White;
using TTestSurface = test::TTextSurface;

TLogFont Log(const String& Name, int Height, bool Bold = false, int Escapement = 0) {
    TLogFont L;
    L.FaceName = Name;
    L.Height = Height;
    L.Weight = Bold ? FW_BOLD : FW_NORMAL;
    L.Escapement = Escapement;
    return L;
}

bool EndsWith(const String& S, const String& Tail) {
    return S.size() >= Tail.size() && S.compare(S.size() - Tail.size(), Tail.size(), Tail) == 0;
}

} // namespace

TEST(FontResolve, ClassicUiNamesLoadLiberationSansByStyle) {
    TFont Font;
    EXPECT_EQ(Font.GetName(), "MS Sans Serif");
    EXPECT_EQ(Font.GetHeight(), -11);
    EXPECT_TRUE(EndsWith(Font.GetHandle()->FileName(), "LiberationSans-Regular.ttf"))
        << Font.GetHandle()->FileName();
    Font.SetStyle({fsBold});
    EXPECT_TRUE(EndsWith(Font.GetHandle()->FileName(), "LiberationSans-Bold.ttf"));
    Font.SetStyle({fsBold, fsItalic});
    EXPECT_TRUE(EndsWith(Font.GetHandle()->FileName(), "LiberationSans-BoldItalic.ttf"));
    for (const char* Name : {"Tahoma", "arial", "Segoe UI", "System", "MS Shell Dlg"})
        EXPECT_TRUE(
            EndsWith(CreateFontIndirect(Log(Name, -11))->FileName(), "LiberationSans-Regular.ttf"))
            << Name;
}

TEST(FontResolve, FacesAreResolvedOnceAndShared) {
    const HFONT A = CreateFontIndirect(Log("Arial", -13));
    const HFONT B = CreateFontIndirect(Log("Arial", -13));
    EXPECT_EQ(A, B);
    EXPECT_NE(A, CreateFontIndirect(Log("Arial", -13, false, 900)));
    TFont Font;
    const HFONT& H = Font.GetHandle();
    EXPECT_EQ(H, Font.GetHandle());
    // An unknown name goes to the system's matcher and still yields a face.
    EXPECT_FALSE(CreateFontIndirect(Log("No Such Family Anywhere", -12))->FileName().empty());
}

TEST(FontMetrics, HeightConventionsAndGrowth) {
    const HFONT Em = CreateFontIndirect(Log("MS Sans Serif", -11));
    const TTextMetric& M = Em->Metrics();
    EXPECT_EQ(M.tmHeight, M.tmAscent + M.tmDescent);
    EXPECT_EQ(M.tmHeight - M.tmInternalLeading, 11);
    EXPECT_GT(M.tmAveCharWidth, 0);
    EXPECT_GE(M.tmMaxCharWidth, M.tmAveCharWidth);
    // A positive height is the cell height.
    for (int Cell : {10, 13, 16, 20, 32})
        EXPECT_EQ(CreateFontIndirect(Log("Arial", Cell))->Metrics().tmHeight, Cell) << Cell;
    const HFONT Big = CreateFontIndirect(Log("MS Sans Serif", -22));
    EXPECT_GT(Big->Metrics().tmHeight, M.tmHeight);

    const TSize Short = Em->TextExtent("Folio");
    const TSize Long = Em->TextExtent("Folio shortcut bar");
    EXPECT_EQ(Short.cy, M.tmHeight);
    EXPECT_GT(Short.cx, 0);
    EXPECT_GT(Long.cx, Short.cx);
    EXPECT_EQ(Em->TextExtent("").cx, 0);
    EXPECT_GT(Big->TextWidth("Folio"), Short.cx);
    EXPECT_GT(CreateFontIndirect(Log("MS Sans Serif", -11, true))->TextWidth("Folio shortcut bar"),
              Long.cx);
}

TEST(FontMetrics, MalformedUtf8NeverOverrunsOrHangs) {
    const HFONT F = CreateFontIndirect(Log("MS Sans Serif", -11));
    const char Bad[] = {'\xE2', '\x82', 'A', '\xFF', '\xC0', '\xAF', '\xF0', '\x9F'};
    EXPECT_GT(F->TextWidth(std::string_view(Bad, sizeof Bad)), 0);
    EXPECT_GT(F->TextWidth("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"), 0); // "ete EUR" with accents
    TTestSurface S(60, 20);
    F->DrawString(S.View, S.Whole(), 2, 2, std::string_view(Bad, sizeof Bad), Black);
    // Absurd heights are drawn at a bounded size instead of allocating without limit.
    for (int Height : {-1000000, 1000000, INT_MIN, INT_MAX, 0, 1, -1}) {
        const TTextMetric& M = CreateFontIndirect(Log("Arial", Height))->Metrics();
        EXPECT_LE(M.tmHeight, 2000) << Height;
        EXPECT_GE(M.tmHeight, 1) << Height;
    }
}

TEST(FontDraw, UprightTextStaysInItsCellAndClip) {
    const HFONT F = CreateFontIndirect(Log("MS Sans Serif", -11));
    const TTextMetric& M = F->Metrics();
    TTestSurface S(120, 40);
    const String Text = "Hello, World";
    F->DrawString(S.View, S.Whole(), 10, 5, Text, Black);
    const TRect Ink = S.Ink();
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_GE(Ink.Left, 10);
    EXPECT_GE(Ink.Top, 5);
    EXPECT_LE(Ink.Bottom, 5 + M.tmHeight);
    EXPECT_LE(Ink.Right, 10 + F->TextWidth(Text) + 1);

    // Anti-aliased edges blend each channel on its own: red over white keeps
    // red at full and green equal to blue, with some partial coverage.
    TTestSurface Red(120, 40);
    F->DrawString(Red.View, Red.Whole(), 10, 5, Text, 0xFFFF0000u);
    bool Partial = false;
    for (TPixel P : Red.Pixels) {
        EXPECT_EQ(P >> 16, 0xFFFFu);
        EXPECT_EQ((P >> 8) & 0xFF, P & 0xFF);
        Partial = Partial || ((P & 0xFF) != 0 && (P & 0xFF) != 0xFF);
    }
    EXPECT_TRUE(Partial);

    // Clipped drawing touches nothing outside the clip, even off the surface.
    TTestSurface C(120, 40);
    F->DrawString(C.View, TRect{14, 0, 30, 40}, 10, 5, Text, Black);
    const TRect Clipped = C.Ink();
    EXPECT_GE(Clipped.Left, 14);
    EXPECT_LE(Clipped.Right, 30);
    F->DrawString(C.View, C.Whole(), -50, -5, Text, Black);
    F->DrawString(C.View, TRect{-100, -100, 1000, 1000}, 110, 35, Text, Black);
}

// A font's quality decides its glyph edges: bi-level without anti-aliasing,
// so that every pixel is the text colour or untouched, upright or turned;
// blended otherwise. The quality travels with the font object.
TEST(FontDraw, NonAntialiasedQualityDrawsEveryPixelWhollyOrNotAtAll) {
    struct TCase {
        int Quality;
        int Escapement;
        bool BiLevel;
    };
    for (const TCase C :
         {TCase{NONANTIALIASED_QUALITY, 0, true}, TCase{NONANTIALIASED_QUALITY, 900, true},
          TCase{DEFAULT_QUALITY, 0, false}, TCase{ANTIALIASED_QUALITY, 0, false}}) {
        SCOPED_TRACE(testing::Message() << "quality " << C.Quality << ", " << C.Escapement);
        TLogFont L = Log("MS Sans Serif", -13, false, C.Escapement);
        L.Quality = C.Quality;
        const HFONT F = CreateFontIndirect(L);
        TTestSurface S(120, 120);
        F->DrawString(S.View, S.Whole(), 10, C.Escapement ? 110 : 10, "Quality 58%", Black);
        int Ink = 0, Partial = 0;
        for (TPixel P : S.Pixels) {
            if (P != White) ++Ink;
            if (P != White && P != Black) ++Partial;
        }
        EXPECT_GT(Ink, 20);
        EXPECT_EQ(Partial == 0, C.BiLevel) << Partial << " partly covered pixels";
    }

    TFont Font;
    int Changes = 0;
    Font.OnChange = [&](TObject*) { ++Changes; };
    const HFONT Blended = Font.GetHandle();
    Font.SetQuality(fqNonAntialiased);
    Font.SetQuality(fqNonAntialiased);
    EXPECT_EQ(Changes, 1);
    EXPECT_NE(Font.GetHandle(), Blended);
    EXPECT_EQ(Font.GetHandle()->LogFont().Quality, NONANTIALIASED_QUALITY);
    TFont Copy;
    Copy.Assign(&Font);
    EXPECT_EQ(Copy.GetQuality(), fqNonAntialiased);
    const TClassInfo& Info = TFont::StaticClassInfo();
    ASSERT_NE(Info.FindProperty("Quality"), nullptr);
    EXPECT_FALSE(Info.FindProperty("Quality")->HasDefaultValue(Font));
    EXPECT_TRUE(Info.FindProperty("Quality")->HasDefaultValue(TFont()));
}

TEST(FontDraw, RotatedTextCoversTheTurnedCell) {
    const HFONT F = CreateFontIndirect(Log("MS Sans Serif", -11, false, 900));
    EXPECT_EQ(F->Escapement(), 900);
    const TTextMetric& M = F->Metrics();
    const String Text = "Vertical";
    const int W = F->TextWidth(Text);
    TTestSurface S(40, 100);
    F->DrawString(S.View, S.Whole(), 10, 80, Text, Black);
    const TRect Ink = S.Ink();
    ASSERT_FALSE(Ink.IsEmpty());
    EXPECT_GE(Ink.Left, 10);
    EXPECT_LE(Ink.Right, 10 + M.tmHeight);
    EXPECT_GE(Ink.Top, 80 - W - 1);
    EXPECT_LE(Ink.Bottom, 80);
    // Reading bottom to top: the ink is taller than wide.
    EXPECT_GT(Ink.Height(), Ink.Width());

    // Other escapements draw at the nearest quarter turn, each in its turned cell.
    struct TCase {
        int Escapement;
        TRect Cell; // relative to the origin, for text width W and cell height H
    };
    const int H = M.tmHeight;
    for (const TCase& Case : {TCase{1800, TRect{-W, -H, 0, 0}}, TCase{2700, TRect{-H, 0, 0, W}},
                              TCase{-900, TRect{-H, 0, 0, W}}, TCase{870, TRect{0, -W, H, 0}}}) {
        const HFONT T = CreateFontIndirect(Log("MS Sans Serif", -11, false, Case.Escapement));
        TTestSurface P(120, 120);
        T->DrawString(P.View, P.Whole(), 60, 60, Text, Black);
        const TRect I = P.Ink();
        ASSERT_FALSE(I.IsEmpty()) << Case.Escapement;
        EXPECT_GE(I.Left, 60 + Case.Cell.Left - 1) << Case.Escapement;
        EXPECT_LE(I.Right, 60 + Case.Cell.Right + 1) << Case.Escapement;
        EXPECT_GE(I.Top, 60 + Case.Cell.Top - 1) << Case.Escapement;
        EXPECT_LE(I.Bottom, 60 + Case.Cell.Bottom + 1) << Case.Escapement;
    }
}

TEST(FontDraw, UnderlineAndStrikeOutAddInk) {
    TLogFont L = Log("MS Sans Serif", -11);
    const HFONT Plain = CreateFontIndirect(L);
    L.Underline = true;
    const HFONT Under = CreateFontIndirect(L);
    TTestSurface A(80, 20), B(80, 20);
    Plain->DrawString(A.View, A.Whole(), 2, 2, "a b", Black);
    Under->DrawString(B.View, B.Whole(), 2, 2, "a b", Black);
    // The underline runs under the space too and stays inside the cell.
    const int Row = 2 + Under->UnderlineTop();
    EXPECT_LT(Under->UnderlineTop() + Under->LineThickness(), Under->Metrics().tmHeight + 1);
    const int SpaceX = 2 + Under->TextWidth("a") + 1;
    EXPECT_EQ(A.At(SpaceX, Row), White);
    EXPECT_EQ(B.At(SpaceX, Row), Black);
}

TEST(TFontObject, SettersFireOnChangeOnlyOnChange) {
    TFont Font;
    int Changes = 0;
    Font.OnChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &Font);
        ++Changes;
    };
    Font.SetHeight(-11);
    Font.SetName("MS Sans Serif");
    EXPECT_EQ(Changes, 0);
    const HFONT Before = Font.GetHandle();
    Font.SetColor(0x0000FF);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Font.GetHandle(), Before); // colour does not change the face
    Font.SetSize(12);
    EXPECT_EQ(Changes, 2);
    EXPECT_EQ(Font.GetHeight(), -16);
    EXPECT_EQ(Font.GetSize(), 12);
    EXPECT_NE(Font.GetHandle(), Before);
    Font.SetHeight(-11);
    EXPECT_EQ(Font.GetSize(), 8);
    Font.SetStyle({fsUnderline});
    Font.SetCharset(ANSI_CHARSET);
    EXPECT_EQ(Changes, 5);
    EXPECT_EQ(Font.GetPixelsPerInch(), 96);
}

TEST(TFontObject, PointsTakeTheScreensResolutionWhenTheFontIsMade) {
    struct TRestore {
        ~TRestore() { SetScreenPixelsPerInch(96); }
    } Restore;
    TFont Standard;
    SetScreenPixelsPerInch(192);
    TFont Dense;
    EXPECT_EQ(Standard.GetPixelsPerInch(), 96);
    EXPECT_EQ(Dense.GetPixelsPerInch(), 192);
    // A size in points takes twice the pixels; a height in pixels stays.
    for (int Points : {8, 9, 10, 12}) {
        Standard.SetSize(Points);
        Dense.SetSize(Points);
        EXPECT_EQ(Dense.GetHeight(), -static_cast<int>(std::lround(Points * 192 / 72.0))) << Points;
        EXPECT_EQ(Dense.GetSize(), Points);
        EXPECT_NEAR(Dense.GetHeight(), 2 * Standard.GetHeight(), 1) << Points;
        // The glyphs are as big as the pixel height says.
        const TTextMetric& M = Dense.GetHandle()->Metrics();
        EXPECT_EQ(M.tmHeight - M.tmInternalLeading, -Dense.GetHeight()) << Points;
        EXPECT_GT(Dense.GetHandle()->TextWidth("Folio"),
                  Standard.GetHandle()->TextWidth("Folio") * 3 / 2)
            << Points;
    }
    Dense.SetHeight(-11);
    EXPECT_EQ(Dense.GetSize(), 4);
    // Copies keep the resolution their size is meant for.
    Standard.Assign(&Dense);
    EXPECT_EQ(Standard.GetPixelsPerInch(), 192);
    Standard.SetPixelsPerInch(0);
    EXPECT_EQ(Standard.GetPixelsPerInch(), 192);
    SetScreenPixelsPerInch(0);
    EXPECT_EQ(GetScreenPixelsPerInch(), 192);
}

TEST(TFontObject, AssignCopiesEverythingAndNotifies) {
    TFont A, B;
    A.SetName("Arial");
    A.SetHeight(-20);
    A.SetStyle({fsBold, fsStrikeOut});
    A.SetColor(0x123456);
    int Changes = 0;
    B.OnChange = [&](TObject*) { ++Changes; };
    B.Assign(&A);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(B.GetName(), "Arial");
    EXPECT_EQ(B.GetHeight(), -20);
    EXPECT_EQ(B.GetStyle(), (TFontStyles{fsBold, fsStrikeOut}));
    EXPECT_EQ(B.GetColor(), 0x123456);
    EXPECT_EQ(B.GetHandle(), A.GetHandle());
    EXPECT_EQ(B.GetHandle()->LogFont().Weight, FW_BOLD);

    // Assigning an unrelated persistent raises instead of copying nonsense.
    TPersistent Other;
    EXPECT_THROW(B.Assign(&Other), EConvertError);
}

TEST(TFontObject, SetHandleAdoptsARotatedFace) {
    TFont Font;
    Font.SetStyle({fsBold});
    TLogFont L = Font.GetLogFont();
    L.Escapement = 900;
    L.Orientation = 900;
    L.Height = -15;
    int Changes = 0;
    Font.OnChange = [&](TObject*) { ++Changes; };
    const HFONT Rotated = CreateFontIndirect(L);
    Font.SetHandle(Rotated);
    EXPECT_EQ(Changes, 1);
    EXPECT_EQ(Font.GetHandle(), Rotated);
    EXPECT_EQ(Font.GetHeight(), -15);
    EXPECT_TRUE(Font.GetStyle().Contains(fsBold));
    // A later change rebuilds the face and keeps the escapement.
    Font.SetHeight(-20);
    EXPECT_EQ(Font.GetHandle()->Escapement(), 900);
}

TEST(TFontObject, PublishedProperties) {
    const TClassInfo& Info = TFont::StaticClassInfo();
    for (const char* Name : {"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"})
        EXPECT_NE(Info.FindProperty(Name), nullptr) << Name;
    TFont Font;
    EXPECT_TRUE(Info.FindProperty("Color")->HasDefaultValue(Font));
    EXPECT_EQ(Info.FindProperty("Color")->GetOrd(Font), static_cast<TColor>(0x80000008u));
}

TEST(FontResolve, MissingGlyphsComeFromTheFallbackFace) {
    const HFONT Ui = CreateFontIndirect(Log("MS Sans Serif", -11));
    const HFONT Fallback = CreateFontIndirect(Log("DejaVu Sans", -11));
    ASSERT_TRUE(EndsWith(Fallback->FileName(), "DejaVuSans.ttf"));
    // The snowman is not in the interface face but is in the fallback.
    EXPECT_EQ(Ui->TextWidth("\xE2\x98\x83"), Fallback->TextWidth("\xE2\x98\x83"));
    TTestSurface S(30, 20);
    Ui->DrawString(S.View, S.Whole(), 2, 2, "\xE2\x98\x83", Black);
    EXPECT_FALSE(S.Ink().IsEmpty());
}

TEST(FontDraw, ConcurrentResolutionAndDrawingAgree) {
    // Every thread resolves the same fonts and draws the same strings while
    // the glyph caches are still cold; all must produce the same pixels.
    const std::vector<int> Heights = {-9, -10, -12, -14, -17, -19};
    auto Render = [&](std::vector<TPixel>& Out) {
        TTestSurface S(200, 30);
        for (int H : Heights) {
            const HFONT F = CreateFontIndirect(Log("Helvetica", H, H % 2 == 0));
            F->DrawString(S.View, S.Whole(), 1, 1, "Concurrent \xC3\xA9 \xE2\x98\x83 glyphs 0123",
                          Black);
        }
        Out = S.Pixels;
    };
    std::vector<std::vector<TPixel>> Results(4);
    std::vector<std::thread> Threads;
    for (auto& R : Results) Threads.emplace_back([&Render, &R] { Render(R); });
    for (auto& T : Threads) T.join();
    for (const auto& R : Results) EXPECT_EQ(R, Results[0]);
}
