#include "framework/gfx/FontEngine.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/GlyphCache.h"
#include "framework/gfx/ShapeCache.h"

#include <fontconfig/fontconfig.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_ADVANCES_H
#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>

namespace folio {

namespace {

// Glyph bitmaps grow with the square of the size; beyond this em height a
// request is drawn at this size rather than allocating without bound.
constexpr int MaxEmPixels = 1000;

// FreeType's library object is shared; opening and closing faces on it must
// not overlap, so both happen under this lock. Each face is then used only
// under its own source's lock.
std::mutex& LibraryMutex() {
    static std::mutex M;
    return M;
}

FT_Library Library() {
    // Never freed: faces cached until exit still refer to it.
    static FT_Library Lib = [] {
        FT_Library L = nullptr;
        if (FT_Init_FreeType(&L) != 0) throw EOutOfResources("The font renderer could not start");
        return L;
    }();
    return Lib;
}

int RoundDiv(long long Num, long long Den) {
    return static_cast<int>((Num >= 0 ? Num + Den / 2 : Num - Den / 2) / Den);
}

} // namespace

struct TGlyphSource::TFreeTypeFace {
    FT_Face Face = nullptr;
    ~TFreeTypeFace() {
        if (Face) {
            std::lock_guard Lock(LibraryMutex());
            FT_Done_Face(Face);
        }
    }
};

TGlyphSource::TGlyphSource(const TGlyphSourceKey& Key) : FKey(Key), FFace(new TFreeTypeFace) {
    {
        std::lock_guard Lock(LibraryMutex());
        if (FT_New_Face(Library(), Key.FileName.c_str(), Key.FaceIndex, &FFace->Face) != 0)
            throw EInvalidGraphic(
                Format("The font file \"%s\" cannot be read", Key.FileName.c_str()));
    }
    FT_Face Face = FFace->Face;
    if (!FT_IS_SCALABLE(Face))
        throw EInvalidGraphic(
            Format("The font file \"%s\" has no scalable outlines", Key.FileName.c_str()));
    FT_Select_Charmap(Face, FT_ENCODING_UNICODE);

    // A negative height is the em height. A positive height is the cell
    // height, ascent plus descent; the em is derived from the font's design
    // ascent and descent and then stepped down until the rounded cell fits.
    const int UnitsPerEm = std::max<int>(Face->units_per_EM, 1);
    const int DesignCell = std::max<int>(Face->ascender - Face->descender, 1);
    long long Wanted = 11; // a height of 0 asks for the framework's default
    if (Key.Height < 0)
        Wanted = -static_cast<long long>(Key.Height);
    else if (Key.Height > 0)
        Wanted = (static_cast<long long>(Key.Height) * UnitsPerEm + DesignCell / 2) / DesignCell;
    int Em = static_cast<int>(std::clamp<long long>(Wanted, 1, MaxEmPixels));
    for (;;) {
        if (FT_Set_Pixel_Sizes(Face, 0, static_cast<FT_UInt>(Em)) != 0)
            throw EInvalidGraphic(Format("The font file \"%s\" cannot be scaled to %d pixels",
                                         Key.FileName.c_str(), Em));
        const int Cell =
            static_cast<int>((Face->size->metrics.ascender - Face->size->metrics.descender) >> 6);
        if (Key.Height <= 0 || Cell <= Key.Height || Em == 1) break;
        --Em;
    }
    FEmPixels = Em;

    const FT_Size_Metrics& SM = Face->size->metrics;
    FMetrics.tmAscent = static_cast<int>(SM.ascender >> 6);
    FMetrics.tmDescent = static_cast<int>((-SM.descender) >> 6);
    FMetrics.tmHeight = FMetrics.tmAscent + FMetrics.tmDescent;
    if (FMetrics.tmAscent <= 0 || FMetrics.tmDescent < 0 || FMetrics.tmHeight <= 0) {
        // A file with nonsense vertical metrics still gets a usable cell.
        FMetrics.tmAscent = Em;
        FMetrics.tmDescent = std::max(1, Em / 4);
        FMetrics.tmHeight = FMetrics.tmAscent + FMetrics.tmDescent;
    }
    FMetrics.tmInternalLeading = std::max(0, FMetrics.tmHeight - Em);
    FMetrics.tmExternalLeading = std::max(0, static_cast<int>(SM.height >> 6) - FMetrics.tmHeight);
    FMetrics.tmMaxCharWidth = static_cast<int>((SM.max_advance + 63) >> 6);
    const auto* OS2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(Face, FT_SFNT_OS2));
    if (OS2 && OS2->xAvgCharWidth > 0)
        FMetrics.tmAveCharWidth =
            RoundDiv(static_cast<long long>(OS2->xAvgCharWidth) * Em, UnitsPerEm);
    if (OS2 && OS2->yStrikeoutPosition > 0)
        FStrikeOutOffset =
            RoundDiv(static_cast<long long>(OS2->yStrikeoutPosition) * Em, UnitsPerEm);
    else
        FStrikeOutOffset = std::max(1, FMetrics.tmAscent / 3);
    FUnderlineOffset =
        std::max(1, RoundDiv(-static_cast<long long>(Face->underline_position) * Em, UnitsPerEm));
    FLineThickness =
        std::max(1, RoundDiv(static_cast<long long>(Face->underline_thickness) * Em, UnitsPerEm));
    if (Key.SynthBold) FLineThickness = std::max(FLineThickness, Em / 12 + 1);
    // Keep the underline inside the cell, where the text's background is.
    FLineThickness = std::min(FLineThickness, std::max(1, FMetrics.tmDescent));
    FUnderlineOffset = std::min(FUnderlineOffset, FMetrics.tmDescent - FLineThickness);
    FUnderlineOffset = std::max(FUnderlineOffset, 0);

