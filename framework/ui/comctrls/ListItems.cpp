#include "framework/ui/comctrls/ListItems.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"

#include <algorithm>
#include <climits>

namespace folio {

namespace {

const std::vector<String>& AlignmentNames() {
    static const std::vector<String> Names{"taLeftJustify", "taRightJustify", "taCenter"};
    return Names;
}

} // namespace

// --- columns ---------------------------------------------------------------------------------

const TClassInfo& TListColumn::StaticClassInfo() {
    using C = TListColumn;
    static const TClassInfo Info =
        TClassBuilder<C>("TListColumn", &TCollectionItem::StaticClassInfo())
            .Enum("Alignment", "TAlignment", AlignmentNames(), &C::GetAlignment, &C::SetAlignment,
                  taLeftJustify)
            .Str("Caption", &C::GetCaption, &C::SetCaption)
            .Int("Width", &C::GetWidth, &C::SetWidth, 50)
            .Build();
    return Info;
}

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

void TListColumn::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TListColumn::SetWidth(int Value) {
    Value = std::clamp(Value, 0, 10000);
    if (Value == FWidth) return;
    FWidth = Value;
    Changed(true);
}

void TListColumn::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Changed();
}

// --- items -----------------------------------------------------------------------------------

void TListItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    if (FOwner) FOwner->Changed();
}

void TListItem::SetImageIndex(int Value) {
    Value = std::max(Value, -1);
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    if (FOwner) FOwner->Changed();
}

String TListItem::ColumnText(int Column) const {
    if (Column <= 0) return FCaption;
    return Column - 1 < FSubItems.GetCount() ? FSubItems.GetString(Column - 1) : String();
}

const TClassInfo& TListItems::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TListItems>("TListItems", &TPersistent::StaticClassInfo()).Build();
    return Info;
}

TListItems::TListItems(TListItemsView* View) : FView(View) {}

TListItems::~TListItems() {
    FView = nullptr;
}

void TListItems::Changed() {
    if (FUpdate.Change() && FView) FView->ItemsChanged();
}

TListItem* TListItems::GetItem(int Index) const {
    if (Index < 0 || Index >= GetCount())
        throw EListError(Format("List index out of bounds (%d)", Index));
    return FItems[static_cast<size_t>(Index)].get();
}

TListItem* TListItems::Add() {
    return Insert(GetCount());
}

TListItem* TListItems::Insert(int Index) {
    Index = std::clamp(Index, 0, GetCount());
    auto Item = std::make_unique<TListItem>();
    Item->FOwner = this;
    TListItem* Made = Item.get();
    Item->FSubItems.OnChange = [this](TObject*) { Changed(); };
    FItems.insert(FItems.begin() + Index, std::move(Item));
    if (FView) FView->ItemInserted(Index);
    Changed();
    return Made;
}

void TListItems::Delete(int Index) {
    GetItem(Index);
    if (FView) FView->ItemDeleting(Index);
    FItems.erase(FItems.begin() + Index);
    Changed();
}

void TListItems::Clear() {
    if (FItems.empty()) return;
    if (FView) FView->ItemDeleting(-1);
    FItems.clear();
    Changed();
}

int TListItems::IndexOf(const TListItem* Item) const {
    for (size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I].get() == Item) return static_cast<int>(I);
    return -1;
}

void TListItems::Sort(const std::function<bool(const TListItem&, const TListItem&)>& Less) {
    std::stable_sort(FItems.begin(), FItems.end(),
                     [&](const std::unique_ptr<TListItem>& A, const std::unique_ptr<TListItem>& B) {
                         return Less(*A, *B);
                     });
    Changed();
}

bool TListItems::SameAs(const TListItems& Other) const {
    if (FItems.size() != Other.FItems.size()) return false;
    for (size_t I = 0; I < FItems.size(); ++I) {
        const TListItem& A = *FItems[I];
        const TListItem& B = *Other.FItems[I];
        if (A.FCaption != B.FCaption || A.FImageIndex != B.FImageIndex ||
            A.FSubItems.Items() != B.FSubItems.Items())
            return false;
    }
    return true;
}

void TListItems::Assign(const TPersistent* Source) {
    const auto* From = dynamic_cast<const TListItems*>(Source);
    if (!From) {
        TPersistent::Assign(Source);
        return;
    }
    if (From == this) return;
    BeginUpdate();
    Clear();
    for (const auto& Item : From->FItems) {
        TListItem* Copy = Add();
        Copy->FCaption = Item->FCaption;
        Copy->FImageIndex = Item->FImageIndex;
        Copy->FSubItems.Assign(&Item->FSubItems);
    }
    EndUpdate();
}

// --- forms -----------------------------------------------------------------------------------

void TListItems::DefineProperties(TFiler* Filer) {
    const auto* Ancestor = dynamic_cast<const TListItems*>(Filer->Ancestor());
    Filer->DefineProperty(
        "Entries", [this](TReader& Reader) { ReadEntries(Reader); },
        [this](TWriter& Writer) { WriteEntries(Writer); },
        Ancestor ? !SameAs(*Ancestor) : !FItems.empty());
}

void TListItems::WriteEntries(TWriter& Writer) const {
    Writer.WriteListBegin();
    for (const auto& Item : FItems) {
        Writer.WriteListBegin();
        Writer.WriteString(Item->FCaption);
        Writer.WriteInteger(Item->FImageIndex);
        Item->FSubItems.WriteList(Writer);
        Writer.WriteListEnd();
    }
    Writer.WriteListEnd();
}

void TListItems::ReadEntries(TReader& Reader) {
    // Read aside, handed over whole.
    TListItems Read(nullptr);
    Reader.ReadListBegin();
    while (!Reader.EndOfList()) {
        if (Read.GetCount() >= MaxFormListItems)
            throw EReadError(Format("A list view holds at most %d items", MaxFormListItems));
        Reader.ReadListBegin();
        TListItem* Item = Read.Add();
        Item->FCaption = Reader.ReadString();
        Item->FImageIndex =
            static_cast<int>(std::clamp<long long>(Reader.ReadInteger(), -1, INT_MAX));
        Item->FSubItems.ReadList(Reader);
        Reader.ReadListEnd();
    }
    Reader.ReadListEnd();
    if (SameAs(Read)) return;
    BeginUpdate();
    Clear();
    FItems = std::move(Read.FItems);
    for (auto& Item : FItems) {
        Item->FOwner = this;
        Item->FSubItems.OnChange = [this](TObject*) { Changed(); };
    }
    Changed();
    EndUpdate();
}

} // namespace folio
