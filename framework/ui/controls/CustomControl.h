#pragma once

#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/WinControl.h"

#include <memory>

namespace folio {

// A windowed control that paints itself on its canvas in Paint.
class TCustomControl : public TWinControl {
    FOLIO_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // See TGraphicControl::GetCanvas.
    TCanvas* GetCanvas() const;
    // Double-buffered controls paint into an offscreen bitmap that is copied
    // to the surface once, so a paint never shows half done.
    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

protected:
    virtual void Paint();
    void PaintWindow() override;

private:
    std::unique_ptr<TCanvas> FCanvas;
    bool FDoubleBuffered = false;
};

} // namespace folio
