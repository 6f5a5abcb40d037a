#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

/// A hue and saturation area: hue runs left to right round the colour
/// circle, saturation from grey at the bottom to full at the top, all at
/// middle luminance. A cross marks the chosen point; a click or drag moves
/// it, and so do the arrows. OnChange tells of the user's moves.
class TColorSpectrum : public TCustomControl {
    FOLIO_CLASS(TColorSpectrum)
public:
    /// An area 180 by 150 pixels at hue and saturation 0 that takes the
    /// keyboard (TabStop).
    explicit TColorSpectrum(TComponent* AOwner);
    ~TColorSpectrum() override;

    /// Hue and saturation, 0 to HLSMAX each; the setter clamps them and
    /// fires no OnChange.
    ///@{
    int GetHue() const { return FHue; }
    int GetSaturation() const { return FSaturation; }
    void SetHueSaturation(int Hue, int Saturation);
    ///@}

    /// Geometry, in client coordinates: where a hue and saturation lie and
    /// which they are at a point (clamped to the area).
    ///@{
    TPoint PointOf(int Hue, int Saturation) const;
    void ValuesAt(TPoint P, int& Hue, int& Saturation) const;
    ///@}

    /// The arrow keys are the area's own; focus shows on the whole area.
    void Dispatch(TMessage& Message) override;

    /// Fired when the user moves the cross to other values (not by
    /// SetHueSaturation).
    TNotifyEvent OnChange;

protected:
    /// Draws the colours and the cross.
    void Paint() override;
    /// A left press moves the cross there and starts a drag.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// While the left button drags, the cross follows the pointer.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// The arrows move the cross by 1 (10 with Ctrl): left and right step the
    /// hue, up and down the saturation.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    void ChangeByUser(int Hue, int Saturation);
    /// The colours depend on the size only: they are drawn once per size.
    const TBitmap* Spectrum() const;

    int FHue = 0;
    int FSaturation = 0;
    mutable std::unique_ptr<TBitmap> FSpectrum;
};

} // namespace folio
