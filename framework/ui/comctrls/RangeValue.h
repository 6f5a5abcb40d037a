#pragma once

#include <algorithm>

namespace folio {

/// The Min, Max and Position of a control that shows or picks a whole
/// number in a range (progress bar, track bar, spin edit). The range is
/// never empty the wrong way round and the position stays inside it: the
/// program's setters move the other bound out of the way (the last value set
/// wins), while a form being read may give the three in any order, so its
/// values are taken as they are and Settle puts them in order once all are
/// read: a Max below Min rises to Min, a Position outside comes in.
struct TRangeValue {
    /// The least value; 0 by default.
    int Min = 0;
    /// The greatest value; 100 by default.
    int Max = 100;
    /// The value, Min to Max once settled; 0 by default.
    int Position = 0;

    /// Set one value; when not Loading, the other bound and Position move
    /// to keep the range in order. Each answers whether anything changed.
    ///@{
    bool SetMin(int Value, bool Loading) {
        const TRangeValue Was = *this;
        Min = Value;
        if (!Loading) {
            Max = std::max(Max, Min);
            Position = std::clamp(Position, Min, Max);
        }
        return Changed(Was);
    }
    bool SetMax(int Value, bool Loading) {
        const TRangeValue Was = *this;
        Max = Value;
        if (!Loading) {
            Min = std::min(Min, Max);
            Position = std::clamp(Position, Min, Max);
        }
        return Changed(Was);
    }
    bool SetPosition(int Value, bool Loading) {
        const int Was = Position;
        Position = Loading ? Value : std::clamp(Value, Min, Max);
        return Position != Was;
    }
    ///@}
    /// Puts values read from a form in order: a Max below Min rises to Min and
    /// Position comes inside.
    void Settle() {
        Max = std::max(Max, Min);
        Position = std::clamp(Position, Min, Max);
    }
    /// How far Position lies from Min, as a share of Length (0 to Length).
    int Offset(int Length) const {
        if (Max <= Min) return 0;
        return static_cast<int>(static_cast<long long>(Position - Min) * Length /
                                (static_cast<long long>(Max) - Min));
    }
    /// The position nearest a place Along pixels into Length.
    int At(int Along, int Length) const {
        if (Length <= 0 || Max <= Min) return Min;
        const long long Span = static_cast<long long>(Max) - Min;
        const long long Kept = std::clamp(Along, 0, Length);
        return static_cast<int>(Min + (Kept * Span + Length / 2) / Length);
    }

private:
    bool Changed(const TRangeValue& Was) const {
        return Was.Min != Min || Was.Max != Max || Was.Position != Position;
    }
};

} // namespace folio
