#pragma once

#include "framework/gfx/ImageList.h"
#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/comctrls/ListItems.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>
#include <memory>

namespace folio {

// How a list view lays its items out: large pictures with captions below in
// rows, small pictures with captions beside in rows, captions in columns
// top to bottom, or a report of one row per item under a column header.
enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using enum TViewStyle;

// Whether the items keep themselves sorted by caption.
enum class TSortType { stNone, stText };
using enum TSortType;

using TLVItemEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
// Compare < 0 puts Item1 first; Data is the column sorted by (0: captions).
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2,
                                           int Data, int& Compare)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;

// A list of items shown in one of four styles, with one selected item
// moved by mouse and keys, renamed in place (F2 or a slow second click on
// the selected caption; OnEditing, OnEdited) and, in the report, sorted by
// a click on a column's header. With OwnerData the view holds no items:
// it shows Items.Count (SetItemCount) entries and asks OnData to fill each
// one it paints. Items lie in lines (rows, or columns in vsList) of equal
// cells, so painting and hit tests cost what is visible.
class TListView : public TCustomControl, private TListItemsView {
    FOLIO_CLASS(TListView)
public:
    // The most entries a view in virtual mode shows.
    static constexpr int MaxVirtualCount = 100000000;

    explicit TListView(TComponent* AOwner);
    ~TListView() override;

    TListItems* GetItems() const { return FItems.get(); }
    void SetItems(TListItems* Value) { FItems->Assign(Value); }
    TListColumns* GetColumns() const { return FColumns.get(); }
    void SetColumns(TCollection* Value) { FColumns->Assign(Value); }
    TViewStyle GetViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle Value);
    TImageList* GetLargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* Value);
    TImageList* GetSmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);
    TSortType GetSortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool GetOwnerData() const { return FOwnerData; }
    void SetOwnerData(bool Value);
    // The number of entries: the items', or in virtual mode the count set.
    int GetItemCount() const;
    void SetItemCount(int Value);

    // -1 for none.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The selected item (in virtual mode filled by OnData), or null.
    TListItem* GetSelected();
    // Entry Index as shown: the item, or in virtual mode one filled by
    // OnData (valid until the next call).
    TListItem* GetEntry(int Index);

    // Sorts by column Column (0: captions; OnCompare decides when set).
    void SortByColumn(int Column, bool Ascending = true);

    // Geometry.
    TRect HeaderRect() const;
    TRect ItemRect(int Index) const;
    int IndexAt(int X, int Y) const;
    int GetTopLine() const { return FTopLine; }
    void SetTopLine(int Value);
    void MakeVisible(int Index);
    int ItemsPerLine() const;
    int VisibleLines() const;
    // The header column under X (report only), or -1.
    int ColumnAt(int X) const;
    TScrollBar* GetScrollBar() const { return FScrollBar.get(); }

    bool IsEditing() const { return FEditor && FEditor->Editing(); }
    void StartEdit(int Index);
    TInplaceEdit* GetEditor() const { return FEditor.get(); }

    void Dispatch(TMessage& Message) override;

    TLVItemEvent OnData;
    TLVItemEvent OnChange;
    TLVColumnClickEvent OnColumnClick;
    TLVCompareEvent OnCompare;
    TLVEditingEvent OnEditing;
    TLVEditedEvent OnEdited;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Resize() override;
    void FontChanged() override;

private:
    // TListItemsView
    void ItemsChanged() override;
    void ItemDeleting(int Index) override;
    void ItemInserted(int Index) override;

    TImageList* ShownImages() const;
    int LineHeight() const;
    // A cell's size in the style shown.
    TSize CellSize() const;
    TRect ItemArea() const;
    int LineCount() const;
    void UpdateScrollBar();
    void SetImageList(TImageList*& Field, TImageList* Value);
    void PaintHeader(TCanvas* Canvas);
    void PaintItem(TCanvas* Canvas, int Index, TListItem& Item, const TRect& R);
    TRect CaptionRect(int Index, const TListItem& Item) const;
    void SortIfWanted();
    int Compare(TListItem& A, TListItem& B, int Column);

    std::unique_ptr<TListItems> FItems;
    std::unique_ptr<TListColumns> FColumns;
    std::unique_ptr<TScrollBar> FScrollBar;
    std::unique_ptr<TInplaceEdit> FEditor;
    TListItem FVirtualItem;
    TChangeLink FLargeLink;
    TChangeLink FSmallLink;
    TImageList* FLargeImages = nullptr;
    TImageList* FSmallImages = nullptr;
    TViewStyle FViewStyle = vsIcon;
    TSortType FSortType = stNone;
    TBorderStyle FBorderStyle = bsSingle;
    bool FReadOnly = false;
    bool FHideSelection = true;
    bool FShowColumnHeaders = true;
    bool FOwnerData = false;
    bool FSorting = false;
    bool FPressedSelected = false;
    int FVirtualCount = 0;
    int FItemIndex = -1;
    int FEditIndex = -1;
    int FTopLine = 0;
    int FSortColumn = -1;
    bool FSortAscending = true;
};

} // namespace folio
