#pragma once

#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/forms/FormTypes.h"
#include "framework/ui/stdctrls/StdCtrlTypes.h"

namespace folio {

/// A container with bevels: an outer bevel, a band of BorderWidth pixels in
/// the panel's colour and an inner bevel, each BevelWidth wide, inside an
/// optional window border (BorderStyle bsSingle). The caption is centred
/// vertically. Aligned children fill what the bevels leave.
class TPanel : public TCustomControl {
    FOLIO_CLASS(TPanel)
public:
    /// A raised panel of 185 by 41 pixels on the button-face colour.
    explicit TPanel(TComponent* AOwner);

    ///@{
    /// Where the caption stands across the panel; taCenter by default.
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    ///@}
    ///@{
    /// The inner bevel; bvNone by default. A change realigns the children.
    TBevelCut GetBevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut Value);
    ///@}
    ///@{
    /// The outer bevel; bvRaised by default. A change realigns the children.
    TBevelCut GetBevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut Value);
    ///@}
    ///@{
    /// Each bevel's width in pixels; 1 by default, never less.
    int GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    ///@}
    ///@{
    /// The band between the bevels, in pixels; 0 by default, never less.
    int GetPanelBorderWidth() const { return FBorderWidth; }
    void SetPanelBorderWidth(int Value);
    ///@}
    ///@{
    /// bsSingle gives the panel a window border (sunken with Ctl3D).
    /// bsNone by default. A change makes the window again.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}

    /// The client area inside the bevels and the border band.
    TRect GetInnerRect() const;

protected:
    /// Adds the border BorderStyle asks for.
    void CreateParams(TCreateParams& Params) override;
    /// Draws the bevels, the band and the caption.
    void Paint() override;
    /// Aligns the children in GetInnerRect.
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
