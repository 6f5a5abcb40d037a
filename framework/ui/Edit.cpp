#include "framework/ui/Edit.h"

#include "framework/core/ClassBuilder.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/Application.h"
#include "framework/ui/Clipboard.h"
#include "framework/ui/Input.h"
#include "framework/ui/PaintPass.h"

#include <algorithm>
#include <cctype>

namespace folio {

namespace {

// The gap between the client edge and the text.
constexpr int Margin = 1;

bool IsContinuation(char C) {
    return (static_cast<unsigned char>(C) & 0xC0) == 0x80;
}

bool IsWordChar(char C) {
    const auto U = static_cast<unsigned char>(C);
    return U >= 0x80 || std::isalnum(U) || C == '_';
}

const std::vector<String> BorderStyleNames{"bsNone", "bsSingle"};

// The caret's timer on the box's window.
constexpr unsigned CaretTimer = 0xCA7E;

unsigned CaretBlinkTime = 530;

} // namespace

unsigned GetCaretBlinkTime() {
    return CaretBlinkTime;
}

void SetCaretBlinkTime(unsigned Milliseconds) {
    CaretBlinkTime = Milliseconds;
}

// --- class information ---------------------------------------------------------

const TClassInfo& TCustomEdit::StaticClassInfo() {
    using C = TCustomEdit;
    static const TClassInfo Info =
        TClassBuilder<C>("TCustomEdit", &TWinControl::StaticClassInfo())
            .Bool("AutoSize", &C::GetAutoSize, &C::SetAutoSize, true)
            .Unpublished()
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames, &C::GetBorderStyle,
                  &C::SetBorderStyle, std::optional<TBorderStyle>(bsSingle))
            .Unpublished()
            .Bool("HideSelection", &C::GetHideSelection, &C::SetHideSelection, true)
            .Unpublished()
            .Int("MaxLength", &C::GetMaxLength, &C::SetMaxLength, 0)
            .Unpublished()
            .Bool("ReadOnly", &C::GetReadOnly, &C::SetReadOnly, false)
            .Unpublished()
            .Event("OnChange", &C::OnChange)
            .Unpublished()
            .Build();
    return Info;
}

const TClassInfo& TEdit::StaticClassInfo() {
    static const TClassInfo Info = TClassBuilder<TEdit>("TEdit", &TCustomEdit::StaticClassInfo())
                                       .Publish("Anchors")
                                       .Publish("AutoSize")
                                       .Publish("BorderStyle")
                                       .Publish("Color")
                                       .Publish("Ctl3D")
                                       .Publish("Enabled")
                                       .Publish("Font")
                                       .Publish("HideSelection")
                                       .Publish("MaxLength")
                                       .Publish("ParentColor")
                                       .Publish("ParentCtl3D")
                                       .Publish("ParentFont")
                                       .Publish("ReadOnly")
                                       .Publish("TabOrder")
                                       .Publish("TabStop", 1)
                                       .Publish("Text")
                                       .Publish("Visible")
                                       .Publish("OnChange")
                                       .Publish("OnClick")
                                       .Publish("OnEnter")
                                       .Publish("OnExit")
                                       .Publish("OnKeyDown")
                                       .Publish("OnKeyPress")
                                       .Publish("OnKeyUp")
                                       .Publish("OnMouseDown")
                                       .Publish("OnMouseMove")
                                       .Publish("OnMouseUp")
                                       .Creatable()
                                       .Build();
    return Info;
}

// --- construction ----------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FWidth = 121;
    FHeight = 25;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    FControlStyle = {csClickEvents, csSetCaption, csDoubleClicks, csFramed, csOpaque};
}

TCustomEdit::~TCustomEdit() = default;

void TCustomEdit::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    // The border follows BorderStyle, not csFramed: flat or 3-D by Ctl3D.
    Params.Style &= ~WS_BORDER;
    Params.ExStyle &= ~WS_EX_CLIENTEDGE;
    Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
    if (!FHideSelection) Params.Style |= ES_NOHIDESEL;
    if (FBorderStyle == bsSingle) {
        if (NewStyleControls && FCtl3D)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    FLayoutValid = false;
    AdjustHeight();
}

