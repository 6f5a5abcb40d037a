#include "framework/ui/menus/MainMenu.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"

namespace folio {

const TClassInfo& TMainMenu::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClassInfo()).Creatable().Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TMainMenu)

} // namespace folio
