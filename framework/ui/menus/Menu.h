#pragma once

#include "framework/ui/menus/MenuItem.h"

#include <memory>

namespace folio {

/// The base of popup menus and main menus: a tree of items under Items.
class TMenu : public TComponent {
    FOLIO_CLASS(TMenu)
public:
    /// A menu with an empty root item, owned by AOwner.
    explicit TMenu(TComponent* AOwner);
    /// Frees the menu's items.
    ~TMenu() override;

    /// The root item, whose items are the menu's entries.
    TMenuItem* GetItems() const { return FItems.get(); }
    /// Clicks the enabled, visible item with this shortcut; true when one
    /// took it.
    bool IsShortCut(unsigned short Key, TShiftState Shift);

    /// A form file holds the entries inside the menu's block.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

    /// Told before the menu's entries open or a shortcut is looked up among
    /// them, so that a program can bring its items' states up to date (an
    /// item that can act enabled, one that cannot greyed).
    TNotifyEvent OnUpdate;

private:
    std::unique_ptr<TMenuItem> FItems;
};

} // namespace folio
