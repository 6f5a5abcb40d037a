#pragma once

#include "framework/ui/menus/Menu.h"

namespace folio {

/// The menu of a form: its items show in a bar along the top of the form's
/// client area (the form's Menu), each opening its items below it.
class TMainMenu : public TMenu {
    FOLIO_CLASS(TMainMenu)
public:
    /// A main menu with no entries; it shows once it is a form's Menu.
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

} // namespace folio
