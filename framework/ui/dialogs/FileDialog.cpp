#include "framework/ui/dialogs/FileDialog.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/ScopeGuard.h"
#include "framework/ui/dialogs/MessageDialog.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace folio {

namespace fs = std::filesystem;

const TClassInfo& TOpenDialog::StaticClassInfo() {
    using C = TOpenDialog;
    static const TClassInfo Info =
        TClassBuilder<C>("TOpenDialog", &TCommonDialog::StaticClassInfo())
            .Str("DefaultExt", &C::GetDefaultExt, &C::SetDefaultExt)
            .Str("FileName", &C::GetFileName, &C::SetFileName)
            .Str("Filter", &C::GetFilter, &C::SetFilter)
            .Int("FilterIndex", &C::GetFilterIndex, &C::SetFilterIndex, 1)
            .Str("InitialDir", &C::GetInitialDir, &C::SetInitialDir)
            .Set("Options", "TOpenOptions",
                 {"ofFileMustExist", "ofPathMustExist", "ofOverwritePrompt"}, &C::GetOptionBits,
                 &C::SetOptionBits, 0)
            .Creatable()
            .Build();
    return Info;
}

const TClassInfo& TSaveDialog::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TSaveDialog>("TSaveDialog", &TOpenDialog::StaticClassInfo())
            .Creatable()
            .Build();
    return Info;
}

namespace {
bool LessNoCase(const String& A, const String& B) {
    return std::lexicographical_compare(A.begin(), A.end(), B.begin(), B.end(), [](char X, char Y) {
        return std::tolower(static_cast<unsigned char>(X)) <
               std::tolower(static_cast<unsigned char>(Y));
    });
}

String Trim(const String& S) {
    size_t B = 0, E = S.size();
    while (B < E && std::isspace(static_cast<unsigned char>(S[B]))) ++B;
    while (E > B && std::isspace(static_cast<unsigned char>(S[E - 1]))) --E;
    return S.substr(B, E - B);
}

bool IsDirectory(const fs::path& P) {
    std::error_code E;
    return fs::is_directory(P, E);
}

bool Exists(const fs::path& P) {
    std::error_code E;
    return fs::exists(P, E);
}

const std::vector<String> AllFiles{"*"};
} // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TOpenDialog::~TOpenDialog() = default;

TSaveDialog::TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

TListBox* TOpenDialog::GetFileList() const {
    return FParts ? FParts->Files : nullptr;
}

TListBox* TOpenDialog::GetFolderList() const {
    return FParts ? FParts->Folders : nullptr;
}

bool TOpenDialog::Execute() {
    TForm Form(nullptr);
    Form.SetBorderStyle(bsDialog);
    Form.SetPosition(poScreenCenter);
    Form.SetCaption(GetTitle().empty() ? DefaultTitle() : GetTitle());
    Form.SetClientWidth(464);
    Form.SetClientHeight(300);

    TParts Parts;
    Parts.Form = &Form;
    TTemporaryChange<TParts*> Holding(FParts, &Parts);
    FEntries = ParseFileFilter(FFilter);
    FTypedMasks.clear();

    TLabel* NameLabel = AddLabel(&Form, "File &name:", 8, 8);
    Parts.FileName = new TEdit(&Form);
    Parts.FileName->SetName("FileNameEdit");
    Parts.FileName->SetParent(&Form);
    Parts.FileName->SetBounds(8, 24, 200, 21);
    NameLabel->SetFocusControl(Parts.FileName);

    Parts.Files = new TListBox(&Form);
    Parts.Files->SetName("FileList");
    Parts.Files->SetParent(&Form);
    Parts.Files->SetBounds(8, 50, 200, 180);
    Parts.Files->OnClick = [this](TObject*) {
        const int I = FParts->Files->GetItemIndex();
        if (I < 0) return;
        const String Name = FParts->Files->GetItems()->GetString(I);
        FParts->FileName->SetText(Name);
        FileSelected((fs::path(FDir) / Name).string());
    };
    Parts.Files->OnDblClick = [this](TObject*) {
        if (FParts->Files->GetItemIndex() >= 0) Accept();
    };

    TLabel* FoldersLabel = AddLabel(&Form, "&Folders:", 220, 8);
    Parts.Dir = AddLabel(&Form, "", 220, 26);
    Parts.Dir->SetName("DirLabel");
    Parts.Dir->SetAutoSize(false);
    Parts.Dir->SetBounds(220, 26, 150, 16);
    Parts.Folders = new TListBox(&Form);
    Parts.Folders->SetName("FolderList");
    Parts.Folders->SetParent(&Form);
    Parts.Folders->SetBounds(220, 50, 150, 180);
    Parts.Folders->OnDblClick = [this](TObject*) { Accept(); };
    FoldersLabel->SetFocusControl(Parts.Folders);

    TLabel* TypesLabel = AddLabel(&Form, "Files of &type:", 8, 238);
    Parts.Types = new TComboBox(&Form);
    Parts.Types->SetName("FileTypeCombo");
    Parts.Types->SetParent(&Form);
    Parts.Types->SetStyle(csDropDownList);
    Parts.Types->SetBounds(8, 254, 200, 21);
    for (const TFileFilterEntry& E : FEntries) Parts.Types->GetItems()->Add(E.Description);
    Parts.Types->SetItemIndex(
        std::clamp(FFilterIndex - 1, 0, std::max(0, int(FEntries.size()) - 1)));
    Parts.Types->OnChange = [this](TObject*) {
        FTypedMasks.clear();
        Refill();
    };
    TypesLabel->SetFocusControl(Parts.Types);

    Parts.Status = AddLabel(&Form, "", 8, 282);
    Parts.Status->SetName("StatusLabel");

    TButton* Ok = AddButton(&Form, ActionCaption(), 380, 24, mrNone);
    Ok->SetName("OKButton");
    Ok->SetDefault(true);
    Ok->OnClick = [this](TObject*) { Accept(); };
    TButton* Cancel = AddButton(&Form, "Cancel", 380, 56, mrCancel);
    Cancel->SetName("CancelButton");

    AddParts(Parts, 380);

    // The dialog opens in the folder of the file name it was given, else
    // in the initial folder, else in the working folder.
    fs::path Start = fs::path(FFileName).parent_path();
    if (Start.empty() || !IsDirectory(Start)) Start = FInitialDir;
    std::error_code Error;
    if (Start.empty() || !IsDirectory(Start)) Start = fs::current_path(Error);
    Parts.FileName->SetText(fs::path(FFileName).filename().string());
    ChangeDir(fs::absolute(Start, Error).lexically_normal().string());

    if (!RunModal(Form, Parts.FileName)) return false;
    FFilterIndex = Parts.Types->GetItemIndex() + 1;
    return true;
}

