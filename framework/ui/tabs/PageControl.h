#pragma once

#include "framework/ui/tabs/CustomTabControl.h"

#include <vector>

namespace folio {

class TTabSheet;

/// Tabs for a set of sheets: each TTabSheet child is a page with its caption
/// on a tab, and the sheet of the selected tab is the one shown.
class TPageControl : public TCustomTabControl {
    FOLIO_CLASS(TPageControl)
public:
    /// A page control with no sheets.
    explicit TPageControl(TComponent* AOwner);

    /// How many sheets there are.
    int PageCount() const { return static_cast<int>(FSheets.size()); }
    /// Raises EListError outside 0 to PageCount - 1.
    TTabSheet* GetPage(int Index) const;
    /// The place of Sheet among the sheets, or -1 when it is not one of them.
    int IndexOfPage(const TTabSheet* Sheet) const;
    /// The sheet shown; null when there are no sheets. Setting a sheet that is
    /// not one of the control's does nothing; the setter fires no event.
    ///@{
    TTabSheet* GetActivePage() const;
    void SetActivePage(TTabSheet* Value);
    ///@}
    /// The index of the sheet shown, or -1. An index outside the sheets is
    /// ignored; the setter fires no event.
    ///@{
    int GetActivePageIndex() const { return GetTabIndex(); }
    void SetActivePageIndex(int Value);
    ///@}
    /// Shows the next (or previous) sheet as the user would, wrapping round:
    /// OnChanging may refuse, OnChange fires.
    void SelectNextPage(bool GoForward) { SelectNextTab(GoForward); }

    /// A sheet put on the control becomes its last page (the first sheet
    /// also the active one); a sheet taken off loses its tab, and the first
    /// sheet shows in place of an active one.
    void Dispatch(TMessage& Message) override;
    /// Shows the ActivePage the form file named, once its sheets are read.
    void Loaded() override;

    /// The sheets tell their page control of a new caption or place.
    void SheetChanged(TTabSheet* Sheet);
    /// Moves Sheet to place Index (clamped to the sheets), keeping the active
    /// page.
    void MoveSheet(TTabSheet* Sheet, int Index);

protected:
    /// Shows the selected tab's sheet, hides the others (moving the focus out
    /// of a hidden one), then fires OnChange.
    void Change() override;

private:
    void UpdateTabs();
    void ShowActiveSheet();

    std::vector<TTabSheet*> FSheets;
    TTabSheet* FLoadedActive = nullptr;
};

} // namespace folio
