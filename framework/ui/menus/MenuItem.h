#pragma once

#include "framework/core/Component.h"
#include "framework/ui/controls/ControlEvents.h"

#include <vector>

namespace folio {

class TMenu;

/// A key with its modifiers, as a menu item's shortcut: the virtual key in
/// the low byte and scShift, scCtrl, scAlt above it; 0 is none.
using TShortCut = unsigned short;
/// The modifier bits of a shortcut: Shift, Ctrl and Alt.
///@{
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
///@}
/// The shortcut of Key (its low byte) with the Shift, Ctrl and Alt of Shift.
TShortCut ShortCut(unsigned short Key, TShiftState Shift);
/// "Ctrl+S", "Shift+F10", "Del"; "" for none.
String ShortCutToText(TShortCut Value);

/// One entry of a menu. An item with items of its own opens a submenu; a
/// caption of "-" makes a separator, which is never chosen; "&" marks the
/// accelerator. A disabled item shows greyed and cannot be chosen. An item
/// frees the items it holds.
class TMenuItem : public TComponent {
    FOLIO_CLASS(TMenuItem)
public:
    /// An enabled, visible item with no caption, shortcut or items.
    explicit TMenuItem(TComponent* AOwner);
    /// Leaves the item holding it and frees the items it holds.
    ~TMenuItem() override;

    /// The text shown; "&" marks the accelerator and "-" makes a separator.
    /// Empty by default.
    ///@{
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    ///@}
    /// Whether the item shows a tick (a dot for a radio item); false by
    /// default.
    ///@{
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    ///@}
    /// Whether the item can be chosen; true by default. A disabled item shows
    /// greyed.
    ///@{
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    ///@}
    /// Whether the item shows in its menu; true by default.
    ///@{
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    ///@}
    /// A checked radio item shows a dot instead of a tick.
    ///@{
    bool GetRadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    ///@}
    /// The default item of a menu shows in bold.
    ///@{
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    ///@}
    /// The key that clicks the item from its form (TMenu::IsShortCut), shown
    /// beside the caption; 0 (the default) for none.
    ///@{
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    ///@}
    /// A longer description of the item for the application's hint; empty by
    /// default.
    ///@{
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    ///@}

    /// True for a separator (caption "-").
    bool IsLine() const { return FCaption == "-"; }
    /// The item holding this one, or null.
    TMenuItem* GetParentItem() const { return FParentItem; }
    /// How many items this one holds.
    int Count() const { return static_cast<int>(FItems.size()); }
    /// Raises EListError outside 0 to Count - 1.
    TMenuItem* GetItem(int Index) const;
    /// Item's place among this one's items, or -1.
    int IndexOf(const TMenuItem* Item) const;
    /// An item already held elsewhere moves here.
    void Add(TMenuItem* Item);
    /// Puts Item at place Index (0 to Count); an item held elsewhere moves
    /// here. Raises EListError for another index and EInvalidOperation for an
    /// item that holds this one (or is it).
    void Insert(int Index, TMenuItem* Item);
    /// Takes the item out without freeing it.
    void Remove(TMenuItem* Item);
    /// Frees the item at Index.
    void Delete(int Index);
    /// Frees every item this one holds.
    void Clear();
    /// The first item of this one's tree (itself included) whose shortcut
    /// is ShortCut, or null.
    TMenuItem* FindByShortCut(TShortCut Value);

    /// Fires OnClick when the item is enabled.
    virtual void Click();

    /// A form file nests an item in the item or menu that holds it.
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

    /// Told of every change that shows, of this item or of an item below it
    /// (the nearest item up the tree with a handler hears it): the menu
    /// repaints.
    TNotifyEvent OnChange;
    /// Fired by Click when the item is chosen, or its shortcut pressed, while
    /// it is enabled.
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
    /// Set on a menu's root item only.
    TMenu* FMenu = nullptr;
    std::vector<TMenuItem*> FItems;
};

} // namespace folio
