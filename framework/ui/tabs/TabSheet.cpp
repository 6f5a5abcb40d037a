#include "framework/ui/tabs/TabSheet.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/tabs/PageControl.h"

namespace folio {

const TClassInfo& TTabSheet::StaticClassInfo() {
    using C = TTabSheet;
    static const TClassInfo Info =
        TClassBuilder<C>("TTabSheet", &TCustomControl::StaticClassInfo())
            .Int("PageIndex", &C::GetPageIndex, &C::SetPageIndex)
            .NotStored()
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"BiDiMode", "Caption", "Constraints", "Enabled", "Font", "ParentBiDiMode",
                      "ParentFont", "OnResize"})
            .Creatable()
            .Build();
    return Info;
}

TTabSheet::TTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque});
    SetParentColor(true);
    SetAlign(alClient);
    SetVisible(false);
}

// The sheet leaves its page control while it is still a sheet, so the page
// control drops it from its pages instead of keeping a freed one.
TTabSheet::~TTabSheet() {
    SetParent(nullptr);
}

TPageControl* TTabSheet::GetPageControl() const {
    return dynamic_cast<TPageControl*>(GetParent());
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    SetParent(Value);
}

int TTabSheet::GetPageIndex() const {
    const TPageControl* P = GetPageControl();
    return P ? P->IndexOfPage(this) : -1;
}

void TTabSheet::SetPageIndex(int Value) {
    if (TPageControl* P = GetPageControl()) P->MoveSheet(this, Value);
}

void TTabSheet::TextChanged() {
    TCustomControl::TextChanged();
    if (TPageControl* P = GetPageControl()) P->SheetChanged(this);
}

void TTabSheet::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

FOLIO_REGISTER_CLASS(TTabSheet)

} // namespace folio