    if (Key.SynthItalic) {
        // A slant of about 12 degrees, as a shear of the outlines.
        FT_Matrix Shear{0x10000, 0x0366A, 0, 0x10000};
        FT_Set_Transform(Face, &Shear, nullptr);
    }

    FGlyphCount = static_cast<unsigned>(std::max<FT_Long>(Face->num_glyphs, 1));
    FByIndex.reset(new std::atomic<const TGlyph*>[FGlyphCount]());
    if (Key.SynthBold) {
        const FT_Pos Strength = std::max<FT_Pos>(64, (FEmPixels * 64) / 24);
        FBoldExtra26 = static_cast<int>((Strength + 63) & ~63);
    }
    // Without the table's average, measure an "x" of this file only.
    if (FMetrics.tmAveCharWidth <= 0) {
        const unsigned X = FT_Get_Char_Index(Face, U'x');
        FT_Fixed Advance = 0;
        if (X != 0 && FT_Get_Advance(Face, X, FT_LOAD_DEFAULT, &Advance) == 0)
            FMetrics.tmAveCharWidth = std::max(1, static_cast<int>((Advance + 0x8000) >> 16));
        else
            FMetrics.tmAveCharWidth = std::max(1, Em / 2);
    }
    // A stand-in's characters come from fontconfig's cache; a face asked for
    // by name answers from its own file, and starting fontconfig is left
    // until a character is missing.
    if (Key.IsFallback) FChars = FileCharSet(Key.FileName, Key.FaceIndex);
    FShapeCache = std::make_unique<TShapeCache>();
}

int TGlyphSource::LoadFlags() const {
    // Bi-level glyphs are hinted for it, so their stems land on whole pixels.
    return FT_LOAD_NO_BITMAP | (FKey.Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT);
}

TGlyphSource::~TGlyphSource() {
    if (FHarfBuzz) hb_font_destroy(FHarfBuzz);
}

const TGlyph& TGlyphSource::SlowGlyphAt(unsigned GlyphIndex) const {
    std::lock_guard Lock(FMutex);
    return *RenderLocked(GlyphIndex);
}

