#pragma once

#include "framework/ui/input/MouseFlags.h"

namespace folio {

/// Adds up the turns of a wheel that reports parts of a notch (a touchpad or
/// a free-spinning wheel), so a control that steps once per notch steps once
/// per WHEEL_DELTA whatever the wheel's resolution. Turning back starts
/// afresh, so a reversal acts at once instead of first paying off the rest.
class TWheelNotches {
public:
    /// The whole notches that Delta completes, signed as Delta is.
    int Add(int Delta) {
        if (FRest != 0 && (FRest > 0) != (Delta > 0)) FRest = 0;
        FRest += Delta;
        const int Notches = FRest / WHEEL_DELTA;
        FRest -= Notches * WHEEL_DELTA;
        return Notches;
    }
    /// Forgets the part of a notch added up so far.
    void Reset() { FRest = 0; }

private:
    int FRest = 0;
};

} // namespace folio
