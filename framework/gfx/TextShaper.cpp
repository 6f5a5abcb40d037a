// One paragraph of text made into positioned glyphs: decoded, given its
// bidirectional levels by FriBidi, split into runs of one direction, script
// and face (the first face of the fallback list that has each cluster's
// characters), and each run shaped by HarfBuzz.

#include "framework/gfx/GlyphCache.h"
#include "framework/gfx/ShapedText.h"

#include <fribidi.h>
#include <hb.h>

#include <algorithm>

namespace folio {

namespace {

// A run is shaped in pieces of at most this many characters, cut where a
// new character (not a mark) starts: the buffers one shaping call needs
// stay small, whatever the text.
constexpr size_t MaxPieceChars = 4096;

hb_unicode_funcs_t* Unicode() {
    static hb_unicode_funcs_t* const Funcs = hb_unicode_funcs_get_default();
    return Funcs;
}

bool IsControl(char32_t C) {
    return C < 0x20 || (C >= 0x7F && C < 0xA0);
}

// Characters that belong to the character before them: marks, joiners,
// variation selectors and emoji modifiers. They take the face of their base.
bool Extends(char32_t C) {
    if (C == 0x200C || C == 0x200D) return true;
    if ((C >= 0xFE00 && C <= 0xFE0F) || (C >= 0xE0100 && C <= 0xE01EF)) return true;
    if (C >= 0x1F3FB && C <= 0x1F3FF) return true;
    if (C >= 0xE0020 && C <= 0xE007F) return true; // emoji tag characters
    switch (hb_unicode_general_category(Unicode(), C)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
        return true;
    default:
        return false;
    }
}

// Joiners and selectors that a face need not have for its cluster to draw.
bool Invisible(char32_t C) {
    return C == 0x200C || C == 0x200D || (C >= 0xFE00 && C <= 0xFE0F) ||
           (C >= 0xE0100 && C <= 0xE01EF) || (C >= 0xE0020 && C <= 0xE007F);
}

bool IsNeutralScript(hb_script_t S) {
    return S == HB_SCRIPT_COMMON || S == HB_SCRIPT_INHERITED || S == HB_SCRIPT_UNKNOWN;
}

bool CoversCluster(const TGlyphSource& Source, const char32_t* CPs, size_t Count) {
    for (size_t I = 0; I < Count; ++I)
        if (!Invisible(CPs[I]) && !Source.Covers(CPs[I])) return false;
    return true;
}

// The face for the cluster CPs[0..Count): the previous cluster's face when
// the cluster is punctuation or space it has (runs stay whole), then the
// primary face, then the fallback list; the first face with the cluster's
// base when none has it all; the primary face (its missing glyph) last.
const TGlyphSource* ChooseSource(const TGlyphSource& Primary, const TGlyphSource* Previous,
                                 bool Neutral, const char32_t* CPs, size_t Count) {
    if (IsControl(CPs[0])) return &Primary;
    if (Neutral && Previous && CoversCluster(*Previous, CPs, Count)) return Previous;
    if (CoversCluster(Primary, CPs, Count)) return &Primary;
    const size_t N = Primary.FallbackCount();
    const TGlyphSource* BaseOnly = nullptr;
    for (size_t I = 0; I < N; ++I) {
        // The character sets come from fontconfig: most faces are ruled out
        // before their file is opened.
        const TFallbackFile& File = Primary.FallbackFile(I);
        if (File.FileName == Primary.FileName()) continue;
        const TGlyphSource* Source = Primary.Fallback(I);
        if (!Source) continue;
        if (CoversCluster(*Source, CPs, Count)) return Source;
        if (!BaseOnly && Source->Covers(CPs[0])) BaseOnly = Source;
    }
    return BaseOnly ? BaseOnly : &Primary;
}

// Buffers one thread reuses from paragraph to paragraph.
struct TScratch {
    std::vector<char32_t> CPs;
    std::vector<std::uint32_t> ByteOf; // per character, plus the end
    std::vector<FriBidiCharType> Types;
    std::vector<FriBidiBracketType> Brackets;
    std::vector<FriBidiLevel> Levels;
    std::vector<hb_script_t> Scripts;
    std::vector<const TGlyphSource*> Sources;
    std::vector<std::int64_t> Advance; // per byte
};

void Decode(std::string_view Text, TScratch& S) {
    S.CPs.clear();
    S.ByteOf.clear();
    for (size_t I = 0; I < Text.size();) {
        S.ByteOf.push_back(static_cast<std::uint32_t>(I));
        S.CPs.push_back(NextCodePoint(Text, I));
    }
    S.ByteOf.push_back(static_cast<std::uint32_t>(Text.size()));
}

void ResolveLevels(bool RightToLeft, TScratch& S) {
    const size_t N = S.CPs.size();
    S.Levels.assign(N, RightToLeft ? 1 : 0);
    // Text with nothing written right to left keeps the paragraph's level
    // without asking the algorithm.
    bool AnyRtl = RightToLeft;
    S.Types.resize(N);
    const auto* Chars = reinterpret_cast<const FriBidiChar*>(S.CPs.data());
    fribidi_get_bidi_types(Chars, static_cast<FriBidiStrIndex>(N), S.Types.data());
    for (size_t I = 0; I < N && !AnyRtl; ++I) {
        const FriBidiCharType T = S.Types[I];
        AnyRtl = FRIBIDI_IS_RTL(T) || FRIBIDI_IS_ARABIC(T) || FRIBIDI_IS_EXPLICIT(T) ||
                 FRIBIDI_IS_ISOLATE(T);
    }
    if (!AnyRtl) return;
    S.Brackets.resize(N);
    fribidi_get_bracket_types(Chars, static_cast<FriBidiStrIndex>(N), S.Types.data(),
                              S.Brackets.data());
    FriBidiParType Dir = RightToLeft ? FRIBIDI_PAR_RTL : FRIBIDI_PAR_LTR;
    if (fribidi_get_par_embedding_levels_ex(S.Types.data(), S.Brackets.data(),
                                            static_cast<FriBidiStrIndex>(N), &Dir,
                                            S.Levels.data()) == 0)
        S.Levels.assign(N, RightToLeft ? 1 : 0);
}

// A script per character: characters of no script of their own (spaces,
// digits, punctuation, marks) take the script before them, or the first
// one after them at the start.
void ResolveScripts(TScratch& S) {
    const size_t N = S.CPs.size();
    S.Scripts.resize(N);
    hb_script_t Last = HB_SCRIPT_COMMON;
    size_t Pending = 0; // characters at the start still waiting for a script
    for (size_t I = 0; I < N; ++I) {
        const hb_script_t Own = hb_unicode_script(Unicode(), S.CPs[I]);
        if (IsNeutralScript(Own)) {
            S.Scripts[I] = Last;
            if (IsNeutralScript(Last)) ++Pending;
            continue;
        }
        if (IsNeutralScript(Last))
            for (size_t K = I - Pending; K < I; ++K) S.Scripts[K] = Own;
        Pending = 0;
        S.Scripts[I] = Last = Own;
    }
}

void ChooseSources(const TGlyphSource& Primary, TScratch& S) {
    const size_t N = S.CPs.size();
    S.Sources.assign(N, &Primary);
    const TGlyphSource* Previous = nullptr;
    for (size_t I = 0; I < N;) {
        size_t End = I + 1;
        while (End < N && Extends(S.CPs[End]) && End - I < 64) ++End;
        const bool Neutral = IsNeutralScript(hb_unicode_script(Unicode(), S.CPs[I]));
        const TGlyphSource* Source =
            ChooseSource(Primary, Previous, Neutral, S.CPs.data() + I, End - I);
        std::fill(S.Sources.begin() + static_cast<ptrdiff_t>(I),
                  S.Sources.begin() + static_cast<ptrdiff_t>(End), Source);
        if (!IsControl(S.CPs[I])) Previous = Source;
        I = End;
    }
}

// Spreads each cluster's advance over the characters a cursor may stop
// before inside it (a ligature of two letters gives each half), and sums.
void FillLogicalX(TScratch& S, TShapedText& Out) {
    const size_t Size = Out.Size;
    S.Advance.assign(Size + 1, 0);
    for (const TShapedGlyph& G : Out.Glyphs) S.Advance[G.Cluster] += G.Advance;
    for (size_t B = 0; B < Size;) {
        if (!(Out.Breaks[B] & tbClusterStart)) {
            ++B;
            continue;
        }
        size_t End = B + 1;
        while (End < Size && !(Out.Breaks[End] & tbClusterStart)) ++End;
        int Stops = 0;
        for (size_t K = B; K < End; ++K) Stops += (Out.Breaks[K] & tbGraphemeStart) ? 1 : 0;
        if (Stops > 1) {
            const std::int64_t Total = S.Advance[B];
            std::int64_t Given = 0;
            int Seen = 0;
            for (size_t K = B; K < End; ++K) {
                if (!(Out.Breaks[K] & tbGraphemeStart)) continue;
                ++Seen;
                const std::int64_t Share = Total * Seen / Stops - Given;
                S.Advance[K] = Share;
                Given += Share;
            }
        }
        B = End;
    }
    Out.LogicalX.resize(Size + 1);
    std::int64_t X = 0;
    for (size_t B = 0; B <= Size; ++B) {
        Out.LogicalX[B] = X;
        if (B < Size) X += S.Advance[B];
    }
}

} // namespace

void ShapeParagraph(const TGlyphSource& Primary, std::string_view Text, bool RightToLeft,
                    TShapedText& Out) {
    thread_local TScratch S;
    Out.Glyphs.clear();
    Out.Runs.clear();
    Out.RightToLeft = RightToLeft;
    Out.Size = Text.size();
    FindTextBreaks(Text, Out.Breaks);

    Decode(Text, S);
    const size_t N = S.CPs.size();
    if (N > 0) {
        ResolveLevels(RightToLeft, S);
        ResolveScripts(S);
        ChooseSources(Primary, S);
    }

    for (size_t I = 0; I < N;) {
        size_t End = I + 1;
        while (End < N) {
            // A character is never split between runs: what the grapheme
            // rules join (a space and a spacing mark, say) stays in one run.
            const bool Inside = !(Out.Breaks[S.ByteOf[End]] & tbGraphemeStart);
            if (!Inside && (S.Levels[End] != S.Levels[I] || S.Scripts[End] != S.Scripts[I] ||
                            S.Sources[End] != S.Sources[I]))
                break;
            // A long run is cut before a new character; a run of nothing but
            // marks is cut anyway once it is twice the piece.
            if (End - I >= MaxPieceChars && (!Extends(S.CPs[End]) || End - I >= 2 * MaxPieceChars))
                break;
            ++End;
        }
        TShapedRun Run;
        Run.ByteBegin = S.ByteOf[I];
        Run.ByteEnd = S.ByteOf[End];
        Run.Level = S.Levels[I];
        Run.GlyphBegin = Out.Glyphs.size();
        const bool Rtl = (Run.Level & 1) != 0;
        const size_t First = Out.Glyphs.size();
        S.Sources[I]->ShapeRun(std::u32string_view(S.CPs.data(), N), I, End, Rtl,
                               static_cast<std::uint32_t>(S.Scripts[I]), Out.Glyphs);
        // Clusters come back as character indices; the text's users count bytes.
        for (size_t G = First; G < Out.Glyphs.size(); ++G) {
            TShapedGlyph& Glyph = Out.Glyphs[G];
            const std::uint32_t Char =
                std::min<std::uint32_t>(Glyph.Cluster, static_cast<std::uint32_t>(N - 1));
            Glyph.Cluster = S.ByteOf[Char];
            if (IsControl(S.CPs[Char])) {
                Glyph.Ink = false;
                Glyph.Advance = 0;
            }
            Out.Breaks[Glyph.Cluster] |= tbClusterStart;
        }
        Run.GlyphEnd = Out.Glyphs.size();
        Out.Runs.push_back(Run);
        I = End;
    }
    FillLogicalX(S, Out);
}

void TGlyphSource::ShapeRun(std::u32string_view Text, size_t Begin, size_t End, bool RightToLeft,
                            std::uint32_t Script, std::vector<TShapedGlyph>& Out) const {
    struct TBuffer {
        hb_buffer_t* B = hb_buffer_create();
        ~TBuffer() { hb_buffer_destroy(B); }
    };
    thread_local TBuffer Buffer;
    hb_buffer_t* B = Buffer.B;
    hb_buffer_clear_contents(B);
    // The whole paragraph goes in as context, so that a run's first and last
    // letters join with their neighbours as they should.
    hb_buffer_add_codepoints(B, reinterpret_cast<const hb_codepoint_t*>(Text.data()),
                             static_cast<int>(Text.size()), static_cast<unsigned>(Begin),
                             static_cast<int>(End - Begin));
    hb_buffer_set_direction(B, RightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(B, static_cast<hb_script_t>(Script));
    hb_buffer_guess_segment_properties(B);
    {
        std::lock_guard Lock(FMutex);
        hb_shape(HarfBuzzFontLocked(), B, nullptr, 0);
    }
    unsigned Count = 0;
    const hb_glyph_info_t* Info = hb_buffer_get_glyph_infos(B, &Count);
    const hb_glyph_position_t* Pos = hb_buffer_get_glyph_positions(B, &Count);
    for (unsigned I = 0; I < Count; ++I) {
        TShapedGlyph G;
        G.Source = this;
        G.Index = Info[I].codepoint;
        G.Cluster = Info[I].cluster;
        G.Advance = Pos[I].x_advance + (Pos[I].x_advance > 0 ? FBoldExtra26 : 0);
        G.XOffset = Pos[I].x_offset;
        G.YOffset = Pos[I].y_offset;
        Out.push_back(G);
    }
}

} // namespace folio
