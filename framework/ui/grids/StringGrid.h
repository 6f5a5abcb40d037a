#pragma once

#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/grids/Grids.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>

namespace folio {

// A grid of texts. With goEditing in Options the current cell is edited in
// place: F2, Enter, a double click or a typed character (which replaces
// the text) open the edit box, Enter keeps what was typed and Escape drops
// it; moving to another cell keeps it too. Only cells holding text take
// memory. With StoreCells a form stores the texts as the list "Cells" of
// (column row text) lists; reading refuses more than MaxFormCells of them,
// or a cell outside the grid's largest size, with the form's line.
class TStringGrid : public TCustomGrid {
    FOLIO_CLASS(TStringGrid)
public:
    static constexpr int MaxFormCells = 1000000;

    explicit TStringGrid(TComponent* AOwner);
    ~TStringGrid() override;

    // Empty for a cell never set or outside the grid.
    String GetCells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const String& Value);
    bool GetStoreCells() const { return FStoreCells; }
    void SetStoreCells(bool Value) { FStoreCells = Value; }
    // How many cells hold text.
    int GetFilledCount() const { return static_cast<int>(FCells.size()); }

    bool IsEditing() const { return FEditor && FEditor->Editing(); }
    // Opens the edit box over the current cell (with goEditing).
    void ShowEditor();
    void HideEditor(bool Accept);
    TInplaceEdit* GetEditor() const { return FEditor.get(); }

    void DefineProperties(TFiler* Filer) override;
    void Dispatch(TMessage& Message) override;

    // A cell's text changed by the user's edit.
    std::function<void(TObject* Sender, int ACol, int ARow, const String& Value)> OnSetEditText;

protected:
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void StartEdit(const String& Text, bool SelectAll);

    std::map<std::pair<int, int>, String> FCells; // (row, column): rows stay together
    std::unique_ptr<TInplaceEdit> FEditor;
    TGridCoord FEditCell;
    bool FStoreCells = false;
    // A double click opens the editor once its button is released, when
    // the grid is done taking the focus for the press.
    bool FEditOnRelease = false;
};

} // namespace folio
