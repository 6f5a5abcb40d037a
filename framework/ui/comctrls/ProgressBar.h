#pragma once

#include "framework/ui/comctrls/RangeValue.h"
#include "framework/ui/controls/CustomControl.h"

namespace folio {

/// Which way a progress bar fills: from the left, or from the bottom.
enum class TProgressBarOrientation { pbHorizontal, pbVertical };
using enum TProgressBarOrientation;

/// A progress bar: how far Position has come from Min to Max, as a row of
/// blocks (or one smooth bar) in the highlight colour filling a sunken
/// track from the left, or from the bottom when vertical. Position is kept
/// in the range; StepIt moves it by Step, StepBy by any amount.
class TProgressBar : public TCustomControl {
    FOLIO_CLASS(TProgressBar)
public:
    /// An empty horizontal bar, 150 by 16 pixels, in the range 0 to 100 with
    /// Step 10.
    explicit TProgressBar(TComponent* AOwner);

    /// The value of an empty bar; 0 by default. Setting it above Max raises Max
    /// with it; Position comes inside.
    ///@{
    int GetMin() const { return FRange.Min; }
    void SetMin(int Value);
    ///@}
    /// The value of a full bar; 100 by default. Setting it below Min lowers Min
    /// with it; Position comes inside.
    ///@{
    int GetMax() const { return FRange.Max; }
    void SetMax(int Value);
    ///@}
    /// How far the work has come; 0 by default, kept within Min to Max.
    ///@{
    int GetPosition() const { return FRange.Position; }
    void SetPosition(int Value);
    ///@}
    /// Both bounds at once, whatever the order they had.
    void SetRange(int AMin, int AMax);
    /// How far StepIt moves Position; 10 by default, may be negative.
    ///@{
    int GetStep() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    ///@}
    /// pbHorizontal (the default) or pbVertical; turning the bar swaps its
    /// width and height.
    ///@{
    TProgressBarOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    ///@}
    /// One smooth bar instead of blocks; false by default.
    ///@{
    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    ///@}

    /// Moves Position by Step, kept within the range.
    void StepIt() { StepBy(FStep); }
    /// Moves Position by Delta, kept within the range.
    void StepBy(int Delta);

    /// The filled part, in client coordinates.
    TRect BarRect() const;

    /// Puts the values read from a form in order.
    void Loaded() override;

protected:
    /// Draws the sunken track and the filled part.
    void Paint() override;

private:
    void RangeChanged(bool Changed);
    TRect TrackRect() const;

    TRangeValue FRange;
    int FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FSmooth = false;
};

} // namespace folio
