#pragma once

#include "framework/core/Object.h"

#include <functional>
#include <vector>

namespace folio {

class TCollection;

// One item of a collection: a persistent object without a name of its own
// (a status bar's panel, a list view's column), made and owned by its
// collection. Its published properties are stored in a form file as the
// item's properties inside the collection property's "< item ... end >".
class TCollectionItem : public TPersistent {
    FOLIO_CLASS(TCollectionItem)
public:
    // Joins Collection at its end (no collection: stands alone).
    explicit TCollectionItem(TCollection* Collection);
    // Leaves its collection.
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    TCollection* GetCollection() const { return FCollection; }
    // The item's position in its collection; -1 alone. Setting moves it.
    int GetIndex() const;
    void SetIndex(int Value);
    // How editors list the item: its class name unless the item knows a
    // better one (a column's caption).
    virtual String GetDisplayName() const;

    // Copies the published properties of an item of the same class (or one
    // descended from it); other sources go to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (AllItems: every item) changed,
    // so that its owner can show it.
    void Changed(bool AllItems = false);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

// An ordered list of items of one class, owned by a persistent object (a
// control) that publishes it as a property:
//
//   class TStatusPanels : public TCollection {
//   public:
//       explicit TStatusPanels(TStatusBar* Bar)
//           : TCollection(Bar, TStatusPanel::StaticClassInfo(), MakeItemOf<TStatusPanel>()) {}
//   protected:
//       void Update(TCollectionItem*) override { Bar->Invalidate(); }
//   };
//
// The owner publishes it with TClassBuilder::Object; its setter calls
// Assign. A form file then stores the items' published properties, and
// reading the form replaces the items by those read.
class TCollection : public TPersistent {
    FOLIO_CLASS(TCollection)
public:
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;

    // MakeItem makes a new item of ItemClass that joins the collection.
    TCollection(TPersistent* Owner, const TClassInfo& ItemClass, TItemFactory MakeItem);
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    template <class TItem>
    static TItemFactory MakeItemOf() {
        return [](TCollection* Collection) -> TCollectionItem* { return new TItem(Collection); };
    }

    int GetCount() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count - 1.
    TCollectionItem* GetItem(int Index) const;
    const TClassInfo& ItemClass() const { return *FItemClass; }

    // A new item at the end, or at Index (0 .. Count).
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    void Delete(int Index);
    void Clear();
    // The first item whose display name is Name, or null.
    TCollectionItem* FindItem(const String& DisplayName) const;

    // Changes between BeginUpdate and EndUpdate are told once, at the end.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();

    // Copies another collection's items (each with Assign) in place of its own.
    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override { return FOwner; }

    // Called after every change (Item: the one item that changed, null for
    // more), once per BeginUpdate / EndUpdate bracket; the owner shows the
    // change here. The base calls OnUpdate.
    std::function<void(TCollection* Sender, TCollectionItem* Item)> OnUpdate;

protected:
    virtual void Update(TCollectionItem* Item);
    void Changed(TCollectionItem* Item = nullptr);

private:
    friend class TCollectionItem;
    void Join(TCollectionItem* Item);
    void Leave(TCollectionItem* Item);
    void CheckIndex(int Index, int Limit) const;

    TPersistent* FOwner;
    const TClassInfo* FItemClass;
    TItemFactory FMakeItem;
    std::vector<TCollectionItem*> FItems;
    int FUpdateCount = 0;
    bool FChangedInUpdate = false;
    bool FClearing = false;
};

// Copies every published property of Source that Dest's class has too:
// ordinal, string, float and component values, and the properties of
// owned persistent objects (fonts, collections) through their Assign.
// Events are left alone.
void AssignPublished(TPersistent& Dest, const TPersistent& Source);

} // namespace folio
