#pragma once

#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/controls/PressTracker.h"

#include <memory>

namespace folio {

class TBitmap;
class TImageList;

// A button without a window of its own (it never takes the keyboard) with
// a picture and a caption, for tool strips. With GroupIndex 0 it is a push
// button: down while held, a click when let go over it. With a GroupIndex
// it stays down: the speed buttons of one parent with the same GroupIndex
// are a group of which at most one is down, and a click on a button that is
// down lets it up only when AllowAllUp (a group of one with AllowAllUp is
// an on-off button). A Flat button shows its edge only under the pointer or
// while down. The Glyph's bottom-left pixel's colour is transparent; a
// disabled button draws it embossed.
class TSpeedButton : public TGraphicControl {
    FOLIO_CLASS(TSpeedButton)
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;

    int GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int Value);
    bool GetDown() const { return FDown; }
    void SetDown(bool Value);
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool Value);
    bool GetFlat() const { return FFlat; }
    void SetFlat(bool Value);
    // The button owns its glyph; SetGlyph copies the given one.
    TBitmap* GetGlyph() const { return FGlyph.get(); }
    void SetGlyph(TBitmap* Value);

    // Drawn sunken: down, or held with the pointer over it.
    bool IsSunken() const { return FDown || FPress.IsPressed(); }
    // The pointer is over it (a flat button shows its edge).
    bool IsHot() const { return FHot; }

    void Click() override;
    void Loaded() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void GlyphChanged();
    // Lets up the other buttons of the group, and tells them AllowAllUp.
    void UpdateGroup(bool ShareAllowAllUp);

    int FGroupIndex = 0;
    bool FDown = false;
    bool FAllowAllUp = false;
    bool FFlat = false;
    TPressTracker FPress;
    bool FHot = false;
    std::unique_ptr<TBitmap> FGlyph;
    // The glyph with its transparency, as it is drawn.
    std::unique_ptr<TImageList> FGlyphImage;
};

} // namespace folio
