#include "DesignerWindow.h"

#include "DesignCommands.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/Exceptions.h"
#include "framework/design/DesignRegistry.h"
#include "framework/design/StdComponents.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/dialogs/FileDialog.h"
#include "framework/ui/dialogs/MessageDialog.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MenuBar.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"

namespace designer {

using namespace folio;

namespace {

constexpr int WindowWidth = 290;
constexpr int WindowHeight = 748;
constexpr int TreeHeight = 132;

// The tool buttons stand in a row, each as wide as its caption needs.
TButton* ToolButton(TForm& Owner, const String& Name, const String& Caption, int& Left, int Top,
                    int Width) {
    auto* B = new TButton(&Owner);
    B->SetName(Name);
    B->SetCaption(Caption);
    B->SetBounds(Left, Top + 4, Width, 24);
    B->SetParent(&Owner);
    Left += Width + 2;
    return B;
}

} // namespace

// --- the verb menu ------------------------------------------------------------------------

TVerbMenu::TVerbMenu(TFormDesigner& Designer)
    : FDesigner(Designer), FMenu(std::make_unique<TPopupMenu>(nullptr)) {}

TVerbMenu::~TVerbMenu() = default;

void TVerbMenu::Popup(TComponent* Component, TPoint ScreenPos) {
    auto Editor = FDesigner.GetComponentEditor(Component);
    TMenuItem* Items = FMenu->GetItems();
    Items->Clear();
    FVerbCount = Editor->GetVerbCount();
    for (int I = 0; I < FVerbCount; ++I) {
        auto* Item = new TMenuItem(FMenu.get());
        const String Verb = Editor->GetVerb(I);
        Item->SetCaption(Verb);
        Item->OnClick = [this, Verb](TObject*) { FDesigner.ExecuteVerb(Verb); };
        Items->Add(Item);
    }
    auto Line = [&] {
        auto* Item = new TMenuItem(FMenu.get());
        Item->SetCaption("-");
        Items->Add(Item);
    };
    if (FVerbCount > 0) Line();
    AddSelectionCommands(Items, FMenu.get(), FDesigner);
    Line();
    // The designed form as a user of each scheme will see it; the choice
    // holds for the designer's own window too, since both show on one screen.
    auto* View = new TMenuItem(FMenu.get());
    View->SetCaption("View in scheme");
    Items->Add(View);
    AddSchemeChoices(View, FMenu.get());
    FMenu->Popup(ScreenPos.X, ScreenPos.Y);
}

void TVerbMenu::Close() {
    if (TMenuWindow* Window = FMenu->GetWindow()) Window->CloseUp(true);
}

bool TVerbMenu::IsOpen() const {
    return FMenu->GetWindow() != nullptr;
}

std::vector<String> TVerbMenu::Verbs() const {
    std::vector<String> Verbs;
    TMenuItem* Items = FMenu->GetItems();
    for (int I = 0; I < Items->Count() && I < FVerbCount; ++I)
        Verbs.push_back(Items->GetItem(I)->GetCaption());
    return Verbs;
}

std::vector<String> TVerbMenu::Captions(bool Submenu) const {
    std::vector<String> Captions;
    TMenuWindow* Window = FMenu->GetWindow();
    if (Window && Submenu) Window = Window->GetSubmenu();
    if (!Window) return Captions;
    TMenuItem* Items = Window->GetMenuItem();
    for (int I = 0; I < Items->Count(); ++I) Captions.push_back(Items->GetItem(I)->GetCaption());
    return Captions;
}

bool TVerbMenu::IsEnabled(int Index, bool Submenu) const {
    TMenuWindow* Window = FMenu->GetWindow();
    if (Window && Submenu) Window = Window->GetSubmenu();
    return Window && Window->GetMenuItem()->GetItem(Index)->GetEnabled();
}

TRect TVerbMenu::ItemScreenRect(int Index, bool Submenu) const {
    TMenuWindow* Window = FMenu->GetWindow();
    if (Window && Submenu) Window = Window->GetSubmenu();
    if (!Window) return TRect();
    const TRect R = Window->ItemRect(Index);
    const TPoint TopLeft = Window->ClientToScreen(Point(R.Left, R.Top));
    return Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height());
}

