#pragma once

#include "framework/gfx/Canvas.h"

namespace folio {

// Paint helpers the standard controls share. They read nothing but their
// arguments, so a test can draw them on a bitmap.

// Draws a caption with DrawText: in the canvas font's colour when Enabled,
// otherwise greyed and embossed (a highlight copy one pixel down and right
// under a shadow copy), as the platform draws a disabled control's text.
// The brush is left clear; the font colour is put back.
void DrawCaption(TCanvas* Canvas, const String& Text, TRect R, unsigned Flags, bool Enabled);

// The states of a push button's face.
struct TButtonLook {
    bool Pressed = false; // held down with the mouse or the space bar
    bool Default = false; // the button Enter presses: a dark frame around it
    bool Focused = false; // a dotted focus rectangle inside
};

// Paints a push button's frame and face in R and answers the rectangle its
// caption goes in (moved down and right by one pixel while pressed).
TRect DrawButtonFace(TCanvas* Canvas, const TRect& R, const TButtonLook& Look);

// Paints a tab of a tab control in R: the face filled, a raised edge on its
// left, top and right with the top corners cut, and no line along its foot.
// The selected tab's rectangle reaches over the display area's top edge, so
// painted last it opens into the page.
void DrawTab(TCanvas* Canvas, const TRect& R);

} // namespace folio
