#include "framework/ui/tabs/Notebook.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/forms/CustomForm.h"

#include <algorithm>

namespace folio {

// The names of the pages. Inserting and deleting a name inserts and deletes
// that page; every other change renames the pages by position and adds or
// removes pages at the end.
class TNotebook::TPageList : public TStrings {
public:
    explicit TPageList(TNotebook* ANotebook) : FNotebook(ANotebook) {}

    void Insert(int Index, const String& Value) override {
        if (FNotebook->FSyncing) return TStrings::Insert(Index, Value);
        if (Index < 0 || Index > GetCount())
            throw EListError(Format("List index out of bounds (%d)", Index));
        FNotebook->InsertPage(Index, Value);
    }
    void Delete(int Index) override {
        if (FNotebook->FSyncing) return TStrings::Delete(Index);
        if (Index < 0 || Index >= GetCount())
            throw EListError(Format("List index out of bounds (%d)", Index));
        FNotebook->DeletePage(Index);
    }

    // Takes the names the pages have now, without telling anyone.
    void Refresh(const std::vector<TPage*>& Pages) {
        std::vector<String> Names;
        for (TPage* P : Pages) Names.push_back(P->GetCaption());
        if (Names == Items()) return;
        const auto Handler = std::move(OnChange);
        OnChange = nullptr;
        BeginUpdate();
        Clear();
        for (const String& N : Names) TStrings::Insert(GetCount(), N);
        EndUpdate();
        OnChange = Handler;
    }

private:
    TNotebook* FNotebook;
};

const TClassInfo& TNotebook::StaticClassInfo() {
    using C = TNotebook;
    static const TClassInfo Info =
        TClassBuilder<C>("TNotebook", &TCustomControl::StaticClassInfo())
            .Str("ActivePage", &C::GetActivePage, &C::SetActivePage)
            .NotStored()
            .Int("PageIndex", &C::GetPageIndex, &C::SetPageIndex, 0)
            .Object("Pages", &C::GetPages, &C::SetPages)
            .NotStored()
            .Event("OnPageChanged", &C::OnPageChanged)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Color", "Ctl3D", "Font", "ParentColor", "ParentCtl3D", "ParentFont",
                      "TabOrder", "TabStop"})
            .Creatable()
            .Build();
    return Info;
}

TNotebook::TNotebook(TComponent* AOwner)
    : TCustomControl(AOwner), FPageList(std::make_unique<TPageList>(this)) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque});
    SetBounds(GetLeft(), GetTop(), 150, 150);
    FPageList->OnChange = [this](TObject*) { SyncPages(); };
    FSyncing = true;
    FDefaultPage = InsertPage(0, "Default");
    FSyncing = false;
}

TNotebook::~TNotebook() {
    FPageList->OnChange = nullptr;
}

// --- pages
// -----------------------------------------------------------------------------------------

std::vector<TPage*> TNotebook::Pages() const {
    std::vector<TPage*> Result;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* P = dynamic_cast<TPage*>(Controls(I))) Result.push_back(P);
    return Result;
}

int TNotebook::PageCount() const {
    return static_cast<int>(Pages().size());
}

TPage* TNotebook::GetPage(int Index) const {
    const auto List = Pages();
    if (Index < 0 || Index >= static_cast<int>(List.size()))
        throw EListError(Format("Page index out of bounds (%d)", Index));
    return List[static_cast<size_t>(Index)];
}

TStrings* TNotebook::GetPages() const {
    FPageList->Refresh(Pages());
    return FPageList.get();
}

void TNotebook::SetPages(TStrings* Value) {
    if (Value) GetPages()->Assign(Value);
}

TPage* TNotebook::InsertPage(int Index, const String& Caption) {
    // The notebook owns its pages: a form file holds them as the names in
    // Pages, and a new notebook has one.
    auto* Page = new TPage(this);
    Page->SetCaption(Caption);
    Page->SetVisible(false);
    Page->SetParent(this);
    // The pages keep their order among the notebook's children.
    const auto List = Pages();
    if (Index < static_cast<int>(List.size()) - 1) {
        int Order = 0;
        for (int I = 0; I < ControlCount(); ++I)
            if (Controls(I) == List[static_cast<size_t>(Index)]) Order = I;
        SetChildOrder(Page, Order);
    }
    if (FPageIndex >= Index && FPageIndex >= 0 && PageCount() > 1) ++FPageIndex;
    if (FPageIndex < 0) FPageIndex = 0;
    ShowCurrentPage();
    return Page;
}

