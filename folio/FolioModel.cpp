#include "folio/Folio.h"
#include "folio/FolioRecords.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/DragDrop.h"

#include <algorithm>

namespace folio {

namespace {

// Tells a screen reader that a group's items changed, while the bar lives.
void TellItemsChanged(TFolio* Bar, TFolioGroup* Group) {
    if (Bar && Group && !Bar->IsDestroying())
        NotifyAccessible(Bar, Group, TAccEvent::ChildrenChanged);
}

void TellRenamed(TFolio* Bar, const void* Key) {
    if (Bar && !Bar->IsDestroying()) NotifyAccessible(Bar, Key, TAccEvent::NameChanged);
}

} // namespace

namespace {

[[noreturn]] void IndexOutOfRange() {
    throw Exception("Index out of range");
}

[[noreturn]] void InsertIndexError(int Index, int Count) {
    throw EListError(
        Format("List index out of bounds (%d): insert positions run from 0 to %d", Index, Count));
}

} // namespace

// ---------------------------------------------------------------------------
// What both collections share

template <class TRecord>
int TFolioCollection<TRecord>::IndexOf(const TRecord* Record) const {
    if (!Record) return -1;
    const int Index = FList.IndexOf(Record);
    return Index >= 0 && Index < FList.Count() && FList.At(Index) == Record ? Index : -1;
}

template <class TRecord>
TRecord* TFolioCollection<TRecord>::At(int Index) const {
    if (Index < 0 || Index >= FList.Count()) IndexOutOfRange();
    return FList.At(Index);
}

template <class TRecord>
void TFolioCollection<TRecord>::CheckInsertPosition(int Index) const {
    if (Index < 0 || Index > FList.Count()) InsertIndexError(Index, FList.Count());
}

template <class TRecord>
void TFolioCollection<TRecord>::Clear() {
    while (!FList.Empty()) delete FList.First();
}

template <class TRecord>
void TFolioCollection<TRecord>::BeginUpdate() {
    if (FBar) FBar->BeginUpdate();
}

template <class TRecord>
void TFolioCollection<TRecord>::EndUpdate() {
    if (FBar) FBar->EndUpdate();
}

template class TFolioCollection<TFolioItem>;
template class TFolioCollection<TFolioGroup>;

// ---------------------------------------------------------------------------
// TFolioItem

FOLIO_DEFINE_CLASS(TFolioItem, TPersistent)

TFolioItem::TFolioItem(TFolioItems* AItems) {
    Bind(AItems);
}

TFolioItem::~TFolioItem() {
    if (FItems) FItems->FList.Remove(this);
    // A drag carrying this item ends here, before the deletion event.
    if (Application->GetDragManager().DragObject()) TFolioDragItem::ItemDestroyed(this);
    if (FBar) {
        FBar->DeleteItem(this);
        if (FGroup) FGroup->SetStartItem(FGroup->GetStartItem());
        FBar->Invalidate();
        TellItemsChanged(FBar, FGroup);
    }
}

void TFolioItem::Bind(TFolioItems* AItems) {
    FItems = AItems;
    FBar = AItems ? AItems->GetBar() : nullptr;
    FGroups = AItems ? AItems->GetGroups() : nullptr;
    FGroup = AItems ? AItems->GetGroup() : nullptr;
}

int TFolioItem::GetIndex() const {
    return FItems ? FItems->FList.IndexOf(this) : -1;
}

void TFolioItem::Delete() {
    delete this;
}

void TFolioItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    if (FGroup && FBar && FGroup->GetVisible()) FBar->Invalidate();
    TellRenamed(FBar, this);
}

void TFolioItem::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    if (FBar) FBar->Invalidate();
}

void TFolioItem::SetOverImageIndex(int Value) {
    if (Value == FOverImageIndex) return;
    FOverImageIndex = Value;
    if (FBar) FBar->Invalidate();
}

void TFolioItem::MoveTo(TFolioItem* Target, bool Before) {
    if (!Target || Target == this || !Target->FItems) return;
    if (FBar && FBar != Target->FItems->FBar) FBar->ForgetItem(this);
    if (FItems) {
        FItems->FList.Remove(this);
        FItems->ItemRemoved();
        TellItemsChanged(FBar, FGroup);
    }
    // Target's index is taken after the removal, so moving an item down past
    // Target within one collection lands it directly after Target.
    const int Position = Target->GetIndex() + (Before ? 0 : 1);
    Target->FItems->FList.Insert(Position, this);
    Bind(Target->FItems);
    if (FBar) FBar->Invalidate();
    TellItemsChanged(FBar, FGroup);
}

