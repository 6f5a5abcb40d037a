#pragma once

#include "framework/gfx/Canvas.h"

namespace folio {

// Paint helpers the standard controls share. They read nothing but their
// arguments, so a test can draw them on a bitmap.

/// Draws a caption with DrawText: in the canvas font's colour when Enabled,
/// otherwise greyed and embossed (a highlight copy one pixel down and right
/// under a shadow copy), as the platform draws a disabled control's text.
/// The brush is left clear; the font colour is put back.
void DrawCaption(TCanvas* Canvas, const String& Text, TRect R, unsigned Flags, bool Enabled);

/// The states of a push button's face.
struct TButtonLook {
    /// Held down: the face sinks.
    bool Pressed = false; // held down with the mouse or the space bar
    /// The button Enter presses: a dark frame around it.
    bool Default = false; // the button Enter presses: a dark frame around it
    /// A dotted focus rectangle inside.
    bool Focused = false; // a dotted focus rectangle inside
};

/// Paints a push button's frame and face in R and answers the rectangle its
/// caption goes in (moved down and right by one pixel while pressed).
TRect DrawButtonFace(TCanvas* Canvas, const TRect& R, const TButtonLook& Look);

/// Paints a tab of a tab control in R: the face filled, a raised edge on its
/// left, top and right with the top corners cut, and no line along its foot.
/// The selected tab's rectangle reaches over the display area's top edge, so
/// painted last it opens into the page.
void DrawTab(TCanvas* Canvas, const TRect& R);

/// The look of the mark of a check box or radio button.
struct TMarkLook {
    /// The mark shows its tick or dot.
    bool Checked = false;
    ///@{
    /// Grayed: the third state of a check box, neither on nor off. Pressed:
    /// held down, the box shows the face colour.
    bool Grayed = false;  // the third state of a check box: neither on nor off
    bool Pressed = false; // held down: the box shows the face colour
    ///@}
    /// False draws the mark greyed.
    bool Enabled = true;
};

/// Paints a check box's square in Box: a sunken edge around a window-coloured
/// square (face-coloured while pressed, disabled or grayed) with a tick when
/// checked or grayed, in the text colour or grey.
void DrawCheckMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look);

/// Paints a radio button's circle in Box: a shadow ring around a
/// window-coloured disc with a dot in the middle when checked.
void DrawRadioMark(TCanvas* Canvas, const TRect& Box, const TMarkLook& Look);

/// Paints an etched or bumped line or frame: a shadow line beside a highlight
/// one. Lowered (etched) puts the shadow first, raised the highlight.
void DrawEtchedLine(TCanvas* Canvas, TPoint From, TPoint To, bool Lowered);

} // namespace folio
