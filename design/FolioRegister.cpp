#include "design/FolioRegister.h"

#include "design/FolioComponentEditor.h"
#include "design/FolioPropertyEditors.h"
#include "design/PackageIcons.h"
#include "folio/Folio.h"
#include "framework/design/DesignRegistry.h"

namespace folio::Folio {

void Register() {
    RegisterComponents("Marrow", {&TFolio::StaticClassInfo()});
    RegisterComponentIcon(TFolio::StaticClassInfo(), &package_icons::Folio);
    RegisterComponentEditor<TFolioComponentEditor>(TFolio::StaticClassInfo());
    RegisterPropertyEditor<TFolioVisibleGroupPropEditor>(
        TFolioGroup::StaticClassInfo(), &TFolio::StaticClassInfo(), "VisibleGroupObject");
    RegisterPropertyEditor<TFolioGroupsPropEditor>(TFolioGroups::StaticClassInfo(),
                                                   &TFolio::StaticClassInfo(), "Groups");
}

} // namespace folio::Folio
