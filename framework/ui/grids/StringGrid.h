#pragma once

#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/grids/Grids.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace folio {

/// A grid of texts. With goEditing in Options the current cell is edited in
/// place: F2, Enter, a double click or a typed character (which replaces
/// the text) open the edit box, Enter keeps what was typed and Escape drops
/// it; moving to another cell keeps it too. Only cells holding text take
/// memory. With StoreCells a form stores the texts as the list "Cells" of
/// (column row text) lists; reading refuses more than MaxFormCells of them,
/// or a cell outside the grid's largest size, with the form's line.
class TStringGrid : public TCustomGrid {
    FOLIO_CLASS(TStringGrid)
public:
    /// The most cells holding text that a form may store for one grid.
    static constexpr int MaxFormCells = 1000000;

    /// An empty string grid with the custom grid's shape, in clWindow, taking
    /// the keyboard.
    explicit TStringGrid(TComponent* AOwner);
    /// Frees its texts and its edit box.
    ~TStringGrid() override;

    /// A cell's text; empty for a cell never set or outside the grid.
    String GetCells(int ACol, int ARow) const;
    /// Sets a cell's text (empty frees it) and repaints the cell; fires no
    /// event. A cell outside the grid raises EInvalidOperation.
    void SetCells(int ACol, int ARow, const String& Value);
    /// Whether a form stores the cells' texts; false by default.
    ///@{
    bool GetStoreCells() const { return FStoreCells; }
    void SetStoreCells(bool Value) { FStoreCells = Value; }
    ///@}
    /// How many cells hold text.
    int GetFilledCount() const { return static_cast<int>(FCells.size()); }

    /// True while the edit box is open over a cell.
    bool IsEditing() const { return FEditor && FEditor->Editing(); }
    /// Opens the edit box over the current cell (with goEditing).
    void ShowEditor();
    /// Closes the edit box: Accept keeps what was typed (SetCells, then
    /// OnSetEditText), else drops it.
    void HideEditor(bool Accept);
    /// The edit box, a part of the grid.
    TInplaceEdit* GetEditor() const { return FEditor.get(); }

    /// With StoreCells, writes and reads the texts as the list "Cells"; reading
    /// refuses more than MaxFormCells entries, or a cell outside the grid's
    /// largest size, raising EReadError with the form's line.
    void DefineProperties(TFiler* Filer) override;
    /// With goEditing, Enter opens the edit box instead of pressing the form's
    /// default button; typed characters are the grid's own.
    void Dispatch(TMessage& Message) override;

    /// A cell's text changed by the user's edit.
    std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)> OnSetEditText;

protected:
    /// Draws the cell's text on one line, ellipsed when it does not fit.
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    /// Leaving a cell while editing keeps what was typed.
    bool SelectCell(int ACol, int ARow) override;
    /// With goEditing, F2 and Enter open the edit box.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// With goEditing, a typed character opens the edit box with that character
    /// replacing the text.
    void KeyPress(char& Key) override;
    /// A double click marks the edit box to open when the button is released
    /// (with goEditing).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Opens the edit box a double click asked for.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void StartEdit(const String& Text, bool SelectAll);

    std::map<std::pair<int, int>, String> FCells; // (row, column): rows stay together
    std::unique_ptr<TInplaceEdit> FEditor;
    TGridCoord FEditCell;
    bool FStoreCells = false;
    /// A double click opens the editor once its button is released, when
    /// the grid is done taking the focus for the press.
    bool FEditOnRelease = false;
};

} // namespace folio
