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

/// Copy modes: the raster operations of block transfers (TCanvas::SetCopyMode).
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
/// A copy mode, one of the cm* values.
using TCopyMode = int;

/// Background modes: whether text and dashed lines fill their background.
enum : int { TRANSPARENT = 1, OPAQUE = 2 };

/// The platform-style handle of a canvas: the canvas itself.
using HDC = TCanvas*;

/// A canvas draws into a 32-bit pixel surface it does not own: a bitmap's
/// pixels or a form's back buffer. Coordinates are logical: the origin is the
/// device position of logical (0, 0), so one surface can serve a window's
/// whole area and its client area. Drawing is limited by the base clip (the
/// part of the surface this canvas may touch, set by its owner) and by a clip
/// rectangle selected by the drawing code.
///
/// Raster rules: Right and Bottom are exclusive; a line leaves out its end
/// point; pen width 0 or 1 draws one-pixel lines; Rectangle and Ellipse keep
/// the pen inside the box and fill the rest with the brush. Every drawing
/// call fires OnChanging before and OnChange after it.
class TCanvas : public TPersistent {
    FOLIO_CLASS(TCanvas)
public:
    /// A canvas with no surface (drawing does nothing), a default pen, brush
    /// and font, copy mode cmSrcCopy and the OPAQUE background mode.
    TCanvas();
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // --- where drawing goes -------------------------------------------------
    ///@{
    /// The pixels drawing goes to. A new surface resets the base clip to the
    /// whole surface; an invalid one leaves nothing to draw on.
    void SetSurface(const TPixelSurface& Surface);
    const TPixelSurface& GetSurface() const { return FSurface; }
    ///@}
    ///@{
    /// The device position of logical (0, 0); (0, 0) by default.
    void SetOrigin(int X, int Y);
    TPoint GetOrigin() const { return FOrigin; }
    ///@}
    ///@{
    /// The device rectangle this canvas may draw into (kept inside the surface).
    void SetBaseClip(const TRect& DeviceRect);
    TRect GetBaseClip() const { return FBaseClip; }
    ///@}
    /// Selects a clip rectangle in logical coordinates (inside the base clip);
    /// RemoveClipRect drops it again.
    void SelectClipRect(const TRect& LogicalRect);
    /// Narrows the selected clip rectangle to its overlap with LogicalRect
    /// (selects LogicalRect when none is selected).
    void IntersectClipRect(const TRect& LogicalRect);
    /// Drops the selected clip rectangle: the base clip alone limits drawing.
    void RemoveClipRect();
    /// True while a clip rectangle is selected.
    bool HasClipRect() const { return FHasClipRect; }
    /// The logical rectangle drawing can reach.
    TRect GetClipRect() const;
    /// The canvas as a handle, for the handle functions below (SelectClipRgn,
    /// DrawText, TextOut ...).
    HDC GetHandle() { return this; }

