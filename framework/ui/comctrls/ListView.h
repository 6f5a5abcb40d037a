#pragma once

#include "framework/gfx/ImageList.h"
#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/comctrls/ListItems.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>
#include <memory>

namespace folio {

/// How a list view lays its items out: large pictures with captions below in
/// rows, small pictures with captions beside in rows, captions in columns
/// top to bottom, or a report of one row per item under a column header.
enum class TViewStyle {
    vsIcon,      ///< large pictures, captions below, in rows
    vsSmallIcon, ///< small pictures, captions beside, in rows
    vsList,      ///< small pictures and captions in columns, scrolling sideways
    vsReport     ///< one row per item under the column header
};
using enum TViewStyle;

/// Whether the items keep themselves sorted by caption.
enum class TSortType {
    stNone, ///< the items stay in the order they were put in
    stText  ///< the items keep sorted by caption (as SortByColumn(0) sorts)
};
using enum TSortType;

/// OnData and OnChange: the item (null when the selection went).
using TLVItemEvent = std::function<void(TObject* Sender, TListItem* Item)>;
/// OnColumnClick: the column whose header was clicked.
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
/// Compare < 0 puts Item1 first; Data is the column sorted by (0: captions).
using TLVCompareEvent = std::function<void(TObject* Sender, TListItem* Item1, TListItem* Item2,
                                           int Data, int& Compare)>;
/// OnEditing: AllowEdit arrives true; false keeps the edit box closed.
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;
/// OnEdited: S arrives as typed and becomes the caption (outside virtual mode).
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, String& S)>;

/// A list of items shown in one of four styles, with one selected item
/// moved by mouse and keys, renamed in place (F2 or a slow second click on
/// the selected caption; OnEditing, OnEdited) and, in the report, sorted by
/// a click on a column's header. With OwnerData the view holds no items:
/// it shows Items.Count (SetItemCount) entries and asks OnData to fill each
/// one it paints. Items lie in lines (rows, or columns in vsList) of equal
/// cells, so painting and hit tests cost what is visible.
class TListView : public TCustomControl, private TListItemsView {
    FOLIO_CLASS(TListView)
public:
    /// The most entries a view in virtual mode shows.
    static constexpr int MaxVirtualCount = 100000000;

    /// An empty view 250 by 150 pixels in clWindow, in vsIcon, taking the
    /// keyboard (TabStop).
    explicit TListView(TComponent* AOwner);
    /// Frees the items, the columns, the edit box and the scroll bar.
    ~TListView() override;

