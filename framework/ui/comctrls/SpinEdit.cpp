#include "framework/ui/comctrls/SpinEdit.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/comctrls/SpinButton.h"
#include "framework/ui/controls/RangeAccessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Edit.h"

#include <cctype>
#include <charconv>
#include <climits>

namespace folio {

namespace {
constexpr int PageSteps = 10;
// A spin edit is a spin button the user may set.
const TAccessibleRegistration TSpinEditAccessible(TSpinEdit::StaticClassInfo(), [](TControl* C) {
    return TRangeAccessible<TSpinEdit, &TSpinEdit::GetMinValue, &TSpinEdit::GetMaxValue,
                            &TSpinEdit::GetValue,
                            &TSpinEdit::SetValue>::Create(C, TAccRole::SpinButton);
});
} // namespace

const TClassInfo& TSpinEdit::StaticClassInfo() {
    using C = TSpinEdit;
    static const TClassInfo Info = TClassBuilder<C>("TSpinEdit", &TCustomControl::StaticClassInfo())
                                       .Int("Increment", &C::GetIncrement, &C::SetIncrement, 1)
                                       .Int("MaxValue", &C::GetMaxValue, &C::SetMaxValue, 100)
                                       .Int("MinValue", &C::GetMinValue, &C::SetMinValue, 0)
                                       .Int("Value", &C::GetValue, &C::SetValue, 0)
                                       .Event("OnChange", &C::OnChange)
                                       .Publish(PublishedControlBasics)
                                       .Publish(PublishedHintProperties)
                                       .Publish({"Font", "ParentFont", "TabOrder"})
                                       .Creatable()
                                       .Build();
    return Info;
}

TSpinEdit::TSpinEdit(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csOpaque});
    SetColor(clBtnFace);
    // The box and the buttons are parts of the spin edit, not components of
    // the form.
    FEdit = std::make_unique<TEdit>(nullptr);
    FEdit->SetParent(this);
    FEdit->SetParentFont(true);
    FEdit->OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState) {
        switch (Key) {
        case VK_UP:
        case VK_DOWN:
            CommitText();
            StepBy(Key == VK_UP ? 1 : -1);
            break;
        case VK_PRIOR:
        case VK_NEXT:
            CommitText();
            StepBy(Key == VK_PRIOR ? PageSteps : -PageSteps);
            break;
        case VK_RETURN:
            CommitText();
            break;
        default:
            return;
        }
        Key = 0;
    };
    // Only what can make a number is typed; control keys pass.
    FEdit->OnKeyPress = [](TObject*, char& Key) {
        const auto C = static_cast<unsigned char>(Key);
        if (C >= ' ' && !std::isdigit(C) && Key != '-' && Key != '+') Key = 0;
    };
    FEdit->OnExit = [this](TObject*) { CommitText(); };
    FButton = std::make_unique<TSpinButton>(nullptr);
    FButton->SetParent(this);
    FButton->OnUpClick = [this](TObject*) {
        CommitText();
        StepBy(1);
    };
    FButton->OnDownClick = [this](TObject*) {
        CommitText();
        StepBy(-1);
    };
    SetBounds(GetLeft(), GetTop(), 121, FEdit->GetHeight());
    ShowValue();
}

TSpinEdit::~TSpinEdit() {
    // The box may lose the keyboard as it goes; nothing is taken from it then.
    FEdit->OnExit = nullptr;
    FEdit->OnKeyDown = nullptr;
    FEdit.reset();
    FButton.reset();
}

// --- properties ----------------------------------------------------------------------------------

void TSpinEdit::ValueChanged(int Was) {
    if (IsLoading()) return;
    ShowValue();
    if (FRange.Position != Was && OnChange) OnChange(this);
}

void TSpinEdit::SetValue(int Value) {
    const int Was = FRange.Position;
    if (FRange.SetPosition(Value, IsLoading())) ValueChanged(Was);
}

void TSpinEdit::SetMinValue(int Value) {
    const int Was = FRange.Position;
    if (FRange.SetMin(Value, IsLoading())) ValueChanged(Was);
}

void TSpinEdit::SetMaxValue(int Value) {
    const int Was = FRange.Position;
    if (FRange.SetMax(Value, IsLoading())) ValueChanged(Was);
}

void TSpinEdit::Loaded() {
    TCustomControl::Loaded();
    FRange.Settle();
    ShowValue();
}

void TSpinEdit::ShowValue() {
    FEdit->SetText(std::to_string(FRange.Position));
}

void TSpinEdit::StepBy(int Count) {
    const long long Next =
        static_cast<long long>(FRange.Position) + static_cast<long long>(Count) * FIncrement;
    SetValue(static_cast<int>(std::clamp<long long>(Next, FRange.Min, FRange.Max)));
}

void TSpinEdit::CommitText() {
    const String& Text = FEdit->GetText();
    const char* First = Text.data();
    const char* Last = First + Text.size();
    if (First != Last && *First == '+') ++First;
    long long Typed = 0;
    const auto [End, Error] = std::from_chars(First, Last, Typed);
    if (Error == std::errc::result_out_of_range) {
        // A number too long for any value is as far as it can go that way.
        Typed = Text.find('-') == String::npos ? LLONG_MAX : LLONG_MIN;
    } else if (Error != std::errc() || End != Last) {
        ShowValue();
        return;
    }
    const int Was = FRange.Position;
    SetValue(static_cast<int>(std::clamp<long long>(Typed, FRange.Min, FRange.Max)));
    // A clamped or reformatted number shows as the value it gave.
    if (FRange.Position == Was) ShowValue();
}

// --- focus and layout
// -------------------------------------------------------------------------------

void TSpinEdit::SetFocus() {
    FEdit->SetFocus();
}

bool TSpinEdit::CanFocus() const {
    return FEdit->CanFocus();
}

void TSpinEdit::AlignControls(TControl* AControl, TRect& Rect) {
    TCustomControl::AlignControls(AControl, Rect);
    const int Buttons = ScalePixels(16);
    const int Width = GetClientWidth(), Height = GetClientHeight();
    FEdit->SetBounds(0, 0, std::max(Width - Buttons, 0), Height);
    FButton->SetBounds(std::max(Width - Buttons, 0), 0, std::min(Buttons, Width), Height);
}

void TSpinEdit::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

FOLIO_REGISTER_CLASS(TSpinEdit)

} // namespace folio