    // --- drawing tools ------------------------------------------------------
    ///@{
    /// The pen lines and outlines are drawn with; setting copies Value's
    /// colour, width, style and mode.
    TPen* GetPen() const { return FPen.get(); }
    void SetPen(const TPen* Value) { FPen->Assign(Value); }
    ///@}
    ///@{
    /// The brush shapes are filled with; setting copies Value. A change of
    /// the brush sets the background mode (TRANSPARENT for bsClear, else
    /// OPAQUE).
    TBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(const TBrush* Value) { FBrush->Assign(Value); }
    ///@}
    ///@{
    /// The font text is drawn in; setting copies Value.
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(const TFont* Value) { FFont->Assign(Value); }
    ///@}
    ///@{
    /// The raster operation of CopyRect, Draw and StretchDraw; cmSrcCopy by
    /// default. A value that is not a cm* constant raises
    /// EInvalidGraphicOperation at the next transfer.
    TCopyMode GetCopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value);
    ///@}
    ///@{
    /// Where LineTo starts, in logical coordinates; MoveTo, LineTo and
    /// TextOut move it.
    TPoint GetPenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { FPenPos = Value; }
    ///@}
    ///@{
    /// TRANSPARENT or OPAQUE: whether text fills its cell with the brush.
    /// Changing the brush sets the background mode to match its style, as
    /// the platform does; SetBkMode overrides it until the next brush change.
    /// SetBkMode answers the mode before, or 0 for a mode that is neither
    /// (which is ignored).
    int GetBkMode() const { return FBkMode; }
    int SetBkMode(int Mode);
    ///@}

    // --- lines and shapes ---------------------------------------------------
    /// Moves the pen position to (X, Y) without drawing.
    void MoveTo(int X, int Y);
    /// Draws a line with the pen from the pen position to (X, Y), leaving out
    /// (X, Y), and moves the pen position there.
    void LineTo(int X, int Y);
    ///@{
    /// Draws lines with the pen through Points in order (fewer than two
    /// points draw nothing); the pen position does not move.
    void Polyline(const TPoint* Points, int Count);
    void Polyline(std::initializer_list<TPoint> Points) {
        Polyline(Points.begin(), static_cast<int>(Points.size()));
    }
    void Polyline(const std::vector<TPoint>& Points) {
        Polyline(Points.data(), static_cast<int>(Points.size()));
    }
    ///@}
    ///@{
    /// Fills the closed shape through Points with the brush (three points at
    /// least) and outlines it with the pen, the last point joined to the first.
    void Polygon(const TPoint* Points, int Count);
    void Polygon(std::initializer_list<TPoint> Points) {
        Polygon(Points.begin(), static_cast<int>(Points.size()));
    }
    void Polygon(const std::vector<TPoint>& Points) {
        Polygon(Points.data(), static_cast<int>(Points.size()));
    }
    ///@}
    ///@{
    /// A rectangle outlined with the pen (inside the box) and filled with the
    /// brush; corners in either order. Without a pen the fill stops one pixel
    /// short on the right and at the bottom, where the outline would be.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    ///@}
    /// Fills R with the brush, without an outline; a bsClear brush draws nothing.
    void FillRect(const TRect& R);
    /// A one-pixel frame in the brush colour.
    void FrameRect(const TRect& R);
    ///@{
    /// The ellipse inscribed in the box, outlined with the pen and filled
    /// with the brush.
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    ///@}
    /// A pie slice of the ellipse in (X1, Y1, X2, Y2), swept counter-clockwise
    /// from the ray towards (X3, Y3) to the ray towards (X4, Y4); outlined with
    /// the pen (arc and both radii), filled with the brush.
    void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
    /// The dotted inverting frame of keyboard focus: drawn twice it vanishes.
    void DrawFocusRect(const TRect& R);

    /// The colour of the pixel at (X, Y); clNone outside the clip.
    TColor GetPixel(int X, int Y) const;
    /// Sets the pixel at (X, Y) to Color; outside the clip nothing happens.
    void SetPixel(int X, int Y, TColor Color);

    // --- text ---------------------------------------------------------------
    // Text goes through the font engine; (X, Y) is the top-left corner of the
    // text cell and the font colour may be a system colour.
    /// Draws Text in the font at (X, Y), the top-left corner of its cell, and
    /// moves the pen position to its end. In opaque background mode with a
    /// solid brush the text cell is filled with the brush colour first.
    void TextOut(int X, int Y, const String& Text);
    /// Draws Text at (X, Y) clipped to R; a solid brush fills R first.
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    /// The width and height in pixels Text takes in the font (one line).
    TSize TextExtent(const String& Text) const;
    /// The width in pixels Text takes in the font.
    int TextWidth(const String& Text) const;
    /// The height in pixels of Text's cell in the font.
    int TextHeight(const String& Text) const;
    /// The platform's DrawText (DT_* flags) in logical coordinates: returns the
    /// text height; DT_CALCRECT sets R's extent and draws nothing;
    /// DT_MODIFYSTRING with DT_END_ELLIPSIS writes the shortened text back. In
    /// opaque background mode with a solid brush each line's background takes
    /// the brush colour.
    int DrawText(String& Text, TRect& R, unsigned Format);

    // --- block transfers ----------------------------------------------------
    /// Copies Source of Canvas onto Dest of this canvas with the copy mode,
    /// scaling when the sizes differ. The modes that need no source
    /// (cmBlackness, cmWhiteness, cmDstInvert, cmPatCopy, cmPatInvert) work
    /// with a null Canvas.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    /// Copies Bitmap at its own size with its top-left corner at (X, Y),
    /// with the copy mode; a null or empty bitmap draws nothing.
    void Draw(int X, int Y, const TBitmap* Bitmap);
    /// Copies Bitmap scaled to fill R, with the copy mode; a null or empty
    /// bitmap draws nothing.
    void StretchDraw(const TRect& R, const TBitmap* Bitmap);
    /// Copies a Width x Height picture (rows top-down) with its top-left
    /// corner at (X, Y), leaving out the pixels whose Mask byte is 0 (a null
    /// Mask copies them all). Image lists draw through this.
    void DrawMaskedPixels(int X, int Y, int Width, int Height, const TPixel* Pixels,
                          const std::uint8_t* Mask);

    ///@{
    /// Told before and after every drawing operation (not after a
    /// DT_CALCRECT measurement), with the canvas as Sender.
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    ///@}

    /// The device clip rectangle every primitive is limited to.
    const TRect& DeviceClip() const { return FClip; }

protected:
    /// Fires OnChanging.
    void Changing();
    /// Fires OnChange.
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

/// A clip region; only rectangles are needed.
struct TRegion {
    /// The region's rectangle, in logical coordinates.
    TRect Rect;
};
/// A handle to a region made by CreateRectRgn.
using HRGN = TRegion*;

/// Region kinds answered by the clip functions.
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2 };

///@{
/// A new rectangular region, which the caller frees with DeleteObject.
HRGN CreateRectRgn(int Left, int Top, int Right, int Bottom);
HRGN CreateRectRgnIndirect(const TRect& R);
///@}
/// Frees a region made by CreateRectRgn; false for null.
bool DeleteObject(HRGN Region);
/// Selects a copy of Region (logical coordinates) as the canvas's clip, or
/// removes the clip with nullptr; the region itself stays the caller's.
/// Answers NULLREGION when nothing can be drawn, RGN_ERROR for a null DC.
int SelectClipRgn(HDC DC, HRGN Region);
/// Sets R to the logical rectangle drawing can reach (empty: NULLREGION).
int GetClipBox(HDC DC, TRect& R);
///@{
/// TCanvas::SetBkMode and GetBkMode on a handle; 0 for a null DC.
int SetBkMode(HDC DC, int Mode);
int GetBkMode(HDC DC);
///@}
/// TCanvas::DrawFocusRect on a handle; false for a null DC.
bool DrawFocusRect(HDC DC, const TRect& R);
///@{
/// DrawText on a canvas handle; the const form never writes the text back.
/// 0 for a null DC.
int DrawText(HDC DC, String& Text, TRect& R, unsigned Format);
int DrawText(HDC DC, const String& Text, TRect& R, unsigned Format);
///@}
/// TCanvas::TextOut on a handle; false for a null DC.
bool TextOut(HDC DC, int X, int Y, const String& Text);

} // namespace folio
