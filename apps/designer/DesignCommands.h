#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {
class TComponent;
class TMenuItem;
} // namespace folio

namespace designer {

using folio::String;

class TFormDesigner;

// The commands on the selection that the designer's menus offer: Cut,
// Copy, Paste, Delete, Bring to front, Send to back and the Align submenu,
// each enabled only when it can act. The items are made with Owner and
// added to Items; a command that fails tells the designer's OnError.
void AddSelectionCommands(folio::TMenuItem* Items, folio::TComponent* Owner,
                          TFormDesigner& Designer);

// Shows every form in the scheme Choice names ("classic", "dark", ...), or
// in the desktop's again for any other word ("desktop").
void ViewInScheme(const String& Choice);

// The colour schemes as radio items under Parent, the one in use checked;
// choosing one views every form in it.
void AddSchemeChoices(folio::TMenuItem* Parent, folio::TComponent* Owner);

// Runs Command, telling the designer's OnError what went wrong instead of
// letting it pass (when OnError is set): a menu or a key has nobody to
// catch it.
void RunReporting(TFormDesigner& Designer, const std::function<void()>& Command);

} // namespace designer
