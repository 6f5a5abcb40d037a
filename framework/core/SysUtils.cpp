#include "framework/core/SysUtils.h"

#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>

namespace folio {

String FormatV(const char* Fmt, std::va_list Args) {
    std::va_list Copy;
    va_copy(Copy, Args);
    const int Needed = std::vsnprintf(nullptr, 0, Fmt, Copy);
    va_end(Copy);
    if (Needed < 0) throw EConvertError(String("Invalid format string: ") + Fmt);
    String Result(static_cast<size_t>(Needed), '\0');
    std::vsnprintf(Result.data(), Result.size() + 1, Fmt, Args);
    return Result;
}

String Format(const char* Fmt, ...) {
    std::va_list Args;
    va_start(Args, Fmt);
    TScopeGuard End([&Args] { va_end(Args); });
    return FormatV(Fmt, Args);
}

String IntToStr(long long Value) {
    return std::to_string(Value);
}

bool TryStrToInt(const String& Text, int& Value) {
    const char* First = Text.data();
    const char* Last = First + Text.size();
    // A plus sign is accepted, but only in front of digits: "+-5" is not a number.
    if (First != Last && *First == '+') {
        ++First;
        if (First != Last && *First == '-') return false;
    }
    int Parsed = 0;
    const auto [End, Error] = std::from_chars(First, Last, Parsed);
    if (Error != std::errc() || End != Last || First == Last) return false;
    Value = Parsed;
    return true;
}

bool TryStrToInt64(const String& Text, long long& Value) {
    const char* First = Text.data();
    const char* Last = First + Text.size();
    bool Negative = false;
    if (First != Last && (*First == '+' || *First == '-')) Negative = *First++ == '-';
    int Base = 10;
    if (First != Last && *First == '$') {
        ++First;
        Base = 16;
    }
    // Only digits may follow: from_chars would take a second sign.
    if (First == Last || *First == '+' || *First == '-') return false;
    unsigned long long Magnitude = 0;
    const auto [End, Error] = std::from_chars(First, Last, Magnitude, Base);
    if (Error != std::errc() || End != Last) return false;
    constexpr unsigned long long Limit = 1ULL << 63;
    if (Negative) {
        if (Magnitude > Limit) return false;
        Value = Magnitude == Limit ? std::numeric_limits<long long>::min()
                                   : -static_cast<long long>(Magnitude);
    } else if (Base == 16) {
        // Hexadecimal spells out bits: "$FFFFFFFF" is a 32-bit pattern,
        // which the caller fits to its own width.
        Value = static_cast<long long>(Magnitude);
    } else {
        if (Magnitude >= Limit) return false;
        Value = static_cast<long long>(Magnitude);
    }
    return true;
}

int StrToInt(const String& Text) {
    int Value = 0;
    if (!TryStrToInt(Text, Value))
        throw EConvertError("'" + Text + "' is not a valid integer value");
    return Value;
}

int StrToIntDef(const String& Text, int Default) {
    int Value = 0;
    return TryStrToInt(Text, Value) ? Value : Default;
}

bool SameText(const String& A, const String& B) {
    return A.size() == B.size() && std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
               return std::tolower(static_cast<unsigned char>(X)) ==
                      std::tolower(static_cast<unsigned char>(Y));
           });
}

String Trim(const String& Text) {
    const auto First = Text.find_first_not_of(" \t");
    if (First == String::npos) return String();
    return Text.substr(First, Text.find_last_not_of(" \t") + 1 - First);
}

String SysErrorMessage(int ErrorCode) {
    char Buffer[256];
    // The GNU variant returns the message pointer, which may not be Buffer.
    const char* Message = strerror_r(ErrorCode, Buffer, sizeof Buffer);
    return Message;
}

int MulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) return -1;
    long long Product = static_cast<long long>(Number) * Numerator;
    long long D = Denominator;
    if (D < 0) {
        Product = -Product;
        D = -D;
    }
    const long long Half = D / 2;
    const long long Result = Product >= 0 ? (Product + Half) / D : -((-Product + Half) / D);
    if (Result > INT_MAX || Result < INT_MIN) return -1;
    return static_cast<int>(Result);
}

} // namespace folio
