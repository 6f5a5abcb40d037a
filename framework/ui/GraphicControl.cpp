#include "framework/ui/Controls.h"

namespace folio {

FOLIO_DEFINE_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() = default;

TCanvas* TGraphicControl::GetCanvas() const {
    return FCanvas;
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
