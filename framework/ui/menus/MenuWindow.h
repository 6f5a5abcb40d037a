#pragma once

#include "framework/ui/forms/PopupWindow.h"

namespace folio {

class TMenuItem;

/// The window a menu opens: the visible items of one menu item, one below
/// the other. The pointer and the keys move the highlight (separators are
/// passed over, disabled items show it but cannot be chosen); Right or a
/// pause over an item with items opens its submenu beside it, Left and
/// Escape close a submenu. Choosing an item closes every open menu and then
/// clicks the item.
class TMenuWindow : public TPopupWindow {
    FOLIO_CLASS(TMenuWindow)
public:
    /// A closed menu window in the menu colours.
    explicit TMenuWindow(TComponent* AOwner);
    /// Closes and frees its submenu.
    ~TMenuWindow() override;

    /// Opens the items of Item at screen point P (kept on the screen).
    void PopupItems(TMenuItem* Item, TPoint P);
    /// The item whose items the window shows; null before PopupItems.
    TMenuItem* GetMenuItem() const { return FItem; }
    /// The highlighted entry: an index among the item's items, or -1 (a
    /// value outside them counts as -1).
    ///@{
    int GetHotIndex() const { return FHot; }
    void SetHotIndex(int Value);
    ///@}
    /// Highlights the first entry that can be chosen (how a menu opened by
    /// a key starts).
    void HighlightFirst();
    /// The open submenu, or null.
    TMenuWindow* GetSubmenu() const;

    /// Geometry of the entries, in client coordinates: an entry's height
    /// (one text line and 6 pixels, less for a separator), its rectangle
    /// (empty when hidden or missing), the entry at a point (-1 for none),
    /// and the window's size for all its visible entries.
    ///@{
    int ItemHeight(const TMenuItem* Item) const;
    TRect ItemRect(int Index) const;
    int ItemAtPos(TPoint P) const;
    TSize MeasureSize() const;
    ///@}

    /// Tells the window of keys the menu bar that opened it passes on: Left
    /// and Right at the top level move to the neighbouring menu of the bar.
    std::function<void(int Direction)> OnLeaveSideways;

protected:
    /// Draws the entries: the highlighted one in the highlight colours, checks,
    /// shortcuts, submenu arrows and separators.
    void Paint() override;
    /// Highlights the entry under the pointer and opens its submenu, or closes
    /// the open one.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Letting go of the left or right button over an entry chooses it.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Up, Down, Home and End move the highlight; Right opens a submenu (or the
    /// bar's next menu), Left closes a submenu (or goes to the bar's previous
    /// menu); Enter and Space choose; Escape closes the window.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// An accelerator chooses its entry, or moves the highlight among several
    /// entries that share it.
    void KeyPress(char& Key) override;
    /// Closing forgets the highlight.
    void DoCloseUp(bool Cancelled) override;

private:
    bool Selectable(int Index) const;
    void MoveHot(int Step);
    /// Opens the hot item's submenu (Keyboard: with its first entry hot).
    void OpenSubmenu(bool Keyboard);
    void CloseSubmenu();
    /// Chooses the hot item: opens its submenu, or closes all menus and
    /// clicks it. Disabled items and separators are never chosen.
    void Choose(int Index);

    TMenuItem* FItem = nullptr;
    int FHot = -1;
    std::unique_ptr<TMenuWindow> FSubmenu;
};

} // namespace folio
