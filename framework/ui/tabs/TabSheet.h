#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

class TPageControl;

// One page of a page control: a container whose caption is its tab.
class TTabSheet : public TCustomControl {
    FOLIO_CLASS(TTabSheet)
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    // The page control the sheet lies on (its parent).
    TPageControl* GetPageControl() const;
    void SetPageControl(TPageControl* Value);
    // The sheet's place among its page control's sheets, or -1.
    int GetPageIndex() const;
    void SetPageIndex(int Value);

protected:
    void Paint() override;
    void TextChanged() override;
};

} // namespace folio
