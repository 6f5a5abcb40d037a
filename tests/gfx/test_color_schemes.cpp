#include "framework/gfx/ColorSchemes.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"

#include <gtest/gtest.h>

using namespace folio;

namespace {

// Puts the classic scheme back whatever a test selected.
struct TClassicAfter {
    ~TClassicAfter() { SelectColorScheme(csClassic); }
};

const TColorScheme BuiltInSchemes[] = {csClassic, csLight, csDark, csHighContrastDark,
                                       csHighContrastLight};

TEST(ColorSchemes, ClassicIsTheDefaultAndTheTableEveryPictureWasMadeWith) {
    EXPECT_EQ(GetColorScheme(), csClassic);
    const TSystemColorTable Expected = {
        0xC8D0D4, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
        0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
        0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF,
    };
    EXPECT_EQ(ColorSchemeColors(csClassic), Expected);
    for (int I = 0; I < SystemColorCount; ++I) EXPECT_EQ(GetSysColor(I), Expected[I]) << I;
    EXPECT_TRUE(GetColorSchemeTraits().EngravedDisabledText);
}

TEST(ColorSchemes, SystemColoursResolveThroughTheSelectedScheme) {
    TClassicAfter Restore;
    for (TColorScheme S : BuiltInSchemes) {
        SelectColorScheme(S);
        EXPECT_EQ(GetColorScheme(), S);
        const TSystemColorTable& Table = ColorSchemeColors(S);
        for (int I = 0; I < SystemColorCount; ++I) {
            EXPECT_EQ(ColorToRGB(clSystemColor | I), Table[I]) << ColorSchemeName(S) << " " << I;
            EXPECT_EQ(Table[I] & ~0xFFFFFF, 0) << "a plain colour in the table";
        }
        // Plain colours and the special values do not depend on the scheme.
        EXPECT_EQ(ColorToRGB(clTeal), clTeal);
        EXPECT_EQ(ColorToRGB(0x02123456), 0x123456);
        EXPECT_EQ(ColorToRGB(clNone), clBlack);
        EXPECT_EQ(ColorToRGB(clSystemColor | 200), clBlack);
        EXPECT_EQ(GetSysColor(-1), clBlack);
    }
}

TEST(ColorSchemes, EverySchemeLooksAsItsTraitsSay) {
    for (TColorScheme S : BuiltInSchemes) {
        const TColorSchemeTraits T = ColorSchemeTraits(S);
        const TSystemColorTable& C = ColorSchemeColors(S);
        SCOPED_TRACE(ColorSchemeName(S));
        // Dark schemes have dark windows and faces, light ones light.
        const auto Darker = [](TColor A, TColor B) {
            return ContrastRatio(A, clBlack) < ContrastRatio(B, clBlack);
        };
        EXPECT_EQ(Darker(C[5], 0x808080), T.Dark);
        EXPECT_EQ(Darker(C[15], 0x808080), T.Dark);
        if (S != csClassic) {
            EXPECT_NE(C, ColorSchemeColors(csClassic));
            EXPECT_FALSE(T.EngravedDisabledText);
        }
    }
    EXPECT_TRUE(ColorSchemeTraits(csHighContrastDark).HighContrast);
    EXPECT_TRUE(ColorSchemeTraits(csHighContrastLight).HighContrast);
    EXPECT_FALSE(ColorSchemeTraits(csDark).HighContrast);
}

TEST(ColorSchemes, AProgramsOwnTableIsKeptAcrossSwitches) {
    TClassicAfter Restore;
    TSystemColorTable First = ColorSchemeColors(csClassic);
    First[15] = 0x123456;
    TSystemColorTable Second = First;
    Second[15] = 0x654321;
    SelectSystemColors(First, {true, false, false});
    EXPECT_EQ(GetColorScheme(), csCustom);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x123456);
    EXPECT_TRUE(GetColorSchemeTraits().Dark);
    SelectSystemColors(Second);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x654321);
    EXPECT_FALSE(GetColorSchemeTraits().Dark);
    SelectColorScheme(csDark);
    EXPECT_EQ(ColorToRGB(clBtnFace), ColorSchemeColors(csDark)[15]);
    // Back to the program's table: the last one it gave.
    SelectColorScheme(csCustom);
    EXPECT_EQ(ColorToRGB(clBtnFace), 0x654321);
    EXPECT_EQ(ColorSchemeColors(csCustom), Second);
    // A value outside the enumeration changes nothing.
    SelectColorScheme(static_cast<TColorScheme>(42));
    EXPECT_EQ(GetColorScheme(), csCustom);
}

