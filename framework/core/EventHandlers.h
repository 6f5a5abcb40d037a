#pragma once

#include "framework/core/Types.h"

namespace folio {

class TComponent;
struct TMethodInfo;
struct TPropInfo;

/// The handler method named Handler that Form's class offers for Event.
/// Raises EInvalidOperation when the class has no such method or when its
/// parameters do not fit the event.
const TMethodInfo& FindEventHandler(const TComponent& Form, const TPropInfo& Event,
                                    const String& Handler);

/// Binds Component's event to a handler method of its form (its owner, or the
/// component itself when it has none) by name, as reading a form does, so
/// that the form file stores the handler's name. An empty name clears the
/// event. Raises EInvalidOperation when the class has no such event, or as
/// FindEventHandler does.
void BindEventHandler(TComponent* Component, const String& Event, const String& Handler);

} // namespace folio
