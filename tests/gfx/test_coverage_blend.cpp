// Glyph coverage blended over pixels, the vector path against the rule it
// must keep to the bit: each channel (C * A + D * (256 - A)) >> 8 with
// A = coverage + coverage / 128, alpha 0xFF.
#include "framework/gfx/CoverageBlend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace folio;

namespace {

TPixel Expected(TPixel D, std::uint8_t Coverage, TPixel C) {
    const std::uint32_t A = Coverage + (Coverage >> 7u);
    TPixel Out = 0xFF000000u;
    for (int Shift : {0, 8, 16}) {
        const std::uint32_t Mixed =
            (((C >> Shift) & 0xFFu) * A + ((D >> Shift) & 0xFFu) * (256 - A)) >> 8;
        Out |= Mixed << Shift;
    }
    return Out;
}

} // namespace

TEST(CoverageBlend, EveryCoverageOverEveryKindOfPixelKeepsTheRuleAtAnyRowLengthAndOffset) {
    const TPixel Colors[] = {0xFF000000u, 0xFFFFFFFFu, 0xFF102030u, 0x00E0C0A0u};
    const TPixel Backgrounds[] = {0xFFFFFFFFu, 0xFF000000u, 0xFF7F8081u, 0x00123456u};
    for (TPixel Color : Colors)
        for (TPixel Back : Backgrounds)
            // Lengths and starts that leave every remainder of four, with
            // runs of zero coverage (skipped four at a time) between others.
            for (int Length : {1, 3, 4, 5, 8, 11, 256 + 7})
                for (int Start : {0, 1, 2, 3}) {
                    std::vector<std::uint8_t> Cov(static_cast<size_t>(Start + Length));
                    for (size_t I = 0; I < Cov.size(); ++I)
                        Cov[I] = (I / 4) % 3 == 1 ? 0 : static_cast<std::uint8_t>(I * 37 + Length);
                    std::vector<TPixel> Row(Cov.size(), Back);
                    raster::BlendCoverageRow(Row.data() + Start, Cov.data() + Start, Length, Color);
                    for (int I = 0; I < Start; ++I) ASSERT_EQ(Row[static_cast<size_t>(I)], Back);
                    for (size_t I = static_cast<size_t>(Start); I < Row.size(); ++I) {
                        const TPixel Want = Cov[I] == 0 ? Back : Expected(Back, Cov[I], Color);
                        ASSERT_EQ(Row[I], Want)
                            << "colour " << std::hex << Color << " over " << Back << " coverage "
                            << std::dec << int(Cov[I]) << " at " << I;
                    }
                }
}
