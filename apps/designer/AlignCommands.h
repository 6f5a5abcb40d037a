#pragma once

#include "framework/core/Types.h"

#include <cstddef>
#include <vector>

namespace designer {

using folio::String;
using folio::TRect;

// The align and size commands on several controls of one parent.
enum class TAlignCommand {
    acLefts,       // left edges on the reference's
    acCentres,     // horizontal centres on the reference's
    acRights,      // right edges on the reference's
    acTops,        // top edges on the reference's
    acMiddles,     // vertical centres on the reference's
    acBottoms,     // bottom edges on the reference's
    acSameWidth,   // the reference's width
    acSameHeight,  // the reference's height
    acSpaceAcross, // equal gaps from the leftmost to the rightmost
    acSpaceDown,   // equal gaps from the topmost to the bottommost
};
using enum TAlignCommand;

struct TAlignCommandName {
    TAlignCommand Command;
    const char* Caption;
};
// The commands with their menu captions, in menu order.
extern const TAlignCommandName AlignCommandNames[10];

// The bounds Command gives the controls whose bounds are Bounds, lined up
// on Bounds[Reference] (the current one of the selection). Spacing keeps
// the two outermost controls where they are and needs three controls;
// fewer come back unchanged, as do all for a Reference out of range.
std::vector<TRect> AlignedBounds(const std::vector<TRect>& Bounds, std::size_t Reference,
                                 TAlignCommand Command);

} // namespace designer
