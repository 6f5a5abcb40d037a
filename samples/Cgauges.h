#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/GraphicControl.h"

namespace folio {

// The five looks of a gauge, in their stored order.
enum TCGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

// The overlay bitmap of a gauge: a bitmap that can take another one's size.
class TBltBitmap : public TBitmap {
    FOLIO_CLASS(TBltBitmap)
public:
    using TBitmap::TBitmap;

    // Takes Template's width and height and fills the whole picture with the
    // window-frame colour.
    void MatchSize(const TBitmap* Template);
};

// A windowless control that shows how far Progress has come between
// MinValue and MaxValue, as text, a bar, a pie or a needle, with the
// percentage written over it in inverted colours.
class TCGauge : public TGraphicControl {
    FOLIO_CLASS(TCGauge)
public:
    explicit TCGauge(TComponent* AOwner);
    ~TCGauge() override;

    int GetMinValue() const { return FMinValue; }
    // Raises Exception when Value lies above MaxValue; pulls Progress up.
    void SetMinValue(int Value);
    int GetMaxValue() const { return FMaxValue; }
    // Raises Exception when Value lies below MinValue; pulls Progress down.
    void SetMaxValue(int Value);
    int GetProgress() const { return FCurValue; }
    // Clamps Value to the range; repaints only when the whole percent changes.
    void SetProgress(int Value);
    TCGaugeKind GetKind() const { return FKind; }
    // "SeTC" is the published spelling, which callers use; SetKind does the
    // same.
    void SeTCGaugeKind(TCGaugeKind Value);
    void SetKind(TCGaugeKind Value) { SeTCGaugeKind(Value); }
    bool GetShowText() const { return FShowText; }
    void SetShowText(bool Value);
    // Only bsSingle draws a frame; every other style means none.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    TColor GetForeColor() const { return FForeColor; }
    void SetForeColor(TColor Value);
    TColor GetBackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);

    // The whole percent done, 0 to 100; 0 for an empty range.
    int GetPercentDone() const;
    // Moves Progress by Value and repaints, also when nothing changed.
    void AddProgress(int Value);

protected:
    void Paint() override;
    // Builds the finished picture of the gauge in Image, sized to the control.
    void PaintImage(TBitmap* Image);
    void PaintBackground(TBitmap* Image);
    void PaintAsText(TBitmap* Image, const TRect& PaintRect);
    void PaintAsNothing(TBitmap* Image, const TRect& PaintRect);
    void PaintAsBar(TBitmap* Image, const TRect& PaintRect);
    void PaintAsPie(TBitmap* Image, const TRect& PaintRect);
    void PaintAsNeedle(TBitmap* Image, const TRect& PaintRect);
    // Clears the picture for the pie and the needle and returns its canvas
    // with their pen and brush; W and H are the dial's extents.
    TCanvas* PrepareDial(TBitmap* Image, const TRect& PaintRect, int& W, int& H);

private:
    int FMinValue = 0;
    int FMaxValue = 100;
    int FCurValue = 0;
    TCGaugeKind FKind = gkHorizontalBar;
    bool FShowText = true;
    TBorderStyle FBorderStyle = bsSingle;
    TColor FForeColor;
    TColor FBackColor;
};

namespace Cgauges {
// Puts TCGauge on the sample controls' palette page.
void Register();
} // namespace Cgauges

} // namespace folio
