#pragma once

#include "framework/core/Object.h"

#include <functional>

namespace folio {

/// The change notification of graphic objects (pens, brushes, fonts);
/// Sender is the object that changed.
using TNotifyEvent = std::function<void(TObject* Sender)>;

} // namespace folio
