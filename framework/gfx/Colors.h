#pragma once

#include "framework/core/ColorConsts.h"
#include "framework/core/Types.h"

namespace folio {

/// Number of entries of the system colour table (indexes 0 .. count - 1).
constexpr int SystemColorCount = 25;

/// The value of system colour Index (0x00BBGGRR) in the active colour scheme
/// (ColorSchemes.h: classic unless another was selected); an index outside
/// the table answers black.
TColor GetSysColor(int Index);

/// A plain RGB value (0x00BBGGRR) for any colour: system colours resolve
/// through the active colour scheme as GetSysColor does, clNone and clDefault
/// answer black, plain colours come back with their top byte cleared.
TColor ColorToRGB(TColor Color);

/// One entry of a logical palette: a colour as three 0-255 components.
struct TPaletteEntry {
    unsigned char peRed = 0;   ///< red, 0-255
    unsigned char peGreen = 0; ///< green, 0-255
    unsigned char peBlue = 0;  ///< blue, 0-255
    unsigned char peFlags = 0; ///< always 0 in the default palette
};

/// The default palette of static colours has 20 entries: 0-7 the dark
/// colours, 8-11 four special shades, 12-19 the bright colours.
constexpr int DefaultPaletteSize = 20;

/// Copies Count entries of the default palette from StartIndex into Entries and
/// answers how many were copied: fewer when the palette ends first, 0 for a
/// null Entries, a negative start or count, or a start past the palette.
int GetPaletteEntries(int StartIndex, int Count, TPaletteEntry* Entries);

struct TLogPalette;
/// A handle of a stock palette, as GetStockObject gives it; it only identifies
/// the palette.
using HPALETTE = const TLogPalette*;
/// The stock object number of the default palette.
constexpr int DEFAULT_PALETTE = 15;
/// The stock palette Object names: DEFAULT_PALETTE gives the default palette,
/// every other number answers null (no other stock objects exist).
HPALETTE GetStockObject(int Object);
/// Reads entries of Palette as the overload above reads the default palette;
/// answers 0 for a null palette.
int GetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, TPaletteEntry* Entries);

} // namespace folio
