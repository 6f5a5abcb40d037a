#include "framework/core/FormFloat.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace folio {

namespace {

// The decimal point is '.' in a form whatever the user's locale says.
locale_t CLocale() {
    static const locale_t Locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return Locale;
}

template <class F, class Convert>
bool Parse(std::string_view Text, F& Value, Convert ConvertWith) {
    // The digits are copied out: they need a terminator.
    char Buffer[128];
    String Long;
    const char* Digits;
    if (Text.size() < sizeof Buffer) {
        Text.copy(Buffer, Text.size());
        Buffer[Text.size()] = '\0';
        Digits = Buffer;
    } else {
        Long.assign(Text);
        Digits = Long.c_str();
    }
    char* End = nullptr;
    errno = 0;
    const F Result = ConvertWith(Digits, &End, CLocale());
    if (End == Digits || static_cast<std::size_t>(End - Digits) != Text.size()) return false;
    if (errno == ERANGE && std::isinf(Result)) return false;
    Value = Result;
    return true;
}

template <class F>
String FormatShortest(F Value) {
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, Value);
    String Text(Buffer, Result.ptr);
    bool Marked = false;
    for (char& C : Text) {
        if (C == 'e') C = 'E';
        if (C == '.' || C == 'E') Marked = true;
    }
    if (!Marked) Text += ".0";
    return Text;
}

} // namespace

bool ParseSingle(std::string_view Text, float& Value) {
    return Parse(Text, Value, strtof_l);
}

bool ParseDouble(std::string_view Text, double& Value) {
    return Parse(Text, Value, strtod_l);
}

bool ParseExtended(std::string_view Text, long double& Value) {
    return Parse(Text, Value, strtold_l);
}

String FormatSingle(float Value) {
    return FormatShortest(Value);
}

String FormatDouble(double Value) {
    return FormatShortest(Value);
}

String FormatExtended(long double Value) {
    return FormatShortest(Value);
}

long double ExtendedForDouble(double Value) {
    long double Short = 0;
    if (ParseExtended(FormatDouble(Value), Short) && static_cast<double>(Short) == Value &&
        std::signbit(Short) == std::signbit(Value))
        return Short;
    return Value;
}

} // namespace folio