void TOpenDialog::AddParts(TParts&, int) {}

void TOpenDialog::FileSelected(const String&) {}

const std::vector<String>& TOpenDialog::CurrentMasks() const {
    if (!FTypedMasks.empty()) return FTypedMasks;
    const int I = FParts ? FParts->Types->GetItemIndex() : -1;
    if (I >= 0 && I < static_cast<int>(FEntries.size()))
        return FEntries[static_cast<size_t>(I)].Masks;
    return AllFiles;
}

void TOpenDialog::ChangeDir(const String& Dir) {
    String Normal = fs::path(Dir).lexically_normal().string();
    // "/a/b/" and "/a/b" are the same folder.
    if (Normal.size() > 1 && Normal.back() == '/') Normal.pop_back();
    FDir = Normal;
    FParts->Dir->SetCaption(FDir);
    FParts->Dir->SetHint(FDir);
    Refill();
}

void TOpenDialog::Refill() {
    std::vector<String> Files, Folders;
    std::error_code Error;
    // A folder that cannot be read shows empty; the user can still go up.
    for (fs::directory_iterator It(FDir, Error), End; !Error && It != End; It.increment(Error)) {
        const String Name = It->path().filename().string();
        // Hidden files stay hidden, as the desktop's own choosers keep them.
        if (Name.empty() || Name[0] == '.') continue;
        std::error_code E;
        if (It->is_directory(E))
            Folders.push_back(Name);
        else if (MatchesAnyMask(Name, CurrentMasks()))
            Files.push_back(Name);
    }
    std::sort(Files.begin(), Files.end(), LessNoCase);
    std::sort(Folders.begin(), Folders.end(), LessNoCase);
    if (fs::path(FDir).has_relative_path()) Folders.insert(Folders.begin(), "..");
    TStrings* F = FParts->Files->GetItems();
    F->BeginUpdate();
    F->Clear();
    for (const String& N : Files) F->Add(N);
    F->EndUpdate();
    TStrings* D = FParts->Folders->GetItems();
    D->BeginUpdate();
    D->Clear();
    for (const String& N : Folders) D->Add(N);
    D->EndUpdate();
    FileSelected(String());
}

void TOpenDialog::ShowStatus(const String& Text) {
    FParts->Status->SetCaption(Text);
}

void TOpenDialog::Accept() {
    ShowStatus(String());
    TParts& P = *FParts;
    // On the folder list, the action goes into the folder chosen there.
    if (P.Form->GetActiveControl() == P.Folders && P.Folders->GetItemIndex() >= 0) {
        const String Name = P.Folders->GetItems()->GetString(P.Folders->GetItemIndex());
        ChangeDir((fs::path(FDir) / Name).string());
        return;
    }
    String Text = Trim(P.FileName->GetText());
    if (Text.empty()) return;
    if (Text.find_first_of("*?") != String::npos) {
        // A mask typed as the name filters the list by it.
        FTypedMasks.clear();
        for (size_t Start = 0; Start <= Text.size();) {
            size_t End = Text.find(';', Start);
            if (End == String::npos) End = Text.size();
            if (const String M = Trim(Text.substr(Start, End - Start)); !M.empty())
                FTypedMasks.push_back(M);
            Start = End + 1;
        }
        Refill();
        return;
    }
    fs::path Path = Text[0] == '/' ? fs::path(Text) : fs::path(FDir) / Text;
    Path = Path.lexically_normal();
    if (IsDirectory(Path)) {
        P.FileName->SetText(String());
        ChangeDir(Path.string());
        return;
    }
    Path = AddDefaultExt(Path.string(), FDefaultExt);
    if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist)) &&
        !IsDirectory(Path.parent_path())) {
        ShowStatus("The folder " + Path.parent_path().string() + " does not exist.");
        return;
    }
    if (FOptions.Contains(ofFileMustExist) && !Exists(Path)) {
        ShowStatus("The file " + Path.filename().string() + " was not found.");
        return;
    }
    if (FOptions.Contains(ofOverwritePrompt) && Exists(Path) &&
        MessageDlg(Path.filename().string() + " already exists.\nDo you want to replace it?",
                   mtWarning, {mbYes, mbNo}) != mrYes)
        return;
    FFileName = Path.string();
    P.Form->SetModalResult(mrOk);
}

FOLIO_REGISTER_CLASS(TOpenDialog)

FOLIO_REGISTER_CLASS(TSaveDialog)

} // namespace folio
