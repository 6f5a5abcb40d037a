#include "package/PackageUnits.h"

#include "design/FolioEditorFormUnit.h"
#include "design/FolioRegister.h"
#include "design/PackageIcons.h"
#include "samples/Ccalendr.h"
#include "samples/Cgauges.h"
#include "samples/Cgrid.h"
#include "samples/Perfgrap.h"

namespace folio {

std::span<const TPackageUnit> PackageUnits() {
    static const TPackageUnit Units[] = {
        {"Folio", nullptr, &Folio::Register, nullptr},
        {"FolioEditorFormUnit", &FolioEditorFormUnit::Initialize, nullptr,
         &FolioEditorFormUnit::Finalize},
        {"Ccalendr", nullptr, &Ccalendr::Register, nullptr},
        {"Cgrid", nullptr, &Cgrid::Register, nullptr},
        {"Cgauges", nullptr, &Cgauges::Register, nullptr},
        {"Perfgrap", nullptr, &Perfgrap::Register, nullptr},
        {"SampleIcons", nullptr, &SampleIcons::Register, nullptr},
    };
    return Units;
}

} // namespace folio
