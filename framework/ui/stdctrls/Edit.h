#pragma once

#include "framework/gfx/FontEngine.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/forms/FormTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace folio {

// How long the caret of an edit box shows, and then hides, while it blinks
// (milliseconds); 0 keeps it shown.
unsigned GetCaretBlinkTime();
void SetCaretBlinkTime(unsigned Milliseconds);

// An edit box: one line that scrolls sideways (ES_AUTOHSCROLL), or several
// word-wrapped lines, centred with ES_CENTER (ES_MULTILINE). It has a caret
// and a selection, edits with the keyboard (arrows, Home, End, Backspace,
// Delete, Shift to select, Ctrl+A/C/X/V) and the mouse (click and drag).
// The editing itself runs in the default handling of the key messages, after
// KeyDown and KeyPress: a descendant that sets the key to 0 there swallows it.
// Text positions count bytes of UTF-8; the caret stops only between
// user-perceived characters (grapheme clusters), so Backspace and Delete
// take a letter with its accents whole. Text reads right to left when the
// box's BiDiMode says so, mixed directions in visual order: the arrows move
// the caret on screen, left or right. An input method's composition shows
// at the caret, underlined, until it is typed.
class TCustomEdit : public TWinControl {
    FOLIO_CLASS(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    const String& GetText() const { return TControl::GetText(); }
    void SetText(const String& Value) { TControl::SetText(Value); }

    int GetSelStart() const;
    void SetSelStart(int Value);
    int GetSelLength() const;
    void SetSelLength(int Value);
    String GetSelText() const;
    // Replaces the selection with Value and puts the caret after it.
    void SetSelText(const String& Value);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Clear() { SetText(String()); }
    // The caret position (a byte offset into Text).
    int GetCaretPos() const { return FCaret; }
    // Whether the blinking caret is in its shown phase (it is drawn only
    // while the box has the focus).
    bool GetCaretShown() const { return FCaretShown; }

    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    int GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetModified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);

    // The text's lines as laid out now (one line unless ES_MULTILINE):
    // byte ranges into Text.
    struct TLine {
        int Start = 0;
        int Length = 0;
    };
    const std::vector<TLine>& GetLines() const;
    // The text position nearest a client point.
    int PosFromPoint(TPoint P) const;
    // The client position of the caret's top.
    TPoint PointFromPos(int Pos) const;
    // The part of the client area the text lies in: all of it, but for a
    // descendant that keeps room for scroll bars.
    virtual TRect GetEditRect() const { return GetClientRect(); }
    // How far the text is scrolled, in pixels; ScrollTo keeps it within
    // the text and tells ScrollChanged.
    int GetScrollX() const { return FScrollX; }
    int GetScrollY() const { return FScrollY; }
    void ScrollTo(int X, int Y);
    // The height of one line of text.
    int LineHeight() const;
    // What the input method is composing, shown at the caret (empty: none).
    const String& GetComposition() const { return FComposition; }

    void DefaultHandler(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow() override;
    TCursor GetClassCursor() const override { return crIBeam; }
    void TextChanged() override;
    void FontChanged() override;
    // The text changed, by the user or the program: fires OnChange.
    virtual void Change();

    bool IsMultiLine() const { return (GetStyle() & ES_MULTILINE) != 0; }
    void AdjustHeight();

    // Whether several lines wrap at the box's width. Unwrapped lines end
    // only at their line breaks, and the box scrolls sideways to the caret.
    bool GetWrapping() const { return FWrapping; }
    void SetWrapping(bool Value);
    // The text scrolled, or its lines changed: a descendant's scroll bars
    // follow.
    virtual void ScrollChanged() {}
    int TextWidth(int Start, int Length) const;

private:
    void HandleKey(unsigned short Key);
    void HandleChar(char Ch);
    void MoveCaret(int Pos, bool Extend);
    // Tells assistive technology where the caret and the selection went,
    // when they moved since it was last told.
    void TellCaret();
    void ReplaceSelection(const String& Value);
    void Layout() const;
    void ScrollCaretIntoView();
    // Scrolls as little as keeps the caret's line (or column) in the box.
    void KeepCaretInView();
    void RestartCaretBlink(bool Focusing);
    TRect CaretRect() const;
    int LineOf(int Pos) const;
    int LineX(const TLine& L) const;
    int PrevPos(int Pos) const;
    int NextPos(int Pos) const;
    // The caret one step left or right on screen.
    int VisualPos(int Pos, bool Right) const;
    // The start of the next word after Pos, or of the word before it (a
    // place where a line may break, a line's start or the text's ends).
    int WordPos(int Pos, bool Forward) const;
    // Page Up and Page Down: the caret a screenful of lines up or down,
    // and the text scrolled as far.
    void MovePage(bool Down, bool Extend);
    // A line's text without its line break, shaped in the box's direction.
    std::shared_ptr<const TShapedText> ShapeLine(const TLine& L) const;
    int ShownLength(const TLine& L) const;
    bool RightToLeftText() const { return UseRightToLeftReading(); }
    void PaintSelection(const TLine& L, const TShapedText& Shaped, int X, int Y,
                        const TFontFace& Face);
    void PaintComposition(const TLine& L, int X, int Y, const TFontFace& Face, TPixel Color);

    int FAnchor = 0;
    int FCaret = 0;
    int FScrollX = 0;
    int FScrollY = 0;
    bool FAutoSize = true;
    TBorderStyle FBorderStyle = bsSingle;
    int FMaxLength = 0;
    bool FReadOnly = false;
    bool FModified = false;
    bool FHideSelection = true;
    bool FWrapping = true;
    bool FSelecting = false;
    bool FCaretShown = true;
    bool FInTextSet = false;
    int FToldCaret = 0;
    int FToldAnchor = 0;
    // The text as assistive technology last heard it, kept only while it
    // listens (for the generation of listener it has), so that a text the
    // program sets can be told as the old one removed.
    String FToldText;
    unsigned FToldGeneration = 0;
    mutable bool FLayoutValid = false;
    // Where characters start and lines may break, for the whole text.
    mutable std::vector<std::uint8_t> FBreaks;
    mutable bool FBreaksValid = false;
    // The start of a character typed as UTF-8 bytes, until it is whole.
    String FPendingUtf8;
    String FComposition;
    int FCompositionCursor = 0;
    mutable std::vector<TLine> FLines;
    mutable int FLayoutWidth = -1;
    std::unique_ptr<TCanvas> FCanvas;
};

class TEdit : public TCustomEdit {
    FOLIO_CLASS(TEdit)
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

} // namespace folio
