#include "folio/Folio.h"
#include "folio/FolioRecords.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Registry.h"
#include "framework/core/RegistryText.h"
#include "framework/core/SysUtils.h"

namespace folio {

// The registry layout of a bar's contents below a key path K, with g and i
// counting from 1:
//
//   K                 "Groups"
//   K\Group g         the group's registry fields (FolioRecords.h), "Items"
//   K\Group g\Item i  the item's registry fields
//
// Every level builds its key from the same K, and the registry resolves each
// open from the key opened just before. With K from the root the tree is the
// one above; with a relative K the keys nest one below the other, and a load
// finds them again because it opens them in the order the save did.

namespace {

String GroupKey(const String& Path, int GroupNumber) {
    return Path + "\\Group " + IntToStr(GroupNumber);
}

String ItemKey(const String& Path, int GroupNumber, int ItemNumber) {
    return GroupKey(Path, GroupNumber) + "\\Item " + IntToStr(ItemNumber);
}

// Opens Key or raises. Going on with the key that happens to be open would
// write one group's or item's values into another's key, or read them
// from there.
void OpenLayoutKey(TRegistry& Registry, const String& Key, bool CanCreate) {
    if (Registry.OpenKey(Key, CanCreate)) return;
    String Base = RegistryRootName(Registry.GetRootKey());
    if (!Key.starts_with('\\') && Registry.HasCurrentKey())
        Base += "\\" + Registry.GetCurrentPath();
    throw ERegistryException(Format("The registry key %s does not exist below %s",
                                    QuoteRegName(Key).c_str(), QuoteRegName(Base).c_str()));
}

} // namespace

// ---------------------------------------------------------------------------
// Items

int TFolioItem::RegistryGroupNumber() const {
    return FGroup ? FGroup->GetIndex() + 1 : 0;
}

void TFolioItem::WriteRegistry(TRegistry& Registry, const String& Path, int GroupNumber,
                               int Number) const {
    OpenLayoutKey(Registry, ItemKey(Path, GroupNumber, Number), true);
    fields::Save(Fields(), Registry, *this);
}

void TFolioItem::ReadRegistry(TRegistry& Registry, const String& Path, int GroupNumber,
                              int Number) {
    OpenLayoutKey(Registry, ItemKey(Path, GroupNumber, Number), false);
    fields::Load(Fields(), Registry, *this);
}

void TFolioItem::SaveToRegistry(TRegistry& Registry, const String& Path) const {
    WriteRegistry(Registry, Path, RegistryGroupNumber(), GetIndex() + 1);
}

void TFolioItem::LoadFromRegistry(TRegistry& Registry, const String& Path) {
    TFolioItem Staged(nullptr);
    Staged.ReadRegistry(Registry, Path, RegistryGroupNumber(), GetIndex() + 1);
    Staged.FData = FData; // not stored, so it stays
    Assign(&Staged);
    if (FBar) FBar->Invalidate();
}

void TFolioItems::WriteRegistry(TRegistry& Registry, const String& Path, int GroupNumber) const {
    Registry.WriteInteger("Items", FList.Count());
    for (int I = 0; I < FList.Count(); ++I)
        FList.At(I)->WriteRegistry(Registry, Path, GroupNumber, I + 1);
}

void TFolioItems::ReadRegistry(TRegistry& Registry, const String& Path, int GroupNumber) {
    // A count larger than the stored items fails at the first missing key,
    // so it cannot make the loop allocate without bound.
    const int Count = Registry.ReadInteger("Items");
    for (int I = 0; I < Count; ++I) AppendNew()->ReadRegistry(Registry, Path, GroupNumber, I + 1);
}

void TFolioItems::SaveToRegistry(TRegistry& Registry, const String& Path) const {
    WriteRegistry(Registry, Path, FGroup ? FGroup->GetIndex() + 1 : 0);
}

void TFolioItems::LoadFromRegistry(TRegistry& Registry, const String& Path) {
    TFolioItems Staging(nullptr);
    Staging.ReadRegistry(Registry, Path, FGroup ? FGroup->GetIndex() + 1 : 0);
    TakeLoaded(Staging);
}

// ---------------------------------------------------------------------------
// Groups

void TFolioGroup::WriteRegistry(TRegistry& Registry, const String& Path, int Number) const {
    OpenLayoutKey(Registry, GroupKey(Path, Number), true);
    fields::Save(Fields(), Registry, *this);
    FItems->WriteRegistry(Registry, Path, Number);
}

void TFolioGroup::ReadRegistry(TRegistry& Registry, const String& Path, int Number) {
    OpenLayoutKey(Registry, GroupKey(Path, Number), false);
    fields::Load(Fields(), Registry, *this);
    FItems->ReadRegistry(Registry, Path, Number);
}

void TFolioGroup::SaveToRegistry(TRegistry& Registry, const String& Path) const {
    WriteRegistry(Registry, Path, GetIndex() + 1);
}

void TFolioGroup::LoadFromRegistry(TRegistry& Registry, const String& Path) {
    TFolioGroup Staged(nullptr);
    Staged.ReadRegistry(Registry, Path, GetIndex() + 1);
    // Neither is stored: the staged group's empty picture leaves the
    // group's own, and its Data is set to the group's.
    Staged.FData = FData;
    TakeContents(Staged);
    Changed();
}

void TFolioGroups::SaveToRegistry(TRegistry& Registry, const String& Path) const {
    OpenLayoutKey(Registry, Path, true);
    Registry.WriteInteger("Groups", FList.Count());
    for (int I = 0; I < FList.Count(); ++I) FList.At(I)->WriteRegistry(Registry, Path, I + 1);
}

void TFolioGroups::ReadRegistry(TRegistry& Registry, const String& Path) {
    OpenLayoutKey(Registry, Path, false);
    const int Count = Registry.ReadInteger("Groups");
    for (int I = 0; I < Count; ++I) {
        auto* Group = new TFolioGroup(this);
        FList.Append(Group);
        Group->ReadRegistry(Registry, Path, I + 1);
    }
}

void TFolioGroups::LoadFromRegistry(TRegistry& Registry, const String& Path) {
    // As for a stream: everything is read outside the bar first, and only a
    // complete read replaces the groups (with their deletion events).
    TFolioGroups Staging(nullptr);
    Staging.ReadRegistry(Registry, Path);
    Clear();
    Adopt(Staging);
}

// ---------------------------------------------------------------------------
// The bar

void TFolio::SaveToRegistry(HKEY RootKey, const String& KeyPath) {
    TRegistry Registry(RootKey);
    FGroups->SaveToRegistry(Registry, KeyPath);
    // Closing writes the whole save at once and reports a failure to write.
    Registry.CloseKey();
}

void TFolio::LoadFromRegistry(HKEY RootKey, const String& KeyPath) {
    TRegistry Registry(RootKey);
    FGroups->LoadFromRegistry(Registry, KeyPath);
    Invalidate();
}

} // namespace folio
