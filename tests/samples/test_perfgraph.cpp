#include "samples/Perfgrap.h"

#include "framework/core/Exceptions.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"
#include "samples/SampleStrings.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

using namespace folio;

namespace {

class TGraphProbe : public TPerformanceGraph {
public:
    using TPerformanceGraph::FirstY;
    using TPerformanceGraph::GetBitmap;
    using TPerformanceGraph::GetGridOffset;
    using TPerformanceGraph::GetHistorySize;
    using TPerformanceGraph::GetLastY;
    using TPerformanceGraph::GetStep;
    using TPerformanceGraph::Initialize;
    using TPerformanceGraph::LastY;
    using TPerformanceGraph::NextY;
    using TPerformanceGraph::PaintBar;
    using TPerformanceGraph::PaintLine;
    using TPerformanceGraph::ReallocHistory;
    using TPerformanceGraph::TPerformanceGraph;

    TColor Pixel(int X, int Y) const { return GetBitmap()->GetPixel(X, Y); }
    // The rows of column X that hold Color.
    std::vector<int> RowsOf(int X, TColor Color) const {
        std::vector<int> Rows;
        for (int Y = 0; Y < GetBitmap()->GetHeight(); ++Y)
            if (Pixel(X, Y) == Color) Rows.push_back(Y);
        return Rows;
    }
    bool BandHas(int Left, int Right, int Y, TColor Color) const {
        for (int X = Left; X < Right; ++X)
            if (Pixel(X, Y) == Color) return true;
        return false;
    }
    // The first value of every step, oldest first (0 for an empty step).
    std::vector<int> Walk() const {
        std::vector<int> Values;
        for (int Y = FirstY(); Y != -1; Y = NextY(Y))
            Values.push_back(GetStep(Y).PointCount ? GetStep(Y).PointValues[0] : 0);
        return Values;
    }
};

std::vector<int> Range(int From, int To) {
    std::vector<int> R;
    for (int V = From; V <= To; ++V) R.push_back(V);
    return R;
}

// A chart with a plain background, where only the data shows.
void PlainChart(TGraphProbe& G, TGraphKind Kind) {
    G.SetGridlines(false);
    G.SetPenWidth(1);
    G.SetKind(Kind);
}

} // namespace

TEST(PerformanceGraph, DefaultsAndRing) {
    TGraphProbe G(nullptr);
    EXPECT_EQ(G.GetKind(), pgLine);
    EXPECT_EQ(G.GetForeColor(), clGreen);
    EXPECT_EQ(G.GetBackColor(), clBlack);
    EXPECT_EQ(G.GetScale(), 1000);
    EXPECT_EQ(G.GetGradient(), 100);
    EXPECT_EQ(G.GetBandCount(), 33);
    EXPECT_EQ(G.GetHistorySize(), 35);
    EXPECT_EQ(G.FirstY(), 1);
    EXPECT_EQ(G.GetLastY(), 0);
    EXPECT_EQ(G.Walk().size(), 35u);
    EXPECT_EQ(G.LastY(0), 34);
    EXPECT_EQ(G.NextY(34), 0);
    EXPECT_EQ(G.NextY(0), -1);
    for (const TPropInfo* P : TPerformanceGraph::StaticClassInfo().PublishedProperties())
        if (P->IsOrdinal() && P->Default) {
            EXPECT_TRUE(P->HasDefaultValue(G)) << P->Name;
        }
}

TEST(PerformanceGraph, GridOffsetsFollowTheScroll) {
    TGraphProbe G(nullptr);
    // The constructor drew Initialize (14).
    EXPECT_EQ(G.GetGridOffset(), 4);
    for (int Y : {15, 30, 45, 60, 75, 90}) EXPECT_EQ(G.Pixel(50, Y), clGreen) << Y;
    for (int X : {14, 29, 44, 59, 74, 89}) EXPECT_EQ(G.Pixel(X, 50), clGreen) << X;
    EXPECT_EQ(G.RowsOf(50, clGreen), (std::vector<int>{15, 30, 45, 60, 75, 90}));
    EXPECT_EQ(G.Pixel(98, 50), clBlack);

    G.Update();
    EXPECT_EQ(G.GetGridOffset(), 1);
    EXPECT_EQ(G.Pixel(11, 50), clGreen);
    EXPECT_FALSE(G.BandHas(87, 100, 50, clGreen));
    G.Update();
    EXPECT_EQ(G.GetGridOffset(), 13);
    EXPECT_EQ(G.Pixel(98, 50), clGreen);
    EXPECT_EQ(G.Pixel(8, 50), clGreen);
    // The new band carries the horizontal lines on.
    EXPECT_EQ(G.Pixel(99, 15), clGreen);
}

