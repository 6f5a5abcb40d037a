#pragma once

#include "framework/core/Set.h"
#include "framework/core/Types.h"

namespace folio {

// Alignment of a control inside its parent's client area.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
using TAnchors = TSet<TAnchorKind>;

// What a kind of control is and how it takes part in input and painting.
enum class TControlStyleFlag {
    csAcceptsControls,
    csCaptureMouse,
    csDesignInteractive,
    csClickEvents,
    csFramed,
    csSetCaption,
    csOpaque,
    csDoubleClicks,
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents,
    csDisplayDragImage,
    csReflector,
    csActionClient,
    csMenuEvents,
};
using enum TControlStyleFlag;
using TControlStyle = TSet<TControlStyleFlag>;

// Transient state a control keeps while handling input.
enum class TControlStateFlag {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csFocusing,
    csCreating,
    csAlignmentNeeded
};
using TControlState = TSet<TControlStateFlag>;

enum class TBiDiMode {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
using enum TBiDiMode;

// The system colours the control layer starts controls with (the colour
// table proper lives with the graphics layer).
constexpr TColor SysColorWindow = static_cast<TColor>(0x80000005u);
constexpr TColor SysColorBtnFace = static_cast<TColor>(0x8000000Fu);

} // namespace folio
