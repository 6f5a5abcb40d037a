// The text drawing kernels: glyph coverage blended over surface pixels. This
// file is built with the pixel-kernel optimisation flags.

#include "framework/gfx/CoverageBlend.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/GlyphCache.h"

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace folio {

namespace {

// Blends Color over Dst by A (0..256). Red and blue share one multiply: each
// product stays below 2^16 so the channels never carry into each other.
inline TPixel Blend(TPixel Dst, TPixel Color, std::uint32_t A) {
    const std::uint32_t Inv = 256 - A;
    const std::uint32_t RB = (((Color & 0xFF00FFu) * A + (Dst & 0xFF00FFu) * Inv) >> 8) & 0xFF00FFu;
    const std::uint32_t G = (((Color & 0x00FF00u) * A + (Dst & 0x00FF00u) * Inv) >> 8) & 0x00FF00u;
    return 0xFF000000u | RB | G;
}

inline void BlendCoverage(TPixel* Dst, std::uint8_t Coverage, TPixel Color) {
    if (Coverage == 0) return;
    if (Coverage == 255)
        *Dst = Color;
    else
        *Dst = Blend(*Dst, Color, Coverage + (Coverage >> 7u));
}

TRect Intersect(const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    if (R.IsEmpty()) return TRect{};
    return R;
}

// Where a rectangle of the text's own frame lands on the surface after the
// given quarter turns about the cell origin (X, Y).
TRect TurnRect(int Turns, int X, int Y, const TRect& C) {
    switch (Turns) {
    case 1:
        return TRect{X + C.Top, Y - C.Right, X + C.Bottom, Y - C.Left};
    case 2:
        return TRect{X - C.Right, Y - C.Bottom, X - C.Left, Y - C.Top};
    case 3:
        return TRect{X - C.Bottom, Y + C.Left, X - C.Top, Y + C.Right};
    default:
        return TRect{X + C.Left, Y + C.Top, X + C.Right, Y + C.Bottom};
    }
}

// The text-frame pixel (U, V) drawn at surface pixel (SX, SY).
inline void UnturnPoint(int Turns, int X, int Y, int SX, int SY, int& U, int& V) {
    switch (Turns) {
    case 1:
        U = Y - 1 - SY;
        V = SX - X;
        break;
    case 2:
        U = X - 1 - SX;
        V = Y - 1 - SY;
        break;
    case 3:
        U = SY - Y;
        V = X - 1 - SX;
        break;
    default:
        U = SX - X;
        V = SY - Y;
        break;
    }
}

void BlitUpright(const TPixelSurface& Target, const TRect& Clip, int GX, int GY, const TGlyph& G,
                 TPixel Color) {
    const int X0 = std::max(GX, Clip.Left), X1 = std::min(GX + G.Width, Clip.Right);
    const int Y0 = std::max(GY, Clip.Top), Y1 = std::min(GY + G.Height, Clip.Bottom);
    if (X0 >= X1 || Y0 >= Y1) return;
    const int Count = X1 - X0;
    for (int Y = Y0; Y < Y1; ++Y) {
        const std::uint8_t* Cov =
            G.Coverage.get() + static_cast<ptrdiff_t>(Y - GY) * G.Width + (X0 - GX);
        raster::BlendCoverageRow(Target.Row(Y) + X0, Cov, Count, Color);
    }
}

void BlitTurned(const TPixelSurface& Target, const TRect& Clip, int Turns, int X, int Y, int U0,
                int V0, const TGlyph& G, TPixel Color) {
    const TRect S =
        Intersect(TurnRect(Turns, X, Y, TRect{U0, V0, U0 + G.Width, V0 + G.Height}), Clip);
    for (int SY = S.Top; SY < S.Bottom; ++SY) {
        TPixel* Row = Target.Row(SY);
        for (int SX = S.Left; SX < S.Right; ++SX) {
            int U = 0, V = 0;
            UnturnPoint(Turns, X, Y, SX, SY, U, V);
            BlendCoverage(Row + SX, G.Coverage[static_cast<size_t>(V - V0) * G.Width + (U - U0)],
                          Color);
        }
    }
}

} // namespace

namespace raster {

// Four pixels at a time where the processor has SSE2. Each channel is worked on in 16 bits as
// (C * A + D * (256 - A)) >> 8, which is exactly what Blend gives (its
// products never carry between channels); A of 0 and 256 leave the pixel
// and give the colour unchanged, so the pixels equal BlendCoverage's.
void BlendCoverageRow(TPixel* Dst, const std::uint8_t* Cov, int Count, TPixel Color) {
    int I = 0;
#ifdef __SSE2__
    const __m128i Zero = _mm_setzero_si128();
    const __m128i C16 = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(Color)), Zero);
    const __m128i Full = _mm_set1_epi16(256);
    const __m128i Opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; I + 4 <= Count; I += 4) {
        std::uint32_t Four;
        std::memcpy(&Four, Cov + I, 4);
        if (Four == 0) continue;
        __m128i A = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(Four)), Zero);
        A = _mm_add_epi16(A, _mm_srli_epi16(A, 7));
        const __m128i Pairs = _mm_unpacklo_epi16(A, A);
        const __m128i ALo = _mm_unpacklo_epi32(Pairs, Pairs);
        const __m128i AHi = _mm_unpackhi_epi32(Pairs, Pairs);
        __m128i* P = reinterpret_cast<__m128i*>(Dst + I);
        const __m128i D = _mm_loadu_si128(P);
        const __m128i Lo = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(C16, ALo),
                          _mm_mullo_epi16(_mm_unpacklo_epi8(D, Zero), _mm_sub_epi16(Full, ALo))),
            8);
        const __m128i Hi = _mm_srli_epi16(
            _mm_add_epi16(_mm_mullo_epi16(C16, AHi),
                          _mm_mullo_epi16(_mm_unpackhi_epi8(D, Zero), _mm_sub_epi16(Full, AHi))),
            8);
        // A pixel under no coverage keeps its alpha byte as well.
        const __m128i Untouched = _mm_cmpeq_epi32(_mm_unpacklo_epi16(A, Zero), Zero);
        const __m128i Mixed = _mm_or_si128(_mm_packus_epi16(Lo, Hi), Opaque);
        _mm_storeu_si128(
            P, _mm_or_si128(_mm_and_si128(Untouched, D), _mm_andnot_si128(Untouched, Mixed)));
    }
