#pragma once

#include "framework/core/Object.h"
#include "framework/gfx/Brush.h"
#include "framework/gfx/Font.h"
#include "framework/gfx/GraphicsTypes.h"
#include "framework/gfx/Pen.h"
#include "framework/gfx/Raster.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

namespace folio {

class TBitmap;
class TCanvas;

// Copy modes: the raster operations of block transfers.
enum : int {
    cmBlackness = 0x00000042,
    cmDstInvert = 0x00550009,
    cmMergeCopy = 0x00C000CA,
    cmMergePaint = 0x00BB0226,
    cmNotSrcCopy = 0x00330008,
    cmNotSrcErase = 0x001100A6,
    cmPatCopy = 0x00F00021,
    cmPatInvert = 0x005A0049,
    cmSrcAnd = 0x008800C6,
    cmSrcCopy = 0x00CC0020,
    cmSrcErase = 0x00440328,
    cmSrcInvert = 0x00660046,
    cmSrcPaint = 0x00EE0086,
    cmWhiteness = 0x00FF0062,
};
using TCopyMode = int;

// Background modes: whether text and dashed lines fill their background.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

// The platform-style handle of a canvas: the canvas itself.
using HDC = TCanvas*;

// A canvas draws into a 32-bit pixel surface it does not own: a bitmap's
// pixels or a form's back buffer. Coordinates are logical: the origin is the
// device position of logical (0, 0), so one surface can serve a window's
// whole area and its client area. Drawing is limited by the base clip (the
// part of the surface this canvas may touch, set by its owner) and by a clip
// rectangle selected by the drawing code.
//
// Raster rules: Right and Bottom are exclusive; a line leaves out its end
// point; pen width 0 or 1 draws one-pixel lines; Rectangle and Ellipse keep
// the pen inside the box and fill the rest with the brush.
class TCanvas : public TPersistent {
    FOLIO_CLASS(TCanvas)
public:
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // --- where drawing goes -------------------------------------------------
    // A new surface resets the base clip to the whole surface.
    void SetSurface(const TPixelSurface& Surface);
    const TPixelSurface& GetSurface() const { return FSurface; }
    // The device position of logical (0, 0).
    void SetOrigin(int X, int Y);
    TPoint GetOrigin() const { return FOrigin; }
    // The device rectangle this canvas may draw into (kept inside the surface).
    void SetBaseClip(const TRect& DeviceRect);
    TRect GetBaseClip() const { return FBaseClip; }
    // Selects a clip rectangle in logical coordinates (inside the base clip);
    // RemoveClipRect drops it again.
    void SelectClipRect(const TRect& LogicalRect);
    void IntersectClipRect(const TRect& LogicalRect);
    void RemoveClipRect();
    bool HasClipRect() const { return FHasClipRect; }
    // The logical rectangle drawing can reach.
    TRect GetClipRect() const;
    HDC GetHandle() { return this; }

    // --- drawing tools ------------------------------------------------------
    TPen* GetPen() const { return FPen.get(); }
    void SetPen(const TPen* Value) { FPen->Assign(Value); }
    TBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(const TBrush* Value) { FBrush->Assign(Value); }
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    TCopyMode GetCopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value);
    TPoint GetPenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { FPenPos = Value; }
    // Changing the brush sets the background mode to match its style, as
    // the platform does; SetBkMode overrides it until the next brush change.
    int GetBkMode() const { return FBkMode; }
    int SetBkMode(int Mode);

