#include "framework/ui/stdctrls/Edit.h"

#include "framework/ui/app/Application.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/EditText.h"

#include <cctype>

namespace folio {

using namespace edittext;

namespace {

bool IsWordChar(char C) {
    const auto U = static_cast<unsigned char>(C);
    return U >= 0x80 || std::isalnum(U) || C == '_';
}

} // namespace

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
            while (A > 0 && IsWordChar(GetText()[static_cast<size_t>(A - 1)])) --A;
            while (B < static_cast<int>(GetText().size()) &&
                   IsWordChar(GetText()[static_cast<size_t>(B)]))
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
        InvalidateRect(CaretRect(), false);
        return;
    case WM_IME_COMPOSITION:
        // The composition shows at the caret until it is typed or dropped.
        FComposition = Message.LParam ? *reinterpret_cast<const String*>(Message.LParam) : String();
        FCompositionCursor = static_cast<int>(Message.WParam);
        if (FReadOnly) FComposition.clear();
        Invalidate();
        return;
    case WM_SIZE:
        FLayoutValid = false;
        // The lines rewrap to the new width, and a taller box may hold what
        // was scrolled away.
        KeepCaretInView();
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
        if (Ctrl)
            MoveCaret(WordPos(FCaret, false), Shift);
        else if (!Shift && GetSelLength() > 0)
            MoveCaret(GetSelStart(), false);
        else
            MoveCaret(VisualPos(FCaret, false), Shift);
        break;
    case VK_RIGHT:
        if (Ctrl)
            MoveCaret(WordPos(FCaret, true), Shift);
        else if (!Shift && GetSelLength() > 0)
            MoveCaret(GetSelStart() + GetSelLength(), false);
        else
            MoveCaret(VisualPos(FCaret, true), Shift);
        break;
    case VK_HOME:
        MoveCaret(Ctrl ? 0 : FLines[static_cast<size_t>(LineOf(FCaret))].Start, Shift);
        break;
    case VK_END: {
        if (Ctrl) {
            MoveCaret(static_cast<int>(GetText().size()), Shift);
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
    case VK_PRIOR:
    case VK_NEXT:
        if (IsMultiLine()) MovePage(Key == VK_NEXT, Shift);
        break;
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

int TCustomEdit::WordPos(int Pos, bool Forward) const {
    PrevPos(0); // the character and line-break places of the text
    const String& Text = GetText();
    const int Len = static_cast<int>(Text.size());
    // A word starts where a line may break before it: after the spaces
    // that end the word before, or at a line's start.
    const auto StartsWord = [&](int P) {
        return P <= 0 || P >= Len || Text[static_cast<size_t>(P - 1)] == '\n' ||
               (FBreaks[static_cast<size_t>(P)] & (tbBreakAllowed | tbBreakMandatory)) != 0;
    };
    if (Forward) {
        int P = NextPos(Pos);
        while (!StartsWord(P)) P = NextPos(P);
        return P;
    }
    int P = PrevPos(Pos);
    while (!StartsWord(P)) P = PrevPos(P);
    return P;
}

void TCustomEdit::MovePage(bool Down, bool Extend) {
    Layout();
    const int H = std::max(1, LineHeight());
    const int Page = std::max(1, (GetEditRect().Height() - 2 * Margin) / H);
    const int Lines = static_cast<int>(FLines.size());
    const int Line = std::clamp(LineOf(FCaret) + (Down ? Page : -Page), 0, Lines - 1);
    const TPoint P = PointFromPos(FCaret);
    const int Pos = PosFromPoint(TPoint{P.X, Margin + Line * H - FScrollY});
    // The text scrolls by the page too, so the caret keeps its place in
    // the box where the text allows.
    FScrollY += (Down ? Page : -Page) * H;
    FScrollY = std::clamp(FScrollY, 0, std::max(0, Lines * H - Page * H));
    MoveCaret(Pos, Extend);
}

void TCustomEdit::HandleChar(char Ch) {
    if (FReadOnly) return;
    const auto U = static_cast<unsigned char>(Ch);
    // Typed text arrives a byte at a time: the bytes of one character are
    // gathered and inserted together, so the text never holds half of one.
    if (U >= 0x80) {
        if (U >= 0xC0) FPendingUtf8.clear();
        if (U >= 0xC0 || !FPendingUtf8.empty()) FPendingUtf8 += Ch;
        if (FPendingUtf8.empty()) return; // a stray continuation byte
        const auto Lead = static_cast<unsigned char>(FPendingUtf8[0]);
        const size_t Need = Lead >= 0xF0 ? 4 : Lead >= 0xE0 ? 3 : 2;
        if (FPendingUtf8.size() < Need) return;
        const String Whole = std::move(FPendingUtf8);
        FPendingUtf8.clear();
        FComposition.clear();
        ReplaceSelection(Whole);
        return;
    }
    FPendingUtf8.clear();
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
    FComposition.clear();
    ReplaceSelection(String(1, Ch));
}

} // namespace folio
