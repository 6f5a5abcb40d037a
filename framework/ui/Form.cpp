#include "framework/ui/Form.h"

#include "framework/core/ClassBuilder.h"

namespace folio {

const TClassInfo& TForm::StaticClassInfo() {
    using C = TForm;
    static const TClassInfo Info = TClassBuilder<C>("TForm", &TCustomForm::StaticClassInfo())
                                       .Publish("BorderStyle")
                                       .Publish("Caption")
                                       .Publish("Color", SysColorBtnFace)
                                       .Publish("Font")
                                       .Publish("KeyPreview")
                                       .Publish("OnClick")
                                       .Publish("OnKeyDown")
                                       .Publish("OnKeyPress")
                                       .Publish("OnKeyUp")
                                       .Publish("OnResize")
                                       .Creatable()
                                       .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TForm)

} // namespace folio
