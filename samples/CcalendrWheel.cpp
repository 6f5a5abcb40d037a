#include "samples/Ccalendr.h"

#include <cstdlib>

namespace folio {

bool TCCalendar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomGrid::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    const int Notches = FWheel.Add(WheelDelta);
    for (int N = 0; N < std::abs(Notches); ++N) {
        if (Notches > 0)
            PrevMonth();
        else
            NextMonth();
    }
    return true;
}

} // namespace folio
