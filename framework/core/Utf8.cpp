#include "framework/core/Utf8.h"

namespace folio {

std::size_t Utf8CharLength(const char* Data, std::size_t Size, std::size_t I, char32_t* Code) {
    const unsigned char C = static_cast<unsigned char>(Data[I]);
    if (C < 0x80) {
        if (Code) *Code = C;
        return 1;
    }
    std::size_t N;
    char32_t Min;
    if (C >= 0xC2 && C <= 0xDF) {
        N = 2;
        Min = 0x80;
    } else if (C >= 0xE0 && C <= 0xEF) {
        N = 3;
        Min = 0x800;
    } else if (C >= 0xF0 && C <= 0xF4) {
        N = 4;
        Min = 0x10000;
    } else {
        return 0;
    }
    if (N > Size - I) return 0;
    char32_t Value = C & (0x7F >> N);
    for (std::size_t K = 1; K < N; ++K) {
        const unsigned char Next = static_cast<unsigned char>(Data[I + K]);
        if ((Next & 0xC0) != 0x80) return 0;
        Value = (Value << 6) | (Next & 0x3F);
    }
    if (Value < Min || Value > 0x10FFFF || (Value >= 0xD800 && Value <= 0xDFFF)) return 0;
    if (Code) *Code = Value;
    return N;
}

bool IsWellFormedUtf8(const char* Data, std::size_t Size, char32_t* Widest) {
    char32_t Most = 0;
    for (std::size_t I = 0; I < Size;) {
        char32_t Code;
        const std::size_t N = Utf8CharLength(Data, Size, I, &Code);
        if (N == 0) return false;
        if (Code > Most) Most = Code;
        I += N;
    }
    if (Widest) *Widest = Most;
    return true;
}

void AppendUtf8(String& Out, char32_t Code) {
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else if (Code < 0x10000) {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xF0 | (Code >> 18));
        Out += static_cast<char>(0x80 | ((Code >> 12) & 0x3F));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

} // namespace folio
