// Shaped text laid out on a line: its runs put in visual order by their
// bidirectional levels, and cursor positions found on screen.

#include "framework/gfx/ShapedText.h"

#include <algorithm>
#include <cstdint>

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

int TShapedText::CaretX(size_t Begin, size_t End, size_t Pos) const {
    thread_local std::vector<TVisualCluster> Clusters;
    VisualClusters(Begin, End, Clusters);
    for (const TVisualCluster& C : Clusters)
        if (C.ByteBegin == Pos) return C.RightToLeft ? C.X + C.Width : C.X;
    for (const TVisualCluster& C : Clusters)
        if (C.ByteEnd == Pos) return C.RightToLeft ? C.X : C.X + C.Width;
    for (const TVisualCluster& C : Clusters)
        if (C.ByteBegin < Pos && Pos < C.ByteEnd) return C.RightToLeft ? C.X + C.Width : C.X;
    if (Clusters.empty()) return 0;
    // Past the line's end: after its last character in reading order.
    return RightToLeft ? Clusters.front().X : Clusters.back().X + Clusters.back().Width;
}

size_t TShapedText::PosFromX(size_t Begin, size_t End, int X) const {
    thread_local std::vector<TVisualCluster> Clusters;
    VisualClusters(Begin, End, Clusters);
    if (Clusters.empty()) return Begin;
    for (const TVisualCluster& C : Clusters) {
        if (X >= C.X + C.Width) continue;
        const bool LeftHalf = X < C.X + C.Width / 2 + (C.Width & 1);
        return LeftHalf == C.RightToLeft ? C.ByteEnd : C.ByteBegin;
    }
    const TVisualCluster& Last = Clusters.back();
    return Last.RightToLeft ? Last.ByteBegin : Last.ByteEnd;
}

size_t TShapedText::MoveVisually(size_t Begin, size_t End, size_t Pos, bool Right) const {
    thread_local std::vector<TVisualCluster> Clusters;
    VisualClusters(Begin, End, Clusters);
    const size_t N = Clusters.size();
    if (N == 0) return Pos;
    // The cursor stands in one of the gaps between clusters on screen: gap
    // I is left of cluster I, gap N right of the last. Where two directions
    // meet, one position has two gaps; it is shown in the one CaretX draws
    // it in (the leading edge of the character at it), its own gap.
    const auto OwnGap = [&](size_t P) {
        for (size_t I = 0; I < N; ++I)
            if (Clusters[I].ByteBegin == P) return Clusters[I].RightToLeft ? I + 1 : I;
        for (size_t I = 0; I < N; ++I)
            if (Clusters[I].ByteEnd == P) return Clusters[I].RightToLeft ? I : I + 1;
        for (size_t I = 0; I < N; ++I)
            if (Clusters[I].ByteBegin < P && P < Clusters[I].ByteEnd)
                return Clusters[I].RightToLeft ? I + 1 : I;
        return RightToLeft ? size_t(0) : N;
    };
    // The positions shown at gap H: the edges of the clusters beside it.
    const auto AtGap = [&](size_t H, size_t& A, size_t& B) {
        A = H > 0 ? (Clusters[H - 1].RightToLeft ? Clusters[H - 1].ByteBegin
                                                 : Clusters[H - 1].ByteEnd)
                  : SIZE_MAX;
        B = H < N ? (Clusters[H].RightToLeft ? Clusters[H].ByteEnd : Clusters[H].ByteBegin)
                  : SIZE_MAX;
    };
    // A step goes to the nearest gap in that direction that is some
    // position's own gap: every step moves the cursor on screen, so steps in
    // one direction never come back.
    const size_t From = OwnGap(Pos);
    for (size_t H = From;;) {
        if (Right ? H >= N : H == 0) return Pos;
        H = Right ? H + 1 : H - 1;
        size_t A = 0, B = 0;
        AtGap(H, A, B);
        if (A != SIZE_MAX && A != Pos && OwnGap(A) == H) return A;
        if (B != SIZE_MAX && B != Pos && OwnGap(B) == H) return B;
    }
}

} // namespace folio
