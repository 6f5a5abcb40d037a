#pragma once

#include "framework/core/Set.h"
#include "framework/core/Types.h"

#include <cstdint>

namespace folio {

/// A mouse button.
enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

/// The modifier keys and mouse buttons held during an input event.
enum class TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using enum TShiftStateFlag;
/// The modifier keys and buttons held; ssDouble marks the second press of
/// a double click.
using TShiftState = TSet<TShiftStateFlag>;

/// Key and button flags in the WParam of mouse messages.
enum : unsigned {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
    MK_MBUTTON = 0x0010,
};

///@{
/// Conversions between shift states and the flags of mouse messages.
TShiftState KeysToShiftState(unsigned Keys);
unsigned ShiftStateToKeys(TShiftState Shift);
///@}

///@{
/// Mouse messages carry the point in LParam as two signed 16-bit halves:
/// these pack and unpack it.
constexpr std::intptr_t MAKELPARAM(int Low, int High) {
    return static_cast<std::intptr_t>(
        static_cast<std::uint32_t>((Low & 0xFFFF) | ((High & 0xFFFF) << 16)));
}
constexpr int GET_X_LPARAM(std::intptr_t LParam) {
    return static_cast<short>(static_cast<std::uint32_t>(LParam) & 0xFFFF);
}
constexpr int GET_Y_LPARAM(std::intptr_t LParam) {
    return static_cast<short>((static_cast<std::uint32_t>(LParam) >> 16) & 0xFFFF);
}
constexpr std::intptr_t PointToLParam(TPoint P) {
    return MAKELPARAM(P.X, P.Y);
}
constexpr TPoint LParamToPoint(std::intptr_t LParam) {
    return TPoint{GET_X_LPARAM(LParam), GET_Y_LPARAM(LParam)};
}
///@}
///@{
/// A wheel message carries the signed delta in the high half of WParam and
/// the MK_ flags in the low half.
constexpr int GET_WHEEL_DELTA_WPARAM(std::intptr_t WParam) {
    return static_cast<short>((static_cast<std::uint32_t>(WParam) >> 16) & 0xFFFF);
}
constexpr unsigned GET_KEYSTATE_WPARAM(std::intptr_t WParam) {
    return static_cast<unsigned>(WParam) & 0xFFFF;
}
///@}
/// The wheel delta of one notch.
constexpr int WHEEL_DELTA = 120;

} // namespace folio
