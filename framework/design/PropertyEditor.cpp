#include "framework/design/PropertyEditor.h"

#include "framework/design/DesignRegistry.h"
#include "framework/ui/forms/Designer.h"

namespace folio {

TPropertyEditor::TPropertyEditor(IDesigner* ADesigner, std::vector<TPersistent*> AComponents,
                                 const TPropInfo& AProp)
    : FDesigner(ADesigner), FComponents(std::move(AComponents)), FProp(&AProp) {
    if (FComponents.empty())
        throw EInvalidArgument("A property editor of " + AProp.Name + " needs an object to edit");
    for (TPersistent* P : FComponents)
        if (!P) throw EInvalidArgument("A property editor of " + AProp.Name + " got a null object");
}

TPropertyEditor::~TPropertyEditor() = default;

// Editors that prepare something when they are shown override these two;
// the base has nothing to prepare.
void TPropertyEditor::Activate() {}
void TPropertyEditor::Initialize() {}

bool TPropertyEditor::AllEqual() {
    // The text is what an inspector shows, so objects that show the same
    // text are equal for it.
    const String First = GetValueAt(0);
    for (int I = 1; I < GetPropCount(); ++I)
        if (GetValueAt(I) != First) return false;
    return true;
}

bool TPropertyEditor::AutoFill() {
    return true;
}

void TPropertyEditor::Edit() {
    if (!GetAttributes().Contains(paValueList)) return;
    std::vector<String> Values;
    GetValues([&Values](const String& V) { Values.push_back(V); });
    if (Values.empty()) return;
    const String Current = GetValue();
    size_t Next = 0;
    for (size_t I = 0; I < Values.size(); ++I)
        if (Values[I] == Current) {
            Next = (I + 1) % Values.size();
            break;
        }
    SetValue(Values[Next]);
}

TPropertyAttributes TPropertyEditor::GetAttributes() {
    return {paMultiSelect, paRevertable};
}

int TPropertyEditor::GetEditLimit() {
    return 0;
}

String TPropertyEditor::GetName() {
    return FProp->Name;
}

void TPropertyEditor::GetProperties(const TGetPropProc&) {}

String TPropertyEditor::GetValue() {
    return GetValueAt(0);
}

String TPropertyEditor::GetValueAt(int) const {
    return "(" + FProp->TypeName + ")";
}

void TPropertyEditor::GetValues(const TGetStrProc&) {}

void TPropertyEditor::SetValue(const String& Value) {
    InvalidValue(Value);
}

TPersistent* TPropertyEditor::GetComponent(int Index) const {
    if (Index < 0 || Index >= GetPropCount())
        throw EListError("A property editor has no selected object " + std::to_string(Index));
    return FComponents[static_cast<size_t>(Index)];
}

long long TPropertyEditor::GetOrdValueAt(int Index) const {
    return FProp->GetOrd ? FProp->GetOrd(*GetComponent(Index)) : 0;
}

String TPropertyEditor::GetStrValueAt(int Index) const {
    return FProp->GetStr ? FProp->GetStr(*GetComponent(Index)) : String();
}

long double TPropertyEditor::GetFloatValueAt(int Index) const {
    return FProp->GetFloat ? FProp->GetFloat(*GetComponent(Index)) : 0;
}

TObject* TPropertyEditor::GetObjValueAt(int Index) const {
    return FProp->GetObj ? FProp->GetObj(*GetComponent(Index)) : nullptr;
}

void TPropertyEditor::CheckWritable(bool HasSetter) const {
    if (!HasSetter) throw EPropertyError("Property " + FProp->Name + " is read-only");
}

void TPropertyEditor::SetOrdValue(long long Value) {
    CheckWritable(static_cast<bool>(FProp->SetOrd));
    if (Value < FProp->MinValue || Value > FProp->MaxValue)
        throw EPropertyError("Value " + std::to_string(Value) + " is out of range for property " +
                             FProp->Name);
    for (TPersistent* P : FComponents) FProp->SetOrd(*P, Value);
    Modified();
}

void TPropertyEditor::SetFloatValue(long double Value) {
    CheckWritable(static_cast<bool>(FProp->SetFloat));
    for (TPersistent* P : FComponents) FProp->SetFloat(*P, Value);
    Modified();
}

void TPropertyEditor::SetStrValue(const String& Value) {
    CheckWritable(static_cast<bool>(FProp->SetStr));
    for (TPersistent* P : FComponents) FProp->SetStr(*P, Value);
    Modified();
}

void TPropertyEditor::SetObjValue(TObject* Value) {
    CheckWritable(static_cast<bool>(FProp->SetObj));
    for (TPersistent* P : FComponents) FProp->SetObj(*P, Value);
    Modified();
}

const TDesignRegistry& TPropertyEditor::GetRegistry() const {
    return FRegistry ? *FRegistry : DesignRegistry();
}

void TPropertyEditor::Modified() {
    if (FDesigner) FDesigner->Modified();
}

void TPropertyEditor::InvalidValue(const String& Value) const {
    throw EPropertyError("\"" + Value + "\" is not a valid value for property " + FProp->Name);
}

} // namespace folio
