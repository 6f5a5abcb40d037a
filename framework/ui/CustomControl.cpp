#include "framework/ui/Controls.h"

namespace folio {

FOLIO_DEFINE_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::GetCanvas() const {
    return FCanvas;
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow() {
    Paint();
}

} // namespace folio
