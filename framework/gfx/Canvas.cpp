#include "framework/gfx/Canvas.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Rects.h"

#include <algorithm>
#include <vector>

namespace folio {

namespace {

TPixel ColorPixel(TColor Color) {
    return RgbToPixel(ColorToRGB(Color));
}

TRect Normalized(int X1, int Y1, int X2, int Y2) {
    return TRect{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)};
}

// Polygons up to this many points convert their vertices on the stack.
constexpr int StackPoints = 64;

} // namespace

FOLIO_DEFINE_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()),
      FFont(std::make_unique<TFont>()) {
    FPen->OnChange = [this](TObject*) { FPenOpScheme = 0; };
    FBrush->OnChange = [this](TObject*) {
        FBrushOpScheme = 0;
        FBkMode = FBrush->GetStyle() == bsClear ? TRANSPARENT : OPAQUE;
    };
}

TCanvas::~TCanvas() = default;

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

// --- where drawing goes ---------------------------------------------------

void TCanvas::SetSurface(const TPixelSurface& Surface) {
    FSurface = Surface;
    FBaseClip = FSurface.Valid() ? TRect{0, 0, FSurface.Width, FSurface.Height} : TRect{};
    UpdateClip();
}

void TCanvas::SetOrigin(int X, int Y) {
    if (FOrigin.X == X && FOrigin.Y == Y) return;
    FOrigin = TPoint{X, Y};
    UpdateClip();
}

void TCanvas::SetBaseClip(const TRect& DeviceRect) {
    FBaseClip = FSurface.Valid()
                    ? IntersectRects(DeviceRect, TRect{0, 0, FSurface.Width, FSurface.Height})
                    : TRect{};
    UpdateClip();
}

void TCanvas::SelectClipRect(const TRect& LogicalRect) {
    FClipRect = LogicalRect;
    FHasClipRect = true;
    UpdateClip();
}

void TCanvas::IntersectClipRect(const TRect& LogicalRect) {
    SelectClipRect(FHasClipRect ? IntersectRects(FClipRect, LogicalRect) : LogicalRect);
}

void TCanvas::RemoveClipRect() {
    FHasClipRect = false;
    UpdateClip();
}

void TCanvas::UpdateClip() {
    FClip = FBaseClip;
    if (FHasClipRect) FClip = IntersectRects(FClip, OffsetRectBy(FClipRect, FOrigin.X, FOrigin.Y));
}

TRect TCanvas::GetClipRect() const {
    return OffsetRectBy(FClip, -FOrigin.X, -FOrigin.Y);
}

void TCanvas::SetCopyMode(TCopyMode Value) {
    FCopyMode = Value;
}

int TCanvas::SetBkMode(int Mode) {
    if (Mode != TRANSPARENT && Mode != OPAQUE) return 0;
    const int Old = FBkMode;
    FBkMode = Mode;
    return Old;
}

// --- drawing tools --------------------------------------------------------

const TPixelOp& TCanvas::PenOp() const {
    if (FPenOpScheme != ColorSchemeGeneration()) {
        FPenOp = MakePenOp(FPen->GetMode(), ColorPixel(FPen->GetColor()));
        FPenOpScheme = ColorSchemeGeneration();
    }
    return FPenOp;
}

const TPixelOp& TCanvas::BrushOp() const {
    if (FBrushOpScheme != ColorSchemeGeneration()) {
        FBrushOp = FillOp(ColorPixel(FBrush->GetColor()));
        FBrushOpScheme = ColorSchemeGeneration();
    }
    return FBrushOp;
}

TLinePattern TCanvas::PenPattern() const {
    if (FPen->GetWidth() > 1) return {};
    switch (FPen->GetStyle()) {
    case psDash:
        return TLinePattern{0x3FFFFu, 24, 0}; // 18 on, 6 off
    case psDot:
        return TLinePattern{0x7u, 6, 0}; // 3 on, 3 off
    case psDashDot:
        return TLinePattern{0x381FFu, 24, 0}; // 9 on, 6 off, 3 on, 6 off
    case psDashDotDot:
        return TLinePattern{0x1C71FFu, 24, 0}; // 9 on, then 3 off, 3 on twice
    default:
        return {};
    }
}

void TCanvas::DeviceLine(int X0, int Y0, int X1, int Y1, const TPixelOp& Op,
                         TLinePattern* Pattern) {
    if (FPen->GetWidth() <= 1)
        raster::Line(FSurface, FClip, X0, Y0, X1, Y1, Op, false, Pattern);
    else
        raster::WideLine(FSurface, FClip, X0, Y0, X1, Y1, FPen->GetWidth(), Op, true);
}

