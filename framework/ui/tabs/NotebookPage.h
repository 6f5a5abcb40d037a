#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

/// One page of a notebook: a container filling the notebook, shown while it
/// is the notebook's current page. Its caption is the page's name.
class TPage : public TCustomControl {
    FOLIO_CLASS(TPage)
public:
    /// A page filling its parent (alClient), in its parent's colour, that takes
    /// child controls.
    explicit TPage(TComponent* AOwner);
    /// Leaves the notebook first, so that the notebook sees the page go.
    ~TPage() override;

protected:
    /// Fills the page with its colour.
    void Paint() override;
};

} // namespace folio
