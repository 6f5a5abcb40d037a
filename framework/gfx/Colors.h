#pragma once

#include "framework/core/ColorConsts.h"
#include "framework/core/Types.h"

namespace folio {

// Number of entries of the system colour table (indexes 0 .. count - 1).
constexpr int SystemColorCount = 25;

// The value of system colour Index (0x00BBGGRR) in the active colour scheme
// (ColorSchemes.h: classic unless another was selected); an index outside
// the table answers black.
TColor GetSysColor(int Index);

// A plain RGB value for any colour: system colours resolve through the fixed
// table, clNone and clDefault answer black, plain colours come back unchanged.
TColor ColorToRGB(TColor Color);

// One entry of a logical palette.
struct TPaletteEntry {
    unsigned char peRed = 0;
    unsigned char peGreen = 0;
    unsigned char peBlue = 0;
    unsigned char peFlags = 0;
};

// The default palette of static colours has 20 entries: 0-7 the dark
// colours, 8-11 four special shades, 12-19 the bright colours.
constexpr int DefaultPaletteSize = 20;

// Copies Count entries of the default palette from StartIndex into Entries and
// answers how many were copied (entries beyond the palette are not touched).
int GetPaletteEntries(int StartIndex, int Count, TPaletteEntry* Entries);

// The platform form: a stock palette handle and the palette read through it.
// Only the default palette exists; other stock objects answer null.
struct TLogPalette;
using HPALETTE = const TLogPalette*;
constexpr int DEFAULT_PALETTE = 15;
HPALETTE GetStockObject(int Object);
// Answers 0 for a null palette.
int GetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, TPaletteEntry* Entries);

} // namespace folio