#endif
    for (; I < Count; ++I) BlendCoverage(Dst + I, Cov[I], Color);
}

} // namespace raster

void TFontFace::DrawString(const TPixelSurface& Target, const TRect& Clip, int X, int Y,
                           std::string_view Utf8, TPixel Color) const {
    if (!Target.Valid() || Utf8.empty()) return;
    const auto Shaped = Shape(Utf8);
    DrawShaped(Target, Clip, X, Y, *Shaped, 0, Shaped->Size, Color);
}

int TFontFace::DrawShaped(const TPixelSurface& Target, const TRect& Clip, int X, int Y,
                          const TShapedText& Text, size_t Begin, size_t End, TPixel Color) const {
    thread_local std::vector<TShapedText::TGlyphRange> Ranges;
    Text.VisualGlyphRanges(Begin, End, Ranges);
    std::int64_t Pen = 0;
    for (const auto& R : Ranges)
        for (size_t I = R.Begin; I < R.End; ++I) Pen += Text.Glyphs[I].Advance;
    const int Width = TShapedText::Pixels(Pen);
    if (!Target.Valid()) return Width;
    const TRect C = Intersect(Clip, TRect{0, 0, Target.Width, Target.Height});
    if (C.IsEmpty()) return Width;
    Color |= 0xFF000000u;
    const int Ascent = FSource->Metrics().tmAscent;
    const int Turns = FQuarterTurns;
    // How far along the text's direction the clip reaches from the origin:
    // glyphs beyond it (plus an em for overhangs) cannot show, so a long
    // line stops being walked there.
    const std::int64_t Reach = static_cast<std::int64_t>((Turns == 0   ? C.Right - X
                                                          : Turns == 1 ? Y - C.Top
                                                          : Turns == 2 ? X - C.Left
                                                                       : C.Bottom - Y) +
                                                         FSource->EmPixels())
                               << 6;
    Pen = 0;
    for (const auto& R : Ranges) {
        for (size_t I = R.Begin; I < R.End && Pen <= Reach; ++I) {
            const TShapedGlyph& SG = Text.Glyphs[I];
            if (SG.Ink) {
                const TGlyph& G = SG.Source->GlyphAt(SG.Index);
                if (G.Width > 0) {
                    const int U0 = TShapedText::Pixels(Pen + SG.XOffset) + G.Left;
                    const int V0 = Ascent - TShapedText::Pixels(SG.YOffset) - G.Top;
                    if (Turns == 0)
                        BlitUpright(Target, C, X + U0, Y + V0, G, Color);
                    else
                        BlitTurned(Target, C, Turns, X, Y, U0, V0, G, Color);
                }
            }
            Pen += SG.Advance;
        }
    }
    if (FLogFont.Underline)
        FillCellRect(Target, C, X, Y,
                     TRect{0, FUnderlineTop, Width, FUnderlineTop + FLineThickness}, Color);
    if (FLogFont.StrikeOut)
        FillCellRect(Target, C, X, Y,
                     TRect{0, FStrikeOutTop, Width, FStrikeOutTop + FLineThickness}, Color);
    return Width;
}

void TFontFace::FillCellRect(const TPixelSurface& Target, const TRect& Clip, int X, int Y,
                             const TRect& CellRect, TPixel Color) const {
    if (!Target.Valid() || CellRect.IsEmpty()) return;
    const TRect S = Intersect(Intersect(TurnRect(FQuarterTurns, X, Y, CellRect), Clip),
                              TRect{0, 0, Target.Width, Target.Height});
    Color |= 0xFF000000u;
    for (int SY = S.Top; SY < S.Bottom; ++SY)
        std::fill(Target.Row(SY) + S.Left, Target.Row(SY) + S.Right, Color);
}

} // namespace folio
