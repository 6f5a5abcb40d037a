#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

// A container with an etched frame and its caption set into the frame's top
// line. The caption's accelerator focuses the first control inside.
class TGroupBox : public TCustomControl {
    FOLIO_CLASS(TGroupBox)
public:
    explicit TGroupBox(TComponent* AOwner);

    // Where the frame lies: its top line runs through the middle of the
    // caption's height.
    TRect GetFrameRect() const;
    // The area children align in: inside the frame, below the caption.
    TRect GetInnerRect() const;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void FontChanged() override;

private:
    int CaptionHeight() const;
};

} // namespace folio
