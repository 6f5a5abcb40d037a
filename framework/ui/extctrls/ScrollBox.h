#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TScrollBar;

/// A container that scrolls: when its children reach beyond its client
/// area, scroll bars appear (below and on the right) and move the children;
/// the wheel scrolls it up and down (sideways with Shift). The bars belong to
/// the box, not to the form.
class TScrollBox : public TCustomControl {
    FOLIO_CLASS(TScrollBox)
public:
    /// An empty box in clBtnFace, with both bars hidden.
    explicit TScrollBox(TComponent* AOwner);
    /// Frees the box's scroll bars.
    ~TScrollBox() override;

    /// How far the children are scrolled.
    TPoint GetScrollPos() const { return FScroll; }
    /// Scrolls the children so that point (X, Y) of their extent is at the
    /// view's top left corner, clamped to the range; the bars follow.
    void ScrollTo(int X, int Y);
    /// The extent of the children, unscrolled, from the client origin.
    TSize GetRange() const;
    /// The box's own horizontal and vertical bars, shown only while the
    /// children reach beyond the view that way.
    ///@{
    TScrollBar* GetHorzScrollBar() const { return FHorz.get(); }
    TScrollBar* GetVertScrollBar() const { return FVert.get(); }
    ///@}
    /// The client area less what the shown bars cover.
    TRect GetViewRect() const;
    /// Shows or hides the bars as the children's extent asks and keeps the
    /// scroll position within it.
    void UpdateScrollBars();

    /// A child that moves, comes or goes updates the bars.
    void Dispatch(TMessage& Message) override;

protected:
    /// Aligns the children as any container does, then updates the bars.
    void AlignControls(TControl* AControl, TRect& Rect) override;
    /// Fills the box with its colour.
    void Paint() override;
    /// The wheel scrolls the box up and down, sideways with Shift, when no
    /// handler took it.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
    bool IsBar(const TControl* C) const;

    TPoint FScroll;
    bool FUpdating = false;
    std::unique_ptr<TScrollBar> FHorz;
    std::unique_ptr<TScrollBar> FVert;
};

} // namespace folio