TRect TVerbMenu::VerbScreenRect(int Index) const {
    TMenuWindow* Window = FMenu->GetWindow();
    if (!Window) return TRect();
    const TRect R = Window->ItemRect(Index);
    const TPoint TopLeft = Window->ClientToScreen(Point(R.Left, R.Top));
    return Bounds(TopLeft.X, TopLeft.Y, R.Width(), R.Height());
}

// --- the window ----------------------------------------------------------------------------

TDesignerWindow::TDesignerWindow()
    : FPackage(std::make_unique<TPackageLibrary>()), FDesigner(std::make_unique<TFormDesigner>()),
      FWindow(std::make_unique<TForm>(nullptr)) {
    FWindow->SetBounds(0, 0, WindowWidth, WindowHeight);
    FMainMenu = std::make_unique<TDesignerMenu>(*this);
    FWindow->SetMenu(FMainMenu->Menu());
    // The menu's bar takes the top of the client area; the rest stands below it.
    const int Below = FWindow->GetMenuBar()->GetHeight();
    int Left = 4;
    FNew = ToolButton(*FWindow, "NewButton", "New", Left, Below, 40);
    FOpen = ToolButton(*FWindow, "OpenButton", "Open...", Left, Below, 52);
    FSave = ToolButton(*FWindow, "SaveButton", "Save", Left, Below, 40);
    FSaveAs = ToolButton(*FWindow, "SaveAsButton", "Save as...", Left, Below, 62);
    FUndo = ToolButton(*FWindow, "UndoButton", "Undo", Left, Below, 40);
    FRedo = ToolButton(*FWindow, "RedoButton", "Redo", Left, Below, 40);
    FPalette = new TComponentPalette(FWindow.get());
    FPalette->SetBounds(0, Below + 32, WindowWidth, FPalette->GetHeight());
    FPalette->SetParent(FWindow.get());
    FTree = new TComponentTree(FWindow.get());
    FTree->SetName("ComponentTree");
    FFilter = new TEdit(FWindow.get());
    FFilter->SetName("PaletteFilter");
    // What the box is for, as its tooltip and as its name to a screen reader.
    FFilter->SetHint("Filter the palette by class name");
    FFilter->SetBounds(4, FPalette->GetTop() + FPalette->GetHeight() + 2, WindowWidth - 8, 21);
    FFilter->SetParent(FWindow.get());
    FFilter->OnChange = [this](TObject*) { FPalette->SetFilter(FFilter->GetText()); };
    FFilter->OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState) {
        if (Key != VK_ESCAPE) return;
        FFilter->SetText(String());
        Key = 0;
    };
    FTree->SetBounds(0, FFilter->GetTop() + FFilter->GetHeight() + 4, WindowWidth, TreeHeight);
    FTree->SetAnchors({akLeft, akTop, akRight});
    FTree->SetParent(FWindow.get());
    FInspector = new TObjectInspector(FWindow.get());
    const int Top = FTree->GetTop() + FTree->GetHeight() + 4;
    FInspector->SetBounds(0, Top, WindowWidth, WindowHeight - Top);
    FInspector->SetAnchors({akLeft, akTop, akRight, akBottom});
    FInspector->SetParent(FWindow.get());
    FVerbs = std::make_unique<TVerbMenu>(*FDesigner);

    FNew->OnClick = [this](TObject*) { NewForm(); };
    FOpen->OnClick = [this](TObject*) { OpenForm(); };
    FSave->OnClick = [this](TObject*) { SaveForm(); };
    FSaveAs->OnClick = [this](TObject*) { SaveFormAs(); };
    FUndo->OnClick = [this](TObject*) { FDesigner->Undo(); };
    FRedo->OnClick = [this](TObject*) { FDesigner->Redo(); };
    FPalette->OnChoose = [this](const TClassInfo* Class) { FDesigner->SetPaletteClass(Class); };
    // The tree reads the form again at every selection too: a new form, an
    // undo or a paste shows its selection before it tells of the change.
    FDesigner->OnSelectionChanged = [this] {
        FInspector->Rebuild();
        FTree->Rebuild();
    };
    FDesigner->OnChanged = [this] {
        FInspector->Rebuild();
        FTree->Rebuild();
        // A drop takes the palette's choice.
        if (!FDesigner->GetPaletteClass()) FPalette->SetChosen(nullptr);
    };
    FDesigner->OnTitleChanged = [this] { UpdateTitle(); };
    FDesigner->OnSelectionMoved = [this] { FInspector->RefreshValues(); };
    FDesigner->OnError = [](const String& Message) { ShowDesignerError(Message); };
    FDesigner->OnContextMenu = [this](TComponent* Component, TPoint ScreenPos) {
        FVerbs->Popup(Component, ScreenPos);
    };
    FWindow->OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = MayDropChanges(); };
    // The keys of the tool buttons and the commands are the main menu's
    // shortcuts in this window; on the designed form the designer hears them.
    FDesigner->OnCommandKey = [this](unsigned short Key, TShiftState Shift) {
        return CommandKey(Key, Shift);
    };
    // Ctrl+Shift+Z redoes in this window as it does on the designed form;
    // the menu's Redo line holds the other key, Ctrl+Y.
    FWindow->SetKeyPreview(true);
    FWindow->OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState Shift) {
        if (Key != 'Z' || !Shift.Contains(ssCtrl) || !Shift.Contains(ssShift) ||
            Shift.Contains(ssAlt))
            return;
        FDesigner->Redo();
        Key = 0;
    };
    FInspector->SetDesigner(FDesigner.get());
    FTree->SetDesigner(FDesigner.get());
    FPalette->Reload();
    UpdateTitle();
}

