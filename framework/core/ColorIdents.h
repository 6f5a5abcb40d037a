#pragma once

#include "framework/core/Types.h"

namespace folio {

// Colours by name, as form files store them: "clBtnFace" for the button face
// system colour, "clRed" for plain red. A colour without a name has no ident.
bool ColorToIdent(TColor Color, String& Ident);
bool IdentToColor(const String& Ident, TColor& Color);

} // namespace folio
