#include "framework/core/Component.h"
#include "framework/design/DesignRegistry.h"
#include "framework/design/StdPropertyEditors.h"

namespace folio {

TPropertyAttributes TClassProperty::GetAttributes() {
    return {paMultiSelect, paSubProperties, paReadOnly};
}

String TClassProperty::GetValueAt(int Index) const {
    const TObject* Value = GetObjValueAt(Index);
    return Value ? "(" + Value->ClassName() + ")" : String();
}

void TClassProperty::GetProperties(const TGetPropProc& Proc) {
    // The sub-properties of all selected objects' sub-objects together; a
    // missing sub-object, or a component (which has its own line in an
    // inspector), has none to show.
    std::vector<TPersistent*> Subs;
    for (int I = 0; I < GetPropCount(); ++I) {
        auto* Sub = dynamic_cast<TPersistent*>(GetObjValueAt(I));
        if (!Sub || dynamic_cast<TComponent*>(Sub)) return;
        Subs.push_back(Sub);
    }
    GetRegistry().GetComponentProperties(Subs, GetDesigner(), Proc);
}

} // namespace folio
