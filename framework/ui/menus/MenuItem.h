#pragma once

#include "framework/core/Component.h"
#include "framework/ui/controls/ControlEvents.h"

#include <vector>

namespace folio {

class TMenu;

// A key with its modifiers, as a menu item's shortcut: the virtual key in
// the low byte and scShift, scCtrl, scAlt above it; 0 is none.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(unsigned short Key, TShiftState Shift);
// "Ctrl+S", "Shift+F10", "Del"; "" for none.
String ShortCutToText(TShortCut Value);

// One entry of a menu. An item with items of its own opens a submenu; a
// caption of "-" makes a separator, which is never chosen; "&" marks the
// accelerator. A disabled item shows greyed and cannot be chosen. An item
// frees the items it holds.
class TMenuItem : public TComponent {
    FOLIO_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    // A checked radio item shows a dot instead of a tick.
    bool GetRadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    // The default item of a menu shows in bold.
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }

    bool IsLine() const { return FCaption == "-"; }
    // The item holding this one, or null.
    TMenuItem* GetParentItem() const { return FParentItem; }
    int Count() const { return static_cast<int>(FItems.size()); }
    // Raises EListError outside 0 .. Count - 1.
    TMenuItem* GetItem(int Index) const;
    int IndexOf(const TMenuItem* Item) const;
    // An item already held elsewhere moves here.
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Remove(TMenuItem* Item);
    // Frees the item at Index.
    void Delete(int Index);
    void Clear();
    // The first item of this one's tree (itself included) whose shortcut
    // is ShortCut, or null.
    TMenuItem* FindByShortCut(TShortCut Value);

    // Fires OnClick when the item is enabled.
    virtual void Click();

    // A form file nests an item in the item or menu that holds it.
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

    // Told of every change that shows: the menu repaints.
    TNotifyEvent OnChange;
    TNotifyEvent OnClick;

private:
    friend class TMenu;
    void Changed();

    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FRadioItem = false;
    bool FDefault = false;
    TShortCut FShortCut = 0;
    String FHint;
    TMenuItem* FParentItem = nullptr;
    // Set on a menu's root item only.
    TMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};

} // namespace folio
