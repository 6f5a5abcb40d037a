#pragma once

#include "framework/core/Types.h"

#include <string_view>

#include <sys/types.h>

namespace folio {

/// A new file that belongs to one save only: the bytes go there first and the
/// file is renamed over the one it replaces once it is whole.
struct TUniqueFile {
    int Handle = -1; ///< open for reading and writing; -1 when nothing was made
    String Name;     ///< the name it was made under
    int Error = 0;   ///< the system's error number when nothing was made
};

/// Makes a new, empty file whose name is Base, ".saving-" and sixteen random
/// hexadecimal digits. Folder is a descriptor of the folder Base lies in, or
/// AT_FDCWD when Base is a path of its own. The file is created with
/// O_EXCL|O_NOFOLLOW, so nothing already there is ever opened: a file or a
/// symbolic link planted under the name makes the attempt fail, and the next
/// attempt takes another name. Mode is narrowed by the umask as usual.
TUniqueFile CreateUniqueFile(int Folder, const String& Base, mode_t Mode);

/// True when Name (without a folder) is one CreateUniqueFile makes from Base.
bool IsUniqueFileOf(std::string_view Name, std::string_view Base);

} // namespace folio
