#pragma once

#include "framework/ui/comctrls/RangeValue.h"
#include "framework/ui/controls/CustomControl.h"

namespace folio {

enum class TTrackBarOrientation { trHorizontal, trVertical };
using enum TTrackBarOrientation;

// A track bar: a thumb the user slides along a sunken channel to pick
// Position between Min and Max, with a tick every Frequency positions
// beside it. The arrows step LineSize, Page Up and Page Down step PageSize,
// Home and End go to the ends; a press on the channel pages towards the
// pointer and a drag of the thumb follows it. A vertical bar has Min at
// the top. Every change of Position fires OnChange.
class TTrackBar : public TCustomControl {
    FOLIO_CLASS(TTrackBar)
public:
    explicit TTrackBar(TComponent* AOwner);

    int GetMin() const { return FRange.Min; }
    void SetMin(int Value);
    int GetMax() const { return FRange.Max; }
    void SetMax(int Value);
    int GetPosition() const { return FRange.Position; }
    void SetPosition(int Value);
    // 0 or less: no ticks but at the ends.
    int GetFrequency() const { return FFrequency; }
    void SetFrequency(int Value);
    int GetLineSize() const { return FLineSize; }
    void SetLineSize(int Value) { FLineSize = std::max(Value, 1); }
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value) { FPageSize = std::max(Value, 1); }
    TTrackBarOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);

    // Geometry, in client coordinates.
    TRect ChannelRect() const;
    TRect ThumbRect() const;
    // Where the tick of a position lies along the bar.
    int TickAt(int Position) const;

    void Loaded() override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    bool Vertical() const { return FOrientation == trVertical; }
    // The first and last place along the bar the thumb's centre reaches.
    int TrackStart() const;
    int TrackLength() const;
    int Along(TPoint P) const { return Vertical() ? P.Y : P.X; }
    // Sets Position from the user's input.
    void MoveTo(int Value);

    TRangeValue FRange{0, 10, 0};
    int FFrequency = 1;
    int FLineSize = 1;
    int FPageSize = 2;
    TTrackBarOrientation FOrientation = trHorizontal;
    bool FDragging = false;
    int FDragOffset = 0; // the pointer's distance from the thumb's centre
};

} // namespace folio
