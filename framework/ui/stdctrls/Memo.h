#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/ScrollBar.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <memory>

namespace folio {

/// A box of several lines of text: the edit box's editing (caret and
/// selection by mouse and keys, grapheme by grapheme, the clipboard) with
/// Enter starting a new line, Page Up and Down, and Lines, the text as a
/// string list that a form stores as a list. Lines wrap at the box's width
/// unless WordWrap is off, when the box scrolls sideways instead.
class TMemo : public TCustomEdit {
    FOLIO_CLASS(TMemo)
public:
    /// An empty memo with its (hidden) scroll bars; see TCustomEdit for the
    /// size and colour.
    explicit TMemo(TComponent* AOwner);
    /// Destroys the memo, its lines and its bars.
    ~TMemo() override;

    ///@{
    /// The text's lines (split at line breaks, not where they wrap). The
    /// memo owns them; SetLines copies the given ones.
    /// Changing them sets the text (OnChange), and setting the text changes them.
    TStrings* GetLines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    ///@}
    ///@{
    /// Which scroll bars show; ssNone by default. The text area narrows for them.
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    ///@}
    ///@{
    /// Whether lines wrap at the memo's width; true by default.
    bool GetWordWrap() const { return GetWrapping(); }
    void SetWordWrap(bool Value);
    ///@}
    ///@{
    /// With WantTabs, Tab types a tab instead of moving the focus on; with
    /// WantReturns (the default), Enter starts a new line instead of
    /// pressing the form's default button.
    /// WantTabs is false by default.
    bool GetWantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool GetWantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    ///@}

    ///@{
    /// The bars, while ScrollBars shows them (else hidden).
    TScrollBar* GetVertScrollBar() const { return FVert.get(); }
    TScrollBar* GetHorzScrollBar() const { return FHorz.get(); }
    ///@}
    /// The caret as a line of Lines and a byte offset into it.
    /// X is the byte offset, Y the line, both from 0.
    TPoint GetCaretLineAndColumn() const;

    /// The client area less the shown scroll bars.
    TRect GetEditRect() const override;
    /// Asks the dialog for Tab (WantTabs) and Enter (WantReturns) as well.
    void Dispatch(TMessage& Message) override;

protected:
    /// Adds ES_MULTILINE.
    void CreateParams(TCreateParams& Params) override;
    /// The scroll bars follow the text.
    void ScrollChanged() override;
    /// Lines follow the text.
    void TextChanged() override;
    /// Fires OnResize and lays the scroll bars out again.
    void Resize() override;

private:
    void LinesChanged();
    void PlaceScrollBars();
    // The widest laid-out line, in pixels: the sideways range.
    int WidestLine() const;

    std::unique_ptr<TStringList> FLines;
    std::unique_ptr<TScrollBar> FVert;
    std::unique_ptr<TScrollBar> FHorz;
    TScrollStyle FScrollBars = ssNone;
    bool FWantTabs = false;
    bool FWantReturns = true;
    // Set while the text and the lines are copied one into the other.
    bool FSyncing = false;
    bool FPlacingBars = false;
};

} // namespace folio
