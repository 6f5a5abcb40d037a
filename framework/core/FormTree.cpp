#include "framework/core/FormTree.h"

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"

#include <bit>
#include <cctype>
#include <cstring>
#include <limits>

namespace folio {

namespace {

bool SameWord(const String& A, const char* B) {
    std::size_t I = 0;
    for (; I < A.size() && B[I]; ++I)
        if (std::tolower(static_cast<unsigned char>(A[I])) != B[I]) return false;
    return I == A.size() && !B[I];
}

} // namespace

static_assert(std::numeric_limits<long double>::digits == 64,
              "Extended values are held in the 80-bit long double of x86");

TFormValue TFormValue::Single(float Value) {
    return SingleBits(std::bit_cast<std::uint32_t>(Value));
}

TFormValue TFormValue::SingleBits(std::uint32_t Bits) {
    TFormValue V;
    V.Kind = TFormValueKind::Single;
    V.Int = static_cast<long long>(Bits);
    return V;
}

TFormValue TFormValue::Extended(long double Value) {
    // The 80-bit format fills the first ten bytes of a long double; the
    // rest is padding of no fixed content.
    unsigned char Bytes[sizeof(long double)];
    std::memcpy(Bytes, &Value, sizeof Bytes);
    std::uint64_t Significand;
    std::uint16_t SignExponent;
    std::memcpy(&Significand, Bytes, 8);
    std::memcpy(&SignExponent, Bytes + 8, 2);
    return ExtendedBits(Significand, SignExponent);
}

TFormValue TFormValue::ExtendedBits(std::uint64_t Significand, std::uint16_t SignExponent) {
    TFormValue V;
    V.Kind = TFormValueKind::Extended;
    V.Int = static_cast<long long>(Significand);
    V.Exponent = SignExponent;
    return V;
}

TFormValue TFormValue::List(std::vector<TFormValue> Values) {
    TFormValue V;
    V.Kind = TFormValueKind::List;
    V.Items = std::move(Values);
    return V;
}

TFormValue TFormValue::MakeCollection(std::vector<TFormCollectionItem> Items) {
    TFormValue V;
    V.Kind = TFormValueKind::Collection;
    V.Collection = std::move(Items);
    return V;
}

float TFormValue::AsSingle() const {
    return std::bit_cast<float>(static_cast<std::uint32_t>(Int));
}

long double TFormValue::AsExtended() const {
    unsigned char Bytes[sizeof(long double)] = {};
    const auto Significand = static_cast<std::uint64_t>(Int);
    std::memcpy(Bytes, &Significand, 8);
    std::memcpy(Bytes + 8, &Exponent, 2);
    long double Value;
    std::memcpy(&Value, Bytes, sizeof Value);
    return Value;
}

bool IsEncodableFloat(const TFormValue& Value) {
    if (Value.Kind == TFormValueKind::Single)
        return ((static_cast<std::uint32_t>(Value.Int) >> 23) & 0xFF) != 0xFF;
    if (Value.Kind != TFormValueKind::Extended) return false;
    const unsigned Exponent = Value.Exponent & 0x7FFF;
    if (Exponent == 0x7FFF) return false;
    return (static_cast<std::uint64_t>(Value.Int) >> 63) == (Exponent != 0 ? 1u : 0u);
}

String TFormPlace::Describe() const {
    if (Where <= 0 && !Text) return {};
    return Text ? "line " + IntToStr(Where) : "offset " + IntToStr(Where);
}

bool IsReservedFormWord(const String& Name) {
    return SameWord(Name, "nil") || SameWord(Name, "true") || SameWord(Name, "false");
}

bool IsValidIdentValue(const String& Name) {
    if (Name.empty() || Name.size() > MaxIdentLength || IsReservedFormWord(Name)) return false;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Dot = Name.find('.', Start);
        const String Part = Name.substr(Start, Dot == String::npos ? String::npos : Dot - Start);
        if (Part.empty() || !IsValidIdent(Part)) return false;
        if (Dot == String::npos) return true;
        Start = Dot + 1;
    }
}

bool IsValidPropertyPath(const String& Name) {
    if (Name.size() > MaxIdentLength) return false;
    std::size_t Start = 0;
    for (;;) {
        const std::size_t Dot = Name.find('.', Start);
        const String Part = Name.substr(Start, Dot == String::npos ? String::npos : Dot - Start);
        if (Part.empty() || !IsValidIdent(Part)) return false;
        // The words that open and close objects in a text form cannot start
        // a property line.
        if (Start == 0 &&
            (SameWord(Part, "object") || SameWord(Part, "inherited") || SameWord(Part, "end")))
            return false;
        if (Dot == String::npos) return true;
        Start = Dot + 1;
    }
}

} // namespace folio
