// The bar in form files: the groups collection's binary property "Data".
// The bar's other published properties, VisibleGroupObject among them, go
// through the framework's filer from the property tables.

#include "folio/Folio.h"
#include "folio/FolioRecords.h"

#include "framework/core/Filer.h"

namespace folio {

namespace {

// Whether an inherited form must store the groups: they differ from the
// ancestor's in count, in the group equality, or in a field the group
// equality leaves out but the stream keeps (the picture, the image size): a
// form that dropped those would lose such a change when it is saved.
bool DiffersFromAncestor(const TFolioGroups& Groups, const TFolioGroups& Ancestor) {
    if (Groups.GetCount() != Ancestor.GetCount()) return true;
    for (int I = 0; I < Groups.GetCount(); ++I) {
        const TFolioGroup* Mine = Groups.GetGroup(I);
        const TFolioGroup* Theirs = Ancestor.GetGroup(I);
        if (!Mine->IsEqual(Theirs) || !fields::Equal(TFolioGroup::Fields(), *Mine, *Theirs, fuForm))
            return true;
    }
    return false;
}

} // namespace

void TFolioGroups::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    const auto* Ancestor = dynamic_cast<const TFolioGroups*>(Filer->Ancestor());
    const bool HasData = Ancestor ? DiffersFromAncestor(*this, *Ancestor) : GetCount() > 0;
    Filer->DefineBinaryProperty(
        "Data",
        [this](TStream& Stream) {
            // Reading the groups opens the first one. An inherited form
            // stores VisibleGroup only when it differs from the ancestor's,
            // so the group the ancestor's form opened stays open when it
            // still exists; a form that stores VisibleGroup sets it next.
            const int Open = FBar ? FBar->GetVisibleGroup() : -1;
            ReadData(Stream);
            if (FBar && FBar->IsLoading() && Open >= 0 && Open < GetCount())
                FBar->SetVisibleGroup(Open);
        },
        [this](TStream& Stream) { WriteData(Stream); }, HasData);
}

} // namespace folio