void TNotebook::DeletePage(int Index) {
    TPage* Page = GetPage(Index);
    if (Page == FDefaultPage) FDefaultPage = nullptr;
    delete Page;
    const int Count = PageCount();
    if (FPageIndex > Index || FPageIndex >= Count) --FPageIndex;
    if (FPageIndex < 0 && Count > 0) FPageIndex = 0;
    ShowCurrentPage();
}

void TNotebook::SyncPages() {
    if (FSyncing) return;
    FSyncing = true;
    const std::vector<String> Names = FPageList->Items();
    try {
        while (PageCount() > static_cast<int>(Names.size())) DeletePage(PageCount() - 1);
        while (PageCount() < static_cast<int>(Names.size())) InsertPage(PageCount(), "");
        for (size_t I = 0; I < Names.size(); ++I)
            GetPage(static_cast<int>(I))->SetCaption(Names[I]);
    } catch (...) {
        FSyncing = false;
        throw;
    }
    FSyncing = false;
}

// --- the current page
// ---------------------------------------------------------------------------------

void TNotebook::SetPageIndex(int Value) {
    if (IsLoading()) {
        FPageIndex = Value;
        return;
    }
    if (Value < 0 || Value >= PageCount() || Value == FPageIndex) return;
    FPageIndex = Value;
    ShowCurrentPage();
    if (OnPageChanged) OnPageChanged(this);
}

String TNotebook::GetActivePage() const {
    return FPageIndex >= 0 && FPageIndex < PageCount() ? GetPage(FPageIndex)->GetCaption()
                                                       : String();
}

void TNotebook::SetActivePage(const String& Value) {
    const auto List = Pages();
    for (size_t I = 0; I < List.size(); ++I)
        if (List[I]->GetCaption() == Value) SetPageIndex(static_cast<int>(I));
}

void TNotebook::ShowCurrentPage() {
    const auto List = Pages();
    TPage* Shown = FPageIndex >= 0 && FPageIndex < static_cast<int>(List.size())
                       ? List[static_cast<size_t>(FPageIndex)]
                       : nullptr;
    // The new page shows before the old one hides, so the focus can move
    // across without falling off the form.
    if (Shown) Shown->SetVisible(true);
    bool FocusLost = false;
    for (TPage* P : List) {
        if (P == Shown || !P->GetVisible()) continue;
        if (TCustomForm* Form = GetParentForm(this);
            Form && Form->GetActiveControl() && P->ContainsControl(Form->GetActiveControl()))
            FocusLost = true;
        P->SetVisible(false);
    }
    if (FocusLost && Shown && CanFocus()) {
        if (TWinControl* First = Shown->FindNextControl(nullptr, true, true, false))
            First->SetFocus();
        else
            SetFocus();
    }
}

void TNotebook::Loaded() {
    TCustomControl::Loaded();
    const int Wanted = FPageIndex;
    FPageIndex = -1;
    SetPageIndex(std::clamp(Wanted, 0, std::max(PageCount() - 1, 0)));
}

void TNotebook::GetChildren(const std::function<void(TComponent*)>& Proc, TComponent*) {
    for (TPage* Page : Pages()) Proc(Page);
}

void TNotebook::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

void TNotebook::Dispatch(TMessage& Message) {
    // A page given to the notebook from outside (a form file, a designer)
    // shows or hides like the others.
    if (Message.Msg == CM_CONTROLLISTCHANGE && !FSyncing &&
        dynamic_cast<TPage*>(reinterpret_cast<TControl*>(Message.WParam))) {
        auto* Page = reinterpret_cast<TPage*>(Message.WParam);
        TCustomControl::Dispatch(Message);
        if (!Message.LParam && Page == FDefaultPage) FDefaultPage = nullptr;
        // Pages read from a form file replace the page the notebook was
        // made with, while that one holds nothing.
        if (Message.LParam && IsLoading() && FDefaultPage && Page != FDefaultPage &&
            FDefaultPage->ControlCount() == 0) {
            TPage* Default = FDefaultPage;
            FDefaultPage = nullptr;
            FSyncing = true;
            delete Default;
            FSyncing = false;
        }
        // While loading, the index read from the file waits for Loaded.
        if (IsLoading()) return;
        if (FPageIndex >= PageCount()) FPageIndex = PageCount() - 1;
        if (FPageIndex < 0 && PageCount() > 0) FPageIndex = 0;
        if (!IsDestroying()) ShowCurrentPage();
        return;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TNotebook)

} // namespace folio
