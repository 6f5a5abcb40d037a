// Sets: the whole set as a bracketed list of its elements, and each element
// as a True/False sub-property.

#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"

namespace folio {

TPropertyAttributes TSetProperty::GetAttributes() {
    return {paMultiSelect, paSubProperties, paReadOnly, paRevertable};
}

String TSetProperty::GetValueAt(int Index) const {
    const auto Bits = static_cast<unsigned long long>(GetOrdValueAt(Index));
    const auto& Names = GetPropInfo().EnumNames;
    String Text = "[";
    for (size_t I = 0; I < Names.size() && I < 64; ++I)
        if (Bits & (1ULL << I)) {
            if (Text.size() > 1) Text += ',';
            Text += Names[I];
        }
    return Text + "]";
}

void TSetProperty::GetProperties(const TGetPropProc& Proc) {
    const int Count = static_cast<int>(GetPropInfo().EnumNames.size());
    for (int I = 0; I < Count && I < 64; ++I)
        Proc(std::make_unique<TSetElementProperty>(GetDesigner(), GetComponents(), GetPropInfo(),
                                                   I));
}

TSetElementProperty::TSetElementProperty(IDesigner* ADesigner,
                                         std::vector<TPersistent*> AComponents,
                                         const TPropInfo& AProp, int AElement)
    : TPropertyEditor(ADesigner, std::move(AComponents), AProp), FElement(AElement) {}

TPropertyAttributes TSetElementProperty::GetAttributes() {
    return {paMultiSelect, paValueList};
}

String TSetElementProperty::GetName() {
    return GetPropInfo().EnumNames[static_cast<size_t>(FElement)];
}

String TSetElementProperty::GetValueAt(int Index) const {
    const auto Bits = static_cast<unsigned long long>(GetOrdValueAt(Index));
    return (Bits & (1ULL << FElement)) ? "True" : "False";
}

void TSetElementProperty::GetValues(const TGetStrProc& Proc) {
    Proc("False");
    Proc("True");
}

void TSetElementProperty::SetValue(const String& Value) {
    bool Include;
    if (SameText(Value, "True"))
        Include = true;
    else if (SameText(Value, "False"))
        Include = false;
    else
        InvalidValue(Value);
    // Each selected object keeps its other elements.
    const TPropInfo& Prop = GetPropInfo();
    if (!Prop.SetOrd) throw EPropertyError("Property " + Prop.Name + " is read-only");
    const unsigned long long Bit = 1ULL << FElement;
    for (TPersistent* P : GetComponents()) {
        auto Bits = static_cast<unsigned long long>(Prop.GetOrd(*P));
        Bits = Include ? (Bits | Bit) : (Bits & ~Bit);
        Prop.SetOrd(*P, static_cast<long long>(Bits));
    }
    Modified();
}

} // namespace folio