// A canvas keeps its pen and brush resolved to pixels; after a switch a
// system colour must resolve anew, though the canvas was not touched.
TEST(ColorSchemes, ACanvasResolvesItsToolsAgainAfterASwitch) {
    TClassicAfter Restore;
    TBitmap B(4, 4);
    TCanvas* C = B.GetCanvas();
    C->GetBrush()->SetColor(clBtnFace);
    C->GetPen()->SetColor(clBtnText);
    C->FillRect(Rect(0, 0, 4, 4));
    C->MoveTo(0, 3);
    C->LineTo(4, 3);
    EXPECT_EQ(B.GetPixel(1, 1), ColorSchemeColors(csClassic)[15]);
    EXPECT_EQ(B.GetPixel(1, 3), ColorSchemeColors(csClassic)[18]);
    const unsigned Before = ColorSchemeGeneration();
    for (TColorScheme S : {csDark, csHighContrastLight, csClassic}) {
        SelectColorScheme(S);
        C->FillRect(Rect(0, 0, 4, 4));
        C->MoveTo(0, 3);
        C->LineTo(4, 3);
        EXPECT_EQ(B.GetPixel(1, 1), ColorSchemeColors(S)[15]) << ColorSchemeName(S);
        EXPECT_EQ(B.GetPixel(1, 3), ColorSchemeColors(S)[18]) << ColorSchemeName(S);
    }
    EXPECT_NE(ColorSchemeGeneration(), Before);
    EXPECT_NE(ColorSchemeGeneration(), 0u);
}

TEST(ColorSchemes, NamesAsPeopleWriteThem) {
    struct TCase {
        const char* Name;
        bool Known;
        TColorScheme Scheme;
    };
    const TCase Cases[] = {
        {"classic", true, csClassic},
        {"light", true, csLight},
        {"dark", true, csDark},
        {"Dark", true, csDark},
        {"high-contrast-dark", true, csHighContrastDark},
        {"HIGH_CONTRAST_LIGHT", true, csHighContrastLight},
        {"high contrast dark", true, csHighContrastDark},
        {"high-contrast", true, csHighContrastLight},
        {"custom", false, csClassic},
        {"", false, csClassic},
        {"darker", false, csClassic},
        {" dark", false, csClassic},
    };
    for (const TCase& C : Cases) {
        TColorScheme S = csClassic;
        EXPECT_EQ(ColorSchemeFromName(C.Name, S), C.Known) << C.Name;
        EXPECT_EQ(S, C.Scheme) << C.Name;
    }
    for (int I = 0; I < ColorSchemeCount; ++I) {
        const auto S = static_cast<TColorScheme>(I);
        TColorScheme Back = csClassic;
        if (S != csCustom) {
            EXPECT_TRUE(ColorSchemeFromName(ColorSchemeName(S), Back));
            EXPECT_EQ(Back, S);
        }
    }
}

TEST(ColorSchemes, ContrastRatiosByTheGuidelinesFormula) {
    struct TCase {
        TColor A, B;
        double Ratio;
    };
    const TCase Cases[] = {
        {clBlack, clWhite, 21.0},  {clWhite, clBlack, 21.0},  {clGray, clGray, 1.0},
        {0x777777, clWhite, 4.48}, {0x767676, clWhite, 4.54}, {clRed, clWhite, 4.0},
        {clBlue, clBlack, 2.44},
    };
    for (const TCase& C : Cases)
        EXPECT_NEAR(ContrastRatio(C.A, C.B), C.Ratio, 0.01) << std::hex << C.A << " " << C.B;
    // System colours are resolved first.
    TClassicAfter Restore;
    EXPECT_NEAR(ContrastRatio(clWindowText, clWindow), 21.0, 1e-9);
    SelectColorScheme(csDark);
    EXPECT_NEAR(ContrastRatio(clWindow, ColorSchemeColors(csDark)[5]), 1.0, 1e-9);
}

} // namespace
