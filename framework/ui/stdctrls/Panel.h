#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/forms/FormTypes.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

namespace folio {

// A container with bevels: an outer bevel, a band of BorderWidth pixels in
// the panel's colour and an inner bevel, each BevelWidth wide, inside an
// optional window border (BorderStyle bsSingle). The caption is centred
// vertically. Aligned children fill what the bevels leave.
class TPanel : public TCustomControl {
    FOLIO_CLASS(TPanel)
public:
    explicit TPanel(TComponent* AOwner);

    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TBevelCut GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    TBevelCut GetBevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    int GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    int GetPanelBorderWidth() const { return FBorderWidth; }
    void SetPanelBorderWidth(int Value);
    // bsSingle gives the panel a window border (sunken with Ctl3D).
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);

    // The client area inside the bevels and the border band.
    TRect GetInnerRect() const;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;

private:
    void BevelsChanged();

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
};

} // namespace folio
