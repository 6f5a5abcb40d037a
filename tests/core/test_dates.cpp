#include "framework/core/DateUtils.h"
#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

using namespace folio;

TEST(Dates, EncodeDecodeRoundTripsAcrossCenturiesAndLeapDays) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    const int Samples[][3] = {{1, 1, 1},      {1600, 2, 29}, {1900, 2, 28}, {2000, 2, 29},
                              {2024, 12, 31}, {2026, 12, 9}, {9999, 12, 31}};
    for (const auto& S : Samples) {
        int Y, M, D;
        DecodeDate(EncodeDate(S[0], S[1], S[2]), Y, M, D);
        EXPECT_EQ(Y, S[0]);
        EXPECT_EQ(M, S[1]);
        EXPECT_EQ(D, S[2]);
    }
    // Consecutive days decode to consecutive calendar days.
    int PrevY = 0, PrevM = 0, PrevD = 0;
    for (double Day = EncodeDate(1999, 12, 1); Day < EncodeDate(2001, 3, 1); Day += 1) {
        int Y, M, D;
        DecodeDate(Day, Y, M, D);
        if (PrevY) {
            const bool NextDay = (Y == PrevY && M == PrevM && D == PrevD + 1) ||
                                 (Y == PrevY && M == PrevM + 1 && D == 1) ||
                                 (Y == PrevY + 1 && M == 1 && D == 1);
            EXPECT_TRUE(NextDay) << Y << "-" << M << "-" << D;
        }
        PrevY = Y, PrevM = M, PrevD = D;
    }
}

TEST(Dates, InvalidDatesRaiseConvertError) {
    EXPECT_THROW(EncodeDate(2001, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(2000, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2000, 4, 31), EConvertError);
    EXPECT_THROW(EncodeDate(2000, 1, 0), EConvertError);
    EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
}

TEST(Dates, DayOfWeekCountsFromSunday) {
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7); // a Saturday
    EXPECT_EQ(DayOfWeek(EncodeDate(2026, 12, 9)), 4);  // a Wednesday
    EXPECT_EQ(DayOfWeek(EncodeDate(2000, 2, 1)), 3);   // a Tuesday
    EXPECT_EQ(DayOfWeek(EncodeDate(1800, 1, 1)), 4);   // before the epoch: a Wednesday
    EXPECT_EQ(ShortDayName(1), "Sun");
    EXPECT_EQ(ShortDayName(7), "Sat");
}

TEST(Dates, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(2023, 2), 28);
    EXPECT_EQ(DaysInAMonth(2023, 4), 30);
}

TEST(Dates, TodayHasNoTimeOfDay) {
    const TDateTime Today = Date();
    EXPECT_EQ(Today, static_cast<double>(static_cast<long long>(Today)));
    EXPECT_GT(Today, EncodeDate(2020, 1, 1));
}
