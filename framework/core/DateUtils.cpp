#include "framework/core/DateUtils.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"

#include <cmath>
#include <ctime>

namespace folio {

namespace {

// Day number of 1 January 0001 counted from 30 December 1899 is -693593.
constexpr int DateDelta = 693594;

int DaysBeforeYear(int Year) {
    const int Y = Year - 1;
    return Y * 365 + Y / 4 - Y / 100 + Y / 400;
}

} // namespace

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

int DaysInAMonth(int Year, int Month) {
    static const int Days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12) return 0;
    return Days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Result) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12) return false;
    if (Day < 1 || Day > DaysInAMonth(Year, Month)) return false;
    int Days = DaysBeforeYear(Year);
    for (int M = 1; M < Month; ++M) Days += DaysInAMonth(Year, M);
    Days += Day;
    Result = static_cast<TDateTime>(Days - DateDelta);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime Result = 0;
    if (!TryEncodeDate(Year, Month, Day, Result)) throw EConvertError(SInvalidDate);
    return Result;
}

void DecodeDate(TDateTime Value, int& Year, int& Month, int& Day) {
    int Days = static_cast<int>(std::floor(Value)) + DateDelta; // days since 31 December 0000
    if (Days <= 0) {
        Year = Month = Day = 0;
        return;
    }
    // Estimate the year, then correct it.
    int Y = static_cast<int>(static_cast<long long>(Days) * 400 / 146097) + 1;
    while (DaysBeforeYear(Y) >= Days) --Y;
    while (DaysBeforeYear(Y + 1) < Days) ++Y;
    int Rest = Days - DaysBeforeYear(Y);
    int M = 1;
    while (Rest > DaysInAMonth(Y, M)) {
        Rest -= DaysInAMonth(Y, M);
        ++M;
    }
    Year = Y;
    Month = M;
    Day = Rest;
}

int DayOfWeek(TDateTime Value) {
    // 30 December 1899 was a Saturday.
    const long long Days = static_cast<long long>(std::floor(Value));
    return static_cast<int>(((Days - 1) % 7 + 7) % 7) + 1;
}

TDateTime Date() {
    const std::time_t Now = std::time(nullptr);
    std::tm Local{};
    localtime_r(&Now, &Local);
    return EncodeDate(Local.tm_year + 1900, Local.tm_mon + 1, Local.tm_mday);
}

const String& ShortDayName(int Day) {
    static const String Names[8] = {"", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return Names[Day >= 1 && Day <= 7 ? Day : 0];
}

const String& LongDayName(int Day) {
    static const String Names[8] = {"",          "Sunday",   "Monday", "Tuesday",
                                    "Wednesday", "Thursday", "Friday", "Saturday"};
    return Names[Day >= 1 && Day <= 7 ? Day : 0];
}

} // namespace folio
