#pragma once

#include "framework/ui/controls/GraphicControl.h"

namespace folio {

// A splitter: a thin bar aligned beside another aligned control (its
// neighbour: the control aligned to the same side whose edge it touches).
// Dragging it resizes the neighbour, which never gets smaller than MinSize
// nor leaves the space on the splitter's other side smaller than MinSize.
// OnMoved tells when a drag has changed the size.
class TSplitter : public TGraphicControl {
    FOLIO_CLASS(TSplitter)
public:
    explicit TSplitter(TComponent* AOwner);

    int GetMinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = std::max(Value, 1); }

    // The control the splitter resizes, or null.
    TControl* FindNeighbour() const;

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnMoved;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void RequestAlign() override;

private:
    bool Across() const; // splits left from right (alLeft, alRight)
    // Where the pointer is along the split's axis, in the parent's coordinates.
    int ParentAlong(int X, int Y) const;

    int FMinSize = 30;
    TControl* FNeighbour = nullptr;
    int FStartAlong = 0;
    int FStartSize = 0;
    int FMaxSize = 0;
};

} // namespace folio
