#pragma once

#include "framework/ui/controls/GraphicControl.h"

namespace folio {

/// What a bevel draws.
enum class TBevelShape {
    bsBox,        ///< a 3-D box around the whole control
    bsFrame,      ///< an etched groove (or a bump) around the control
    bsTopLine,    ///< a 3-D line along the top edge
    bsBottomLine, ///< a 3-D line along the bottom edge
    bsLeftLine,   ///< a 3-D line along the left edge
    bsRightLine,  ///< a 3-D line along the right edge
    bsSpacer      ///< nothing: it only holds a place
};
using enum TBevelShape;

/// Whether a bevel's edges look pressed into the form or standing out.
enum class TBevelStyle { bsLowered, bsRaised };
using enum TBevelStyle;

/// A bevel: a 3-D box, frame or line that sets parts of a form apart. It
/// takes no input and paints only edges, so what lies under it shows.
/// bsSpacer paints nothing (it holds a place in an aligned layout).
class TBevel : public TGraphicControl {
    FOLIO_CLASS(TBevel)
public:
    /// A lowered box, 50 by 50 pixels.
    explicit TBevel(TComponent* AOwner);

    /// What the bevel draws; bsBox by default.
    ///@{
    TBevelShape GetShape() const { return FShape; }
    void SetShape(TBevelShape Value);
    ///@}
    /// bsLowered (the default) or bsRaised.
    ///@{
    TBevelStyle GetStyle() const { return FStyle; }
    void SetStyle(TBevelStyle Value);
    ///@}

protected:
    /// Draws the shape's edges in the button shadow and highlight colours.
    void Paint() override;

private:
    TBevelShape FShape = bsBox;
    TBevelStyle FStyle = bsLowered;
};

} // namespace folio
