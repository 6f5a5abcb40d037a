// The conversions of typed text to numbers: TryStrToInt, StrToInt and
// StrToIntDef against a reference reading of the same text, and IntToStr
// back.

#include "fuzz/FuzzTarget.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

#include <climits>
#include <optional>

using namespace folio;
using folio::fuzz::TBytes;

namespace {

// A whole decimal integer: an optional sign, then digits and nothing else,
// within 32 bits. Written as plainly as possible, to judge the real one by.
std::optional<int> Reference(const String& Text) {
    std::size_t I = 0;
    bool Negative = false;
    if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) Negative = Text[I++] == '-';
    if (I == Text.size()) return std::nullopt;
    long long Value = 0;
    for (; I < Text.size(); ++I) {
        if (Text[I] < '0' || Text[I] > '9') return std::nullopt;
        Value = Value * 10 + (Text[I] - '0');
        if (Value > 1LL + INT_MAX) return std::nullopt;
    }
    if (Negative) Value = -Value;
    if (Value < INT_MIN || Value > INT_MAX) return std::nullopt;
    return static_cast<int>(Value);
}

} // namespace

FOLIO_FUZZ_SEEDS {
    int N = 0;
    for (const String Text : {"0", "-0", "+7", "42", "-2147483648", "2147483647", "2147483648",
                              "+-5", "12a", " 3", "007", "-", ""})
        Seeds.Add("text-" + IntToStr(N++), TBytes(Text.begin(), Text.end()));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const String Text(reinterpret_cast<const char*>(Data), Size);
    const std::optional<int> Expected = Reference(Text);

    int Value = 12345;
    const bool Parsed = TryStrToInt(Text, Value);
    FOLIO_FUZZ_CHECK(Parsed == Expected.has_value(), "\"" + Text + "\"");
    FOLIO_FUZZ_CHECK(StrToIntDef(Text, -99) == (Parsed ? Value : -99), "\"" + Text + "\"");
    if (Parsed) {
        FOLIO_FUZZ_CHECK(Value == *Expected, "\"" + Text + "\" read as " + IntToStr(Value));
        FOLIO_FUZZ_CHECK(StrToInt(Text) == Value, "\"" + Text + "\"");
        int Again = 0;
        FOLIO_FUZZ_CHECK(TryStrToInt(IntToStr(Value), Again) && Again == Value, IntToStr(Value));
        return 0;
    }
    FOLIO_FUZZ_CHECK(Value == 12345, "a failed conversion changed its result");
    try {
        StrToInt(Text);
        FOLIO_FUZZ_CHECK(false, "StrToInt accepted \"" + Text + "\"");
    } catch (const EConvertError& E) {
        // The message quotes what was typed, so the user sees what is wrong.
        FOLIO_FUZZ_CHECK(E.Message().find(Text) != String::npos, E.Message());
    }
    return 0;
}
