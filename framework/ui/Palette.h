#pragma once

#include "framework/core/Object.h"

#include <vector>

namespace folio {

// The component palette: which component classes a designer offers, on which
// page. Registering a class also makes it creatable by name.
struct TComponentPaletteEntry {
    String Page;
    const TClassInfo* Class = nullptr;
};

void RegisterComponents(const String& Page, const std::vector<const TClassInfo*>& Classes);
// Every registration so far, in registration order. A class registered again
// keeps its first place and moves to the new page.
std::vector<TComponentPaletteEntry> PaletteEntries();
// The page a class was registered on; empty when it was not.
String PalettePageOf(const TClassInfo& Class);

} // namespace folio
