#pragma once

#include "framework/core/Types.h"
#include "framework/ui/app/WindowHandles.h"

namespace folio {

class TControl;

// The pointer and its settings.
class TMouse {
public:
    TPoint GetCursorPos() const { return FCursorPos; }
    void SetCursorPos(TPoint P) { FCursorPos = P; }
    // The distance the pointer moves before a pending drag starts: the
    // system's SM_CXDRAG unless set.
    int GetDragThreshold() const;
    void SetDragThreshold(int Value) { FDragThreshold = Value; }
    HWND GetCapture() const;
    bool GetMousePresent() const { return true; }
    int GetWheelScrollLines() const { return 3; }

private:
    TPoint FCursorPos;
    int FDragThreshold = -1;
};
extern TMouse* const Mouse;

// The longest time between the two presses of a double click, in
// milliseconds of the application's clock (500 unless set).
unsigned GetDoubleClickTime();
void SetDoubleClickTime(unsigned Milliseconds);

// The pointer's position on the screen.
bool GetCursorPos(TPoint& Point);

// The window holding the mouse capture, or 0.
HWND GetCapture();
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

} // namespace folio
