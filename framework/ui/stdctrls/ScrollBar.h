#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <functional>

namespace folio {

/// Whether a scroll bar lies along (sbHorizontal) or upright (sbVertical).
enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;

/// What moved a scroll bar.
enum class TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using enum TScrollCode;

/// The parts of a scroll bar, for hit testing.
enum class TScrollBarPart { sbpNone, sbpLineUp, sbpPageUp, sbpThumb, sbpPageDown, sbpLineDown };
using enum TScrollBarPart;

/// The user moves the bar by ScrollCode; ScrollPos arrives as the position
/// it moves to (in range) and the handler may change it.
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

/// A scroll bar: two arrow buttons, a track and a thumb whose length shows
/// PageSize against the range Min .. Max. Arrows step SmallChange, the track
/// a page (PageSize, or LargeChange while PageSize is 0), both repeating
/// while held; the thumb drags. Position runs from Min to Max - PageSize + 1
/// (Max when PageSize is 0).
class TScrollBar : public TCustomControl {
    FOLIO_CLASS(TScrollBar)
public:
    /// A horizontal bar 121 pixels long, of the system's thickness, ranging
    /// 0 .. 100 at 0.
    explicit TScrollBar(TComponent* AOwner);

    ///@{
    /// sbHorizontal by default. A change turns the bar on its side: width and
    /// height swap.
    TScrollBarKind GetKind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    ///@}
    ///@{
    /// The lowest position; 0 by default. Goes through SetParams.
    int GetMin() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    ///@}
    ///@{
    /// The highest value of the range; 100 by default. Goes through SetParams.
    int GetMax() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    ///@}
    ///@{
    /// Where the thumb stands, Min .. MaxPosition(); 0 by default. Setting goes
    /// through SetParams (OnChange when it moves); it does not fire OnScroll.
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    ///@}
    ///@{
    /// How much of the range shows at once, which sets the thumb's length and
    /// the track's step; 0 (the default) is a square thumb. Held within the
    /// range's size.
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    ///@}
    ///@{
    /// The step of the arrows and the arrow keys; 1 by default.
    int GetSmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    ///@}
    ///@{
    /// The step of the track and Page Up and Down while PageSize is 0; 1 by
    /// default.
    int GetLargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    ///@}
    /// Sets all three at once; Position is kept in range. OnChange fires when
    /// the position changes.
    /// A Max below Min is raised to it.
    void SetParams(int APosition, int AMin, int AMax);
    /// The largest position the thumb reaches.
    int MaxPosition() const;

    /// Geometry, in client coordinates along the bar's length.
    /// The length of each arrow button, in pixels.
    int ArrowLength() const;
    /// The thumb's rectangle in client coordinates; empty when there is none
    /// (disabled, no range, or too short a track).
    TRect ThumbRect() const;
    /// The part under a client point.
    TScrollBarPart PartAt(TPoint P) const;

    /// Repeats the held part's step, and asks the dialog for the arrows.
    void Dispatch(TMessage& Message) override;

    /// The position changed, by the user or the program.
    TNotifyEvent OnChange;
    /// The user moves the bar (arrows, track, thumb, keys), before the position
    /// changes; scEndScroll when a press on the bar ends.
    TScrollEvent OnScroll;

protected:
    /// Draws the arrows, the track and the thumb.
    void Paint() override;
    /// A left press on an arrow or the track steps and repeats while held; on
    /// the thumb it starts dragging.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Drags the thumb.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Ends the step or the drag.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The arrows step SmallChange, Page Up and Down a page, Home and End go
    /// to the ends.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// Fires OnScroll.
    virtual void Scroll(TScrollCode Code, int& ScrollPos);

private:
    // The bar's length and thickness, whatever its kind.
    int Length() const;
    int Thickness() const;
    // The rectangle of a stretch along the bar (Start .. End) in client
    // coordinates.
    TRect Span(int Start, int End) const;
    int ThumbLength() const;
    int TrackLength() const;
    // One step of the held part; used for the first press and each repeat.
    void StepHeldPart();
    void ScrollTo(TScrollCode Code, int Pos);
    void StopHolding();

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    TScrollBarPart FHeld = sbpNone;
    bool FHeldInside = false;
    TPoint FPointer;
    int FDragOffset = 0; // pointer's place in the thumb while dragging
};

} // namespace folio