TEST(PerformanceGraph, RoundUp) {
    EXPECT_EQ(TPerformanceGraph::RoundUp(950, 100), 1000);
    EXPECT_EQ(TPerformanceGraph::RoundUp(1000, 100), 1000);
    EXPECT_EQ(TPerformanceGraph::RoundUp(0, 100), 0);
    EXPECT_EQ(TPerformanceGraph::RoundUp(950, 0), 950);
    EXPECT_EQ(TPerformanceGraph::RoundUp(-150, 100), 0);
    // The ends of the integer range neither overflow nor trap.
    EXPECT_EQ(TPerformanceGraph::RoundUp(INT_MAX, 100), INT_MAX);
    EXPECT_EQ(TPerformanceGraph::RoundUp(INT_MIN, -1), INT_MIN);
}

TEST(PerformanceGraph, ScaleChangeRules) {
    TGraphProbe G(nullptr);
    PlainChart(G, pgBar);
    int Fired = 0;
    G.OnScaleChange = [&](TObject* Sender) {
        EXPECT_EQ(Sender, &G);
        ++Fired;
    };
    // 950 rounds to the current scale: drawn directly, no event.
    G.DataPoint(clRed, 950);
    G.Update();
    EXPECT_EQ(Fired, 0);
    EXPECT_EQ(G.GetScale(), 1000);
    EXPECT_EQ(G.RowsOf(98, clRed), Range(4, 99));

    // 1001 rounds to 1100: one event, and the older step is redrawn at the
    // new scale.
    G.DataPoint(clRed, 1001);
    G.Update();
    EXPECT_EQ(Fired, 1);
    EXPECT_EQ(G.GetScale(), 1100);
    EXPECT_EQ(G.RowsOf(95, clRed), Range(13, 99));

    // A request that rounds back to the old scale still fires.
    G.SetScale(1050);
    EXPECT_EQ(Fired, 2);
    EXPECT_EQ(G.GetScale(), 1100);
    G.SetScale(1100);
    EXPECT_EQ(Fired, 2);
}

TEST(PerformanceGraph, BarAndLineRows) {
    TGraphProbe G(nullptr);
    PlainChart(G, pgBar);
    G.PaintBar(clRed, 0, 500);
    for (int X : {97, 98, 99}) EXPECT_EQ(G.RowsOf(X, clRed), Range(49, 99)) << X;
    EXPECT_EQ(G.RowsOf(96, clRed), std::vector<int>{});

    // Through the whole path: an earlier step of 1000 keeps the scale.
    TGraphProbe L(nullptr);
    PlainChart(L, pgLine);
    L.DataPoint(clRed, 250);
    L.DataPoint(clBlue, 1000);
    L.Update();
    L.DataPoint(clRed, 500);
    L.DataPoint(clBlue, 1000);
    L.Update();
    ASSERT_EQ(L.GetScale(), 1000);
    EXPECT_EQ(L.Pixel(97, 75), clRed);
    // The steep segment leaves the band through its right edge a few rows
    // before it reaches y = 50, depending on how the raster rounds.
    for (int Y = 55; Y <= 75; ++Y) EXPECT_TRUE(L.BandHas(97, 100, Y, clRed)) << Y;
    EXPECT_FALSE(L.BandHas(97, 100, 50, clRed));
    EXPECT_FALSE(L.BandHas(97, 100, 76, clRed));
    // The series at full scale runs along the top row.
    EXPECT_TRUE(L.BandHas(97, 100, 0, clBlue));

    // A wider pen draws a thicker line.
    L.SetPenWidth(3);
    int Rows = 0;
    for (int Y = 0; Y < 100; ++Y) Rows += L.Pixel(98, Y) == clBlue;
    EXPECT_GE(Rows, 2);
}

TEST(PerformanceGraph, NewSeriesRisesFromTheBaseline) {
    TGraphProbe G(nullptr);
    PlainChart(G, pgLine);
    G.DataPoint(clBlue, 1000);
    G.Update();
    G.DataPoint(clBlue, 1000);
    G.DataPoint(clRed, 500);
    G.Update();
    for (int Y = 59; Y <= 99; ++Y) EXPECT_TRUE(G.BandHas(97, 100, Y, clRed)) << Y;
    EXPECT_FALSE(G.BandHas(97, 100, 50, clRed));
}

