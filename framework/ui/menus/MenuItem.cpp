#include "framework/ui/menus/MenuItem.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/Menu.h"

#include <algorithm>

namespace folio {

TShortCut ShortCut(unsigned short Key, TShiftState Shift) {
    TShortCut Result = Key & 0xFF;
    if (Shift.Contains(ssShift)) Result |= scShift;
    if (Shift.Contains(ssCtrl)) Result |= scCtrl;
    if (Shift.Contains(ssAlt)) Result |= scAlt;
    return Result;
}

String ShortCutToText(TShortCut Value) {
    const unsigned Key = Value & 0xFF;
    if (Key == 0) return String();
    String Name;
    if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9'))
        Name = String(1, static_cast<char>(Key));
    else if (Key >= VK_F1 && Key <= VK_F12)
        Name = "F" + IntToStr(Key - VK_F1 + 1);
    else {
        switch (Key) {
        case VK_BACK:
            Name = "BkSp";
            break;
        case VK_TAB:
            Name = "Tab";
            break;
        case VK_RETURN:
            Name = "Enter";
            break;
        case VK_ESCAPE:
            Name = "Esc";
            break;
        case VK_SPACE:
            Name = "Space";
            break;
        case VK_PRIOR:
            Name = "PgUp";
            break;
        case VK_NEXT:
            Name = "PgDn";
            break;
        case VK_END:
            Name = "End";
            break;
        case VK_HOME:
            Name = "Home";
            break;
        case VK_LEFT:
            Name = "Left";
            break;
        case VK_UP:
            Name = "Up";
            break;
        case VK_RIGHT:
            Name = "Right";
            break;
        case VK_DOWN:
            Name = "Down";
            break;
        case VK_INSERT:
            Name = "Ins";
            break;
        case VK_DELETE:
            Name = "Del";
            break;
        default:
            Name = Format("#%u", Key);
            break;
        }
    }
    String Prefix;
    if (Value & scShift) Prefix += "Shift+";
    if (Value & scCtrl) Prefix += "Ctrl+";
    if (Value & scAlt) Prefix += "Alt+";
    return Prefix + Name;
}

const TClassInfo& TMenuItem::StaticClassInfo() {
    using C = TMenuItem;
    static const TClassInfo Info = TClassBuilder<C>("TMenuItem", &TComponent::StaticClassInfo())
                                       .Str("Caption", &C::GetCaption, &C::SetCaption)
                                       .Bool("Checked", &C::GetChecked, &C::SetChecked, false)
                                       .Bool("Default", &C::GetDefault, &C::SetDefault, false)
                                       .Bool("Enabled", &C::GetEnabled, &C::SetEnabled, true)
                                       .Str("Hint", &C::GetHint, &C::SetHint)
                                       .Bool("RadioItem", &C::GetRadioItem, &C::SetRadioItem, false)
                                       .Int("ShortCut", &C::GetShortCut, &C::SetShortCut, 0)
                                       .Bool("Visible", &C::GetVisible, &C::SetVisible, true)
                                       .Event("OnClick", &C::OnClick)
                                       .Creatable()
                                       .Build();
    return Info;
}

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
    if (FParentItem) FParentItem->Remove(this);
    while (!FItems.empty()) delete FItems.back();
}

// --- properties -------------------------------------------------------------------------------

void TMenuItem::Changed() {
    for (TMenuItem* I = this; I; I = I->FParentItem)
        if (I->OnChange) {
            I->OnChange(this);
            return;
        }
}

void TMenuItem::SetCaption(const String& Value) {
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    Changed();
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Changed();
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == FVisible) return;
    FVisible = Value;
    Changed();
}

void TMenuItem::SetRadioItem(bool Value) {
    if (Value == FRadioItem) return;
    FRadioItem = Value;
    Changed();
}

void TMenuItem::SetDefault(bool Value) {
    if (Value == FDefault) return;
    FDefault = Value;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (Value == FShortCut) return;
    FShortCut = Value;
    Changed();
}

// --- the items below
// -------------------------------------------------------------------------------

TMenuItem* TMenuItem::GetItem(int Index) const {
    if (Index < 0 || Index >= Count())
        throw EListError(Format("Menu index out of range (%d)", Index));
    return FItems[static_cast<size_t>(Index)];
}

int TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    return It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(int Index, TMenuItem* Item) {
    if (!Item) return;
    for (TMenuItem* P = this; P; P = P->FParentItem)
        if (P == Item) throw EInvalidOperation("A menu item cannot hold itself");
    if (Index < 0 || Index > Count())
        throw EListError(Format("Menu index out of range (%d)", Index));
    if (Item->FParentItem) {
        Item->FParentItem->Remove(Item);
        Index = std::min(Index, Count());
    }
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParentItem = this;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item) {
    auto It = std::find(FItems.begin(), FItems.end(), Item);
    if (It == FItems.end()) return;
    FItems.erase(It);
    Item->FParentItem = nullptr;
    Changed();
}

void TMenuItem::Delete(int Index) {
    delete GetItem(Index);
}

void TMenuItem::Clear() {
    while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut Value) {
    if (Value == 0) return nullptr;
    if (FShortCut == Value) return this;
    for (TMenuItem* Item : FItems)
        if (TMenuItem* Found = Item->FindByShortCut(Value)) return Found;
    return nullptr;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (!FParentItem) return nullptr;
    if (FParentItem->FMenu) return FParentItem->FMenu;
    return FParentItem;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (auto* Menu = dynamic_cast<TMenu*>(Value))
        Menu->GetItems()->Add(this);
    else if (auto* Item = dynamic_cast<TMenuItem*>(Value))
        Item->Add(this);
}

void TMenuItem::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    // Only the items the form owns are the form's to write.
    for (TMenuItem* Item : std::vector<TMenuItem*>(FItems))
        if (Item->Owner() == Root) Proc(Item);
}

void TMenuItem::Click() {
    if (FEnabled && OnClick) OnClick(this);
}

FOLIO_REGISTER_CLASS(TMenuItem)

} // namespace folio
