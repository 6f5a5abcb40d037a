#pragma once

#include "framework/core/Object.h"
#include "framework/core/Types.h"
#include "framework/ui/controls/Cursors.h"

namespace folio {

class TControl;

/// What is being dragged. The framework frees the object once the drag has
/// ended, whether it was dropped or cancelled, so a control that creates one
/// in DoStartDrag never frees it itself.
class TDragObject : public TObject {
    FOLIO_CLASS(TDragObject)
public:
    /// An object for a drag that stands for itself (see TBaseDragControlObject
    /// for one that stands for a control).
    TDragObject() = default;

    /// The cursor shown while over a target: the drag cursor where the target
    /// accepts, the no-drop cursor where it refuses.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    /// Called once when the drag ends; Target is null when nothing accepted it.
    virtual void Finished(TObject* Target, int X, int Y, bool Accepted);
    /// What DragOver and DragDrop receive as Source: the object itself, or the
    /// control for a control drag object.
    virtual TObject* GetSource() { return this; }

    /// The pointer at the last step of the drag, in screen coordinates.
    TPoint GetDragPos() const { return FDragPos; }
    /// The control the drag is over now, or null.
    TControl* GetDragTarget() const { return FDragTarget; }
    /// The pointer at the last step, in the target's client coordinates.
    TPoint GetDragTargetPos() const { return FDragTargetPos; }
    /// Whether the drag is ending by a cancel (Escape, EndDrag(false)) rather
    /// than a release that offers a drop; set before Finished runs.
    bool GetCancelling() const { return FCancelling; }

private:
    friend class TDragManager;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    TPoint FDragTargetPos;
    bool FCancelling = false;
};

/// A drag object that stands for a control; DragOver and DragDrop see the
/// control as Source.
class TBaseDragControlObject : public TDragObject {
    FOLIO_CLASS(TBaseDragControlObject)
public:
    /// An object that stands for AControl.
    explicit TBaseDragControlObject(TControl* AControl) : FControl(AControl) {}
    /// The control dragged.
    TControl* GetControl() const { return FControl; }
    /// The control, as DragOver and DragDrop see it.
    TObject* GetSource() override;
    /// The control's DragCursor where the target accepts, crNoDrop elsewhere.
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;

private:
    TControl* FControl;
};

/// The object a drag uses when DoStartDrag supplies none.
class TDragControlObject : public TBaseDragControlObject {
    FOLIO_CLASS(TDragControlObject)
public:
    /// An object that stands for AControl.
    using TBaseDragControlObject::TBaseDragControlObject;
};

} // namespace folio