TEST(PerformanceGraph, BarsStackAndSkipZeros) {
    TGraphProbe G(nullptr);
    PlainChart(G, pgBar);
    G.DataPoint(clWhite, 1000);
    G.Update();
    G.DataPoint(clRed, 300);
    G.DataPoint(clBlue, 0);
    G.DataPoint(clGreen, 700);
    G.Update();
    ASSERT_EQ(G.GetScale(), 1000);
    for (int X : {97, 98, 99}) {
        EXPECT_EQ(G.RowsOf(X, clRed), Range(70, 99));
        EXPECT_EQ(G.RowsOf(X, clGreen), Range(29, 69));
        EXPECT_EQ(G.RowsOf(X, clBlue), std::vector<int>{});
    }
}

TEST(PerformanceGraph, ZeroScaleDrawsNothingAboveTheBaseline) {
    TGraphProbe G(nullptr);
    PlainChart(G, pgBar);
    // A history without positive values rescales to 0.
    G.DataPoint(clRed, -500);
    G.Update();
    EXPECT_EQ(G.GetScale(), 0);
    G.DataPoint(clRed, 500);
    G.Update();
    EXPECT_EQ(G.GetScale(), 500);
    ASSERT_FALSE(G.RowsOf(98, clRed).empty());
    // A zero scale set by the application replays the positive value.
    G.SetScale(0);
    EXPECT_EQ(G.GetScale(), 0);
    for (TGraphKind Kind : {pgBar, pgLine}) {
        G.SetKind(Kind);
        for (int X = 0; X < 100; ++X) EXPECT_EQ(G.RowsOf(X, clRed), std::vector<int>{}) << X;
    }
}

TEST(PerformanceGraph, HugeValuesAtASmallScaleAreClipped) {
    TGraphProbe G(nullptr);
    PlainChart(G, pgBar);
    G.DataPoint(clRed, INT_MAX);
    G.DataPoint(clBlue, INT_MIN);
    G.Update();
    EXPECT_EQ(G.GetScale(), INT_MAX);
    G.SetScale(1);
    EXPECT_EQ(G.GetScale(), 100);
    EXPECT_EQ(G.RowsOf(98, clRed), Range(0, 99));
    G.SetKind(pgLine);
    EXPECT_EQ(G.GetKind(), pgLine);
}

TEST(PerformanceGraph, SeventeenthPointRaises) {
    TGraphProbe G(nullptr);
    for (int I = 0; I < 16; ++I) G.DataPoint(clRed, I);
    try {
        G.DataPoint(clRed, 99);
        FAIL() << "no ERangeError";
    } catch (const ERangeError& E) {
        EXPECT_EQ(E.Message(), LoadStr(SGraphPointsFull));
    }
    EXPECT_EQ(G.GetStep(G.GetLastY()).PointCount, 16);
    G.Update();
    G.DataPoint(clRed, 1);
    EXPECT_EQ(G.GetStep(G.GetLastY()).PointCount, 1);
}

TEST(PerformanceGraph, ReallocationKeepsTheNewestSteps) {
    TGraphProbe G(nullptr);
    for (int I = 1; I <= 40; ++I) {
        G.DataPoint(clRed, I);
        G.Update();
    }
    // The ring holds steps 7 to 40 and the empty current step.
    std::vector<int> Expected = Range(7, 40);
    Expected.push_back(0);
    EXPECT_EQ(G.Walk(), Expected);

    // Wider steps: 16 bands, a ring of 18 keeping the newest.
    G.SetStepSize(6);
    EXPECT_EQ(G.GetHistorySize(), 18);
    Expected = Range(24, 40);
    Expected.push_back(0);
    EXPECT_EQ(G.Walk(), Expected);

    // A step size of 0 stores 1 and grows the ring, keeping every step; the
    // empty new entries follow the newest until ShiftY reuses them.
    G.SetStepSize(0);
    EXPECT_EQ(G.GetStepSize(), 1);
    EXPECT_EQ(G.GetHistorySize(), 102);
    std::vector<int> Walk = G.Walk();
    ASSERT_EQ(Walk.size(), 102u);
    EXPECT_EQ(std::vector<int>(Walk.begin(), Walk.begin() + 17), Range(24, 40));
    G.DataPoint(clRed, 41);
    EXPECT_EQ(G.GetStep(G.GetLastY()).PointValues[0], 41);
    G.Update();
    Walk = G.Walk();
    EXPECT_EQ(Walk[Walk.size() - 2], 41);

    // A narrower control keeps only the newest steps.
    G.SetStepSize(3);
    G.SetWidth(30);
    G.ReallocHistory();
    EXPECT_EQ(G.GetHistorySize(), 12);
    Walk = G.Walk();
    EXPECT_EQ(Walk[Walk.size() - 2], 41);

    G.SetGridSize(1);
    EXPECT_EQ(G.GetGridSize(), 2);

    // A setter that replays after a resize sizes the ring with the bitmap.
    G.SetWidth(60);
    G.SetKind(pgBar);
    EXPECT_EQ(G.GetHistorySize(), 22);
    Walk = G.Walk();
    EXPECT_EQ(Walk[10], 41);
}

