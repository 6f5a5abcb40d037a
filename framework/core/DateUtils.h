#pragma once

#include "framework/core/Types.h"

namespace folio {

// Days since 30 December 1899; the fraction is the time of day.
using TDateTime = double;

// Today's date, without the time.
TDateTime Date();
// Raises EConvertError for a date that does not exist (month 13, 30 February).
TDateTime EncodeDate(int Year, int Month, int Day);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result);
void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day);
// 1 Sunday .. 7 Saturday.
int DayOfWeek(TDateTime Value);
bool IsLeapYear(int Year);
int DaysInAMonth(int Year, int Month);

// English abbreviations of the weekdays, index 1 Sunday .. 7 Saturday.
const String& ShortDayName(int Day);
const String& LongDayName(int Day);

} // namespace folio
