#pragma once

#include "framework/ui/Control.h"
#include "framework/ui/DragObject.h"

namespace folio {

// What a CM_DRAG message carries (LParam points at it).
struct TDragRec {
    TPoint Pos; // screen position of the pointer
    TDragObject* Source = nullptr;
    TControl* Target = nullptr;
    bool Accept = false; // the target's answer
};

// The drag protocol. A drag is pending from BeginDrag(false) until the
// pointer moves the threshold away (a release before that is a plain
// click), then active: every pointer move finds the control under the
// pointer and sends it DragOver (enter when the pointer arrives, move while
// it stays, leave when it goes); the release asks the target a last time
// (leave) and drops when it accepts; Escape cancels. The drag object is
// freed when the drag ends, and the source hears DoEndDrag with the target
// (null when nothing took the drop).
class TDragManager {
public:
    static void BeginDrag(TControl* Control, bool Immediate, int Threshold);
    static void EndDrag(bool Drop);
    static bool Active() { return FActive; }
    static bool Pending() { return FControl && !FActive; }
    static TControl* DragControl() { return FControl; }
    static TDragObject* DragObject() { return FObject; }
    // The cursor of the current drag (crDrag or crNoDrop by the last answer).
    static TCursor Cursor() { return FCursor; }

    // From the input router.
    static void CheckThreshold(TPoint ScreenPos);
    static void CancelPending();
    static void DragTo(TPoint ScreenPos);
    static void Drop(TPoint ScreenPos);

    static void ControlDestroyed(TControl* Control);
    // The CM_DRAG handler of TControl: runs DragOver or DragDrop.
    static void HandleDragMessage(TControl* Target, TMessage& Message);

private:
    static void Start();
    static bool SendDrag(TControl* Target, TDragMessage Kind, TPoint ScreenPos);
    static void Finish(bool Drop, TPoint ScreenPos);

    static TControl* FControl;
    static TDragObject* FObject;
    static TControl* FTarget;
    static bool FActive;
    static bool FAccepted;
    static bool FFinishing;
    static int FThreshold;
    static TPoint FStart;
    static TCursor FCursor;
};

} // namespace folio
