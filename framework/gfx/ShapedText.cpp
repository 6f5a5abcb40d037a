// Shaped text laid out on a line: its runs put in visual order by their
// bidirectional levels, and cursor positions found on screen.

#include "framework/gfx/ShapedText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace folio {

namespace {

// A piece of one run that lies on a line, in the line's visual order.
struct TPiece {
    size_t Run;
    size_t GlyphBegin, GlyphEnd;
    std::uint8_t Level;
};

// The pieces of the runs that [Begin, End) covers, ordered on screen: from
// the highest level down to the lowest odd one, every stretch of pieces at
// that level or above is reversed.
void OrderPieces(const TShapedText& T, size_t Begin, size_t End, std::vector<TPiece>& Pieces) {
    Pieces.clear();
    for (size_t R = 0; R < T.Runs.size(); ++R) {
        const TShapedRun& Run = T.Runs[R];
        if (Run.ByteEnd <= Begin || Run.ByteBegin >= End) continue;
        size_t GB = Run.GlyphBegin, GE = Run.GlyphEnd;
        // Glyph clusters rise through a left-to-right run and fall through
        // a right-to-left one: the line's glyphs are one stretch of either.
        while (GB < GE && (T.Glyphs[GB].Cluster < Begin || T.Glyphs[GB].Cluster >= End)) ++GB;
        while (GE > GB && (T.Glyphs[GE - 1].Cluster < Begin || T.Glyphs[GE - 1].Cluster >= End))
            --GE;
        if (GB < GE) Pieces.push_back(TPiece{R, GB, GE, Run.Level});
    }
    if (Pieces.size() < 2) return;
    std::uint8_t Highest = 0, LowestOdd = 255;
    for (const TPiece& P : Pieces) {
        Highest = std::max(Highest, P.Level);
        if (P.Level & 1) LowestOdd = std::min(LowestOdd, P.Level);
    }
    for (int Level = Highest; Level >= LowestOdd && Level > 0; --Level) {
        for (size_t I = 0; I < Pieces.size();) {
            if (Pieces[I].Level < Level) {
                ++I;
                continue;
            }
            size_t J = I;
            while (J < Pieces.size() && Pieces[J].Level >= Level) ++J;
            std::reverse(Pieces.begin() + static_cast<ptrdiff_t>(I),
                         Pieces.begin() + static_cast<ptrdiff_t>(J));
            I = J;
        }
    }
}

} // namespace

void TShapedText::VisualGlyphRanges(size_t Begin, size_t End, std::vector<TGlyphRange>& Out) const {
    thread_local std::vector<TPiece> Pieces;
    OrderPieces(*this, Begin, std::min(End, Size), Pieces);
    Out.clear();
    for (const TPiece& P : Pieces) Out.push_back(TGlyphRange{P.GlyphBegin, P.GlyphEnd});
}

size_t TShapedText::CharacterStart(size_t Byte) const {
    while (Byte > 0 && Byte < Size && !(Breaks[Byte] & tbGraphemeStart)) --Byte;
    return Byte;
}

size_t TShapedText::NextGrapheme(size_t Byte) const {
    if (Byte >= Size) return Size;
    ++Byte;
    while (Byte < Size && !(Breaks[Byte] & tbGraphemeStart)) ++Byte;
    return Byte;
}

size_t TShapedText::PrevGrapheme(size_t Byte) const {
    if (Byte == 0) return 0;
    Byte = std::min(Byte, Size) - 1;
    while (Byte > 0 && !(Breaks[Byte] & tbGraphemeStart)) --Byte;
    return Byte;
}

