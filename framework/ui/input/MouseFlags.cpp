#include "framework/ui/input/MouseFlags.h"

#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"

namespace folio {

TShiftState KeysToShiftState(unsigned Keys) {
    TShiftState S;
    if (Keys & MK_SHIFT) S.Include(ssShift);
    if (Keys & MK_CONTROL) S.Include(ssCtrl);
    if (Keys & MK_LBUTTON) S.Include(ssLeft);
    if (Keys & MK_RBUTTON) S.Include(ssRight);
    if (Keys & MK_MBUTTON) S.Include(ssMiddle);
    if (InputRouter->IsKeyDown(VK_MENU)) S.Include(ssAlt);
    return S;
}

unsigned ShiftStateToKeys(TShiftState Shift) {
    unsigned K = 0;
    if (Shift.Contains(ssShift)) K |= MK_SHIFT;
    if (Shift.Contains(ssCtrl)) K |= MK_CONTROL;
    if (Shift.Contains(ssLeft)) K |= MK_LBUTTON;
    if (Shift.Contains(ssRight)) K |= MK_RBUTTON;
    if (Shift.Contains(ssMiddle)) K |= MK_MBUTTON;
    return K;
}

} // namespace folio