// --- properties ----------------------------------------------------------------------

void TCustomEdit::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustHeight();
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    AdjustHeight();
}

void TCustomEdit::SetHideSelection(bool Value) {
    if (Value == FHideSelection) return;
    FHideSelection = Value;
    RecreateWnd();
}

void TCustomEdit::AdjustHeight() {
    // A single-line box fits its font: one line, the margins and the frame.
    if (!FAutoSize || IsMultiLine()) return;
    const int H = LineHeight() + 2 * Margin + 2 * GetBorderWidth();
    if (H != FHeight) SetHeight(H);
}

void TCustomEdit::FontChanged() {
    FLayoutValid = false;
    TWinControl::FontChanged();
    AdjustHeight();
}

void TCustomEdit::TextChanged() {
    FLayoutValid = false;
    const int Len = static_cast<int>(FText.size());
    if (!FInTextSet) {
        // A text set by the program puts the caret at its start.
        FAnchor = FCaret = 0;
        FScrollX = FScrollY = 0;
    }
    FAnchor = std::min(FAnchor, Len);
    FCaret = std::min(FCaret, Len);
    TWinControl::TextChanged();
    Change();
}

void TCustomEdit::Change() {
    if (OnChange) OnChange(this);
}

// --- selection --------------------------------------------------------------------------

int TCustomEdit::GetSelStart() const {
    return std::min(FAnchor, FCaret);
}

int TCustomEdit::GetSelLength() const {
    return std::abs(FCaret - FAnchor);
}

void TCustomEdit::SetSelStart(int Value) {
    Value = std::clamp(Value, 0, static_cast<int>(FText.size()));
    while (Value > 0 && Value < static_cast<int>(FText.size()) &&
           IsContinuation(FText[static_cast<size_t>(Value)]))
        --Value;
    FAnchor = FCaret = Value;
    ScrollCaretIntoView();
    Invalidate();
}

void TCustomEdit::SetSelLength(int Value) {
    const int Start = GetSelStart();
    int End = std::clamp(Start + std::max(Value, 0), 0, static_cast<int>(FText.size()));
    while (End < static_cast<int>(FText.size()) && IsContinuation(FText[static_cast<size_t>(End)]))
        ++End;
    FAnchor = Start;
    FCaret = End;
    ScrollCaretIntoView();
    Invalidate();
}

String TCustomEdit::GetSelText() const {
    return FText.substr(static_cast<size_t>(GetSelStart()), static_cast<size_t>(GetSelLength()));
}

void TCustomEdit::SetSelText(const String& Value) {
    ReplaceSelection(Value);
}

void TCustomEdit::SelectAll() {
    FAnchor = 0;
    FCaret = static_cast<int>(FText.size());
    ScrollCaretIntoView();
    Invalidate();
}

void TCustomEdit::ClearSelection() {
    if (GetSelLength() > 0) ReplaceSelection(String());
}

void TCustomEdit::CopyToClipboard() {
    if (GetSelLength() > 0) Clipboard()->SetAsText(GetSelText());
}

void TCustomEdit::CutToClipboard() {
    if (FReadOnly) return;
    CopyToClipboard();
    ClearSelection();
}

void TCustomEdit::PasteFromClipboard() {
    if (FReadOnly) return;
    String Text = Clipboard()->GetAsText();
    // A single-line box takes the first line of what is pasted.
    if (!IsMultiLine()) {
        const size_t Cut = Text.find_first_of("\r\n");
        if (Cut != String::npos) Text.resize(Cut);
    }
    ReplaceSelection(Text);
}

