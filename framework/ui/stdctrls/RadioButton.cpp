#include "framework/ui/stdctrls/RadioButton.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

const TClassInfo& TRadioButton::StaticClassInfo() {
    using C = TRadioButton;
    static const TClassInfo Info =
        TClassBuilder<C>("TRadioButton", &TButtonControl::StaticClassInfo())
            .Bool("Checked", &C::GetChecked, &C::SetChecked, false)
            .Event("OnChange", &C::OnChange)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish(PublishedButtonControlProperties)
            .Publish("Color", clBtnFace)
            .Creatable()
            .Build();
    return Info;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    SetBounds(GetLeft(), GetTop(), 113, 17);
    // Until one of the group is checked, each is reachable by Tab.
    SetTabStop(true);
}

std::vector<TRadioButton*> TRadioButton::Group() const {
    std::vector<TRadioButton*> Buttons;
    TWinControl* Parent = GetParent();
    if (!Parent) return {const_cast<TRadioButton*>(this)};
    for (int I = 0; I < Parent->ControlCount(); ++I)
        if (auto* R = dynamic_cast<TRadioButton*>(Parent->Controls(I))) Buttons.push_back(R);
    std::stable_sort(Buttons.begin(), Buttons.end(), [](TRadioButton* A, TRadioButton* B) {
        return A->GetTabOrder() < B->GetTabOrder();
    });
    return Buttons;
}

void TRadioButton::SetChecked(bool Value) {
    if (Value == FChecked) return;
    FChecked = Value;
    InvalidateRect(MarkRect(), false);
    // A form being read checks its buttons in any order; Loaded settles the
    // group once all are there.
    if (Value && !IsLoading()) UncheckOthers();
    if (OnChange) OnChange(this);
}

void TRadioButton::UncheckOthers() {
    SetTabStop(true);
    for (TRadioButton* Other : Group())
        if (Other != this) {
            Other->SetChecked(false);
            Other->SetTabStop(false);
        }
}

void TRadioButton::Loaded() {
    TButtonControl::Loaded();
    if (FChecked) UncheckOthers();
}

void TRadioButton::Click() {
    SetChecked(true);
    TButtonControl::Click();
}

void TRadioButton::KeyDown(unsigned short& Key, TShiftState Shift) {
    TButtonControl::KeyDown(Key, Shift);
    const bool Forward = Key == VK_DOWN || Key == VK_RIGHT;
    if (!Forward && Key != VK_UP && Key != VK_LEFT) return;
    Key = 0;
    const std::vector<TRadioButton*> Buttons = Group();
    const auto Count = static_cast<int>(Buttons.size());
    const int Here =
        static_cast<int>(std::find(Buttons.begin(), Buttons.end(), this) - Buttons.begin());
    // The next button that can take the focus, wrapping round.
    for (int Step = 1; Step < Count; ++Step) {
        TRadioButton* Next =
            Buttons[static_cast<size_t>((Here + (Forward ? Step : Count - Step)) % Count)];
        if (!Next->CanFocus()) continue;
        Next->SetFocus();
        Next->Click();
        return;
    }
}

void TRadioButton::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS, [] { return TRect{}; })) return;
    TButtonControl::Dispatch(Message);
}

void TRadioButton::DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) {
    DrawRadioMark(Canvas, Box, Look);
}

TMarkLook TRadioButton::GetMarkLook() const {
    return {FChecked, false, IsPressed(), GetEnabled()};
}

FOLIO_REGISTER_CLASS(TRadioButton)

} // namespace folio
