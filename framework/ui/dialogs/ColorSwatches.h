#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <vector>

namespace folio {

/// A grid of colour cells of which one may be chosen: a click or the arrows
/// choose, OnChange tells of the user's choices (the program's fire nothing).
class TColorSwatches : public TCustomControl {
    FOLIO_CLASS(TColorSwatches)
public:
    /// An empty grid, 200 by 150 pixels in clBtnFace with 8 columns, taking the
    /// keyboard (TabStop).
    explicit TColorSwatches(TComponent* AOwner);

    /// The cells' colours, row by row; empty by default. A choice beyond the
    /// new colours is dropped.
    ///@{
    const std::vector<TColor>& GetColors() const { return FColors; }
    void SetColors(std::vector<TColor> Value);
    ///@}
    /// Cells per row; 8 by default, at least 1.
    ///@{
    int GetColumns() const { return FColumns; }
    void SetColumns(int Value);
    ///@}
    ///@{
    /// The chosen cell, from 0; -1 (the default) chooses nothing, as does a
    /// value outside the cells. The setter fires no event.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    ///@}
    /// The chosen colour, or clNone.
    TColor GetSelectedColor() const;
    /// Chooses the first cell of this colour, or none.
    void SelectColor(TColor Value);

    /// A cell's rectangle in client coordinates (the client area divided
    /// evenly); empty for an index outside the cells.
    TRect CellRect(int Index) const;
    /// The cell at a point, or -1.
    int CellAtPos(TPoint P) const;

    /// The arrow keys are the grid's own; focus shows on the whole grid.
    void Dispatch(TMessage& Message) override;

    /// Fired when the user chooses another cell (not by the setters).
    TNotifyEvent OnChange;

protected:
    /// Draws the cells, the chosen one framed (with the focus cue when
    /// focused).
    void Paint() override;
    /// A left press takes the focus and chooses the cell under it.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The arrows, Home and End choose a neighbouring, the first or the last
    /// cell; the first key with nothing chosen chooses the first cell.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;

private:
    void ChangeByUser(int Index);
    int Rows() const;

    std::vector<TColor> FColors;
    int FColumns = 8;
    int FItemIndex = -1;
};

} // namespace folio
