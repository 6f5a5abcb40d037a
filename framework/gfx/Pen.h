#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/GraphicsTypes.h"
#include "framework/gfx/Raster.h"

namespace folio {

/// The line style of a pen. One-pixel lines repeat their pattern: psDash
/// 18 on and 6 off, psDot 3 on and 3 off, psDashDot 9 on, 6 off, 3 on, 6 off,
/// psDashDotDot 9 on, then 3 off and 3 on twice, 3 off. psClear draws no line;
/// psInsideFrame draws as psSolid.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };

/// How the pen's colour P combines with the destination D, bit by bit on
/// each colour component (0 is black, 1 white).
enum TPenMode {
    pmBlack,       ///< 0
    pmWhite,       ///< 1
    pmNop,         ///< D
    pmNot,         ///< not D
    pmCopy,        ///< P
    pmNotCopy,     ///< not P
    pmMergePenNot, ///< P or not D
    pmMaskPenNot,  ///< P and not D
    pmMergeNotPen, ///< not P or D
    pmMaskNotPen,  ///< not P and D
    pmMerge,       ///< P or D
    pmNotMerge,    ///< not (P or D)
    pmMask,        ///< P and D
    pmNotMask,     ///< not (P and D)
    pmXor,         ///< P xor D
    pmNotXor,      ///< not (P xor D)
};

/// The operation a pen of Mode and Color (a pixel) applies to each
/// destination pixel; the alpha byte of the result is always opaque.
TPixelOp MakePenOp(TPenMode Mode, TPixel Color);

/// The line style of a canvas. Width 0 and 1 both draw one-pixel lines; dash
/// styles apply to one-pixel lines only, wider pens draw solid.
class TPen : public TPersistent {
    FOLIO_CLASS(TPen)
public:
    /// A solid black pen one pixel wide that copies its colour (pmCopy).
    TPen() = default;

    /// The line colour; black (0) by default. A system colour is resolved
    /// when the canvas draws. A change fires OnChange.
    ///@{
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    ///@}
    /// The line width in pixels; 1 by default. A negative value is taken as
    /// 0, which draws one-pixel lines as 1 does. A change fires OnChange.
    ///@{
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    ///@}
    /// Solid, dashed, dotted or no line; psSolid by default. A change fires
    /// OnChange.
    ///@{
    TPenStyle GetStyle() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    ///@}
    /// How the colour combines with what lies beneath; pmCopy (paints the
    /// colour) by default, pmNop draws nothing. A change fires OnChange.
    ///@{
    TPenMode GetMode() const { return FMode; }
    void SetMode(TPenMode Value);
    ///@}

    /// Copies colour, width, style and mode of another pen and fires OnChange
    /// once; any other source goes to TPersistent::Assign.
    void Assign(const TPersistent* Source) override;

    /// Fires after the colour, width, style or mode changed (setting a value
    /// it already has fires nothing), and after Assign; Sender is the pen.
    TNotifyEvent OnChange;

protected:
    /// Fires OnChange.
    void Changed();

private:
    TColor FColor = 0;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

} // namespace folio
