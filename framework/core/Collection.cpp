#include "framework/core/Collection.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <iterator>

namespace folio {

FOLIO_DEFINE_CLASS(TCollectionItem, TPersistent)
FOLIO_DEFINE_CLASS(TCollection, TPersistent)

// --- items --------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* Collection) {
    if (Collection) Collection->Join(this);
}

TCollectionItem::~TCollectionItem() {
    if (FCollection) FCollection->Leave(this);
}

int TCollectionItem::GetIndex() const {
    if (!FCollection) return -1;
    const auto& Items = FCollection->FItems;
    return static_cast<int>(std::find(Items.begin(), Items.end(), this) - Items.begin());
}

void TCollectionItem::SetIndex(int Value) {
    const int Current = GetIndex();
    if (Current < 0 || Value == Current) return;
    FCollection->CheckIndex(Value, FCollection->GetCount() - 1);
    auto& Items = FCollection->FItems;
    Items.erase(Items.begin() + Current);
    Items.insert(Items.begin() + Value, this);
    FCollection->Changed();
}

String TCollectionItem::GetDisplayName() const {
    return ClassName();
}

void TCollectionItem::Assign(const TPersistent* Source) {
    if (Source && Source->InheritsFrom(ClassInfo())) {
        AssignPublished(*this, *Source);
        return;
    }
    TPersistent::Assign(Source);
}

TPersistent* TCollectionItem::GetOwner() const {
    return FCollection;
}

void TCollectionItem::Changed(bool AllItems) {
    if (FCollection) FCollection->Changed(AllItems ? nullptr : this);
}

// --- the collection -----------------------------------------------------------------

TCollection::TCollection(TPersistent* Owner, const TClassInfo& ItemClass, TItemFactory MakeItem)
    : FOwner(Owner), FItemClass(&ItemClass), FMakeItem(std::move(MakeItem)) {}

TCollection::~TCollection() {
    FUpdateCount = 1; // the owner is going: nobody is told
    FClearing = true;
    while (!FItems.empty()) delete FItems.back();
}

void TCollection::CheckIndex(int Index, int Limit) const {
    if (Index < 0 || Index > Limit)
        throw EListError(Format("List index out of bounds (%d)", Index));
}

TCollectionItem* TCollection::GetItem(int Index) const {
    CheckIndex(Index, GetCount() - 1);
    return FItems[static_cast<std::size_t>(Index)];
}

TCollectionItem* TCollection::Add() {
    return Insert(GetCount());
}

TCollectionItem* TCollection::Insert(int Index) {
    CheckIndex(Index, GetCount());
    if (!FMakeItem) throw EInvalidOperation("The collection cannot make items");
    BeginUpdate();
    TCollectionItem* Item = nullptr;
    try {
        Item = FMakeItem(this);
        if (!Item || Item->FCollection != this)
            throw EInvalidOperation("A collection's new item did not join it");
        if (!Item->InheritsFrom(*FItemClass))
            throw EInvalidCast("A collection of " + FItemClass->Name + " made a " +
                               Item->ClassName());
    } catch (...) {
        delete Item;
        --FUpdateCount;
        throw;
    }
    // A new item joins at the end; looking for its place there would make
    // reading a long collection take time that grows with its square.
    if (Index != GetCount() - 1) Item->SetIndex(Index);
    EndUpdate();
    return Item;
}

void TCollection::Delete(int Index) {
    delete GetItem(Index);
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    FClearing = true;
    while (!FItems.empty()) delete FItems.back();
    FClearing = false;
    Changed();
    EndUpdate();
}

TCollectionItem* TCollection::FindItem(const String& DisplayName) const {
    for (TCollectionItem* Item : FItems)
        if (Item->GetDisplayName() == DisplayName) return Item;
    return nullptr;
}

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedInUpdate) {
        FChangedInUpdate = false;
        Update(nullptr);
    }
}

void TCollection::Assign(const TPersistent* Source) {
    const auto* Other = dynamic_cast<const TCollection*>(Source);
    if (!Other) {
        TPersistent::Assign(Source);
        return;
    }
    if (Other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* Item : Other->FItems) Add()->Assign(Item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    Changed();
    EndUpdate();
}

void TCollection::Update(TCollectionItem* Item) {
    if (OnUpdate) OnUpdate(this, Item);
}

void TCollection::Changed(TCollectionItem* Item) {
    if (FUpdateCount > 0) {
        FChangedInUpdate = true;
        return;
    }
    Update(Item);
}

void TCollection::Join(TCollectionItem* Item) {
    Item->FCollection = this;
    FItems.push_back(Item);
    Changed();
}

void TCollection::Leave(TCollectionItem* Item) {
    // Clearing frees the items from the last, so the search starts there.
    auto It = std::find(FItems.rbegin(), FItems.rend(), Item);
    if (It != FItems.rend()) FItems.erase(std::next(It).base());
    Item->FCollection = nullptr;
    if (!FClearing) Changed();
}

// --- copying published properties ------------------------------------------------------

void AssignPublished(TPersistent& Dest, const TPersistent& Source) {
    for (const TPropInfo* Prop : Dest.ClassInfo().PublishedProperties()) {
        const TPropInfo* From = Source.ClassInfo().FindProperty(Prop->Name);
        if (!From || From->Kind != Prop->Kind) continue;
        if (Prop->IsOrdinal()) {
            if (Prop->SetOrd && From->GetOrd) Prop->SetOrd(Dest, From->GetOrd(Source));
            continue;
        }
        switch (Prop->Kind) {
        case TTypeKind::tkString:
            if (Prop->SetStr && From->GetStr) Prop->SetStr(Dest, From->GetStr(Source));
            break;
        case TTypeKind::tkFloat:
            if (Prop->SetFloat && From->GetFloat) Prop->SetFloat(Dest, From->GetFloat(Source));
            break;
        case TTypeKind::tkComponent:
            if (Prop->SetObj && From->GetObj) Prop->SetObj(Dest, From->GetObj(Source));
            break;
        case TTypeKind::tkClass: {
            if (!Prop->GetObj || !From->GetObj) break;
            auto* To = dynamic_cast<TPersistent*>(Prop->GetObj(Dest));
            auto* What = dynamic_cast<TPersistent*>(From->GetObj(Source));
            if (To && What && To != What) To->Assign(What);
            break;
        }
        default:
            break;
        }
    }
}

} // namespace folio
