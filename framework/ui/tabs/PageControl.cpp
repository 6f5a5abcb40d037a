#include "framework/ui/tabs/PageControl.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/tabs/TabSheet.h"

#include <algorithm>

namespace folio {

const TClassInfo& TPageControl::StaticClassInfo() {
    using C = TPageControl;
    static const TClassInfo Info =
        TClassBuilder<C>("TPageControl", &TCustomTabControl::StaticClassInfo())
            .Component("ActivePage", &C::GetActivePage, &C::SetActivePage)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Font", "ParentFont", "TabHeight", "TabOrder", "TabStop", "TabWidth",
                      "OnChange", "OnChanging"})
            .Creatable()
            .Build();
    return Info;
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TTabSheet* TPageControl::GetPage(int Index) const {
    if (Index < 0 || Index >= PageCount())
        throw EListError(Format("Page index out of bounds (%d)", Index));
    return FSheets[static_cast<size_t>(Index)];
}

int TPageControl::IndexOfPage(const TTabSheet* Sheet) const {
    auto It = std::find(FSheets.begin(), FSheets.end(), Sheet);
    return It == FSheets.end() ? -1 : static_cast<int>(It - FSheets.begin());
}

TTabSheet* TPageControl::GetActivePage() const {
    const int I = GetTabIndex();
    return I >= 0 && I < PageCount() ? FSheets[static_cast<size_t>(I)] : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* Value) {
    if (IsLoading()) {
        // The sheet may not be on the control yet: Loaded applies it.
        FLoadedActive = Value;
        return;
    }
    const int I = IndexOfPage(Value);
    if (I >= 0) SetActivePageIndex(I);
}

void TPageControl::SetActivePageIndex(int Value) {
    if (Value < 0 || Value >= PageCount()) return;
    SetTabIndex(Value);
    ShowActiveSheet();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    if (FLoadedActive) SetActivePage(FLoadedActive);
    FLoadedActive = nullptr;
}

void TPageControl::Change() {
    ShowActiveSheet();
    TCustomTabControl::Change();
}

void TPageControl::UpdateTabs() {
    TStrings* T = Tabs();
    T->BeginUpdate();
    T->Clear();
    for (TTabSheet* S : FSheets) T->Add(S->GetCaption());
    T->EndUpdate();
}

void TPageControl::SheetChanged(TTabSheet* Sheet) {
    const int I = IndexOfPage(Sheet);
    if (I >= 0) Tabs()->SetString(I, Sheet->GetCaption());
}

void TPageControl::MoveSheet(TTabSheet* Sheet, int Index) {
    const int From = IndexOfPage(Sheet);
    if (From < 0) return;
    TTabSheet* Active = GetActivePage();
    Index = std::clamp(Index, 0, PageCount() - 1);
    FSheets.erase(FSheets.begin() + From);
    FSheets.insert(FSheets.begin() + Index, Sheet);
    UpdateTabs();
    SetTabIndex(IndexOfPage(Active));
}

void TPageControl::ShowActiveSheet() {
    TTabSheet* Active = GetActivePage();
    if (Active) Active->SetVisible(true);
    bool FocusLost = false;
    for (TTabSheet* S : FSheets) {
        if (S == Active || !S->GetVisible()) continue;
        TCustomForm* Form = GetParentForm(this);
        if (Form && Form->GetActiveControl() && S->ContainsControl(Form->GetActiveControl()))
            FocusLost = true;
        S->SetVisible(false);
    }
    // A focus inside the page that went hides moves to the tabs.
    if (FocusLost && CanFocus()) SetFocus();
}

void TPageControl::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_CONTROLLISTCHANGE) {
        TCustomTabControl::Dispatch(Message);
        auto* Sheet = dynamic_cast<TTabSheet*>(reinterpret_cast<TControl*>(Message.WParam));
        if (!Sheet) return;
        TTabSheet* Active = GetActivePage();
        if (Message.LParam) {
            FSheets.push_back(Sheet);
        } else {
            FSheets.erase(std::remove(FSheets.begin(), FSheets.end(), Sheet), FSheets.end());
            if (Active == Sheet) Active = nullptr;
        }
        UpdateTabs();
        if (!Active && PageCount() > 0) Active = FSheets.front();
        SetTabIndex(IndexOfPage(Active));
        if (!IsDestroying()) ShowActiveSheet();
        return;
    }
    TCustomTabControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TPageControl)

} // namespace folio
