#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TMainMenu;
class TMenuItem;
class TMenuWindow;

/// The bar a form shows for its main menu, along the top of its client
/// area: one entry per visible item of the menu. A click on an entry, or Alt
/// with its accelerator, opens the entry's items below it (an entry without
/// items is clicked at once); while one is open, moving the pointer over
/// another entry or pressing Left and Right opens that one instead.
class TMenuBar : public TCustomControl {
    FOLIO_CLASS(TMenuBar)
public:
    /// An empty bar in clMenu, one text line (plus 6 pixels) high.
    explicit TMenuBar(TComponent* AOwner);
    /// Closes any open entry and lets go of the menu.
    ~TMenuBar() override;

    /// The menu the bar shows; null (the default) shows no entries. Setting it
    /// closes an open entry; a menu that is freed leaves the bar.
    ///@{
    TMainMenu* GetMenu() const { return FMenu; }
    void SetMenu(TMainMenu* Value);
    ///@}

    /// Geometry: the bar's height for its font, an entry's rectangle (empty
    /// for a hidden or missing entry) and the entry at a point (-1 for
    /// none), left to right in client coordinates.
    ///@{
    int BarHeight() const;
    TRect EntryRect(int Index) const;
    int EntryAtPos(TPoint P) const;
    ///@}
    /// The index among the menu's items whose items are open, or -1.
    int GetOpenIndex() const { return FOpen; }
    /// The window showing the open entry's items, or null.
    TMenuWindow* GetWindow() const;
    /// Opens the entry's items (an entry without items is clicked), after
    /// the menu's OnUpdate; a hidden or disabled entry does not open.
    /// Keyboard selects the first item, as Alt with the accelerator does.
    void OpenEntry(int Index, bool Keyboard);

    /// A menu being freed leaves the bar.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// Alt with an entry's accelerator opens it.
    void Dispatch(TMessage& Message) override;

protected:
    /// Draws the entries: the open one sunken, the one under the pointer
    /// raised, disabled ones greyed.
    void Paint() override;
    /// A left press opens the entry under it.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Raises the entry under the pointer; while an entry is open, opens the
    /// one under the pointer instead.
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    TMenuItem* Root() const;
    void SetHot(int Index);
    /// Tells a screen reader that entry Index opened or closed.
    void TellOpen(int Index);
    /// The next visible entry from Index in Direction, wrapping round.
    int NeighbourEntry(int Index, int Direction) const;

    TMainMenu* FMenu = nullptr;
    std::unique_ptr<TMenuWindow> FWindow;
    int FOpen = -1;
    int FHot = -1;
};

} // namespace folio