// --- lines and shapes -----------------------------------------------------

void TCanvas::MoveTo(int X, int Y) {
    FPenPos = TPoint{X, Y};
}

void TCanvas::LineTo(int X, int Y) {
    Changing();
    if (CanDraw() && PenVisible()) {
        TLinePattern Pattern = PenPattern();
        DeviceLine(FPenPos.X + FOrigin.X, FPenPos.Y + FOrigin.Y, X + FOrigin.X, Y + FOrigin.Y,
                   PenOp(), Pattern.Length ? &Pattern : nullptr);
    }
    FPenPos = TPoint{X, Y};
    Changed();
}

void TCanvas::Polyline(const TPoint* Points, int Count) {
    if (!Points || Count < 2) return;
    Changing();
    if (CanDraw() && PenVisible()) {
        const TPixelOp Op = PenOp();
        TLinePattern Pattern = PenPattern();
        for (int I = 0; I + 1 < Count; ++I)
            DeviceLine(Points[I].X + FOrigin.X, Points[I].Y + FOrigin.Y,
                       Points[I + 1].X + FOrigin.X, Points[I + 1].Y + FOrigin.Y, Op,
                       Pattern.Length ? &Pattern : nullptr);
    }
    Changed();
}

void TCanvas::Polygon(const TPoint* Points, int Count) {
    if (!Points || Count < 2) return;
    Changing();
    if (CanDraw()) {
        if (BrushVisible() && Count >= 3) {
            TPointF Stack[StackPoints];
            std::vector<TPointF> Heap;
            TPointF* F = Stack;
            if (Count > StackPoints) {
                Heap.resize(static_cast<size_t>(Count));
                F = Heap.data();
            }
            for (int I = 0; I < Count; ++I)
                F[I] = TPointF{static_cast<double>(Points[I].X + FOrigin.X),
                               static_cast<double>(Points[I].Y + FOrigin.Y)};
            raster::FillPolygon(FSurface, FClip, F, Count, BrushOp(), false);
        }
        if (PenVisible()) {
            const TPixelOp Op = PenOp();
            TLinePattern Pattern = PenPattern();
            for (int I = 0; I < Count; ++I) {
                const TPoint& A = Points[I];
                const TPoint& B = Points[I + 1 == Count ? 0 : I + 1];
                DeviceLine(A.X + FOrigin.X, A.Y + FOrigin.Y, B.X + FOrigin.X, B.Y + FOrigin.Y, Op,
                           Pattern.Length ? &Pattern : nullptr);
            }
        }
    }
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    Changing();
    TRect R = Normalized(X1, Y1, X2, Y2);
    OffsetRect(R, FOrigin.X, FOrigin.Y);
    if (CanDraw() && !R.IsEmpty()) {
        if (!PenVisible()) {
            // Without a pen the platform fills one pixel less on the right
            // and at the bottom, where the outline would have been.
            if (BrushVisible())
                raster::FillRect(FSurface, FClip, TRect{R.Left, R.Top, R.Right - 1, R.Bottom - 1},
                                 BrushOp());
        } else {
            const int W = std::max(1, FPen->GetWidth());
            const TPixelOp Op = PenOp();
            if (BrushVisible())
                raster::FillRect(FSurface, FClip, InflatedRect(R, -W, -W), BrushOp());
            TLinePattern Pattern = PenPattern();
            if (Pattern.Length) {
                const int L = R.Left, T = R.Top, Rt = R.Right - 1, B = R.Bottom - 1;
                raster::Line(FSurface, FClip, L, T, Rt, T, Op, false, &Pattern);
                raster::Line(FSurface, FClip, Rt, T, Rt, B, Op, false, &Pattern);
                raster::Line(FSurface, FClip, Rt, B, L, B, Op, false, &Pattern);
                raster::Line(FSurface, FClip, L, B, L, T, Op, L == Rt || T == B, &Pattern);
            } else if (R.Width() <= 2 * W || R.Height() <= 2 * W) {
                raster::FillRect(FSurface, FClip, R, Op);
            } else {
                raster::FillRect(FSurface, FClip, TRect{R.Left, R.Top, R.Right, R.Top + W}, Op);
                raster::FillRect(FSurface, FClip, TRect{R.Left, R.Bottom - W, R.Right, R.Bottom},
                                 Op);
                raster::FillRect(FSurface, FClip,
                                 TRect{R.Left, R.Top + W, R.Left + W, R.Bottom - W}, Op);
                raster::FillRect(FSurface, FClip,
                                 TRect{R.Right - W, R.Top + W, R.Right, R.Bottom - W}, Op);
            }
        }
    }
    Changed();
}

