#include "framework/gfx/Colors.h"

namespace folio {

namespace {

// The static colours of the default palette, as {red, green, blue, flags}.
constexpr TPaletteEntry DefaultPalette[DefaultPaletteSize] = {
    {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
    {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
    {0xC0, 0xDC, 0xC0, 0}, {0xA6, 0xCA, 0xF0, 0}, {0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0},
    {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
    {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
};

} // namespace

// GetSysColor and ColorToRGB live beside the schemes' tables
// (ColorSchemes.cpp), so that resolving a colour stays one table read.

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
