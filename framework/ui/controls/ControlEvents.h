#pragma once

#include "framework/core/Types.h"
#include "framework/ui/forms/FormTypes.h"
#include "framework/ui/input/DragTypes.h"
#include "framework/ui/input/MouseFlags.h"

#include <functional>

namespace folio {

class TObject;
class TControl;
class TDragObject;

/// A plain event: Sender is the object it happened to.
using TNotifyEvent = std::function<void(TObject* Sender)>;
/// A mouse button went down or up at X, Y (Sender's client coordinates),
/// with Shift the keys and buttons held.
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
/// The pointer moved to X, Y (Sender's client coordinates).
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
/// A key went down or up: Key is a virtual key code (VK_...); a handler
/// that sets it to 0 keeps the control from handling it.
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
/// A character was typed; a handler may change Key, or set it to 0 to drop it.
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
/// Source is dragged over Sender at X, Y (client coordinates): entering,
/// moving or leaving; the handler sets Accept to take a drop there.
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
/// Source was dropped on Sender at X, Y (client coordinates).
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
/// A drag of Sender starts; the handler may hand over its own drag object.
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
/// A drag of Sender ended on Target (null: not dropped) at X, Y.
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
/// The wheel turned by WheelDelta (120 a notch, positive away from the
/// user) with the pointer at MousePos (screen coordinates); Handled true
/// stops the default handling.
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
/// The wheel turned one way; Handled true stops the default handling.
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
/// Before Sender is sized: the handler may change the new size, or set
/// Resize false to keep the old one.
using TCanResizeEvent =
    std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
/// Before Sender is sized: the handler may narrow the size limits (0 is no
/// limit) for this change.
using TConstrainedResizeEvent = std::function<void(TObject* Sender, int& MinWidth, int& MinHeight,
                                                   int& MaxWidth, int& MaxHeight)>;
/// A form is closing; the handler picks what becomes of it (Action).
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
/// A form is asked whether it may close; CanClose false keeps it open.
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

/// Docking is stored and re-published only; its events keep the usual shapes
/// with the dock-specific arguments passed as plain objects. Never fired.
using TDockDropEvent = std::function<void(TObject* Sender, TDragObject* Source, int X, int Y)>;
/// Docking: stored and published, never fired.
using TDockOverEvent = std::function<void(TObject* Sender, TDragObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
/// Docking: stored and published, never fired.
using TStartDockEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
/// Docking: stored and published, never fired.
using TEndDockEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
/// Docking: stored and published, never fired.
using TUnDockEvent =
    std::function<void(TObject* Sender, TControl* Client, TObject* NewTarget, bool& Allow)>;
/// Docking: stored and published, never fired.
using TGetSiteInfoEvent = std::function<void(TObject* Sender, TControl* DockClient,
                                             TRect& InfluenceRect, TPoint MousePos, bool& CanDock)>;

} // namespace folio
