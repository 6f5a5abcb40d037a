#pragma once

#include "framework/core/Exceptions.h"

namespace folio {

/// A request to the desktop that could not be made.
class EShellError : public Exception {
public:
    using Exception::Exception;
};

/// Asks the desktop to act on a file or an address, as a user's double click
/// would: Operation "open" (or empty, which means the same) hands FileName to
/// the desktop's opener (xdg-open), which starts the program the user chose
/// for it. The call returns once the opener has started; it does not wait for
/// the program. FileName goes to the opener as one argument, never through a
/// shell. Raises EShellError when the opener is not installed, when it cannot
/// be started, and for an operation other than "open".
void ShellExecute(const String& Operation, const String& FileName);

/// The program ShellExecute starts ("xdg-open"), looked up on PATH.
extern const char* const ShellOpener;

} // namespace folio
