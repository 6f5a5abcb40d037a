#include "AlignCommands.h"

#include <algorithm>
#include <numeric>

namespace designer {

const TAlignCommandName AlignCommandNames[10] = {
    {acLefts, "Align lefts"},
    {acCentres, "Align centres"},
    {acRights, "Align rights"},
    {acTops, "Align tops"},
    {acMiddles, "Align middles"},
    {acBottoms, "Align bottoms"},
    {acSameWidth, "Same width"},
    {acSameHeight, "Same height"},
    {acSpaceAcross, "Space evenly across"},
    {acSpaceDown, "Space evenly down"},
};

namespace {

TRect MovedTo(const TRect& R, int Left, int Top) {
    return {Left, Top, Left + R.Width(), Top + R.Height()};
}

// Equal gaps between the controls in the order of their starts along one
// axis: the first and the last stay, the rest take their turn between.
std::vector<TRect> Spaced(std::vector<TRect> Bounds, bool Across) {
    if (Bounds.size() < 3) return Bounds;
    std::vector<std::size_t> Order(Bounds.size());
    std::iota(Order.begin(), Order.end(), std::size_t{0});
    const auto Start = [&](std::size_t I) { return Across ? Bounds[I].Left : Bounds[I].Top; };
    const auto Size = [&](std::size_t I) {
        return Across ? Bounds[I].Width() : Bounds[I].Height();
    };
    std::stable_sort(Order.begin(), Order.end(),
                     [&](std::size_t A, std::size_t B) { return Start(A) < Start(B); });
    const std::size_t Last = Order.back();
    long long Used = 0;
    for (std::size_t I : Order) Used += Size(I);
    const long long First = Start(Order.front());
    const long long Free = Start(Last) + Size(Last) - First - Used;
    const long long Gaps = static_cast<long long>(Order.size()) - 1;
    // The K-th gap ends at K/Gaps of the free room (rounded down), so the
    // gaps differ by a pixel at most and the last ends where it did.
    const auto FloorDiv = [](long long A, long long B) { return A / B - (A % B < 0 ? 1 : 0); };
    long long Sizes = Size(Order.front());
    for (std::size_t K = 1; K + 1 < Order.size(); ++K) {
        const int At =
            static_cast<int>(First + Sizes + FloorDiv(Free * static_cast<long long>(K), Gaps));
        TRect& R = Bounds[Order[K]];
        R = Across ? MovedTo(R, At, R.Top) : MovedTo(R, R.Left, At);
        Sizes += Size(Order[K]);
    }
    return Bounds;
}

} // namespace

std::vector<TRect> AlignedBounds(const std::vector<TRect>& Bounds, std::size_t Reference,
                                 TAlignCommand Command) {
    if (Reference >= Bounds.size()) return Bounds;
    if (Command == acSpaceAcross || Command == acSpaceDown)
        return Spaced(Bounds, Command == acSpaceAcross);
    const TRect Ref = Bounds[Reference];
    std::vector<TRect> Result = Bounds;
    for (TRect& R : Result) {
        switch (Command) {
        case acLefts:
            R = MovedTo(R, Ref.Left, R.Top);
            break;
        case acCentres:
            R = MovedTo(R, Ref.Left + (Ref.Width() - R.Width()) / 2, R.Top);
            break;
        case acRights:
            R = MovedTo(R, Ref.Right - R.Width(), R.Top);
            break;
        case acTops:
            R = MovedTo(R, R.Left, Ref.Top);
            break;
        case acMiddles:
            R = MovedTo(R, R.Left, Ref.Top + (Ref.Height() - R.Height()) / 2);
            break;
        case acBottoms:
            R = MovedTo(R, R.Left, Ref.Bottom - R.Height());
            break;
        case acSameWidth:
            R.Right = R.Left + Ref.Width();
            break;
        case acSameHeight:
            R.Bottom = R.Top + Ref.Height();
            break;
        case acSpaceAcross:
        case acSpaceDown:
            break;
        }
    }
    return Result;
}

} // namespace designer
