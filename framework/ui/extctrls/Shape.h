#pragma once

#include "framework/ui/controls/GraphicControl.h"

#include <memory>

namespace folio {

/// What a shape draws; the square and circle kinds are as large as the
/// control's shorter side, centred.
enum class TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
using enum TShapeType;

/// A shape drawn with its own Pen and Brush: a rectangle or ellipse filling
/// the control, or a square or circle as large as the shorter side, centred;
/// the round kinds have corners a quarter of the shorter side across.
class TShape : public TGraphicControl {
    FOLIO_CLASS(TShape)
public:
    /// A rectangle 65 by 65 pixels with a default pen (black, 1 pixel) and
    /// brush (solid white).
    explicit TShape(TComponent* AOwner);
    /// Frees its pen and brush.
    ~TShape() override;

    /// What the shape draws; stRectangle by default.
    ///@{
    TShapeType GetShape() const { return FShape; }
    void SetShape(TShapeType Value);
    ///@}
    /// The shape owns its pen and brush; the setters copy the given ones.
    ///@{
    TPen* GetPen() const { return FPen.get(); }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    TBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
    ///@}

    /// The rectangle the shape is drawn in, in client coordinates.
    TRect ShapeRect() const;

protected:
    /// Draws the shape in ShapeRect with the pen and brush.
    void Paint() override;

private:
    TShapeType FShape = stRectangle;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
};

} // namespace folio
