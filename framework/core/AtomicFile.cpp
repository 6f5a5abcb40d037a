#include "framework/core/AtomicFile.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"
#include "framework/core/UniqueFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace folio {

FOLIO_DEFINE_CLASS(TAtomicFileStream, TStream)

namespace {

// The file a name stands for: a symbolic link is replaced by what it
// points to, so that saving through the link keeps the link.
String Resolve(const String& FileName) {
    struct stat Info;
    if (::lstat(FileName.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode)) return FileName;
    char Target[PATH_MAX];
    if (!::realpath(FileName.c_str(), Target)) return FileName;
    return Target;
}

String FolderOf(const String& FileName) {
    const size_t Slash = FileName.rfind('/');
    if (Slash == String::npos) return ".";
    return Slash == 0 ? "/" : FileName.substr(0, Slash);
}

// Makes the new file beside Final. Saving needs what creating Final in
// place would: a writable folder, and write permission on a file that is
// there, which must not be a folder. The new file is held open from here to
// the commit, so its name is never opened again and nobody can slip another
// file under it.
TUniqueFile CreateBeside(const String& Final, const String& Shown) {
    struct stat Old;
    if (::stat(Final.c_str(), &Old) == 0) {
        const int Error = S_ISDIR(Old.st_mode)                 ? EISDIR
                          : ::access(Final.c_str(), W_OK) != 0 ? errno
                                                               : 0;
        if (Error)
            throw EFCreateError(
                Format(SFCreateError, Shown.c_str(), SysErrorMessage(Error).c_str()));
    }
    TUniqueFile File = CreateUniqueFile(AT_FDCWD, Final, 0666);
    if (File.Handle < 0)
        throw EFCreateError(
            Format(SFCreateError, Shown.c_str(), SysErrorMessage(File.Error).c_str()));
    return File;
}

// The new file takes the permissions (and, where the process may, the
// owner) of the file it replaces.
void TakeOver(int Handle, const String& Final) {
    struct stat Old;
    if (::stat(Final.c_str(), &Old) != 0) return;
    ::fchmod(Handle, Old.st_mode & 07777);
    [[maybe_unused]] const int Owned = ::fchown(Handle, Old.st_uid, Old.st_gid);
}

[[noreturn]] void CommitError(const String& FileName, int Error) {
    throw EWriteError(Format("Cannot save \"%s\"; the file keeps its earlier content. %s",
                             FileName.c_str(), SysErrorMessage(Error).c_str()));
}

} // namespace

TAtomicFileStream::TAtomicFileStream(const String& FileName) : FFileName(Resolve(FileName)) {
    const TUniqueFile File = CreateBeside(FFileName, FileName);
    FTempName = File.Name;
    try {
        FFile = std::make_unique<TFileStream>(File.Handle, FTempName);
    } catch (...) {
        ::unlink(FTempName.c_str());
        throw;
    }
}

TAtomicFileStream::~TAtomicFileStream() {
    if (!FFile) return;
    FFile.reset();
    ::unlink(FTempName.c_str());
}

std::int64_t TAtomicFileStream::Read(void* Buffer, std::int64_t Count) {
    return FFile ? FFile->Read(Buffer, Count) : 0;
}

std::int64_t TAtomicFileStream::Write(const void* Buffer, std::int64_t Count) {
    return FFile ? FFile->Write(Buffer, Count) : 0;
}

std::int64_t TAtomicFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    if (!FFile) throw EStreamError("The file \"" + FFileName + "\" is already saved");
    return FFile->Seek(Offset, Origin);
}

std::int64_t TAtomicFileStream::GetSize() {
    if (!FFile) throw EStreamError("The file \"" + FFileName + "\" is already saved");
    return FFile->GetSize();
}

void TAtomicFileStream::SetSize(std::int64_t NewSize) {
    if (!FFile) throw EStreamError("The file \"" + FFileName + "\" is already saved");
    FFile->SetSize(NewSize);
}

void TAtomicFileStream::Commit() {
    if (!FFile) throw EStreamError("The file \"" + FFileName + "\" is already saved");
    try {
        FFile->Flush();
    } catch (const EWriteError&) {
        CommitError(FFileName, errno ? errno : EIO);
    }
    // The content must be on the disk before the name points to it, or a
    // crash could leave an empty file in the old one's place.
    TakeOver(FFile->Handle(), FFileName);
    const bool Synced = ::fsync(FFile->Handle()) == 0;
    const int SyncError = errno;
    FFile.reset();
    if (!Synced || ::rename(FTempName.c_str(), FFileName.c_str()) != 0) {
        const int Error = Synced ? errno : SyncError;
        ::unlink(FTempName.c_str());
        CommitError(FFileName, Error);
    }
    // The rename itself is made durable by syncing the folder.
    const int Folder = ::open(FolderOf(FFileName).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Folder >= 0) {
        ::fsync(Folder);
        ::close(Folder);
    }
}

} // namespace folio
