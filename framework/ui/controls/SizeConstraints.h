#pragma once

#include "framework/core/Object.h"
#include "framework/ui/controls/ControlEvents.h"

namespace folio {

class TControl;

// The smallest and largest size a control may take; 0 means no limit.
class TSizeConstraints : public TPersistent {
    FOLIO_CLASS(TSizeConstraints)
public:
    explicit TSizeConstraints(TControl* Control) : FControl(Control) {}

    int GetMaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);
    int GetMaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int GetMinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    int GetMinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);

    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TControl* FControl;
    int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

} // namespace folio
