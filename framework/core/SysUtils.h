#pragma once

#include "framework/core/Types.h"

#include <cstdarg>

namespace folio {

///@{
/// printf-style formatting into a String.
String Format(const char* Fmt, ...) __attribute__((format(printf, 1, 2)));
String FormatV(const char* Fmt, std::va_list Args);
///@}

/// The decimal digits of Value, with a minus sign when negative.
String IntToStr(long long Value);
/// Parses a whole decimal integer (optional sign, no spaces); raises
/// EConvertError naming the text when it is not one or does not fit in 32 bits.
int StrToInt(const String& Text);
/// StrToInt that answers Default instead of raising.
int StrToIntDef(const String& Text, int Default);
/// StrToInt that answers false instead of raising.
bool TryStrToInt(const String& Text, int& Value);
/// A whole number of up to 64 bits: optional sign, then decimal digits or '$'
/// and hexadecimal digits (taken as a bit pattern); no spaces.
bool TryStrToInt64(const String& Text, long long& Value);

/// Equal but for the case of ASCII letters, as names (components,
/// properties, classes) compare.
bool SameText(const String& A, const String& B);

/// Text without the spaces and tabs at either end.
String Trim(const String& Text);

/// The system's error text for an errno value.
String SysErrorMessage(int ErrorCode);

/// Number * Numerator / Denominator, computed wide and rounded to the
/// nearest integer, halves away from zero; -1 for a zero denominator or a
/// result outside int, as the platform's own.
int MulDiv(int Number, int Numerator, int Denominator);

} // namespace folio
