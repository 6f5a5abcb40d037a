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

// A column of a list view's report: its header caption, width in pixels
// and the alignment of its texts.
class TListColumn : public TCollectionItem {
    FOLIO_CLASS(TListColumn)
public:
    explicit TListColumn(TCollection* Collection);

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    int GetWidth() const { return FWidth; }
    // Kept from 0 to 10,000 pixels.
    void SetWidth(int Value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    String GetDisplayName() const override { return FCaption; }

private:
    String FCaption;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TListColumns : public TCollection {
public:
    explicit TListColumns(TPersistent* Owner)
        : TCollection(Owner, TListColumn::StaticClassInfo(), MakeItemOf<TListColumn>()) {}
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* GetColumn(int Index) const { return static_cast<TListColumn*>(GetItem(Index)); }
};

// One entry of a list view: a caption, a picture and the texts of the
// report's further columns.
class TListItem {
public:
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    int GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    TStrings* GetSubItems() { return &FSubItems; }
    const TStrings* GetSubItems() const { return &FSubItems; }
    // The text of report column Column (0: the caption).
    String ColumnText(int Column) const;

    void* Data = nullptr;

private:
    friend class TListItems;
    class TListItems* FOwner = nullptr;
    String FCaption;
    int FImageIndex = -1;
    TStringList FSubItems;
};

// What the items tell the view that shows them.
class TListItemsView {
public:
    virtual ~TListItemsView() = default;
    virtual void ItemsChanged() = 0;
    // Index is about to go (-1: all).
    virtual void ItemDeleting(int Index) = 0;
    virtual void ItemInserted(int Index) = 0;
};

// The entries of a list view in order. A form stores them as the list
// "Entries" of one list per item: (caption image-index (sub-items...)).
// Reading refuses more than MaxFormListItems items with the form's line
// and replaces the items only when the whole list was read.
class TListItems : public TPersistent {
    FOLIO_CLASS(TListItems)
public:
    static constexpr int MaxFormListItems = 1000000;

    explicit TListItems(TListItemsView* View = nullptr);
    ~TListItems() override;

    int GetCount() const { return static_cast<int>(FItems.size()); }
    TListItem* GetItem(int Index) const;
    TListItem* Add();
    TListItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    int IndexOf(const TListItem* Item) const;
    // Sorts by Less, keeping equal items in their order.
    void Sort(const std::function<bool(const TListItem&, const TListItem&)>& Less);

    void BeginUpdate() { FUpdate.Begin(); }
    void EndUpdate() {
        if (FUpdate.End()) Changed();
    }
    bool Updating() const { return FUpdate.Open(); }

    void Assign(const TPersistent* Source) override;
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
