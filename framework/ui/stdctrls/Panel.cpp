#include "framework/ui/stdctrls/Panel.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/paint/ControlPaint.h"

#include <algorithm>

namespace folio {

namespace {
const std::vector<String>& AlignmentNames() {
    static const std::vector<String> Names{"taLeftJustify", "taRightJustify", "taCenter"};
    return Names;
}
const std::vector<String>& BevelNames() {
    static const std::vector<String> Names{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    return Names;
}
const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone", "bsSingle"};
    return Names;
}

// The colours of a bevel's top-left and bottom-right lines.
void BevelColors(TBevelCut Bevel, TColor Face, TColor& Top, TColor& Bottom) {
    switch (Bevel) {
    case bvLowered:
        Top = clBtnShadow;
        Bottom = clBtnHighlight;
        break;
    case bvSpace:
        Top = Bottom = Face;
        break;
    default:
        Top = clBtnHighlight;
        Bottom = clBtnShadow;
        break;
    }
}
} // namespace

const TClassInfo& TPanel::StaticClassInfo() {
    using C = TPanel;
    static const TClassInfo Info =
        TClassBuilder<C>("TPanel", &TCustomControl::StaticClassInfo())
            .Enum("Alignment", "TAlignment", AlignmentNames(), &C::GetAlignment, &C::SetAlignment,
                  taCenter)
            .Enum("BevelInner", "TBevelCut", BevelNames(), &C::GetBevelInner, &C::SetBevelInner,
                  bvNone)
            .Enum("BevelOuter", "TBevelCut", BevelNames(), &C::GetBevelOuter, &C::SetBevelOuter,
                  bvRaised)
            .Int("BevelWidth", &C::GetBevelWidth, &C::SetBevelWidth, 1)
            .Int("BorderWidth", &C::GetPanelBorderWidth, &C::SetPanelBorderWidth, 0)
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, bsNone)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Caption", "Ctl3D", "Cursor", "Font", "ParentColor", "ParentCtl3D",
                      "ParentFont", "TabOrder", "TabStop", "OnResize"})
            .Publish("Color", clBtnFace)
            .Creatable()
            .Build();
    return Info;
}

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                     csDoubleClicks, csReplicatable});
    SetBounds(GetLeft(), GetTop(), 185, 41);
    SetColor(clBtnFace);
}

// --- properties ------------------------------------------------------------------------------

void TPanel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TPanel::BevelsChanged() {
    Realign();
    Invalidate();
}

void TPanel::SetBevelInner(TBevelCut Value) {
    if (Value == FBevelInner) return;
    FBevelInner = Value;
    BevelsChanged();
}

void TPanel::SetBevelOuter(TBevelCut Value) {
    if (Value == FBevelOuter) return;
    FBevelOuter = Value;
    BevelsChanged();
}

void TPanel::SetBevelWidth(int Value) {
    Value = std::max(Value, 1);
    if (Value == FBevelWidth) return;
    FBevelWidth = Value;
    BevelsChanged();
}

void TPanel::SetPanelBorderWidth(int Value) {
    Value = std::max(Value, 0);
    if (Value == FBorderWidth) return;
    FBorderWidth = Value;
    BevelsChanged();
}

void TPanel::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    BevelsChanged();
}

void TPanel::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) AddSingleBorder(Params, GetCtl3D());
}

// --- geometry ------------------------------------------------------------------------------------

TRect TPanel::GetInnerRect() const {
    int Inset = FBorderWidth;
    if (FBevelOuter != bvNone) Inset += FBevelWidth;
    if (FBevelInner != bvNone) Inset += FBevelWidth;
    TRect R = GetClientRect();
    InflateRect(R, -Inset, -Inset);
    return R;
}

void TPanel::AlignControls(TControl* AControl, TRect& Rect) {
    Rect = GetInnerRect();
    TCustomControl::AlignControls(AControl, Rect);
}

// --- painting ----------------------------------------------------------------------------------

void TPanel::Paint() {
    TCanvas* Canvas = GetCanvas();
    TRect R = GetClientRect();
    TColor Top, Bottom;
    if (FBevelOuter != bvNone) {
        BevelColors(FBevelOuter, GetColor(), Top, Bottom);
        Frame3D(Canvas, R, Top, Bottom, FBevelWidth);
    }
    Frame3D(Canvas, R, GetColor(), GetColor(), FBorderWidth);
    if (FBevelInner != bvNone) {
        BevelColors(FBevelInner, GetColor(), Top, Bottom);
        Frame3D(Canvas, R, Top, Bottom, FBevelWidth);
    }
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(R);
    unsigned Flags = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (FAlignment == taCenter) Flags |= DT_CENTER;
    if (FAlignment == taRightJustify) Flags |= DT_RIGHT;
    DrawCaption(Canvas, GetCaption(), R, DrawTextBiDiModeFlags(Flags), GetEnabled());
}

FOLIO_REGISTER_CLASS(TPanel)

} // namespace folio
