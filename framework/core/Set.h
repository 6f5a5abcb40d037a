#pragma once

#include <cstdint>
#include <initializer_list>

namespace folio {

// A set of enumeration values (at most 64), as the framework's set types:
// ComponentState, ShiftState, ControlStyle, font styles and the like.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(E Value) : FBits(Bit(Value)) {}
    constexpr TSet(std::initializer_list<E> Values) {
        for (E V : Values) FBits |= Bit(V);
    }

    constexpr bool Contains(E Value) const { return (FBits & Bit(Value)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr TSet& Include(E Value) {
        FBits |= Bit(Value);
        return *this;
    }
    constexpr TSet& Exclude(E Value) {
        FBits &= ~Bit(Value);
        return *this;
    }
    constexpr std::uint64_t Bits() const { return FBits; }
    static constexpr TSet FromBits(std::uint64_t Bits) {
        TSet S;
        S.FBits = Bits;
        return S;
    }

    constexpr TSet operator+(TSet Other) const { return FromBits(FBits | Other.FBits); }
    constexpr TSet operator-(TSet Other) const { return FromBits(FBits & ~Other.FBits); }
    constexpr TSet operator*(TSet Other) const { return FromBits(FBits & Other.FBits); }
    constexpr TSet& operator+=(TSet Other) {
        FBits |= Other.FBits;
        return *this;
    }
    constexpr TSet& operator-=(TSet Other) {
        FBits &= ~Other.FBits;
        return *this;
    }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint64_t Bit(E Value) {
        return std::uint64_t{1} << static_cast<unsigned>(Value);
    }
    std::uint64_t FBits = 0;
};

} // namespace folio
