#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

///@{
/// Colours by name, as form files store them: "clBtnFace" for the button face
/// system colour, "clRed" for plain red. A colour without a name has no ident.
/// Each answers false, leaving its output alone, when there is no match;
/// names match with their exact case.
bool ColorToIdent(TColor Color, String& Ident);
bool IdentToColor(const String& Ident, TColor& Color);
///@}
/// Calls Proc with every colour name, plain colours first, then the system
/// colours, in a fixed order (what a colour list offers).
void GetColorValues(const std::function<void(const String&)>& Proc);

} // namespace folio
