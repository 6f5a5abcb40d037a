#include "TabOrderDialog.h"

#include "FormDesigner.h"

#include "framework/core/ScopeGuard.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <algorithm>

namespace designer {

using namespace folio;

namespace {

constexpr int Margin = 8;
constexpr int ListWidth = 220;
constexpr int ListHeight = 240;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;

TButton* DialogButton(TForm& Form, const String& Name, const String& Caption, int Left, int Top) {
    auto* B = new TButton(&Form);
    B->SetName(Name);
    B->SetCaption(Caption);
    B->SetBounds(Left, Top, ButtonWidth, ButtonHeight);
    B->SetParent(&Form);
    return B;
}

} // namespace

std::vector<TWinControl*> TabOrderControls(const TWinControl& Parent, const TComponent* Root) {
    std::vector<TWinControl*> Controls;
    for (int I = 0; I < Parent.ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(Parent.Controls(I)); W && W->GetOwner() == Root)
            Controls.push_back(W);
    // The children stand in their tab order already; sorting by it keeps
    // that true should the two ever part.
    std::stable_sort(Controls.begin(), Controls.end(), [](TWinControl* A, TWinControl* B) {
        return A->GetTabOrder() < B->GetTabOrder();
    });
    return Controls;
}

TTabOrderDialog::TTabOrderDialog(TWinControl& Parent, const TComponent* Root)
    : FForm(std::make_unique<TForm>(nullptr)), FOrder(TabOrderControls(Parent, Root)) {
    FForm->SetName("TabOrderDialog");
    FForm->SetCaption("Tab order of " + Parent.GetName());
    FForm->SetBorderStyle(bsDialog);
    FForm->SetPosition(poScreenCenter);
    // Made first, the list is first in the tab order and has the keys.
    FList = new TListBox(FForm.get());
    FList->SetName("TabOrderList");
    FList->SetBounds(Margin, Margin, ListWidth, ListHeight);
    FList->SetParent(FForm.get());
    const int Right = Margin * 2 + ListWidth;
    DialogButton(*FForm, "UpButton", "&Up", Right, Margin)->OnClick = [this](TObject*) {
        MoveChosen(-1);
    };
    DialogButton(*FForm, "DownButton", "&Down", Right, Margin + ButtonHeight + 4)->OnClick =
        [this](TObject*) { MoveChosen(1); };
    TButton* OK =
        DialogButton(*FForm, "OKButton", "OK", Right, Margin + ListHeight - 2 * ButtonHeight - 4);
    OK->SetModalResult(mrOk);
    OK->SetDefault(true);
    TButton* Cancel =
        DialogButton(*FForm, "CancelButton", "Cancel", Right, Margin + ListHeight - ButtonHeight);
    Cancel->SetModalResult(mrCancel);
    Cancel->SetCancel(true);
    FForm->SetClientWidth(Right + ButtonWidth + Margin);
    FForm->SetClientHeight(ListHeight + 2 * Margin);
    Fill(FOrder.empty() ? -1 : 0);
}

TTabOrderDialog::~TTabOrderDialog() = default;

void TTabOrderDialog::Fill(int Chosen) {
    TStrings* Items = FList->GetItems();
    Items->BeginUpdate();
    Items->Clear();
    for (const TWinControl* W : FOrder) Items->Add(W->GetName() + ": " + W->ClassName());
    Items->EndUpdate();
    FList->SetItemIndex(Chosen);
}

void TTabOrderDialog::MoveChosen(int By) {
    const int From = FList->GetItemIndex();
    const int To = From + By;
    if (From < 0 || To < 0 || To >= static_cast<int>(FOrder.size())) return;
    std::swap(FOrder[static_cast<size_t>(From)], FOrder[static_cast<size_t>(To)]);
    FList->GetItems()->Move(From, To);
    FList->SetItemIndex(To);
}

TWinControl* TabOrderParent(TFormDesigner& Designer) {
    TForm* Form = Designer.GetForm();
    auto* Selected = dynamic_cast<TControl*>(Designer.GetSelection());
    if (auto* W = dynamic_cast<TWinControl*>(Selected); W && !TabOrderControls(*W, Form).empty())
        return W;
    if (Selected && Selected->GetParent()) return Selected->GetParent();
    return Form;
}

void ApplyTabOrder(TFormDesigner& Designer, const std::vector<TWinControl*>& Order) {
    if (Order.empty() || !Order.front()->GetParent()) return;
    // Every windowed child keeps its place in the tab order but for those
    // of Order, which take the places they had between them in Order's
    // sequence: the designer's own marks stay where they are.
    const TWinControl* Parent = Order.front()->GetParent();
    std::vector<TWinControl*> All;
    for (int I = 0; I < Parent->ControlCount(); ++I)
        if (auto* W = dynamic_cast<TWinControl*>(Parent->Controls(I))) All.push_back(W);
    std::vector<TWinControl*> Wanted = All;
    size_t Next = 0;
    for (TWinControl*& W : Wanted)
        if (std::find(Order.begin(), Order.end(), W) != Order.end()) W = Order[Next++];
    if (Wanted == All) return;
    Designer.BeginChange();
    TScopeGuard End([&Designer] { Designer.EndChange(); });
    // Placed first to last, each one's place is final once it is set.
    for (size_t I = 0; I < Wanted.size(); ++I)
        if (Wanted[I]->GetTabOrder() != static_cast<int>(I))
            Wanted[I]->SetTabOrder(static_cast<int>(I));
    Designer.Modified();
}

bool EditTabOrder(TFormDesigner& Designer) {
    TWinControl* Parent = TabOrderParent(Designer);
    TTabOrderDialog Dialog(*Parent, Designer.GetForm());
    if (Dialog.Form().ShowModal() != mrOk) return false;
    ApplyTabOrder(Designer, Dialog.Order());
    return true;
}

} // namespace designer
