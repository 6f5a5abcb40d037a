// DrawText: prefix characters, paragraphs shaped in their reading direction,
// line breaking, alignment, ellipsis and the opaque background, on top of
// the face's shaped-text drawing.

#include "framework/gfx/FontEngine.h"
#include "framework/gfx/GlyphCache.h"

#include <algorithm>
#include <vector>

namespace folio {

namespace {

constexpr std::string_view Ellipsis = "...";

// The text as drawn, after prefix processing, with the way back to the
// caller's bytes so that a shortened string can be written back.
struct TDisplayText {
    String Chars;
    std::vector<size_t> Source;     // per displayed byte, plus one past the end
    std::vector<size_t> Underlined; // displayed offsets of "&x" characters
};

// A line: bytes [Begin, End) of one paragraph, shown up to Cut and then
// "..." when it was shortened.
struct TLine {
    size_t Para = 0;
    size_t Begin = 0;
    size_t End = 0;
    size_t Cut = 0;
    bool Ellipsis = false;
    int Width = 0;
};

// Fills D, whose buffers keep their room from one call to the next.
void MakeDisplayText(const String& Text, bool Prefixes, TDisplayText& D) {
    D.Chars.clear();
    D.Source.clear();
    D.Underlined.clear();
    D.Chars.reserve(Text.size());
    D.Source.reserve(Text.size() + 1);
    for (size_t I = 0; I < Text.size(); ++I) {
        const size_t TokenStart = I;
        if (Prefixes && Text[I] == '&') {
            // "&&" draws one ampersand; "&x" draws x underlined; a lone "&" at
            // the end draws nothing.
            if (I + 1 >= Text.size()) break;
            ++I;
            if (Text[I] != '&') D.Underlined.push_back(D.Chars.size());
        }
        // Copy the whole UTF-8 sequence so that an underlined character is
        // never split.
        size_t Next = I;
        NextCodePoint(Text, Next);
        for (size_t K = I; K < Next; ++K) {
            D.Chars.push_back(Text[K]);
            D.Source.push_back(TokenStart);
        }
        I = Next - 1;
    }
    D.Source.push_back(Text.size());
}

class TLayout {
public:
    TLayout(const TFontFace& Face, const std::vector<std::shared_ptr<const TShapedText>>& Paras,
            const std::vector<size_t>& ParaStart, const String& Chars, unsigned Format)
        : FFace(Face), FParas(Paras), FParaStart(ParaStart), FChars(Chars),
          FExpandTabs((Format & DT_EXPANDTABS) != 0),
          FTabWidth(std::max(1, 8 * Face.Metrics().tmAveCharWidth)) {}

    const TShapedText& Para(size_t P) const { return *FParas[P]; }
    char CharAt(size_t P, size_t I) const { return FChars[FParaStart[P] + I]; }

    // The width of bytes [Begin, End) of a paragraph, tabs stopping at
    // every eighth average character width when they are expanded.
    int Width(size_t P, size_t Begin, size_t End) const {
        const TShapedText& T = Para(P);
        if (!FExpandTabs) return std::min(T.Width(Begin, End), MaxTextWidth);
        int X = 0;
        size_t Seg = Begin;
        for (size_t I = Begin; I < End; ++I) {
            if (CharAt(P, I) != '\t') continue;
            X += T.Width(Seg, I);
            X = (std::min(X, MaxTextWidth) / FTabWidth + 1) * FTabWidth;
            Seg = I + 1;
        }
        return std::min(X + T.Width(Seg, End), MaxTextWidth);
    }

    // The end of [Begin, End) without the spaces it ends with.
    size_t Trim(size_t P, size_t Begin, size_t End) const {
        while (End > Begin && (CharAt(P, End - 1) == ' ' || CharAt(P, End - 1) == '\t')) --End;
        return End;
    }

