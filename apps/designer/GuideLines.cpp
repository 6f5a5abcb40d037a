#include "GuideLines.h"

#include "framework/core/ColorConsts.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/WinControl.h"

#include <algorithm>

namespace designer {

using namespace folio;

namespace {

// A colour that stands out from the faces of forms and controls in every
// scheme, as the guides of form designers do.
constexpr TColor GuideColor = 0xD07000;

void Place(TGuideLine& Line, TWinControl* Parent, const TRect& R) {
    if (!Parent) {
        Line.SetVisible(false);
        Line.SetParent(nullptr);
        return;
    }
    if (Line.GetParent() != Parent) Line.SetParent(Parent);
    Line.SetBounds(R.Left, R.Top, R.Width(), R.Height());
    Line.SetVisible(true);
    Line.BringToFront();
}

} // namespace

TGuideLine::TGuideLine() : TCustomControl(nullptr) {
    SetVisible(false);
}

void TGuideLine::Paint() {
    TCanvas* C = GetCanvas();
    C->GetBrush()->SetColor(GuideColor);
    C->FillRect(GetClientRect());
}

TGuideLines::TGuideLines()
    : FVertical(std::make_unique<TGuideLine>()), FHorizontal(std::make_unique<TGuideLine>()) {}

TGuideLines::~TGuideLines() = default;

void TGuideLines::Show(TWinControl* Parent, std::optional<int> X, std::optional<int> Y) {
    const int W = Parent ? Parent->GetClientWidth() : 0;
    const int H = Parent ? Parent->GetClientHeight() : 0;
    Place(*FVertical, Parent && X ? Parent : nullptr, Rect(X.value_or(0), 0, X.value_or(0) + 1, H));
    Place(*FHorizontal, Parent && Y ? Parent : nullptr,
          Rect(0, Y.value_or(0), W, Y.value_or(0) + 1));
}

bool TGuideLines::VerticalShown() const {
    return FVertical->GetVisible() && FVertical->GetParent();
}

bool TGuideLines::HorizontalShown() const {
    return FHorizontal->GetVisible() && FHorizontal->GetParent();
}

TPositionHint::TPositionHint() : TCustomControl(nullptr) {
    SetVisible(false);
}

void TPositionHint::ShowAt(TWinControl* Parent, TPoint Pos, const String& Text) {
    if (!Parent) {
        SetVisible(false);
        SetParent(nullptr);
        return;
    }
    if (GetParent() != Parent) SetParent(Parent);
    if (Text != FText) {
        FText = Text;
        Invalidate();
    }
    const int W = GetCanvas()->TextWidth(Text) + 8;
    const int H = GetCanvas()->TextHeight(Text) + 4;
    const int X = std::clamp(Pos.X, 0, std::max(0, Parent->GetClientWidth() - W));
    const int Y = std::clamp(Pos.Y, 0, std::max(0, Parent->GetClientHeight() - H));
    SetBounds(X, Y, W, H);
    SetVisible(true);
    BringToFront();
}

void TPositionHint::Paint() {
    TCanvas* C = GetCanvas();
    C->GetBrush()->SetColor(clInfoBk);
    C->GetPen()->SetColor(clInfoText);
    C->Rectangle(GetClientRect());
    C->GetFont()->SetColor(clInfoText);
    C->SetBkMode(TRANSPARENT);
    C->TextOut(4, 2, FText);
}

} // namespace designer
