#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TMainMenu;
class TMenuItem;
class TMenuWindow;

// The bar a form shows for its main menu, along the top of its client
// area: one entry per visible item of the menu. A click on an entry, or Alt
// with its accelerator, opens the entry's items below it (an entry without
// items is clicked at once); while one is open, moving the pointer over
// another entry or pressing Left and Right opens that one instead.
class TMenuBar : public TCustomControl {
    FOLIO_CLASS(TMenuBar)
public:
    explicit TMenuBar(TComponent* AOwner);
    ~TMenuBar() override;

    TMainMenu* GetMenu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);

    // Geometry: the entries left to right, in client coordinates.
    int BarHeight() const;
    TRect EntryRect(int Index) const;
    int EntryAtPos(TPoint P) const;
    // The index among the menu's items whose items are open, or -1.
    int GetOpenIndex() const { return FOpen; }
    TMenuWindow* GetWindow() const;
    // Opens the entry's items (an entry without items is clicked).
    void OpenEntry(int Index, bool Keyboard);

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    TMenuItem* Root() const;
    void SetHot(int Index);
    // The next visible entry from Index in Direction, wrapping round.
    int NeighbourEntry(int Index, int Direction) const;

    TMainMenu* FMenu = nullptr;
    std::unique_ptr<TMenuWindow> FWindow;
    int FOpen = -1;
    int FHot = -1;
};

} // namespace folio
