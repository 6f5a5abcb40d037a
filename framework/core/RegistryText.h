#pragma once

#include "framework/core/RegistryTree.h"

#include <memory>
#include <string_view>

namespace folio {

// The text of a registry file: FormatRegistryText writes a tree, and
// ParseRegistryText reads one back. RegistryText.cpp describes the format.

/// Reads a whole file's text into a new tree. A damaged text, or one past the
/// size, depth or name bounds, raises ERegistryException naming FileName and
/// the line; nothing is handed out then.
std::unique_ptr<TRegKeyNode> ParseRegistryText(std::string_view Text, const String& FileName);

/// The file text of Root, headed by Title as a comment line.
String FormatRegistryText(const TRegKeyNode& Root, const String& Title);

/// A name or path made fit for an error message: quoted, escaped as in the
/// file, and shortened when long.
String QuoteRegName(std::string_view Name);

} // namespace folio
