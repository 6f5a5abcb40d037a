#include "framework/ui/paint/DamageRegion.h"

#include <gtest/gtest.h>

#include <vector>

using namespace folio;

namespace {

std::vector<TRect> RectsOf(const TDamageRegion& Region) {
    return std::vector<TRect>(Region.begin(), Region.end());
}

struct TAddCase {
    const char* Name;
    std::vector<TRect> Added;
    std::vector<TRect> Expected;
};

TEST(DamageRegion, MergesWhatOverlapsOrNearlyTouchesAndKeepsTheRestApart) {
    const int G = TDamageRegion::MergeGap;
    const std::vector<TAddCase> Cases{
        {"empty rectangles add nothing", {TRect{}, Rect(5, 5, 5, 9)}, {}},
        {"far apart stay apart",
         {Rect(0, 0, 10, 10), Rect(100, 100, 110, 110)},
         {Rect(0, 0, 10, 10), Rect(100, 100, 110, 110)}},
        {"overlapping merge", {Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)}, {Rect(0, 0, 20, 20)}},
        {"contained adds nothing",
         {Rect(0, 0, 50, 50), Rect(10, 10, 20, 20)},
         {Rect(0, 0, 50, 50)}},
        {"touching merge", {Rect(0, 0, 10, 10), Rect(10, 0, 20, 10)}, {Rect(0, 0, 20, 10)}},
        {"a gap of MergeGap merges",
         {Rect(0, 0, 10, 10), Rect(10 + G, 0, 20 + G, 10)},
         {Rect(0, 0, 20 + G, 10)}},
        {"a gap wider than MergeGap does not",
         {Rect(0, 0, 10, 10), Rect(11 + G, 0, 21 + G, 10)},
         {Rect(0, 0, 10, 10), Rect(11 + G, 0, 21 + G, 10)}},
        {"near on one axis only stays apart",
         {Rect(0, 0, 10, 10), Rect(12, 200, 20, 210)},
         {Rect(0, 0, 10, 10), Rect(12, 200, 20, 210)}},
        // The third rectangle bridges the first two: all three become one.
        {"a bridge joins what it reaches",
         {Rect(0, 0, 10, 10), Rect(100, 0, 110, 10), Rect(5, 0, 105, 10)},
         {Rect(0, 0, 110, 10)}},
        {"past MaxRects the region is the union",
         {Rect(0, 0, 1, 1), Rect(100, 0, 101, 1), Rect(200, 0, 201, 1), Rect(300, 0, 301, 1),
          Rect(0, 300, 1, 301)},
         {Rect(0, 0, 301, 301)}},
    };
    for (const TAddCase& C : Cases) {
        TDamageRegion Region;
        for (const TRect& R : C.Added) Region.Add(R);
        EXPECT_EQ(RectsOf(Region), C.Expected) << C.Name;
        EXPECT_LE(Region.Count(), TDamageRegion::MaxRects) << C.Name;
    }
}

TEST(DamageRegion, ClipsMovesAndAnswersQuestions) {
    TDamageRegion Region;
    Region.Add(Rect(0, 0, 10, 10));
    Region.Add(Rect(50, 50, 60, 60));
    EXPECT_EQ(Region.Bounds(), Rect(0, 0, 60, 60));
    EXPECT_TRUE(Region.Intersects(Rect(55, 55, 70, 70)));
    // Between the two rectangles: inside the bounds, outside the region.
    EXPECT_FALSE(Region.Intersects(Rect(20, 20, 40, 40)));
    EXPECT_TRUE(Region.Within(Rect(0, 0, 60, 60)));
    EXPECT_FALSE(Region.Within(Rect(0, 0, 59, 60)));
    EXPECT_TRUE(TDamageRegion().Within(TRect{}));

    EXPECT_EQ(RectsOf(Region.Offset(5, -5)),
              (std::vector<TRect>{Rect(5, -5, 15, 5), Rect(55, 45, 65, 55)}));
    // Clipping drops what falls outside and trims the rest.
    EXPECT_EQ(RectsOf(Region.Intersected(Rect(5, 5, 55, 30))),
              (std::vector<TRect>{Rect(5, 5, 10, 10)}));
    EXPECT_TRUE(Region.Intersected(Rect(20, 20, 40, 40)).IsEmpty());

    TDamageRegion Other(Rect(8, 8, 12, 12));
    Other.Add(Region);
    EXPECT_EQ(RectsOf(Other), (std::vector<TRect>{Rect(0, 0, 12, 12), Rect(50, 50, 60, 60)}));
    Other.Clear();
    EXPECT_TRUE(Other.IsEmpty());
    EXPECT_EQ(Other.Bounds(), TRect{});
}

} // namespace
