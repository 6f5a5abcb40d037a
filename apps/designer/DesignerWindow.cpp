#include "DesignerWindow.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/Exceptions.h"
#include "framework/ui/Button.h"
#include "framework/ui/DesignRegistry.h"
#include "framework/ui/Edit.h"
#include "framework/ui/GroupBox.h"
#include "framework/ui/Image.h"
#include "framework/ui/Label.h"
#include "framework/ui/Panel.h"

namespace designer {

using namespace folio;

namespace {

constexpr int WindowWidth = 290;
constexpr int WindowHeight = 720;

TButton* ToolButton(TForm& Owner, const String& Caption, int Left) {
    auto* B = new TButton(&Owner);
    B->SetCaption(Caption);
    B->SetBounds(Left, 4, 64, 24);
    B->SetParent(&Owner);
    return B;
}

} // namespace

// --- the verb menu ------------------------------------------------------------------------

TVerbMenu::TVerbMenu(TFormDesigner& Designer)
    : FDesigner(Designer), FForm(std::make_unique<TForm>(nullptr)) {
    FForm->SetBorderStyle(bsNone);
    FList = new TValueList(FForm.get());
    FList->SetAlign(alClient);
    FList->SetParent(FForm.get());
    FList->OnChoose = [this](const String& Verb) {
        // A separator is no command: the menu stays.
        if (Verb == "-") return;
        Close();
        FDesigner.ExecuteVerb(Verb);
    };
    FForm->OnDeactivate = [this](TObject*) { Close(); };
}

TVerbMenu::~TVerbMenu() = default;

void TVerbMenu::Popup(TComponent* Component, TPoint ScreenPos) {
    auto Editor = FDesigner.GetComponentEditor(Component);
    std::vector<String> Verbs;
    for (int I = 0; I < Editor->GetVerbCount(); ++I) Verbs.push_back(Editor->GetVerb(I));
    if (Verbs.empty()) return;
    int Width = 120;
    for (const String& V : Verbs) Width = std::max(Width, FList->GetCanvas()->TextWidth(V) + 16);
    FList->SetItems(Verbs, String());
    FForm->SetBounds(ScreenPos.X, ScreenPos.Y, Width,
                     static_cast<int>(Verbs.size()) * TObjectInspector::RowHeight + 2);
    FForm->Show();
}

void TVerbMenu::Close() {
    if (FForm->GetVisible()) FForm->Hide();
}

// --- the window ----------------------------------------------------------------------------

TDesignerWindow::TDesignerWindow()
    : FPackage(std::make_unique<TPackageLibrary>()), FDesigner(std::make_unique<TFormDesigner>()),
      FWindow(std::make_unique<TForm>(nullptr)) {
    FWindow->SetBounds(0, 0, WindowWidth, WindowHeight);
    FNew = ToolButton(*FWindow, "New", 4);
    FSave = ToolButton(*FWindow, "Save", 72);
    FUndo = ToolButton(*FWindow, "Undo", 140);
    FPalette = new TComponentPalette(FWindow.get());
    FPalette->SetBounds(0, 32, WindowWidth, FPalette->GetHeight());
    FPalette->SetParent(FWindow.get());
    FInspector = new TObjectInspector(FWindow.get());
    const int Top = FPalette->GetTop() + FPalette->GetHeight() + 4;
    FInspector->SetBounds(0, Top, WindowWidth, WindowHeight - Top);
    FInspector->SetAnchors({akLeft, akTop, akRight, akBottom});
    FInspector->SetParent(FWindow.get());
    FVerbs = std::make_unique<TVerbMenu>(*FDesigner);

    FNew->OnClick = [this](TObject*) { FDesigner->NewForm(); };
    FSave->OnClick = [this](TObject*) { SaveForm(); };
    FUndo->OnClick = [this](TObject*) { FDesigner->Undo(); };
    FPalette->OnChoose = [this](const TClassInfo* Class) { FDesigner->SetPaletteClass(Class); };
    FDesigner->OnSelectionChanged = [this] { FInspector->Rebuild(); };
    FDesigner->OnChanged = [this] {
        FInspector->Rebuild();
        // A drop takes the palette's choice.
        if (!FDesigner->GetPaletteClass()) FPalette->SetChosen(nullptr);
    };
    FDesigner->OnTitleChanged = [this] { UpdateTitle(); };
    FDesigner->OnContextMenu = [this](TComponent* Component, TPoint ScreenPos) {
        FVerbs->Popup(Component, ScreenPos);
    };
    FWindow->OnCloseQuery = [this](TObject*, bool& CanClose) {
        if (!FDesigner->GetModified()) return;
        const TModalResult Answer =
            OnAskSave ? OnAskSave(FDesigner->GetTitle()) : AskSaveChanges(FDesigner->GetTitle());
        if (Answer == mrYes) SaveForm();
        CanClose = Answer == mrNo || (Answer == mrYes && !FDesigner->GetModified());
    };
    FInspector->SetDesigner(FDesigner.get());
    FPalette->Reload();
    UpdateTitle();
}

TDesignerWindow::~TDesignerWindow() {
    FVerbs.reset();
    FDesigner->OnSelectionChanged = nullptr;
    FDesigner->OnChanged = nullptr;
    FDesigner->OnTitleChanged = nullptr;
    FDesigner->OnContextMenu = nullptr;
    FInspector->SetDesigner(nullptr);
}

void TDesignerWindow::Show() {
    FWindow->Show();
    FDesigner->GetForm()->Show();
}

void TDesignerWindow::PaletteChanged() {
    FPalette->Reload();
}

void TDesignerWindow::LoadPackage(const String& FileName) {
    if (FPackage->IsLoaded()) UnloadPackage();
    FPackage->Load(FileName);
    PaletteChanged();
}

void TDesignerWindow::UnloadPackage() {
    if (!FPackage->IsLoaded()) return;
    FVerbs->Close();
    FDesigner->SetPaletteClass(nullptr);
    FDesigner->NewForm();
    FPalette->SetChosen(nullptr);
    FPackage->Unload();
    PaletteChanged();
}

void RegisterStandardControls() {
    static const int Owner = 0;
    TRegistrationScope Scope(DesignRegistry(), &Owner);
    RegisterComponents("Standard", {&TButton::StaticClassInfo(), &TLabel::StaticClassInfo(),
                                    &TEdit::StaticClassInfo(), &TPanel::StaticClassInfo(),
                                    &TGroupBox::StaticClassInfo(), &TImage::StaticClassInfo()});
}

void TDesignerWindow::UpdateTitle() {
    FWindow->SetCaption("Folio designer: " + FDesigner->GetTitle());
    if (FUndo) FUndo->SetEnabled(FDesigner->CanUndo());
}

void TDesignerWindow::SaveForm() {
    // A new form goes beside the program, named after the form.
    if (FDesigner->GetFileName().empty())
        FDesigner->SaveAs(FDesigner->GetForm()->GetName() + ".form");
    else
        FDesigner->Save();
}

// --- asking to save ------------------------------------------------------------------------

TModalResult AskSaveChanges(const String& Title) {
    TForm Dialog(nullptr);
    Dialog.SetBorderStyle(bsDialog);
    Dialog.SetCaption("Folio designer");
    Dialog.SetBounds(300, 300, 320, 110);
    auto* Text = new TLabel(&Dialog);
    Text->SetCaption("Save the changes to " + Title + "?");
    Text->SetBounds(12, 14, 296, 20);
    Text->SetParent(&Dialog);
    const struct {
        const char* Caption;
        TModalResult Result;
    } Buttons[] = {{"Yes", mrYes}, {"No", mrNo}, {"Cancel", mrCancel}};
    int Left = 60;
    for (const auto& B : Buttons) {
        auto* Button = new TButton(&Dialog);
        Button->SetCaption(B.Caption);
        Button->SetModalResult(B.Result);
        Button->SetBounds(Left, 60, 72, 26);
        Button->SetParent(&Dialog);
        if (B.Result == mrYes) Button->SetDefault(true);
        if (B.Result == mrCancel) Button->SetCancel(true);
        Left += 80;
    }
    return Dialog.ShowModal();
}

} // namespace designer
