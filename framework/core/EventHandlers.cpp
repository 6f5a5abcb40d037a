#include "framework/core/EventHandlers.h"

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"

namespace folio {

const TMethodInfo& FindEventHandler(const TComponent& Form, const TPropInfo& Event,
                                    const String& Handler) {
    const TMethodInfo* Method = Form.ClassInfo().FindMethod(Handler);
    if (!Method)
        throw EInvalidOperation("the form class " + Form.ClassName() + " has no handler named " +
                                Handler);
    if (!Method->Type || !Event.EventType || *Method->Type != *Event.EventType)
        throw EInvalidOperation("the handler " + Handler + " does not fit the event " + Event.Name +
                                " (its parameters differ)");
    return *Method;
}

void BindEventHandler(TComponent* Component, const String& Event, const String& Handler) {
    const TPropInfo* Prop = Component->ClassInfo().FindProperty(Event);
    if (!Prop || Prop->Kind != TTypeKind::tkMethod || !Prop->SetEvent)
        throw EInvalidOperation(Component->ClassName() + " has no event " + Event);
    TComponent* Form = Component->Owner() ? Component->Owner() : Component;
    if (Handler.empty()) {
        Prop->SetEvent(*Component, std::any());
    } else {
        const TMethodInfo& Method = FindEventHandler(*Form, *Prop, Handler);
        Prop->SetEvent(*Component, Method.Bind(*Form));
    }
    Component->SetEventHandlerName(Event, Handler);
}

} // namespace folio
