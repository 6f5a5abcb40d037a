#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/paint/PaintPass.h"

namespace folio {

FOLIO_DEFINE_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->OnChange = [this](TObject*) {
        if (!TPaintPass::Painting()) TPaintPass::NoteDirectDrawing(this);
    };
}

TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::GetCanvas() const {
    if (!TPaintPass::Painting()) TPaintPass::BindForDirectDrawing(this, *FCanvas);
    return FCanvas.get();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow() {
    Paint();
}

} // namespace folio
