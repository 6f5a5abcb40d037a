#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TScrollBar;

// A container that scrolls: when its children reach beyond its client
// area, scroll bars appear (below and on the right) and move the children;
// the wheel scrolls it up and down (sideways with Shift). The bars belong to
// the box, not to the form.
class TScrollBox : public TCustomControl {
    FOLIO_CLASS(TScrollBox)
public:
    explicit TScrollBox(TComponent* AOwner);
    ~TScrollBox() override;

    // How far the children are scrolled.
    TPoint GetScrollPos() const { return FScroll; }
    void ScrollTo(int X, int Y);
    // The extent of the children, unscrolled, from the client origin.
    TSize GetRange() const;
    TScrollBar* GetHorzScrollBar() const { return FHorz.get(); }
    TScrollBar* GetVertScrollBar() const { return FVert.get(); }
    // The client area less what the shown bars cover.
    TRect GetViewRect() const;
    // Shows or hides the bars as the children's extent asks and keeps the
    // scroll position within it.
    void UpdateScrollBars();

    void Dispatch(TMessage& Message) override;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;

private:
    bool IsBar(const TControl* C) const;

    TPoint FScroll;
    bool FUpdating = false;
    std::unique_ptr<TScrollBar> FHorz;
    std::unique_ptr<TScrollBar> FVert;
};

} // namespace folio
