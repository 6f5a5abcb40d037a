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

/// What a file dialog checks before it takes the chosen name.
enum class TOpenOption {
    ofFileMustExist,  ///< the file must exist (and its folder)
    ofPathMustExist,  ///< the file's folder must exist
    ofOverwritePrompt ///< choosing a file that exists asks before it is taken
};
using enum TOpenOption;
/// The checks a file dialog makes; none by default.
using TOpenOptions = TSet<TOpenOption>;

/// The file chooser: the files of the current folder that the chosen filter
/// lets through, the folders to go to, a file name field and the filter
/// list. A double click or Enter on a folder goes into it (".." goes up), on
/// a file chooses it; a folder typed as the name goes there, and a mask
/// ("*.txt") filters by it. A name without an extension gets DefaultExt.
/// Execute answers true with FileName set to the chosen file's full path.
class TOpenDialog : public TCommonDialog {
    FOLIO_CLASS(TOpenDialog)
public:
    /// An open dialog with no file name, filter or options, starting in the
    /// working folder.
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    /// The chosen file's full path after Execute; before it, the name (and
    /// folder) the dialog starts with. Empty by default.
    ///@{
    const String& GetFileName() const { return FFileName; }
    void SetFileName(const String& Value) { FFileName = Value; }
    ///@}
    /// The filter list's entries, "Description|mask;mask|Description|mask";
    /// empty (the default) lets every file through.
    ///@{
    const String& GetFilter() const { return FFilter; }
    void SetFilter(const String& Value) { FFilter = Value; }
    ///@}
    /// The filter entry the dialog starts with and, after a confirmed
    /// Execute, the one chosen, counted from 1; 1 by default.
    ///@{
    int GetFilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    ///@}
    /// The extension added to a name chosen without one, without the dot
    /// ("bmp"); empty (the default) adds none.
    ///@{
    const String& GetDefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
    ///@}
    /// Where the dialog starts when FileName names no folder; empty: the
    /// working folder.
    ///@{
    const String& GetInitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value) { FInitialDir = Value; }
    ///@}
    /// The checks made before a name is taken; none by default. A check that
    /// fails says why in the dialog and keeps it open.
    ///@{
    TOpenOptions GetOptions() const { return FOptions; }
    void SetOptions(TOpenOptions Value) { FOptions = Value; }
    ///@}
    /// Options as the bits a form file stores.
    ///@{
    long long GetOptionBits() const { return static_cast<long long>(FOptions.Bits()); }
    void SetOptionBits(long long Value) {
        FOptions = TOpenOptions::FromBits(static_cast<std::uint64_t>(Value));
    }
    ///@}

    /// Shows the chooser (captioned Title, or "Open" / "Save As"); true with
    /// FileName set to the chosen file's full path, false when cancelled.
    bool Execute() override;

    /// While Execute runs: the folder shown and the names in the two lists
    /// (the lists are null outside Execute).
    ///@{
    const String& GetCurrentDir() const { return FDir; }
    TListBox* GetFileList() const;
    TListBox* GetFolderList() const;
    ///@}

protected:
    struct TParts;
    ///@{
    /// The dialog's own words, the caption without a Title ("Open") and the
    /// action button's ("&Open"); the save dialog has its own.
    virtual String DefaultTitle() const { return "Open"; }
    virtual String ActionCaption() const { return "&Open"; }
    ///@}
    /// Lets a subclass add its parts to the form, left at X.
    virtual void AddParts(TParts& Parts, int X);
    /// The file selected in the list changed (a path, or empty).
    virtual void FileSelected(const String& Path);
    /// The parts of the running dialog; null outside Execute.
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

/// The same chooser for a file to write: it need not exist yet.
class TSaveDialog : public TOpenDialog {
    FOLIO_CLASS(TSaveDialog)
public:
    /// A save dialog with no file name, filter or options, starting in the
    /// working folder.
    explicit TSaveDialog(TComponent* AOwner);

protected:
    String DefaultTitle() const override { return "Save As"; }
    String ActionCaption() const override { return "&Save"; }
};

/// The parts of a running file dialog.
struct TOpenDialog::TParts {
    /// The dialog's form.
    TForm* Form = nullptr;
    /// The file name field.
    TEdit* FileName = nullptr;
    /// The files of the current folder.
    TListBox* Files = nullptr;
    /// The folders to go to.
    TListBox* Folders = nullptr;
    /// The current folder's path.
    TLabel* Dir = nullptr;
    /// The filter list.
    TComboBox* Types = nullptr;
    /// Why the last name was not taken, or empty.
    TLabel* Status = nullptr;
    /// A part a subclass adds beside the lists (AddParts); null for the plain
    /// dialogs.
    TPanel* Preview = nullptr;
};

} // namespace folio
