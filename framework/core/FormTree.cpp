#include "framework/core/FormTree.h"

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"

#include <cctype>

namespace folio {

namespace {

bool SameWord(const String& A, const char* B) {
    std::size_t I = 0;
    for (; I < A.size() && B[I]; ++I)
        if (std::tolower(static_cast<unsigned char>(A[I])) != B[I]) return false;
    return I == A.size() && !B[I];
}

} // namespace

String TFormPlace::Describe() const {
    if (Where <= 0 && !Text) return {};
    return Text ? "line " + IntToStr(Where) : "offset " + IntToStr(Where);
}

bool IsReservedFormWord(const String& Name) {
    return SameWord(Name, "nil") || SameWord(Name, "true") || SameWord(Name, "false");
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
