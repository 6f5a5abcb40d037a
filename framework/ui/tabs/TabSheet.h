#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

class TPageControl;

/// One page of a page control: a container whose caption is its tab.
class TTabSheet : public TCustomControl {
    FOLIO_CLASS(TTabSheet)
public:
    /// A hidden sheet filling its parent (alClient) in its parent's colour; it
    /// shows when its page control makes it the active page.
    explicit TTabSheet(TComponent* AOwner);
    /// Leaves its page control first, which drops it from its pages.
    ~TTabSheet() override;

    /// The page control the sheet lies on (its parent).
    TPageControl* GetPageControl() const;
    /// Puts the sheet on Value, as its last page; null takes it off.
    void SetPageControl(TPageControl* Value);
    /// The sheet's place among its page control's sheets, or -1.
    int GetPageIndex() const;
    /// Moves the sheet to place Value (clamped to the page control's pages),
    /// keeping the active page; nothing without a page control.
    void SetPageIndex(int Value);

protected:
    /// Fills the sheet with its colour.
    void Paint() override;
    /// A new caption retitles the sheet's tab.
    void TextChanged() override;
};

} // namespace folio
