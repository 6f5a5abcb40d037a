#include "samples/Perfgrap.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/forms/Palette.h"
#include "samples/SampleStrings.h"

#include <climits>
#include <cstdint>

namespace folio {

namespace {

// Pixel heights are kept far inside the integer range, so that a value many
// times the scale (possible after the application sets a small Scale) cannot
// overflow the rectangle arithmetic; the canvas clips what lies outside.
constexpr double MaxPixels = 1 << 24;

int SaturatedDifference(int A, int B) {
    const std::int64_t D = static_cast<std::int64_t>(A) - B;
    if (D < INT_MIN) return INT_MIN;
    if (D > INT_MAX) return INT_MAX;
    return static_cast<int>(D);
}

} // namespace

const TClassInfo& TPerformanceGraph::StaticClassInfo() {
    using C = TPerformanceGraph;
    static const TClassInfo Info =
        TClassBuilder<C>("TPerformanceGraph", &TGraphicControl::StaticClassInfo())
            .Publish("Align")
            .Publish("Anchors")
            .Publish("Constraints")
            .Publish("Enabled")
            .Publish("ParentShowHint")
            .Publish("ShowHint")
            .Publish("Visible")
            .Enum<TGraphKind>("Kind", "TGraphKind", {"pgBar", "pgLine"}, &C::GetKind,
                              &C::SetGraphKind, pgLine)
            .Color("ForeColor", &C::GetForeColor, &C::SetForeColor, clGreen)
            .Color("BackColor", &C::GetBackColor, &C::SetBackColor, clBlack)
            .Int("GridSize", &C::GetGridSize, &C::SetGridSize, 15)
            .Int("StepSize", &C::GetStepSize, &C::SetStepSize, 3)
            .Int("Scale", &C::GetScale, &C::SetScale, 1000)
            // The declared default is the value the constructor sets, so
            // that every other value, 1000 included, is written and read back.
            .Int("Gradient", &C::GetGradient, &C::SetGradient, 100)
            .Bool("Gridlines", &C::GetGridlines, &C::SetGridlines, true)
            .Int("PenWidth", &C::GetPenWidth, &C::SetPenWidth, 2)
            .Event("OnScaleChange", &C::OnScaleChange)
            .Creatable()
            .Build();
    return Info;
}

FOLIO_REGISTER_CLASS(TPerformanceGraph)

TPerformanceGraph::TPerformanceGraph(TComponent* AOwner)
    : TGraphicControl(AOwner), FForeColor(clGreen), FBackColor(clBlack) {
    SetControlStyle(GetControlStyle() + csFramed + csOpaque);
    SetBounds(GetLeft(), GetTop(), 100, 100);
    FHistorySize = GetBandCount() + 2;
    FHistory.assign(static_cast<size_t>(FHistorySize), TGraphBand{});
    FFirstY = 1;
    FLastY = 0;
    FGridOffset = 0;
    FBitmap = std::make_unique<TBitmap>();
    Initialize(FGridSize - 1);
}

TPerformanceGraph::~TPerformanceGraph() = default;

// --- properties ----------------------------------------------------------------

void TPerformanceGraph::SetGraphKind(TGraphKind Value) {
    if (Value == FKind) return;
    FKind = Value;
    Replay();
}

void TPerformanceGraph::SetForeColor(TColor Value) {
    if (Value == FForeColor) return;
    FForeColor = Value;
    Replay();
}

void TPerformanceGraph::SetBackColor(TColor Value) {
    if (Value == FBackColor) return;
    FBackColor = Value;
    Replay();
}

void TPerformanceGraph::SetGridSize(int Value) {
    if (Value == FGridSize) return;
    FGridSize = Value < 2 ? 2 : Value;
    Replay();
}

void TPerformanceGraph::SetStepSize(int Value) {
    if (Value == FStepSize) return;
    FStepSize = Value < 1 ? 1 : Value;
    ReallocHistory();
    Replay();
}

void TPerformanceGraph::SetScale(int Value) {
    if (Value == FScale) return;
    // The event reports the request, even when rounding gives the old scale
    // back.
    FScale = RoundUp(Value, FGradient);
    if (OnScaleChange) OnScaleChange(this);
    Replay();
}

void TPerformanceGraph::SetGradient(int Value) {
    if (Value == FGradient) return;
    FGradient = Value;
    Replay();
}

void TPerformanceGraph::SetGridlines(bool Value) {
    if (Value == FGridlines) return;
    FGridlines = Value;
    Replay();
}

void TPerformanceGraph::SetPenWidth(int Value) {
    if (Value == FPenWidth) return;
    FPenWidth = Value;
    Replay();
}

// --- data ------------------------------------------------------------------------

void TPerformanceGraph::DataPoint(TColor Color, int Value) {
    TGraphBand& Step = FHistory[static_cast<size_t>(FLastY)];
    if (Step.PointCount >= MaxPointsPerStep) throw ERangeError(LoadStr(SGraphPointsFull));
    Step.PointColors[Step.PointCount] = Color;
    Step.PointValues[Step.PointCount] = Value;
    ++Step.PointCount;
}

void TPerformanceGraph::Update() {
    ScrollGraph();
    ShiftY();
    int Max = 0;
    for (int Y = FirstY(); Y != -1; Y = NextY(Y)) {
        const TGraphBand& Step = FHistory[static_cast<size_t>(Y)];
        for (int I = 0; I < Step.PointCount; ++I)
            if (Step.PointValues[I] > Max) Max = Step.PointValues[I];
    }
    Max = RoundUp(Max, FGradient);
    if (Max != FScale) {
        SetScale(Max);
    } else {
        DisplayPoints(LastY(FLastY));
        Refresh();
    }
}

void TPerformanceGraph::Repaint() {
    // The inherited Repaint ends in the virtual Update, which here advances
    // the chart; repainting must only paint.
    Invalidate();
    TGraphicControl::Update();
}

int TPerformanceGraph::GetBandCount() const {
    return GetWidth() / FStepSize;
}

int TPerformanceGraph::RoundUp(int Value, int Granularity) {
    // 64-bit arithmetic: the smallest integer divided by -1, and the largest
    // values rounded up, would leave the integer range; those stay at its end.
    const std::int64_t V = Value;
    const std::int64_t G = Granularity;
    if (G == 0 || V % G == 0) return Value;
    const std::int64_t R = (V / G + 1) * G;
    if (R > INT_MAX) return INT_MAX;
    if (R < INT_MIN) return INT_MIN;
    return static_cast<int>(R);
}

// --- the ring of steps -----------------------------------------------------------

int TPerformanceGraph::NextY(int Y) const {
    int N = Y + 1;
    if (N >= FHistorySize) N = 0;
    return N == FFirstY ? -1 : N;
}

int TPerformanceGraph::LastY(int Y) const {
    return Y == 0 ? FHistorySize - 1 : Y - 1;
}

int TPerformanceGraph::ShiftY() {
    int N = FLastY + 1;
    if (N >= FHistorySize) N = 0;
    FHistory[static_cast<size_t>(N)].PointCount = 0;
    FFirstY = N + 1 >= FHistorySize ? 0 : N + 1;
    FLastY = N;
    return N;
}

void TPerformanceGraph::ReallocHistory() {
    const int NewSize = GetBandCount() + 2;
    std::vector<TGraphBand> NewHistory(static_cast<size_t>(NewSize));
    int Y = FirstY();
    // A smaller ring keeps the newest steps.
    for (int Skip = FHistorySize - NewSize; Skip > 0 && Y != -1; --Skip) Y = NextY(Y);
    int Count = 0;
    for (; Y != -1 && Count < NewSize; Y = NextY(Y))
        NewHistory[static_cast<size_t>(Count++)] = FHistory[static_cast<size_t>(Y)];
    FHistory = std::move(NewHistory);
    FHistorySize = NewSize;
    FLastY = Count - 1;
    FFirstY = 0;
}

// --- drawing ---------------------------------------------------------------------

void TPerformanceGraph::DrawHorizontalGrid(const TRect& R) {
    TCanvas* C = FBitmap->GetCanvas();
    for (int Y = FGridSize; Y < R.Bottom; Y += FGridSize) {
        C->MoveTo(R.Left, Y);
        C->LineTo(R.Right, Y);
    }
}

void TPerformanceGraph::Initialize(int XOffset) {
    FBitmap->SetSize(GetWidth(), GetHeight());
    FBitmapRect = Rect(0, 0, FBitmap->GetWidth(), FBitmap->GetHeight());
    TCanvas* C = FBitmap->GetCanvas();
    C->SetCopyMode(cmSrcCopy);
    C->GetBrush()->SetStyle(bsSolid);
    C->GetBrush()->SetColor(FBackColor);
    C->FillRect(FBitmapRect);
    if (FGridlines) {
        C->GetPen()->SetColor(FForeColor);
        C->GetPen()->SetWidth(1);
        DrawHorizontalGrid(FBitmapRect);
        int X = XOffset;
        for (; X < FBitmapRect.Right; X += FGridSize) {
            C->MoveTo(X, 0);
            C->LineTo(X, FBitmapRect.Bottom);
        }
        FGridOffset = X - FBitmapRect.Right;
    }
    FNewBand = FBitmapRect;
    FScrollDest = FBitmapRect;
    FScrollSource = FBitmapRect;
    FScrollSource.Left = FStepSize;
    FScrollDest.Right -= FStepSize;
    FNewBand.Left = FBitmapRect.Right - FStepSize;
}

void TPerformanceGraph::ScrollGraph() {
    TCanvas* C = FBitmap->GetCanvas();
    C->CopyRect(FScrollDest, C, FScrollSource);
    C->GetBrush()->SetColor(FBackColor);
    C->FillRect(FNewBand);
    if (!FGridlines) return;
    C->GetPen()->SetColor(FForeColor);
    C->GetPen()->SetWidth(1);
    DrawHorizontalGrid(FNewBand);
    FGridOffset -= FStepSize;
    if (FGridOffset < 0) {
        const int X = FBitmapRect.Right + FGridOffset;
        C->MoveTo(X, FBitmapRect.Top);
        C->LineTo(X, FBitmapRect.Bottom);
        FGridOffset += FGridSize;
    }
}

void TPerformanceGraph::DisplayPoints(int Y) {
    const TGraphBand& Step = FHistory[static_cast<size_t>(Y)];
    const TGraphBand& Previous = FHistory[static_cast<size_t>(LastY(Y))];
    int Base = 0;
    for (int I = 0; I < Step.PointCount; ++I) {
        const int Value = Step.PointValues[I];
        const TColor Color = Step.PointColors[I];
        if (Value == 0) continue;
        if (FKind == pgBar) {
            PaintBar(Color, Base, SaturatedDifference(Value, Base));
        } else {
            // A series is identified by its colour; one that did not exist
            // in the previous step rises from the baseline.
            int From = 0;
            for (int J = 0; J < Previous.PointCount; ++J)
                if (Previous.PointColors[J] == Color) {
                    From = Previous.PointValues[J];
                    break;
                }
            PaintLine(Color, From, Value);
        }
        Base = Value;
    }
}

int TPerformanceGraph::ValueToPixels(int Value) const {
    // A zero scale (no positive value in view) has nothing to show above the
    // baseline.
    if (FScale == 0) return 0;
    double Pixels = static_cast<double>(Value) / FScale * (FBitmapRect.Bottom - FBitmapRect.Top);
    if (Pixels > MaxPixels) Pixels = MaxPixels;
    if (Pixels < -MaxPixels) Pixels = -MaxPixels;
    return static_cast<int>(Pixels);
}

void TPerformanceGraph::PaintBar(TColor Color, int Bottom, int Height) {
    if (Height == 0) return;
    const int HeightPx = ValueToPixels(Height);
    const int BottomPx = ValueToPixels(Bottom);
    if (HeightPx == 0) return;
    TCanvas* C = FBitmap->GetCanvas();
    C->GetBrush()->SetColor(Color);
    C->FillRect(Rect(FNewBand.Left, FBitmapRect.Bottom - BottomPx - HeightPx - 1, FNewBand.Right,
                     FBitmapRect.Bottom - BottomPx));
}

void TPerformanceGraph::PaintLine(TColor Color, int Y1, int Y2) {
    TCanvas* C = FBitmap->GetCanvas();
    C->GetPen()->SetColor(Color);
    C->GetPen()->SetWidth(FPenWidth);
    C->MoveTo(FNewBand.Left, FBitmapRect.Bottom - ValueToPixels(Y1));
    C->LineTo(FNewBand.Right, FBitmapRect.Bottom - ValueToPixels(Y2));
}

void TPerformanceGraph::Replay() {
    // A setter may replay after a resize and before the next paint; the
    // bitmap then takes the new width here, so the ring must follow it now,
    // or the paint would find the sizes equal and keep the old ring.
    if (FHistorySize != GetBandCount() + 2) ReallocHistory();
    // The grid keeps its phase: the next vertical line stays where Update
    // expects it.
    int X = GetWidth() + FGridOffset;
    Initialize(X % FGridSize);
    const TRect SavedBand = FNewBand;
    // The steps end at the right edge; the pixels left over after whole
    // steps stay at the left.
    X = GetWidth() % FStepSize;
    for (int Y = NextY(FirstY()); Y != -1; Y = NextY(Y)) {
        FNewBand.Left = X;
        X += FStepSize;
        FNewBand.Right = X;
        DisplayPoints(Y);
    }
    if (!FInPaint) Refresh();
    FNewBand = SavedBand;
}

void TPerformanceGraph::Paint() {
    if (FBitmap->GetHeight() != GetHeight() || FBitmap->GetWidth() != GetWidth()) {
        // Paint copies the replayed chart itself, so Replay must not ask for
        // another paint from inside this one.
        TTemporaryChange InPaint(FInPaint, true);
        if (FBitmap->GetWidth() != GetWidth()) ReallocHistory();
        Replay();
    }
    TCanvas* C = GetCanvas();
    C->SetCopyMode(cmSrcCopy);
    C->Draw(0, 0, FBitmap.get());
}

namespace Perfgrap {

void Register() {
    RegisterComponents(LoadStr(SSamplesPage), {&TPerformanceGraph::StaticClassInfo()});
}

} // namespace Perfgrap

} // namespace folio
