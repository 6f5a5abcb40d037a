#include "framework/gfx/Canvas.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"

namespace folio {

namespace {

TPixel ColorPixel(TColor Color) {
    return RgbToPixel(ColorToRGB(Color));
}

} // namespace

void TCanvas::TextOut(int X, int Y, const String& Text) {
    Changing();
    const TFontFace& Face = *FFont->GetHandle();
    const int DX = X + FOrigin.X;
    const int DY = Y + FOrigin.Y;
    const TSize Extent = Face.TextExtent(Text);
    if (CanDraw()) {
        if (FBkMode == OPAQUE && BrushVisible())
            Face.FillCellRect(FSurface, FClip, DX, DY, TRect{0, 0, Extent.cx, Extent.cy},
                              ColorPixel(FBrush->GetColor()));
        Face.DrawString(FSurface, FClip, DX, DY, Text, ColorPixel(FFont->GetColor()));
    }
    FPenPos = TPoint{X + Extent.cx, Y};
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text) {
    Changing();
    const TRect Clip = IntersectRects(FClip, OffsetRectBy(R, FOrigin.X, FOrigin.Y));
    if (!Clip.IsEmpty()) {
        if (BrushVisible()) raster::FillRect(FSurface, Clip, Clip, BrushOp());
        FFont->GetHandle()->DrawString(FSurface, Clip, X + FOrigin.X, Y + FOrigin.Y, Text,
                                       ColorPixel(FFont->GetColor()));
    }
    Changed();
}

TSize TCanvas::TextExtent(const String& Text) const {
    return FFont->GetHandle()->TextExtent(Text);
}

int TCanvas::TextWidth(const String& Text) const {
    return FFont->GetHandle()->TextWidth(Text);
}

int TCanvas::TextHeight(const String& Text) const {
    return TextExtent(Text).cy;
}

int TCanvas::DrawText(String& Text, TRect& R, unsigned Format) {
    const bool Draws = (Format & DT_CALCRECT) == 0;
    if (Draws) Changing();
    TRect D = OffsetRectBy(R, FOrigin.X, FOrigin.Y);
    const TPixel Background = ColorPixel(FBrush->GetColor());
    const bool Opaque = FBkMode == OPAQUE && BrushVisible();
    const int Height =
        DrawTextOn(FSurface, FClip, *FFont->GetHandle(), ColorPixel(FFont->GetColor()),
                   Opaque ? &Background : nullptr, Text, D, Format);
    R = OffsetRectBy(D, -FOrigin.X, -FOrigin.Y);
    if (Draws) Changed();
    return Height;
}

int DrawText(HDC DC, String& Text, TRect& R, unsigned Format) {
    return DC ? DC->DrawText(Text, R, Format) : 0;
}

int DrawText(HDC DC, const String& Text, TRect& R, unsigned Format) {
    // The text may be shortened in place: a copy each thread keeps takes it,
    // so that drawing the same captions again allocates nothing.
    thread_local String Copy;
    Copy.assign(Text);
    return DrawText(DC, Copy, R, Format);
}

bool TextOut(HDC DC, int X, int Y, const String& Text) {
    if (!DC) return false;
    DC->TextOut(X, Y, Text);
    return true;
}

} // namespace folio
