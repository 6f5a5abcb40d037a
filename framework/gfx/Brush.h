#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/GraphicsTypes.h"

namespace folio {

enum TBrushStyle { bsSolid, bsClear };

// The fill of a canvas: a solid colour, or nothing (clear).
class TBrush : public TPersistent {
    FOLIO_CLASS(TBrush)
public:
    TBrush() = default;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle GetStyle() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor FColor = 0xFFFFFF;
    TBrushStyle FStyle = bsSolid;
};

} // namespace folio