    // Breaks a paragraph into lines no wider than MaxWidth where the line
    // breaking rules allow; a word wider than a line is broken between
    // characters only when BreakWords, and stands alone on its line
    // otherwise.
    void Wrap(size_t P, int MaxWidth, bool BreakWords, std::vector<TLine>& Lines) const {
        const TShapedText& T = Para(P);
        const size_t Size = T.Size;
        size_t LineStart = 0;
        size_t Fit = 0; // the last break at which the line still fits
        for (size_t B = 1; B <= Size; ++B) {
            const bool End = B == Size;
            if (!End && !(T.Breaks[B] & (tbBreakAllowed | tbBreakMandatory))) continue;
            const size_t Shown = Trim(P, LineStart, B);
            if (Shown > LineStart && Width(P, LineStart, Shown) > MaxWidth) {
                if (Fit > LineStart) {
                    Lines.push_back(TLine{P, LineStart, Trim(P, LineStart, Fit), 0, false, 0});
                    LineStart = Fit;
                    B = Fit; // look at this stretch again on the new line
                    continue;
                }
                if (BreakWords) {
                    // Cut between characters where the line stops fitting,
                    // keeping at least one character on it.
                    size_t Cut = T.NextGrapheme(LineStart);
                    for (size_t G = T.NextGrapheme(Cut); G <= Shown && G > Cut;
                         G = T.NextGrapheme(G)) {
                        if (Width(P, LineStart, G) > MaxWidth) break;
                        Cut = G;
                        if (G == Shown) break;
                    }
                    if (Cut < Shown) {
                        Lines.push_back(TLine{P, LineStart, Cut, 0, false, 0});
                        LineStart = Cut;
                        B = Cut;
                        continue;
                    }
                }
            }
            if (End) break;
            // Spaces at the start of a line are no place to break.
            if (Shown > LineStart) Fit = B;
            if (T.Breaks[B] & tbBreakMandatory) {
                Lines.push_back(TLine{P, LineStart, Shown, 0, false, 0});
                LineStart = Fit = B;
            }
        }
        Lines.push_back(TLine{P, LineStart, Size, 0, false, 0});
    }

    // Shortens a line to MaxWidth with "..." at its end, cut between whole
    // characters.
    void Shorten(TLine& Line, int MaxWidth) const {
        const TShapedText& T = Para(Line.Para);
        const int Dots = FFace.TextWidth(Ellipsis);
        size_t Cut = Line.Begin;
        int X = 0;
        for (size_t G = T.NextGrapheme(Line.Begin); G <= Line.End && G > Cut;
             G = T.NextGrapheme(G)) {
            const int W = Width(Line.Para, Line.Begin, G);
            if (W + Dots > MaxWidth) break;
            Cut = G;
            X = W;
            if (G == Line.End) break;
        }
        Line.Cut = Cut;
        Line.Ellipsis = true;
        Line.Width = X + Dots;
    }

    // Draws a line with its left edge at X; tab stops count from X.
    void Draw(const TPixelSurface& Target, const TRect& Clip, int X, int Y, const TLine& L,
              TPixel Color) const {
        const TShapedText& T = Para(L.Para);
        const size_t Shown = L.Ellipsis ? L.Cut : L.End;
        if (L.Ellipsis) {
            // The shortened line and its dots are one paragraph, so that the
            // dots stand at its end in its reading direction.
            thread_local String Short;
            const size_t From = FParaStart[L.Para];
            Short.assign(FChars, From + L.Begin, Shown - L.Begin);
            Short.append(Ellipsis);
            const auto S = FFace.Shape(Short, T.RightToLeft);
            FFace.DrawShaped(Target, Clip, X, Y, *S, 0, S->Size, Color);
            return;
        }
        if (!FExpandTabs) {
            FFace.DrawShaped(Target, Clip, X, Y, T, L.Begin, Shown, Color);
            return;
        }
        int Pen = 0;
        size_t Seg = L.Begin;
        for (size_t I = L.Begin; I <= Shown; ++I) {
            if (I < Shown && CharAt(L.Para, I) != '\t') continue;
            FFace.DrawShaped(Target, Clip, X + Pen, Y, T, Seg, I, Color);
            if (I == Shown) break;
            Pen += T.Width(Seg, I);
            Pen = (Pen / FTabWidth + 1) * FTabWidth;
            Seg = I + 1;
        }
    }

