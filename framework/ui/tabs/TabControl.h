#pragma once

#include "framework/ui/tabs/CustomTabControl.h"

namespace folio {

/// Tabs over one display area: the application shows what each tab stands
/// for itself, in OnChange.
class TTabControl : public TCustomTabControl {
    FOLIO_CLASS(TTabControl)
public:
    /// A tab control with no tabs.
    explicit TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

    /// The control owns its tab captions; SetTabs copies the given ones.
    ///@{
    TStrings* GetTabs() const { return Tabs(); }
    void SetTabs(TStrings* Value) { Tabs()->Assign(Value); }
    ///@}
};

} // namespace folio
