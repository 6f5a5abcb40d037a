#pragma once

// The bar's accessible object (FolioAccessible.cpp), registered for TFolio
// by the bar's unit.

#include "folio/Folio.h"
#include "framework/ui/controls/Accessible.h"

namespace folio {

std::unique_ptr<TAccessible> CreateFolioAccessible(TControl* Bar);

} // namespace folio
