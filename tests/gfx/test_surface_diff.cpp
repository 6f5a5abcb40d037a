#include "framework/gfx/SurfaceDiff.h"

#include <gtest/gtest.h>

#include <vector>

using namespace folio;

namespace {

// Two 40 x 30 surfaces of one colour, the second with a stride wider than
// its rows, as a window's surface often has.
struct TPair {
    std::vector<TPixel> NowPixels = std::vector<TPixel>(40 * 30, 0xFF336699u);
    std::vector<TPixel> BeforePixels = std::vector<TPixel>(48 * 30, 0xFF336699u);
    TPixelSurface Now{NowPixels.data(), 40, 30, 40};
    TPixelSurface Before{BeforePixels.data(), 40, 30, 48};

    void Change(int X, int Y) { Now.Row(Y)[X] ^= 0x00FFFFFFu; }
    std::vector<TRect> Bands(std::vector<TRect> Damage, int MinGap = 8) const {
        std::vector<TRect> Out;
        AppendChangedBands(Now, Before, Damage, Out, MinGap);
        return Out;
    }
};

const TRect Whole{0, 0, 40, 30};

} // namespace

TEST(SurfaceDiff, DamageNarrowsToTheChangedPixels) {
    struct TCase {
        const char* Name;
        std::vector<TPoint> Changed;
        std::vector<TRect> Damage;
        int MinGap;
        std::vector<TRect> Expected;
    };
    const std::vector<TCase> Cases = {
        {"nothing changed", {}, {Whole}, 8, {}},
        {"one pixel", {{7, 5}}, {Whole}, 8, {{7, 5, 8, 6}}},
        {"first and last pixel of the surface",
         {{0, 0}, {39, 29}},
         {Whole},
         8,
         {{0, 0, 1, 1}, {39, 29, 40, 30}}},
        // A frame's two sides: quiet rows between them inside the gap join.
        {"rows close together make one band", {{3, 10}, {20, 14}}, {Whole}, 8, {{3, 10, 21, 15}}},
        {"rows far apart make two bands",
         {{3, 2}, {20, 20}},
         {Whole},
         8,
         {{3, 2, 4, 3}, {20, 20, 21, 21}}},
        {"a gap of exactly MinGap rows splits",
         {{5, 0}, {5, 5}},
         {Whole},
         4,
         {{5, 0, 6, 1}, {5, 5, 6, 6}}},
        {"a gap one row shorter joins", {{5, 0}, {5, 4}}, {Whole}, 4, {{5, 0, 6, 5}}},
        {"a change outside the damage is not seen", {{30, 20}}, {{0, 0, 20, 10}}, 8, {}},
        {"each damaged rectangle on its own",
         {{2, 2}, {30, 25}},
         {{0, 0, 10, 10}, {20, 20, 40, 30}},
         8,
         {{2, 2, 3, 3}, {30, 25, 31, 26}}},
        {"damage beyond the surfaces is clipped",
         {{39, 29}},
         {{30, 25, 90, 90}},
         8,
         {{39, 29, 40, 30}}},
        {"empty damage", {{1, 1}}, {{5, 5, 5, 9}}, 8, {}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        TPair P;
        for (const TPoint& At : C.Changed) P.Change(At.X, At.Y);
        EXPECT_EQ(P.Bands(C.Damage, C.MinGap), C.Expected);
    }
}

TEST(SurfaceDiff, EveryChangedPixelLiesInABand) {
    // A scattered change: whatever the bands, a presenter that sends them
    // leaves no changed pixel unsent.
    TPair P;
    unsigned Seed = 12345;
    for (int I = 0; I < 60; ++I) {
        Seed = Seed * 1103515245u + 12345u;
        P.Change(static_cast<int>((Seed >> 8) % 40), static_cast<int>((Seed >> 20) % 30));
    }
    const std::vector<TRect> Bands = P.Bands({Whole}, 3);
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 40; ++X) {
            if (P.Now.Row(Y)[X] == P.Before.Row(Y)[X]) continue;
            bool Sent = false;
            for (const TRect& B : Bands) Sent |= B.Contains(Point(X, Y));
            EXPECT_TRUE(Sent) << X << "," << Y;
        }
}
