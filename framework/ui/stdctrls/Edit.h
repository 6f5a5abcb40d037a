#pragma once

#include "framework/gfx/FontEngine.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/forms/FormTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace folio {

///@{
/// How long the caret of an edit box shows, and then hides, while it blinks
/// (milliseconds); 0 keeps it shown.
/// 530 by default.
unsigned GetCaretBlinkTime();
void SetCaretBlinkTime(unsigned Milliseconds);
///@}

/// An edit box: one line that scrolls sideways (ES_AUTOHSCROLL), or several
/// word-wrapped lines, centred with ES_CENTER (ES_MULTILINE). It has a caret
/// and a selection, edits with the keyboard (arrows, Home, End, Backspace,
/// Delete, Shift to select, Ctrl+A/C/X/V) and the mouse (click and drag).
/// The editing itself runs in the default handling of the key messages, after
/// KeyDown and KeyPress: a descendant that sets the key to 0 there swallows it.
/// Text positions count bytes of UTF-8; the caret stops only between
/// user-perceived characters (grapheme clusters), so Backspace and Delete
/// take a letter with its accents whole. Text reads right to left when the
/// box's BiDiMode says so, mixed directions in visual order: the arrows move
/// the caret on screen, left or right. An input method's composition shows
/// at the caret, underlined, until it is typed.
class TCustomEdit : public TWinControl {
    FOLIO_CLASS(TCustomEdit)
public:
    /// An empty box of 121 by 25 pixels on the window colour, a Tab stop with a
    /// sunken single border.
    explicit TCustomEdit(TComponent* AOwner);
    /// Destroys the box.
    ~TCustomEdit() override;

    ///@{
    /// The whole text. Setting it puts the caret at the start, drops the
    /// selection and fires OnChange; it does not set Modified.
    const String& GetText() const { return TControl::GetText(); }
    void SetText(const String& Value) { TControl::SetText(Value); }
    ///@}

    ///@{
    /// Where the selection (or the caret, when nothing is selected) starts, a
    /// byte offset. Setting it moves the caret there (held within the text, at
    /// a character's start) and selects nothing.
    int GetSelStart() const;
    void SetSelStart(int Value);
    ///@}
    ///@{
    /// How many bytes are selected. Setting it selects from SelStart, held
    /// within the text and taking a character it reaches into whole; the caret
    /// goes to the end.
    int GetSelLength() const;
    void SetSelLength(int Value);
    ///@}
    /// The selected text.
    String GetSelText() const;
    /// Replaces the selection with Value and puts the caret after it.
    /// Also on a read-only box; MaxLength holds.
    void SetSelText(const String& Value);
    /// Selects the whole text, the caret at its end.
    void SelectAll();
    /// Deletes the selected text (OnChange); nothing when none is selected.
    void ClearSelection();
    /// Puts the selected text on the clipboard; nothing when none is selected.
    void CopyToClipboard();
    /// Copies the selection to the clipboard and deletes it; nothing on a
    /// read-only box.
    void CutToClipboard();
    /// Replaces the selection with the clipboard's text (a single-line box
    /// takes its first line only), as far as MaxLength lets it; nothing on a
    /// read-only box.
    void PasteFromClipboard();
    /// Empties the text (OnChange).
    void Clear() { SetText(String()); }
    /// The caret position (a byte offset into Text).
    int GetCaretPos() const { return FCaret; }
    /// Whether the blinking caret is in its shown phase (it is drawn only
    /// while the box has the focus).
    bool GetCaretShown() const { return FCaretShown; }

