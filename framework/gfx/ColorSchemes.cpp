#include "framework/gfx/ColorSchemes.h"

#include "framework/gfx/ColorSpace.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>

namespace folio {

namespace {

// Colours below are written as 0xRRGGBB, as people read them; TColor keeps
// red in its lowest byte.
constexpr TColor Rgb(unsigned Hex) {
    return static_cast<TColor>(((Hex >> 16) & 0xFF) | (Hex & 0xFF00) | ((Hex & 0xFF) << 16));
}

// One table per scheme, in system colour order: scroll bar, desktop, active
// caption, inactive caption, menu, window, window frame, menu text, window
// text, caption text, active border, inactive border, application work
// space, highlight, highlight text, button face, button shadow, grey text,
// button text, inactive caption text, button highlight, 3-D dark shadow,
// 3-D light, tooltip text, tooltip background.
//
// Beside the usual pairs (text on its own background), the light and dark
// tables keep window text legible on the button shadow, which is the
// shortcut bar's background and on which it writes its item captions.
constexpr TSystemColorTable ClassicColors = {
    0xC8D0D4, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000, 0x000000,
    0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0, 0x808080, 0x808080,
    0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000, 0xE1FFFF,
};

constexpr TSystemColorTable LightColors = {
    Rgb(0xE8E8E8), Rgb(0x3A6EA5), Rgb(0x0063B1), Rgb(0xE6E6E6), Rgb(0xF9F9F9),
    Rgb(0xFFFFFF), Rgb(0x7A7A7A), Rgb(0x1F1F1F), Rgb(0x1F1F1F), Rgb(0xFFFFFF),
    Rgb(0xB4B4B4), Rgb(0xD4D4D4), Rgb(0xE6E6E6), Rgb(0x0063B1), Rgb(0xFFFFFF),
    Rgb(0xF0F0F0), Rgb(0xA0A0A0), Rgb(0x696969), Rgb(0x1F1F1F), Rgb(0x5C5C5C),
    Rgb(0xFFFFFF), Rgb(0x696969), Rgb(0xE3E3E3), Rgb(0x1F1F1F), Rgb(0xF7F7F7),
};

constexpr TSystemColorTable DarkColors = {
    Rgb(0x3A3A3A), Rgb(0x1E1E1E), Rgb(0x2B5797), Rgb(0x3A3A3A), Rgb(0x2D2D2D),
    Rgb(0x1E1E1E), Rgb(0x8A8A8A), Rgb(0xE6E6E6), Rgb(0xE6E6E6), Rgb(0xFFFFFF),
    Rgb(0x3A3A3A), Rgb(0x2D2D2D), Rgb(0x252525), Rgb(0x2060B0), Rgb(0xFFFFFF),
    Rgb(0x2D2D2D), Rgb(0x1A1A1A), Rgb(0x9A9A9A), Rgb(0xE6E6E6), Rgb(0xA0A0A0),
    Rgb(0x4A4A4A), Rgb(0x0A0A0A), Rgb(0x3C3C3C), Rgb(0xF0F0F0), Rgb(0x3A3A3A),
};

// High contrast on black: white text, bright outlines (the 3-D dark shadow
// outlines pressed and hovered faces, so it is white here), a cyan
// highlight under black text.
constexpr TSystemColorTable HighContrastDarkColors = {
    Rgb(0x000000), Rgb(0x000000), Rgb(0x1AEBFF), Rgb(0x000000), Rgb(0x000000),
    Rgb(0x000000), Rgb(0xFFFFFF), Rgb(0xFFFFFF), Rgb(0xFFFFFF), Rgb(0x000000),
    Rgb(0xFFFFFF), Rgb(0xA6A6A6), Rgb(0x000000), Rgb(0x1AEBFF), Rgb(0x000000),
    Rgb(0x000000), Rgb(0x404040), Rgb(0xA6A6A6), Rgb(0xFFFFFF), Rgb(0xFFFFFF),
    Rgb(0xFFFFFF), Rgb(0xFFFFFF), Rgb(0x808080), Rgb(0xFFFFFF), Rgb(0x000000),
};

// High contrast on white: black text and outlines, a deep purple highlight
// under white text.
constexpr TSystemColorTable HighContrastLightColors = {
    Rgb(0xFFFFFF), Rgb(0xFFFFFF), Rgb(0x37006E), Rgb(0xFFFFFF), Rgb(0xFFFFFF),
    Rgb(0xFFFFFF), Rgb(0x000000), Rgb(0x000000), Rgb(0x000000), Rgb(0xFFFFFF),
    Rgb(0x000000), Rgb(0x4D4D4D), Rgb(0xFFFFFF), Rgb(0x37006E), Rgb(0xFFFFFF),
    Rgb(0xFFFFFF), Rgb(0xD0D0D0), Rgb(0x4D4D4D), Rgb(0x000000), Rgb(0x000000),
    Rgb(0xFFFFFF), Rgb(0x000000), Rgb(0xE0E0E0), Rgb(0x000000), Rgb(0xFFFFFF),
};

struct TSchemeState {
    TSystemColorTable Colors;
    TColorScheme Scheme;
    TColorSchemeTraits Traits;
};

const TSchemeState BuiltIn[] = {
    {ClassicColors, csClassic, {false, false, true}},
    {LightColors, csLight, {false, false, false}},
    {DarkColors, csDark, {true, false, false}},
    {HighContrastDarkColors, csHighContrastDark, {true, true, false}},
    {HighContrastLightColors, csHighContrastLight, {false, true, false}},
};

// A program's tables: two, used in turn, so that one being read while the
// program selects another is never written under it.
TSchemeState Custom[2] = {{ClassicColors, csCustom, {}}, {ClassicColors, csCustom, {}}};
int CustomNext = 0;

// What every system colour resolves through. Resolving a colour is one load
// of this pointer and one table read.
std::atomic<const TSchemeState*> Active{&BuiltIn[csClassic]};

const char* const Names[ColorSchemeCount] = {
    "classic", "light", "dark", "high-contrast-dark", "high-contrast-light", "custom",
};

double Linear(int Channel) {
    const double C = Channel / 255.0;
    return C <= 0.04045 ? C / 12.92 : std::pow((C + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(TColor C) {
    const TColor Rgb = ColorToRGB(C);
    return 0.2126 * Linear(GetRValue(Rgb)) + 0.7152 * Linear(GetGValue(Rgb)) +
           0.0722 * Linear(GetBValue(Rgb));
}

} // namespace

namespace detail {
std::atomic<unsigned> SchemeGeneration{1};
} // namespace detail

namespace {
void Switched(const TSchemeState* State) {
    Active.store(State, std::memory_order_release);
    // Skips 0, which means "never resolved" to those who keep colours.
    if (detail::SchemeGeneration.fetch_add(1, std::memory_order_acq_rel) + 1 == 0)
        detail::SchemeGeneration.store(1, std::memory_order_release);
}
} // namespace

TColor GetSysColor(int Index) {
    if (Index < 0 || Index >= SystemColorCount) return clBlack;
    return Active.load(std::memory_order_acquire)->Colors[static_cast<std::size_t>(Index)];
}

TColor ColorToRGB(TColor Color) {
    if (Color < 0) return GetSysColor(Color & 0x7FFFFFFF);
    if (Color == clNone || Color == clDefault) return clBlack;
    return Color & 0xFFFFFF;
}

TColorScheme GetColorScheme() {
    return Active.load(std::memory_order_acquire)->Scheme;
}

TColorSchemeTraits GetColorSchemeTraits() {
    return Active.load(std::memory_order_acquire)->Traits;
}

void SelectColorScheme(TColorScheme Scheme) {
    if (Scheme == csCustom) {
        Switched(&Custom[1 - CustomNext]);
        return;
    }
    if (Scheme < csClassic || Scheme > csHighContrastLight) return;
    Switched(&BuiltIn[Scheme]);
}

void SelectSystemColors(const TSystemColorTable& Colors, TColorSchemeTraits Traits) {
    TSchemeState& Next = Custom[CustomNext];
    CustomNext = 1 - CustomNext;
    Next.Colors = Colors;
    Next.Traits = Traits;
    Switched(&Next);
}

const TSystemColorTable& ColorSchemeColors(TColorScheme Scheme) {
    if (Scheme == csCustom) return Custom[1 - CustomNext].Colors;
    if (Scheme < csClassic || Scheme > csHighContrastLight) return ClassicColors;
    return BuiltIn[Scheme].Colors;
}

TColorSchemeTraits ColorSchemeTraits(TColorScheme Scheme) {
    if (Scheme == csCustom) return Custom[1 - CustomNext].Traits;
    if (Scheme < csClassic || Scheme > csHighContrastLight) return BuiltIn[csClassic].Traits;
    return BuiltIn[Scheme].Traits;
}

String ColorSchemeName(TColorScheme Scheme) {
    if (Scheme < csClassic || Scheme > csCustom) return Names[csClassic];
    return Names[Scheme];
}

bool ColorSchemeFromName(const String& Name, TColorScheme& Scheme) {
    String Key;
    for (char C : Name) {
        if (C == '_' || C == ' ') C = '-';
        Key += static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    }
    if (Key == "high-contrast") {
        Scheme = csHighContrastLight;
        return true;
    }
    for (int I = csClassic; I <= csHighContrastLight; ++I)
        if (Key == Names[I]) {
            Scheme = static_cast<TColorScheme>(I);
            return true;
        }
    return false;
}

double ContrastRatio(TColor A, TColor B) {
    double La = RelativeLuminance(A), Lb = RelativeLuminance(B);
    if (La < Lb) std::swap(La, Lb);
    return (La + 0.05) / (Lb + 0.05);
}

} // namespace folio
