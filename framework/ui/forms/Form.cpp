#include "framework/ui/forms/Form.h"

#include "framework/core/ClassBuilder.h"

namespace folio {

const TClassInfo& TForm::StaticClassInfo() {
    using C = TForm;
    static const TClassInfo Info = TClassBuilder<C>("TForm", &TCustomForm::StaticClassInfo())
                                       .Publish("BorderIcons")
                                       .Publish("BorderStyle")
                                       .Publish("Caption")
                                       .Publish("ClientHeight")
                                       .Publish("ClientWidth")
                                       .Publish("Color", SysColorBtnFace)
                                       .Publish("Constraints")
                                       .Publish("Font")
                                       .Publish("Icon")
                                       .Publish("KeyPreview")
                                       .Publish("Menu")
                                       .Publish("PixelsPerInch")
                                       .Publish("Position")
                                       .Publish("Scaled")
                                       .Publish("OnActivate")
                                       .Publish("OnClick")
                                       .Publish("OnClose")
                                       .Publish("OnCloseQuery")
                                       .Publish("OnDeactivate")
                                       .Publish("OnDestroy")
                                       .Publish("OnHide")
                                       .Publish("OnKeyDown")
                                       .Publish("OnKeyPress")
                                       .Publish("OnKeyUp")
                                       .Publish("OnResize")
                                       .Publish("OnShow")
                                       .Creatable()
                                       .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TForm)

} // namespace folio