void TShapedText::VisualClusters(size_t Begin, size_t End, std::vector<TVisualCluster>& Out) const {
    Out.clear();
    End = std::min(End, Size);
    thread_local std::vector<TPiece> Pieces;
    OrderPieces(*this, Begin, End, Pieces);
    std::int64_t Pen = 0;
    for (const TPiece& P : Pieces) {
        const TShapedRun& Run = Runs[P.Run];
        const bool Rtl = (Run.Level & 1) != 0;
        // Runs hold whole characters, but for a run of marks too long to
        // shape at once: its pieces keep to their own bytes.
        const auto CharacterStart = [&](size_t Byte) {
            return std::max(this->CharacterStart(Byte), Run.ByteBegin);
        };
        for (size_t G = P.GlyphBegin; G < P.GlyphEnd;) {
            // The glyphs of one character stand together. A character the
            // shaper made several clusters of (a conjunct) is one place for
            // the cursor: its clusters are taken together.
            const size_t Cluster = CharacterStart(Glyphs[G].Cluster);
            std::int64_t Advance = 0;
            size_t H = G;
            while (H < P.GlyphEnd && CharacterStart(Glyphs[H].Cluster) == Cluster)
                Advance += Glyphs[H++].Advance;
            // The cluster's bytes end where the next one in logical order
            // starts: the glyph after it on screen, or before it when the
            // run reads right to left.
            size_t ClusterEnd = std::min(Run.ByteEnd, End);
            if (!Rtl && H < P.GlyphEnd) ClusterEnd = CharacterStart(Glyphs[H].Cluster);
            if (Rtl && G > P.GlyphBegin) ClusterEnd = CharacterStart(Glyphs[G - 1].Cluster);
            // A cluster holding several characters (a ligature) is split
            // evenly between them, so the cursor can stand inside it.
            int Stops = 0;
            for (size_t B = Cluster; B < ClusterEnd; ++B) Stops += IsGraphemeStart(B) ? 1 : 0;
            Stops = std::max(Stops, 1);
            std::int64_t Given = 0;
            size_t From = Cluster;
            for (int K = 1; K <= Stops; ++K) {
                size_t To = K == Stops ? ClusterEnd : NextGrapheme(From);
                To = std::min(To, ClusterEnd);
                const std::int64_t Share = Advance * K / Stops - Given;
                TVisualCluster C;
                C.ByteBegin = From;
                C.ByteEnd = To;
                C.RightToLeft = Rtl;
                // Right to left, the first character's share is the rightmost.
                const std::int64_t Left = Rtl ? Pen + Advance - Given - Share : Pen + Given;
                C.X = Pixels(Left);
                C.Width = Pixels(Left + Share) - C.X;
                Out.push_back(C);
                Given += Share;
                From = To;
            }
            Pen += Advance;
            G = H;
        }
    }
    // Within a right-to-left cluster split into characters, the shares were
    // pushed from the right: order the list left to right. It is sorted but
    // for those few places, and sorting it in place allocates nothing.
    for (size_t I = 1; I < Out.size(); ++I)
        for (size_t J = I; J > 0 && Out[J].X < Out[J - 1].X; --J) std::swap(Out[J], Out[J - 1]);
}

namespace {

// Where the cursor shows for each position of a line. The cursor stands in
// one of the gaps between clusters on screen (gap I left of cluster I, gap
// N right of the last). A position shows at the leading edge of the
// character after it, or at the trailing edge of the one before it at the
// line's end; where two directions meet, two positions can ask for the same
// gap, and the one whose character reads against the paragraph takes its
// other edge. Every position then has a gap of its own, so the arrows reach
// every position and never come back in one direction.
void AssignGaps(const std::vector<TVisualCluster>& C, bool ParagraphRtl,
                std::vector<size_t>& PosAtGap, std::vector<std::pair<size_t, size_t>>& GapOfPos) {
    const size_t N = C.size();
    PosAtGap.assign(N + 1, SIZE_MAX);
    GapOfPos.clear();
    thread_local std::vector<std::pair<size_t, size_t>> Leading, Trailing; // byte, cluster
    Leading.clear();
    Trailing.clear();
    for (size_t I = 0; I < N; ++I) {
        Leading.emplace_back(C[I].ByteBegin, I);
        Trailing.emplace_back(C[I].ByteEnd, I);
    }
    std::sort(Leading.begin(), Leading.end());
    std::sort(Trailing.begin(), Trailing.end());
    const auto Find = [](const std::vector<std::pair<size_t, size_t>>& V, size_t Byte) {
        auto It = std::lower_bound(V.begin(), V.end(), std::make_pair(Byte, size_t(0)));
        return It != V.end() && It->first == Byte ? It->second : SIZE_MAX;
    };
    // Positions: every cluster's start, and the ends that start nothing.
    for (const auto& L : Leading) GapOfPos.emplace_back(L.first, SIZE_MAX);
    for (const auto& T : Trailing)
        if (Find(Leading, T.first) == SIZE_MAX) GapOfPos.emplace_back(T.first, SIZE_MAX);
    std::sort(GapOfPos.begin(), GapOfPos.end());
    GapOfPos.erase(std::unique(GapOfPos.begin(), GapOfPos.end()), GapOfPos.end());
    const auto Edges = [&](size_t Pos, size_t& First, size_t& Second, bool& Against) {
        const size_t Lead = Find(Leading, Pos), Trail = Find(Trailing, Pos);
        const auto TrailGap = [&] { return C[Trail].RightToLeft ? Trail : Trail + 1; };
        First = Lead != SIZE_MAX ? (C[Lead].RightToLeft ? Lead + 1 : Lead) : TrailGap();
        Second = Trail != SIZE_MAX ? TrailGap() : First;
        Against = Lead != SIZE_MAX && C[Lead].RightToLeft != ParagraphRtl;
    };
    // Taking gaps first come, first served can leave a position with both
    // its gaps taken although every position could have one of its own:
    // then positions already placed move to their other edge, along a chain
    // that ends at a free gap. Such chains run along a stretch where the
    // directions alternate; a bound on their length keeps the stack small
    // for any text.
    constexpr int LongestChain = 256;
    thread_local std::vector<char> Tried;
    const auto Place = [&](auto& Self, size_t Pos, int Depth) -> bool {
        if (Depth > LongestChain) return false;
        size_t First = 0, Second = 0;
        bool Against = false;
        Edges(Pos, First, Second, Against);
        for (size_t G : {First, Second}) {
            if (Tried[G]) continue;
            Tried[G] = 1;
            if (PosAtGap[G] != SIZE_MAX && !Self(Self, PosAtGap[G], Depth + 1)) continue;
            PosAtGap[G] = Pos;
            std::lower_bound(GapOfPos.begin(), GapOfPos.end(), std::make_pair(Pos, size_t(0)))
                ->second = G;
            return true;
        }
        return false;
    };
    for (int Pass = 0; Pass < 2; ++Pass) {
        for (auto& [Pos, Gap] : GapOfPos) {
            if (Gap != SIZE_MAX) continue;
            size_t First = 0, Second = 0;
            bool Against = false;
            Edges(Pos, First, Second, Against);
            if (Pass == 0 && Against) continue;
            for (size_t G : {First, Second})
                if (PosAtGap[G] == SIZE_MAX) {
                    PosAtGap[G] = Pos;
                    Gap = G;
                    break;
                }
            if (Gap != SIZE_MAX || Pass == 0) continue;
            Tried.assign(N + 1, 0);
            if (!Place(Place, Pos, 0)) Gap = First; // shown there, reached by a click
        }
    }
}

struct TCaretMap {
    std::vector<TVisualCluster> Clusters;
    std::vector<size_t> PosAtGap;
    std::vector<std::pair<size_t, size_t>> GapOfPos;

