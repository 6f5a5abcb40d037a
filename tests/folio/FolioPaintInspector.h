#pragma once

#include "FolioTestAccess.h"

namespace folio {

// Seeds the bar's fields that switching, scrolling, pointer, drag and editing
// handling own, so that geometry and painting can be tried in every state.
struct TFolioPaintInspector : TFolioTestAccess {};

} // namespace folio
