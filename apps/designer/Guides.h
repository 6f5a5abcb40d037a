#pragma once

#include "framework/core/Types.h"

#include <optional>
#include <vector>

namespace designer {

using folio::TRect;

// Where a control being moved lines up with its neighbours: the offsets
// that bring its nearest edge or centre onto a neighbour's (or the
// parent's) within Reach pixels, and the lines to draw for them.
struct TGuideSnap {
    int DX = 0;
    int DY = 0;
    // The vertical guide's x and the horizontal guide's y, in the parent's
    // client coordinates, when the control snapped on that axis.
    std::optional<int> GuideX;
    std::optional<int> GuideY;
};

// Moving is the control's bounds where the pointer puts it; Others are its
// neighbours' bounds and Parent the parent's client rectangle, all in the
// parent's client coordinates. On each axis the edges (left, centre, right;
// top, middle, bottom) of Moving are compared with the same kinds of lines
// of the others and the parent; the closest within Reach wins, the first
// of equals.
TGuideSnap SnapToGuides(const TRect& Moving, const std::vector<TRect>& Others, const TRect& Parent,
                        int Reach);

// The same for one edge being dragged (a handle): Value snaps to the
// nearest line of the others or the parent on that axis within Reach.
struct TEdgeSnap {
    int Value = 0;
    std::optional<int> Guide;
};
TEdgeSnap SnapEdge(int Value, bool Vertical, const std::vector<TRect>& Others, const TRect& Parent,
                   int Reach);

} // namespace designer
