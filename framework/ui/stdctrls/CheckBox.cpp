#include "framework/ui/stdctrls/CheckBox.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/controls/StdPublished.h"

namespace folio {

namespace {
const std::vector<String>& StateNames() {
    static const std::vector<String> Names{"cbUnchecked", "cbChecked", "cbGrayed"};
    return Names;
}
} // namespace

const TClassInfo& TCheckBox::StaticClassInfo() {
    using C = TCheckBox;
    static const TClassInfo Info =
        TClassBuilder<C>("TCheckBox", &TButtonControl::StaticClassInfo())
            .Bool("AllowGrayed", &C::GetAllowGrayed, &C::SetAllowGrayed, false)
            // State says it all; Checked is its two-state view.
            .Bool("Checked", &C::GetChecked, &C::SetChecked, false)
            .NotStored()
            .Enum("State", "TCheckBoxState", StateNames(), &C::GetState, &C::SetState, cbUnchecked)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish(PublishedButtonControlProperties)
            .Publish("Color", clBtnFace)
            .Publish("TabStop", 1)
            .Creatable()
            .Build();
    return Info;
}

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(GetLeft(), GetTop(), 97, 17);
}

void TCheckBox::SetState(TCheckBoxState Value) {
    if (Value == FState) return;
    FState = Value;
    InvalidateRect(MarkRect(), false);
}

void TCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked:
        SetState(cbChecked);
        break;
    case cbChecked:
        SetState(FAllowGrayed ? cbGrayed : cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbUnchecked);
        break;
    }
}

void TCheckBox::Click() {
    Toggle();
    TButtonControl::Click();
}

void TCheckBox::DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) {
    DrawCheckMark(Canvas, Box, Look);
}

TMarkLook TCheckBox::GetMarkLook() const {
    return {FState == cbChecked, FState == cbGrayed, IsPressed(), GetEnabled()};
}

FOLIO_REGISTER_CLASS(TCheckBox)

} // namespace folio
