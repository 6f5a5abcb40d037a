#pragma once

namespace folio {

enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
enum class TDragKind { dkDrag, dkDock };
using enum TDragKind;
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
// What a CM_DRAG message asks of its target.
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
