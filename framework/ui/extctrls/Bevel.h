#pragma once

#include "framework/ui/controls/GraphicControl.h"

namespace folio {

enum class TBevelShape {
    bsBox,
    bsFrame,
    bsTopLine,
    bsBottomLine,
    bsLeftLine,
    bsRightLine,
    bsSpacer
};
using enum TBevelShape;

enum class TBevelStyle { bsLowered, bsRaised };
using enum TBevelStyle;

// A bevel: a 3-D box, frame or line that sets parts of a form apart. It
// takes no input and paints only edges, so what lies under it shows.
// bsSpacer paints nothing (it holds a place in an aligned layout).
class TBevel : public TGraphicControl {
    FOLIO_CLASS(TBevel)
public:
    explicit TBevel(TComponent* AOwner);

    TBevelShape GetShape() const { return FShape; }
    void SetShape(TBevelShape Value);
    TBevelStyle GetStyle() const { return FStyle; }
    void SetStyle(TBevelStyle Value);

protected:
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

} // namespace folio