    // --- lines and shapes ---------------------------------------------------
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const TPoint* Points, int Count);
    void Polyline(std::initializer_list<TPoint> Points) {
        Polyline(Points.begin(), static_cast<int>(Points.size()));
    }
    void Polyline(const std::vector<TPoint>& Points) {
        Polyline(Points.data(), static_cast<int>(Points.size()));
    }
    void Polygon(const TPoint* Points, int Count);
    void Polygon(std::initializer_list<TPoint> Points) {
        Polygon(Points.begin(), static_cast<int>(Points.size()));
    }
    void Polygon(const std::vector<TPoint>& Points) {
        Polygon(Points.data(), static_cast<int>(Points.size()));
    }
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void FillRect(const TRect& R);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& R);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // A pie slice of the ellipse in (X1, Y1, X2, Y2), swept counter-clockwise
    // from the ray towards (X3, Y3) to the ray towards (X4, Y4); outlined with
    // the pen (arc and both radii), filled with the brush.
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    // The dotted inverting frame of keyboard focus: drawn twice it vanishes.
    void DrawFocusRect(const TRect& R);

    TColor GetPixel(int X, int Y) const;
    void SetPixel(int X, int Y, TColor Color);

    // --- text ---------------------------------------------------------------
    // Text goes through the font engine; (X, Y) is the top-left corner of the
    // text cell and the font colour may be a system colour.
    // Draws Text at (X, Y) and moves the pen position to its end. In opaque
    // background mode with a solid brush the text cell is filled with the
    // brush colour first.
    void TextOut(int X, int Y, const String& Text);
    // Draws Text at (X, Y) clipped to R; a solid brush fills R first.
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    TSize TextExtent(const String& Text) const;
    int TextWidth(const String& Text) const;
    int TextHeight(const String& Text) const;
    // The platform's DrawText (DT_* flags) in logical coordinates: returns the
    // text height; DT_CALCRECT sets R's extent; DT_MODIFYSTRING with
    // DT_END_ELLIPSIS writes the shortened text back. In opaque background
    // mode with a solid brush each line's background takes the brush colour.
    int DrawText(String& Text, TRect& R, unsigned Format);

    // --- block transfers ----------------------------------------------------
    // Copies Source of Canvas onto Dest of this canvas with CopyMode,
    // scaling when the sizes differ.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    void Draw(int X, int Y, const TBitmap* Bitmap);
    void StretchDraw(const TRect& R, const TBitmap* Bitmap);
    // Copies a Width x Height picture (rows top-down) with its top-left
    // corner at (X, Y), leaving out the pixels whose Mask byte is 0 (a null
    // Mask copies them all). Image lists draw through this.
    void DrawMaskedPixels(int X, int Y, int Width, int Height, const TPixel* Pixels,
                          const std::uint8_t* Mask);

    // Told before and after every drawing operation.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

    // The device clip rectangle every primitive is limited to.
    const TRect& DeviceClip() const { return FClip; }

protected:
    void Changing();
    void Changed();

private:
    void UpdateClip();
    // The pen's and brush's pixel operations, rebuilt after they change.
    const TPixelOp& PenOp() const;
    const TPixelOp& BrushOp() const;
    bool CanDraw() const { return !FClip.IsEmpty(); }
    bool PenVisible() const { return FPen->GetStyle() != psClear && FPen->GetMode() != pmNop; }
    bool BrushVisible() const { return FBrush->GetStyle() != bsClear; }
    // A one-pixel or wide line between device points with the current pen.
    void DeviceLine(int X0, int Y0, int X1, int Y1, const TPixelOp& Op, TLinePattern* Pattern);
    TLinePattern PenPattern() const;
    void Transfer(const TRect& Dest, const TPixelSurface* Src, const TRect& DeviceSource);

    TPixelSurface FSurface;
    TPoint FOrigin;
    TRect FBaseClip;
    TRect FClipRect; // logical
    bool FHasClipRect = false;
    TRect FClip; // device: base clip, clip rectangle and surface combined
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    TCopyMode FCopyMode = cmSrcCopy;
    TPoint FPenPos;
    int FBkMode = OPAQUE;
    mutable TPixelOp FPenOp;
    mutable TPixelOp FBrushOp;
    // The colour scheme generation the cached pen and brush were resolved
    // in (0: not resolved): a system colour resolves anew in another scheme.
    mutable unsigned FPenOpScheme = 0;
    mutable unsigned FBrushOpScheme = 0;
};

// --- the platform's functions on a canvas handle ---------------------------

// A clip region; only rectangles are needed.
struct TRegion {
    TRect Rect;
};
using HRGN = TRegion*;

// Region kinds answered by the clip functions.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2 };

HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect& R);
// Frees a region made by CreateRectRgn.
bool DeleteObject(HRGN Region);
// Selects a copy of Region (logical coordinates) as the canvas's clip, or
// removes the clip with nullptr; the region itself stays the caller's.
int SelectClipRgn(HDC DC, HRGN Region);
int GetClipBox(HDC DC, TRect& R);
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);
bool DrawFocusRect(HDC DC, const TRect& R);
// DrawText on a canvas handle; the const form never writes the text back.
int DrawText(HDC DC, String& Text, TRect& R, unsigned Format);
int DrawText(HDC DC, const String& Text, TRect& R, unsigned Format);
bool TextOut(HDC DC, int X, int Y, const String& Text);

} // namespace folio
