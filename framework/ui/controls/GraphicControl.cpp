#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/paint/PaintPass.h"

namespace folio {

FOLIO_DEFINE_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* AOwner)
    : TControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {
    FCanvas->OnChange = [this](TObject*) {
        if (!Application->GetPaintPass().Painting()) TPaintPass::NoteDirectDrawing(this);
    };
}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::GetCanvas() const {
    if (!Application->GetPaintPass().Painting()) TPaintPass::BindForDirectDrawing(this, *FCanvas);
    return FCanvas.get();
}

void TGraphicControl::Paint() {}

void TGraphicControl::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_PAINT) {
        Paint();
        return;
    }
    TControl::Dispatch(Message);
}

} // namespace folio