void TCustomEdit::ReplaceSelection(const String& Value) {
    String Insert = Value;
    const size_t Start = static_cast<size_t>(GetSelStart());
    const size_t Length = static_cast<size_t>(GetSelLength());
    if (FMaxLength > 0) {
        const size_t Room = FText.size() - Length >= static_cast<size_t>(FMaxLength)
                                ? 0
                                : static_cast<size_t>(FMaxLength) - (FText.size() - Length);
        if (Insert.size() > Room) {
            // Never cut a character in half.
            size_t Keep = Room;
            while (Keep > 0 && IsContinuation(Insert[Keep])) --Keep;
            Insert.resize(Keep);
        }
    }
    if (Length == 0 && Insert.empty()) return;
    String NewText = FText;
    NewText.replace(Start, Length, Insert);
    FAnchor = FCaret = static_cast<int>(Start + Insert.size());
    FModified = true;
    FInTextSet = true;
    try {
        TControl::SetText(NewText);
    } catch (...) {
        FInTextSet = false;
        throw;
    }
    FInTextSet = false;
    ScrollCaretIntoView();
}

int TCustomEdit::PrevPos(int Pos) const {
    if (Pos <= 0) return 0;
    --Pos;
    while (Pos > 0 && IsContinuation(FText[static_cast<size_t>(Pos)])) --Pos;
    return Pos;
}

int TCustomEdit::NextPos(int Pos) const {
    const int Len = static_cast<int>(FText.size());
    if (Pos >= Len) return Len;
    ++Pos;
    while (Pos < Len && IsContinuation(FText[static_cast<size_t>(Pos)])) ++Pos;
    return Pos;
}

void TCustomEdit::MoveCaret(int Pos, bool Extend) {
    FCaret = std::clamp(Pos, 0, static_cast<int>(FText.size()));
    if (!Extend) FAnchor = FCaret;
    ScrollCaretIntoView();
    Invalidate();
}

// --- layout --------------------------------------------------------------------------------

int TCustomEdit::LineHeight() const {
    return GetFont()->GetHandle()->Metrics().tmHeight;
}

int TCustomEdit::TextWidth(int Start, int Length) const {
    if (Length <= 0) return 0;
    return GetFont()->GetHandle()->TextWidth(
        std::string_view(FText).substr(static_cast<size_t>(Start), static_cast<size_t>(Length)));
}

void TCustomEdit::Layout() const {
    const int Width = std::max(1, GetClientWidth() - 2 * Margin);
    if (FLayoutValid && FLayoutWidth == Width) return;
    FLayoutValid = true;
    FLayoutWidth = Width;
    FLines.clear();
    const int Len = static_cast<int>(FText.size());
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
        while (End > From && FText[static_cast<size_t>(End - 1)] == ' ') --End;
        return TextWidth(From, End - From) <= Width;
    };
    while (I < Len) {
        if (FText[static_cast<size_t>(I)] == '\n') {
            FLines.push_back(TLine{LineStart, I - LineStart + 1});
            LineStart = ++I;
            continue;
        }
        int WordEnd = I;
        while (WordEnd < Len && FText[static_cast<size_t>(WordEnd)] != ' ' &&
               FText[static_cast<size_t>(WordEnd)] != '\n')
            ++WordEnd;
        while (WordEnd < Len && FText[static_cast<size_t>(WordEnd)] == ' ') ++WordEnd;
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
        while (End > L.Start && (FText[static_cast<size_t>(End - 1)] == ' ' ||
                                 FText[static_cast<size_t>(End - 1)] == '\n'))
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
    if (CaretBlinkTime == 0)
        KillTimer(GetHandle(), CaretTimer);
    else
        SetTimer(GetHandle(), CaretTimer, CaretBlinkTime);
}

TRect TCustomEdit::CaretRect() const {
    const TPoint P = PointFromPos(FCaret);
    return Rect(P.X, P.Y, P.X + 1, P.Y + LineHeight());
}

