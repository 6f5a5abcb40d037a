#pragma once

#include "framework/ui/controls/Control.h"

namespace folio {

/// The focus handling of a control that moves a choice with the arrow keys:
/// it asks the dialog for those keys (WM_GETDLGCODE answers DialogCodes) and
/// repaints its focus cue, the rectangle CueRect() gives in client
/// coordinates, when the focus comes or goes (an empty rectangle repaints
/// nothing). Returns true when it answered the message itself; the control
/// passes every other message on as before.
template <class TCueRect>
bool HandleArrowKeyFocus(TControl& Control, TMessage& Message, unsigned DialogCodes,
                         TCueRect&& CueRect) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DialogCodes;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        const TRect R = CueRect();
        if (!R.IsEmpty()) Control.InvalidateRect(R, true);
        return false;
    }
    default:
        return false;
    }
}

} // namespace folio
