#pragma once

#include "framework/core/RegistryRoots.h"
#include "framework/core/RegistryTree.h"

#include <memory>

namespace folio {

/// The root's name ("HKEY_CURRENT_USER"); raises ERegistryException for a
/// number that is not a predefined root.
String RegistryRootName(HKEY Root);

/// The folder of the registry's files: the one set with SetRegistryFolder,
/// else $FOLIO_REGISTRY_DIR, else $XDG_CONFIG_HOME/folio/registry (an
/// absolute one), else ~/.config/folio/registry. Without HOME the last
/// raises ERegistryException.
String GetRegistryFolder();
/// Sets the folder for this process (a test's scratch folder, say); an
/// empty Folder goes back to the environment's choice. Thread-safe.
void SetRegistryFolder(const String& Folder);
/// The full name of Root's file in the folder; raises ERegistryException for
/// a number that is not a predefined root.
String RegistryFileName(HKEY Root);

/// A root's file as it was read: where it is, whether it was there, and its
/// text.
struct TRegistryFile {
    String Path;         ///< the file's full name
    bool Exists = false; ///< false when there was no file
    String Text;         ///< the file's text; empty when it does not exist

    /// The keys the text holds; none for a missing file. A damaged text raises
    /// ERegistryException naming the file and the line.
    std::unique_ptr<TRegKeyNode> Parse() const;
    /// True when both read the same text (or both found no file).
    bool SameAs(const TRegistryFile& Other) const {
        return Exists == Other.Exists && Text == Other.Text;
    }
};

/// The root's file as it is now. Readers take no lock: a file is only ever
/// replaced whole, so they see the old text or the new one.
TRegistryFile ReadRegistryFile(HKEY Root);

/// One writer of a root's file: holds the advisory lock from construction to
/// destruction, reads the file afresh under it, and replaces it.
///
/// Every root key is one text file of the current user (FormatRegistryText
/// writes its text), all in one folder: the one set with SetRegistryFolder,
/// else $FOLIO_REGISTRY_DIR, else $XDG_CONFIG_HOME/folio/registry, else
/// ~/.config/folio/registry.
///
/// A file is only ever replaced whole: the new text goes to a file beside it,
/// is flushed to the disk, and is renamed over the old one, and the folder is
/// flushed too; so after a crash the file holds the old text or the new one,
/// never a mix. Writers take an advisory lock on a ".lock" file beside it,
/// read the file afresh and change only what they changed, so processes that
/// write different keys at once keep each other's keys. Readers take no lock.
///
/// The folder must belong to the user and be closed to writing by anyone
/// else; any other raises ERegistryException naming the folder and its mode
/// before a byte is read or written there (the store makes its folders with
/// mode 0700). Links in the folder are not followed: a file or lock that is a
/// symbolic link is refused, and each new file gets a name nobody could guess
/// and is made with O_EXCL|O_NOFOLLOW. A writer removes under the lock the new
/// files that writers killed in the middle of a save left behind.
class TRegistryWriter {
public:
    /// Makes the folder when missing, takes the lock (waiting for another
    /// writer to finish) and reads the file. A folder that is not the user's
    /// own or is open to others' writing, a file or lock that is a symbolic
    /// link, or a failed system call raises ERegistryException.
    explicit TRegistryWriter(HKEY Root);
    /// Lets the lock go.
    ~TRegistryWriter();
    TRegistryWriter(const TRegistryWriter&) = delete;
    TRegistryWriter& operator=(const TRegistryWriter&) = delete;

    ///@{
    /// The file as read under the lock; after Write, as written.
    const TRegistryFile& File() const { return FFile; }
    TRegistryFile& File() { return FFile; }
    ///@}
    /// Replaces the file with Tree's text in one atomic step; nothing is
    /// written when the text is the file's own. A tree whose text would pass
    /// RegistryMaxFileSize raises ERegistryException and is not written.
    void Write(const TRegKeyNode& Tree);

private:
    HKEY FRoot;
    String FFolder;
    String FName; // the file's name in the folder
    int FFolderHandle = -1;
    int FLock = -1;
    TRegistryFile FFile;
};

} // namespace folio
