#pragma once

#include "framework/gfx/Colors.h"

#include <array>
#include <atomic>

namespace folio {

/// The schemes the system colours can be resolved through. Classic is the
/// grey three-dimensional look, the default wherever nobody chooses another;
/// light and dark are today's desktop palettes; the high-contrast schemes keep
/// every text at least 7:1 against what it is painted on. csCustom is a table
/// the program supplies (SelectSystemColors).
enum TColorScheme { csClassic, csLight, csDark, csHighContrastDark, csHighContrastLight, csCustom };
/// Number of TColorScheme values, csCustom included.
constexpr int ColorSchemeCount = 6;

/// A value for every system colour, in system colour index order (the
/// clXxx system colour constants without their high bit).
using TSystemColorTable = std::array<TColor, SystemColorCount>;

/// What a scheme is beside its colours.
struct TColorSchemeTraits {
    /// Light text on dark faces: pictures drawn for light faces may need a
    /// lighter outline.
    bool Dark = false;
    /// The scheme is one of the high-contrast ones (or a program's table says
    /// it is one).
    bool HighContrast = false;
    /// Disabled captions are engraved (a highlight copy under a shadow copy),
    /// the classic look; otherwise they are drawn once in clGrayText, which
    /// the scheme keeps legible. The engraved look reads poorly off grey
    /// faces, which is why only classic keeps it.
    bool EngravedDisabledText = false;
    /// Two sets of traits are equal when every flag is.
    bool operator==(const TColorSchemeTraits&) const = default;
};

/// The scheme system colours resolve through now (csClassic until one is
/// selected).
TColorScheme GetColorScheme();
/// The traits of the scheme system colours resolve through now.
TColorSchemeTraits GetColorSchemeTraits();

/// Makes Scheme the one GetSysColor and ColorToRGB read. csCustom selects the
/// program's table given last (classic's colours, with no traits set, if none
/// was); a value outside TColorScheme is ignored. This only switches the
/// table: the control layer's TScreen::SetColorScheme also tells the controls
/// and repaints, which is what programs call.
void SelectColorScheme(TColorScheme Scheme);
/// Makes Colors, the program's own table, the one system colours resolve
/// through (csCustom), with Traits (none set by default). The table is copied.
void SelectSystemColors(const TSystemColorTable& Colors, TColorSchemeTraits Traits = {});

/// The colours and traits of a scheme, whether or not it is selected;
/// csCustom answers the program's table given last, a value outside
/// TColorScheme answers classic's.
///@{
const TSystemColorTable& ColorSchemeColors(TColorScheme Scheme);
TColorSchemeTraits ColorSchemeTraits(TColorScheme Scheme);
///@}

/// The name a person writes for a scheme: "classic", "light", "dark",
/// "high-contrast-dark", "high-contrast-light", "custom" ("classic" for a
/// value outside TColorScheme).
String ColorSchemeName(TColorScheme Scheme);
/// Reads a name as ColorSchemeName writes it, in any letter case, with
/// '_' or ' ' for '-'; "high-contrast" alone is the light variant.
/// "custom" is not taken: a program's table is not a user's choice. Answers
/// false for anything else, leaving Scheme as it was.
bool ColorSchemeFromName(const String& Name, TColorScheme& Scheme);

namespace detail {
extern std::atomic<unsigned> SchemeGeneration;
} // namespace detail

/// Counts the changes of the system colour table (never 0): what keeps
/// colours resolved from system colours (a canvas's pen and brush) knows
/// when to resolve them again.
inline unsigned ColorSchemeGeneration() {
    return detail::SchemeGeneration.load(std::memory_order_acquire);
}

/// The contrast ratio of two colours by the web accessibility guidelines'
/// relative luminance: 1 (the same) to 21 (black and white). System colours
/// are resolved through the active scheme first.
double ContrastRatio(TColor A, TColor B);

} // namespace folio
