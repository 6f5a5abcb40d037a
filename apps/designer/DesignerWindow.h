#pragma once

#include "ComponentPalette.h"
#include "FormDesigner.h"
#include "ObjectInspector.h"
#include "PackageLibrary.h"

#include "framework/ui/Button.h"
#include "framework/ui/Form.h"

#include <memory>

namespace designer {

// The verbs of a component's editor on a small frameless form at the
// pointer: a click runs one, a press elsewhere closes it.
class TVerbMenu {
public:
    explicit TVerbMenu(TFormDesigner& Designer);
    ~TVerbMenu();
    void Popup(TComponent* Component, TPoint ScreenPos);
    void Close();
    bool IsOpen() const { return FForm->GetVisible(); }
    folio::TForm* GetForm() const { return FForm.get(); }
    TValueList* GetList() const { return FList; }

private:
    TFormDesigner& FDesigner;
    std::unique_ptr<folio::TForm> FForm;
    TValueList* FList = nullptr;
};

// The designer's main window: tool buttons (New, Save, Undo), the palette
// and the property inspector, beside the designed form, which is a window
// of its own. Its title names the form's file with the modified mark.
// Closing it with unsaved changes asks whether to save them.
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
    TVerbMenu& Verbs() { return *FVerbs; }
    folio::TButton& NewButton() { return *FNew; }
    folio::TButton& SaveButton() { return *FSave; }
    folio::TButton& UndoButton() { return *FUndo; }

    void Show();
    // The palette's pages changed (a package was loaded or unloaded).
    void PaletteChanged();
    // Loads the package library and shows its palette pages. Unloading
    // first starts a new form: nothing made from the package may outlive it.
    void LoadPackage(const String& FileName);
    void UnloadPackage();
    const TPackageLibrary& Package() const { return *FPackage; }
    // How a close with unsaved changes is answered: mrYes saves, mrNo
    // drops them, mrCancel keeps the window open. The default asks with a
    // modal dialog.
    std::function<folio::TModalResult(const String& Title)> OnAskSave;

private:
    void UpdateTitle();
    void SaveForm();

    // The package goes last: the forms made from it go before it.
    std::unique_ptr<TPackageLibrary> FPackage;
    std::unique_ptr<TFormDesigner> FDesigner;
    std::unique_ptr<folio::TForm> FWindow;
    TComponentPalette* FPalette = nullptr;
    TObjectInspector* FInspector = nullptr;
    folio::TButton* FNew = nullptr;
    folio::TButton* FSave = nullptr;
    folio::TButton* FUndo = nullptr;
    std::unique_ptr<TVerbMenu> FVerbs;
};

// Puts the framework's standard controls on the palette page "Standard",
// registered under the designer's own name.
void RegisterStandardControls();

// Asks, in a modal dialog, whether to save the changes to the form Title.
folio::TModalResult AskSaveChanges(const String& Title);

} // namespace designer
