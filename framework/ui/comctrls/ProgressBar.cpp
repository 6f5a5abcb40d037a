#include "framework/ui/comctrls/ProgressBar.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/controls/RangeAccessible.h"
#include "framework/ui/controls/StdPublished.h"

#include <climits>

namespace folio {

namespace {
const std::vector<String>& OrientationNames() {
    static const std::vector<String> Names{"pbHorizontal", "pbVertical"};
    return Names;
}
// A progress bar tells its value; only the program moves it.
const TAccessibleRegistration
    TProgressBarAccessible(TProgressBar::StaticClassInfo(), [](TControl* C) {
        return TRangeAccessible<TProgressBar, &TProgressBar::GetMin, &TProgressBar::GetMax,
                                &TProgressBar::GetPosition>::Create(C, TAccRole::ProgressBar);
    });
} // namespace

const TClassInfo& TProgressBar::StaticClassInfo() {
    using C = TProgressBar;
    static const TClassInfo Info =
        TClassBuilder<C>("TProgressBar", &TCustomControl::StaticClassInfo())
            .Int("Max", &C::GetMax, &C::SetMax, 100)
            .Int("Min", &C::GetMin, &C::SetMin, 0)
            .Enum("Orientation", "TProgressBarOrientation", OrientationNames(), &C::GetOrientation,
                  &C::SetOrientation, pbHorizontal)
            .Int("Position", &C::GetPosition, &C::SetPosition, 0)
            .Bool("Smooth", &C::GetSmooth, &C::SetSmooth, false)
            .Int("Step", &C::GetStep, &C::SetStep, 10)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish({"Align", "TabOrder", "TabStop"})
            .Creatable()
            .Build();
    return Info;
}

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque});
    SetBounds(GetLeft(), GetTop(), 150, 16);
    SetColor(clBtnFace);
}

// --- properties ----------------------------------------------------------------------------

void TProgressBar::RangeChanged(bool Changed) {
    if (Changed && !IsLoading()) Invalidate();
}

void TProgressBar::SetMin(int Value) {
    RangeChanged(FRange.SetMin(Value, IsLoading()));
}

void TProgressBar::SetMax(int Value) {
    RangeChanged(FRange.SetMax(Value, IsLoading()));
}

void TProgressBar::SetPosition(int Value) {
    RangeChanged(FRange.SetPosition(Value, IsLoading()));
}

void TProgressBar::SetRange(int AMin, int AMax) {
    SetMin(std::min(AMin, FRange.Max));
    SetMax(AMax);
    SetMin(AMin);
}

void TProgressBar::StepBy(int Delta) {
    const long long Next = static_cast<long long>(FRange.Position) + Delta;
    SetPosition(static_cast<int>(std::clamp<long long>(Next, INT_MIN, INT_MAX)));
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    // Turned on its side, the bar keeps its place and swaps width and height.
    if (!IsLoading()) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    Invalidate();
}

void TProgressBar::SetSmooth(bool Value) {
    if (Value == FSmooth) return;
    FSmooth = Value;
    Invalidate();
}

void TProgressBar::Loaded() {
    TCustomControl::Loaded();
    FRange.Settle();
}

// --- geometry --------------------------------------------------------------------------------

TRect TProgressBar::TrackRect() const {
    TRect R = GetClientRect();
    const int Inset = ScalePixels(2);
    return Rect(R.Left + Inset, R.Top + Inset, R.Right - Inset, R.Bottom - Inset);
}

TRect TProgressBar::BarRect() const {
    const TRect T = TrackRect();
    if (FOrientation == pbVertical) {
        const int Filled = FRange.Offset(std::max(T.Height(), 0));
        return Rect(T.Left, T.Bottom - Filled, T.Right, T.Bottom);
    }
    const int Filled = FRange.Offset(std::max(T.Width(), 0));
    return Rect(T.Left, T.Top, T.Left + Filled, T.Bottom);
}

// --- painting ----------------------------------------------------------------------------------

void TProgressBar::Paint() {
    TCanvas* Canvas = GetCanvas();
    TRect R = GetClientRect();
    DrawEdge(Canvas, R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(R);
    const TRect Bar = BarRect();
    if (Bar.IsEmpty()) return;
    Brush->SetColor(clHighlight);
    if (FSmooth) {
        Canvas->FillRect(Bar);
        return;
    }
    // Blocks about two thirds as long as the bar is thick, a gap between.
    const bool Vertical = FOrientation == pbVertical;
    const int Thick = Vertical ? Bar.Width() : Bar.Height();
    const int Block = std::max(Thick * 2 / 3, 2), Gap = ScalePixels(2);
    if (Vertical) {
        for (int Y = Bar.Bottom; Y > Bar.Top; Y -= Block + Gap)
            Canvas->FillRect(Rect(Bar.Left, std::max(Y - Block, Bar.Top), Bar.Right, Y));
    } else {
        for (int X = Bar.Left; X < Bar.Right; X += Block + Gap)
            Canvas->FillRect(Rect(X, Bar.Top, std::min(X + Block, Bar.Right), Bar.Bottom));
    }
}

FOLIO_REGISTER_CLASS(TProgressBar)

} // namespace folio
