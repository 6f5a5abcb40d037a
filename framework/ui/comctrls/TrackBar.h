#pragma once

#include "framework/ui/comctrls/RangeValue.h"
#include "framework/ui/controls/CustomControl.h"

namespace folio {

/// Which way a track bar lies: across (Min at the left) or up and down
/// (Min at the top).
enum class TTrackBarOrientation { trHorizontal, trVertical };
using enum TTrackBarOrientation;

/// A track bar: a thumb the user slides along a sunken channel to pick
/// Position between Min and Max, with a tick every Frequency positions
/// beside it. The arrows step LineSize, Page Up and Page Down step PageSize,
/// Home and End go to the ends; a press on the channel pages towards the
/// pointer and a drag of the thumb follows it. A vertical bar has Min at
/// the top. Every change of Position fires OnChange.
class TTrackBar : public TCustomControl {
    FOLIO_CLASS(TTrackBar)
public:
    /// A horizontal bar 150 by 45 pixels in the range 0 to 10, taking the
    /// keyboard (TabStop).
    explicit TTrackBar(TComponent* AOwner);

    /// The least position; 0 by default. Setting it above Max raises Max with
    /// it; a Position that must come inside fires OnChange.
    ///@{
    int GetMin() const { return FRange.Min; }
    void SetMin(int Value);
    ///@}
    /// The greatest position; 10 by default. Setting it below Min lowers Min
    /// with it; a Position that must come inside fires OnChange.
    ///@{
    int GetMax() const { return FRange.Max; }
    void SetMax(int Value);
    ///@}
    /// The value picked; 0 by default, kept within Min to Max. Every change
    /// fires OnChange.
    ///@{
    int GetPosition() const { return FRange.Position; }
    void SetPosition(int Value);
    ///@}
    /// A tick every Frequency positions from Min; 1 by default. 0 or less:
    /// no ticks but at the ends.
    ///@{
    int GetFrequency() const { return FFrequency; }
    void SetFrequency(int Value);
    ///@}
    /// How far an arrow key moves Position; 1 by default, at least 1.
    ///@{
    int GetLineSize() const { return FLineSize; }
    void SetLineSize(int Value) { FLineSize = std::max(Value, 1); }
    ///@}
    /// How far Page Up, Page Down and a press on the channel move Position; 2
    /// by default, at least 1.
    ///@{
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value) { FPageSize = std::max(Value, 1); }
    ///@}
    /// trHorizontal (the default) or trVertical; turning the bar swaps its
    /// width and height.
    ///@{
    TTrackBarOrientation GetOrientation() const { return FOrientation; }
    void SetOrientation(TTrackBarOrientation Value);
    ///@}

    /// Geometry, in client coordinates: the channel the thumb slides in,
    /// and the thumb at Position.
    ///@{
    TRect ChannelRect() const;
    TRect ThumbRect() const;
    ///@}
    /// Where the tick of a position lies along the bar.
    int TickAt(int Position) const;

    /// Puts the values read from a form in order.
    void Loaded() override;
    /// The arrow keys are the bar's own; focus shows on the whole bar; a
    /// cancelled mode ends a drag.
    void Dispatch(TMessage& Message) override;

    /// Fired after every change of Position, by the user or the program (not
    /// while a form is read).
    TNotifyEvent OnChange;

protected:
    /// Draws the channel, the ticks and the thumb.
    void Paint() override;
    /// A left press takes the focus; on the thumb it starts a drag, on the
    /// channel it pages towards the pointer.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// While dragging, the thumb follows the pointer.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Letting go of the left button ends a drag.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The arrows step LineSize, Page Up and Page Down PageSize, Home and End
    /// go to Min and Max.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    bool Vertical() const { return FOrientation == trVertical; }
    /// The first and last place along the bar the thumb's centre reaches.
    int TrackStart() const;
    int TrackLength() const;
    int Along(TPoint P) const { return Vertical() ? P.Y : P.X; }
    /// Sets Position from the user's input.
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