void TCustomEdit::ScrollCaretIntoView() {
    // Every move of the caret passes here.
    RestartCaretBlink(false);
    Layout();
    if (IsMultiLine()) {
        const int H = LineHeight();
        const int Top = LineOf(FCaret) * H;
        const int Room = std::max(H, GetClientHeight() - 2 * Margin);
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
    C.GetBrush()->SetColor(FColor);
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
        while (End > L.Start && (FText[static_cast<size_t>(End - 1)] == '\n' ||
                                 FText[static_cast<size_t>(End - 1)] == '\r'))
            --End;
        const int X = LineX(L);
        const int Y = Margin + static_cast<int>(I) * H - FScrollY;
        const std::string_view Text = std::string_view(FText).substr(
            static_cast<size_t>(L.Start), static_cast<size_t>(End - L.Start));
        Face.DrawString(S, Clip, O.X + X, O.Y + Y, Text, TextColor);
        const int A = std::max(SelFrom, L.Start), B = std::min(SelTo, End);
        if (ShowSel && A < B) {
            const int XA = X + TextWidth(L.Start, A - L.Start);
            const int XB = X + TextWidth(L.Start, B - L.Start);
            C.GetBrush()->SetColor(clHighlight);
            C.FillRect(Rect(XA, Y, XB, Y + H));
            Face.DrawString(
                S, Clip, O.X + XA, O.Y + Y,
                std::string_view(FText).substr(static_cast<size_t>(A), static_cast<size_t>(B - A)),
                SelColor);
        }
    }
    if (Focused() && FCaretShown) {
        C.GetBrush()->SetColor(GetFont()->GetColor());
        C.FillRect(CaretRect());
    }
}

// --- messages ------------------------------------------------------------------------------------

void TCustomEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        TWinControl::Dispatch(Message);
        if (!GetEnabled() || !HandleAllocated()) return;
        if (!Focused() && CanFocus()) SetFocus();
        const TPoint P = LParamToPoint(Message.LParam);
        const int Pos = PosFromPoint(P);
        if (Message.Msg == WM_LBUTTONDBLCLK) {
            // A double click selects the word under the pointer.
            int A = Pos, B = Pos;
            while (A > 0 && IsWordChar(FText[static_cast<size_t>(A - 1)])) --A;
            while (B < static_cast<int>(FText.size()) && IsWordChar(FText[static_cast<size_t>(B)]))
                ++B;
            FAnchor = A;
            MoveCaret(B, true);
            return;
        }
        MoveCaret(Pos, (static_cast<unsigned>(Message.WParam) & MK_SHIFT) != 0);
        FSelecting = true;
        SetMouseCapture(true);
        return;
    }
    case WM_MOUSEMOVE:
        TWinControl::Dispatch(Message);
        if (FSelecting) MoveCaret(PosFromPoint(LParamToPoint(Message.LParam)), true);
        return;
    case WM_LBUTTONUP:
        TWinControl::Dispatch(Message);
        if (FSelecting) {
            FSelecting = false;
            SetMouseCapture(false);
        }
        return;
    case WM_CANCELMODE:
        FSelecting = false;
        break;
    case WM_SETFOCUS:
        RestartCaretBlink(true);
        Invalidate();
        break;
    case WM_KILLFOCUS:
        if (HandleAllocated()) KillTimer(GetHandle(), CaretTimer);
        FCaretShown = true;
        Invalidate();
        break;
    case WM_TIMER:
        if (static_cast<unsigned>(Message.WParam) != CaretTimer) break;
        if (!Focused()) {
            KillTimer(GetHandle(), CaretTimer);
            return;
        }
        FCaretShown = !FCaretShown;
        {
            const TRect R = CaretRect();
            InvalidateRect(GetHandle(), &R, false);
        }
        return;
    case WM_SIZE:
        FLayoutValid = false;
        break;
    case CM_CTL3DCHANGED:
        // The look lives in the window's style bits: make the window again.
        if (NewStyleControls && FBorderStyle == bsSingle) {
            RecreateWnd();
            AdjustHeight();
        }
        break;
    default:
        break;
    }
    TWinControl::Dispatch(Message);
}

