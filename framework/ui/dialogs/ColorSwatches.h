#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <vector>

namespace folio {

// A grid of colour cells of which one may be chosen: a click or the arrows
// choose, OnChange tells of the user's choices (the program's fire nothing).
class TColorSwatches : public TCustomControl {
    FOLIO_CLASS(TColorSwatches)
public:
    explicit TColorSwatches(TComponent* AOwner);

    const std::vector<TColor>& GetColors() const { return FColors; }
    void SetColors(std::vector<TColor> Value);
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    // -1 chooses nothing.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The chosen colour, or clNone.
    TColor GetSelectedColor() const;
    // Chooses the first cell of this colour, or none.
    void SelectColor(TColor Value);

    // Geometry, in client coordinates.
    TRect CellRect(int Index) const;
    int CellAtPos(TPoint P) const;

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    void ChangeByUser(int Index);
    int Rows() const;

    std::vector<TColor> FColors;
    int FColumns = 8;
    int FItemIndex = -1;
};

} // namespace folio
