#pragma once

#include "ComponentPalette.h"
#include "ComponentTree.h"
#include "DesignerMenu.h"
#include "FormDesigner.h"
#include "ObjectInspector.h"
#include "PackageLibrary.h"

#include "framework/ui/forms/Form.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"

#include <memory>
#include <vector>

namespace designer {

// The verbs of a component's editor in a popup menu at the pointer ("-"
// is a separator), then the commands on the selection (Cut, Copy, Paste,
// Delete, Bring to front, Send to back, Align): a click runs one, a press elsewhere closes it.
// Being a popup it never takes the keyboard from the form it was opened over.
class TVerbMenu {
public:
    explicit TVerbMenu(TFormDesigner& Designer);
    ~TVerbMenu();
    void Popup(TComponent* Component, TPoint ScreenPos);
    void Close();
    bool IsOpen() const;
    // The verbs the open menu shows, in order, and where each is on the
    // screen. After them comes the "View in scheme" choice.
    std::vector<String> Verbs() const;
    TRect VerbScreenRect(int Index) const;
    // Every line of the open menu (or of its open submenu): the verbs, the
    // commands on the selection, the scheme choice; whether line Index can
    // be chosen, and where it is on the screen.
    std::vector<String> Captions(bool Submenu = false) const;
    bool IsEnabled(int Index, bool Submenu = false) const;
    TRect ItemScreenRect(int Index, bool Submenu = false) const;

private:
    TFormDesigner& FDesigner;
    std::unique_ptr<folio::TPopupMenu> FMenu;
    int FVerbCount = 0;
};

// The designer's main window: its main menu, tool buttons (New, Open, Save,
// Save as, Undo, Redo), the palette, the tree of the form's components and
// the property inspector, beside the designed form,
// which is a window of its own. Its title names the form's file with the
// modified mark. Closing it, or New, Open or unloading the package, with
// unsaved changes asks whether to save them first.
class TDesignerWindow {
public:
    TDesignerWindow();
    ~TDesignerWindow();
    TDesignerWindow(const TDesignerWindow&) = delete;
    TDesignerWindow& operator=(const TDesignerWindow&) = delete;

    TFormDesigner& Designer() { return *FDesigner; }
    folio::TForm& Window() { return *FWindow; }
    TComponentPalette& Palette() { return *FPalette; }
    TObjectInspector& Inspector() { return *FInspector; }
    TComponentTree& Tree() { return *FTree; }
    // The box over the palette whose text narrows it; Escape clears it.
    folio::TEdit& PaletteFilter() { return *FFilter; }
    TVerbMenu& Verbs() { return *FVerbs; }
    TDesignerMenu& MainMenu() { return *FMainMenu; }
    folio::TButton& NewButton() { return *FNew; }
    folio::TButton& OpenButton() { return *FOpen; }
    folio::TButton& SaveButton() { return *FSave; }
    folio::TButton& SaveAsButton() { return *FSaveAs; }
    folio::TButton& UndoButton() { return *FUndo; }
    folio::TButton& RedoButton() { return *FRedo; }

    void Show();
    // The palette's pages changed (a package was loaded or unloaded).
    void PaletteChanged();
    // Loads the package library and shows its palette pages. Unloading
    // first starts a new form: nothing made from the package may outlive
    // it. Both answer false, doing nothing, when the user keeps unsaved
    // changes.
    bool LoadPackage(const String& FileName);
    bool UnloadPackage();
    const TPackageLibrary& Package() const { return *FPackage; }
    // How unsaved changes are answered before they would go: mrYes saves,
    // mrNo drops them, mrCancel keeps them (and the window open). It is
    // given the form's file name (without the modified mark). The default
    // asks with a modal dialog.
    std::function<folio::TModalResult(const String& Title)> OnAskSave;

    // The tool buttons' work. A new form is saved through the save dialog.
    void NewForm();
    void OpenForm();
    // False when the form stays unsaved (the dialog was cancelled).
    bool SaveForm();
    bool SaveFormAs();
    // The tool buttons' keys, in the designer's window and on the designed
    // form: Ctrl+N, Ctrl+O, Ctrl+S and Ctrl+Shift+S. False for other keys.
    bool CommandKey(unsigned short Key, folio::TShiftState Shift);

private:
    void UpdateTitle();
    // Whether the form's changes may go: none, saved, or dropped on purpose.
    bool MayDropChanges();

    // The package goes last: the forms made from it go before it.
    std::unique_ptr<TPackageLibrary> FPackage;
    std::unique_ptr<TFormDesigner> FDesigner;
    std::unique_ptr<folio::TForm> FWindow;
    TComponentPalette* FPalette = nullptr;
    TObjectInspector* FInspector = nullptr;
    TComponentTree* FTree = nullptr;
    folio::TEdit* FFilter = nullptr;
    folio::TButton* FNew = nullptr;
    folio::TButton* FOpen = nullptr;
    folio::TButton* FSave = nullptr;
    folio::TButton* FSaveAs = nullptr;
    folio::TButton* FUndo = nullptr;
    folio::TButton* FRedo = nullptr;
    std::unique_ptr<TVerbMenu> FVerbs;
    std::unique_ptr<TDesignerMenu> FMainMenu;
};

// Serves the designer's window until it is closed or the program is told
// to end: Step serves one round of the event loop and answers false once
// the application is terminated, as the window host's does after Ctrl+C or
// SIGTERM in the terminal.
void RunDesignerWindow(TDesignerWindow& Window, const std::function<bool()>& Step);

// Puts the framework's own components on the palette, each with its icon,
// on the pages a user looks for them on, registered under the designer's
// own name.
void RegisterStandardControls();

// Asks, in a modal dialog, whether to save the changes to the form file Name:
// its buttons YesButton, NoButton and CancelButton answer mrYes, mrNo and
// mrCancel.
folio::TModalResult AskSaveChanges(const String& Name);

// Tells the user, in a modal dialog, what went wrong (a file that cannot
// be read or written).
void ShowDesignerError(const String& Text);

// The file dialogs' filters: form files (text, then binary for saving).
extern const char* const OpenFormFilter;
extern const char* const SaveFormFilter;

} // namespace designer