    /// The entries, which the view owns; SetItems copies the given ones. Unused
    /// in virtual mode.
    ///@{
    TListItems* GetItems() const { return FItems.get(); }
    void SetItems(TListItems* Value) { FItems->Assign(Value); }
    ///@}
    /// The report's columns, which the view owns; SetColumns copies the given
    /// ones.
    ///@{
    TListColumns* GetColumns() const { return FColumns.get(); }
    void SetColumns(TCollection* Value) { FColumns->Assign(Value); }
    ///@}
    /// How the entries are laid out; vsIcon by default. A change closes an open
    /// edit and scrolls to the top, then to the selected entry.
    ///@{
    TViewStyle GetViewStyle() const { return FViewStyle; }
    void SetViewStyle(TViewStyle Value);
    ///@}
    /// The pictures of vsIcon; null by default. A reference, dropped when the
    /// list is freed; its changes repaint.
    ///@{
    TImageList* GetLargeImages() const { return FLargeImages; }
    void SetLargeImages(TImageList* Value);
    ///@}
    /// The pictures of the other styles; null by default. A reference, dropped
    /// when the list is freed; its changes repaint.
    ///@{
    TImageList* GetSmallImages() const { return FSmallImages; }
    void SetSmallImages(TImageList* Value);
    ///@}
    /// stText keeps the entries sorted by caption (after every change outside
    /// an update bracket); stNone (the default) leaves them in order.
    ///@{
    TSortType GetSortType() const { return FSortType; }
    void SetSortType(TSortType Value);
    ///@}
    /// Whether the captions cannot be edited in place; false by default.
    ///@{
    bool GetReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    ///@}
    /// Whether the selection is drawn only while the view has the focus; true
    /// by default.
    ///@{
    bool GetHideSelection() const { return FHideSelection; }
    void SetHideSelection(bool Value);
    ///@}
    /// Whether the report shows its column header; true by default.
    ///@{
    bool GetShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool Value);
    ///@}
    /// bsSingle (the default) draws a border (sunken with Ctl3D), bsNone
    /// none.
    ///@{
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}
    /// Virtual mode: the view holds no items, shows ItemCount entries and asks
    /// OnData for each; false by default. A change drops the selection.
    ///@{
    bool GetOwnerData() const { return FOwnerData; }
    void SetOwnerData(bool Value);
    ///@}
    ///@{
    /// The number of entries: the items', or in virtual mode the count set
    /// (0 to MaxVirtualCount; 0 by default). Setting it outside virtual mode
    /// is kept for when OwnerData is turned on.
    int GetItemCount() const;
    void SetItemCount(int Value);
    ///@}

    ///@{
    /// The selected entry, from 0; -1 (the default, and any value outside
    /// the entries) for none. Setting it closes an open edit (keeping the
    /// text), scrolls the entry into view and fires OnChange.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    ///@}
    /// The selected item (in virtual mode filled by OnData), or null.
    TListItem* GetSelected();
    /// Entry Index as shown: the item, or in virtual mode one filled by
    /// OnData (valid until the next call).
    TListItem* GetEntry(int Index);

    /// Sorts by column Column (0: captions; OnCompare decides when set).
    void SortByColumn(int Column, bool Ascending = true);

    /// Geometry, in client coordinates: the report's column header (empty
    /// in other styles or without ShowColumnHeaders), an entry's cell
    /// (empty for no entry) and the entry at a point (-1 for none).
    ///@{
    TRect HeaderRect() const;
    TRect ItemRect(int Index) const;
    int IndexAt(int X, int Y) const;
    ///@}
    /// The first line on show (a row, or a column in vsList), kept so that the
    /// last lines fill the view.
    ///@{
    int GetTopLine() const { return FTopLine; }
    void SetTopLine(int Value);
    ///@}
    /// Scrolls so that entry Index is on show; nothing for no entry.
    void MakeVisible(int Index);
    /// How many entries one line holds (1 in the report).
    int ItemsPerLine() const;
    /// How many whole lines fit the view (at least 1).
    int VisibleLines() const;
    /// The header column under X (report only), or -1.
    int ColumnAt(int X) const;
    /// The view's own scroll bar (sideways in vsList), shown only when the
    /// lines do not fit.
    TScrollBar* GetScrollBar() const { return FScrollBar.get(); }

    /// True while the edit box is open over a caption.
    bool IsEditing() const { return FEditor && FEditor->Editing(); }
    /// Opens the edit box over entry Index's caption when OnEditing allows;
    /// nothing when ReadOnly, disabled or for no entry.
    void StartEdit(int Index);
    /// The edit box, a part of the view.
    TInplaceEdit* GetEditor() const { return FEditor.get(); }

    /// The arrow keys are the view's own; a slow second click's timer opens the
    /// edit box, a double click cancels it.
    void Dispatch(TMessage& Message) override;

    /// In virtual mode, asked to fill an entry: Item arrives empty with Data
    /// holding the entry's index. The item is the view's and valid until the
    /// next call.
    TLVItemEvent OnData;
    /// Fired after the selection changed, by the user or the program, and when
    /// the selected entry was deleted.
    TLVItemEvent OnChange;
    /// Fired when a report column's header is clicked, before the view sorts by
    /// that column (a second click on the same column sorts the other way; not
    /// in virtual mode).
    TLVColumnClickEvent OnColumnClick;
    /// Decides the order when the view sorts; without it, captions and column
    /// texts compare ignoring case.
    TLVCompareEvent OnCompare;
    /// Asked before the edit box opens; it may refuse.
    TLVEditingEvent OnEditing;
    /// Fired when an edit is accepted, before the text becomes the caption; it
    /// may change the text.
    TLVEditedEvent OnEdited;

protected:
    /// A single border is drawn sunken with Ctl3D, plain without.
    void CreateParams(TCreateParams& Params) override;
    /// An image list being freed is dropped.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Draws the header and the entries on show.
    void Paint() override;
    /// Closes an open edit and takes the focus; a left press on a header sorts
    /// by its column, a press on an entry selects it.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Letting go on the caption of the entry that was already selected opens
    /// the edit box after the double-click time.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The arrows, Page Up and Page Down, Home and End move the selection as
    /// the style lays the entries out; F2 opens the edit box.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// The wheel scrolls by three rows (one column in vsList) when no handler
    /// took it.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    /// Keeps the scroll bar and the top line fitting the new size.
    void Resize() override;
    /// A new font changes the lines' size.
    void FontChanged() override;

private:
    // TListItemsView
    void ItemsChanged() override;
    void ItemDeleting(int Index) override;
    void ItemInserted(int Index) override;

    TImageList* ShownImages() const;
    int LineHeight() const;
    /// A cell's size in the style shown.
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
