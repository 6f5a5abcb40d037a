#pragma once

#include "framework/ui/controls/CustomControl.h"

namespace folio {

// A pair of arrow buttons, up above down, that a spin edit sits beside.
// A press on either steps once (OnUpClick, OnDownClick) and repeats while
// the button is held over it. It never takes the keyboard.
class TSpinButton : public TCustomControl {
    FOLIO_CLASS(TSpinButton)
public:
    explicit TSpinButton(TComponent* AOwner);

    TRect UpRect() const;
    TRect DownRect() const;

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    enum class THeld { None, Up, Down };
    void Step();
    void Release();

    THeld FHeld = THeld::None;
    bool FHeldInside = false;
};

} // namespace folio
