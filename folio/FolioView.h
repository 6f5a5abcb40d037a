#pragma once

// How the bar's parts look on a canvas: stateless functions that take
// everything they draw from their arguments. The named Paint methods of the
// groups and items work out the rectangles and the state from the model and
// the bar's public getters and call these, so each look can be tried on a
// bitmap without a bar.

#include "folio/Folio.h"

namespace folio {

/// The bar's settings that painting uses, taken once per paint (TFolio::GetLook).
struct TFolioLook {
    /// True for a bar whose captions stack top to bottom (baVertical).
    bool Vertical = true;
    ///@{
    /// A frame line's width, and the caption text's insets across and along
    /// the caption, in pixels at the bar's resolution.
    int Line = 1;
    int CaptionInsetAcross = 3;
    int CaptionInsetAlong = 2;
    ///@}
    /// The bar's ItemSpacing: pixels between items; the insert mark is drawn
    /// in the middle of that gap.
    int ItemSpacing = 12;
    ///@{
    /// The colours of an item's frame: the lit and the shaded sides of a
    /// raised frame, swapped for a sunken one.
    TColor FrameHighlight = clBtnFace;
    TColor FrameShadow = cl3DDkShadow;
    ///@}
    /// The colour of the insert mark shown while an item is dragged.
    TColor InsertMark = clBlack;
    ///@{
    /// The captions' font, and its copy turned a quarter for a horizontal
    /// bar's standing captions. Owned by the bar.
    TFont* GroupsFont = nullptr;
    TFont* RotatedFont = nullptr;
    ///@}
    ///@{
    /// DrawText flags of a caption and of an item's caption (large pictures
    /// or small), with the bar's reading order.
    unsigned CaptionFormat = 0;
    unsigned LargeItemFormat = 0;
    unsigned SmallItemFormat = 0;
    ///@}
};

/// A group's caption button, pressed, hovered or plain, with its text centred
/// (a horizontal bar's written upwards with the rotated font).
void PaintGroupCaption(TCanvas* Canvas, const TRect& R, const String& Caption, TColor CaptionColor,
                       TFolGroupState State, const TFolioLook& Look);

/// What a group paints behind its items.
struct TFolioBackground {
    /// Which of the fields below paint the face.
    TFolGroupBackgroungStyle Style = gbColor;
    /// The face's colour with gbColor; with gbBitmap, the colour shown when
    /// there is no picture.
    TColor Color = clBtnShadow;
    ///@{
    /// With gbGradient, the colours at the start and at the end of the
    /// gradient, which runs along the bar.
    TColor StartColor = clBtnShadow;
    TColor EndColor = clBtnShadow;
    ///@}
    /// With gbBitmap, the picture tiled over the face; null for none.
    const TBitmap* Bitmap = nullptr;
    /// True: the tiles are anchored at the canvas origin, so that they stay
    /// in place as the face moves; false: at the face's corner.
    bool FixedBitmap = true;
};
/// Paints Background over R: a colour, tiles of the picture (clipped to R)
/// or a gradient; Vertical says which way the bar runs.
void PaintGroupBackground(TCanvas* Canvas, const TRect& R, const TFolioBackground& Background,
                          bool Vertical);

/// A flat scroll button pointing back (up or left) or on (down or right).
void PaintScrollButton(TCanvas* Canvas, const TRect& R, bool Next, bool Pushed, bool Vertical);

/// The insert mark in the gap before a slot: a line across the group's
/// client area with a triangle at each end. At the first position (First)
/// and after the last item (Last) only the half of each triangle that points
/// into the group is drawn.
void PaintInsertMark(TCanvas* Canvas, const TRect& ClientRect, const TRect& Gap, bool First,
                     bool Last, const TFolioLook& Look);

/// One item: its picture (Picture of Images, scaled into ImageRect when the
/// list's pictures are of another size), its caption unless an editor lies
/// over it, and for the hovered item a frame around the picture, sunken while
/// it is pressed.
struct TFolioItemLook {
    /// Where the picture goes, on the canvas.
    TRect ImageRect;
    /// Where the caption goes, on the canvas.
    TRect TextRect;
    /// The group's image list; null draws no picture.
    const TImageList* Images = nullptr;
    /// The picture's index in Images (the one under the pointer for the
    /// hovered item); -1 draws none.
    int Picture = -1;
    /// True when the list's pictures are not ImageRect's size: they are
    /// drawn scaled into it.
    bool Scaled = false;
    /// True for a group with large pictures (caption below the picture),
    /// false for small ones (caption beside it).
    bool Large = true;
    /// False while the in-place editor lies over the caption.
    bool ShowCaption = true;
    /// True for the item under the pointer: its picture gets a frame.
    bool Hovered = false;
    /// True while the hovered item is pressed: its frame is sunken.
    bool Pressed = false;
    /// The gap between the picture and its frame.
    int FrameGap = 2;
};
/// Paints an item with caption Caption as Item describes, in the colours
/// and formats of Look.
void PaintItem(TCanvas* Canvas, const String& Caption, const TFolioItemLook& Item,
               const TFolioLook& Look);

/// A sliding group's picture, painted before the slide, copied with its
/// leading edge at Lead along the bar; only its first Shown pixels along the
/// bar show.
void PaintSlidingGroup(TCanvas* Canvas, TBitmap* Picture, int Lead, int Shown, bool Vertical);

} // namespace folio
