#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"

#include <gtest/gtest.h>

#include <limits>

#include <cerrno>
#include <climits>
#include <cstring>

using namespace folio;

namespace {

TEST(SysUtils, FormatFillsPlaceholdersOfAnyLength) {
    EXPECT_EQ(Format("%d-%s-%05.1f-%x", -3, "ab", 2.25, 255u), "-3-ab-002.2-ff");
    EXPECT_EQ(Format("%s", ""), "");
    EXPECT_EQ(Format("100%%"), "100%");
    // Longer than any fixed buffer a formatter might start with.
    const String Long(5000, 'x');
    EXPECT_EQ(Format("<%s>", Long.c_str()), "<" + Long + ">");
    EXPECT_EQ(Format(SOutOfRange, 1, 16), "Value must be between 1 and 16");
}

TEST(SysUtils, IntToStrCoversTheWholeRange) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(-1), "-1");
    EXPECT_EQ(IntToStr(INT_MIN), "-2147483648");
    EXPECT_EQ(IntToStr(LLONG_MAX), "9223372036854775807");
    EXPECT_EQ(IntToStr(LLONG_MIN), "-9223372036854775808");
}

TEST(SysUtils, StrToIntAcceptsWholeDecimalIntegers) {
    EXPECT_EQ(StrToInt("0"), 0);
    EXPECT_EQ(StrToInt("-0"), 0);
    EXPECT_EQ(StrToInt("+5"), 5);
    EXPECT_EQ(StrToInt("007"), 7);
    EXPECT_EQ(StrToInt("2147483647"), INT_MAX);
    EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
}

TEST(SysUtils, StrToIntRejectsEverythingElseNamingTheText) {
    for (const char* Bad : {"2147483648", "-2147483649", "99999999999999999999", "", " 5", "5 ",
                            "+", "-", "+-5", "--5", "12a", "0x10", "1.5", "1e3"}) {
        try {
            StrToInt(Bad);
            ADD_FAILURE() << "accepted '" << Bad << "'";
        } catch (const EConvertError& Error) {
            EXPECT_NE(Error.Message().find(String("'") + Bad + "'"), String::npos)
                << Error.Message();
        }
        EXPECT_EQ(StrToIntDef(Bad, -77), -77) << Bad;
        int Value = 123;
        EXPECT_FALSE(TryStrToInt(Bad, Value)) << Bad;
        EXPECT_EQ(Value, 123) << "a failed parse changed the output for '" << Bad << "'";
    }
    EXPECT_EQ(StrToIntDef("42", -1), 42);
}

TEST(Resources, NumberedStringsAreTheOnesUnitsRegister) {
    // The framework registers no numbers of its own: the sample controls'
    // page name and messages are theirs, and are not linked in here.
    EXPECT_EQ(LoadStr(101), "");
    EXPECT_EQ(LoadStr(102), "");

    static const TResourceStrings Unit{{9101, "first"}, {9102, "second"}};
    EXPECT_EQ(LoadStr(9101), "first");
    EXPECT_EQ(LoadStr(9102), "second");
    for (int Unknown : {0, -1, 9100, 9103}) EXPECT_EQ(LoadStr(Unknown), "") << Unknown;

    // Registering the same text again is harmless; a number another unit
    // owns raises, naming both texts, and registers nothing of that batch.
    EXPECT_NO_THROW(TResourceStrings({{9101, "first"}}));
    try {
        TResourceStrings({{9103, "third"}, {9102, "other"}});
        ADD_FAILURE() << "a clashing number was registered";
    } catch (const EInvalidOperation& E) {
        EXPECT_NE(E.Message().find("9102"), String::npos) << E.Message();
        EXPECT_NE(E.Message().find("\"second\""), String::npos) << E.Message();
        EXPECT_NE(E.Message().find("\"other\""), String::npos) << E.Message();
    }
    EXPECT_EQ(LoadStr(9102), "second");
    EXPECT_EQ(LoadStr(9103), "");
}

TEST(SysUtils, TryStrToInt64TakesSignedDecimalAndHexadecimalBitPatterns) {
    struct TCase {
        const char* Text;
        bool Ok;
        long long Value;
    };
    const TCase Cases[] = {
        {"0", true, 0},
        {"-9223372036854775808", true, std::numeric_limits<long long>::min()},
        {"9223372036854775807", true, std::numeric_limits<long long>::max()},
        {"9223372036854775808", false, 0},
        {"-9223372036854775809", false, 0},
        {"+12", true, 12},
        {"$FF", true, 255},
        {"$80000010", true, 0x80000010LL},
        {"-$10", true, -16},
        {"$", false, 0},
        {"+-1", false, 0},
        {"--1", false, 0},
        {"$-1", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"", false, 0},
        {"12a", false, 0},
    };
    for (const TCase& C : Cases) {
        long long V = -1;
        EXPECT_EQ(TryStrToInt64(C.Text, V), C.Ok) << C.Text;
        if (C.Ok) {
            EXPECT_EQ(V, C.Value) << C.Text;
        }
    }
}

TEST(SysUtils, TrimAndSameTextTreatNamesAsTyped) {
    EXPECT_EQ(Trim("  a b\t"), "a b");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_TRUE(SameText("clBtnFace", "CLBTNFACE"));
    EXPECT_FALSE(SameText("clBtnFace", "clBtnFac"));
    EXPECT_FALSE(SameText("a", "b"));
}

TEST(SysUtils, SysErrorMessageIsTheSystemsText) {
    EXPECT_EQ(SysErrorMessage(ENOENT), std::strerror(ENOENT));
    EXPECT_FALSE(SysErrorMessage(123456).empty());
}

TEST(SysUtils, MulDivRoundsHalvesAwayFromZeroAndReportsWhatCannotBe) {
    struct TCase {
        int Number, Numerator, Denominator, Result;
    };
    const TCase Cases[] = {
        {20, 192, 96, 40},
        {11, 144, 96, 17},
        {-11, 192, 96, -22},
        {3, 1, 2, 2},
        {-3, 1, 2, -2},
        {5, 2, -4, -3},
        {1, 96, 96, 1},
        {0, 5, 7, 0},
        {7, 3, 0, -1},
        {0x40000000, 4, 1, -1},         // beyond int
        {0x40000000, 4, 8, 0x20000000}, // wide on the way, exact at the end
    };
    for (const TCase& C : Cases)
        EXPECT_EQ(MulDiv(C.Number, C.Numerator, C.Denominator), C.Result)
            << C.Number << " * " << C.Numerator << " / " << C.Denominator;
}

} // namespace
