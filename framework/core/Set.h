#pragma once

#include <cstdint>
#include <initializer_list>

namespace folio {

/// A set of enumeration values (at most 64), as the framework's set types:
/// ComponentState, ShiftState, ControlStyle, font styles and the like.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    /// The set of one value.
    constexpr TSet(E Value) : FBits(Bit(Value)) {}
    /// The set of the values listed.
    constexpr TSet(std::initializer_list<E> Values) {
        for (E V : Values) FBits |= Bit(V);
    }

    /// True when Value is in the set.
    constexpr bool Contains(E Value) const { return (FBits & Bit(Value)) != 0; }
    /// True when the set holds no value.
    constexpr bool Empty() const { return FBits == 0; }
    /// Adds Value; answers the set, so that calls chain.
    constexpr TSet& Include(E Value) {
        FBits |= Bit(Value);
        return *this;
    }
    /// Removes Value; answers the set.
    constexpr TSet& Exclude(E Value) {
        FBits &= ~Bit(Value);
        return *this;
    }
    ///@{
    /// The set as bits (value I is bit I), as form files store it, and back.
    constexpr std::uint64_t Bits() const { return FBits; }
    static constexpr TSet FromBits(std::uint64_t Bits) {
        TSet S;
        S.FBits = Bits;
        return S;
    }
    ///@}

    /// The union: the values in either set.
    constexpr TSet operator+(TSet Other) const { return FromBits(FBits | Other.FBits); }
    /// The difference: the values of this set not in Other.
    constexpr TSet operator-(TSet Other) const { return FromBits(FBits & ~Other.FBits); }
    /// The intersection: the values in both sets.
    constexpr TSet operator*(TSet Other) const { return FromBits(FBits & Other.FBits); }
    /// Adds Other's values.
    constexpr TSet& operator+=(TSet Other) {
        FBits |= Other.FBits;
        return *this;
    }
    /// Removes Other's values.
    constexpr TSet& operator-=(TSet Other) {
        FBits &= ~Other.FBits;
        return *this;
    }
    /// True when both hold the same values.
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint64_t Bit(E Value) {
        return std::uint64_t{1} << static_cast<unsigned>(Value);
    }
    std::uint64_t FBits = 0;
};

} // namespace folio
