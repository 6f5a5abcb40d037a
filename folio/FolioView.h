#pragma once

// How the bar's parts look on a canvas: stateless functions that take
// everything they draw from their arguments. The named Paint methods of the
// groups and items work out the rectangles and the state from the model and
// the bar's public getters and call these, so each look can be tried on a
// bitmap without a bar.

#include "folio/Folio.h"

namespace folio {

// The bar's settings that painting uses, taken once per paint (TFolio::GetLook).
struct TFolioLook {
    bool Vertical = true;
    // A frame line, and the caption text's insets across and along the
    // caption, at the bar's resolution.
    int Line = 1;
    int CaptionInsetAcross = 3;
    int CaptionInsetAlong = 2;
    int ItemSpacing = 12;
    TColor FrameHighlight = clBtnFace;
    TColor FrameShadow = cl3DDkShadow;
    TColor InsertMark = clBlack;
    // The captions' font, and its copy turned a quarter for a horizontal
    // bar's standing captions.
    TFont* GroupsFont = nullptr;
    TFont* RotatedFont = nullptr;
    // DrawText flags of a caption and of an item's caption (large pictures
    // or small), with the bar's reading order.
    unsigned CaptionFormat = 0;
    unsigned LargeItemFormat = 0;
    unsigned SmallItemFormat = 0;
};

// A group's caption button, pressed, hovered or plain, with its text centred
// (a horizontal bar's written upwards with the rotated font).
void PaintGroupCaption(TCanvas* Canvas, const TRect& R, const String& Caption, TColor CaptionColor,
                       TFolGroupState State, const TFolioLook& Look);

// What a group paints behind its items.
struct TFolioBackground {
    TFolGroupBackgroungStyle Style = gbColor;
    TColor Color = clBtnShadow;
    TColor StartColor = clBtnShadow;
    TColor EndColor = clBtnShadow;
    const TBitmap* Bitmap = nullptr;
    bool FixedBitmap = true;
};
void PaintGroupBackground(TCanvas* Canvas, const TRect& R, const TFolioBackground& Background,
                          bool Vertical);

// A flat scroll button pointing back (up or left) or on (down or right).
void PaintScrollButton(TCanvas* Canvas, const TRect& R, bool Next, bool Pushed, bool Vertical);

// The insert mark in the gap before a slot: a line across the group's
// client area with a triangle at each end. At the first position (First)
// and after the last item (Last) only the half of each triangle that points
// into the group is drawn.
void PaintInsertMark(TCanvas* Canvas, const TRect& ClientRect, const TRect& Gap, bool First,
                     bool Last, const TFolioLook& Look);

// One item: its picture (Picture of Images, scaled into ImageRect when the
// list's pictures are of another size), its caption unless an editor lies
// over it, and for the hovered item a frame around the picture, sunken while
// it is pressed.
struct TFolioItemLook {
    TRect ImageRect;
    TRect TextRect;
    const TImageList* Images = nullptr;
    int Picture = -1;
    bool Scaled = false;
    bool Large = true;
    bool ShowCaption = true;
    bool Hovered = false;
    bool Pressed = false;
    // The gap between the picture and its frame.
    int FrameGap = 2;
};
void PaintItem(TCanvas* Canvas, const String& Caption, const TFolioItemLook& Item,
               const TFolioLook& Look);

// A sliding group's picture, painted before the slide, copied with its
// leading edge at Lead along the bar; only its first Shown pixels along the
// bar show.
void PaintSlidingGroup(TCanvas* Canvas, TBitmap* Picture, int Lead, int Shown, bool Vertical);

} // namespace folio
