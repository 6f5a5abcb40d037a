#include "design/FolioEditGroups.h"

#include "design/FolioEditorFormUnit.h"
#include "folio/Folio.h"
#include "framework/ui/forms/Designer.h"

#include <memory>

namespace folio {

void EditFolioGroups(TFolio& Designed, IDesigner* Designer) {
    // The dialog has no owner and goes on every path, also when showing it
    // raises.
    auto Dialog = std::make_unique<TFolioEditorForm>(nullptr);
    Dialog->SetTargetGroups(Designed.GetGroups());
    Dialog->SetTargetDesigner(Designer);

    // The working copy: the groups, and what makes them look like the
    // designed bar's. The working bar keeps its own size, colours and
    // alignment; only the groups ever travel back.
    TFolio* Working = Dialog->Bar;
    Working->GetGroups()->Assign(Designed.GetGroups());
    Working->SetBiDiMode(Designed.GetBiDiMode());
    Working->SetLargeImages(Designed.GetLargeImages());
    Working->SetSmallImages(Designed.GetSmallImages());
    Working->SetFont(Designed.GetFont());
    Working->SetGroupsFont(Designed.GetGroupsFont());

    if (Dialog->ShowModal() != mrOk) return;
    Designed.GetGroups()->Assign(Working->GetGroups());
    if (Designer) Designer->Modified();
}

} // namespace folio
