// Properties that name something else on the form: component references
// and events bound to the form's handler methods.

#include "framework/core/Component.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"
#include "framework/ui/forms/Designer.h"

#include <algorithm>

namespace folio {

// --- component references ----------------------------------------------------------------

TPropertyAttributes TComponentProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

String TComponentProperty::GetValueAt(int Index) const {
    const auto* Value = dynamic_cast<const TComponent*>(GetObjValueAt(Index));
    if (GetDesigner()) return GetDesigner()->GetComponentName(Value);
    return Value ? Value->GetName() : String();
}

void TComponentProperty::GetValues(const TGetStrProc& Proc) {
    const TClassInfo* Class = GetPropInfo().ObjectClass.Get();
    if (GetDesigner() && Class) GetDesigner()->GetComponentNames(*Class, Proc);
}

void TComponentProperty::SetValue(const String& Value) {
    const String Name = Trim(Value);
    if (Name.empty()) return SetObjValue(nullptr);
    TComponent* Found = GetDesigner() ? GetDesigner()->GetComponent(Name) : nullptr;
    const TClassInfo* Class = GetPropInfo().ObjectClass.Get();
    if (!Found) throw EPropertyError("There is no component named " + Name + " on the form");
    if (Class && !Found->InheritsFrom(*Class))
        throw EPropertyError(Name + " is a " + Found->ClassName() + "; property " +
                             GetPropInfo().Name + " takes a " + Class->Name);
    SetObjValue(Found);
}

// --- events ------------------------------------------------------------------------------

// The handlers live on the form, as BindEventHandler finds them: the
// component's owner, or the component itself when it has none.
const TComponent* TMethodProperty::HandlerForm(const TComponent& Component) const {
    return Component.Owner() ? Component.Owner() : &Component;
}

TPropertyAttributes TMethodProperty::GetAttributes() {
    return {paMultiSelect, paValueList, paSortList, paRevertable};
}

String TMethodProperty::GetValueAt(int Index) const {
    const auto* Component = dynamic_cast<const TComponent*>(GetComponent(Index));
    const TPropInfo& Prop = GetPropInfo();
    if (!Component) return String();
    // A designed component's handlers are names only, with no code bound.
    if (!Component->IsDesigning() && (!Prop.EventAssigned || !Prop.EventAssigned(*Component)))
        return String();
    return Component->GetEventHandlerName(Prop.Name);
}

void TMethodProperty::GetValues(const TGetStrProc& Proc) {
    const auto* Component = dynamic_cast<const TComponent*>(GetComponent(0));
    const TPropInfo& Prop = GetPropInfo();
    if (!Component || !Prop.EventType) return;
    // A descendant's handler hides an ancestor's of the same name.
    std::vector<String> Seen;
    for (const TClassInfo* C = &HandlerForm(*Component)->ClassInfo(); C; C = C->Parent)
        for (const TMethodInfo& M : C->Methods) {
            if (!M.Type || *M.Type != *Prop.EventType) continue;
            if (std::any_of(Seen.begin(), Seen.end(),
                            [&M](const String& S) { return SameText(S, M.Name); }))
                continue;
            Seen.push_back(M.Name);
            Proc(M.Name);
        }
}

void TMethodProperty::SetValue(const String& Value) {
    const String Handler = Trim(Value);
    const TPropInfo& Prop = GetPropInfo();
    std::vector<TComponent*> Components;
    for (TPersistent* P : GetComponents()) {
        auto* Component = dynamic_cast<TComponent*>(P);
        if (!Component) throw EPropertyError("Only components have events bound by name");
        Components.push_back(Component);
    }
    if (!Handler.empty() && !IsValidIdent(Handler)) InvalidValue(Value);
    // On a form being designed the handler is a name the designer records;
    // the code behind it is written later.
    if (std::all_of(Components.begin(), Components.end(),
                    [](const TComponent* C) { return C->IsDesigning(); })) {
        for (TComponent* C : Components) C->SetEventHandlerName(Prop.Name, Handler);
        Modified();
        return;
    }
    // Every selected component must find the handler before any is bound.
    if (!Handler.empty()) {
        if (!IsValidIdent(Handler)) InvalidValue(Value);
        try {
            for (TComponent* C : Components) FindEventHandler(*HandlerForm(*C), Prop, Handler);
        } catch (const EInvalidOperation& E) {
            throw EPropertyError(E.Message());
        }
    }
    for (TComponent* C : Components) BindEventHandler(C, Prop.Name, Handler);
    Modified();
}

} // namespace folio