TEST(PerformanceGraph, PaintsOnItsParentsSurfaceAndFollowsItsSize) {
    THeadlessHost Host;
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    auto* G = new TGraphProbe(Form.get());
    G->SetBounds(10, 10, 100, 100);
    G->SetParent(Form.get());
    PlainChart(*G, pgBar);
    Form->Show();
    Host.RunUntilIdle();
    const TPoint Origin = G->ClientToScreen(Point(0, 0));
    const int X0 = Origin.X - Form->GetLeft();
    const int Y0 = Origin.Y - Form->GetTop();
    for (int I = 1; I <= 40; ++I) {
        G->DataPoint(clRed, 1000);
        G->Update();
    }
    // Update repaints at once: the newest step shows without running the loop.
    EXPECT_EQ(Host.Pixel(Form.get(), X0 + 98, Y0 + 50), clRed);

    // A narrower control reallocates the ring in its next paint, keeping the
    // newest steps, and replays the chart at the new width.
    G->SetWidth(30);
    Host.RunUntilIdle();
    EXPECT_EQ(G->GetHistorySize(), 12);
    EXPECT_EQ(G->GetBitmap()->GetWidth(), 30);
    EXPECT_EQ(Host.Pixel(Form.get(), X0 + 28, Y0 + 50), clRed);
}

// Widening keeps every step in the ring's order: the replay draws the kept
// steps from the left and the new, empty entries after the newest. Updates
// scroll the picture, so the empty stretch moves left between the kept steps
// and the new ones, until a replay draws the ring again from its oldest
// entry, the empty ones, which the updates have made the oldest.
TEST(PerformanceGraph, WideningKeepsTheStepsInTheRingsOrderUntilTheNextReplay) {
    THeadlessHost Host;
    auto Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    auto* G = new TGraphProbe(Form.get());
    G->SetBounds(10, 10, 100, 100);
    G->SetParent(Form.get());
    PlainChart(*G, pgBar);
    Form->Show();
    Host.RunUntilIdle();
    for (int I = 1; I <= 40; ++I) {
        G->DataPoint(clRed, 1000);
        G->Update();
    }
    const TColor Back = ColorToRGB(G->GetBackColor());
    // Which of the columns X holds a step's bar (row 50 is halfway up).
    auto Bars = [&](std::initializer_list<int> Xs) {
        std::vector<bool> Shown;
        for (int X : Xs) Shown.push_back(G->Pixel(X, 50) == clRed);
        return Shown;
    };
    ASSERT_NE(Back, clRed);

    // 200 pixels: 66 steps and a ring of 68. The 33 kept steps after the
    // oldest start 2 pixels in (200 mod 3) and end at x = 101.
    G->SetWidth(200);
    Host.RunUntilIdle();
    ASSERT_EQ(G->GetHistorySize(), 68);
    EXPECT_EQ(Bars({2, 50, 100, 101, 150, 199}),
              (std::vector<bool>{true, true, true, false, false, false}));

    // An update scrolls by one step and draws the new step at the right edge.
    G->DataPoint(clRed, 1000);
    G->Update();
    EXPECT_EQ(Bars({0, 50, 97, 98, 150, 196, 197, 199}),
              (std::vector<bool>{true, true, true, false, false, false, true, true}));

    // A replay draws the ring from its oldest entry: the empty ones first.
    G->SetBackColor(Back == clBlack ? clWhite : clBlack);
    EXPECT_EQ(Bars({2, 50, 94, 95, 150, 199}),
              (std::vector<bool>{false, false, false, true, true, true}));
}

TEST(PerformanceGraph, RegistersOnTheSamplesPage) {
    Perfgrap::Register();
    EXPECT_EQ(PalettePageOf(TPerformanceGraph::StaticClassInfo()), LoadStr(SSamplesPage));
}