void TFolioItem::Edit() {
    if (FBar) FBar->EditItem(this);
}

void TFolioItem::EndEdit(bool Cancel) {
    if (FBar && FBar->GetEditedItem() == this) FBar->HideEditor(!Cancel);
}

bool TFolioItem::GetEdited() const {
    return FBar && FBar->GetEditedItem() == this;
}

bool TFolioItem::IsEqual(const TFolioItem* Item) const {
    return Item && fields::Equal(Fields(), *this, *Item, fuCompare);
}

void TFolioItem::Assign(const TPersistent* Source) {
    const auto* Item = dynamic_cast<const TFolioItem*>(Source);
    if (!Item) {
        TPersistent::Assign(Source);
        return;
    }
    fields::Copy(Fields(), *this, *Item);
}

// ---------------------------------------------------------------------------
// TFolioItems

FOLIO_DEFINE_CLASS(TFolioItems, TPersistent)

TFolioItems::TFolioItems(TFolioGroup* AGroup) : TFolioCollection(nullptr) {
    Rebind(AGroup);
}

TFolioItems::~TFolioItems() {
    Clear();
}

void TFolioItems::Rebind(TFolioGroup* AGroup) {
    FGroup = AGroup;
    FGroups = AGroup ? AGroup->GetGroups() : nullptr;
    FBar = AGroup ? AGroup->GetBar() : nullptr;
    for (int I = 0; I < FList.Count(); ++I) FList.At(I)->Bind(this);
}

void TFolioItems::SetItem(int Index, const TFolioItem* Item) {
    GetItem(Index)->Assign(Item);
}

TFolioItem* TFolioItems::Add(const String& Caption, int ImageIndex) {
    return AddObject(Caption, ImageIndex, nullptr);
}

TFolioItem* TFolioItems::AppendNew() {
    auto* Item = new TFolioItem(this);
    FList.Append(Item);
    TellItemsChanged(FBar, FGroup);
    return Item;
}

TFolioItem* TFolioItems::AddObject(const String& Caption, int ImageIndex, void* Data) {
    TFolioItem* Item = AppendNew();
    Item->FCaption = Caption;
    Item->FImageIndex = ImageIndex;
    Item->FData = Data;
    if (FGroup && FBar && FGroup->GetVisible()) FBar->Invalidate();
    return Item;
}

TFolioItem* TFolioItems::Insert(int Index, const String& Caption, int ImageIndex) {
    return InsertObject(Index, Caption, ImageIndex, nullptr);
}

TFolioItem* TFolioItems::InsertObject(int Index, const String& Caption, int ImageIndex,
                                      void* Data) {
    CheckInsertPosition(Index);
    auto* Item = new TFolioItem(this);
    FList.Insert(Index, Item);
    Item->FCaption = Caption;
    Item->FImageIndex = ImageIndex;
    Item->FData = Data;
    if (FGroup && FBar && FGroup->GetVisible()) FBar->Invalidate();
    TellItemsChanged(FBar, FGroup);
    return Item;
}

void TFolioItems::ItemRemoved() {
    if (FGroup) FGroup->SetStartItem(FGroup->GetStartItem());
    if (FBar) FBar->Invalidate();
}

void TFolioItems::Move(TFolioItem* Item, int NewIndex) {
    if (!Item || NewIndex < 0) return;
    if (Item->FBar && Item->FBar != FBar) Item->FBar->ForgetItem(Item);
    if (Item->FItems) {
        Item->FItems->FList.Remove(Item);
        Item->FItems->ItemRemoved();
        TellItemsChanged(Item->FBar, Item->FGroup);
    }
    if (NewIndex < FList.Count())
        FList.Insert(NewIndex, Item);
    else
        FList.Append(Item);
    Item->Bind(this);
    if (FBar) FBar->Invalidate();
    TellItemsChanged(FBar, FGroup);
}

bool TFolioItems::Equals(const TFolioItems* Items) const {
    if (!Items || Items->GetCount() != GetCount()) return false;
    for (int I = 0; I < GetCount(); ++I)
        if (!FList.At(I)->IsEqual(Items->FList.At(I))) return false;
    return true;
}

void TFolioItems::Adopt(TFolioItems& Staging) {
    while (!Staging.FList.Empty()) {
        TFolioItem* Item = Staging.FList.TakeFirst();
        FList.Append(Item);
        Item->Bind(this);
    }
}