TDesignerWindow::~TDesignerWindow() {
    FVerbs.reset();
    FWindow->SetMenu(nullptr);
    FDesigner->OnSelectionChanged = nullptr;
    FDesigner->OnChanged = nullptr;
    FDesigner->OnTitleChanged = nullptr;
    FDesigner->OnSelectionMoved = nullptr;
    FDesigner->OnError = nullptr;
    FDesigner->OnContextMenu = nullptr;
    FDesigner->OnCommandKey = nullptr;
    FInspector->SetDesigner(nullptr);
    FTree->SetDesigner(nullptr);
}

void TDesignerWindow::Show() {
    FWindow->Show();
    FDesigner->GetForm()->Show();
}

void TDesignerWindow::PaletteChanged() {
    FPalette->Reload();
}

bool TDesignerWindow::LoadPackage(const String& FileName) {
    if (FPackage->IsLoaded() && !UnloadPackage()) return false;
    FPackage->Load(FileName);
    PaletteChanged();
    return true;
}

bool TDesignerWindow::UnloadPackage() {
    if (!FPackage->IsLoaded()) return true;
    if (!MayDropChanges()) return false;
    FVerbs->Close();
    FDesigner->SetPaletteClass(nullptr);
    FDesigner->NewForm();
    FPalette->SetChosen(nullptr);
    FPackage->Unload();
    PaletteChanged();
    return true;
}

void RegisterStandardControls() {
    static const int Owner = 0;
    // Registering again replaces what was there.
    DesignRegistry().Unregister(&Owner);
    TRegistrationScope Scope(DesignRegistry(), &Owner);
    RegisterStandardComponents();
}

