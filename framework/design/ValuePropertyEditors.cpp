// The default editors of plain values: integers, floats, booleans,
// enumerations and strings.

#include "framework/core/Component.h"
#include "framework/core/FormFloat.h"
#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"

#include <cmath>

namespace folio {

// Inspectors hand over the text as typed; spaces around a number or a name
// are not part of it.

// --- integers ----------------------------------------------------------------------------

String TIntegerProperty::GetValueAt(int Index) const {
    return IntToStr(GetOrdValueAt(Index));
}

void TIntegerProperty::SetValue(const String& Value) {
    long long Number = 0;
    if (!TryStrToInt64(Trim(Value), Number)) InvalidValue(Value);
    const TPropInfo& Prop = GetPropInfo();
    if (Number < Prop.MinValue || Number > Prop.MaxValue)
        throw EPropertyError(Format("Property %s takes values from %lld to %lld, not %s",
                                    Prop.Name.c_str(), Prop.MinValue, Prop.MaxValue,
                                    Value.c_str()));
    SetOrdValue(Number);
}

// --- floats ------------------------------------------------------------------------------

String TFloatProperty::GetValueAt(int Index) const {
    const long double Value = GetFloatValueAt(Index);
    switch (GetPropInfo().FloatSize) {
    case 4:
        return FormatSingle(static_cast<float>(Value));
    case 8:
        return FormatDouble(static_cast<double>(Value));
    default:
        return FormatExtended(Value);
    }
}

void TFloatProperty::SetValue(const String& Value) {
    const String Text = Trim(Value);
    const int Size = GetPropInfo().FloatSize;
    long double Number = 0;
    bool Ok;
    if (Size == 4) {
        float F = 0;
        Ok = ParseSingle(Text, F);
        Number = F;
    } else if (Size == 8) {
        double D = 0;
        Ok = ParseDouble(Text, D);
        Number = D;
    } else {
        Ok = ParseExtended(Text, Number);
    }
    if (!Ok || Text.empty() || !std::isfinite(Number)) InvalidValue(Value);
    SetFloatValue(Number);
}

// --- booleans ----------------------------------------------------------------------------

namespace {
const char* const BoolNames[] = {"False", "True"};
}

TPropertyAttributes TBoolProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paRevertable};
}

String TBoolProperty::GetValueAt(int Index) const {
    return BoolNames[GetOrdValueAt(Index) != 0 ? 1 : 0];
}

void TBoolProperty::GetValues(const TGetStrProc& Proc) {
    for (const char* Name : BoolNames) Proc(Name);
}

void TBoolProperty::SetValue(const String& Value) {
    const String Name = Trim(Value);
    for (long long V = 0; V < 2; ++V)
        if (SameText(Name, BoolNames[V])) return SetOrdValue(V);
    InvalidValue(Value);
}

// --- enumerations ------------------------------------------------------------------------

TPropertyAttributes TEnumProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paRevertable};
}

String TEnumProperty::GetValueAt(int Index) const {
    // A value outside the named ones (a damaged stream can hold any byte)
    // shows as its number rather than as a wrong name.
    const long long Ordinal = GetOrdValueAt(Index);
    const auto& Names = GetPropInfo().EnumNames;
    if (Ordinal >= 0 && Ordinal < static_cast<long long>(Names.size()))
        return Names[static_cast<size_t>(Ordinal)];
    return IntToStr(Ordinal);
}

void TEnumProperty::GetValues(const TGetStrProc& Proc) {
    for (const String& Name : GetPropInfo().EnumNames) Proc(Name);
}

void TEnumProperty::SetValue(const String& Value) {
    const String Name = Trim(Value);
    const auto& Names = GetPropInfo().EnumNames;
    for (size_t I = 0; I < Names.size(); ++I)
        if (SameText(Names[I], Name)) return SetOrdValue(static_cast<long long>(I));
    InvalidValue(Value);
}

// --- strings -----------------------------------------------------------------------------

String TStringProperty::GetValueAt(int Index) const {
    return GetStrValueAt(Index);
}

void TStringProperty::SetValue(const String& Value) {
    SetStrValue(Value);
}

// --- component names ---------------------------------------------------------------------

TPropertyAttributes TComponentNameProperty::GetAttributes() {
    return {};
}

void TComponentNameProperty::SetValue(const String& Value) {
    try {
        TStringProperty::SetValue(Value);
    } catch (const EComponentError& E) {
        throw EPropertyError(E.Message());
    }
}

} // namespace folio
