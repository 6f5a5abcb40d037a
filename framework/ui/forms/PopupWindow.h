#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <vector>

namespace folio {

/// A window that floats above the forms while the user picks something from
/// it: a drop-down list, a menu. It is a top-level window without a frame,
/// placed in screen coordinates, and it never takes the focus. While popups
/// are open the keys go to the newest one; a press outside all of them
/// closes them all and goes no further, and so do another form becoming
/// active, a modal form showing and the application losing the focus.
class TPopupWindow : public TCustomControl {
    FOLIO_CLASS(TPopupWindow)
public:
    /// A closed popup owned by AOwner.
    explicit TPopupWindow(TComponent* AOwner);
    /// Leaves the open popups without firing OnCloseUp.
    ~TPopupWindow() override;

    /// Opens the window at R (screen coordinates), moved onto the screen
    /// when it would stick out.
    void Popup(const TRect& ScreenRect);
    /// Closes it; Cancelled says that nothing was chosen.
    void CloseUp(bool Cancelled);
    /// Whether the window is open (among OpenPopups).
    bool IsOpen() const;

    /// The open popups, oldest first.
    static const std::vector<TPopupWindow*>& OpenPopups();
    /// Closes every open popup, newest first, as cancelled.
    static void CloseAll();
    /// From the input router: a press at P (screen) outside every open popup
    /// closes them; true when that happened and the press must go no further.
    static bool PressOutside(TPoint P);
    /// The popup the keys go to, or null.
    static TPopupWindow* KeyTarget();

    /// Told when the window closes.
    std::function<void(TPopupWindow* Sender, bool Cancelled)> OnCloseUp;

protected:
    /// Called after the window was hidden.
    virtual void DoCloseUp(bool Cancelled);
};

/// Where a popup of Size goes when it opens below (or, without room there,
/// above) the screen rectangle Anchor, kept on a screen of ScreenSize.
TRect PlacePopup(const TRect& Anchor, TSize Size, TSize ScreenSize);

} // namespace folio
