#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/paint/PaintPass.h"

namespace folio {

FOLIO_DEFINE_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* AOwner)
    : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->OnChange = [this](TObject*) {
        if (!Application->GetPaintPass().Painting()) TPaintPass::NoteDirectDrawing(this);
    };
}

TCustomControl::~TCustomControl() = default;

TCanvas* TCustomControl::GetCanvas() const {
    if (!Application->GetPaintPass().Painting()) TPaintPass::BindForDirectDrawing(this, *FCanvas);
    return FCanvas.get();
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow() {
    Paint();
}

} // namespace folio
