#pragma once

#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/controls/PressTracker.h"

#include <memory>

namespace folio {

class TBitmap;
class TImageList;

/// A button without a window of its own (it never takes the keyboard) with
/// a picture and a caption, for tool strips. With GroupIndex 0 it is a push
/// button: down while held, a click when let go over it. With a GroupIndex
/// it stays down: the speed buttons of one parent with the same GroupIndex
/// are a group of which at most one is down, and a click on a button that is
/// down lets it up only when AllowAllUp (a group of one with AllowAllUp is
/// an on-off button). A Flat button shows its edge only under the pointer or
/// while down. The Glyph's bottom-left pixel's colour is transparent; a
/// disabled button draws it embossed.
class TSpeedButton : public TGraphicControl {
    FOLIO_CLASS(TSpeedButton)
public:
    /// A push button 23 by 22 pixels in clBtnFace, with no glyph.
    explicit TSpeedButton(TComponent* AOwner);
    /// Frees its glyph.
    ~TSpeedButton() override;

    /// The button's group among the speed buttons of its parent; 0 (the
    /// default) makes it a push button that never stays down.
    ///@{
    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    ///@}
    /// Whether the button stays down; false by default. Setting it lets the
    /// group's other buttons up; a button of GroupIndex 0 cannot be down, and
    /// the last button down stays down unless AllowAllUp. No click is fired.
    ///@{
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    ///@}
    /// Whether every button of the group may be up; false by default. Setting
    /// it sets it for the whole group.
    ///@{
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    ///@}
    /// Whether the edge shows only under the pointer or while down; false by
    /// default.
    ///@{
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    ///@}
    /// The button owns its glyph; SetGlyph copies the given one.
    ///@{
    TBitmap* GetGlyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);
    ///@}

    /// Drawn sunken: down, or held with the pointer over it.
    bool IsSunken() const { return FDown || FPress.IsPressed(); }
    /// The pointer is over it (a flat button shows its edge).
    bool IsHot() const { return FHot; }

    /// A button of a group goes down (or up, with AllowAllUp, when it was
    /// down), then OnClick fires.
    void Click() override;
    /// A button read as Down lets the rest of its group up; one without a
    /// GroupIndex is let up.
    void Loaded() override;
    /// The pointer entering or leaving repaints a flat button; a cancelled mode
    /// lets a held button go without a click.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the face (lighter while it stays down), the edge, the glyph and
    /// the caption.
    void Paint() override;
    /// A left press holds the button (drawn sunken).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// A held button looks sunken only while the pointer is over it.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Letting go ends the hold; over the button it is a click.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void GlyphChanged();
    /// Lets up the other buttons of the group, and tells them AllowAllUp.
    void UpdateGroup(bool ShareAllowAllUp);

    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    TPressTracker FPress;
    bool FHot = false;
    std::unique_ptr<TBitmap> FGlyph;
    /// The glyph with its transparency, as it is drawn.
    std::unique_ptr<TImageList> FGlyphImage;
};

} // namespace folio
