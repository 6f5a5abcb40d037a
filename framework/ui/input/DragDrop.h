#pragma once

#include "framework/ui/controls/Control.h"
#include "framework/ui/input/DragObject.h"

#include <vector>

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
// (leave) and drops when it accepts; Escape cancels. When the drag ends,
// every control it passed over that did not take the drop hears
// DragCanceled, so that none keeps showing what it showed for the drag; the
// drag object is freed, and the source hears DoEndDrag with the target (null
// when nothing took the drop).
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
    // The CM_DRAG handler of TControl: runs DragOver, DragDrop or DragCanceled.
    static void HandleDragMessage(TControl* Target, TMessage& Message);

private:
    static void Start();
    static bool SendDrag(TControl* Target, TDragMessage Kind, TPoint ScreenPos);
    static void Deliver(TControl* Target, TDragMessage Kind, TDragRec& Rec);
    static void Finish(bool Drop, TPoint ScreenPos);
    // Sends DragCanceled to every control the drag passed over but Keep.
    static void CancelVisited(TControl* Keep);
    // Forgets the running drag's target, object and the controls it passed
    // over (the object is not freed here).
    static void Reset();
    // Frees a drag object, or, while a drag handler runs (one may end the
    // drag from inside DragOver), once the outermost handler has returned.
    static void Release(TDragObject* Object);
    static void FreeRetired();

    static TControl* FControl;
    static TDragObject* FObject;
    static TControl* FTarget;
    static bool FActive;
    static bool FAccepted;
    static bool FFinishing;
    static int FThreshold;
    static TPoint FStart;
    static TCursor FCursor;
    // The controls the running drag has been over, in the order it met them.
    static std::vector<TControl*> FVisited;
    // How many drag handlers run now, and the objects waiting for them.
    static int FSending;
    static std::vector<TDragObject*> FRetired;
};

} // namespace folio
