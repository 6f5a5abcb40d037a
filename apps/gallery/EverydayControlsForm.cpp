#include "EverydayControlsForm.h"

#include "framework/ui/comctrls/ProgressBar.h"
#include "framework/ui/comctrls/SpinEdit.h"
#include "framework/ui/comctrls/TrackBar.h"
#include "framework/ui/stdctrls/CheckBox.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/RadioButton.h"
#include "framework/ui/stdctrls/RadioGroup.h"

namespace gallery {

using namespace folio;

namespace {

template <class T>
T* Add(TWinControl* Parent, int X, int Y, int W, int H) {
    auto* C = new T(Parent->GetOwner() ? Parent->GetOwner() : Parent);
    C->SetParent(Parent);
    C->SetBounds(X, Y, W, H);
    return C;
}

} // namespace

TEverydayControlsForm::TEverydayControlsForm(TComponent* AOwner) : TForm(AOwner) {
    SetBounds(20, 20, 600, 420);
    SetCaption("Everyday controls");

    const char* Checks[] = {"&Word wrap", "Show &hints", "Mixed (grayed)", "Disabled"};
    for (int I = 0; I < 4; ++I) {
        auto* Box = Add<TCheckBox>(this, 8, 8 + 22 * I, 130, 17);
        Box->SetCaption(Checks[I]);
        Box->SetAllowGrayed(I == 2);
        Box->SetState(I == 0 ? cbChecked : I == 2 ? cbGrayed : cbUnchecked);
        Box->SetEnabled(I != 3);
    }
    auto* Sizes = Add<TGroupBox>(this, 150, 4, 130, 92);
    Sizes->SetCaption(" Icons ");
    const char* Radios[] = {"&Large", "&Small", "L&ist"};
    for (int I = 0; I < 3; ++I) {
        auto* Radio = Add<TRadioButton>(Sizes, 10, 20 + 22 * I, 110, 17);
        Radio->SetCaption(Radios[I]);
        Radio->SetChecked(I == 1);
    }
    auto* Group = Add<TRadioGroup>(this, 290, 4, 300, 92);
    Group->SetCaption(" Animation ");
    Group->GetItems()->SetText("None\nLinear\nAccelerate\nBounce\nFade\n");
    Group->SetColumns(2);
    Group->SetItemIndex(2);

    auto* Progress = Add<TProgressBar>(this, 8, 110, 272, 18);
    Progress->SetPosition(60);
    auto* Smooth = Add<TProgressBar>(this, 8, 134, 272, 18);
    Smooth->SetSmooth(true);
    Smooth->SetPosition(35);
    auto* Upright = Add<TProgressBar>(this, 290, 110, 18, 110);
    // Turning a bar upright swaps its sides.
    Upright->SetOrientation(pbVertical);
    Upright->SetBounds(290, 110, 18, 110);
    Upright->SetPosition(70);
    auto* Track = Add<TTrackBar>(this, 8, 160, 272, 45);
    Track->SetMax(20);
    Track->SetFrequency(2);
    Track->SetPosition(13);
    auto* Standing = Add<TTrackBar>(this, 320, 104, 45, 120);
    Standing->SetOrientation(trVertical);
    Standing->SetBounds(320, 104, 45, 120);
    Standing->SetPosition(4);
    auto* Spin = Add<TSpinEdit>(this, 8, 214, 90, 24);
    Spin->SetMaxValue(999);
    Spin->SetValue(42);
}

} // namespace gallery
