#pragma once

// The font engine's own parts: the scaled font file with its glyph cache and
// shaped-text cache, and the face resolver. Only the engine's .cpp files
// include this header.

#include "framework/gfx/FontEngine.h"
#include "framework/gfx/ShapedText.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

struct hb_font_t;
struct _FcCharSet;

namespace folio {

/// Text wider than this (2^28 pixels) is measured as this wide, which leaves
/// room for any coordinate arithmetic on widths without overflow.
constexpr int MaxTextWidth = 1 << 28;

/// One rendered glyph: its 8-bit coverage and where it sits relative to the
/// pen position on the baseline.
struct TGlyph {
    int Advance = 0;                          ///< pixels
    int Left = 0;                             ///< bitmap column of the pen position, negated
    int Top = 0;                              ///< rows of the bitmap above the baseline
    int Width = 0;                            ///< bitmap columns
    int Height = 0;                           ///< bitmap rows
    std::unique_ptr<std::uint8_t[]> Coverage; ///< Width * Height, rows top down
};

/// How a file is to be scaled and styled: the key of a glyph source.
struct TGlyphSourceKey {
    String FileName;          ///< the face file
    int FaceIndex = 0;        ///< the face within a file that holds several
    int Height = 0;           ///< the logical font's height, either sign
    bool SynthBold = false;   ///< embolden glyphs the file draws regular
    bool SynthItalic = false; ///< slant glyphs the file draws upright
    /// Bi-level glyphs: every coverage value 0 or 255.
    bool Mono = false;
    /// The family asked for, which orders the faces that stand in for
    /// characters this file lacks; empty for the interface's sans-serif.
    String Family{};
    /// Set on faces that themselves stand in for another: they look for no
    /// stand-ins of their own.
    bool IsFallback = false;
    /// Keys order field by field, so that they can key a map.
    friend auto operator<=>(const TGlyphSourceKey&, const TGlyphSourceKey&) = default;
};

/// Where a face file may be found and which characters it has, as fontconfig
/// lists them. The character set is shared and never changes.
struct TFallbackFile {
    String FileName;                   ///< the face file
    int FaceIndex = 0;                 ///< the face within the file
    const _FcCharSet* Chars = nullptr; ///< its characters; null when unknown
};

/// A face file scaled to one pixel size and style, with its glyph cache and
/// shaped-text cache; the faces of every logical font that resolves to it
/// share it.
class TGlyphSource {
public:
    /// Opens the file; raises EInvalidGraphic when FreeType cannot use it.
    explicit TGlyphSource(const TGlyphSourceKey& Key);
    ~TGlyphSource();
    TGlyphSource(const TGlyphSource&) = delete;
    TGlyphSource& operator=(const TGlyphSource&) = delete;

    /// The key the source was opened with.
    const TGlyphSourceKey& Key() const { return FKey; }
    /// The face file.
    const String& FileName() const { return FKey.FileName; }
    /// The file's measures in pixels at this size.
    const TTextMetric& Metrics() const { return FMetrics; }
    /// The em height in pixels.
    int EmPixels() const { return FEmPixels; }
    /// The underline's first row below the baseline (at least 1).
    int UnderlineOffset() const { return FUnderlineOffset; }
    /// The thickness in rows of underline and strike-out lines.
    int LineThickness() const { return FLineThickness; }
    /// The strike-out line's rows above the baseline.
    int StrikeOutOffset() const { return FStrikeOutOffset; }
    /// What synthetic emboldening adds to every advance, in 26.6 pixels.
    int BoldExtra26() const { return FBoldExtra26; }

    /// The glyph of a glyph index of this file, rendered on first use (an
    /// index the file lacks gives its missing-character glyph, index 0).
    /// Thread-safe; a glyph already rendered is found without a lock.
    const TGlyph& GlyphAt(unsigned GlyphIndex) const {
        if (GlyphIndex < FGlyphCount) {
            const TGlyph* G = FByIndex[GlyphIndex].load(std::memory_order_acquire);
            if (G) return *G;
        }
        return SlowGlyphAt(GlyphIndex);
    }

    /// Whether the file maps the code point to a glyph of its own.
    bool Covers(char32_t CodePoint) const;

    /// The text shaped as one paragraph, from the cache when it was shaped
    /// before. Thread-safe.
    std::shared_ptr<const TShapedText> Shape(std::string_view Utf8, bool RightToLeft) const;

    /// Shapes one run of Text (characters [Begin, End), one direction and
    /// script) with this file, appending its glyphs to Out. Clusters are
    /// character indices into Text. Thread-safe.
    void ShapeRun(std::u32string_view Text, size_t Begin, size_t End, bool RightToLeft,
                  std::uint32_t Script, std::vector<TShapedGlyph>& Out) const;

