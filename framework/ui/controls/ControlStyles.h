#pragma once

#include "framework/core/Set.h"
#include "framework/core/Types.h"

namespace folio {

/// Where a control docks inside its parent's client area (TControl::SetAlign):
/// nowhere, to an edge, or filling what the docked ones leave.
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
using enum TAlign;

/// An edge of the parent a control keeps its distance to (TControl::SetAnchors).
enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
/// The edges a control is anchored to.
using TAnchors = TSet<TAnchorKind>;

/// What a kind of control is and how it takes part in input and painting.
enum class TControlStyleFlag {
    /// Other controls can be put on it (in the designer too).
    csAcceptsControls,
    /// A press keeps the mouse with it until released.
    csCaptureMouse,
    csDesignInteractive,
    /// A left press and release inside it fires OnClick.
    csClickEvents,
    /// Gets a border or a sunken edge from its 3-D look.
    csFramed,
    /// Dropped by the designer, it shows its Name as its Caption.
    csSetCaption,
    /// Paints all of its area: nothing behind it is erased.
    csOpaque,
    /// Two quick clicks make a double click, not two clicks.
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
/// The style flags of a kind of control.
using TControlStyle = TSet<TControlStyleFlag>;

/// Transient state a control keeps while handling input.
enum class TControlStateFlag {
    csLButtonDown,
    csClicked,
    csPalette,
    csReadingState,
    csFocusing,
    csCreating,
    csAlignmentNeeded
};
/// The state flags a control holds now.
using TControlState = TSet<TControlStateFlag>;

/// The reading order and alignment of a control's text (TControl::SetBiDiMode).
enum class TBiDiMode {
    bdLeftToRight,
    /// Read right to left, aligned right, scroll bar left.
    bdRightToLeft,
    /// Read right to left, scroll bar left, alignment kept.
    bdRightToLeftNoAlign,
    /// Read right to left; alignment and scroll bar kept.
    bdRightToLeftReadingOnly
};
using enum TBiDiMode;

/// The system colours the control layer starts controls with (the colour
/// table proper lives with the graphics layer): the window background,
/// every control's default Color.
constexpr TColor SysColorWindow = static_cast<TColor>(0x80000005u);
/// The face of buttons and dialogs, a form's default Color.
constexpr TColor SysColorBtnFace = static_cast<TColor>(0x8000000Fu);

} // namespace folio
