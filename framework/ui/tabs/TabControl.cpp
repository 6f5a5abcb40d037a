#include "framework/ui/tabs/TabControl.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/ui/controls/StdPublished.h"

namespace folio {

const TClassInfo& TTabControl::StaticClassInfo() {
    using C = TTabControl;
    static const TClassInfo Info =
        TClassBuilder<C>("TTabControl", &TCustomTabControl::StaticClassInfo())
            .Object("Tabs", &C::GetTabs, &C::SetTabs)
            .Publish("TabIndex")
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Font", "ParentFont", "TabHeight", "TabOrder", "TabStop", "TabWidth",
                      "OnChange", "OnChanging"})
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TTabControl)

} // namespace folio
