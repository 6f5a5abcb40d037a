#pragma once

// The font engine's own parts: the scaled font file with its glyph cache and
// the face resolver. Only the engine's .cpp files include this header.

#include "framework/gfx/FontEngine.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

namespace folio {

// Text wider than this is measured as this wide, which leaves room for any
// coordinate arithmetic on widths without overflow.
constexpr int MaxTextWidth = 1 << 28;

// One rendered glyph: its 8-bit coverage and where it sits relative to the
// pen position on the baseline.
struct TGlyph {
    int Advance = 0; // pixels
    int Left = 0;    // bitmap column of the pen position, negated
    int Top = 0;     // rows of the bitmap above the baseline
    int Width = 0;
    int Height = 0;
    std::unique_ptr<std::uint8_t[]> Coverage; // Width * Height, rows top down
};

// How a file is to be scaled and styled: the key of a glyph source.
struct TGlyphSourceKey {
    String FileName;
    int FaceIndex = 0;
    int Height = 0; // the logical font's height, either sign
    bool SynthBold = false;
    bool SynthItalic = false;
    // Bi-level glyphs: every coverage value 0 or 255.
    bool Mono = false;
    friend auto operator<=>(const TGlyphSourceKey&, const TGlyphSourceKey&) = default;
};

class TGlyphSource {
public:
    // Opens the file; raises EInvalidGraphic when FreeType cannot use it.
    explicit TGlyphSource(const TGlyphSourceKey& Key);
    ~TGlyphSource();
    TGlyphSource(const TGlyphSource&) = delete;
    TGlyphSource& operator=(const TGlyphSource&) = delete;

    const String& FileName() const { return FKey.FileName; }
    const TTextMetric& Metrics() const { return FMetrics; }
    int EmPixels() const { return FEmPixels; }
    int UnderlineOffset() const { return FUnderlineOffset; } // rows below the baseline
    int LineThickness() const { return FLineThickness; }
    int StrikeOutOffset() const { return FStrikeOutOffset; } // rows above the baseline

    // The glyph of a code point, rendered on first use. Thread-safe; a
    // Latin-1 glyph already rendered is found without a lock.
    const TGlyph& Glyph(char32_t CodePoint) const {
        if (CodePoint < LatinCount) {
            const TGlyph* G = FLatin[CodePoint].load(std::memory_order_acquire);
            if (G) return *G;
        }
        return SlowGlyph(CodePoint);
    }

private:
    static constexpr char32_t LatinCount = 256;

    const TGlyph& SlowGlyph(char32_t CodePoint) const;
    const TGlyph* RenderLocked(unsigned GlyphIndex, char32_t CodePoint) const;
    // The glyph of a code point this file has, or null; no fallback.
    const TGlyph* OwnGlyph(char32_t CodePoint) const;
    const TGlyph* FallbackLocked(char32_t CodePoint) const;

    TGlyphSourceKey FKey;
    TTextMetric FMetrics;
    int FEmPixels = 0;
    int FUnderlineOffset = 1;
    int FLineThickness = 1;
    int FStrikeOutOffset = 3;

    struct TFreeTypeFace;
    std::unique_ptr<TFreeTypeFace> FFace;

    // The cache is bounded by the number of glyphs in the file: glyphs are
    // kept by glyph index, and code points missing from the file share the
    // file's "missing" glyph.
    mutable std::mutex FMutex;
    mutable std::atomic<const TGlyph*> FLatin[LatinCount] = {};
    mutable std::unique_ptr<std::unique_ptr<TGlyph>[]> FByIndex;
    mutable TGlyph FControl; // control characters: no ink, no advance
    unsigned FGlyphCount = 0;
    // Code points this file lacks are drawn from the fallback face at the
    // same em size when it has them.
    mutable std::shared_ptr<TGlyphSource> FFallback;
    mutable bool FFallbackTried = false;
};

// The glyph source for a key, shared while anyone holds it.
std::shared_ptr<TGlyphSource> AcquireGlyphSource(const TGlyphSourceKey& Key);

// The declared fallback face's file for missing glyphs, or empty when it is
// not installed.
String FallbackFaceFile(bool Bold);

// Decodes one code point of UTF-8 at S[I], advancing I. A malformed sequence
// yields U+FFFD and consumes one byte, so decoding always makes progress.
inline char32_t NextCodePoint(std::string_view S, size_t& I) {
    const auto B0 = static_cast<unsigned char>(S[I]);
    if (B0 < 0x80) {
        ++I;
        return B0;
    }
    int Len = 0;
    char32_t CP = 0;
    if ((B0 & 0xE0) == 0xC0) {
        Len = 2;
        CP = B0 & 0x1F;
    } else if ((B0 & 0xF0) == 0xE0) {
        Len = 3;
        CP = B0 & 0x0F;
    } else if ((B0 & 0xF8) == 0xF0) {
        Len = 4;
        CP = B0 & 0x07;
    } else {
        ++I;
        return 0xFFFD;
    }
    if (I + static_cast<size_t>(Len) > S.size()) {
        ++I;
        return 0xFFFD;
    }
    for (int K = 1; K < Len; ++K) {
        const auto B = static_cast<unsigned char>(S[I + static_cast<size_t>(K)]);
        if ((B & 0xC0) != 0x80) {
            ++I;
            return 0xFFFD;
        }
        CP = (CP << 6) | (B & 0x3F);
    }
    const bool Overlong =
        (Len == 2 && CP < 0x80) || (Len == 3 && CP < 0x800) || (Len == 4 && CP < 0x10000);
    if (Overlong || CP > 0x10FFFF || (CP >= 0xD800 && CP <= 0xDFFF)) {
        ++I;
        return 0xFFFD;
    }
    I += static_cast<size_t>(Len);
    return CP;
}

} // namespace folio
