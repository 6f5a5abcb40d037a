#pragma once

#include "framework/core/Types.h"

#include <functional>

namespace designer {

using folio::String;

class TFormDesigner;

// Where the unsaved changes of a form go when the designer is told to end
// (Ctrl+C or SIGTERM in its terminal): beside its file as "NAME.form~", or,
// for a form without a file yet, as "FORMNAME.form~" in the folder
// $XDG_STATE_HOME/folio (~/.local/state/folio without it).
String RecoveryPath(const String& FileName, const String& FormName);
String RecoveryPath(const TFormDesigner& Designer);

// Writes the designer's form, as it is, to its recovery path (making the
// folder when needed) and answers the path; the form keeps its file and its
// modified mark. Raises when the copy cannot be written.
String WriteRecoveryCopy(TFormDesigner& Designer);

// When the form the designer shows has a recovery copy, asks Ask (given the
// question to put) whether to take it up. Yes opens the copy in its place,
// with the form's own file name and the modified mark, and removes it; No
// leaves the copy for a later start. Answers whether the copy was taken.
bool OfferRecoveryCopy(TFormDesigner& Designer, const std::function<bool(const String&)>& Ask);

} // namespace designer
