#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/ScrollBar.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <memory>

namespace folio {

// A box of several lines of text: the edit box's editing (caret and
// selection by mouse and keys, grapheme by grapheme, the clipboard) with
// Enter starting a new line, Page Up and Down, and Lines, the text as a
// string list that a form stores as a list. Lines wrap at the box's width
// unless WordWrap is off, when the box scrolls sideways instead.
class TMemo : public TCustomEdit {
    FOLIO_CLASS(TMemo)
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;

    // The text's lines (split at line breaks, not where they wrap). The
    // memo owns them; SetLines copies the given ones.
    TStrings* GetLines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    TScrollStyle GetScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    bool GetWordWrap() const { return GetWrapping(); }
    void SetWordWrap(bool Value);
    // With WantTabs, Tab types a tab instead of moving the focus on; with
    // WantReturns (the default), Enter starts a new line instead of
    // pressing the form's default button.
    bool GetWantTabs() const { return FWantTabs; }
    void SetWantTabs(bool Value) { FWantTabs = Value; }
    bool GetWantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }

    // The bars, while ScrollBars shows them (else hidden).
    TScrollBar* GetVertScrollBar() const { return FVert.get(); }
    TScrollBar* GetHorzScrollBar() const { return FHorz.get(); }
    // The caret as a line of Lines and a byte offset into it.
    TPoint GetCaretLineAndColumn() const;

    TRect GetEditRect() const override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void ScrollChanged() override;
    void TextChanged() override;
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
