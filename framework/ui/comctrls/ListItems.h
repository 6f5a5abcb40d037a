#pragma once

#include "framework/core/Collection.h"
#include "framework/core/StringList.h"
#include "framework/ui/comctrls/UpdateBracket.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

#include <functional>
#include <memory>
#include <vector>

namespace folio {

class TReader;
class TWriter;

/// A column of a list view's report: its header caption, width in pixels
/// and the alignment of its texts.
class TListColumn : public TCollectionItem {
    FOLIO_CLASS(TListColumn)
public:
    /// A column 50 pixels wide with no caption, left-justified, at the end of
    /// Collection.
    explicit TListColumn(TCollection* Collection);

    /// The header's caption; empty by default.
    ///@{
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    ///@}
    /// The column's width in pixels, kept from 0 to 10,000; 50 by default.
    ///@{
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    ///@}
    /// Where the column's texts stand; taLeftJustify by default.
    ///@{
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    ///@}
    /// The column's caption.
    String GetDisplayName() const override { return FCaption; }

private:
    String FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

/// The columns of a list view's report, left to right.
class TListColumns : public TCollection {
public:
    /// No columns yet; Owner is the list view.
    explicit TListColumns(TPersistent* Owner)
        : TCollection(Owner, TListColumn::StaticClassInfo(), MakeItemOf<TListColumn>()) {}
    /// Adds a column at the right end.
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    /// Column Index, from 0; raises EListError outside the columns.
    TListColumn* GetColumn(int Index) const { return static_cast<TListColumn*>(GetItem(Index)); }
};

/// One entry of a list view: a caption, a picture and the texts of the
/// report's further columns.
class TListItem {
public:
    /// The entry's text; empty by default. A change repaints the view.
    ///@{
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    ///@}
    /// The picture in the view's image lists; -1 (the default, and anything
    /// below it) shows none.
    ///@{
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    ///@}
    /// The texts of the report's second and further columns; changing them
    /// repaints the view.
    ///@{
    TStrings* GetSubItems() { return &FSubItems; }
    const TStrings* GetSubItems() const { return &FSubItems; }
    ///@}
    /// The text of report column Column (0: the caption).
    String ColumnText(int Column) const;

    /// Anything the program keeps with the entry; never read, stored or copied
    /// by the list.
    void* Data = nullptr;

private:
    friend class TListItems;
    class TListItems* FOwner = nullptr;
    String FCaption;
    int FImageIndex = -1;
    TStringList FSubItems;
};

/// What the items tell the view that shows them.
class TListItemsView {
public:
    /// A view is not owned by the items.
    virtual ~TListItemsView() = default;
    /// Something about the items changed (when no update bracket is open).
    virtual void ItemsChanged() = 0;
    /// Index is about to go (-1: all).
    virtual void ItemDeleting(int Index) = 0;
    /// An item was inserted at Index.
    virtual void ItemInserted(int Index) = 0;
};

/// The entries of a list view in order. A form stores them as the list
/// "Entries" of one list per item: (caption image-index (sub-items...)).
/// Reading refuses more than MaxFormListItems items with the form's line
/// and replaces the items only when the whole list was read.
class TListItems : public TPersistent {
    FOLIO_CLASS(TListItems)
public:
    /// The most entries a form may store for one list.
    static constexpr int MaxFormListItems = 1000000;

    /// No entries yet, telling View (may be null) of changes.
    explicit TListItems(TListItemsView* View = nullptr);
    /// Frees the entries without telling the view.
    ~TListItems() override;

    /// How many entries there are.
    int GetCount() const { return static_cast<int>(FItems.size()); }
    /// Entry Index, from 0; raises EListError outside the entries.
    TListItem* GetItem(int Index) const;
    /// Adds an empty entry at the end.
    TListItem* Add();
    /// Inserts an empty entry at Index (clamped to the range 0 to Count).
    TListItem* Insert(int Index);
    /// Frees entry Index; raises EListError outside the entries.
    void Delete(int Index);
    /// Frees every entry.
    void Clear();
    /// The place of Item, or -1 when it is not one of these entries.
    int IndexOf(const TListItem* Item) const;
    /// Sorts by Less, keeping equal items in their order.
    void Sort(const std::function<bool(const TListItem&, const TListItem&)>& Less);

    /// Brackets changes that the view hears of once, when the last bracket
    /// closes; brackets nest.
    ///@{
    void BeginUpdate() { FUpdate.Begin(); }
    void EndUpdate() {
        if (FUpdate.End()) Changed();
    }
    ///@}
    /// True while an update bracket is open.
    bool Updating() const { return FUpdate.Open(); }

    /// Copies the captions, pictures and sub-items of other list items (not
    /// Data), as one change.
    void Assign(const TPersistent* Source) override;
    /// Stores the entries as "Entries" when they differ from the ancestor's
    /// (or, without one, when there are any).
    void DefineProperties(TFiler* Filer) override;

private:
    friend class TListItem;
    void Changed();
    void WriteEntries(TWriter& Writer) const;
    void ReadEntries(TReader& Reader);
    bool SameAs(const TListItems& Other) const;

    TListItemsView* FView;
    std::vector<std::unique_ptr<TListItem>> FItems;
    TUpdateBracket FUpdate;
};

} // namespace folio
