#pragma once

#include "framework/core/Types.h"

#include <vector>

namespace folio {
class TMainMenu;
class TMenuItem;
} // namespace folio

namespace designer {

using folio::String;

class TDesignerWindow;

// The designer window's main menu: File (New, Open, Save, Save as, Exit),
// Edit (Undo, Redo, then the commands on the selection), View (the grid,
// snapping and guides, the colour scheme), Component (the selected
// component's verbs, the tab order, the package) and Help. Each
// command is the one its tool button or key runs, and its state is worked
// out again whenever the menu opens or takes a key, so that only what can
// act is enabled. While a text box of the window has the keyboard, Cut,
// Copy, Paste and Delete act on its text.
class TDesignerMenu {
public:
    explicit TDesignerMenu(TDesignerWindow& Window);
    ~TDesignerMenu();
    TDesignerMenu(const TDesignerMenu&) = delete;
    TDesignerMenu& operator=(const TDesignerMenu&) = delete;

    folio::TMainMenu* Menu() const { return FMenu; }
    // The item a path of captions leads to ("Edit", "Align", "Align tops"),
    // or null.
    folio::TMenuItem* Find(const std::vector<String>& Path) const;
    // Brings every item's state up to date.
    void Update();

private:
    void Build();
    void FillEdit();
    void FillComponent();
    folio::TMenuItem* Entry(const String& Caption) const;

    TDesignerWindow& FWindow;
    folio::TMainMenu* FMenu = nullptr;
};

// Asks for a package library with the open dialog and loads it into the
// window's palette; a library that will not load is reported.
void ChoosePackage(TDesignerWindow& Window);

// The About box: what the designer is, in a modal message.
void ShowAbout();

} // namespace designer
