#include "framework/gfx/FontEngine.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/GlyphCache.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

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
    FByIndex.reset(new std::unique_ptr<TGlyph>[FGlyphCount]);
    for (char32_t C = 0; C < 0x20; ++C) FLatin[C].store(&FControl, std::memory_order_relaxed);
    FLatin[0x7F].store(&FControl, std::memory_order_relaxed);
    // Without the table's average, measure an "x" of this file only: the
    // fallback face must not be acquired while the source cache is locked
    // for this constructor.
    if (FMetrics.tmAveCharWidth <= 0) {
        const TGlyph* X = OwnGlyph(U'x');
        FMetrics.tmAveCharWidth = std::max(1, X ? X->Advance : Em / 2);
    }
}

TGlyphSource::~TGlyphSource() = default;

const TGlyph& TGlyphSource::SlowGlyph(char32_t CodePoint) const {
    // Control characters have no ink and no advance: a stray line break or
    // tab in a caption takes no room instead of showing a box.
    if (CodePoint < 0x20 || CodePoint == 0x7F) return FControl;
    std::lock_guard Lock(FMutex);
    const unsigned Index = FT_Get_Char_Index(FFace->Face, CodePoint);
    const TGlyph* G = Index == 0 ? FallbackLocked(CodePoint) : nullptr;
    if (!G) G = RenderLocked(Index, CodePoint);
    if (CodePoint < LatinCount) FLatin[CodePoint].store(G, std::memory_order_release);
    return *G;
}

const TGlyph* TGlyphSource::OwnGlyph(char32_t CodePoint) const {
    std::lock_guard Lock(FMutex);
    const unsigned Index = FT_Get_Char_Index(FFace->Face, CodePoint);
    return Index == 0 ? nullptr : RenderLocked(Index, CodePoint);
}

const TGlyph* TGlyphSource::FallbackLocked(char32_t CodePoint) const {
    if (!FFallbackTried) {
        FFallbackTried = true;
        const String File =
            FallbackFaceFile(FKey.SynthBold || (FFace->Face->style_flags & FT_STYLE_FLAG_BOLD));
        if (!File.empty() && File != FKey.FileName) {
            try {
                FFallback = AcquireGlyphSource(TGlyphSourceKey{
                    File, 0, -FEmPixels, false,
                    FKey.SynthItalic || (FFace->Face->style_flags & FT_STYLE_FLAG_ITALIC) != 0,
                    FKey.Mono});
            } catch (const Exception&) {
                // Without a usable fallback, missing glyphs draw as this file's own box.
            }
        }
    }
    return FFallback ? FFallback->OwnGlyph(CodePoint) : nullptr;
}

const TGlyph* TGlyphSource::RenderLocked(unsigned GlyphIndex, char32_t CodePoint) const {
    if (GlyphIndex >= FGlyphCount) GlyphIndex = 0;
    if (FByIndex[GlyphIndex]) return FByIndex[GlyphIndex].get();

    auto G = std::make_unique<TGlyph>();
    FT_Face Face = FFace->Face;
    FT_GlyphSlot Slot = Face->glyph;
    // Bi-level glyphs are hinted for it, so their stems land on whole pixels.
    const FT_Int32 LoadFlags =
        FT_LOAD_NO_BITMAP | (FKey.Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_DEFAULT);
    bool Ok = FT_Load_Glyph(Face, GlyphIndex, LoadFlags) == 0;
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
    } else if (CodePoint != 0) {
        // A glyph FreeType cannot render draws as the file's missing glyph.
        return RenderLocked(0, 0);
    }
    FByIndex[GlyphIndex] = std::move(G);
    return FByIndex[GlyphIndex].get();
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
    long long Width = 0;
    const TGlyphSource& Source = *FSource;
    for (size_t I = 0; I < Utf8.size();) Width += Source.Glyph(NextCodePoint(Utf8, I)).Advance;
    return static_cast<int>(std::min<long long>(Width, MaxTextWidth));
}

TSize TFontFace::TextExtent(std::string_view Utf8) const {
    return TSize{TextWidth(Utf8), FSource->Metrics().tmHeight};
}

} // namespace folio