    void Make(const TShapedText& T, size_t Begin, size_t End) {
        T.VisualClusters(Begin, End, Clusters);
        AssignGaps(Clusters, T.RightToLeft, PosAtGap, GapOfPos);
    }
    size_t GapOf(size_t Pos) const {
        auto It =
            std::lower_bound(GapOfPos.begin(), GapOfPos.end(), std::make_pair(Pos, size_t(0)));
        if (It != GapOfPos.end() && It->first == Pos) return It->second;
        // Inside a cluster (never a cursor place): its left gap.
        for (size_t I = 0; I < Clusters.size(); ++I)
            if (Clusters[I].ByteBegin < Pos && Pos < Clusters[I].ByteEnd) return I;
        return SIZE_MAX;
    }
    int XOf(size_t Gap) const {
        if (Gap >= Clusters.size()) return Clusters.back().X + Clusters.back().Width;
        return Clusters[Gap].X;
    }
};

} // namespace

int TShapedText::CaretX(size_t Begin, size_t End, size_t Pos) const {
    thread_local TCaretMap Map;
    Map.Make(*this, Begin, End);
    if (Map.Clusters.empty()) return 0;
    const size_t Gap = Map.GapOf(Pos);
    // Past the line's end: after its last character in reading order.
    if (Gap == SIZE_MAX) return RightToLeft ? Map.XOf(0) : Map.XOf(Map.Clusters.size());
    return Map.XOf(Gap);
}

size_t TShapedText::PosFromX(size_t Begin, size_t End, int X) const {
    thread_local TCaretMap Map;
    Map.Make(*this, Begin, End);
    if (Map.Clusters.empty()) return Begin;
    // The nearest gap that shows a position.
    size_t Best = SIZE_MAX;
    int BestDistance = 0;
    for (size_t G = 0; G < Map.PosAtGap.size(); ++G) {
        if (Map.PosAtGap[G] == SIZE_MAX) continue;
        const int D = std::abs(Map.XOf(G) - X);
        if (Best == SIZE_MAX || D < BestDistance) {
            Best = G;
            BestDistance = D;
        }
    }
    return Best == SIZE_MAX ? Begin : Map.PosAtGap[Best];
}

size_t TShapedText::MoveVisually(size_t Begin, size_t End, size_t Pos, bool Right) const {
    thread_local TCaretMap Map;
    Map.Make(*this, Begin, End);
    const size_t N = Map.Clusters.size();
    if (N == 0) return Pos;
    size_t Gap = Map.GapOf(Pos);
    if (Gap == SIZE_MAX) Gap = RightToLeft ? 0 : N;
    for (size_t H = Gap;;) {
        if (Right ? H >= N : H == 0) return Pos;
        H = Right ? H + 1 : H - 1;
        if (Map.PosAtGap[H] != SIZE_MAX && Map.PosAtGap[H] != Pos) return Map.PosAtGap[H];
    }
}

} // namespace folio