bool TGlyphSource::Covers(char32_t CodePoint) const {
    if (FChars) return FcCharSetHasChar(FChars, CodePoint) == FcTrue;
    std::lock_guard Lock(FMutex);
    return FT_Get_Char_Index(FFace->Face, CodePoint) != 0;
}

hb_font_t* TGlyphSource::HarfBuzzFontLocked() const {
    if (!FHarfBuzz) {
        // HarfBuzz reads advances through FreeType with the flags glyphs are
        // rendered with, so hinted advances and drawn glyphs agree.
        FHarfBuzz = hb_ft_font_create_referenced(FFace->Face);
        hb_ft_font_set_load_flags(FHarfBuzz, LoadFlags());
    }
    return FHarfBuzz;
}

size_t TGlyphSource::FallbackCount() const {
    if (FKey.IsFallback) return 0;
    std::lock_guard Lock(FFallbackMutex);
    if (!FFallbackFiles) {
        const bool Bold = FKey.SynthBold || (FFace->Face->style_flags & FT_STYLE_FLAG_BOLD);
        const bool Italic = FKey.SynthItalic || (FFace->Face->style_flags & FT_STYLE_FLAG_ITALIC);
        FFallbackFiles = &FallbackFiles(FKey.Family, Bold, Italic);
        FFallbacks.reset(new std::shared_ptr<TGlyphSource>[FFallbackFiles->size()]);
        FFallbackTried.reset(new bool[FFallbackFiles->size()]());
    }
    return FFallbackFiles->size();
}

const TFallbackFile& TGlyphSource::FallbackFile(size_t Index) const {
    return (*FFallbackFiles)[Index];
}

const TGlyphSource* TGlyphSource::Fallback(size_t Index) const {
    std::lock_guard Lock(FFallbackMutex);
    if (!FFallbackTried[Index]) {
        FFallbackTried[Index] = true;
        const TFallbackFile& File = (*FFallbackFiles)[Index];
        try {
            // Stand-ins draw at this face's em size, slanted like it; a bold
            // face's stand-in is a bold file where fontconfig found one.
            TGlyphSourceKey Key{File.FileName,
                                File.FaceIndex,
                                -FEmPixels,
                                false,
                                FKey.SynthItalic ||
                                    (FFace->Face->style_flags & FT_STYLE_FLAG_ITALIC) != 0,
                                FKey.Mono};
            Key.IsFallback = true;
            FFallbacks[Index] = AcquireGlyphSource(Key);
        } catch (const Exception&) {
            // A file FreeType cannot use is passed over.
        }
    }
    return FFallbacks[Index].get();
}

