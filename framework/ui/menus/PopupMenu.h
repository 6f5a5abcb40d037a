#pragma once

#include "framework/ui/menus/Menu.h"

#include <memory>

namespace folio {

class TMenuWindow;

// A menu that opens where it is asked to: by the program (Popup) or, when
// it is a control's PopupMenu and AutoPopup is on, by a right click on the
// control or the menu key while it has the focus.
class TPopupMenu : public TMenu {
    FOLIO_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    bool GetAutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    // The control the menu was opened for (null when the program opened it).
    TComponent* GetPopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    // Opens the menu with its top-left corner at the screen point (X, Y).
    virtual void Popup(int X, int Y);
    // The open menu window, or null.
    TMenuWindow* GetWindow() const;

    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    std::unique_ptr<TMenuWindow> FWindow;
};

} // namespace folio
