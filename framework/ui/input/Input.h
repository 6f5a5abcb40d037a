#pragma once

#include "framework/core/Clock.h"
#include "framework/ui/controls/WinControl.h"

#include <vector>

namespace folio {

/// Routes a host's screen-level input to controls: finds the window under the
/// pointer in z-order, delivers client coordinates, keeps the mouse with the
/// pressed control until every button is up (and with the capture control
/// while there is one), tells controls when the pointer enters and leaves
/// them, sends keys to the focused window and keeps the cursor to show.
class TInputRouter {
public:
    /// The pointer moved. Pointer events are in screen coordinates;
    /// Modifiers carries ssShift, ssCtrl and ssAlt, and the router adds the
    /// buttons it knows are down.
    void MouseMove(TPoint ScreenPos, TShiftState Modifiers = {});
    /// A button went down. The router decides whether a press is the second of a double click:
    /// the same button on the same control, within the double-click time of
    /// the first press (on the application's clock) and no further from it
    /// than the system's double-click distance. A third press starts afresh.
    void MouseDown(TMouseButton Button, TPoint ScreenPos, TShiftState Modifiers = {});
    /// A button went up: the pressed control (or the capture) hears it, and the
    /// mouse is free again once every button is up.
    void MouseUp(TMouseButton Button, TPoint ScreenPos, TShiftState Modifiers = {});
    /// The pointer left the application's windows (a host's window lost it):
    /// the control under it hears CM_MOUSELEAVE. Ignored while a button is
    /// down, because the pressed control keeps the mouse until release.
    void MouseExit();
    /// Delta in WHEEL_DELTA units per notch; positive turns away from the user.
    /// A wheel that resolves finer than notches sends parts of WHEEL_DELTA.
    /// The turn goes to the control under the pointer, as desktops do, and up
    /// through its parents; when none of them takes it, to the focused
    /// control, as the platform does.
    void MouseWheel(int Delta, TPoint ScreenPos, TShiftState Modifiers = {});
    /// The sideways wheel: positive to the right.
    /// The sideways wheel: positive to the right, routed as MouseWheel.
    void MouseHWheel(int Delta, TPoint ScreenPos, TShiftState Modifiers = {});
    /// A key went down. Keys go to the focused window. Tab moves the focus unless the control
    /// asks for it (WM_GETDLGCODE); Backspace, Tab, Enter and Escape also
    /// produce their characters, as the platform's key translation does.
    void KeyDown(unsigned short Key, TShiftState Modifiers = {});
    /// A key went up, at the focused window.
    void KeyUp(unsigned short Key, TShiftState Modifiers = {});
    /// One typed character (a byte of UTF-8 text).
    ///@{
    void Char(char Ch);
    void Text(const String& Utf8);
    ///@}
    /// The input method's composition changed: shown at the focused
    /// control's caret until it is typed (Text) or dropped (empty).
    void Composition(const String& Utf8, int Cursor);

    /// A control that must know when the user presses elsewhere (an in-place
    /// editor ends its edit then) watches presses: every press on a control
    /// that is not the watcher or inside it, in any of the application's
    /// windows and with any button, first sends the watcher
    /// CM_MOUSEDOWNOUTSIDE. A control stops watching when it is destroyed.
    void WatchPressesOutside(TControl* Watcher);
    /// Stops Watcher watching presses.
    void UnwatchPressesOutside(TControl* Watcher);

    /// Whether the router holds the virtual key Key down.
    bool IsKeyDown(unsigned short Key) const { return Key < 256 && FKeys[Key]; }
    /// Whether the router holds Button down.
    bool IsButtonDown(TMouseButton Button) const;
    /// The control under the pointer (the one that last got CM_MOUSEENTER).
    TControl* GetMouseControl() const { return FMouseControl; }
    /// The control mouse messages currently go to.
    TControl* GetMouseTarget() const;
    /// The shape to show: the drag cursor during a drag, the screen's cursor
    /// when set, else the control's (crArrow when nobody sets one).
    TCursor GetCursor() const;

    ///@{
    /// The window and control at a screen point (null when none).
    TWinControl* FindWindowAt(TPoint ScreenPos) const;
    TControl* FindControlAt(TPoint ScreenPos, bool AllowDisabled = false) const;
    ///@}

    /// Top-level windows in z-order, bottom first.
    const std::vector<TWinControl*>& TopLevels() const { return FTopLevels; }
    /// Puts top-level window W above the others.
    void BringToTop(TWinControl* W);

    /// Bookkeeping from the control layer.
    ///@{
    void TopLevelCreated(TWinControl* W);
    void ControlDestroyed(TControl* C);
    void ControlHidden(TControl* C);
    void WindowDestroyed(TWinControl* W);
    void WindowRecreated(TWinControl* W);
    void LayoutChanged();
    ///@}

    /// The next press begins afresh rather than completing a double click
    /// (a modal form came or went between the two).
    void ForgetFirstPress() { FFirstPress = TFirstPress{}; }

    /// Forgets every pressed button and key (a host lost its windows, a test
    /// starts afresh).
    void Reset();

private:
    void SetModifiers(TShiftState Modifiers);
    unsigned MouseKeys() const;
    void UpdateMouseControl(TPoint ScreenPos);
    void Deliver(TControl* Target, unsigned Msg, TPoint ScreenPos, std::intptr_t ExtraKeys = 0);
    TControl* Target(TPoint ScreenPos) const;
    void DeliverWheel(unsigned Msg, int Delta, TPoint ScreenPos, TShiftState Modifiers);

    // The press a following one may pair with into a double click.
    struct TFirstPress {
        TControl* Control = nullptr;
        TMouseButton Button = mbLeft;
        TPoint Pos;
        TMilliseconds Time = 0;
    };
    bool PairsWithFirstPress(TControl* Target, TMouseButton Button, TPoint ScreenPos,
                             TMilliseconds Now) const;

    /// Tells the watchers outside Target of a press on it.
    void TellPressOutside(TControl* Target);

    TFirstPress FFirstPress;
    std::vector<TControl*> FPressWatchers;
    bool FKeys[256] = {};
    bool FButtons[3] = {};
    TControl* FMouseControl = nullptr;
    TControl* FPressed = nullptr;
    /// A press closed the popups: its buttons go nowhere until all are up.
    bool FSwallowing = false;
    std::vector<TWinControl*> FTopLevels;
};

/// The input router of the process; hosts feed it.
extern TInputRouter* const InputRouter;

/// The keyboard state of a key: the high bit set while it is down.
short GetKeyState(int VirtualKey);

} // namespace folio
