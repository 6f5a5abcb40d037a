#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/GraphicsTypes.h"

namespace folio {

/// How a brush fills: with its colour (bsSolid) or not at all (bsClear, what
/// lies beneath shows through).
enum TBrushStyle { bsSolid, bsClear };

/// The fill of a canvas: a solid colour, or nothing (clear).
class TBrush : public TPersistent {
    FOLIO_CLASS(TBrush)
public:
    /// A solid white brush.
    TBrush() = default;

    /// The fill colour; white (0xFFFFFF) by default. A system colour is
    /// resolved when the canvas fills. A change fires OnChange.
    ///@{
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    ///@}
    /// Whether the brush fills; bsSolid by default. A change fires OnChange.
    ///@{
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    ///@}

    /// Copies the colour and style of another brush and fires OnChange once;
    /// any other source goes to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;

    /// Fires after the colour or style changed (setting a value it already
    /// has fires nothing), and after Assign; Sender is the brush.
    TNotifyEvent OnChange;

protected:
    /// Fires OnChange.
    void Changed();

private:
    TColor FColor = 0xFFFFFF;
    TBrushStyle FStyle = bsSolid;
};

} // namespace folio
