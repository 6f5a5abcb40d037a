#include "framework/ui/input/Mouse.h"

#include "framework/gfx/SystemMetrics.h"

namespace folio {

namespace {
TMouse TheMouse;
unsigned DoubleClickTime = 500;
} // namespace

TMouse* const Mouse = &TheMouse;

int TMouse::GetDragThreshold() const {
    if (FDragThreshold >= 0) return FDragThreshold;
    const int System = GetSystemMetrics(SM_CXDRAG);
    return System > 0 ? System : 4;
}

HWND TMouse::GetCapture() const {
    return folio::GetCapture();
}

unsigned GetDoubleClickTime() {
    return DoubleClickTime;
}

void SetDoubleClickTime(unsigned Milliseconds) {
    DoubleClickTime = Milliseconds;
}

bool GetCursorPos(TPoint& Point) {
    Point = Mouse->GetCursorPos();
    return true;
}

} // namespace folio
