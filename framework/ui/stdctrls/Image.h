#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/GraphicControl.h"

#include <memory>

namespace folio {

// Shows a picture. AutoSize fits the control to the picture; Stretch
// scales the picture to the control (keeping its shape with Proportional);
// Center centres an unscaled picture; Transparent leaves out the pixels of
// the picture's transparent colour (its bottom-left pixel), so the parent
// shows through.
class TImage : public TGraphicControl {
    FOLIO_CLASS(TImage)
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    // The image owns its picture; SetPicture copies the given one. Changing
    // the picture (loading a file into it, drawing on it) repaints.
    TBitmap* GetPicture() const { return FPicture.get(); }
    void SetPicture(TBitmap* Value) { FPicture->Assign(Value); }

    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool GetStretch() const { return FStretch; }
    void SetStretch(bool Value);
    bool GetProportional() const { return FProportional; }
    void SetProportional(bool Value);
    bool GetCenter() const { return FCenter; }
    void SetCenter(bool Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);

    // Where the picture is drawn, in client coordinates.
    TRect GetDestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TBitmap> FPicture;
    bool FAutoSize = false;
    bool FStretch = false;
    bool FProportional = false;
    bool FCenter = false;
    bool FTransparent = false;
};

} // namespace folio
