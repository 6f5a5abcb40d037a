#include "framework/ui/stdctrls/Image.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/StdPublished.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace folio {

const TClassInfo& TImage::StaticClassInfo() {
    using C = TImage;
    static const TClassInfo Info =
        TClassBuilder<C>("TImage", &TGraphicControl::StaticClassInfo())
            .Bool("AutoSize", &C::GetAutoSize, &C::SetAutoSize, false)
            .Bool("Center", &C::GetCenter, &C::SetCenter, false)
            .Object("Picture", &C::GetPicture, &C::SetPicture)
            .Bool("Proportional", &C::GetProportional, &C::SetProportional, false)
            .Bool("Stretch", &C::GetStretch, &C::SetStretch, false)
            .Bool("Transparent", &C::GetTransparent, &C::SetTransparent, false)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish({"Align", "Cursor"})
            .Creatable()
            .Build();
    return Info;
}

TImage::TImage(TComponent* AOwner)
    : TGraphicControl(AOwner), FPicture(std::make_unique<TBitmap>()) {
    TControlStyle Style = GetControlStyle();
    Style.Include(csReplicatable);
    SetControlStyle(Style);
    FPicture->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(GetLeft(), GetTop(), 105, 105);
}

TImage::~TImage() {
    FPicture->OnChange = nullptr;
}

// --- properties ------------------------------------------------------------------------------

void TImage::PictureChanged() {
    if (FAutoSize && !FPicture->GetEmpty())
        SetBounds(GetLeft(), GetTop(), FPicture->GetWidth(), FPicture->GetHeight());
    // A picture that covers the whole control hides the parent below it.
    const TRect D = GetDestRect();
    const int ClientW = GetWidth(), ClientH = GetHeight();
    TControlStyle Style = GetControlStyle();
    if (!FTransparent && !FPicture->GetEmpty() && D.Left <= 0 && D.Top <= 0 && D.Right >= ClientW &&
        D.Bottom >= ClientH)
        Style.Include(csOpaque);
    else
        Style.Exclude(csOpaque);
    SetControlStyle(Style);
    Invalidate();
}

void TImage::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    PictureChanged();
}

void TImage::SetStretch(bool Value) {
    if (Value == FStretch) return;
    FStretch = Value;
    PictureChanged();
}

void TImage::SetProportional(bool Value) {
    if (Value == FProportional) return;
    FProportional = Value;
    PictureChanged();
}

void TImage::SetCenter(bool Value) {
    if (Value == FCenter) return;
    FCenter = Value;
    PictureChanged();
}

void TImage::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    PictureChanged();
}

// --- geometry ----------------------------------------------------------------------------------

TRect TImage::GetDestRect() const {
    const int ClientW = GetWidth(), ClientH = GetHeight();
    int W = FPicture->GetWidth(), H = FPicture->GetHeight();
    if (FStretch && W > 0 && H > 0) {
        if (!FProportional) return Rect(0, 0, ClientW, ClientH);
        // The largest size of the picture's shape that fits.
        if (static_cast<long long>(ClientW) * H <= static_cast<long long>(ClientH) * W) {
            H = static_cast<int>(static_cast<long long>(H) * ClientW / W);
            W = ClientW;
        } else {
            W = static_cast<int>(static_cast<long long>(W) * ClientH / H);
            H = ClientH;
        }
    }
    if (FCenter || (FStretch && FProportional))
        return Bounds((ClientW - W) / 2, (ClientH - H) / 2, W, H);
    return Rect(0, 0, W, H);
}

// --- painting ----------------------------------------------------------------------------------

void TImage::Paint() {
    if (FPicture->GetEmpty()) return;
    TCanvas* Canvas = GetCanvas();
    const TRect D = GetDestRect();
    if (D.IsEmpty()) return;
    if (!FTransparent) {
        Canvas->StretchDraw(D, FPicture.get());
        return;
    }
    // Scale the picture to the destination (nearest pixel) and leave out
    // the pixels of the transparent colour.
    const int SW = FPicture->GetWidth(), SH = FPicture->GetHeight();
    const int DW = D.Width(), DH = D.Height();
    const TPixelSurface S = FPicture->GetSurface();
    const TPixel Key = S.Row(SH - 1)[0] | 0xFF000000u;
    std::vector<TPixel> Pixels(static_cast<size_t>(DW) * static_cast<size_t>(DH));
    std::vector<std::uint8_t> Mask(Pixels.size());
    for (int Y = 0; Y < DH; ++Y) {
        const TPixel* Row = S.Row(static_cast<int>(static_cast<long long>(Y) * SH / DH));
        for (int X = 0; X < DW; ++X) {
            const TPixel P = Row[static_cast<long long>(X) * SW / DW];
            const size_t I = static_cast<size_t>(Y) * DW + X;
            Pixels[I] = P;
            Mask[I] = (P | 0xFF000000u) == Key ? 0 : 1;
        }
    }
    Canvas->DrawMaskedPixels(D.Left, D.Top, DW, DH, Pixels.data(), Mask.data());
}

FOLIO_REGISTER_CLASS(TImage)

} // namespace folio
