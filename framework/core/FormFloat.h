#pragma once

#include "framework/core/Types.h"

#include <string_view>

namespace folio {

///@{
/// Floats as a text form spells them: decimal digits with a fraction or an
/// exponent ("0.75", "-15.0", "1.5E+20"), read to the nearest value of the
/// type, whatever the locale. Out of range (too large for the type) answers
/// false; a number too small for the type reads as the nearest one, zero
/// at worst.
bool ParseSingle(std::string_view Text, float& Value);
bool ParseDouble(std::string_view Text, double& Value);
bool ParseExtended(std::string_view Text, long double& Value);
///@}

///@{
/// The shortest digits that read back to the same bits, always with a
/// fraction or an exponent so that the text is not taken for an integer:
/// "1.0", "0.1", "1.5E+20". Value must be finite.
String FormatSingle(float Value);
String FormatDouble(double Value);
String FormatExtended(long double Value);
///@}

/// The extended value a form stores for a double: the one its shortest
/// digits read as, when that converts back to the same double (0.1 is
/// stored as "0.1", not as the twenty digits of the double's exact value),
/// else the double's exact value. Value must be finite.
long double ExtendedForDouble(double Value);

} // namespace folio
