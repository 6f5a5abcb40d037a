// DrawText: prefix characters, line breaking, alignment, ellipsis and the
// opaque background, on top of the face's string drawing.

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

struct TLine {
    size_t Begin = 0;
    size_t End = 0; // the displayed part ends at End, or at Cut with an ellipsis
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
    TLayout(const TFontFace& Face, const TDisplayText& Text, unsigned Format)
        : FFace(Face), FText(Text.Chars), FExpandTabs((Format & DT_EXPANDTABS) != 0),
          FTabWidth(std::max(1, 8 * Face.Metrics().tmAveCharWidth)) {}

    // The pen position after the code point at I drawn from pen position X.
    int Advance(int X, size_t& I) const {
        const size_t Start = I;
        const char32_t CP = NextCodePoint(FText, I);
        const int Next =
            CP == '\t' && FExpandTabs
                ? (X / FTabWidth + 1) * FTabWidth
                : X + FFace.TextWidth(std::string_view(FText).substr(Start, I - Start));
        return std::min(Next, MaxTextWidth);
    }

    int Width(size_t Begin, size_t End) const {
        int X = 0;
        for (size_t I = Begin; I < End;) X = Advance(X, I);
        return X;
    }

    // Breaks [Begin, End) into lines no wider than MaxWidth at spaces; a word
    // wider than a line is broken between characters only when BreakWords.
    void Wrap(size_t Begin, size_t End, int MaxWidth, bool BreakWords,
              std::vector<TLine>& Lines) const {
        size_t LineStart = Begin;
        size_t BreakEnd = 0, BreakNext = 0; // the last space run on the line
        bool HaveBreak = false, InSpaces = false;
        int X = 0;
        size_t I = Begin;
        while (I < End) {
            size_t Next = I;
            if (FText[I] == ' ') {
                if (!InSpaces) BreakEnd = I;
                InSpaces = true;
                X = Advance(X, Next);
                BreakNext = Next;
                // Spaces at the start of a line are no place to break.
                HaveBreak = BreakEnd > LineStart;
                I = Next;
                continue;
            }
            InSpaces = false;
            const int NX = Advance(X, Next);
            if (NX > MaxWidth && I > LineStart) {
                if (HaveBreak) {
                    Lines.push_back(TLine{LineStart, BreakEnd, BreakEnd, false, 0});
                    LineStart = BreakNext;
                    X = Width(LineStart, I);
                    HaveBreak = false;
                    continue;
                }
                if (BreakWords) {
                    Lines.push_back(TLine{LineStart, I, I, false, 0});
                    LineStart = I;
                    X = 0;
                    continue;
                }
            }
            X = NX;
            I = Next;
        }
        Lines.push_back(TLine{LineStart, End, End, false, 0});
    }

    // Shortens a line to MaxWidth with "..." at its end.
    void Shorten(TLine& Line, int MaxWidth) const {
        const int Dots = FFace.TextWidth(Ellipsis);
        size_t Cut = Line.Begin;
        int X = 0;
        for (size_t I = Line.Begin; I < Line.End;) {
            size_t Next = I;
            const int NX = Advance(X, Next);
            if (NX + Dots > MaxWidth) break;
            X = NX;
            I = Next;
            Cut = I;
        }
        Line.Cut = Cut;
        Line.Ellipsis = true;
        Line.Width = X + Dots;
    }

    // Draws [Begin, End) with its left edge at X; tab stops count from LineX.
    void Draw(const TPixelSurface& Target, const TRect& Clip, int LineX, int Y, size_t Begin,
              size_t End, TPixel Color) const {
        if (!FExpandTabs) {
            FFace.DrawString(Target, Clip, LineX, Y,
                             std::string_view(FText).substr(Begin, End - Begin), Color);
            return;
        }
        int X = 0;
        size_t SegStart = Begin;
        for (size_t I = Begin; I <= End;) {
            if (I == End || FText[I] == '\t') {
                FFace.DrawString(Target, Clip, LineX + X, Y,
                                 std::string_view(FText).substr(SegStart, I - SegStart), Color);
                if (I == End) break;
                X += Width(SegStart, I);
                X = (X / FTabWidth + 1) * FTabWidth;
                SegStart = ++I;
                continue;
            }
            ++I;
        }
    }

private:
    const TFontFace& FFace;
    const String& FText;
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

    // Text is drawn on every repaint: the displayed text and its lines are
    // laid out in buffers each thread keeps, so a warm paint allocates
    // nothing. Nothing drawn here draws text in turn.
    thread_local TDisplayText D;
    thread_local std::vector<TLine> Lines;
    MakeDisplayText(Text, (Format & DT_NOPREFIX) == 0, D);
    const TLayout Layout(Face, D, Format);

    // Paragraphs end at CR LF, CR or LF unless the text is one line.
    Lines.clear();
    const size_t N = D.Chars.size();
    for (size_t Start = 0;;) {
        size_t End = Start;
        if (!SingleLine)
            while (End < N && D.Chars[End] != '\r' && D.Chars[End] != '\n') ++End;
        else
            End = N;
        if (WordBreak)
            Layout.Wrap(Start, End, MaxWidth, (Format & DT_EDITCONTROL) != 0, Lines);
        else
            Lines.push_back(TLine{Start, End, End, false, 0});
        if (End >= N) break;
        Start = End + (D.Chars[End] == '\r' && End + 1 < N && D.Chars[End + 1] == '\n' ? 2 : 1);
        if (Start >= N) break;
    }

    for (TLine& L : Lines) L.Width = Layout.Width(L.Begin, L.End);

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
            // The text written back ends here when the lines below are hidden.
            if (Last && TextLeftOut) Lines[K].End = N;
            Shortened = true;
        }
        if (Shortened && (Format & DT_MODIFYSTRING)) {
            String Result;
            size_t Copied = 0;
            for (const TLine& L : Lines) {
                if (!L.Ellipsis) continue;
                const size_t CutAt = D.Source[L.Cut], LineEnd = D.Source[L.End];
                Result.append(Text, Copied, CutAt - Copied);
                Result.append(Ellipsis);
                Copied = LineEnd;
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
        const size_t Shown = L.Ellipsis ? L.Cut : L.End;
        Layout.Draw(Target, C, X, Y, L.Begin, Shown, Color);
        if (L.Ellipsis)
            Face.DrawString(Target, C, X + Layout.Width(L.Begin, Shown), Y, Ellipsis, Color);
        for (size_t U : D.Underlined) {
            if (U < L.Begin || U >= Shown) continue;
            size_t Next = U;
            const int UX = Layout.Width(L.Begin, U);
            const int UW = Layout.Advance(UX, Next) - UX;
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
