#pragma once

#include "framework/core/Object.h"
#include "framework/ui/controls/ControlEvents.h"

namespace folio {

class TControl;

/// The smallest and largest size a control may take; 0 means no limit.
class TSizeConstraints : public TPersistent {
    FOLIO_CLASS(TSizeConstraints)
public:
    /// The limits of Control (null: limits that hold no control).
    explicit TSizeConstraints(TControl* Control) : FControl(Control) {}

    ///@{
    /// The largest height, in pixels; 0 (the default) is no limit. A maximum
    /// below the minimum lowers the minimum to it. A change resizes the control
    /// into the new limits and fires OnChange.
    int GetMaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);
    ///@}
    ///@{
    /// The largest width, in pixels; 0 (the default) is no limit. A maximum
    /// below the minimum lowers the minimum to it. A change resizes the control
    /// into the new limits and fires OnChange.
    int GetMaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    ///@}
    ///@{
    /// The smallest height, in pixels; 0 (the default) is no limit. A minimum
    /// above the maximum raises the maximum to it. A change resizes the control
    /// into the new limits and fires OnChange.
    int GetMinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    ///@}
    ///@{
    /// The smallest width, in pixels; 0 (the default) is no limit. A minimum
    /// above the maximum raises the maximum to it. A change resizes the control
    /// into the new limits and fires OnChange.
    int GetMinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);
    ///@}

    /// Copies the four limits of another TSizeConstraints as they are, then
    /// resizes the control into them and fires OnChange.
    void Assign(const TPersistent* Source) override;
    /// The control the limits belong to.
    TPersistent* GetOwner() const override;
    /// A limit changed (after the control was resized into it).
    TNotifyEvent OnChange;

private:
    void Changed();
    TControl* FControl;
    int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

} // namespace folio
