#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"

#include <algorithm>

namespace folio {

std::unique_ptr<TPropertyEditor> CreateDefaultPropertyEditor(IDesigner* Designer,
                                                             std::vector<TPersistent*> Components,
                                                             const TPropInfo& Prop) {
    auto Make = [&]<class TEditor>() -> std::unique_ptr<TPropertyEditor> {
        return std::make_unique<TEditor>(Designer, std::move(Components), Prop);
    };
    switch (Prop.Kind) {
    case TTypeKind::tkInteger:
        if (Prop.TypeName == "TCursor") return Make.operator()<TCursorProperty>();
        return Make.operator()<TIntegerProperty>();
    case TTypeKind::tkBool:
        return Make.operator()<TBoolProperty>();
    case TTypeKind::tkEnum:
        return Make.operator()<TEnumProperty>();
    case TTypeKind::tkString:
        if (SameText(Prop.Name, "Name") &&
            std::all_of(Components.begin(), Components.end(),
                        [](TPersistent* P) { return dynamic_cast<TComponent*>(P) != nullptr; }))
            return Make.operator()<TComponentNameProperty>();
        return Make.operator()<TStringProperty>();
    case TTypeKind::tkColor:
        return Make.operator()<TColorProperty>();
    case TTypeKind::tkSet:
        return Make.operator()<TSetProperty>();
    case TTypeKind::tkClass:
        return Make.operator()<TClassProperty>();
    case TTypeKind::tkComponent:
        return Make.operator()<TComponentProperty>();
    case TTypeKind::tkMethod:
        return Make.operator()<TMethodProperty>();
    case TTypeKind::tkFloat:
        return Make.operator()<TFloatProperty>();
    }
    return std::make_unique<TPropertyEditor>(Designer, std::move(Components), Prop);
}

} // namespace folio