    ///@{
    /// Whether a single-line box keeps its height to one line of its font,
    /// margins and frame; true by default.
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    ///@}
    ///@{
    /// bsSingle (the default) gives the box a frame, sunken when Ctl3D; bsNone
    /// none. A change makes the window again.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}
    ///@{
    /// The most bytes the user can bring the text to (typing, pasting); 0 (the
    /// default) is no limit, negative values count as 0. A text the program
    /// sets is not cut.
    int GetMaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value) { FMaxLength = Value < 0 ? 0 : Value; }
    ///@}
    ///@{
    /// Whether the user cannot change the text (selecting and copying still
    /// work); false by default.
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    ///@}
    ///@{
    /// Set by every edit of the user (or SelText); the program clears it, for
    /// instance after saving. False at first; setting Text leaves it alone.
    bool GetModified() const { return FModified; }
    void SetModified(bool Value) { FModified = Value; }
    ///@}
    ///@{
    /// Whether the selection is drawn only while the box has the focus; true by
    /// default.
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    ///@}

    /// The text's lines as laid out now (one line unless ES_MULTILINE):
    /// byte ranges into Text.
    struct TLine {
        /// The byte offset of the line's first character.
        int Start = 0;
        /// The line's length in bytes, its line break or wrapping space included.
        int Length = 0;
    };
    /// The lines as laid out for the box's width now (laid out afresh when
    /// the text, the font or the width changed).
    const std::vector<TLine>& GetLines() const;
    /// The text position nearest a client point.
    int PosFromPoint(TPoint P) const;
    /// The client position of the caret's top.
    TPoint PointFromPos(int Pos) const;
    /// The part of the client area the text lies in: all of it, but for a
    /// descendant that keeps room for scroll bars.
    virtual TRect GetEditRect() const { return GetClientRect(); }
    ///@{
    /// How far the text is scrolled, in pixels; ScrollTo keeps it within
    /// the text and tells ScrollChanged.
    int GetScrollX() const { return FScrollX; }
    int GetScrollY() const { return FScrollY; }
    void ScrollTo(int X, int Y);
    ///@}
    /// The height of one line of text.
    int LineHeight() const;
    /// What the input method is composing, shown at the caret (empty: none).
    const String& GetComposition() const { return FComposition; }

    /// The editing itself: keys, characters and the clipboard messages
    /// (WM_CUT, WM_COPY, WM_PASTE, WM_CLEAR).
    void DefaultHandler(TMessage& Message) override;
    /// Mouse selection, the caret's blinking and its showing with the focus,
    /// the input method's composition.
    void Dispatch(TMessage& Message) override;

    /// The text changed, by the user or the program.
    TNotifyEvent OnChange;

protected:
    /// Adds the edit box style bits and the frame BorderStyle asks for.
    void CreateParams(TCreateParams& Params) override;
    /// Fits the height (AutoSize) once the window is made.
    void CreateWnd() override;
    /// Paints the text, the selection, the composition and the caret.
    void PaintWindow() override;
    /// The I-beam.
    TCursor GetClassCursor() const override { return crIBeam; }
    /// Keeps the caret in the text, tells assistive technology and fires
    /// OnChange (through Change).
    void TextChanged() override;
    /// Lays the text out again and fits the height.
    void FontChanged() override;
    /// The text changed, by the user or the program: fires OnChange.
    virtual void Change();

    /// Whether ES_MULTILINE is among the box's style bits.
    bool IsMultiLine() const { return (GetStyle() & ES_MULTILINE) != 0; }
    /// Fits a single-line box's height to its font (when AutoSize).
    void AdjustHeight();

    ///@{
    /// Whether several lines wrap at the box's width. Unwrapped lines end
    /// only at their line breaks, and the box scrolls sideways to the caret.
    /// True by default.
    bool GetWrapping() const { return FWrapping; }
    void SetWrapping(bool Value);
    ///@}
    /// The text scrolled, or its lines changed: a descendant's scroll bars
    /// follow.
    virtual void ScrollChanged() {}
    /// The width in pixels of Length bytes of the text from Start.
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

/// The edit box of forms: TCustomEdit with its properties published.
class TEdit : public TCustomEdit {
    FOLIO_CLASS(TEdit)
public:
    /// An empty box owned by AOwner.
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};

} // namespace folio