    // Where the character at byte U of a line stands: its left edge and width.
    bool CharRect(const TLine& L, size_t U, int& Left, int& CharWidth) const {
        thread_local std::vector<TVisualCluster> Clusters;
        const size_t Shown = L.Ellipsis ? L.Cut : L.End;
        if (U < L.Begin || U >= Shown) return false;
        Para(L.Para).VisualClusters(L.Begin, Shown, Clusters);
        for (const TVisualCluster& C : Clusters) {
            if (U < C.ByteBegin || U >= C.ByteEnd) continue;
            Left = C.X;
            CharWidth = C.Width;
            // Right to left, the dots of a shortened line stand before it.
            if (L.Ellipsis && Para(L.Para).RightToLeft)
                Left += L.Width - Width(L.Para, L.Begin, Shown);
            return true;
        }
        return false;
    }

private:
    const TFontFace& FFace;
    const std::vector<std::shared_ptr<const TShapedText>>& FParas;
    const std::vector<size_t>& FParaStart;
    const String& FChars;
    bool FExpandTabs;
    int FTabWidth;
};

TRect Intersect(const TRect& A, const TRect& B) {
    TRect R{std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
            std::min(A.Bottom, B.Bottom)};
    return R.IsEmpty() ? TRect{} : R;
}

} // namespace

int DrawTextOn(const TPixelSurface& Target, const TRect& Clip, const TFontFace& Face, TPixel Color,
               const TPixel* Background, String& Text, TRect& R, unsigned Format) {
    const bool CalcRect = (Format & DT_CALCRECT) != 0;
    if (Text.empty()) {
        if (CalcRect) {
            R.Right = R.Left;
            R.Bottom = R.Top;
        }
        return 0;
    }
    const TTextMetric& M = Face.Metrics();
    const int LineHeight = M.tmHeight;
    const int MaxWidth = R.Width();
    const bool SingleLine = (Format & DT_SINGLELINE) != 0;
    const bool WordBreak = !SingleLine && (Format & DT_WORDBREAK) != 0;
    const bool RightToLeft = (Format & DT_RTLREADING) != 0;

    // Text is drawn on every repaint: the displayed text, its paragraphs and
    // its lines are laid out in buffers each thread keeps, and paragraphs
    // come shaped from the face's cache, so a warm paint allocates nothing.
    // Nothing drawn here draws text in turn.
    thread_local TDisplayText D;
    thread_local std::vector<TLine> Lines;
    thread_local std::vector<std::shared_ptr<const TShapedText>> Paras;
    thread_local std::vector<size_t> ParaStart;
    MakeDisplayText(Text, (Format & DT_NOPREFIX) == 0, D);

    // Paragraphs end at CR LF, CR or LF unless the text is one line.
    Paras.clear();
    ParaStart.clear();
    const size_t N = D.Chars.size();
    for (size_t Start = 0;;) {
        size_t End = Start;
        if (!SingleLine)
            while (End < N && D.Chars[End] != '\r' && D.Chars[End] != '\n') ++End;
        else
            End = N;
        ParaStart.push_back(Start);
        Paras.push_back(
            Face.Shape(std::string_view(D.Chars).substr(Start, End - Start), RightToLeft));
        if (End >= N) break;
        Start = End + (D.Chars[End] == '\r' && End + 1 < N && D.Chars[End + 1] == '\n' ? 2 : 1);
        if (Start >= N) break;
    }
    const TLayout Layout(Face, Paras, ParaStart, D.Chars, Format);

    Lines.clear();
    for (size_t P = 0; P < Paras.size(); ++P) {
        if (WordBreak)
            Layout.Wrap(P, MaxWidth, (Format & DT_EDITCONTROL) != 0, Lines);
        else
            Lines.push_back(TLine{P, 0, Paras[P]->Size, 0, false, 0});
    }
    for (TLine& L : Lines) L.Width = Layout.Width(L.Para, L.Begin, L.End);

    // An edit control shows whole lines only. When text is left out below
    // them, an ellipsis ends the last line shown even if that line fits.
    bool TextLeftOut = false;
    if (!CalcRect && !SingleLine && (Format & DT_EDITCONTROL)) {
        const size_t Fit = static_cast<size_t>(std::max(1, R.Height() / std::max(1, LineHeight)));
        if (Lines.size() > Fit) {
            Lines.resize(Fit);
            TextLeftOut = true;
        }
    }

    // Lines that do not fit end in "..."; wrapped text only shortens its last
    // line, since the others end where a word did not fit. Measuring with an
    // empty rectangle shortens nothing.
    if ((Format & DT_END_ELLIPSIS) && !(CalcRect && MaxWidth <= 0)) {
        bool Shortened = false;
        for (size_t K = WordBreak ? Lines.size() - 1 : 0; K < Lines.size(); ++K) {
            const bool Last = K + 1 == Lines.size();
            if (Lines[K].Width <= MaxWidth && !(Last && TextLeftOut)) continue;
            Layout.Shorten(Lines[K], MaxWidth);
            Shortened = true;
        }
        if (Shortened && (Format & DT_MODIFYSTRING)) {
            String Result;
            size_t Copied = 0;
            for (size_t K = 0; K < Lines.size(); ++K) {
                const TLine& L = Lines[K];
                if (!L.Ellipsis) continue;
                const size_t From = ParaStart[L.Para];
                // The text written back ends here when the lines below are hidden.
                const size_t LineEnd = K + 1 == Lines.size() && TextLeftOut ? N : From + L.End;
                const size_t CutAt = D.Source[From + L.Cut];
                Result.append(Text, Copied, CutAt - Copied);
                Result.append(Ellipsis);
                Copied = D.Source[LineEnd];
            }
            Result.append(Text, Copied, String::npos);
            Text = std::move(Result);
        }
    }

    const int TextHeight = static_cast<int>(
        std::min<long long>(static_cast<long long>(Lines.size()) * LineHeight, MaxTextWidth));
    if (CalcRect) {
        int Widest = 0;
        for (const TLine& L : Lines) Widest = std::max(Widest, L.Width);
        R.Right = R.Left + Widest;
        R.Bottom = R.Top + TextHeight;
        return TextHeight;
    }

    int Top = R.Top;
    if (SingleLine && (Format & DT_VCENTER))
        Top = R.Top + (R.Height() - LineHeight) / 2;
    else if (SingleLine && (Format & DT_BOTTOM))
        Top = R.Bottom - LineHeight;
    int Y = Top;

    const TRect C = (Format & DT_NOCLIP) ? Clip : Intersect(Clip, R);
    const int Thickness = Face.LineThickness();
    for (size_t K = 0; K < Lines.size(); ++K, Y += LineHeight) {
        const TLine& L = Lines[K];
        if (Y >= C.Bottom) break;
        if (Y + LineHeight <= C.Top) continue;
        int X = R.Left;
        if (Format & DT_CENTER)
            X = R.Left + (MaxWidth - L.Width) / 2;
        else if (Format & DT_RIGHT)
            X = R.Right - L.Width;
        if (Background)
            Face.FillCellRect(Target, C, X, Y, TRect{0, 0, L.Width, LineHeight}, *Background);
        Layout.Draw(Target, C, X, Y, L, Color);
        for (size_t U : D.Underlined) {
            if (U < ParaStart[L.Para]) continue;
            int UX = 0, UW = 0;
            if (!Layout.CharRect(L, U - ParaStart[L.Para], UX, UW)) continue;
            Face.FillCellRect(
                Target, C, X, Y,
                TRect{UX, Face.UnderlineTop(), UX + UW, Face.UnderlineTop() + Thickness}, Color);
        }
    }
    // Centred and bottom-aligned text reports where its bottom is.
    if (SingleLine && (Format & (DT_VCENTER | DT_BOTTOM))) return Top + LineHeight - R.Top;
    return TextHeight;
}

} // namespace folio
