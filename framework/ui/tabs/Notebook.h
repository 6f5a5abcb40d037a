#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/tabs/NotebookPage.h"

#include <memory>

namespace folio {

/// A stack of pages of which one shows at a time: the page whose index is
/// PageIndex. Pages lists their names; adding, inserting, deleting and
/// renaming names adds, inserts, deletes and renames pages. The notebook
/// owns its pages; a new one has a single page, "Default".
class TNotebook : public TCustomControl {
    FOLIO_CLASS(TNotebook)
public:
    /// A notebook 150 by 150 pixels with one page, "Default", which pages read
    /// from a form file replace.
    explicit TNotebook(TComponent* AOwner);
    /// Frees the notebook with the pages it owns.
    ~TNotebook() override;

    /// The pages' names, in page order; changing the list changes the pages.
    TStrings* GetPages() const;
    /// Copies the names: the notebook gets that many pages, so named.
    void SetPages(TStrings* Value);
    /// How many pages there are.
    int PageCount() const;
    /// Raises EListError outside 0 to PageCount - 1.
    TPage* GetPage(int Index) const;
    /// Out-of-range values are ignored.
    int GetPageIndex() const { return FPageIndex; }
    /// The index of the page shown; setting it shows that page and fires
    /// OnPageChanged.
    void SetPageIndex(int Value);
    /// The name of the current page; setting a name that no page has does
    /// nothing.
    String GetActivePage() const;
    /// Shows the page of that name.
    void SetActivePage(const String& Value);

    /// Shows the page the form file chose, brought within the pages.
    void Loaded() override;
    /// A page given to the notebook from outside (a form file, a designer)
    /// shows or hides like the others.
    void Dispatch(TMessage& Message) override;
    /// A form file holds the pages, in page order, each with its controls.
    void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) override;

    /// Fired when another page shows.
    TNotifyEvent OnPageChanged;

protected:
    /// Fills the notebook with its colour, behind its pages.
    void Paint() override;

private:
    class TPageList;
    friend class TPageList;

    /// The notebook's pages, in order: its TPage children.
    std::vector<TPage*> Pages() const;
    TPage* InsertPage(int Index, const String& Caption);
    void DeletePage(int Index);
    /// Makes the pages match the names, position by position.
    void SyncPages();
    void ShowCurrentPage();

    std::unique_ptr<TPageList> FPageList;
    int FPageIndex = -1;
    bool FSyncing = false;
    /// The page a new notebook starts with, until a form file brings pages
    /// of its own and it goes.
    TPage* FDefaultPage = nullptr;
};

} // namespace folio
