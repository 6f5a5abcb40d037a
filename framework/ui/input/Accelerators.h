#pragma once

#include "framework/core/Types.h"

namespace folio {

// Captions mark their accelerator with '&' ("&OK" answers Alt+O); "&&" is a
// plain ampersand.

/// The accelerator character of Caption, lower-cased, or 0 when it has none.
char GetHotkey(const String& Caption);
/// True when the typed character Key is Caption's accelerator (either case).
bool IsAccel(unsigned Key, const String& Caption);
/// Caption without its accelerator marks ("&Open && save" gives "Open & save").
String StripHotkey(const String& Caption);

} // namespace folio
