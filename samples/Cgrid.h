#pragma once

#include "framework/gfx/Colors.h"
#include "framework/ui/controls/CustomControl.h"

#include <array>

namespace folio {

/// The shape of a colour grid, columns x rows; always 16 squares.
enum class TGridOrdering { go16x1, go8x2, go4x4, go2x8, go1x16 };
using enum TGridOrdering;

/// A picker for a foreground and a background colour among the 16 standard
/// colours of the default palette, shown as a grid of squares. The chosen
/// squares carry a mark ("FG", "BG", or "FB" when one square is both). The
/// left mouse button picks the foreground, any other button the background;
/// the keyboard moves a cursor square and picks with F and B.
class TCColorGrid : public TCustomControl {
    FOLIO_CLASS(TCColorGrid)
public:
    /// A 4 by 4 grid with both marks on square 0, owned by AOwner.
    explicit TCColorGrid(TComponent* AOwner);
    ~TCColorGrid() override;

    ///@{
    /// When true, picking a colour for a disabled side enables that side;
    /// false by default.
    bool GetClickEnablesColor() const { return FClickEnablesColor; }
    void SetClickEnablesColor(bool Value) { FClickEnablesColor = Value; }
    ///@}
    ///@{
    /// The square of the foreground colour; 0 by default. The value is not
    /// checked: a square outside 0 to 15 simply shows no mark. While the
    /// side is disabled a new value is ignored; a change repaints the marks
    /// and fires OnChange.
    int GetForegroundIndex() const { return FForegroundIndex; }
    void SetForegroundIndex(int Value);
    ///@}
    ///@{
    /// The square of the background colour, as ForegroundIndex.
    int GetBackgroundIndex() const { return FBackgroundIndex; }
    void SetBackgroundIndex(int Value);
    ///@}
    ///@{
    /// Whether the foreground side shows its mark and takes new indexes;
    /// true by default.
    bool GetForegroundEnabled() const { return FForegroundEnabled; }
    void EnableForeground(bool Value);
    ///@}
    ///@{
    /// Whether the background side shows its mark and takes new indexes;
    /// true by default.
    bool GetBackgroundEnabled() const { return FBackgroundEnabled; }
    void EnableBackground(bool Value);
    ///@}
    ///@{
    /// The keyboard cursor's square; 0 by default.
    int GetSelection() const { return FSelection; }
    void SetSelection(int Value);
    ///@}
    ///@{
    /// How the 16 squares are laid out: go16x1, go8x2, go4x4 (the default),
    /// go2x8 or go1x16 columns by rows. A change lays the grid out again.
    TGridOrdering GetGridOrdering() const { return FGridOrdering; }
    void SetGridOrdering(TGridOrdering Value);
    ///@}

    ///@{
    /// The colours of the chosen squares, whether or not the side is enabled;
    /// clNone for an index outside 0 to 15.
    TColor GetForegroundColor() const { return SquareColor(FForegroundIndex); }
    TColor GetBackgroundColor() const { return SquareColor(FBackgroundIndex); }
    ///@}

    /// The square under a client point (clamped to the control).
    int SquareFromPos(int X, int Y) const;
    /// The client rectangle of square Index.
    TRect SquareRect(int Index) const;
    ///@{
    /// A square's size in pixels and the grid's columns and rows.
    int GetCellWidth() const { return FCellWidth; }
    int GetCellHeight() const { return FCellHeight; }
    int GetColumns() const { return FColumns; }
    int GetRows() const { return FRows; }
    ///@}
    /// The plain RGB colour of square Index; clNone outside 0 to 15.
    TColor SquareColor(int Index) const;
    /// The colour square Index's mark is drawn in: each component 0 where the
    /// square's is 128 or more, 255 where it is less.
    TColor MarkColor(int Index) const;

    /// @cond internal
    void Dispatch(TMessage& Message) override;
    /// @endcond

    /// Fired when the foreground or background square changes, by the user
    /// or the program.
    TNotifyEvent OnChange;

    /// @cond internal
protected:
    void CreateWnd() override;
    void Paint() override;
    virtual void Change();
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void CMCtl3DChanged(TMessage& Message) override;

    void DrawSquare(int Index, bool Highlight);
    void DrawFgBg();
    // Shrinks the control to whole squares and derives the square size.
    void UpdateCellSizes(bool Repaint);
    /// @endcond

private:
    void WMSize(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMGetDlgCode(TMessage& Message);
    /// The picking sequence shared by the mouse and the keyboard.
    void PickForeground(int Square);
    void PickBackground(int Square);
    void DrawMark(int Index, const char* Text);
    bool IsHighlighted(int Index) const { return Index == FSelection && FFocused; }

    std::array<TPaletteEntry, DefaultPaletteSize> FPalette{};
    bool FClickEnablesColor = false;
    int FForegroundIndex = 0;
    int FBackgroundIndex = 0;
    bool FForegroundEnabled = true;
    bool FBackgroundEnabled = true;
    int FSelection = 0;
    int FCellWidth = 0;
    int FCellHeight = 0;
    int FColumns = 4;
    int FRows = 4;
    TGridOrdering FGridOrdering = go4x4;
    bool FFocused = false;
    TMouseButton FDragButton = mbLeft;
    bool FDragging = false;
};

namespace Cgrid {
/// Puts the colour grid on the sample controls' palette page.
void Register();
} // namespace Cgrid

} // namespace folio
