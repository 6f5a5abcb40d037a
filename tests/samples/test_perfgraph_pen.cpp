#include "samples/Perfgrap.h"

#include "framework/gfx/Colors.h"

#include <gtest/gtest.h>

#include <vector>

using namespace folio;

namespace {

class TPenProbe : public TPerformanceGraph {
public:
    using TPerformanceGraph::GetBitmap;
    using TPerformanceGraph::TPerformanceGraph;

    // The pieces the pixels of Color fall into, counting pixels that touch
    // at a corner as joined.
    int PiecesOf(TColor Color) const {
        const TBitmap* B = GetBitmap();
        const int W = B->GetWidth(), H = B->GetHeight();
        std::vector<char> Seen(static_cast<size_t>(W * H), 0);
        std::vector<int> Stack;
        int Pieces = 0;
        for (int Start = 0; Start < W * H; ++Start) {
            if (Seen[Start] || B->GetPixel(Start % W, Start / W) != Color) continue;
            ++Pieces;
            Seen[Start] = 1;
            Stack.push_back(Start);
            while (!Stack.empty()) {
                const int P = Stack.back();
                Stack.pop_back();
                for (int DY = -1; DY <= 1; ++DY)
                    for (int DX = -1; DX <= 1; ++DX) {
                        const int X = P % W + DX, Y = P / W + DY;
                        if (X < 0 || Y < 0 || X >= W || Y >= H) continue;
                        const int Q = Y * W + X;
                        if (Seen[Q] || B->GetPixel(X, Y) != Color) continue;
                        Seen[Q] = 1;
                        Stack.push_back(Q);
                    }
            }
        }
        return Pieces;
    }
};

} // namespace

TEST(PerformanceGraph, WideLinesStayInOnePieceAcrossSteps) {
    // A series that jumps between a low and a high value every step draws
    // steep segments three pixels wide; where two of them meet, the bend
    // must stay closed, both when each step is added and after a replay. A
    // gentler series above it must not break either.
    for (int PenWidth : {2, 3, 4}) {
        TPenProbe G(nullptr);
        G.SetBounds(0, 0, 90, 100);
        G.SetGridlines(false);
        G.SetKind(pgLine);
        G.SetPenWidth(PenWidth);
        G.SetScale(1000);
        for (int Step = 0; Step < 40; ++Step) {
            G.DataPoint(clYellow, Step % 2 ? 850 : 150);
            G.DataPoint(clAqua, 930 + (Step % 3) * 25);
            G.Update();
        }
        EXPECT_EQ(G.PiecesOf(clYellow), 1) << PenWidth;
        EXPECT_EQ(G.PiecesOf(clAqua), 1) << PenWidth;
        G.SetGridSize(20); // replays the whole chart
        EXPECT_EQ(G.PiecesOf(clYellow), 1) << PenWidth;
        EXPECT_EQ(G.PiecesOf(clAqua), 1) << PenWidth;
    }
}