void TDesignerWindow::UpdateTitle() {
    FWindow->SetCaption("Folio designer: " + FDesigner->GetTitle());
    if (FUndo) FUndo->SetEnabled(FDesigner->CanUndo());
    if (FRedo) FRedo->SetEnabled(FDesigner->CanRedo());
}

bool TDesignerWindow::MayDropChanges() {
    if (!FDesigner->GetModified()) return true;
    // The question names the file; the title's modified mark is no part of it.
    const String Name = FDesigner->GetDocumentName();
    const TModalResult Answer = OnAskSave ? OnAskSave(Name) : AskSaveChanges(Name);
    if (Answer == mrYes) return SaveForm();
    return Answer == mrNo;
}

void TDesignerWindow::NewForm() {
    if (MayDropChanges()) FDesigner->NewForm();
}

void TDesignerWindow::OpenForm() {
    if (!MayDropChanges()) return;
    TOpenDialog Dialog(nullptr);
    Dialog.SetTitle("Open form");
    Dialog.SetFilter(OpenFormFilter);
    Dialog.SetDefaultExt("form");
    Dialog.SetOptions({ofFileMustExist});
    Dialog.SetFileName(FDesigner->GetFileName());
    if (Dialog.Execute()) FDesigner->Open(Dialog.GetFileName());
}

bool TDesignerWindow::SaveForm() {
    if (FDesigner->GetFileName().empty()) return SaveFormAs();
    FDesigner->Save();
    return true;
}

bool TDesignerWindow::SaveFormAs() {
    TSaveDialog Dialog(nullptr);
    Dialog.SetTitle("Save form as");
    Dialog.SetFilter(SaveFormFilter);
    Dialog.SetDefaultExt("form");
    const String& Current = FDesigner->GetFileName();
    Dialog.SetFileName(Current.empty() ? FDesigner->GetForm()->GetName() + ".form" : Current);
    Dialog.SetFilterIndex(FDesigner->GetEncoding() == feBinary ? 2 : 1);
    Dialog.SetOptions({ofOverwritePrompt});
    if (!Dialog.Execute()) return false;
    FDesigner->SaveAs(Dialog.GetFileName(), Dialog.GetFilterIndex() == 2 ? feBinary : feText);
    return true;
}

bool TDesignerWindow::CommandKey(unsigned short Key, TShiftState Shift) {
    if (!Shift.Contains(ssCtrl) || Shift.Contains(ssAlt)) return false;
    const bool WithShift = Shift.Contains(ssShift);
    if (Key == 'S') {
        WithShift ? SaveFormAs() : SaveForm();
        return true;
    }
    if (WithShift) return false;
    if (Key == 'N')
        NewForm();
    else if (Key == 'O')
        OpenForm();
    else
        return false;
    return true;
}

const char* const OpenFormFilter = "Form files (*.form)|*.form|All files (*)|*";
const char* const SaveFormFilter =
    "Text form files (*.form)|*.form|Binary form files (*.form)|*.form";

// --- asking to save ------------------------------------------------------------------------

TModalResult AskSaveChanges(const String& Name) {
    const auto Dialog = CreateMessageDialog("Save the changes to " + Name + "?", mtConfirmation,
                                            {mbYes, mbNo, mbCancel});
    Dialog->SetName("AskSaveDialog");
    Dialog->SetCaption("Folio designer");
    return Dialog->ShowModal();
}

void RunDesignerWindow(TDesignerWindow& Window, const std::function<bool()>& Step) {
    // A quit ends the program at once, as in the terminal it is asked from;
    // a modal dialog open at that moment was cancelled by its own loop.
    while (Window.Window().GetVisible() && Step()) {
    }
}

void ShowDesignerError(const String& Text) {
    const auto Dialog = CreateMessageDialog(Text, mtError, {mbOK});
    Dialog->SetName("ErrorDialog");
    Dialog->SetCaption("Folio designer");
    Dialog->ShowModal();
}

} // namespace designer
