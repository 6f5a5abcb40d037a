#include "framework/ui/stdctrls/Edit.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/paint/PaintPass.h"
#include "framework/ui/stdctrls/EditText.h"

#include <algorithm>

namespace folio {

using namespace edittext;

// --- layout --------------------------------------------------------------------------------

int TCustomEdit::LineHeight() const {
    return GetFont()->GetHandle()->Metrics().tmHeight;
}

int TCustomEdit::TextWidth(int Start, int Length) const {
    if (Length <= 0) return 0;
    return GetFont()->GetHandle()->TextWidth(std::string_view(GetText()).substr(
        static_cast<size_t>(Start), static_cast<size_t>(Length)));
}

void TCustomEdit::Layout() const {
    const int Width = std::max(1, GetEditRect().Width() - 2 * Margin);
    if (FLayoutValid && FLayoutWidth == Width) return;
    FLayoutValid = true;
    FLayoutWidth = Width;
    FLines.clear();
    const String& Text = GetText();
    const int Len = static_cast<int>(Text.size());
    const bool Multi = (GetStyle() & ES_MULTILINE) != 0;
    if (!Multi) {
        FLines.push_back(TLine{0, Len});
        return;
    }
    if (!FWrapping) {
        // Unwrapped lines end only at their line breaks.
        int LineStart = 0;
        for (int I = 0; I < Len; ++I)
            if (Text[static_cast<size_t>(I)] == '\n') {
                FLines.push_back(TLine{LineStart, I - LineStart + 1});
                LineStart = I + 1;
            }
        FLines.push_back(TLine{LineStart, Len - LineStart});
        return;
    }
    PrevPos(0); // the character and line-break places of the text
    // Word wrap: a line takes whole words (with the spaces after them) while
    // they fit; a word wider than the box is broken between characters.
    // Words end where the line-breaking rules allow a break, so text
    // without spaces (Chinese, say) wraps too.
    int LineStart = 0;
    int I = 0;
    auto Fits = [&](int From, int To) {
        int End = To;
        while (End > From && Text[static_cast<size_t>(End - 1)] == ' ') --End;
        return TextWidth(From, End - From) <= Width;
    };
    while (I < Len) {
        if (Text[static_cast<size_t>(I)] == '\n') {
            FLines.push_back(TLine{LineStart, I - LineStart + 1});
            LineStart = ++I;
            continue;
        }
        int WordEnd = I + 1;
        while (WordEnd < Len && Text[static_cast<size_t>(WordEnd)] != '\n' &&
               !(FBreaks[static_cast<size_t>(WordEnd)] & (tbBreakAllowed | tbBreakMandatory)))
            ++WordEnd;
        if (Fits(LineStart, WordEnd)) {
            I = WordEnd;
            continue;
        }
        if (I > LineStart) {
            FLines.push_back(TLine{LineStart, I - LineStart});
            LineStart = I;
            continue;
        }
        // One word alone does not fit: break it where it stops fitting.
        int Cut = NextPos(I);
        while (Cut < WordEnd && Fits(LineStart, NextPos(Cut))) Cut = NextPos(Cut);
        FLines.push_back(TLine{LineStart, Cut - LineStart});
        LineStart = I = Cut;
    }
    FLines.push_back(TLine{LineStart, Len - LineStart});
}

int TCustomEdit::ShownLength(const TLine& L) const {
    int End = L.Start + L.Length;
    while (End > L.Start && (GetText()[static_cast<size_t>(End - 1)] == '\n' ||
                             GetText()[static_cast<size_t>(End - 1)] == '\r'))
        --End;
    return End - L.Start;
}

std::shared_ptr<const TShapedText> TCustomEdit::ShapeLine(const TLine& L) const {
    return GetFont()->GetHandle()->Shape(
        std::string_view(GetText()).substr(static_cast<size_t>(L.Start),
                                           static_cast<size_t>(ShownLength(L))),
        RightToLeftText());
}

const std::vector<TCustomEdit::TLine>& TCustomEdit::GetLines() const {
    Layout();
    return FLines;
}

int TCustomEdit::LineOf(int Pos) const {
    Layout();
    for (size_t I = 0; I + 1 < FLines.size(); ++I)
        if (Pos < FLines[I + 1].Start) return static_cast<int>(I);
    return static_cast<int>(FLines.size()) - 1;
}

int TCustomEdit::LineX(const TLine& L) const {
    const bool Centred = (GetStyle() & ES_MULTILINE) && (GetStyle() & ES_CENTER);
    if (!Centred && !UseRightToLeftAlignment()) return Margin - FScrollX;
    int End = L.Start + L.Length;
    while (End > L.Start && (GetText()[static_cast<size_t>(End - 1)] == ' ' ||
                             GetText()[static_cast<size_t>(End - 1)] == '\n'))
        --End;
    const int Width = TextWidth(L.Start, End - L.Start);
    const int Room = GetEditRect().Width();
    if (Centred) return Margin + (Room - 2 * Margin - Width) / 2;
    // Right-to-left alignment: the line ends at the right margin, with room
    // for the caret; scrolling moves it right to show what lies left.
    return Room - Margin - 1 - Width + FScrollX;
}

TPoint TCustomEdit::PointFromPos(int Pos) const {
    Layout();
    const int Line = LineOf(Pos);
    const TLine& L = FLines[static_cast<size_t>(Line)];
    const auto Shaped = ShapeLine(L);
    const size_t Rel = static_cast<size_t>(std::clamp(Pos - L.Start, 0, ShownLength(L)));
    return TPoint{LineX(L) + Shaped->CaretX(0, Shaped->Size, Rel),
                  Margin + Line * LineHeight() - FScrollY};
}

int TCustomEdit::PosFromPoint(TPoint P) const {
    Layout();
    const int H = std::max(1, LineHeight());
    int Line = (P.Y - Margin + FScrollY) / H;
    if (P.Y - Margin + FScrollY < 0) Line = 0;
    Line = std::clamp(Line, 0, static_cast<int>(FLines.size()) - 1);
    const TLine& L = FLines[static_cast<size_t>(Line)];
    int End = L.Start + L.Length;
    if (Line + 1 < static_cast<int>(FLines.size()) && End > L.Start) {
        // The caret cannot stand after a line's break or its wrapping space.
        End = PrevPos(End);
    }
    const auto Shaped = ShapeLine(L);
    const int Pos = L.Start + static_cast<int>(Shaped->PosFromX(0, Shaped->Size, P.X - LineX(L)));
    return std::clamp(Pos, L.Start, std::max(L.Start, End));
}

int TCustomEdit::VisualPos(int Pos, bool Right) const {
    Layout();
    const TLine& L = FLines[static_cast<size_t>(LineOf(Pos))];
    const auto Shaped = ShapeLine(L);
    const size_t Rel = static_cast<size_t>(std::clamp(Pos - L.Start, 0, ShownLength(L)));
    const size_t Moved = Shaped->MoveVisually(0, Shaped->Size, Rel, Right);
    if (Moved != Rel) return L.Start + static_cast<int>(Moved);
    // At the line's edge the caret goes on to the next or previous line,
    // in reading order.
    return Right != RightToLeftText() ? NextPos(Pos) : PrevPos(Pos);
}

void TCustomEdit::RestartCaretBlink(bool Focusing) {
    // Every move of the caret shows it for a whole period again, so it never
    // vanishes while the user types or moves it.
    FCaretShown = true;
    if (!HandleAllocated() || (!Focusing && !Focused())) return;
    const unsigned BlinkTime = GetCaretBlinkTime();
    if (BlinkTime == 0)
        KillTimer(GetHandle(), CaretTimer);
    else
        SetTimer(GetHandle(), CaretTimer, BlinkTime);
}

TRect TCustomEdit::CaretRect() const {
    const TPoint P = PointFromPos(FCaret);
    return Rect(P.X, P.Y, P.X + 1, P.Y + LineHeight());
}

void TCustomEdit::ScrollCaretIntoView() {
    // Every move of the caret passes here.
    RestartCaretBlink(false);
    KeepCaretInView();
}

void TCustomEdit::KeepCaretInView() {
    Layout();
    const int OldX = FScrollX, OldY = FScrollY;
    if (IsMultiLine()) {
        const int H = LineHeight();
        const int Top = LineOf(FCaret) * H;
        const int Room = std::max(H, GetEditRect().Height() - 2 * Margin);
        // Never scrolled past the end of the text: a box that grew since the
        // caret last moved shows from the first line again as far as the
        // text allows.
        const int Lines = static_cast<int>(FLines.size());
        FScrollY = std::clamp(FScrollY, 0, std::max(0, Lines * H - Room));
        if (Top < FScrollY) FScrollY = Top;
        if (Top + H > FScrollY + Room) FScrollY = Top + H - Room;
    }
    if (!IsMultiLine() ? (GetStyle() & ES_AUTOHSCROLL) != 0 : !FWrapping) {
        // Scroll as little as brings the caret between the margins: the
        // text moves right (left to right text: FScrollX falls) or left.
        const int Room = std::max(1, GetEditRect().Width() - 2 * Margin - 1);
        const int X = PointFromPos(FCaret).X;
        int Shift = 0;
        if (X < Margin) Shift = Margin - X;
        if (X > Margin + Room) Shift = Margin + Room - X;
        FScrollX += UseRightToLeftAlignment() ? Shift : -Shift;
        if (FScrollX < 0) FScrollX = 0;
    }
    if (FScrollX != OldX || FScrollY != OldY) Invalidate();
    ScrollChanged();
}

void TCustomEdit::ScrollTo(int X, int Y) {
    Layout();
    const int H = LineHeight();
    const int Room = std::max(H, GetEditRect().Height() - 2 * Margin);
    const int Lines = static_cast<int>(FLines.size());
    X = std::max(0, X);
    Y = IsMultiLine() ? std::clamp(Y, 0, std::max(0, Lines * H - Room)) : 0;
    if (X == FScrollX && Y == FScrollY) return;
    FScrollX = X;
    FScrollY = Y;
    Invalidate();
    ScrollChanged();
}

void TCustomEdit::SetWrapping(bool Value) {
    if (Value == FWrapping) return;
    FWrapping = Value;
    FLayoutValid = false;
    FScrollX = 0;
    KeepCaretInView();
    Invalidate();
}

// --- painting ---------------------------------------------------------------------------------

void TCustomEdit::PaintWindow() {
    TCanvas& C = *FCanvas;
    Application->GetPaintPass().BindForPaint(this, C);
    Layout();
    C.GetBrush()->SetStyle(bsSolid);
    // A disabled box shows the face colour, as a dialog's background, so
    // that nobody takes it for a place to type.
    C.GetBrush()->SetColor(GetEnabled() ? GetColor() : clBtnFace);
    C.FillRect(GetClientRect());
    const TFontFace& Face = *GetFont()->GetHandle();
    const TPixelSurface& S = C.GetSurface();
    const TPoint O = C.GetOrigin();
    const TRect Clip = C.DeviceClip();
    const TPixel TextColor =
        RgbToPixel(ColorToRGB(GetEnabled() ? GetFont()->GetColor() : clGrayText));
    const bool ShowSel = Focused() || !FHideSelection;
    const int H = LineHeight();
    const int CaretLine = LineOf(FCaret);
    for (size_t I = 0; I < FLines.size(); ++I) {
        const TLine& L = FLines[I];
        const int X = LineX(L);
        const int Y = Margin + static_cast<int>(I) * H - FScrollY;
        if (!FComposition.empty() && static_cast<int>(I) == CaretLine) {
            PaintComposition(L, X, Y, Face, TextColor);
            continue;
        }
        const auto Shaped = ShapeLine(L);
        Face.DrawShaped(S, Clip, O.X + X, O.Y + Y, *Shaped, 0, Shaped->Size, TextColor);
        if (ShowSel && GetSelLength() > 0) PaintSelection(L, *Shaped, X, Y, Face);
    }
    if (Focused() && FCaretShown && FComposition.empty()) {
        C.GetBrush()->SetColor(GetFont()->GetColor());
        C.FillRect(CaretRect());
    }
}

void TCustomEdit::PaintSelection(const TLine& L, const TShapedText& Shaped, int X, int Y,
                                 const TFontFace& Face) {
    TCanvas& C = *FCanvas;
    const TPoint O = C.GetOrigin();
    const int SelFrom = GetSelStart() - L.Start, SelTo = SelFrom + GetSelLength();
    if (SelTo <= 0 || SelFrom >= static_cast<int>(Shaped.Size)) return;
    // The selected characters may stand apart on screen in mixed text:
    // each stretch of them is highlighted and its text drawn again in the
    // highlight's colour, clipped to it.
    thread_local std::vector<TVisualCluster> Clusters;
    Shaped.VisualClusters(0, Shaped.Size, Clusters);
    const TPixel SelColor = RgbToPixel(ColorToRGB(clHighlightText));
    const int H = LineHeight();
    for (size_t K = 0; K < Clusters.size();) {
        const auto Selected = [&](const TVisualCluster& V) {
            return static_cast<int>(V.ByteBegin) >= SelFrom && static_cast<int>(V.ByteEnd) <= SelTo;
        };
        if (!Selected(Clusters[K])) {
            ++K;
            continue;
        }
        const int Left = Clusters[K].X;
        int Right = Left + Clusters[K].Width;
        while (++K < Clusters.size() && Selected(Clusters[K]))
            Right = Clusters[K].X + Clusters[K].Width;
        const TRect Box = Rect(X + Left, Y, X + Right, Y + H);
        C.GetBrush()->SetColor(clHighlight);
        C.FillRect(Box);
        const TRect Device = IntersectRects(C.DeviceClip(), OffsetRectBy(Box, O.X, O.Y));
        Face.DrawShaped(C.GetSurface(), Device, O.X + X, O.Y + Y, Shaped, 0, Shaped.Size, SelColor);
    }
}

void TCustomEdit::PaintComposition(const TLine& L, int X, int Y, const TFontFace& Face,
                                   TPixel Color) {
    TCanvas& C = *FCanvas;
    const TPoint O = C.GetOrigin();
    // The line as it will read once the composition is typed at the caret.
    const int At = std::clamp(FCaret - L.Start, 0, ShownLength(L));
    String Shown = GetText().substr(static_cast<size_t>(L.Start), static_cast<size_t>(At));
    const size_t CompFrom = Shown.size();
    Shown += FComposition;
    const size_t CompTo = Shown.size();
    Shown.append(GetText(), static_cast<size_t>(L.Start + At),
                 static_cast<size_t>(ShownLength(L) - At));
    const auto Shaped = Face.Shape(Shown, RightToLeftText());
    Face.DrawShaped(C.GetSurface(), C.DeviceClip(), O.X + X, O.Y + Y, *Shaped, 0, Shaped->Size,
                    Color);
    // The composition is underlined, and the caret stands at the input
    // method's cursor inside it.
    std::vector<TVisualCluster> Clusters;
    Shaped->VisualClusters(0, Shaped->Size, Clusters);
    const int Underline = Face.UnderlineTop();
    C.GetBrush()->SetColor(GetFont()->GetColor());
    for (const TVisualCluster& V : Clusters)
        if (V.ByteBegin >= CompFrom && V.ByteEnd <= CompTo)
            C.FillRect(Rect(X + V.X, Y + Underline, X + V.X + V.Width,
                            Y + Underline + Face.LineThickness()));
    size_t Cursor = CompFrom;
    for (int K = 0; K < FCompositionCursor && Cursor < CompTo; ++K)
        Cursor = Shaped->NextGrapheme(Cursor);
    if (Focused()) {
        const int CX = X + Shaped->CaretX(0, Shaped->Size, std::min(Cursor, CompTo));
        C.FillRect(Rect(CX, Y, CX + 1, Y + LineHeight()));
    }
}

} // namespace folio
