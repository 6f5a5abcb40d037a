#include "framework/ui/tabs/NotebookPage.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"

namespace folio {

const TClassInfo& TPage::StaticClassInfo() {
    using C = TPage;
    static const TClassInfo Info = TClassBuilder<C>("TPage", &TCustomControl::StaticClassInfo())
                                       .Publish({"Caption", "Visible"})
                                       .Creatable()
                                       .Build();
    return Info;
}

TPage::TPage(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque});
    SetParentColor(true);
    SetAlign(alClient);
}

// The page leaves its notebook while it is still a page, so the notebook
// sees a page go.
TPage::~TPage() {
    SetParent(nullptr);
}

void TPage::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

FOLIO_REGISTER_CLASS(TPage)

} // namespace folio
