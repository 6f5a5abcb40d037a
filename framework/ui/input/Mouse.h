#pragma once

#include "framework/core/Types.h"
#include "framework/ui/app/WindowHandles.h"

namespace folio {

class TControl;

/// The pointer and its settings.
class TMouse {
public:
    ///@{
    /// Where the pointer is, in screen coordinates; the input router keeps it
    /// up to date.
    TPoint GetCursorPos() const { return FCursorPos; }
    void SetCursorPos(TPoint P) { FCursorPos = P; }
    ///@}
    ///@{
    /// The distance the pointer moves before a pending drag starts: the
    /// system's SM_CXDRAG unless set.
    /// In pixels; a negative value (the default) is the system's.
    int GetDragThreshold() const;
    void SetDragThreshold(int Value) { FDragThreshold = Value; }
    ///@}
    /// The window holding the mouse capture, or 0.
    HWND GetCapture() const;
    /// Always true.
    bool GetMousePresent() const { return true; }
    /// How many lines a notch of the wheel scrolls: 3.
    int GetWheelScrollLines() const { return 3; }

private:
    TPoint FCursorPos;
    int FDragThreshold = -1;
};
/// The pointer of the process.
extern TMouse* const Mouse;

///@{
/// The longest time between the two presses of a double click, in
/// milliseconds of the application's clock (500 unless set).
unsigned GetDoubleClickTime();
void SetDoubleClickTime(unsigned Milliseconds);
///@}

/// The pointer's position on the screen.
bool GetCursorPos(TPoint& Point);

/// The window holding the mouse capture, or 0.
HWND GetCapture();
/// The control holding the mouse capture, or null.
TControl* GetCaptureControl();
/// Gives Control the mouse capture (null releases it).
void SetCaptureControl(TControl* Control);

} // namespace folio
