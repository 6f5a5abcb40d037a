#pragma once

#include "framework/gfx/Canvas.h"

namespace folio {

/// Edge kinds for DrawEdge: which of the outer and inner edge lines to draw,
/// each raised or sunken. An outer edge is raised in 3-D light and dark
/// shadow, sunken in shadow and highlight; an inner one raised in highlight
/// and shadow, sunken in dark shadow and 3-D light. EDGE_ETCHED gives a
/// grooved line, EDGE_BUMP a ridge.
enum : unsigned {
    BDR_RAISEDOUTER = 0x0001,
    BDR_SUNKENOUTER = 0x0002,
    BDR_RAISEDINNER = 0x0004,
    BDR_SUNKENINNER = 0x0008,
    BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER,
    BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER,
    BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER,
    EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER,
    EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER,
    EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER,
};

/// Sides and options for DrawEdge: BF_LEFT .. BF_BOTTOM and their unions
/// name the sides drawn.
enum : unsigned {
    BF_LEFT = 0x0001,
    BF_TOP = 0x0002,
    BF_RIGHT = 0x0004,
    BF_BOTTOM = 0x0008,
    BF_TOPLEFT = BF_TOP | BF_LEFT,
    BF_TOPRIGHT = BF_TOP | BF_RIGHT,
    BF_BOTTOMLEFT = BF_BOTTOM | BF_LEFT,
    BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT,
    BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM,
    BF_MIDDLE = 0x0800, ///< fill the interior with the button face (the window with BF_MONO)
    BF_SOFT = 0x1000,   ///< accepted; draws as without it
    BF_ADJUST = 0x2000, ///< shrink the rectangle by the edge drawn
    BF_FLAT = 0x4000,   ///< flat: shadow outer line, face inner line
    BF_MONO = 0x8000,   ///< one colour: window frame outer, window inner
};

/// Frame control kinds for DrawFrameControl; only DFC_SCROLL is drawn.
enum : unsigned {
    DFC_CAPTION = 1,
    DFC_MENU = 2,
    DFC_SCROLL = 3,
    DFC_BUTTON = 4,
};
/// Frame control states for DrawFrameControl: the arrow's direction (the two
/// low bits) and how the control is drawn. DFCS_CHECKED and DFCS_MONO are
/// accepted and change nothing.
enum : unsigned {
    DFCS_SCROLLUP = 0x0000,
    DFCS_SCROLLDOWN = 0x0001,
    DFCS_SCROLLLEFT = 0x0002,
    DFCS_SCROLLRIGHT = 0x0003,
    DFCS_INACTIVE = 0x0100, ///< greyed: an engraved arrow
    DFCS_PUSHED = 0x0200,   ///< pressed: a flat frame, the arrow moved by one pixel
    DFCS_CHECKED = 0x0400,
    DFCS_ADJUSTRECT = 0x2000, ///< shrink the rectangle by 2 on every side afterwards
    DFCS_FLAT = 0x4000,       ///< a one-pixel shadow frame instead of a raised border
    DFCS_MONO = 0x8000,
};

/// Draws one or two one-pixel 3-D edges just inside R on the sides Flags
/// names. Raised edges are light on the top and left and dark on the bottom
/// and right, sunken ones the other way round; the outer edge is drawn on
/// the rectangle's border and the inner one inside it. With BF_ADJUST, R
/// shrinks by the edges drawn. The pen and brush of DC are left alone.
/// Answers false, drawing nothing, for a null DC.
bool DrawEdge(HDC DC, TRect& R, unsigned Edge, unsigned Flags);

/// Draws a frame control in R. Only scroll-bar arrows are provided: a
/// button-face square with an arrow pointing up, down, left or right, a
/// raised border (or a one-pixel shadow frame with DFCS_FLAT), drawn pressed
/// (arrow moved by one pixel) with DFCS_PUSHED and greyed with DFCS_INACTIVE.
/// Other kinds, and a null DC, answer false and draw nothing.
bool DrawFrameControl(HDC DC, TRect& R, unsigned Type, unsigned State);

/// Draws Width nested one-pixel frames just inside Rect: TopColor on the top
/// and left, BottomColor on the bottom and right (which owns the top-right
/// and bottom-left corners), then shrinks Rect by Width on every side. The
/// canvas pen is left one pixel wide in BottomColor. A null Canvas does
/// nothing.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);

} // namespace folio
