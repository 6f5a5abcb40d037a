#pragma once

#include "framework/core/Types.h"
#include "framework/gfx/Canvas.h"

namespace folio {

/// A 24-unit grid over a palette icon's square: an icon drawn in grid units
/// lands on whole pixels at 24 and at 48 pixels, so both sizes come out
/// crisp from one drawing. Lines grow one pixel wider for every 24 pixels
/// of the square.
struct TIconGrid {
    /// The canvas drawn on.
    TCanvas* C;
    /// The icon's square on the canvas, in pixels.
    TRect R;

    ///@{
    /// The pixel column or row of grid unit U (0 to 24 spans the square).
    int X(int U) const { return R.Left + U * R.Width() / 24; }
    int Y(int U) const { return R.Top + U * R.Height() / 24; }
    ///@}
    /// The pixel rectangle of grid units L, T to Rt, B.
    TRect Box(int L, int T, int Rt, int B) const { return Rect(X(L), Y(T), X(Rt), Y(B)); }

    /// Fills Area (pixels, as Box gives) with Color.
    void Fill(const TRect& Area, TColor Color) const;
    /// Outlines Area (pixels) one pixel wide in Color.
    void Frame(const TRect& Area, TColor Color) const;
    ///@{
    /// A 3-D edge around Area in pixels (DrawEdge's kinds and sides; all
    /// four sides when Flags is left out).
    void Edge(TRect Area, unsigned Kind, unsigned Flags) const;
    void Edge(TRect Area, unsigned Kind) const;
    ///@}
    /// A line from grid point (X1, Y1) to (X2, Y2) in Color.
    void Line(int X1, int Y1, int X2, int Y2, TColor Color) const;
    /// A window-coloured box with a sunken edge, as an edit box shows; the
    /// answer is its inside.
    TRect Field(int L, int T, int Rt, int B) const;
    /// Bold text Height units high, its top left corner at (L, T).
    void Text(int L, int T, const char* Text, TColor Color, int Height) const;
    /// A small filled triangle centred on (CX, CY), pointing down or up.
    void Arrow(int CX, int CY, bool Down, TColor Color) const;
};

} // namespace folio
