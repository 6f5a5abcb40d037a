#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

// A hue and saturation area: hue runs left to right round the colour
// circle, saturation from grey at the bottom to full at the top, all at
// middle luminance. A cross marks the chosen point; a click or drag moves
// it, and so do the arrows. OnChange tells of the user's moves.
class TColorSpectrum : public TCustomControl {
    FOLIO_CLASS(TColorSpectrum)
public:
    explicit TColorSpectrum(TComponent* AOwner);
    ~TColorSpectrum() override;

    // 0 .. HLSMAX each.
    int GetHue() const { return FHue; }
    int GetSaturation() const { return FSaturation; }
    void SetHueSaturation(int Hue, int Saturation);

    // Geometry, in client coordinates: where a hue and saturation lie and
    // which they are at a point (clamped to the area).
    TPoint PointOf(int Hue, int Saturation) const;
    void ValuesAt(TPoint P, int& Hue, int& Saturation) const;

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    void ChangeByUser(int Hue, int Saturation);
    // The colours depend on the size only: they are drawn once per size.
    const TBitmap* Spectrum() const;

    int FHue = 0;
    int FSaturation = 0;
    mutable std::unique_ptr<TBitmap> FSpectrum;
};

} // namespace folio
