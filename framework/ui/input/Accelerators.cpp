#include "framework/ui/input/Accelerators.h"

#include <cctype>

namespace folio {

char GetHotkey(const String& Caption) {
    for (size_t I = 0; I + 1 < Caption.size(); ++I) {
        if (Caption[I] != '&') continue;
        if (Caption[I + 1] == '&') {
            ++I;
            continue;
        }
        return static_cast<char>(std::tolower(static_cast<unsigned char>(Caption[I + 1])));
    }
    return 0;
}

bool IsAccel(unsigned Key, const String& Caption) {
    const char Hotkey = GetHotkey(Caption);
    return Hotkey != 0 && Key < 256 &&
           std::tolower(static_cast<int>(Key)) == static_cast<unsigned char>(Hotkey);
}

String StripHotkey(const String& Caption) {
    String Result;
    Result.reserve(Caption.size());
    for (size_t I = 0; I < Caption.size(); ++I) {
        if (Caption[I] == '&' && I + 1 < Caption.size()) ++I;
        Result += Caption[I];
    }
    return Result;
}

} // namespace folio
