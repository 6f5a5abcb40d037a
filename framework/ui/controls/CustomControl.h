#pragma once

#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/WinControl.h"

#include <memory>

namespace folio {

/// A windowed control that paints itself on its canvas in Paint.
class TCustomControl : public TWinControl {
    FOLIO_CLASS(TCustomControl)
public:
    /// A windowed control owned by AOwner, without a window until it shows.
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    /// See TGraphicControl::GetCanvas.
    TCanvas* GetCanvas() const;
    ///@{
    /// Double-buffered controls paint into an offscreen bitmap that is copied
    /// to the surface once, so a paint never shows half done.
    /// False by default.
    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }
    ///@}

protected:
    /// Draws the control's face on GetCanvas(), in client coordinates; nothing
    /// here. Called by the paint pass, clipped to what needs repainting.
    virtual void Paint();
    /// Calls Paint.
    void PaintWindow() override;

private:
    std::unique_ptr<TCanvas> FCanvas;
    bool FDoubleBuffered = false;
};

} // namespace folio
