#pragma once

#include "framework/core/Object.h"

#include <functional>
#include <vector>

namespace folio {

class TCollection;

/// One item of a collection: a persistent object without a name of its own
/// (a status bar's panel, a list view's column), made and owned by its
/// collection. Its published properties are stored in a form file as the
/// item's properties inside the collection property's "< item ... end >".
class TCollectionItem : public TPersistent {
    FOLIO_CLASS(TCollectionItem)
public:
    /// Joins Collection at its end, telling it of the change (no collection:
    /// stands alone).
    explicit TCollectionItem(TCollection* Collection);
    /// Leaves its collection, which is told of the change.
    ~TCollectionItem() override;
    TCollectionItem(const TCollectionItem&) = delete;
    TCollectionItem& operator=(const TCollectionItem&) = delete;

    /// The collection the item belongs to; null when it stands alone.
    TCollection* GetCollection() const { return FCollection; }
    ///@{
    /// The item's position in its collection; -1 alone. Setting moves it
    /// (0 to Count - 1, else EListError) and tells the collection.
    int GetIndex() const;
    void SetIndex(int Value);
    ///@}
    /// How editors list the item: its class name unless the item knows a
    /// better one (a column's caption).
    virtual String GetDisplayName() const;

    /// Copies the published properties of an item of the same class (or one
    /// descended from it); other sources go to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;
    /// The item's collection.
    TPersistent* GetOwner() const override;

protected:
    /// Tells the collection that this item (AllItems: every item) changed,
    /// so that its owner can show it.
    void Changed(bool AllItems = false);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
};

/// An ordered list of items of one class, owned by a persistent object (a
/// control) that publishes it as a property:
///
/// \code
///   class TStatusPanels : public TCollection {
///   public:
///       explicit TStatusPanels(TStatusBar* Bar)
///           : TCollection(Bar, TStatusPanel::StaticClassInfo(), MakeItemOf<TStatusPanel>()) {}
///   protected:
///       void Update(TCollectionItem*) override { Bar->Invalidate(); }
///   };
/// \endcode
///
/// The owner publishes it with TClassBuilder::Object; its setter calls
/// Assign. A form file then stores the items' published properties, and
/// reading the form replaces the items by those read.
class TCollection : public TPersistent {
    FOLIO_CLASS(TCollection)
public:
    /// Makes a new item that joins the collection given.
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;

    /// An empty collection of Owner. MakeItem makes a new item of ItemClass
    /// that joins the collection.
    TCollection(TPersistent* Owner, const TClassInfo& ItemClass, TItemFactory MakeItem);
    /// Frees the items, telling nobody.
    ~TCollection() override;
    TCollection(const TCollection&) = delete;
    TCollection& operator=(const TCollection&) = delete;

    /// The factory of items of class TItem (constructed with the collection).
    template <class TItem>
    static TItemFactory MakeItemOf() {
        return [](TCollection* Collection) -> TCollectionItem* { return new TItem(Collection); };
    }

    /// How many items the collection holds.
    int GetCount() const { return static_cast<int>(FItems.size()); }
    /// The item at Index; raises EListError outside 0 to Count - 1.
    TCollectionItem* GetItem(int Index) const;
    /// The class of the collection's items.
    const TClassInfo& ItemClass() const { return *FItemClass; }

    ///@{
    /// A new item at the end, or at Index (0 to Count, else EListError); the
    /// owner is told once. Raises EInvalidOperation when the collection has
    /// no factory or the new item did not join it, EInvalidCast when it is
    /// not of ItemClass.
    TCollectionItem* Add();
    TCollectionItem* Insert(int Index);
    ///@}
    /// Frees the item at Index (0 to Count - 1, else EListError).
    void Delete(int Index);
    /// Frees every item, telling the owner once.
    void Clear();
    /// The first item whose GetDisplayName is DisplayName (exact case), or null.
    TCollectionItem* FindItem(const String& DisplayName) const;

    ///@{
    /// Changes between BeginUpdate and EndUpdate are told once, at the end;
    /// brackets nest.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    ///@}

    /// Copies another collection's items (each with Assign) in place of its
    /// own; the owner is told once. Another kind of Source goes to
    /// TPersistent::Assign.
    void Assign(const TPersistent* Source) override;
    /// The persistent object that publishes the collection.
    TPersistent* GetOwner() const override { return FOwner; }

    /// Fired after every change (Item: the one item that changed, null for
    /// more), once per BeginUpdate / EndUpdate bracket, by the base Update;
    /// the owner can show the change here.
    std::function<void(TCollection* Sender, TCollectionItem* Item)> OnUpdate;

protected:
    /// Shows a change: Item is the one item that changed, null for more. The
    /// base fires OnUpdate; an owner's collection overrides it to repaint.
    virtual void Update(TCollectionItem* Item);
    /// Reports a change: Update at once, or once at EndUpdate inside a bracket.
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

/// Copies every published property of Source that Dest's class has too:
/// ordinal, string, float and component values, and the properties of
/// owned persistent objects (fonts, collections) through their Assign.
/// Events are left alone.
void AssignPublished(TPersistent& Dest, const TPersistent& Source);

} // namespace folio
