#include "framework/gfx/SurfaceDiff.h"

#include <algorithm>
#include <cstring>

namespace folio {

namespace {

// The first and last column (from Left, before Right) where two rows
// differ, or false when they are the same. Whole rows are compared at once
// first: most rows of a repaint did not change.
bool ChangedSpan(const TPixel* A, const TPixel* B, int Left, int Right, int& First, int& Last) {
    const size_t Bytes = static_cast<size_t>(Right - Left) * sizeof(TPixel);
    if (std::memcmp(A + Left, B + Left, Bytes) == 0) return false;
    int L = Left;
    while (A[L] == B[L]) ++L;
    int R = Right - 1;
    while (A[R] == B[R]) --R;
    First = L;
    Last = R;
    return true;
}

} // namespace

void AppendChangedBands(const TPixelSurface& Now, const TPixelSurface& Before,
                        std::span<const TRect> Rects, std::vector<TRect>& Out, int MinGap) {
    const int Width = std::min(Now.Width, Before.Width);
    const int Height = std::min(Now.Height, Before.Height);
    MinGap = std::max(MinGap, 1);
    for (const TRect& Given : Rects) {
        const int Left = std::max(Given.Left, 0);
        const int Right = std::min(Given.Right, Width);
        const int Top = std::max(Given.Top, 0);
        const int Bottom = std::min(Given.Bottom, Height);
        if (Left >= Right || Top >= Bottom) continue;
        bool Open = false;
        TRect Band{};
        int Quiet = 0;
        for (int Y = Top; Y < Bottom; ++Y) {
            int First = 0, Last = 0;
            if (!ChangedSpan(Now.Row(Y), Before.Row(Y), Left, Right, First, Last)) {
                // A band ends once MinGap unchanged rows follow it.
                if (Open && ++Quiet >= MinGap) {
                    Out.push_back(Band);
                    Open = false;
                }
                continue;
            }
            Quiet = 0;
            if (!Open) {
                Band = TRect{First, Y, Last + 1, Y + 1};
                Open = true;
                continue;
            }
            Band.Left = std::min(Band.Left, First);
            Band.Right = std::max(Band.Right, Last + 1);
            Band.Bottom = Y + 1;
        }
        if (Open) Out.push_back(Band);
    }
}

} // namespace folio
