#include "framework/ui/dialogs/ColorSpectrum.h"

#include "framework/gfx/ColorSpace.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/Surface.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

FOLIO_DEFINE_CLASS(TColorSpectrum, TCustomControl)

namespace {
constexpr int MiddleLuminance = HLSMAX / 2;
constexpr int CrossArm = 5;
} // namespace

TColorSpectrum::TColorSpectrum(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque});
    SetTabStop(true);
    SetBounds(GetLeft(), GetTop(), 180, 150);
}

TColorSpectrum::~TColorSpectrum() = default;

void TColorSpectrum::SetHueSaturation(int Hue, int Saturation) {
    Hue = std::clamp(Hue, 0, HLSMAX);
    Saturation = std::clamp(Saturation, 0, HLSMAX);
    if (Hue == FHue && Saturation == FSaturation) return;
    FHue = Hue;
    FSaturation = Saturation;
    Invalidate();
}

void TColorSpectrum::ChangeByUser(int Hue, int Saturation) {
    const int OldH = FHue, OldS = FSaturation;
    SetHueSaturation(Hue, Saturation);
    if ((FHue != OldH || FSaturation != OldS) && OnChange) OnChange(this);
}

// --- geometry ---------------------------------------------------------------------------------

TPoint TColorSpectrum::PointOf(int Hue, int Saturation) const {
    const int W = std::max(GetClientWidth() - 1, 1), H = std::max(GetClientHeight() - 1, 1);
    return Point(Hue * W / HLSMAX, (HLSMAX - Saturation) * H / HLSMAX);
}

void TColorSpectrum::ValuesAt(TPoint P, int& Hue, int& Saturation) const {
    const int W = std::max(GetClientWidth() - 1, 1), H = std::max(GetClientHeight() - 1, 1);
    Hue = std::clamp(P.X, 0, W) * HLSMAX / W;
    Saturation = HLSMAX - std::clamp(P.Y, 0, H) * HLSMAX / H;
}

// --- painting ---------------------------------------------------------------------------------

const TBitmap* TColorSpectrum::Spectrum() const {
    const int W = GetClientWidth(), H = GetClientHeight();
    if (FSpectrum && FSpectrum->GetWidth() == W && FSpectrum->GetHeight() == H)
        return FSpectrum.get();
    FSpectrum = std::make_unique<TBitmap>();
    FSpectrum->SetSize(W, H);
    for (int Y = 0; Y < H; ++Y) {
        TPixel* Row = FSpectrum->ScanLine(Y);
        for (int X = 0; X < W; ++X) {
            int Hue, Sat;
            ValuesAt(Point(X, Y), Hue, Sat);
            Row[X] = RgbToPixel(ColorHLSToRGB(Hue, MiddleLuminance, Sat));
        }
    }
    return FSpectrum.get();
}

void TColorSpectrum::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->Draw(0, 0, Spectrum());
    // The cross in black, with a gap in the middle so the colour shows.
    const TPoint C = PointOf(FHue, FSaturation);
    TPen* Pen = Canvas->GetPen();
    Pen->SetWidth(0);
    Pen->SetColor(clBlack);
    Canvas->MoveTo(C.X - CrossArm - 2, C.Y);
    Canvas->LineTo(C.X - 2, C.Y);
    Canvas->MoveTo(C.X + 3, C.Y);
    Canvas->LineTo(C.X + CrossArm + 3, C.Y);
    Canvas->MoveTo(C.X, C.Y - CrossArm - 2);
    Canvas->LineTo(C.X, C.Y - 2);
    Canvas->MoveTo(C.X, C.Y + 3);
    Canvas->LineTo(C.X, C.Y + CrossArm + 3);
    if (Focused()) Canvas->DrawFocusRect(GetClientRect());
}

// --- input ------------------------------------------------------------------------------------

void TColorSpectrum::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        int Hue, Sat;
        ValuesAt(Point(X, Y), Hue, Sat);
        ChangeByUser(Hue, Sat);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TColorSpectrum::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!GetMouseCapture() || !InputRouter->IsButtonDown(mbLeft)) return;
    int Hue, Sat;
    ValuesAt(Point(X, Y), Hue, Sat);
    ChangeByUser(Hue, Sat);
}

void TColorSpectrum::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const int Step = Shift.Contains(ssCtrl) ? 10 : 1;
    switch (Key) {
    case VK_LEFT:
        ChangeByUser(FHue - Step, FSaturation);
        break;
    case VK_RIGHT:
        ChangeByUser(FHue + Step, FSaturation);
        break;
    case VK_UP:
        ChangeByUser(FHue, FSaturation + Step);
        break;
    case VK_DOWN:
        ChangeByUser(FHue, FSaturation - Step);
        break;
    default:
        return;
    }
    Key = 0;
}

void TColorSpectrum::Dispatch(TMessage& Message) {
    // The whole control is its focus cue.
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS, [this] { return GetClientRect(); }))
        return;
    TCustomControl::Dispatch(Message);
}

} // namespace folio
