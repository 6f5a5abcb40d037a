#pragma once

#include "framework/core/Types.h"

namespace folio {

/// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

/// Today's date, without the time.
TDateTime Date();
/// The date Year-Month-Day (years 1 to 9999); raises EConvertError for a
/// date that does not exist (month 13, 30 February).
TDateTime EncodeDate(int Year, int Month, int Day);
/// EncodeDate that answers false, leaving Result alone, instead of raising.
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
/// Splits a date into year, month and day; a value before 1 January of
/// year 1 gives 0, 0, 0. The time of day is ignored.
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
/// The weekday of a date: 1 Sunday to 7 Saturday.
int DayOfWeek(TDateTime Value);
/// True for a leap year of the Gregorian calendar.
bool IsLeapYear(int Year);
/// 28 to 31; 0 for a month outside 1 to 12.
int DaysInAMonth(int Year, int Month);

///@{
/// English names of the weekdays, short ("Sun") and long ("Sunday"),
/// index 1 Sunday to 7 Saturday; another index answers "".
const String& ShortDayName(int Day);
const String& LongDayName(int Day);
///@}

} // namespace folio
