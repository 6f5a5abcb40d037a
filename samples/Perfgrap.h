#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/GraphicControl.h"

#include <memory>
#include <vector>

namespace folio {

/// How a step is drawn: stacked bars, or one line per colour.
enum TGraphKind { pgBar, pgLine };

/// The most data points one time step holds.
constexpr int MaxPointsPerStep = 16;

/// One time step of the chart: its data points, in the order they came.
struct TGraphBand {
    /// How many points the step holds, 0 to MaxPointsPerStep.
    int PointCount = 0;
    /// The points' colours; the first PointCount count.
    TColor PointColors[MaxPointsPerStep] = {};
    /// The points' values; the first PointCount count.
    int PointValues[MaxPointsPerStep] = {};
};

/// A windowless strip chart. The application adds up to 16 coloured points
/// to the current step with DataPoint and then calls Update, which scrolls
/// the chart left by one step, draws the completed step at the right edge
/// and rescales the chart to the largest value still in view.
class TPerformanceGraph : public TGraphicControl {
    FOLIO_CLASS(TPerformanceGraph)
public:
    /// An empty line chart, owned by AOwner.
    explicit TPerformanceGraph(TComponent* AOwner);
    ~TPerformanceGraph() override;

    ///@{
    /// How steps are drawn: pgLine (the default), one line per colour, or
    /// pgBar, stacked bars. A change draws the steps in view again.
    TGraphKind GetKind() const { return FKind; }
    void SetGraphKind(TGraphKind Value);
    void SetKind(TGraphKind Value) { SetGraphKind(Value); }
    ///@}
    ///@{
    /// The colour of the grid lines; clGreen by default.
    TColor GetForeColor() const { return FForeColor; }
    void SetForeColor(TColor Value);
    ///@}
    ///@{
    /// The colour the chart is filled with; clBlack by default.
    TColor GetBackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    ///@}
    ///@{
    /// The grid spacing in pixels; 15 by default, values below 2 become 2.
    int GetGridSize() const { return FGridSize; }
    void SetGridSize(int Value);
    ///@}
    ///@{
    /// The width of one time step in pixels; 3 by default, values below 1
    /// become 1.
    int GetStepSize() const { return FStepSize; }
    void SetStepSize(int Value);
    ///@}
    ///@{
    /// The data value shown at the chart's full height; 1000 by default.
    /// Setting rounds Value up to a multiple of Gradient, fires
    /// OnScaleChange and draws the steps in view again; Update replaces it
    /// with the rounded largest value in view.
    int GetScale() const { return FScale; }
    void SetScale(int Value);
    ///@}
    ///@{
    /// The step Scale is rounded up to; 100 by default (0 leaves Scale as
    /// asked).
    int GetGradient() const { return FGradient; }
    void SetGradient(int Value);
    ///@}
    ///@{
    /// Whether the grid is drawn; true by default.
    bool GetGridlines() const { return FGridlines; }
    void SetGridlines(bool Value);
    ///@}
    ///@{
    /// The width of the chart's data lines in pixels; 2 by default. Grid
    /// lines are always one pixel.
    int GetPenWidth() const { return FPenWidth; }
    void SetPenWidth(int Value);
    ///@}

    /// Adds a point of Color and Value to the current step. A 17th point
    /// raises ERangeError and stores nothing.
    void DataPoint(TColor Color, int Value);
    /// Closes the current step: scrolls, rescales or draws it, and repaints.
    /// This takes the place of the control's paint-at-once Update.
    void Update() override;
    /// Repaints at once without advancing the chart.
    void Repaint() override;

    /// How many steps the chart's width shows.
    int GetBandCount() const;
    /// Value rounded up to a multiple of Granularity (unchanged for 0),
    /// kept within the integer range.
    static int RoundUp(int Value, int Granularity);

    /// Fired when SetScale is asked for a scale other than the current one.
    TNotifyEvent OnScaleChange;

    /// @cond internal
protected:
    void Paint() override;

    // The ring of steps: FirstY is the oldest, NextY walks towards the newest
    // and answers -1 past it, LastY steps back, ShiftY opens a new step.
    int FirstY() const { return FFirstY; }
    int NextY(int Y) const;
    int LastY(int Y) const;
    int ShiftY();

    void Initialize(int XOffset);
    void ScrollGraph();
    void DisplayPoints(int Y);
    void PaintBar(TColor Color, int Bottom, int Height);
    void PaintLine(TColor Color, int Y1, int Y2);
    void Replay();
    void ReallocHistory();

    // Read access for descendants that inspect the chart.
    const TBitmap* GetBitmap() const { return FBitmap.get(); }
    int GetGridOffset() const { return FGridOffset; }
    int GetHistorySize() const { return FHistorySize; }
    int GetLastY() const { return FLastY; }
    const TGraphBand& GetStep(int Y) const { return FHistory[static_cast<size_t>(Y)]; }
    const TRect& GetNewBand() const { return FNewBand; }
    /// @endcond

private:
    /// A data value as a height in pixels at the current scale.
    int ValueToPixels(int Value) const;
    void DrawHorizontalGrid(const TRect& R);

    TGraphKind FKind = pgLine;
    TColor FForeColor;
    TColor FBackColor;
    int FGridSize = 15;
    int FStepSize = 3;
    int FScale = 1000;
    int FGradient = 100;
    bool FGridlines = true;
    int FPenWidth = 2;

    TRect FBitmapRect;
    TRect FScrollSource;
    TRect FScrollDest;
    TRect FNewBand;
    int FGridOffset = 0;
    std::unique_ptr<TBitmap> FBitmap;
    std::vector<TGraphBand> FHistory;
    int FHistorySize = 0;
    int FFirstY = 1;
    int FLastY = 0;
    bool FInPaint = false;
};

namespace Perfgrap {
/// Puts TPerformanceGraph on the sample controls' palette page.
void Register();
} // namespace Perfgrap

} // namespace folio
