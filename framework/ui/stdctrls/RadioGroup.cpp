#include "framework/ui/stdctrls/RadioGroup.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/stdctrls/RadioButton.h"

#include <algorithm>

namespace folio {

namespace {
constexpr int MaxColumns = 16;
} // namespace

const TClassInfo& TRadioGroup::StaticClassInfo() {
    using C = TRadioGroup;
    static const TClassInfo Info = TClassBuilder<C>("TRadioGroup", &TGroupBox::StaticClassInfo())
                                       .Int("Columns", &C::GetColumns, &C::SetColumns, 1)
                                       .Object("Items", &C::GetItems, &C::SetItems)
                                       .Int("ItemIndex", &C::GetItemIndex, &C::SetItemIndex, -1)
                                       .Creatable()
                                       .Build();
    return Info;
}

TRadioGroup::TRadioGroup(TComponent* AOwner)
    : TGroupBox(AOwner), FItems(std::make_unique<TStringList>()) {
    // The buttons are the group's own, made from the items.
    SetControlStyle(GetControlStyle() - csAcceptsControls);
    SetBounds(GetLeft(), GetTop(), 185, 105);
    FItems->OnChange = [this](TObject*) {
        if (!IsLoading()) UpdateButtons();
    };
}

TRadioGroup::~TRadioGroup() {
    FItems->OnChange = nullptr;
    FButtons.clear();
}

TRadioButton* TRadioGroup::GetButton(int Index) const {
    if (Index < 0 || Index >= ButtonCount()) return nullptr;
    return FButtons[static_cast<size_t>(Index)].get();
}

void TRadioGroup::SetItemIndex(int Value) {
    // A form names the index before or after its items; Loaded keeps it in range.
    if (!IsLoading()) Value = std::clamp(Value, -1, FItems->GetCount() - 1);
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    if (IsLoading()) return;
    if (TRadioButton* B = GetButton(FItemIndex))
        B->SetChecked(true);
    else
        for (auto& Button : FButtons) Button->SetChecked(false);
}

void TRadioGroup::SetColumns(int Value) {
    Value = std::clamp(Value, 1, MaxColumns);
    if (Value == FColumns) return;
    FColumns = Value;
    Realign();
    Invalidate();
}

void TRadioGroup::Loaded() {
    TGroupBox::Loaded();
    FItemIndex = std::clamp(FItemIndex, -1, FItems->GetCount() - 1);
    UpdateButtons();
}

void TRadioGroup::UpdateButtons() {
    const int Count = FItems->GetCount();
    while (ButtonCount() > Count) FButtons.pop_back();
    while (ButtonCount() < Count) {
        auto Button = std::make_unique<TRadioButton>(nullptr);
        Button->OnClick = [this](TObject* Sender) { ButtonClicked(Sender); };
        Button->SetParent(this);
        FButtons.push_back(std::move(Button));
    }
    FItemIndex = std::clamp(FItemIndex, -1, Count - 1);
    for (int I = 0; I < Count; ++I) {
        TRadioButton* B = GetButton(I);
        B->SetCaption(FItems->GetString(I));
        B->SetEnabled(GetEnabled());
    }
    // Checking the chosen button unchecks the rest; with no choice, none is.
    if (TRadioButton* B = GetButton(FItemIndex))
        B->SetChecked(true);
    else
        for (auto& Button : FButtons) Button->SetChecked(false);
    Realign();
}

void TRadioGroup::ButtonClicked(TObject* Sender) {
    for (int I = 0; I < ButtonCount(); ++I)
        if (GetButton(I) == Sender) FItemIndex = I;
    Click();
}

void TRadioGroup::AlignControls(TControl* AControl, TRect& Rect) {
    TGroupBox::AlignControls(AControl, Rect);
    if (FButtons.empty()) return;
    const TRect Inner = GetInnerRect();
    const int Count = ButtonCount();
    const int Rows = (Count + FColumns - 1) / FColumns;
    const int Width = Inner.Width() / FColumns;
    const int Height = std::max(Inner.Height() / std::max(Rows, 1), 1);
    const int Indent = ScalePixels(8);
    for (int I = 0; I < Count; ++I) {
        const int Column = I / Rows, Row = I % Rows;
        GetButton(I)->SetBounds(Inner.Left + Column * Width + Indent, Inner.Top + Row * Height,
                                std::max(Width - Indent, 0), Height);
    }
}

void TRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    Realign();
}

FOLIO_REGISTER_CLASS(TRadioGroup)

} // namespace folio
