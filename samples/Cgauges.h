#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/GraphicControl.h"

namespace folio {

/// The five looks of a gauge, in their stored order.
enum TCGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie, gkNeedle };

/// The overlay bitmap of a gauge: a bitmap that can take another one's size.
class TBltBitmap : public TBitmap {
    FOLIO_CLASS(TBltBitmap)
public:
    using TBitmap::TBitmap;

    /// Takes Template's width and height and fills the whole picture with the
    /// window-frame colour.
    void MatchSize(const TBitmap* Template);
};

/// A windowless control that shows how far Progress has come between
/// MinValue and MaxValue, as text, a bar, a pie or a needle, with the
/// percentage written over it in inverted colours.
class TCGauge : public TGraphicControl {
    FOLIO_CLASS(TCGauge)
public:
    /// A gauge of 100 by 100 pixels showing a horizontal bar at 0 of 0 to
    /// 100, owned by AOwner.
    explicit TCGauge(TComponent* AOwner);
    ~TCGauge() override;

    ///@{
    /// The value an empty gauge stands for; 0 by default. Setting a value
    /// above MaxValue raises Exception with the framework's out-of-range
    /// message and changes nothing (while a form is read, MaxValue rises
    /// with it instead); Progress is pulled up into the range.
    int GetMinValue() const { return FMinValue; }
    void SetMinValue(int Value);
    ///@}
    ///@{
    /// The value a full gauge stands for; 100 by default. Setting a value
    /// below MinValue raises Exception and changes nothing; Progress is
    /// pulled down into the range.
    int GetMaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value);
    ///@}
    ///@{
    /// How far the gauge has come; 0 by default. Setting clamps Value to
    /// MinValue to MaxValue and repaints only when the whole percent
    /// changes.
    int GetProgress() const { return FCurValue; }
    void SetProgress(int Value);
    ///@}
    ///@{
    /// The look: gkText, gkHorizontalBar (the default), gkVerticalBar,
    /// gkPie or gkNeedle. A change repaints. "SeTC" is the published
    /// spelling, which callers use; SetKind does the same.
    TCGaugeKind GetKind() const { return FKind; }
    void SeTCGaugeKind(TCGaugeKind Value);
    void SetKind(TCGaugeKind Value) { SeTCGaugeKind(Value); }
    ///@}
    ///@{
    /// Whether the percentage is written over the gauge; true by default.
    bool GetShowText() const { return FShowText; }
    void SetShowText(bool Value);
    ///@}
    ///@{
    /// bsSingle (the default) draws a frame; every other style means none.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}
    ///@{
    /// The colour of the part done; clBlack by default. A change repaints.
    TColor GetForeColor() const { return FForeColor; }
    void SetForeColor(TColor Value);
    ///@}
    ///@{
    /// The colour of the part still to go; clWhite by default. A change
    /// repaints.
    TColor GetBackColor() const { return FBackColor; }
    void SetBackColor(TColor Value);
    ///@}

    /// The whole percent done, 0 to 100; 0 for an empty range.
    int GetPercentDone() const;
    /// Moves Progress by Value (kept in range) and repaints, also when
    /// nothing changed.
    void AddProgress(int Value);

    /// @cond internal
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
    /// @endcond

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
/// Puts TCGauge on the sample controls' palette page.
void Register();
} // namespace Cgauges

} // namespace folio
