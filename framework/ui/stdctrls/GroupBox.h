#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

/// A container with an etched frame and its caption set into the frame's top
/// line. The caption's accelerator focuses the first control inside.
class TGroupBox : public TCustomControl {
    FOLIO_CLASS(TGroupBox)
public:
    /// An empty group box of 185 by 105 pixels in its parent's colour.
    explicit TGroupBox(TComponent* AOwner);

    /// Where the frame lies: its top line runs through the middle of the
    /// caption's height.
    TRect GetFrameRect() const;
    /// The area children align in: inside the frame, below the caption.
    TRect GetInnerRect() const;

    /// The caption's accelerator focuses the first Tab stop inside.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the background, the etched frame and the caption.
    void Paint() override;
    /// Aligns the children in GetInnerRect.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// The caption's height changes the inner area: realigns.
    void FontChanged() override;

private:
    int CaptionHeight() const;
};

} // namespace folio
