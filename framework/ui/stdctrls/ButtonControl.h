#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/controls/PressTracker.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

namespace folio {

// What check boxes and radio buttons share: a mark beside a caption, a
// press that follows the mouse or the space bar, and a click (the user's
// change) when the press is let go over the control or the caption's
// accelerator is typed. Alignment says on which side of the mark the
// caption stands: taRightJustify puts it right of the mark.
class TButtonControl : public TCustomControl {
    FOLIO_CLASS(TButtonControl)
public:
    explicit TButtonControl(TComponent* AOwner);

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    // True while the mouse or the space bar holds the control down.
    bool IsPressed() const { return FPress.IsPressed(); }

    // Where the mark and the caption lie, in client coordinates.
    TRect MarkRect() const;
    TRect CaptionRect() const;

    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    // Paints the mark in Box as Look says.
    virtual void DrawMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look) = 0;
    virtual TMarkLook GetMarkLook() const = 0;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyUp(unsigned short& Key, TShiftState Shift) override;
    // The unit a mark's size is measured in, scaled with the control.
    int MarkSize() const { return ScalePixels(13); }

private:
    // Repaints the mark when the press changed its look.
    void PressChanged(bool Changed);
    bool MarkOnRight() const;

    TAlignment FAlignment = taRightJustify;
    TPressTracker FPress;
};

} // namespace folio
