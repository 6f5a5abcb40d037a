#include "framework/ui/forms/Designer.h"

#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"

namespace folio {

void IDesigner::GetComponentNames(const TClassInfo& Class,
                                  const std::function<void(const String&)>& Proc) const {
    const TComponent* Root = GetRoot();
    if (!Root) return;
    if (!Root->GetName().empty() && Root->InheritsFrom(Class)) Proc(Root->GetName());
    for (int I = 0; I < Root->ComponentCount(); ++I) {
        const TComponent* C = Root->Components(I);
        if (!C->GetName().empty() && C->InheritsFrom(Class)) Proc(C->GetName());
    }
}

TComponent* IDesigner::GetComponent(const String& Name) const {
    TComponent* Root = GetRoot();
    if (!Root || Name.empty()) return nullptr;
    if (SameText(Root->GetName(), Name)) return Root;
    return Root->FindComponent(Name);
}

String IDesigner::GetComponentName(const TComponent* Component) const {
    return Component ? Component->GetName() : String();
}

String IDesigner::UniqueName(const String& BaseName) const {
    return UniqueComponentName(GetRoot(), BaseName);
}

String UniqueComponentName(const TComponent* Root, const String& BaseName) {
    String Base = BaseName;
    if (Base.size() > 1 && (Base[0] == 'T' || Base[0] == 't')) Base.erase(0, 1);
    for (int N = 1;; ++N) {
        const String Name = Base + IntToStr(N);
        if (!Root) return Name;
        if (!SameText(Root->GetName(), Name) && !Root->FindComponent(Name)) return Name;
    }
}

} // namespace folio