void TFolioItems::TakeLoaded(TFolioItems& Staging) {
    Clear();
    Adopt(Staging);
    if (FGroup && FBar && FGroup->GetVisible()) FBar->Invalidate();
}

// ---------------------------------------------------------------------------
// TFolioGroup

const TClassInfo& TFolioGroup::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TFolioGroup>("TFolioGroup", &TPersistent::StaticClassInfo())
            .Str("Caption", &TFolioGroup::GetCaption, &TFolioGroup::SetCaption)
            .Enum("Style", "TFolGroupBackgroungStyle", {"gbColor", "gbBitmap", "gbGradient"},
                  &TFolioGroup::GetStyle, &TFolioGroup::SetStyle)
            .Color("Color", &TFolioGroup::GetColor, &TFolioGroup::SetColor)
            .Color("StartColor", &TFolioGroup::GetStartColor, &TFolioGroup::SetStartColor)
            .Color("EndColor", &TFolioGroup::GetEndColor, &TFolioGroup::SetEndColor)
            .Object("Bitmap", &TFolioGroup::GetBitmap, &TFolioGroup::SetBitmap)
            .Color("CaptionColor", &TFolioGroup::GetCaptionColor, &TFolioGroup::SetCaptionColor)
            .Int("Tag", &TFolioGroup::GetTag, &TFolioGroup::SetTag)
            .Enum("ImageSize", "TFolImageSize", {"isSmall", "isLarge"}, &TFolioGroup::GetImageSize,
                  &TFolioGroup::SetImageSize, std::optional<TFolImageSize>(isLarge))
            .Build();
    return Info;
}

TFolioGroup::TFolioGroup(TFolioGroups* AGroups)
    : FGroups(AGroups), FBar(AGroups ? AGroups->GetBar() : nullptr),
      FBitmap(std::make_unique<TBitmap>()) {
    FItems = std::make_unique<TFolioItems>(this);
}

TFolioGroup::~TFolioGroup() {
    // The open group is corrected while this group still holds its place.
    if (FBar && FGroups) FBar->GroupRemoving(GetIndex());
    // Items are cleared while FItems is still set: each deletion re-clamps
    // this group's scroll position, which reads the item count.
    FItems->Clear();
    FItems.reset();
    if (FGroups) FGroups->FList.Remove(this);
    if (FBar) {
        FBar->DeleteGroup(this);
        FBar->Invalidate();
    }
}

void TFolioGroup::Rebind(TFolioGroups* AGroups) {
    FGroups = AGroups;
    FBar = AGroups ? AGroups->GetBar() : nullptr;
    FItems->Rebind(this);
}

void TFolioGroup::Changed() const {
    if (FBar) FBar->Invalidate();
}

int TFolioGroup::GetIndex() const {
    return FGroups ? FGroups->FList.IndexOf(this) : -1;
}

void TFolioGroup::Delete() {
    delete this;
}

bool TFolioGroup::GetVisible() const {
    return FBar && GetIndex() == FBar->GetVisibleGroup();
}

void TFolioGroup::SetVisible(bool Value) {
    if (Value && FBar) FBar->SetVisibleGroup(GetIndex());
}

TPersistent* TFolioGroup::GetOwner() const {
    return FBar;
}

String TFolioGroup::GetNamePath() const {
    if (!FBar) return String();
    return FBar->GetName() + ".Groups[" + IntToStr(GetIndex()) + "]";
}

void TFolioGroup::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
    TellRenamed(FBar, this);
}

void TFolioGroup::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    if (FStyle == gbColor && GetVisible()) Changed();
}

void TFolioGroup::SetStartColor(TColor Value) {
    if (Value == FStartColor) return;
    FStartColor = Value;
    if (FStyle == gbGradient && GetVisible()) Changed();
}

void TFolioGroup::SetEndColor(TColor Value) {
    if (Value == FEndColor) return;
    FEndColor = Value;
    if (FStyle == gbGradient && GetVisible()) Changed();
}

void TFolioGroup::SetBitmap(TBitmap* Value) {
    FBitmap->Assign(Value);
    if (FStyle == gbBitmap && GetVisible()) Changed();
}

void TFolioGroup::SetStyle(TFolGroupBackgroungStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    if (GetVisible()) Changed();
}

void TFolioGroup::SetCaptionColor(TColor Value) {
    if (Value == FCaptionColor) return;
    FCaptionColor = Value;
    Changed();
}

