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

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TStartDragEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TCanResizeEvent =
    std::function<void(TObject* Sender, int& NewWidth, int& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent = std::function<void(TObject* Sender, int& MinWidth, int& MinHeight,
                                                   int& MaxWidth, int& MaxHeight)>;
using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Docking is stored and re-published only; its events keep the usual shapes
// with the dock-specific arguments passed as plain objects.
using TDockDropEvent = std::function<void(TObject* Sender, TDragObject* Source, int X, int Y)>;
using TDockOverEvent = std::function<void(TObject* Sender, TDragObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TStartDockEvent = std::function<void(TObject* Sender, TDragObject*& DragObject)>;
using TEndDockEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TUnDockEvent =
    std::function<void(TObject* Sender, TControl* Client, TObject* NewTarget, bool& Allow)>;
using TGetSiteInfoEvent = std::function<void(TObject* Sender, TControl* DockClient,
                                             TRect& InfluenceRect, TPoint MousePos, bool& CanDock)>;

} // namespace folio
