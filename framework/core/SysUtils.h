#pragma once

#include "framework/core/Types.h"

#include <cstdarg>

namespace folio {

// printf-style formatting into a String.
String Format(const char* Fmt, ...) __attribute__((format(printf, 1, 2)));
String FormatV(const char* Fmt, std::va_list Args);

String IntToStr(long long Value);
// Parses a whole decimal integer (optional sign, no spaces); raises
// EConvertError naming the text when it is not one or does not fit in 32 bits.
int StrToInt(const String& Text);
int StrToIntDef(const String& Text, int Default);
bool TryStrToInt(const String& Text, int& Value);

// The system's error text for an errno value.
String SysErrorMessage(int ErrorCode);

} // namespace folio
