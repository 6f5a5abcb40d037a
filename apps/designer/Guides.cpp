#include "Guides.h"

#include <cstdlib>

namespace designer {

namespace {

// The lines of a rectangle on one axis: its start, centre and end.
void LinesOf(const TRect& R, bool Vertical, std::vector<int>& Lines) {
    if (Vertical) {
        Lines.insert(Lines.end(), {R.Left, (R.Left + R.Right) / 2, R.Right});
    } else {
        Lines.insert(Lines.end(), {R.Top, (R.Top + R.Bottom) / 2, R.Bottom});
    }
}

std::vector<int> Targets(const std::vector<TRect>& Others, const TRect& Parent, bool Vertical) {
    std::vector<int> Lines;
    Lines.reserve(Others.size() * 3 + 3);
    LinesOf(Parent, Vertical, Lines);
    for (const TRect& R : Others) LinesOf(R, Vertical, Lines);
    return Lines;
}

// The offset that puts one of Own on one of Targets, the smallest within
// Reach, and the line it lands on.
std::optional<std::pair<int, int>> Closest(const std::vector<int>& Own,
                                           const std::vector<int>& Targets, int Reach) {
    std::optional<std::pair<int, int>> Best;
    for (int Target : Targets)
        for (int Line : Own) {
            const int Offset = Target - Line;
            if (std::abs(Offset) > Reach) continue;
            if (!Best || std::abs(Offset) < std::abs(Best->first)) Best = {Offset, Target};
        }
    return Best;
}

} // namespace

TGuideSnap SnapToGuides(const TRect& Moving, const std::vector<TRect>& Others, const TRect& Parent,
                        int Reach) {
    TGuideSnap Snap;
    for (bool Vertical : {true, false}) {
        std::vector<int> Own;
        LinesOf(Moving, Vertical, Own);
        const auto Found = Closest(Own, Targets(Others, Parent, Vertical), Reach);
        if (!Found) continue;
        if (Vertical) {
            Snap.DX = Found->first;
            Snap.GuideX = Found->second;
        } else {
            Snap.DY = Found->first;
            Snap.GuideY = Found->second;
        }
    }
    return Snap;
}

TEdgeSnap SnapEdge(int Value, bool Vertical, const std::vector<TRect>& Others, const TRect& Parent,
                   int Reach) {
    const auto Found = Closest({Value}, Targets(Others, Parent, Vertical), Reach);
    if (!Found) return {Value, std::nullopt};
    return {Found->second, Found->second};
}

} // namespace designer
