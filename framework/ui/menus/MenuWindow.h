#pragma once

#include "framework/ui/forms/PopupWindow.h"

namespace folio {

class TMenuItem;

// The window a menu opens: the visible items of one menu item, one below
// the other. The pointer and the keys move the highlight (separators are
// passed over, disabled items show it but cannot be chosen); Right or a
// pause over an item with items opens its submenu beside it, Left and
// Escape close a submenu. Choosing an item closes every open menu and then
// clicks the item.
class TMenuWindow : public TPopupWindow {
    FOLIO_CLASS(TMenuWindow)
public:
    explicit TMenuWindow(TComponent* AOwner);
    ~TMenuWindow() override;

    // Opens the items of Item at screen point P (kept on the screen).
    void PopupItems(TMenuItem* Item, TPoint P);
    TMenuItem* GetMenuItem() const { return FItem; }
    // The highlighted entry: an index among the item's items, or -1.
    int GetHotIndex() const { return FHot; }
    void SetHotIndex(int Value);
    // Highlights the first entry that can be chosen (how a menu opened by
    // a key starts).
    void HighlightFirst();
    // The open submenu, or null.
    TMenuWindow* GetSubmenu() const;

    // Geometry of the entries, in client coordinates.
    int ItemHeight(const TMenuItem* Item) const;
    TRect ItemRect(int Index) const;
    int ItemAtPos(TPoint P) const;
    TSize MeasureSize() const;

    // Tells the window of keys the menu bar that opened it passes on: Left
    // and Right at the top level move to the neighbouring menu of the bar.
    std::function<void(int Direction)> OnLeaveSideways;

protected:
    void Paint() override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void DoCloseUp(bool Cancelled) override;

private:
    bool Selectable(int Index) const;
    void MoveHot(int Step);
    // Opens the hot item's submenu (Keyboard: with its first entry hot).
    void OpenSubmenu(bool Keyboard);
    void CloseSubmenu();
    // Chooses the hot item: opens its submenu, or closes all menus and
    // clicks it. Disabled items and separators are never chosen.
    void Choose(int Index);

    TMenuItem* FItem = nullptr;
    int FHot = -1;
    std::unique_ptr<TMenuWindow> FSubmenu;
};

} // namespace folio
