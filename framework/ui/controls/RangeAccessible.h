#pragma once

#include "framework/ui/controls/Accessible.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace folio {

/// The accessible object of a control that holds a whole number in a range
/// (a progress bar, a track bar, a spin edit): its value as text and its
/// range, settable by the user when the control has a setter (Set) and is
/// enabled, kept in range.
template <class T, int (T::*Min)() const, int (T::*Max)() const, int (T::*Get)() const,
          void (T::*Set)(int) = nullptr>
class TRangeAccessible : public TControlAccessible {
public:
    /// The accessible object of control C (a T), reporting the given role.
    TRangeAccessible(TControl* C, TAccRole Role) : TControlAccessible(C, Role) {}
    /// The value, in decimal digits.
    String GetValue() const override { return std::to_string((Control()->*Get)()); }
    /// Fills Range with the control's minimum, maximum and value, in steps of 1;
    /// always true.
    bool GetRange(TAccRange& Range) const override {
        const T* C = Control();
        Range = {double((C->*Min)()), double((C->*Max)()), double((C->*Get)()), 1};
        return true;
    }
    /// Sets the value, rounded and held within the range; false when the
    /// control has no setter or is disabled.
    bool SetRangeValue(double Value) override {
        if constexpr (Set == nullptr) {
            return false;
        } else {
            if (!FControl->GetEnabled()) return false;
            T* C = Control();
            const double Kept = std::clamp(Value, double((C->*Min)()), double((C->*Max)()));
            (C->*Set)(static_cast<int>(std::lround(Kept)));
            return true;
        }
    }

    /// A factory for TAccessibleRegistration.
    static std::unique_ptr<TAccessible> Create(TControl* C, TAccRole Role) {
        return std::make_unique<TRangeAccessible>(C, Role);
    }

private:
    T* Control() const { return static_cast<T*>(FControl); }
};

} // namespace folio
