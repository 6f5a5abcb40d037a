#pragma once

#include "framework/core/Messages.h"

namespace folio {

/// More messages of the control layer. The numbers not given by the core list
/// sit well apart from it so the two never collide.
enum : unsigned {
    WM_SETTEXT = 0x000C,
    WM_GETTEXT = 0x000D,
    WM_CANCELMODE = 0x001F,
    WM_CONTEXTMENU = 0x007B,
    WM_NCCALCSIZE = 0x0083,
    WM_NCHITTEST = 0x0084,
    WM_SYSKEYDOWN = 0x0104,
    WM_SYSKEYUP = 0x0105,
    WM_CUT = 0x0300,
    WM_COPY = 0x0301,
    WM_PASTE = 0x0302,
    WM_CLEAR = 0x0303,
    CM_TEXTCHANGED = CM_BASE + 118,
    CM_ENTER = CM_BASE + 119,
    CM_EXIT = CM_BASE + 120,
    CM_SHOWHINTCHANGED = CM_BASE + 121,
    CM_PARENTSHOWHINTCHANGED = CM_BASE + 122,
    CM_DIALOGKEY = CM_BASE + 123,
    CM_WANTSPECIALKEY = CM_BASE + 124,
    CM_SHOWINGCHANGED = CM_BASE + 125,
    CM_BORDERCHANGED = CM_BASE + 126,
    CM_INVOKEHELP = CM_BASE + 127,
    CM_CONTROLLISTCHANGE = CM_BASE + 128,
    CM_CHANGED = CM_BASE + 129,
    /// A typed character offered to the form's controls as an accelerator
    /// (WParam: the character; LParam: 1 when Alt is held). A control that
    /// takes it sets Result to 1.
    CM_DIALOGCHAR = CM_BASE + 130,
    /// The form's focused control changed (LParam: the control, or null);
    /// every control on the form hears it.
    CM_FOCUSCHANGED = CM_BASE + 131,
    /// A hint is about to show for the control (LParam: a THintInfo the
    /// control may change). A control that sets Result to non-zero shows none.
    CM_HINTSHOW = CM_BASE + 132,
    /// A press landed outside a control that watches for that
    /// (TInputRouter::WatchPressesOutside); LParam: the control pressed, or
    /// null when the press reached no control. Sent before the pressed
    /// control hears of the press.
    CM_MOUSEDOWNOUTSIDE = CM_BASE + 150,
    /// The system colours changed (another colour scheme). Every control on
    /// every form hears it, parents first; a control that keeps colours
    /// worked out from system colours works them out again. Windows repaint
    /// on their own.
    CM_SYSCOLORCHANGE = CM_BASE + 36,
    /// A child's bounds changed (LParam: the child); sent to its parent, so
    /// that a container whose extent follows its children (a scroll box)
    /// can follow them.
    CM_CHILDBOUNDSCHANGED = CM_BASE + 133,
};

} // namespace folio
