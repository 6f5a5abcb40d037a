#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

// One page of a notebook: a container filling the notebook, shown while it
// is the notebook's current page. Its caption is the page's name.
class TPage : public TCustomControl {
    FOLIO_CLASS(TPage)
public:
    explicit TPage(TComponent* AOwner);
    ~TPage() override;

protected:
    void Paint() override;
};

} // namespace folio
