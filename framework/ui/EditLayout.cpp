#include "framework/ui/Edit.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/Application.h"
#include "framework/ui/EditText.h"
#include "framework/ui/PaintPass.h"

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
    const int Width = std::max(1, GetClientWidth() - 2 * Margin);
    if (FLayoutValid && FLayoutWidth == Width) return;
    FLayoutValid = true;
    FLayoutWidth = Width;
    FLines.clear();
    const int Len = static_cast<int>(GetText().size());
    const bool Multi = (GetStyle() & ES_MULTILINE) != 0;
    if (!Multi) {
        FLines.push_back(TLine{0, Len});
        return;
    }
    // Word wrap: a line takes whole words (with the spaces after them) while
    // they fit; a word wider than the box is broken between characters.
    int LineStart = 0;
    int I = 0;
    auto Fits = [&](int From, int To) {
        int End = To;
        while (End > From && GetText()[static_cast<size_t>(End - 1)] == ' ') --End;
        return TextWidth(From, End - From) <= Width;
    };
    while (I < Len) {
        if (GetText()[static_cast<size_t>(I)] == '\n') {
            FLines.push_back(TLine{LineStart, I - LineStart + 1});
            LineStart = ++I;
            continue;
        }
        int WordEnd = I;
        while (WordEnd < Len && GetText()[static_cast<size_t>(WordEnd)] != ' ' &&
               GetText()[static_cast<size_t>(WordEnd)] != '\n')
            ++WordEnd;
        while (WordEnd < Len && GetText()[static_cast<size_t>(WordEnd)] == ' ') ++WordEnd;
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
    if ((GetStyle() & ES_MULTILINE) && (GetStyle() & ES_CENTER)) {
        int End = L.Start + L.Length;
        while (End > L.Start && (GetText()[static_cast<size_t>(End - 1)] == ' ' ||
                                 GetText()[static_cast<size_t>(End - 1)] == '\n'))
            --End;
        return Margin + (GetClientWidth() - 2 * Margin - TextWidth(L.Start, End - L.Start)) / 2;
    }
    return Margin - FScrollX;
}

TPoint TCustomEdit::PointFromPos(int Pos) const {
    Layout();
    const int Line = LineOf(Pos);
    const TLine& L = FLines[static_cast<size_t>(Line)];
    return TPoint{LineX(L) + TextWidth(L.Start, Pos - L.Start),
                  Margin + Line * LineHeight() - FScrollY};
}

int TCustomEdit::PosFromPoint(TPoint P) const {
    Layout();
    const int H = std::max(1, LineHeight());
    int Line = (P.Y - Margin + FScrollY) / H;
    if (P.Y - Margin + FScrollY < 0) Line = 0;
    Line = std::clamp(Line, 0, static_cast<int>(FLines.size()) - 1);
    const TLine& L = FLines[static_cast<size_t>(Line)];
    const int X0 = LineX(L);
    int End = L.Start + L.Length;
    if (Line + 1 < static_cast<int>(FLines.size()) && End > L.Start) {
        // The caret cannot stand after a line's break or its wrapping space.
        End = PrevPos(End);
    }
    // The nearest boundary between characters.
    int Best = L.Start;
    int BestDist = std::abs(P.X - X0);
    for (int Pos = NextPos(L.Start); Pos <= End && Pos > L.Start; Pos = NextPos(Pos)) {
        const int D = std::abs(P.X - (X0 + TextWidth(L.Start, Pos - L.Start)));
        if (D < BestDist) {
            Best = Pos;
            BestDist = D;
        }
        if (Pos == End) break;
    }
    return Best;
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
    if (IsMultiLine()) {
        const int H = LineHeight();
        const int Top = LineOf(FCaret) * H;
        const int Room = std::max(H, GetClientHeight() - 2 * Margin);
        // Never scrolled past the end of the text: a box that grew since the
        // caret last moved shows from the first line again as far as the
        // text allows.
        const int Lines = static_cast<int>(FLines.size());
        FScrollY = std::clamp(FScrollY, 0, std::max(0, Lines * H - Room));
        if (Top < FScrollY) FScrollY = Top;
        if (Top + H > FScrollY + Room) FScrollY = Top + H - Room;
        return;
    }
    if (!(GetStyle() & ES_AUTOHSCROLL)) return;
    const int Room = std::max(1, GetClientWidth() - 2 * Margin - 1);
    const int X = TextWidth(0, FCaret);
    if (X < FScrollX) FScrollX = X;
    if (X > FScrollX + Room) FScrollX = X - Room;
    if (FScrollX < 0) FScrollX = 0;
}

// --- painting ---------------------------------------------------------------------------------

void TCustomEdit::PaintWindow() {
    TCanvas& C = *FCanvas;
    TPaintPass::BindForPaint(this, C);
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
    const TPixel SelColor = RgbToPixel(ColorToRGB(clHighlightText));
    const bool ShowSel = Focused() || !FHideSelection;
    const int SelFrom = GetSelStart(), SelTo = SelFrom + GetSelLength();
    const int H = LineHeight();
    for (size_t I = 0; I < FLines.size(); ++I) {
        const TLine& L = FLines[I];
        int End = L.Start + L.Length;
        while (End > L.Start && (GetText()[static_cast<size_t>(End - 1)] == '\n' ||
                                 GetText()[static_cast<size_t>(End - 1)] == '\r'))
            --End;
        const int X = LineX(L);
        const int Y = Margin + static_cast<int>(I) * H - FScrollY;
        const std::string_view Text = std::string_view(GetText()).substr(
            static_cast<size_t>(L.Start), static_cast<size_t>(End - L.Start));
        Face.DrawString(S, Clip, O.X + X, O.Y + Y, Text, TextColor);
        const int A = std::max(SelFrom, L.Start), B = std::min(SelTo, End);
        if (ShowSel && A < B) {
            const int XA = X + TextWidth(L.Start, A - L.Start);
            const int XB = X + TextWidth(L.Start, B - L.Start);
            C.GetBrush()->SetColor(clHighlight);
            C.FillRect(Rect(XA, Y, XB, Y + H));
            Face.DrawString(S, Clip, O.X + XA, O.Y + Y,
                            std::string_view(GetText()).substr(static_cast<size_t>(A),
                                                               static_cast<size_t>(B - A)),
                            SelColor);
        }
    }
    if (Focused() && FCaretShown) {
        C.GetBrush()->SetColor(GetFont()->GetColor());
        C.FillRect(CaretRect());
    }
}

} // namespace folio
