#pragma once

#include "framework/ui/controls/Control.h"
#include "framework/ui/input/DragObject.h"

#include <vector>

namespace folio {

/// What a CM_DRAG message carries (LParam points at it).
struct TDragRec {
    /// The pointer, in screen coordinates.
    TPoint Pos; // screen position of the pointer
    /// The drag object.
    TDragObject* Source = nullptr;
    /// The control asked.
    TControl* Target = nullptr;
    /// The target's answer: whether it takes a drop here.
    bool Accept = false; // the target's answer
};

/// The drag protocol. A drag is pending from BeginDrag(false) until the
/// pointer moves the threshold away (a release before that is a plain
/// click), then active: every pointer move finds the control under the
/// pointer and sends it DragOver (enter when the pointer arrives, move while
/// it stays, leave when it goes); the release asks the target a last time
/// (leave) and drops when it accepts; Escape cancels. When the drag ends,
/// every control it passed over that did not take the drop hears
/// DragCanceled, so that none keeps showing what it showed for the drag; the
/// drag object is freed, and the source hears DoEndDrag with the target (null
/// when nothing took the drop). The application owns the one drag manager
/// (Application->GetDragManager()).
class TDragManager {
public:
    TDragManager() = default;
    ~TDragManager();
    TDragManager(const TDragManager&) = delete;
    TDragManager& operator=(const TDragManager&) = delete;

    /// Starts dragging Control: at once when Immediate, otherwise pending until
    /// the pointer moves Threshold pixels away; nothing while another drag
    /// runs. TControl::BeginDrag calls it.
    void BeginDrag(TControl* Control, bool Immediate, int Threshold);
    /// Ends the drag: a pending one is forgotten; an active one drops where the
    /// pointer is (if the target accepts) or is cancelled.
    void EndDrag(bool Drop);
    /// Whether a drag is under way (past its threshold).
    bool Active() const { return FActive; }
    /// Whether a drag waits for the pointer to move its threshold away.
    bool Pending() const { return FControl && !FActive; }
    /// The control being dragged (pending or active), or null.
    TControl* DragControl() const { return FControl; }
    /// The object of the active drag, or null.
    TDragObject* DragObject() const { return FObject; }
    /// The cursor of the current drag (crDrag or crNoDrop by the last answer).
    TCursor Cursor() const { return FCursor; }

    ///@{
    /// From the input router.
    void CheckThreshold(TPoint ScreenPos);
    void CancelPending();
    void DragTo(TPoint ScreenPos);
    void Drop(TPoint ScreenPos);

    void ControlDestroyed(TControl* Control);
    ///@}
    /// The CM_DRAG handler of TControl: runs DragOver, DragDrop or DragCanceled.
    static void HandleDragMessage(TControl* Target, TMessage& Message);

private:
    void Start();
    bool SendDrag(TControl* Target, TDragMessage Kind, TPoint ScreenPos);
    void Deliver(TControl* Target, TDragMessage Kind, TDragRec& Rec);
    void Finish(bool Drop, TPoint ScreenPos);
    // Sends DragCanceled to every control the drag passed over but Keep.
    void CancelVisited(TControl* Keep);
    // Forgets the running drag's target, object and the controls it passed
    // over (the object is not freed here).
    void Reset();
    // Frees a drag object, or, while a drag handler runs (one may end the
    // drag from inside DragOver), once the outermost handler has returned.
    void Release(TDragObject* Object);
    void FreeRetired();

    TControl* FControl = nullptr;
    TDragObject* FObject = nullptr;
    TControl* FTarget = nullptr;
    bool FActive = false;
    bool FAccepted = false;
    bool FFinishing = false;
    int FThreshold = 0;
    TPoint FStart;
    TCursor FCursor = crNoDrop;
    // The controls the running drag has been over, in the order it met them.
    std::vector<TControl*> FVisited;
    // How many drag handlers run now, and the objects waiting for them.
    int FSending = 0;
    std::vector<TDragObject*> FRetired;
};

} // namespace folio