const TGlyph* TGlyphSource::RenderLocked(unsigned GlyphIndex) const {
    if (GlyphIndex >= FGlyphCount) GlyphIndex = 0;
    if (const TGlyph* Done = FByIndex[GlyphIndex].load(std::memory_order_relaxed)) return Done;

    auto G = std::make_unique<TGlyph>();
    FT_Face Face = FFace->Face;
    FT_GlyphSlot Slot = Face->glyph;
    bool Ok = FT_Load_Glyph(Face, GlyphIndex, LoadFlags()) == 0;
    if (Ok && FKey.SynthBold && Slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Widen the strokes by about a twenty-fourth of the em, and the
        // advance with them, rounded to whole pixels.
        const FT_Pos Strength = std::max<FT_Pos>(64, (FEmPixels * 64) / 24);
        FT_Outline_EmboldenXY(&Slot->outline, Strength, 0);
        Slot->advance.x += (Strength + 63) & ~63;
    }
    if (Ok)
        Ok = FT_Render_Glyph(Slot, FKey.Mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) == 0;
    if (Ok) {
        G->Advance = static_cast<int>((Slot->advance.x + 32) >> 6);
        const FT_Bitmap& B = Slot->bitmap;
        const bool Gray = B.pixel_mode == FT_PIXEL_MODE_GRAY;
        const bool Bits = B.pixel_mode == FT_PIXEL_MODE_MONO;
        if ((Gray || Bits) && B.width > 0 && B.rows > 0) {
            G->Left = Slot->bitmap_left;
            G->Top = Slot->bitmap_top;
            G->Width = static_cast<int>(B.width);
            G->Height = static_cast<int>(B.rows);
            G->Coverage.reset(new std::uint8_t[static_cast<size_t>(G->Width) * G->Height]);
            for (int Row = 0; Row < G->Height; ++Row) {
                const unsigned char* Src =
                    B.pitch >= 0
                        ? B.buffer + static_cast<ptrdiff_t>(Row) * B.pitch
                        : B.buffer + static_cast<ptrdiff_t>(G->Height - 1 - Row) * -B.pitch;
                std::uint8_t* Dst = G->Coverage.get() + static_cast<size_t>(Row) * G->Width;
                if (Gray) {
                    std::memcpy(Dst, Src, static_cast<size_t>(G->Width));
                    continue;
                }
                // One bit a pixel, the leftmost in the high bit: full or no
                // coverage.
                for (int X = 0; X < G->Width; ++X)
                    Dst[X] = (Src[X >> 3] & (0x80u >> (X & 7))) ? 255 : 0;
            }
        }
    } else if (GlyphIndex != 0) {
        // A glyph FreeType cannot render draws as the file's missing glyph.
        const TGlyph* Missing = RenderLocked(0);
        FByIndex[GlyphIndex].store(Missing, std::memory_order_release);
        return Missing;
    }
    const TGlyph* Done = G.get();
    FOwned.push_back(std::move(G));
    FByIndex[GlyphIndex].store(Done, std::memory_order_release);
    return Done;
}

std::shared_ptr<TGlyphSource> AcquireGlyphSource(const TGlyphSourceKey& Key) {
    // Sources stay cached while anything holds them and for a while after:
    // once the cache grows past its limit, sources nobody holds are dropped.
    static std::mutex M;
    static auto* Cache = new std::map<TGlyphSourceKey, std::shared_ptr<TGlyphSource>>;
    constexpr size_t Limit = 64;
    std::lock_guard Lock(M);
    auto It = Cache->find(Key);
    if (It != Cache->end()) return It->second;
    if (Cache->size() >= Limit) {
        for (auto I = Cache->begin(); I != Cache->end();) {
            if (I->second.use_count() == 1)
                I = Cache->erase(I);
            else
                ++I;
        }
    }
    auto Source = std::make_shared<TGlyphSource>(Key);
    Cache->emplace(Key, Source);
    return Source;
}

// ---------------------------------------------------------------------------

TFontFace::TFontFace(const TLogFont& LogFont, std::shared_ptr<TGlyphSource> Source)
    : FLogFont(LogFont), FSource(std::move(Source)) {
    int Tenths = LogFont.Escapement % 3600;
    if (Tenths < 0) Tenths += 3600;
    FQuarterTurns = ((Tenths + 450) / 900) % 4;
    const TTextMetric& M = FSource->Metrics();
    FLineThickness = FSource->LineThickness();
    FUnderlineTop = std::min(M.tmAscent + FSource->UnderlineOffset(), M.tmHeight - FLineThickness);
    FStrikeOutTop = std::max(0, M.tmAscent - FSource->StrikeOutOffset());
}

TFontFace::~TFontFace() = default;

const String& TFontFace::FileName() const {
    return FSource->FileName();
}

const TTextMetric& TFontFace::Metrics() const {
    return FSource->Metrics();
}

int TFontFace::TextWidth(std::string_view Utf8) const {
    if (Utf8.empty()) return 0;
    return std::min(Shape(Utf8)->Width(), MaxTextWidth);
}

std::shared_ptr<const TShapedText> TFontFace::Shape(std::string_view Utf8, bool RightToLeft) const {
    return FSource->Shape(Utf8, RightToLeft);
}

TSize TFontFace::TextExtent(std::string_view Utf8) const {
    return TSize{TextWidth(Utf8), FSource->Metrics().tmHeight};
}

} // namespace folio
