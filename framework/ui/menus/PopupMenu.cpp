#include "framework/ui/menus/PopupMenu.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/ui/menus/MenuWindow.h"

namespace folio {

const TClassInfo& TPopupMenu::StaticClassInfo() {
    using C = TPopupMenu;
    static const TClassInfo Info = TClassBuilder<C>("TPopupMenu", &TMenu::StaticClassInfo())
                                       .Bool("AutoPopup", &C::GetAutoPopup, &C::SetAutoPopup, true)
                                       .Event("OnPopup", &C::OnPopup)
                                       .Creatable()
                                       .Build();
    return Info;
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

TPopupMenu::~TPopupMenu() = default;

TMenuWindow* TPopupMenu::GetWindow() const {
    return FWindow && FWindow->IsOpen() ? FWindow.get() : nullptr;
}

void TPopupMenu::Popup(int X, int Y) {
    if (OnPopup) OnPopup(this);
    // A menu opens alone: whatever popup was open closes.
    TPopupWindow::CloseAll();
    if (!FWindow) FWindow = std::make_unique<TMenuWindow>(nullptr);
    FWindow->PopupItems(GetItems(), Point(X, Y));
}

FOLIO_REGISTER_CLASS(TPopupMenu)

} // namespace folio
