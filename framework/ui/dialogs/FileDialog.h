#pragma once

#include "framework/core/Set.h"
#include "framework/ui/dialogs/CommonDialog.h"
#include "framework/ui/dialogs/FileFilter.h"

namespace folio {

class TComboBox;
class TEdit;
class TLabel;
class TListBox;
class TPanel;

// ofOverwritePrompt: choosing a file that exists asks before it is taken.
enum class TOpenOption { ofFileMustExist, ofPathMustExist, ofOverwritePrompt };
using enum TOpenOption;
using TOpenOptions = TSet<TOpenOption>;

// The file chooser: the files of the current folder that the chosen filter
// lets through, the folders to go to, a file name field and the filter
// list. A double click or Enter on a folder goes into it (".." goes up), on
// a file chooses it; a folder typed as the name goes there, and a mask
// ("*.txt") filters by it. A name without an extension gets DefaultExt.
// Execute answers true with FileName set to the chosen file's full path.
class TOpenDialog : public TCommonDialog {
    FOLIO_CLASS(TOpenDialog)
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    const String& GetFileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    // "Description|mask;mask|Description|mask".
    const String& GetFilter() const { return FFilter; }
    void SetFilter(const String& Value) { FFilter = Value; }
    // The chosen filter entry, counted from 1.
    int GetFilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    // Without the dot ("bmp").
    const String& GetDefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
    // Where the dialog starts when FileName names no folder; empty: the
    // working folder.
    const String& GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value) { FInitialDir = Value; }
    TOpenOptions GetOptions() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    long long GetOptionBits() const { return static_cast<long long>(FOptions.Bits()); }
    void SetOptionBits(long long Value) {
        FOptions = TOpenOptions::FromBits(static_cast<std::uint64_t>(Value));
    }

    bool Execute() override;

    // While Execute runs: the folder shown and the names in the two lists.
    const String& GetCurrentDir() const { return FDir; }
    TListBox* GetFileList() const;
    TListBox* GetFolderList() const;

protected:
    struct TParts;
    // The dialog's own words; the save dialog has its own.
    virtual String DefaultTitle() const { return "Open"; }
    virtual String ActionCaption() const { return "&Open"; }
    // Lets a subclass add its parts to the form, left at X.
    virtual void AddParts(TParts& Parts, int X);
    // The file selected in the list changed (a path, or empty).
    virtual void FileSelected(const String& Path);
    TParts* Parts() const { return FParts; }

private:
    void ChangeDir(const String& Dir);
    void Refill();
    void Accept();
    void ShowStatus(const String& Text);
    const std::vector<String>& CurrentMasks() const;

    String FFileName;
    String FFilter;
    int FFilterIndex = 1;
    String FDefaultExt;
    String FInitialDir;
    TOpenOptions FOptions;
    String FDir;
    std::vector<TFileFilterEntry> FEntries;
    std::vector<String> FTypedMasks;
    TParts* FParts = nullptr;
};

// The same chooser for a file to write: it need not exist yet.
class TSaveDialog : public TOpenDialog {
    FOLIO_CLASS(TSaveDialog)
public:
    explicit TSaveDialog(TComponent* AOwner);

protected:
    String DefaultTitle() const override { return "Save As"; }
    String ActionCaption() const override { return "&Save"; }
};

// The parts of a running file dialog.
struct TOpenDialog::TParts {
    TForm* Form = nullptr;
    TEdit* FileName = nullptr;
    TListBox* Files = nullptr;
    TListBox* Folders = nullptr;
    TLabel* Dir = nullptr;
    TComboBox* Types = nullptr;
    TLabel* Status = nullptr;
    TPanel* Preview = nullptr;
};

} // namespace folio
