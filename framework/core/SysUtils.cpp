#include "framework/core/SysUtils.h"

#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

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

String SysErrorMessage(int ErrorCode) {
    char Buffer[256];
    // The GNU variant returns the message pointer, which may not be Buffer.
    const char* Message = strerror_r(ErrorCode, Buffer, sizeof Buffer);
    return Message;
}

} // namespace folio