void TCanvas::FillRect(const TRect& R) {
    Changing();
    if (CanDraw() && BrushVisible())
        raster::FillRect(FSurface, FClip, OffsetRectBy(R, FOrigin.X, FOrigin.Y), BrushOp());
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
    Changing();
    const TRect R = OffsetRectBy(Rect, FOrigin.X, FOrigin.Y);
    if (CanDraw() && BrushVisible() && !R.IsEmpty()) {
        const TPixelOp Op = BrushOp();
        raster::FillRect(FSurface, FClip, TRect{R.Left, R.Top, R.Right, R.Top + 1}, Op);
        if (R.Height() > 1)
            raster::FillRect(FSurface, FClip, TRect{R.Left, R.Bottom - 1, R.Right, R.Bottom}, Op);
        raster::FillRect(FSurface, FClip, TRect{R.Left, R.Top + 1, R.Left + 1, R.Bottom - 1}, Op);
        if (R.Width() > 1)
            raster::FillRect(FSurface, FClip, TRect{R.Right - 1, R.Top + 1, R.Right, R.Bottom - 1},
                             Op);
    }
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    Changing();
    TRect Box = Normalized(X1, Y1, X2, Y2);
    OffsetRect(Box, FOrigin.X, FOrigin.Y);
    if (CanDraw()) {
        const bool HasPen = PenVisible();
        if (!HasPen) Box = TRect{Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1};
        const TPixelOp Pen = PenOp();
        const TPixelOp Brush = BrushOp();
        raster::Ellipse(FSurface, FClip, Box, FPen->GetWidth(), HasPen ? &Pen : nullptr,
                        BrushVisible() ? &Brush : nullptr);
    }
    Changed();
}

void TCanvas::Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4) {
    Changing();
    TRect Box = Normalized(X1, Y1, X2, Y2);
    if (CanDraw()) {
        const bool HasPen = PenVisible();
        if (!HasPen) Box = TRect{Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1};
        // The rays run from the centre of the box, in logical coordinates.
        const double CX = Box.Left + Box.Width() / 2.0;
        const double CY = Box.Top + Box.Height() / 2.0;
        const TWedge Wedge{X3 - CX, Y3 - CY, X4 - CX, Y4 - CY};
        OffsetRect(Box, FOrigin.X, FOrigin.Y);
        const TPixelOp Pen = PenOp();
        const TPixelOp Brush = BrushOp();
        raster::Ellipse(FSurface, FClip, Box, FPen->GetWidth(), HasPen ? &Pen : nullptr,
                        BrushVisible() ? &Brush : nullptr, &Wedge);
    }
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& R) {
    Changing();
    if (CanDraw()) raster::FocusRect(FSurface, FClip, OffsetRectBy(R, FOrigin.X, FOrigin.Y));
    Changed();
}

TColor TCanvas::GetPixel(int X, int Y) const {
    const int DX = X + FOrigin.X;
    const int DY = Y + FOrigin.Y;
    if (!FClip.Contains(TPoint{DX, DY})) return clNone;
    return PixelToRgb(FSurface.Row(DY)[DX]);
}

void TCanvas::SetPixel(int X, int Y, TColor Color) {
    const int DX = X + FOrigin.X;
    const int DY = Y + FOrigin.Y;
    if (!FClip.Contains(TPoint{DX, DY})) return;
    Changing();
    FSurface.Row(DY)[DX] = ColorPixel(Color);
    Changed();
}

// --- block transfers ------------------------------------------------------

