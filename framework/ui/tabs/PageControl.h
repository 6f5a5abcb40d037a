#pragma once

#include "framework/ui/tabs/CustomTabControl.h"

#include <vector>

namespace folio {

class TTabSheet;

// Tabs for a set of sheets: each TTabSheet child is a page with its caption
// on a tab, and the sheet of the selected tab is the one shown.
class TPageControl : public TCustomTabControl {
    FOLIO_CLASS(TPageControl)
public:
    explicit TPageControl(TComponent* AOwner);

    int PageCount() const { return static_cast<int>(FSheets.size()); }
    // Raises EListError outside 0 .. PageCount - 1.
    TTabSheet* GetPage(int Index) const;
    int IndexOfPage(const TTabSheet* Sheet) const;
    TTabSheet* GetActivePage() const;
    void SetActivePage(TTabSheet* Value);
    int GetActivePageIndex() const { return GetTabIndex(); }
    void SetActivePageIndex(int Value);
    void SelectNextPage(bool GoForward) { SelectNextTab(GoForward); }

    void Dispatch(TMessage& Message) override;
    void Loaded() override;

    // The sheets tell their page control of a new caption or place.
    void SheetChanged(TTabSheet* Sheet);
    void MoveSheet(TTabSheet* Sheet, int Index);

protected:
    void Change() override;

private:
    void UpdateTabs();
    void ShowActiveSheet();

    std::vector<TTabSheet*> FSheets;
    TTabSheet* FLoadedActive = nullptr;
};

} // namespace folio
