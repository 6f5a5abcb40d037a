#pragma once

#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/Control.h"

#include <memory>

namespace folio {

/// A control without a window of its own: it paints on its parent's surface,
/// clipped to its bounds, through its canvas.
class TGraphicControl : public TControl {
    FOLIO_CLASS(TGraphicControl)
public:
    /// A graphic control owned by AOwner; it shows once it has a parent.
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    /// While Paint runs the canvas draws into the dirty part of the control;
    /// outside a paint it draws on the form's surface at once, clipped to the
    /// visible part of the control (and the next repaint covers it). Without
    /// a shown form it measures but draws nothing.
    TCanvas* GetCanvas() const;
    /// Paints the control (Paint) when its parent's paint pass reaches it.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the control's face on GetCanvas(), in client coordinates; nothing
    /// here. Called by the paint pass, clipped to what needs repainting.
    virtual void Paint();

private:
    std::unique_ptr<TCanvas> FCanvas;
};

} // namespace folio
