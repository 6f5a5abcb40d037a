#pragma once

#include "framework/design/PropertyEditor.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <memory>
#include <set>
#include <vector>

namespace designer {

using folio::String;
using folio::TRect;

class TFormDesigner;
class TValueList;

// The property inspector: the selected object's published properties (or,
// on the Events page, its events) as rows of name and value, each edited
// by the property editor the design registry gives for it. A row with
// sub-properties opens with "+", a value list drops down from its arrow
// button, an ellipsis button runs the editor's Edit, and a value is typed
// into the box over it and taken with Enter (unless the editor reads only).
// A value the editor refuses leaves the object as it was and shows why on
// the last line.
class TObjectInspector : public folio::TCustomControl {
    FOLIO_CLASS(TObjectInspector)
public:
    enum TPage { ipProperties, ipEvents };

    explicit TObjectInspector(folio::TComponent* AOwner);
    ~TObjectInspector() override;

    void SetDesigner(TFormDesigner* Designer);
    // Builds the rows again from the designer's selection.
    void Rebuild();
    // Shows the values again after a change (the rows stay).
    void RefreshValues();

    TPage GetPage() const { return FPage; }
    void SetPage(TPage Value);

    // The rows as shown, by dotted path ("GroupsFont.Size").
    int RowCount() const { return static_cast<int>(FRows.size()); }
    String RowPath(int Row) const { return FRows[Row].Path; }
    String RowValue(int Row) const;
    int FindRow(const String& Path) const;
    folio::TPropertyEditor* RowEditor(int Row) const { return FRows[Row].Editor.get(); }
    bool IsExpanded(int Row) const { return FRows[Row].Expanded; }

    // Geometry, in client coordinates, shared by painting and the mouse.
    TRect TabRect(TPage Page) const;
    TRect RowRect(int Row) const;
    TRect NameRect(int Row) const;
    TRect ValueRect(int Row) const;
    TRect ExpanderRect(int Row) const;
    // The arrow that drops a value list and the ellipsis that runs a
    // dialog, each empty when the row has none. A row with both (a colour)
    // shows the arrow left of the ellipsis.
    TRect ArrowRect(int Row) const;
    TRect EllipsisRect(int Row) const;
    int RowAt(int Y) const;
    // Scrolling: the first row shown, and how many rows fit.
    int GetTopRow() const { return FTopRow; }
    void SetTopRow(int Value);
    int VisibleRows() const;
    void ScrollIntoView(int Row);

    // The current row, whose value box shows.
    int GetCurrentRow() const { return FCurrent; }
    void SetCurrentRow(int Row);
    folio::TEdit* GetValueEdit() const { return FEdit; }
    TValueList* GetValueList() const { return FList; }
    folio::TScrollBar* GetScrollBar() const { return FScrollBar; }
    // The tooltip of a row: its path and its property's type, and on a
    // second line the value's whole text (a name or value cut off by the
    // column shows whole there).
    String RowHint(int Row) const;
    // The line above the pages: what is selected ("Button1: TButton",
    // "3 components selected").
    String HeaderText() const;
    // What the last refused value said; empty after a value was taken.
    const String& GetMessage() const { return FMessage; }

    // Takes Text as the value of Row, as Enter in the value box does.
    bool ApplyValue(int Row, const String& Text);
    void ToggleExpanded(int Row);
    // The ellipsis: the row editor's Edit.
    void RunEdit(int Row);
    void DropDown(int Row);
    void CloseUp(bool Accept);

    static constexpr int RowHeight = 18;
    static constexpr int TabHeight = 20;
    static constexpr int HeaderHeight = 20;
    static constexpr int ButtonWidth = 16;

    void Dispatch(folio::TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    void MouseMove(folio::TShiftState Shift, int X, int Y) override;
    void MouseUp(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    void Resize() override;
    bool DoMouseWheel(folio::TShiftState Shift, int WheelDelta, folio::TPoint MousePos) override;

private:
    struct TRow {
        std::unique_ptr<folio::TPropertyEditor> Editor;
        folio::TPropertyAttributes Attributes;
        String Path;
        int Depth = 0;
        bool Expanded = false;
    };
    void AddRows(std::unique_ptr<folio::TPropertyEditor> Editor, const String& ParentPath,
                 int Depth);
    // Where the names end and the values begin; the line between them can
    // be dragged.
    int NameColumn() const;
    bool OnColumnLine(int X, int Y) const;
    void MoveEdit();
    // Where rows end: left of the scroll bar while it shows.
    int RowsRight() const;
    void UpdateScrollBar();
    int FirstRowTop() const { return HeaderHeight + TabHeight; }
    void PlaceEdit();
    void ValueEditKey(unsigned short& Key);
    void Changed();

    TFormDesigner* FDesigner = nullptr;
    TPage FPage = ipProperties;
    std::vector<TRow> FRows;
    std::set<String> FExpanded;
    int FCurrent = -1;
    // The property the value box was last placed on.
    String FEditName;
    int FTopRow = 0;
    int FListRow = -1;
    // The row whose ellipsis is held down.
    int FEllipsisRow = -1;
    // The names' width a person dragged the column line to (0: two fifths
    // of the width), and whether the line is being dragged.
    int FNameWidth = 0;
    bool FSplitting = false;
    folio::TEdit* FEdit = nullptr;
    TValueList* FList = nullptr;
    folio::TScrollBar* FScrollBar = nullptr;
    String FMessage;
};

// The list a value list row drops down: one line per value, the current one
// highlighted; a click chooses. A list longer than its height scrolls, by
// its scroll bar or the wheel.
class TValueList : public folio::TCustomControl {
public:
    explicit TValueList(folio::TComponent* AOwner);
    void SetItems(std::vector<String> Items, const String& Current);
    const std::vector<String>& GetItems() const { return FItems; }
    int GetItemIndex() const { return FIndex; }
    // Highlights the line, scrolling it into view.
    void SetItemIndex(int Value);
    int GetTopIndex() const { return FTop; }
    void SetTopIndex(int Value);
    int VisibleLines() const;
    void ScrollIntoView(int Index);
    folio::TScrollBar* GetScrollBar() const { return FScrollBar; }
    // In client coordinates; a line scrolled away lies outside the client.
    TRect ItemRect(int Index) const;
    std::function<void(const String& Value)> OnChoose;

protected:
    void Paint() override;
    void MouseDown(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    void Resize() override;
    bool DoMouseWheel(folio::TShiftState Shift, int WheelDelta, folio::TPoint MousePos) override;

private:
    void UpdateScrollBar();

    std::vector<String> FItems;
    int FIndex = -1;
    int FTop = 0;
    folio::TScrollBar* FScrollBar = nullptr;
};

} // namespace designer
