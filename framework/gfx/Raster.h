#pragma once

#include "framework/gfx/Surface.h"

namespace folio {

// The pixel kernels behind the canvas. Everything here works in device
// coordinates on a surface, and every call takes the clip rectangle that
// bounds its writes; the caller guarantees the clip lies inside the surface.
// Clipping happens once per primitive (per span or per line), never per pixel.

/// A pen or pattern operation on a destination pixel: D = (D & And) ^ Xor.
/// Every two-operand raster operation of a pen and the destination reduces to
/// this form, so one kernel serves all pen modes. And keeps no alpha bits and
/// Xor sets them all, which holds alpha at 0xFF.
struct TPixelOp {
    TPixel And = 0;           ///< the destination bits kept
    TPixel Xor = 0xFF000000u; ///< the bits then flipped

    /// True when the result does not depend on the destination (a plain fill).
    bool IsFill() const { return And == 0; }
    /// True when the operation leaves every pixel as it is.
    bool IsNop() const { return And == 0x00FFFFFFu && Xor == 0xFF000000u; }
};

/// The operation that paints Color (made opaque).
constexpr TPixelOp FillOp(TPixel Color) {
    return TPixelOp{0, Color | 0xFF000000u};
}
/// The operation that inverts the colour of every pixel.
constexpr TPixelOp InvertOp() {
    return TPixelOp{0x00FFFFFFu, 0xFFFFFFFFu};
}
/// The operation that combines Color with each pixel by exclusive or;
/// doing it twice restores the pixel.
constexpr TPixelOp XorOp(TPixel Color) {
    return TPixelOp{0x00FFFFFFu, (Color & 0x00FFFFFFu) | 0xFF000000u};
}

/// A dash pattern along a line: pixel n is drawn when bit (n mod Length) of
/// Bits is set. Length 0 means a solid line. Phase carries the position over
/// from one segment of a polyline to the next.
struct TLinePattern {
    unsigned Bits = 0; ///< bit n set: pixel n of each repeat is drawn
    int Length = 0;    ///< pixels in one repeat, at most 32; 0 is solid
    int Phase = 0;     ///< where in the repeat the next pixel falls
};

/// A point with fractional coordinates, for polygon edges.
struct TPointF {
    double X = 0; ///< in pixels, growing to the right
    double Y = 0; ///< in pixels, growing downwards
};

/// The part of an ellipse a pie keeps: the wedge swept counter-clockwise from
/// the ray towards Start to the ray towards End, both relative to the centre
/// of the bounding box, with y growing downwards as on the screen. Equal
/// directions keep the whole ellipse.
struct TWedge {
    /// A point on the ray the wedge starts from, relative to the centre.
    ///@{
    double StartX = 0, StartY = 0;
    ///@}
    /// A point on the ray the wedge ends at, relative to the centre.
    ///@{
    double EndX = 0, EndY = 0;
    ///@}
};

/// The pixel kernels behind the canvas, in device coordinates; every call
/// writes only inside the clip rectangle it is given, which must lie inside
/// the surface.
namespace raster {

/// Applies Op to the pixels of R inside Clip.
void FillRect(const TPixelSurface& S, const TRect& Clip, const TRect& R, TPixelOp Op);
/// Applies Op to row Y from X0 up to, not including, X1.
void FillSpan(const TPixelSurface& S, const TRect& Clip, int Y, int X0, int X1, TPixelOp Op);

/// A one-pixel line from (X0, Y0) towards (X1, Y1); the end point is drawn
/// only when IncludeEnd is set. With a Pattern, only its set pixels are
/// drawn and its Phase moves on to where the line ends.
void Line(const TPixelSurface& S, const TRect& Clip, int X0, int Y0, int X1, int Y1, TPixelOp Op,
          bool IncludeEnd, TLinePattern* Pattern = nullptr);

/// A wide line: the band of Width pixels centred on the path, ends squared off.
/// With RoundEnds a slanted line ends in half discs instead, so that the
/// segments of a path join without notches at their bends; lines along an
/// axis keep square ends, exactly the thin line's pixels widened across.
void WideLine(const TPixelSurface& S, const TRect& Clip, int X0, int Y0, int X1, int Y1, int Width,
              TPixelOp Op, bool RoundEnds = false);

/// Fills the polygon of Count points (closed implicitly) with the alternate
/// (even-odd) rule or, when Winding is set, the non-zero rule. A pixel is
/// inside when its integer point is: left and top edges belong to the
/// polygon, right and bottom edges do not, as with rectangles.
void FillPolygon(const TPixelSurface& S, const TRect& Clip, const TPointF* Points, int Count,
                 TPixelOp Op, bool Winding = false);

/// An ellipse in the bounding box Box: the outline of PenWidth pixels inside
/// the box with Pen, the interior with Brush (either may be null to skip it).
/// With a wedge, only that pie slice is drawn and the two radii are outlined.
void Ellipse(const TPixelSurface& S, const TRect& Clip, const TRect& Box, int PenWidth,
             const TPixelOp* Pen, const TPixelOp* Brush, const TWedge* Wedge = nullptr);

/// The dotted inverting frame of a focus rectangle: every second pixel of the
/// one-pixel frame of R is inverted, so drawing it twice restores the pixels.
void FocusRect(const TPixelSurface& S, const TRect& Clip, const TRect& R);

/// How a block transfer combines the source pixel S with the destination D
/// (bit by bit on each colour component).
enum class TBlitOp {
    Copy,       ///< S
    Invert,     ///< S xor D
    And,        ///< S and D
    Paint,      ///< S or D
    NotCopy,    ///< not S
    Erase,      ///< S and not D
    NotErase,   ///< not (S or D)
    MergePaint, ///< not S or D
    MergeCopy,  ///< S and the Pattern colour
};
/// Transfers the pixels of Source in Src to Dst, Source's top-left landing
/// at DestX, DestY, combined by Op; only what lies inside Clip is written,
/// and Source is cut to Src. Overlapping transfers within one surface are
/// handled. Pattern is the colour TBlitOp::MergeCopy uses.
void Blit(const TPixelSurface& Dst, const TRect& Clip, int DestX, int DestY,
          const TPixelSurface& Src, const TRect& Source, TBlitOp Op, TPixel Pattern = 0);

/// Scales Source onto Dest (nearest pixel), combined by Op as Blit does;
/// both rectangles may be mirrored by giving them a negative width or height.
void StretchBlit(const TPixelSurface& Dst, const TRect& Clip, const TRect& Dest,
                 const TPixelSurface& Src, const TRect& Source, TBlitOp Op, TPixel Pattern = 0);

} // namespace raster

} // namespace folio
