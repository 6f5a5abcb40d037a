#pragma once

#include "framework/core/Types.h"

#include <cstddef>

namespace folio {

// UTF-8 as the framework's strings hold it: well-formed means no overlong
// forms, no surrogates and nothing above U+10FFFF.

/// The length of the character starting at Data[I] (1 to 4), or 0 when the
/// bytes there are not a well-formed one. Code receives the character.
std::size_t Utf8CharLength(const char* Data, std::size_t Size, std::size_t I,
                           char32_t* Code = nullptr);
/// True when all Size bytes are well-formed UTF-8: no overlong forms, no
/// surrogates and nothing above U+10FFFF. Widest receives the largest
/// character met (0 for no bytes).
bool IsWellFormedUtf8(const char* Data, std::size_t Size, char32_t* Widest = nullptr);
/// Appends Code (at most U+10FFFF, not a surrogate) as UTF-8.
void AppendUtf8(String& Out, char32_t Code);

} // namespace folio
