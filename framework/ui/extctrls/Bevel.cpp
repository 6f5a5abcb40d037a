#include "framework/ui/extctrls/Bevel.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/paint/ControlPaint.h"

namespace folio {

namespace {
const std::vector<String>& ShapeNames() {
    static const std::vector<String> Names{"bsBox",      "bsFrame",     "bsTopLine", "bsBottomLine",
                                           "bsLeftLine", "bsRightLine", "bsSpacer"};
    return Names;
}
const std::vector<String>& StyleNames() {
    static const std::vector<String> Names{"bsLowered", "bsRaised"};
    return Names;
}
// A bevel only sets parts apart.
const TAccessibleRegistration
    TBevelAccessible(TBevel::StaticClassInfo(), [](TControl* C) -> std::unique_ptr<TAccessible> {
        return std::make_unique<TControlAccessible>(C, TAccRole::Separator);
    });
} // namespace

const TClassInfo& TBevel::StaticClassInfo() {
    using C = TBevel;
    static const TClassInfo Info =
        TClassBuilder<C>("TBevel", &TGraphicControl::StaticClassInfo())
            .Enum("Shape", "TBevelShape", ShapeNames(), &C::GetShape, &C::SetShape, bsBox)
            .Enum("Style", "TBevelStyle", StyleNames(), &C::GetStyle, &C::SetStyle, bsLowered)
            .Publish({"Align", "Anchors", "Constraints", "ParentShowHint", "ShowHint", "Visible"})
            .Creatable()
            .Build();
    return Info;
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle({csReplicatable});
    SetBounds(GetLeft(), GetTop(), 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
    if (Value == FShape) return;
    FShape = Value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* Canvas = GetCanvas();
    const bool Lowered = FStyle == bsLowered;
    const int W = GetWidth(), H = GetHeight();
    TRect R = GetClientRect();
    switch (FShape) {
    case bsBox:
        Frame3D(Canvas, R, Lowered ? clBtnShadow : clBtnHighlight,
                Lowered ? clBtnHighlight : clBtnShadow, 1);
        break;
    case bsFrame: {
        // Two frames a pixel apart make the etched (or bumped) groove.
        TRect Outer = Rect(0, 0, W - 1, H - 1), Inner = Rect(1, 1, W, H);
        Frame3D(Canvas, Lowered ? Inner : Outer, clBtnHighlight, clBtnHighlight, 1);
        Frame3D(Canvas, Lowered ? Outer : Inner, clBtnShadow, clBtnShadow, 1);
        break;
    }
    case bsTopLine:
        DrawEtchedLine(Canvas, Point(0, 0), Point(W, 0), Lowered);
        break;
    case bsBottomLine:
        DrawEtchedLine(Canvas, Point(0, H - 2), Point(W, H - 2), Lowered);
        break;
    case bsLeftLine:
        DrawEtchedLine(Canvas, Point(0, 0), Point(0, H), Lowered);
        break;
    case bsRightLine:
        DrawEtchedLine(Canvas, Point(W - 2, 0), Point(W - 2, H), Lowered);
        break;
    case bsSpacer:
        break;
    }
}

FOLIO_REGISTER_CLASS(TBevel)

} // namespace folio
