#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

/// A pair of arrow buttons, up above down, that a spin edit sits beside.
/// A press on either steps once (OnUpClick, OnDownClick) and repeats while
/// the button is held over it. It never takes the keyboard.
class TSpinButton : public TCustomControl {
    FOLIO_CLASS(TSpinButton)
public:
    /// A spin button 16 by 24 pixels in clBtnFace.
    explicit TSpinButton(TComponent* AOwner);

    /// The up button (the upper half of the client area) and the down button
    /// (the lower half), in client coordinates.
    ///@{
    TRect UpRect() const;
    TRect DownRect() const;
    ///@}

    /// A held button repeats: after 400 ms, then every 100 ms while the pointer
    /// is over it.
    void Dispatch(TMessage& Message) override;

    /// Fired for each step of the up or the down button: once on the left press
    /// and again with every repeat.
    ///@{
    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;
    ///@}

protected:
    /// Draws both arrow buttons, the held one pushed, greyed when disabled.
    void Paint() override;
    /// A left press holds the button under it and steps once.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Shows the held button pushed only while the pointer is over it.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Releasing the left button stops the repeat.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    enum class THeld { None, Up, Down };
    void Step();
    void Release();

    THeld FHeld = THeld::None;
    bool FHeldInside = false;
};

} // namespace folio
