#include "framework/ui/extctrls/Shape.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace folio {

namespace {
const std::vector<String>& ShapeNames() {
    static const std::vector<String> Names{"stRectangle",   "stSquare",  "stRoundRect",
                                           "stRoundSquare", "stEllipse", "stCircle"};
    return Names;
}

// The outline of a rectangle with rounded corners of the given radius, as
// points for a polygon: a quarter ellipse at each corner.
std::vector<TPoint> RoundedOutline(const TRect& R, int Radius) {
    std::vector<TPoint> Points;
    const int Steps = std::clamp(Radius, 2, 32);
    const double Right = R.Right - 1 - Radius, Bottom = R.Bottom - 1 - Radius;
    const double Left = R.Left + Radius, Top = R.Top + Radius;
    const struct {
        double X, Y, From;
    } Corners[] = {{Right, Top, -0.5}, {Right, Bottom, 0}, {Left, Bottom, 0.5}, {Left, Top, 1}};
    for (const auto& C : Corners)
        for (int I = 0; I <= Steps; ++I) {
            const double A = (C.From + 0.5 * I / Steps) * std::numbers::pi;
            Points.push_back(Point(static_cast<int>(std::lround(C.X + Radius * std::cos(A))),
                                   static_cast<int>(std::lround(C.Y + Radius * std::sin(A)))));
        }
    return Points;
}
// A shape is a picture.
const TAccessibleRegistration
    TShapeAccessible(TShape::StaticClassInfo(), [](TControl* C) -> std::unique_ptr<TAccessible> {
        return std::make_unique<TControlAccessible>(C, TAccRole::Graphic);
    });
} // namespace

const TClassInfo& TShape::StaticClassInfo() {
    using C = TShape;
    static const TClassInfo Info =
        TClassBuilder<C>("TShape", &TGraphicControl::StaticClassInfo())
            .Object("Brush", &C::GetBrush, &C::SetBrush)
            .Object("Pen", &C::GetPen, &C::SetPen)
            .Enum("Shape", "TShapeType", ShapeNames(), &C::GetShape, &C::SetShape, stRectangle)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish({"Align", "OnMouseDown", "OnMouseMove", "OnMouseUp"})
            .Creatable()
            .Build();
    return Info;
}

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
    SetControlStyle({csReplicatable});
    SetBounds(GetLeft(), GetTop(), 65, 65);
    FPen->OnChange = [this](TObject*) { Invalidate(); };
    FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() {
    FPen->OnChange = nullptr;
    FBrush->OnChange = nullptr;
}

void TShape::SetShape(TShapeType Value) {
    if (Value == FShape) return;
    FShape = Value;
    Invalidate();
}

TRect TShape::ShapeRect() const {
    const int W = GetWidth(), H = GetHeight();
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        const int Side = std::min(W, H);
        return Bounds((W - Side) / 2, (H - Side) / 2, Side, Side);
    }
    return Rect(0, 0, W, H);
}

void TShape::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetPen(FPen.get());
    Canvas->SetBrush(FBrush.get());
    const TRect R = ShapeRect();
    if (R.IsEmpty()) return;
    switch (FShape) {
    case stRectangle:
    case stSquare:
        Canvas->Rectangle(R);
        break;
    case stRoundRect:
    case stRoundSquare:
        Canvas->Polygon(RoundedOutline(R, std::min(R.Width(), R.Height()) / 8));
        break;
    case stEllipse:
    case stCircle:
        Canvas->Ellipse(R);
        break;
    }
}

FOLIO_REGISTER_CLASS(TShape)

} // namespace folio
