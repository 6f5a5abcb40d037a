#include "framework/core/Exceptions.h"
#include "samples/SampleStrings.h"

#include <gtest/gtest.h>

using namespace folio;

// The sample controls bring their own strings: linking them in registers
// their numbers with the framework's string resources.
TEST(SampleStrings, NumberedAndNamedStringsOfTheSampleControls) {
    EXPECT_EQ(SSamplesPage, 101);
    EXPECT_EQ(SGraphPointsFull, 102);
    EXPECT_EQ(LoadStr(101), "Samples");
    EXPECT_EQ(LoadStr(102), "A step of the performance graph holds at most 16 data points");
    EXPECT_STREQ(SFG, "FG");
    EXPECT_STREQ(SBG, "BG");
    EXPECT_STREQ(SFB, "FB");
    // Another unit cannot take the samples' numbers for texts of its own.
    EXPECT_THROW(TResourceStrings({{101, "Mine"}}), EInvalidOperation);
    EXPECT_EQ(LoadStr(101), "Samples");
}
