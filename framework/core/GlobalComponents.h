#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

class TComponent;

/// The forms a form file may refer to ("MainForm.Images"), found by name.
/// The application registers a finder that looks among its forms; a program
/// without one finds none.
using TFindGlobalComponent = std::function<TComponent*(const String& Name)>;

/// Adds a finder (they are asked in the order registered) and answers the
/// number that unregisters it. Safe from any thread.
int RegisterFindGlobalComponent(TFindGlobalComponent Finder);
/// Removes the finder registered under that number; an unknown one is ignored.
void UnregisterFindGlobalComponent(int Registration);

/// The component a dotted reference names: "Form.Component" (or deeper,
/// "Form.Frame.Component") looked up from the form a finder gives for the
/// first name. Null when a finder gives no form or a name is not there.
TComponent* FindGlobalComponent(const String& Reference);

} // namespace folio
