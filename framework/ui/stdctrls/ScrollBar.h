#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <functional>

namespace folio {

enum class TScrollBarKind { sbHorizontal, sbVertical };
using enum TScrollBarKind;

// What moved a scroll bar.
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

// The parts of a scroll bar, for hit testing.
enum class TScrollBarPart { sbpNone, sbpLineUp, sbpPageUp, sbpThumb, sbpPageDown, sbpLineDown };
using enum TScrollBarPart;

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// A scroll bar: two arrow buttons, a track and a thumb whose length shows
// PageSize against the range Min .. Max. Arrows step SmallChange, the track
// steps LargeChange, both repeating while held; the thumb drags. Position
// runs from Min to Max - PageSize + 1 (Max when PageSize is 0).
class TScrollBar : public TCustomControl {
    FOLIO_CLASS(TScrollBar)
public:
    explicit TScrollBar(TComponent* AOwner);

    TScrollBarKind GetKind() const { return FKind; }
    void SetKind(TScrollBarKind Value);
    int GetMin() const { return FMin; }
    void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
    int GetMax() const { return FMax; }
    void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
    int GetPosition() const { return FPosition; }
    void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
    int GetPageSize() const { return FPageSize; }
    void SetPageSize(int Value);
    int GetSmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value) { FSmallChange = Value; }
    int GetLargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value) { FLargeChange = Value; }
    // Sets all three at once; Position is kept in range. OnChange fires when
    // the position changes.
    void SetParams(int APosition, int AMin, int AMax);
    // The largest position the thumb reaches.
    int MaxPosition() const;

    // Geometry, in client coordinates along the bar's length.
    int ArrowLength() const;
    TRect ThumbRect() const;
    TScrollBarPart PartAt(TPoint P) const;

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
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
