#pragma once

namespace folio {

/// How a control's drag starts (TControl::SetDragMode).
enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
/// Whether a control is dragged or docked (docking is stored only).
enum class TDragKind { dkDrag, dkDock };
using enum TDragKind;
/// Where a drag stands against the control asked: arriving, leaving, or
/// moving over it.
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
/// What a CM_DRAG message asks of its target.
enum class TDragMessage {
    dmDragEnter,
    dmDragLeave,
    dmDragMove,
    dmDragDrop,
    dmDragCancel,
    dmFindTarget
};
using enum TDragMessage;

} // namespace folio
