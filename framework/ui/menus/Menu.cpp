#include "framework/ui/menus/Menu.h"

#include "framework/core/ClassBuilder.h"

namespace folio {

FOLIO_DEFINE_CLASS(TMenu, TComponent)

TMenu::TMenu(TComponent* AOwner)
    : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
    FItems->FMenu = this;
}

TMenu::~TMenu() = default;

void TMenu::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {
    FItems->GetChildren(Proc, Root);
}

bool TMenu::IsShortCut(unsigned short Key, TShiftState Shift) {
    if (OnUpdate) OnUpdate(this);
    TMenuItem* Item = FItems->FindByShortCut(ShortCut(Key, Shift));
    // A hidden or disabled item, or one inside a hidden or disabled
    // submenu, does not take its key.
    for (TMenuItem* I = Item; I && I != FItems.get(); I = I->GetParentItem())
        if (!I->GetEnabled() || !I->GetVisible()) return false;
    if (!Item) return false;
    Item->Click();
    return true;
}

} // namespace folio
