#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/GraphicsTypes.h"
#include "framework/gfx/Raster.h"

namespace folio {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

// How the pen's colour P combines with the destination D.
enum TPenMode {
    pmBlack,       // 0
    pmWhite,       // 1
    pmNop,         // D
    pmNot,         // not D
    pmCopy,        // P
    pmNotCopy,     // not P
    pmMergePenNot, // P or not D
    pmMaskPenNot,  // P and not D
    pmMergeNotPen, // not P or D
    pmMaskNotPen,  // not P and D
    pmMerge,       // P or D
    pmNotMerge,    // not (P or D)
    pmMask,        // P and D
    pmNotMask,     // not (P and D)
    pmXor,         // P xor D
    pmNotXor,      // not (P xor D)
};

// The operation a pen of Mode and Color (a pixel) applies to each pixel.
TPixelOp MakePenOp(TPenMode Mode, TPixel Color);

// The line style of a canvas. Width 0 and 1 both draw one-pixel lines; dash
// styles apply to one-pixel lines only, wider pens draw solid.
class TPen : public TPersistent {
    FOLIO_CLASS(TPen)
public:
    TPen() = default;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode Value);

    void Assign(const TPersistent* Source) override;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor FColor = 0;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

} // namespace folio