    /// How many faces stand in for characters this file lacks (0 for a
    /// source that is itself a stand-in). Call it before FallbackFile and
    /// Fallback: it fetches the list they read.
    size_t FallbackCount() const;
    /// Stand-in face Index (below FallbackCount, best first), and the source
    /// for it at this source's em size, opened on first use (null when the
    /// file cannot be used).
    ///@{
    const TFallbackFile& FallbackFile(size_t Index) const;
    const TGlyphSource* Fallback(size_t Index) const;
    ///@}

private:
    const TGlyph& SlowGlyphAt(unsigned GlyphIndex) const;
    // FreeType's load flags for glyphs and their advances.
    int LoadFlags() const;
    const TGlyph* RenderLocked(unsigned GlyphIndex) const;
    hb_font_t* HarfBuzzFontLocked() const;

    TGlyphSourceKey FKey;
    TTextMetric FMetrics;
    int FEmPixels = 0;
    int FUnderlineOffset = 1;
    int FLineThickness = 1;
    int FStrikeOutOffset = 3;
    int FBoldExtra26 = 0;

    struct TFreeTypeFace;
    std::unique_ptr<TFreeTypeFace> FFace;
    // The characters of this file, from fontconfig, for choosing a face per
    // character without touching FreeType.
    const _FcCharSet* FChars = nullptr;

    // The cache is bounded by the number of glyphs in the file: glyphs are
    // kept by glyph index.
    mutable std::mutex FMutex;
    mutable std::unique_ptr<std::atomic<const TGlyph*>[]> FByIndex;
    mutable std::vector<std::unique_ptr<TGlyph>> FOwned;
    unsigned FGlyphCount = 0;
    mutable hb_font_t* FHarfBuzz = nullptr;

    // Stand-in faces, acquired when a character first needs one.
    mutable std::mutex FFallbackMutex;
    mutable const std::vector<TFallbackFile>* FFallbackFiles = nullptr;
    mutable std::unique_ptr<std::shared_ptr<TGlyphSource>[]> FFallbacks;
    mutable std::unique_ptr<bool[]> FFallbackTried;

    struct TShapeCache;
    std::unique_ptr<TShapeCache> FShapeCache;
};

/// The glyph source for a key, shared while anyone holds it (and kept a
/// while after). Raises EInvalidGraphic when FreeType cannot use the file.
std::shared_ptr<TGlyphSource> AcquireGlyphSource(const TGlyphSourceKey& Key);

/// The faces that stand in for characters missing from a face of a family
/// (empty: the interface's sans-serif), best first, as fontconfig sorts
/// them. The list is made once per family and style and kept.
const std::vector<TFallbackFile>& FallbackFiles(const String& Family, bool Bold, bool Italic);

/// The characters a face file has, as fontconfig lists them, or null.
const _FcCharSet* FileCharSet(const String& FileName, int FaceIndex);

/// Decodes one code point of UTF-8 at S[I], advancing I; I must be below
/// S.size(). A malformed sequence (its longest start that could still have
/// been a character, or one stray byte) yields one U+FFFD, so decoding
/// always makes progress and never reads past the end.
inline char32_t NextCodePoint(std::string_view S, size_t& I) {
    const auto B0 = static_cast<unsigned char>(S[I++]);
    if (B0 < 0x80) return B0;
    int Len = 0;
    char32_t CP = 0;
    unsigned char Low = 0x80, High = 0xBF; // the second byte's range
    if (B0 >= 0xC2 && B0 <= 0xDF) {
        Len = 2;
        CP = B0 & 0x1F;
    } else if (B0 >= 0xE0 && B0 <= 0xEF) {
        Len = 3;
        CP = B0 & 0x0F;
        if (B0 == 0xE0) Low = 0xA0;
        if (B0 == 0xED) High = 0x9F; // no surrogates
    } else if (B0 >= 0xF0 && B0 <= 0xF4) {
        Len = 4;
        CP = B0 & 0x07;
        if (B0 == 0xF0) Low = 0x90;
        if (B0 == 0xF4) High = 0x8F; // nothing past U+10FFFF
    } else {
        return 0xFFFD;
    }
    for (int K = 1; K < Len; ++K) {
        if (I >= S.size()) return 0xFFFD;
        const auto B = static_cast<unsigned char>(S[I]);
        if (B < Low || B > High) return 0xFFFD;
        Low = 0x80;
        High = 0xBF;
        CP = (CP << 6) | (B & 0x3F);
        ++I;
    }
    return CP;
}

} // namespace folio
