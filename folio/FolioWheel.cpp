#include "folio/Folio.h"

#include <cstdlib>

namespace folio {

// The wheel scrolls the open group one item per notch, as one press of a
// scroll button does, through the same events; it never opens another group.

bool TFolio::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    // Shift turns the wheel sideways, which only a horizontal bar follows.
    if (Shift.Contains(ssShift) && IsVertical()) return false;
    // Turning the wheel away from the user goes back towards the first item.
    return WheelScroll(-WheelDelta, MousePos);
}

bool TFolio::DoMouseHWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseHWheel(Shift, WheelDelta, MousePos)) return true;
    if (IsVertical()) return false;
    return WheelScroll(WheelDelta, MousePos);
}

bool TFolio::WheelScroll(int Delta, TPoint ScreenPos) {
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open) return false;
    // A sliding switch and an open editor keep the items where they are.
    if (FSwitching || FEditing) return true;
    // Where the scroll button that way is hidden the group has nothing more
    // to show: the turn goes on to the parent, as it would without the bar's
    // wheel, and no button event fires that a press could not have fired.
    auto CanStep = [Open, Delta] {
        return Delta > 0 ? Open->GetNextButtonVisible() : Open->GetPrevButtonVisible();
    };
    if (!CanStep()) {
        FWheel.Reset();
        return false;
    }
    const int Notches = FWheel.Add(Delta);
    for (int N = 0; N < std::abs(Notches) && CanStep(); ++N) {
        if (Notches > 0)
            Open->ClickNextButton();
        else
            Open->ClickPrevButton();
        // A button handler may have deleted the group or opened another.
        if (Open != GetVisibleGroupObject()) return true;
    }
    if (Notches == 0) return true;
    // Other items now lie under the resting pointer; the hover follows
    // them as a pointer move would.
    const TPoint P = ScreenToClient(ScreenPos);
    const bool OnButton =
        Open->GetPrevButtonPlace().Contains(P) || Open->GetNextButtonPlace().Contains(P);
    const int Hover =
        OnButton || FGroupPressed || FItemPressed ? FHoverItem : Open->GetOnItem(P.X, P.Y);
    if (Hover != FHoverItem) {
        FHoverItem = Hover;
        Invalidate();
    }
    return true;
}

} // namespace folio
