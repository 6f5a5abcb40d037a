#include "framework/ui/input/DragObject.h"

#include "framework/ui/controls/Control.h"

namespace folio {

FOLIO_DEFINE_CLASS(TDragObject, TObject)
FOLIO_DEFINE_CLASS(TBaseDragControlObject, TDragObject)
FOLIO_DEFINE_CLASS(TDragControlObject, TBaseDragControlObject)

TCursor TDragObject::GetDragCursor(bool Accepted, int, int) {
    return Accepted ? crDrag : crNoDrop;
}

void TDragObject::Finished(TObject*, int, int, bool) {}

TObject* TBaseDragControlObject::GetSource() {
    return FControl;
}

TCursor TBaseDragControlObject::GetDragCursor(bool Accepted, int, int) {
    return Accepted ? FControl->GetDragCursor() : crNoDrop;
}

} // namespace folio
