#include "FolioStress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace folio;

namespace {

// The suite runs a short script; scripts/stress.sh sets these for a long one.
TStressOptions OptionsFromEnvironment() {
    TStressOptions Options;
    if (const char* Seed = std::getenv("FOLIO_STRESS_SEED"))
        Options.Seed = std::strtoull(Seed, nullptr, 10);
    if (const char* Steps = std::getenv("FOLIO_STRESS_STEPS"))
        Options.Steps = std::strtol(Steps, nullptr, 10);
    if (const char* Seconds = std::getenv("FOLIO_STRESS_SECONDS"))
        Options.Seconds = std::strtod(Seconds, nullptr);
    return Options;
}

} // namespace

TEST(FolioStress, ScriptedInputOnABarOfAHundredThousandItems) {
    THeadlessHost Host(640, 560);
    const TStressOptions Options = OptionsFromEnvironment();
    TBarStress Stress(Host, Options);
    EXPECT_EQ(Stress.Run(), "");
    std::printf("%s\n", Stress.Summary().c_str());
}
