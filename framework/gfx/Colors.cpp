#include "framework/gfx/Colors.h"

namespace folio {

namespace {

// The fixed system colour scheme: the classic grey three-dimensional look.
// The framework has no desktop to ask, so every system colour resolves
// through this one table, and pictures come out the same on every machine.
constexpr TColor SystemColors[SystemColorCount] = {
    0xC8D0D4, // 0  scroll bar
    0x808000, // 1  desktop background
    0x800000, // 2  active caption
    0x808080, // 3  inactive caption
    0xC0C0C0, // 4  menu
    0xFFFFFF, // 5  window
    0x000000, // 6  window frame
    0x000000, // 7  menu text
    0x000000, // 8  window text
    0xFFFFFF, // 9  caption text
    0xC0C0C0, // 10 active border
    0xC0C0C0, // 11 inactive border
    0x808080, // 12 application work space
    0x800000, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xC0C0C0, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xC0C0C0, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x000000, // 21 3-D dark shadow
    0xDFDFDF, // 22 3-D light
    0x000000, // 23 tooltip text
    0xE1FFFF, // 24 tooltip background
};

// The static colours of the default palette, as {red, green, blue, flags}.
constexpr TPaletteEntry DefaultPalette[DefaultPaletteSize] = {
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0xC0, 0xDC, 0xC0, 0}, {0xA6, 0xCA, 0xF0, 0}, {0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0},
    {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
};

} // namespace

TColor GetSysColor(int Index) {
    if (Index < 0 || Index >= SystemColorCount) return clBlack;
    return SystemColors[Index];
}

TColor ColorToRGB(TColor Color) {
    if (Color < 0) return GetSysColor(Color & 0x7FFFFFFF);
    if (Color == clNone || Color == clDefault) return clBlack;
    return Color & 0xFFFFFF;
}

int GetPaletteEntries(int StartIndex, int Count, TPaletteEntry* Entries) {
    if (!Entries || StartIndex < 0 || Count <= 0 || StartIndex >= DefaultPaletteSize) return 0;
    if (Count > DefaultPaletteSize - StartIndex) Count = DefaultPaletteSize - StartIndex;
    for (int I = 0; I < Count; ++I) Entries[I] = DefaultPalette[StartIndex + I];
    return Count;
}

// The stock palette handle only needs an identity: the address of the table.
struct TLogPalette {
    const TPaletteEntry* Entries;
};

namespace {
const TLogPalette StockDefaultPalette{DefaultPalette};
} // namespace

HPALETTE GetStockObject(int Object) {
    return Object == DEFAULT_PALETTE ? &StockDefaultPalette : nullptr;
}

int GetPaletteEntries(HPALETTE Palette, int StartIndex, int Count, TPaletteEntry* Entries) {
    return Palette ? GetPaletteEntries(StartIndex, Count, Entries) : 0;
}

} // namespace folio
