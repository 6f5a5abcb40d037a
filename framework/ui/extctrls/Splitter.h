#pragma once

#include "framework/ui/controls/GraphicControl.h"

namespace folio {

/// A splitter: a thin bar aligned beside another aligned control (its
/// neighbour: the control aligned to the same side whose edge it touches).
/// Dragging it resizes the neighbour, which never gets smaller than MinSize
/// nor leaves the space on the splitter's other side smaller than MinSize.
/// OnMoved tells when a drag has changed the size.
class TSplitter : public TGraphicControl {
    FOLIO_CLASS(TSplitter)
public:
    /// A splitter 3 pixels wide in clBtnFace, aligned alLeft, with the sideways
    /// resize cursor.
    explicit TSplitter(TComponent* AOwner);

    /// The least size, in pixels, of the neighbour and of the space on the
    /// other side; 30 by default, at least 1.
    ///@{
    int GetMinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = std::max(Value, 1); }
    ///@}

    /// The control the splitter resizes, or null.
    TControl* FindNeighbour() const;

    /// A cancelled mode (WM_CANCELMODE) ends a drag where it is, without
    /// OnMoved.
    void Dispatch(TMessage& Message) override;

    /// Fired when a drag with the left button ends.
    TNotifyEvent OnMoved;

protected:
    /// Fills the bar with its colour.
    void Paint() override;
    /// A left press starts a drag of the neighbour's edge; nothing without a
    /// neighbour.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// While dragging, resizes the neighbour with the pointer, within MinSize
    /// and the room the other side leaves.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Releasing the left button ends the drag and fires OnMoved.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Turning the splitter from sideways alignment to up and down (or back)
    /// swaps its width and height and its resize cursor.
    void RequestAlign() override;

private:
    bool Across() const; // splits left from right (alLeft, alRight)
    /// Where the pointer is along the split's axis, in the parent's coordinates.
    int ParentAlong(int X, int Y) const;

    int FMinSize = 30;
    TControl* FNeighbour = nullptr;
    int FStartAlong = 0;
    int FStartSize = 0;
    int FMaxSize = 0;
};

} // namespace folio
