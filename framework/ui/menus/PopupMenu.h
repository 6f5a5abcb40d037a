#pragma once

#include "framework/ui/menus/Menu.h"

#include <memory>

namespace folio {

class TMenuWindow;

/// A menu that opens where it is asked to: by the program (Popup) or, when
/// it is a control's PopupMenu and AutoPopup is on, by a right click on the
/// control or the menu key while it has the focus.
class TPopupMenu : public TMenu {
    FOLIO_CLASS(TPopupMenu)
public:
    /// A popup menu with no entries, AutoPopup on.
    explicit TPopupMenu(TComponent* AOwner);
    /// Closes and frees its menu window.
    ~TPopupMenu() override;

    /// Whether a right click on a control whose PopupMenu this is (or the menu
    /// key while it has the focus) opens the menu; true by default.
    ///@{
    bool GetAutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    ///@}
    /// The control the menu was opened for (null when the program opened it).
    TComponent* GetPopupComponent() const { return FPopupComponent; }
    /// Set by the control that opens the menu, before Popup.
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }

    /// Opens the menu with its top-left corner at the screen point (X, Y),
    /// after OnPopup; any other open popup closes first.
    virtual void Popup(int X, int Y);
    /// The open menu window, or null.
    TMenuWindow* GetWindow() const;

    /// Fired by Popup just before the menu opens, so that a program can set its
    /// items up.
    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    std::unique_ptr<TMenuWindow> FWindow;
};

} // namespace folio
