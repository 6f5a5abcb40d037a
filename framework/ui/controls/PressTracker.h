#pragma once

#include "framework/ui/controls/WinControl.h"

namespace folio {

/// Whether a push-style control is held down: by the left mouse button with
/// the pointer still over it, or by the space bar. Each step answers whether
/// the held look changed, so that a control repaints only then. Buttons,
/// check boxes, radio buttons, speed buttons and tool buttons share it.
class TPressTracker {
public:
    /// Whether the control looks held: the left button down with the pointer
    /// over it, or the space bar down.
    bool IsPressed() const { return (FMouseDown && FMouseInside) || FSpaceDown; }
    /// The left button went down on the control and is not up yet.
    bool IsMouseDown() const { return FMouseDown; }
    /// The space bar went down on the control and is not up yet.
    bool IsSpaceDown() const { return FSpaceDown; }

    /// The left button went down on the control.
    bool MouseDown() { return Set(true, true, FSpaceDown); }
    /// The pointer moved; it matters only while the button is down.
    bool MouseMove(bool Inside) { return FMouseDown && Set(true, Inside, FSpaceDown); }
    /// The left button went up.
    bool MouseUp() { return Set(false, false, FSpaceDown); }
    ///@{
    /// The space bar went down or up.
    bool SpaceDown() { return Set(FMouseDown, FMouseInside, true); }
    bool SpaceUp() { return Set(FMouseDown, FMouseInside, false); }
    ///@}
    /// The control lost the focus or the mouse: nothing holds it now.
    bool Cancel() { return Set(false, false, false); }

private:
    bool Set(bool MouseDown, bool MouseInside, bool SpaceDown) {
        const bool Was = IsPressed();
        FMouseDown = MouseDown;
        FMouseInside = MouseInside;
        FSpaceDown = SpaceDown;
        return IsPressed() != Was;
    }

    bool FMouseDown = false;
    bool FMouseInside = false;
    bool FSpaceDown = false;
};

/// A left press on a push-style control: it takes the focus when it can and
/// is held. Answers whether the held look changed.
inline bool HoldOnMouseDown(TWinControl& Control, TPressTracker& Press, TMouseButton Button) {
    if (Button != mbLeft) return false;
    if (Control.CanFocus() && !Control.Focused()) Control.SetFocus();
    return Press.MouseDown();
}

/// The pointer at (X, Y) while a press holds Control: pressed only while it
/// is over the control. Answers whether the held look changed.
inline bool FollowPointer(const TControl& Control, TPressTracker& Press, int X, int Y) {
    return Press.MouseMove(Control.GetClientRect().Contains(Point(X, Y)));
}

} // namespace folio
