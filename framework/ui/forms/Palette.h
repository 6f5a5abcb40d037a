#pragma once

#include "framework/core/Object.h"

#include <vector>

namespace folio {

/// Each unit's Register puts its component classes on a page of a designer's
/// palette. Registering a class also makes it creatable by name, which is all
/// a program without a designer keeps of it.
void RegisterComponents(const String& Page, const std::vector<const TClassInfo*>& Classes);

///@{
/// Where RegisterComponents sends the classes when a designer's registry is
/// in the program: that registry makes them creatable by name itself and
/// remembers their pages. Returns the procedure that was installed before.
using TRegisterComponentsProc = void (*)(const String& Page,
                                         const std::vector<const TClassInfo*>& Classes);
TRegisterComponentsProc SetRegisterComponentsProc(TRegisterComponentsProc Proc);
///@}

} // namespace folio
