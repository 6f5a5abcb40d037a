#pragma once

#include "framework/gfx/Bitmap.h"
#include "framework/ui/controls/GraphicControl.h"

#include <memory>

namespace folio {

/// Shows a picture. AutoSize fits the control to the picture; Stretch
/// scales the picture to the control (keeping its shape with Proportional);
/// Center centres an unscaled picture; Transparent leaves out the pixels of
/// the picture's transparent colour (its bottom-left pixel), so the parent
/// shows through.
class TImage : public TGraphicControl {
    FOLIO_CLASS(TImage)
public:
    /// An empty image of 105 by 105 pixels.
    explicit TImage(TComponent* AOwner);
    /// Destroys the image and its picture.
    ~TImage() override;

    ///@{
    /// The image owns its picture; SetPicture copies the given one. Changing
    /// the picture (loading a file into it, drawing on it) repaints.
    TBitmap* GetPicture() const { return FPicture.get(); }
    void SetPicture(TBitmap* Value) { FPicture->Assign(Value); }
    ///@}

    ///@{
    /// Whether the control takes the picture's size; false by default.
    bool GetAutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    ///@}
    ///@{
    /// Whether the picture is scaled to the control; false by default.
    bool GetStretch() const { return FStretch; }
    void SetStretch(bool Value);
    ///@}
    ///@{
    /// Whether a stretched picture keeps its shape (and is centred); false by
    /// default.
    bool GetProportional() const { return FProportional; }
    void SetProportional(bool Value);
    ///@}
    ///@{
    /// Whether a picture that is not stretched is centred (else at the top
    /// left); false by default.
    bool GetCenter() const { return FCenter; }
    void SetCenter(bool Value);
    ///@}
    ///@{
    /// Whether the pixels of the picture's transparent colour are left out;
    /// false by default.
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    ///@}

    /// Where the picture is drawn, in client coordinates.
    TRect GetDestRect() const;

protected:
    /// Draws the picture at GetDestRect.
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
