#include "DesignerMenu.h"

#include "DesignCommands.h"
#include "DesignerWindow.h"
#include "TabOrderDialog.h"

#include "framework/core/Exceptions.h"
#include "framework/ui/dialogs/FileDialog.h"
#include "framework/ui/dialogs/MessageDialog.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/stdctrls/Edit.h"

namespace designer {

using namespace folio;

namespace {

TMenuItem* AddItem(TMenuItem* Parent, TComponent* Owner, const String& Caption,
                   std::function<void()> Run = nullptr, TShortCut Key = 0) {
    auto* Item = new TMenuItem(Owner);
    Item->SetCaption(Caption);
    Item->SetShortCut(Key);
    if (Run) Item->OnClick = [Run = std::move(Run)](TObject*) { Run(); };
    Parent->Add(Item);
    return Item;
}

// The text box of Form that has the keyboard, if one has.
TCustomEdit* FocusedEdit(const TCustomForm& Form) {
    auto* Edit = dynamic_cast<TCustomEdit*>(FindControl(GetFocus()));
    return Edit && GetParentForm(Edit) == &Form ? Edit : nullptr;
}

} // namespace

TDesignerMenu::TDesignerMenu(TDesignerWindow& Window)
    : FWindow(Window), FMenu(new TMainMenu(&Window.Window())) {
    FMenu->SetName("MainMenu");
    Build();
    FMenu->OnUpdate = [this](TObject*) { Update(); };
}

TDesignerMenu::~TDesignerMenu() {
    FMenu->OnUpdate = nullptr;
}

TMenuItem* TDesignerMenu::Entry(const String& Caption) const {
    TMenuItem* Root = FMenu->GetItems();
    for (int I = 0; I < Root->Count(); ++I)
        if (Root->GetItem(I)->GetCaption() == Caption) return Root->GetItem(I);
    return nullptr;
}

TMenuItem* TDesignerMenu::Find(const std::vector<String>& Path) const {
    TMenuItem* Item = FMenu->GetItems();
    for (const String& Caption : Path) {
        TMenuItem* Next = nullptr;
        for (int I = 0; I < Item->Count() && !Next; ++I) {
            const String& Shown = Item->GetItem(I)->GetCaption();
            // The accelerator's mark is no part of the name.
            String Plain;
            for (char C : Shown)
                if (C != '&') Plain += C;
            if (Plain == Caption) Next = Item->GetItem(I);
        }
        if (!Next) return nullptr;
        Item = Next;
    }
    return Item;
}

void TDesignerMenu::Build() {
    TMenuItem* Root = FMenu->GetItems();
    TDesignerWindow& W = FWindow;
    TMenuItem* File = AddItem(Root, FMenu, "&File");
    AddItem(
        File, FMenu, "&New", [&W] { W.NewForm(); }, ShortCut('N', {ssCtrl}));
    AddItem(
        File, FMenu, "&Open...", [&W] { W.OpenForm(); }, ShortCut('O', {ssCtrl}));
    AddItem(
        File, FMenu, "&Save", [&W] { W.SaveForm(); }, ShortCut('S', {ssCtrl}));
    AddItem(
        File, FMenu, "Save &as...", [&W] { W.SaveFormAs(); }, ShortCut('S', {ssCtrl, ssShift}));
    AddItem(File, FMenu, "-");
    AddItem(File, FMenu, "E&xit", [&W] { W.Window().Close(); });
    AddItem(Root, FMenu, "&Edit");
    TMenuItem* View = AddItem(Root, FMenu, "&View");
    AddItem(View, FMenu, "&Grid", [&W] { W.Designer().SetShowGrid(!W.Designer().GetShowGrid()); });
    AddItem(View, FMenu, "&Snap to grid",
            [&W] { W.Designer().SetSnapToGrid(!W.Designer().GetSnapToGrid()); });
    AddItem(View, FMenu, "G&uides",
            [&W] { W.Designer().SetSnapToGuides(!W.Designer().GetSnapToGuides()); });
    AddItem(View, FMenu, "-");
    AddItem(View, FMenu, "Colour s&cheme");
    AddItem(Root, FMenu, "&Component");
    TMenuItem* Help = AddItem(Root, FMenu, "&Help");
    AddItem(Help, FMenu, "&About the designer", [] { ShowAbout(); });
    Update();
}

void TDesignerMenu::Update() {
    TFormDesigner& D = FWindow.Designer();
    FillEdit();
    TMenuItem* View = Entry("&View");
    View->GetItem(0)->SetChecked(D.GetShowGrid());
    View->GetItem(1)->SetChecked(D.GetSnapToGrid());
    View->GetItem(2)->SetChecked(D.GetSnapToGuides());
    TMenuItem* Schemes = View->GetItem(4);
    Schemes->Clear();
    AddSchemeChoices(Schemes, FMenu);
    FillComponent();
}

void TDesignerMenu::FillEdit() {
    TFormDesigner& D = FWindow.Designer();
    TMenuItem* Edit = Entry("&Edit");
    Edit->Clear();
    AddItem(
        Edit, FMenu, "&Undo", [&D] { D.Undo(); }, ShortCut('Z', {ssCtrl}))
        ->SetEnabled(D.CanUndo());
    AddItem(
        Edit, FMenu, "&Redo", [&D] { D.Redo(); }, ShortCut('Y', {ssCtrl}))
        ->SetEnabled(D.CanRedo());
    AddItem(Edit, FMenu, "-");
    const int First = Edit->Count();
    AddSelectionCommands(Edit, FMenu, D);
    // With a text box of the window at the keys, the clipboard commands and
    // Delete are its own: a value being typed is cut and pasted as text.
    const TCustomForm& Form = FWindow.Window();
    if (!FocusedEdit(Form)) return;
    const struct {
        const char* Caption;
        void (*Run)(TCustomEdit&);
    } TextCommands[] = {
        {"Cut", [](TCustomEdit& E) { E.CutToClipboard(); }},
        {"Copy", [](TCustomEdit& E) { E.CopyToClipboard(); }},
        {"Paste", [](TCustomEdit& E) { E.PasteFromClipboard(); }},
        {"Delete", [](TCustomEdit& E) { E.Perform(WM_KEYDOWN, VK_DELETE); }},
    };
    for (int I = First; I < Edit->Count(); ++I)
        for (const auto& T : TextCommands)
            if (Edit->GetItem(I)->GetCaption() == T.Caption) {
                TMenuItem* Item = Edit->GetItem(I);
                Item->SetEnabled(true);
                Item->OnClick = [&Form, Run = T.Run](TObject*) {
                    if (TCustomEdit* Focused = FocusedEdit(Form)) Run(*Focused);
                };
            }
}

void TDesignerMenu::FillComponent() {
    TFormDesigner& D = FWindow.Designer();
    TMenuItem* Component = Entry("&Component");
    Component->Clear();
    // The selected component's verbs, as its right click offers them.
    if (auto* Selected = dynamic_cast<TComponent*>(D.GetSelection());
        Selected && D.GetSelectionList().size() == 1) {
        auto Editor = D.GetComponentEditor(Selected);
        for (int I = 0; I < Editor->GetVerbCount(); ++I) {
            const String Verb = Editor->GetVerb(I);
            AddItem(Component, FMenu, Verb,
                    [&D, Verb] { RunReporting(D, [&D, Verb] { D.ExecuteVerb(Verb); }); });
        }
        if (Component->Count() > 0) AddItem(Component, FMenu, "-");
    }
    AddItem(Component, FMenu, "&Tab order...", [&D] {
        EditTabOrder(D);
    })->SetEnabled(!TabOrderControls(*TabOrderParent(D), D.GetForm()).empty());
    AddItem(Component, FMenu, "-");
    TDesignerWindow& W = FWindow;
    AddItem(Component, FMenu, "&Load package...", [&W] { ChoosePackage(W); });
    AddItem(Component, FMenu, "&Unload package", [&W] {
        W.UnloadPackage();
    })->SetEnabled(W.Package().IsLoaded());
}

void ChoosePackage(TDesignerWindow& Window) {
    TOpenDialog Dialog(nullptr);
    Dialog.SetTitle("Load package");
    Dialog.SetFilter("Package libraries (*.so)|*.so|All files (*)|*");
    Dialog.SetDefaultExt("so");
    Dialog.SetOptions({ofFileMustExist});
    if (!Dialog.Execute()) return;
    try {
        Window.LoadPackage(Dialog.GetFileName());
    } catch (const Exception& E) {
        ShowDesignerError(E.Message());
    }
}

void ShowAbout() {
    const auto Dialog = CreateMessageDialog(
        "Folio designer\n\nDesigns forms of the framework's controls and of the "
        "components its packages register, and saves them as text or binary form files.",
        mtInformation, {mbOK});
    Dialog->SetName("AboutDialog");
    Dialog->SetCaption("About the designer");
    Dialog->ShowModal();
}

} // namespace designer