void TCustomEdit::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result =
            DLGC_WANTARROWS | DLGC_WANTCHARS | (IsMultiLine() ? unsigned(DLGC_WANTALLKEYS) : 0u);
        return;
    case WM_KEYDOWN:
        HandleKey(static_cast<unsigned short>(Message.WParam));
        return;
    case WM_CHAR:
        HandleChar(static_cast<char>(Message.WParam));
        return;
    case WM_CUT:
        CutToClipboard();
        return;
    case WM_COPY:
        CopyToClipboard();
        return;
    case WM_PASTE:
        PasteFromClipboard();
        return;
    case WM_CLEAR:
        ClearSelection();
        return;
    default:
        TWinControl::DefaultHandler(Message);
    }
}

void TCustomEdit::HandleKey(unsigned short Key) {
    const bool Shift = InputRouter->IsKeyDown(VK_SHIFT);
    const bool Ctrl = InputRouter->IsKeyDown(VK_CONTROL);
    Layout();
    switch (Key) {
    case VK_LEFT:
        if (!Shift && GetSelLength() > 0)
            MoveCaret(GetSelStart(), false);
        else
            MoveCaret(PrevPos(FCaret), Shift);
        break;
    case VK_RIGHT:
        if (!Shift && GetSelLength() > 0)
            MoveCaret(GetSelStart() + GetSelLength(), false);
        else
            MoveCaret(NextPos(FCaret), Shift);
        break;
    case VK_HOME:
        MoveCaret(Ctrl ? 0 : FLines[static_cast<size_t>(LineOf(FCaret))].Start, Shift);
        break;
    case VK_END: {
        if (Ctrl) {
            MoveCaret(static_cast<int>(FText.size()), Shift);
            break;
        }
        const int Line = LineOf(FCaret);
        const TLine& L = FLines[static_cast<size_t>(Line)];
        int End = L.Start + L.Length;
        if (Line + 1 < static_cast<int>(FLines.size()) && End > L.Start) End = PrevPos(End);
        MoveCaret(End, Shift);
        break;
    }
    case VK_UP:
    case VK_DOWN: {
        if (!IsMultiLine()) break;
        const int Line = LineOf(FCaret) + (Key == VK_UP ? -1 : 1);
        if (Line < 0 || Line >= static_cast<int>(FLines.size())) break;
        const TPoint P = PointFromPos(FCaret);
        MoveCaret(PosFromPoint(TPoint{P.X, Margin + Line * LineHeight() - FScrollY}), Shift);
        break;
    }
    case VK_DELETE:
        if (FReadOnly) break;
        if (Shift && GetSelLength() > 0) {
            CutToClipboard();
            break;
        }
        if (GetSelLength() == 0) FCaret = NextPos(FCaret);
        ReplaceSelection(String());
        break;
    case VK_INSERT:
        if (Ctrl)
            CopyToClipboard();
        else if (Shift)
            PasteFromClipboard();
        break;
    case 'A':
        if (Ctrl) SelectAll();
        break;
    case 'C':
        if (Ctrl) CopyToClipboard();
        break;
    case 'X':
        if (Ctrl) CutToClipboard();
        break;
    case 'V':
        if (Ctrl) PasteFromClipboard();
        break;
    default:
        break;
    }
}

void TCustomEdit::HandleChar(char Ch) {
    if (FReadOnly) return;
    const auto U = static_cast<unsigned char>(Ch);
    if (Ch == '\b') {
        if (GetSelLength() == 0) FAnchor = PrevPos(FCaret);
        ReplaceSelection(String());
        return;
    }
    if (Ch == '\r' || Ch == '\n') {
        if (IsMultiLine()) ReplaceSelection("\n");
        return;
    }
    if (Ch == '\t' && !IsMultiLine()) return;
    if (U < 32 && Ch != '\t') return;
    if (U == 127) return;
    ReplaceSelection(String(1, Ch));
}

} // namespace folio
