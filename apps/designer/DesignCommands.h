#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {
class TComponent;
class TMenuItem;
} // namespace folio

namespace designer {

class TFormDesigner;

// The commands on the selection that the designer's menus offer: Cut,
// Copy, Paste, Delete, Bring to front, Send to back and the Align submenu,
// each enabled only when it can act. The items are made with Owner and
// added to Items; a command that fails tells the designer's OnError.
void AddSelectionCommands(folio::TMenuItem* Items, folio::TComponent* Owner,
                          TFormDesigner& Designer);

// Runs Command, telling the designer's OnError what went wrong instead of
// letting it pass (when OnError is set): a menu or a key has nobody to
// catch it.
void RunReporting(TFormDesigner& Designer, const std::function<void()>& Command);

} // namespace designer