void TFolioGroup::SetImageSize(TFolImageSize Value) {
    if (Value == FImageSize) return;
    FImageSize = Value;
    if (GetVisible()) Changed();
}

void TFolioGroup::SetItems(TFolioItems* Value) {
    FItems->Assign(Value);
}

void TFolioGroup::SetStartItem(int Value) {
    // 64-bit arithmetic: Value may be anything an application passes.
    const std::int64_t Count = FItems ? FItems->GetCount() : 0;
    const std::int64_t Slots = GetVisibleItems();
    std::int64_t V = Value;
    if (Count < V + Slots) V = Count - Slots;
    if (V > Count - 1) V = Count - 1;
    if (V < 0) V = 0;
    if (V == FStartItem) return;
    FStartItem = static_cast<int>(V);
    if (GetVisible()) Changed();
}

void TFolioGroup::ClickPrevButton() {
    ScrollByButton(-1, FBar ? FBar->OnPrevButtonClick : nullptr);
}

void TFolioGroup::ClickNextButton() {
    ScrollByButton(+1, FBar ? FBar->OnNextButtonClick : nullptr);
}

void TFolioGroup::ScrollByButton(int Step, TFolGroupButtonEvent Handler) {
    if (!FBar) return;
    int V = FStartItem + Step;
    if (Handler) {
        // The handler may delete this group; the bar outlives it, so the bar's
        // collection tells whether this object may still be touched.
        TFolio* Bar = FBar;
        Handler(Bar, this, V);
        const TFolioGroups* Groups = Bar->GetGroups();
        bool Alive = false;
        for (int I = 0; I < Groups->GetCount() && !Alive; ++I) Alive = Groups->GetGroup(I) == this;
        if (!Alive) return;
    }
    SetStartItem(V);
}

void TFolioGroup::Edit() {
    if (FBar) FBar->EditGroup(this);
}

void TFolioGroup::EndEdit(bool Cancel) {
    if (FBar && FBar->GetEditedGroup() == this) FBar->HideEditor(!Cancel);
}

bool TFolioGroup::IsEqual(const TFolioGroup* Group) const {
    return Group && fields::Equal(Fields(), *this, *Group, fuCompare) &&
           FItems->Equals(Group->FItems.get());
}

void TFolioGroup::Assign(const TPersistent* Source) {
    const auto* Group = dynamic_cast<const TFolioGroup*>(Source);
    if (!Group) {
        TPersistent::Assign(Source);
        return;
    }
    if (Group == this) return;
    fields::Copy(Fields(), *this, *Group);
    FItems->Assign(Group->FItems.get());
}

// ---------------------------------------------------------------------------
// TFolioGroups

FOLIO_DEFINE_CLASS(TFolioGroups, TPersistent)

TFolioGroups::TFolioGroups(TFolio* ABar) : TFolioCollection(ABar) {}

TFolioGroups::~TFolioGroups() {
    Clear();
}

void TFolioGroups::SetGroup(int Index, const TFolioGroup* Group) {
    GetGroup(Index)->Assign(Group);
}

TFolioGroup* TFolioGroups::Add(const String& Caption) {
    return AddObject(Caption, nullptr);
}

TFolioGroup* TFolioGroups::Append(TFolioGroup* Group) {
    FList.Append(Group);
    if (FBar) FBar->GroupAdded();
    return Group;
}

TFolioGroup* TFolioGroups::AddObject(const String& Caption, void* Data) {
    auto* Group = new TFolioGroup(this);
    Group->FCaption = Caption;
    Group->FData = Data;
    return Append(Group);
}

TFolioGroup* TFolioGroups::Insert(int Index, const String& Caption) {
    return InsertObject(Index, Caption, nullptr);
}

TFolioGroup* TFolioGroups::InsertObject(int Index, const String& Caption, void* Data) {
    CheckInsertPosition(Index);
    auto* Group = new TFolioGroup(this);
    FList.Insert(Index, Group);
    Group->FCaption = Caption;
    Group->FData = Data;
    Group->SetVisible(true);
    return Group;
}

void TFolioGroups::Adopt(TFolioGroups& Staging) {
    while (!Staging.FList.Empty()) {
        TFolioGroup* Group = Staging.FList.TakeFirst();
        Group->Rebind(this);
        Append(Group);
    }
}

void TFolioGroups::Paint(TCanvas* Canvas) {
    for (int I = 0; I < FList.Count(); ++I) FList.At(I)->Paint(Canvas);
}

} // namespace folio
