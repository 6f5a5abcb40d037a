#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace folio {

class TComponent;

// The forms a form file may refer to ("MainForm.Images"), found by name.
// The application registers a finder that looks among its forms; a program
// without one finds none.
using TFindGlobalComponent = std::function<TComponent*(const String& Name)>;

// Answers a number that unregisters the finder.
int RegisterFindGlobalComponent(TFindGlobalComponent Finder);
void UnregisterFindGlobalComponent(int Registration);

// The component a dotted reference names: "Form.Component" (or deeper,
// "Form.Frame.Component") looked up from the form a finder gives for the
// first name. Null when a finder gives no form or a name is not there.
TComponent* FindGlobalComponent(const String& Reference);

} // namespace folio