void TCanvas::Transfer(const TRect& Dest, const TPixelSurface* Src, const TRect& DeviceSource) {
    if (!CanDraw()) return;
    const TRect D = Normalized(Dest.Left, Dest.Top, Dest.Right, Dest.Bottom);
    raster::TBlitOp Op;
    switch (FCopyMode) {
    case cmBlackness:
        raster::FillRect(FSurface, FClip, D, FillOp(0));
        return;
    case cmWhiteness:
        raster::FillRect(FSurface, FClip, D, FillOp(0xFFFFFF));
        return;
    case cmDstInvert:
        raster::FillRect(FSurface, FClip, D, InvertOp());
        return;
    case cmPatCopy:
        raster::FillRect(FSurface, FClip, D, BrushOp());
        return;
    case cmPatInvert:
        raster::FillRect(FSurface, FClip, D, XorOp(ColorPixel(FBrush->GetColor())));
        return;
    case cmSrcCopy:
        Op = raster::TBlitOp::Copy;
        break;
    case cmSrcInvert:
        Op = raster::TBlitOp::Invert;
        break;
    case cmSrcAnd:
        Op = raster::TBlitOp::And;
        break;
    case cmSrcPaint:
        Op = raster::TBlitOp::Paint;
        break;
    case cmNotSrcCopy:
        Op = raster::TBlitOp::NotCopy;
        break;
    case cmSrcErase:
        Op = raster::TBlitOp::Erase;
        break;
    case cmNotSrcErase:
        Op = raster::TBlitOp::NotErase;
        break;
    case cmMergePaint:
        Op = raster::TBlitOp::MergePaint;
        break;
    case cmMergeCopy:
        Op = raster::TBlitOp::MergeCopy;
        break;
    default:
        throw EInvalidGraphicOperation(
            Format("Copy mode 0x%06X is not a raster operation this canvas supports", FCopyMode));
    }
    if (!Src || !Src->Valid()) return;
    raster::StretchBlit(FSurface, FClip, Dest, *Src, DeviceSource, Op,
                        ColorPixel(FBrush->GetColor()));
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    Changing();
    const TRect D = OffsetRectBy(Dest, FOrigin.X, FOrigin.Y);
    if (Canvas)
        Transfer(D, &Canvas->FSurface, OffsetRectBy(Source, Canvas->FOrigin.X, Canvas->FOrigin.Y));
    else
        Transfer(D, nullptr, Source);
    Changed();
}

void TCanvas::Draw(int X, int Y, const TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->GetEmpty()) return;
    Changing();
    const TPixelSurface Src = Bitmap->GetSurface();
    Transfer(Bounds(X + FOrigin.X, Y + FOrigin.Y, Src.Width, Src.Height), &Src,
             TRect{0, 0, Src.Width, Src.Height});
    Changed();
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap* Bitmap) {
    if (!Bitmap || Bitmap->GetEmpty()) return;
    Changing();
    const TPixelSurface Src = Bitmap->GetSurface();
    Transfer(OffsetRectBy(R, FOrigin.X, FOrigin.Y), &Src, TRect{0, 0, Src.Width, Src.Height});
    Changed();
}

void TCanvas::DrawMaskedPixels(int X, int Y, int Width, int Height, const TPixel* Pixels,
                               const std::uint8_t* Mask) {
    if (!Pixels || Width <= 0 || Height <= 0) return;
    Changing();
    const TRect D = IntersectRects(FClip, Bounds(X + FOrigin.X, Y + FOrigin.Y, Width, Height));
    for (int DY = D.Top; DY < D.Bottom; ++DY) {
        const size_t Row = static_cast<size_t>(DY - Y - FOrigin.Y) * Width;
        const int SX0 = D.Left - X - FOrigin.X;
        const TPixel* Src = Pixels + Row + SX0;
        TPixel* Dst = FSurface.Row(DY) + D.Left;
        const int N = D.Width();
        if (!Mask) {
            std::copy_n(Src, N, Dst);
            continue;
        }
        const std::uint8_t* M = Mask + Row + SX0;
        for (int I = 0; I < N; ++I)
            if (M[I]) Dst[I] = Src[I] | 0xFF000000u;
    }
    Changed();
}

// --- handle functions -----------------------------------------------------

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom) {
    return new TRegion{TRect{Left, Top, Right, Bottom}};
}

HRGN CreateRectRgnIndirect(const TRect& R) {
    return new TRegion{R};
}

bool DeleteObject(HRGN Region) {
    if (!Region) return false;
    delete Region;
    return true;
}

int SelectClipRgn(HDC DC, HRGN Region) {
    if (!DC) return RGN_ERROR;
    if (!Region)
        DC->RemoveClipRect();
    else
        DC->SelectClipRect(Region->Rect);
    return DC->GetClipRect().IsEmpty() ? NULLREGION : SIMPLEREGION;
}

int GetClipBox(HDC DC, TRect& R) {
    if (!DC) return RGN_ERROR;
    R = DC->GetClipRect();
    if (R.IsEmpty()) {
        R = TRect{};
        return NULLREGION;
    }
    return SIMPLEREGION;
}

int SetBkMode(HDC DC, int Mode) {
    return DC ? DC->SetBkMode(Mode) : 0;
}

int GetBkMode(HDC DC) {
    return DC ? DC->GetBkMode() : 0;
}

bool DrawFocusRect(HDC DC, const TRect& R) {
    if (!DC) return false;
    DC->DrawFocusRect(R);
    return true;
}

} // namespace folio
