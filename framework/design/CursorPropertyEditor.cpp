#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"
#include "framework/ui/controls/Cursors.h"

#include <limits>
#include <span>

namespace folio {

namespace {

struct TCursorName {
    int Cursor;
    const char* Name;
};

// In the order a value list offers them. crSize is the old name of
// crSizeAll (both are -22) and is read, never shown.
constexpr TCursorName CursorNames[] = {
    {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
    {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
    {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
};

constexpr TCursorName OldCursorNames[] = {{crSize, "crSize"}};

} // namespace

bool CursorToIdent(int Cursor, String& Ident) {
    for (const TCursorName& N : CursorNames)
        if (N.Cursor == Cursor) {
            Ident = N.Name;
            return true;
        }
    return false;
}

bool IdentToCursor(const String& Ident, int& Cursor) {
    for (auto Table :
         {std::span<const TCursorName>(CursorNames), std::span<const TCursorName>(OldCursorNames)})
        for (const TCursorName& N : Table)
            if (SameText(N.Name, Ident)) {
                Cursor = N.Cursor;
                return true;
            }
    return false;
}

TPropertyAttributes TCursorProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paRevertable};
}

String TCursorProperty::GetValueAt(int Index) const {
    const long long Value = GetOrdValueAt(Index);
    String Name;
    if (CursorToIdent(static_cast<int>(Value), Name)) return Name;
    return IntToStr(Value);
}

void TCursorProperty::GetValues(const TGetStrProc& Proc) {
    for (const TCursorName& N : CursorNames) Proc(N.Name);
}

void TCursorProperty::SetValue(const String& Value) {
    const String Text = Trim(Value);
    int Named = 0;
    if (IdentToCursor(Text, Named)) return SetOrdValue(Named);
    // A cursor is held in 16 bits: a larger number would come back as
    // another cursor, so it is refused rather than cut.
    constexpr long long Least = std::numeric_limits<TCursor>::min();
    constexpr long long Most = std::numeric_limits<TCursor>::max();
    long long Number = 0;
    if (!TryStrToInt64(Text, Number) || Number < Least || Number > Most)
        throw EPropertyError("\"" + Value + "\" is no cursor: give a name such as crHandPoint or " +
                             "a number from " + IntToStr(Least) + " to " + IntToStr(Most));
    SetOrdValue(Number);
}

} // namespace folio
