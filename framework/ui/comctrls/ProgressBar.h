#pragma once

#include "framework/ui/comctrls/RangeValue.h"
#include "framework/ui/controls/CustomControl.h"

namespace folio {

enum class TProgressBarOrientation { pbHorizontal, pbVertical };
using enum TProgressBarOrientation;

// A progress bar: how far Position has come from Min to Max, as a row of
// blocks (or one smooth bar) in the highlight colour filling a sunken
// track from the left, or from the bottom when vertical. Position is kept
// in the range; StepIt moves it by Step, StepBy by any amount.
class TProgressBar : public TCustomControl {
    FOLIO_CLASS(TProgressBar)
public:
    explicit TProgressBar(TComponent* AOwner);

    int GetMin() const { return FRange.Min; }
    void SetMin(int Value);
    int GetMax() const { return FRange.Max; }
    void SetMax(int Value);
    int GetPosition() const { return FRange.Position; }
    void SetPosition(int Value);
    // Both bounds at once, whatever the order they had.
    void SetRange(int AMin, int AMax);
    int GetStep() const { return FStep; }
    void SetStep(int Value) { FStep = Value; }
    TProgressBarOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation Value);
    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value);

    void StepIt() { StepBy(FStep); }
    void StepBy(int Delta);

    // The filled part, in client coordinates.
    TRect BarRect() const;

    void Loaded() override;

protected:
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
