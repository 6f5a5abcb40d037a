#include "framework/ui/dialogs/CommonDialog.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ScopeGuard.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Label.h"

namespace folio {

const TClassInfo& TCommonDialog::StaticClassInfo() {
    using C = TCommonDialog;
    static const TClassInfo Info = TClassBuilder<C>("TCommonDialog", &TComponent::StaticClassInfo())
                                       .Str("Title", &C::GetTitle, &C::SetTitle)
                                       .Event("OnClose", &C::OnClose)
                                       .Event("OnShow", &C::OnShow)
                                       .Build();
    return Info;
}

TCommonDialog::TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}

TCommonDialog::~TCommonDialog() = default;

bool TCommonDialog::RunModal(TForm& Form, TWinControl* First) {
    TTemporaryChange<TForm*> Running(FForm, &Form);
    // The focus can go to a control only once the form shows.
    Form.OnActivate = [&Form, First](TObject*) {
        if (!Form.GetActiveControl() && First && First->CanFocus()) Form.SetActiveControl(First);
    };
    if (OnShow) OnShow(this);
    const int Result = Form.ShowModal();
    if (OnClose) OnClose(this);
    return Result == mrOk;
}

TLabel* TCommonDialog::AddLabel(TWinControl* Parent, const String& Caption, int X, int Y) {
    auto* Label = new TLabel(Parent);
    Label->SetParent(Parent);
    Label->SetLeft(X);
    Label->SetTop(Y);
    Label->SetCaption(Caption);
    return Label;
}

TButton* TCommonDialog::AddButton(TWinControl* Parent, const String& Caption, int X, int Y,
                                  int Result) {
    auto* Button = new TButton(Parent);
    Button->SetParent(Parent);
    Button->SetBounds(X, Y, 75, 25);
    Button->SetCaption(Caption);
    Button->SetModalResult(Result);
    Button->SetDefault(Result == mrOk);
    Button->SetCancel(Result == mrCancel);
    return Button;
}

} // namespace folio
