#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/controls/PressTracker.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

namespace folio {

/// What check boxes and radio buttons share: a mark beside a caption, a
/// press that follows the mouse or the space bar, and a click (the user's
/// change) when the press is let go over the control or the caption's
/// accelerator is typed. Alignment says on which side of the mark the
/// caption stands: taRightJustify puts it right of the mark.
class TButtonControl : public TCustomControl {
    FOLIO_CLASS(TButtonControl)
public:
    /// A Tab stop on the button-face colour.
    explicit TButtonControl(TComponent* AOwner);

    ///@{
    /// taRightJustify (the default) or taLeftJustify; a change repaints.
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    ///@}

    /// True while the mouse or the space bar holds the control down.
    bool IsPressed() const { return FPress.IsPressed(); }

    ///@{
    /// Where the mark and the caption lie, in client coordinates.
    TRect MarkRect() const;
    TRect CaptionRect() const;
    ///@}

    /// The press's look follows the mouse and the focus; the caption's
    /// accelerator focuses and clicks the control.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the mark (DrawMark), the caption and, with the focus, its focus
    /// rectangle.
    void Paint() override;
    /// Paints the mark in Box as Look says.
    virtual void DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) = 0;
    /// How the mark looks now: checked, grayed, pressed, enabled.
    virtual TMarkLook GetMarkLook() const = 0;
    /// A left press focuses the control and holds it down.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The held look follows the pointer in and out.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// The space bar holds the control down.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// Letting the space bar go clicks.
    void KeyUp(unsigned short& Key, TShiftState Shift) override;
    /// The unit a mark's size is measured in, scaled with the control.
    int MarkSize() const { return ScalePixels(13); }

private:
    // Repaints the mark when the press changed its look.
    void PressChanged(bool Changed);
    bool MarkOnRight() const;

    TAlignment FAlignment = taRightJustify;
    TPressTracker FPress;
};

} // namespace folio
