#include "framework/core/RegistryStore.h"

#include "framework/core/Exceptions.h"
#include "framework/core/RegistryText.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/core/UniqueFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace folio {

namespace {

struct TRootInfo {
    HKEY Root;
    const char* Name;
    const char* File;
};

constexpr TRootInfo Roots[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "classes_root.keys"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "current_user.keys"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "local_machine.keys"},
    {HKEY_USERS, "HKEY_USERS", "users.keys"},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA", "performance_data.keys"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "current_config.keys"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA", "dyn_data.keys"},
};

const TRootInfo& RootInfo(HKEY Root) {
    for (const TRootInfo& Info : Roots)
        if (Info.Root == Root) return Info;
    throw ERegistryException(
        Format("0x%08X is not a predefined registry root key", static_cast<unsigned>(Root)));
}

std::mutex FolderMutex;
String FolderOverride;

// Closes a descriptor on every path out.
class TFileHandle {
public:
    explicit TFileHandle(int Fd) : FFd(Fd) {}
    ~TFileHandle() {
        if (FFd >= 0) ::close(FFd);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Get() const { return FFd; }
    // Hands the descriptor over: this object no longer closes it.
    void Release() { FFd = -1; }
    // Closes now, so that a failed close is seen; false when it failed.
    bool Close() {
        const int Fd = FFd;
        FFd = -1;
        return ::close(Fd) == 0;
    }

private:
    int FFd;
};

[[noreturn]] void FileError(const char* Action, const String& Path, int Error) {
    throw ERegistryException(Format("Cannot %s the registry file \"%s\": %s", Action, Path.c_str(),
                                    SysErrorMessage(Error).c_str()));
}

// A link in the folder may have been planted by someone who could write
// there once; following it would read or write whatever it names.
[[noreturn]] void LinkRefused(const char* What, const String& Path) {
    throw ERegistryException(Format("The registry %s \"%s\" is a symbolic link; the registry "
                                    "follows no links in its folder and leaves it as it is",
                                    What, Path.c_str()));
}

void MakeFolders(const String& Folder) {
    for (size_t Slash = 1; Slash != String::npos; ++Slash) {
        Slash = Folder.find('/', Slash);
        const String Part = Folder.substr(0, Slash);
        struct stat Info;
        const bool IsFolder = ::stat(Part.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
        // Settings are private to their user.
        if (!IsFolder && ::mkdir(Part.c_str(), 0700) != 0 && errno != EEXIST)
            throw ERegistryException(Format("Cannot create the registry folder \"%s\": %s",
                                            Part.c_str(), SysErrorMessage(errno).c_str()));
        if (Slash == String::npos) break;
    }
}

// Whoever may write in the folder may replace the files in it, or plant
// links and other files under the names the store uses. So the store works
// only in a folder that its own user owns and that nobody else may write
// in, as tools that keep keys in a folder of the user's do; it refuses any
// other before it reads or writes a byte there.
void CheckFolder(int Handle, const String& Folder) {
    struct stat Info;
    if (::fstat(Handle, &Info) != 0)
        throw ERegistryException(Format("Cannot examine the registry folder \"%s\": %s",
                                        Folder.c_str(), SysErrorMessage(errno).c_str()));
    const unsigned Mode = Info.st_mode & 07777;
    if (Info.st_uid != ::geteuid())
        throw ERegistryException(Format(
            "The registry folder \"%s\" (mode %04o) belongs to another user (uid %u), so the "
            "registry neither reads nor writes its files there. Set FOLIO_REGISTRY_DIR to a "
            "folder of your own.",
            Folder.c_str(), Mode, static_cast<unsigned>(Info.st_uid)));
    if (Mode & (S_IWGRP | S_IWOTH))
        throw ERegistryException(Format(
            "The registry folder \"%s\" has mode %04o: other users may write in it and so "
            "change or replace the registry's files, so the registry neither reads nor writes "
            "its files there. Make it private (chmod go-w \"%s\") or set FOLIO_REGISTRY_DIR "
            "to a private folder.",
            Folder.c_str(), Mode, Folder.c_str()));
}

// Opens the registry folder and checks it. Every file of the store is then
// reached through this descriptor, so the files go into the folder that was
// checked even if its path comes to name another folder meanwhile. Gives -1
// for a missing folder when MayBeMissing.
int OpenFolder(const String& Folder, bool MayBeMissing) {
    const int Handle = ::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Handle < 0) {
        if (errno == ENOENT && MayBeMissing) return -1;
        throw ERegistryException(Format("Cannot open the registry folder \"%s\": %s",
                                        Folder.c_str(), SysErrorMessage(errno).c_str()));
    }
    TFileHandle Closer(Handle);
    CheckFolder(Handle, Folder);
    Closer.Release();
    return Handle;
}

// Reads the whole file Name of the folder into Text; false when there is no
// file. Path is its full name, for messages.
bool ReadFileText(int Folder, const String& Name, const String& Path, String& Text) {
    // O_NONBLOCK: a pipe planted under the name must not hang the reader;
    // it is refused below as not a regular file.
    TFileHandle File(
        ::openat(Folder, Name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (File.Get() < 0) {
        if (errno == ENOENT) return false;
        if (errno == ELOOP) LinkRefused("file", Path);
        FileError("open", Path, errno);
    }
    struct stat Info;
    if (::fstat(File.Get(), &Info) != 0) FileError("read", Path, errno);
    if (!S_ISREG(Info.st_mode))
        throw ERegistryException(
            Format("The registry file \"%s\" is not a regular file", Path.c_str()));
    const auto TooLarge = [&] {
        throw ERegistryException(Format("The registry file \"%s\" is larger than the %lld MiB a "
                                        "registry file may have; it is left as it is",
                                        Path.c_str(),
                                        static_cast<long long>(RegistryMaxFileSize >> 20)));
    };
    if (Info.st_size > RegistryMaxFileSize) TooLarge();
    // One spare byte shows a file that grew since fstat.
    Text.resize(static_cast<size_t>(Info.st_size) + 1);
    size_t Got = 0;
    for (;;) {
        if (Got == Text.size()) {
            if (static_cast<std::int64_t>(Got) > RegistryMaxFileSize) TooLarge();
            Text.resize(std::min<size_t>(Got * 2, RegistryMaxFileSize + 1));
        }
        const ssize_t Count = ::read(File.Get(), Text.data() + Got, Text.size() - Got);
        if (Count < 0) {
            if (errno == EINTR) continue;
            FileError("read", Path, errno);
        }
        if (Count == 0) break;
        Got += static_cast<size_t>(Count);
    }
    Text.resize(Got);
    return true;
}

void WriteAll(int Fd, const String& Text, const String& Path) {
    size_t Done = 0;
    while (Done < Text.size()) {
        const ssize_t Count = ::write(Fd, Text.data() + Done, Text.size() - Done);
        if (Count < 0) {
            if (errno == EINTR) continue;
            FileError("write", Path, errno);
        }
        Done += static_cast<size_t>(Count);
    }
}

// Removes what writers killed in the middle of a save left beside the file
// Name: their new files, which never took its place. Called under the lock,
// so no living writer is making one. The plain ".new" name is what earlier
// versions of the store used.
void RemoveLeftovers(int Folder, const String& Name) {
    const int Handle = ::dup(Folder);
    if (Handle < 0) return;
    DIR* List = ::fdopendir(Handle);
    if (!List) {
        ::close(Handle);
        return;
    }
    // The copy shares its position with the folder's descriptor.
    ::rewinddir(List);
    const String OldName = Name + ".new";
    while (const dirent* Entry = ::readdir(List)) {
        const std::string_view EntryName = Entry->d_name;
        if (IsUniqueFileOf(EntryName, Name) || EntryName == OldName)
            ::unlinkat(Folder, Entry->d_name, 0);
    }
    ::closedir(List);
}

// Writes Text to a new file beside the file Name, flushes it, renames it
// over Name and flushes the folder.
void ReplaceFile(int Folder, const String& FolderPath, const String& Name, const String& Path,
                 const String& Text) {
    const TUniqueFile Temp = CreateUniqueFile(Folder, Name, 0600);
    if (Temp.Handle < 0) FileError("create a new file for", Path, Temp.Error);
    const String TempPath = FolderPath + "/" + Temp.Name;
    // A failed save leaves no half-written file behind.
    TScopeGuard RemoveTemp([&] { ::unlinkat(Folder, Temp.Name.c_str(), 0); });
    {
        TFileHandle File(Temp.Handle);
        WriteAll(File.Get(), Text, TempPath);
        if (::fsync(File.Get()) != 0) FileError("flush", TempPath, errno);
        if (!File.Close()) FileError("close", TempPath, errno);
        if (::renameat(Folder, Temp.Name.c_str(), Folder, Name.c_str()) != 0)
            FileError("replace", Path, errno);
    }
    RemoveTemp.Dismiss();
    if (::fsync(Folder) != 0)
        throw ERegistryException(Format("Cannot flush the registry folder \"%s\": %s",
                                        FolderPath.c_str(), SysErrorMessage(errno).c_str()));
}

String FileTitle(HKEY Root) {
    return String(RootInfo(Root).Name) +
           " of the Folio registry. Programs rewrite this file whole: comments are not kept.";
}

} // namespace

String RegistryRootName(HKEY Root) {
    return RootInfo(Root).Name;
}

String GetRegistryFolder() {
    {
        std::lock_guard<std::mutex> Lock(FolderMutex);
        if (!FolderOverride.empty()) return FolderOverride;
    }
    if (const char* Dir = std::getenv("FOLIO_REGISTRY_DIR"); Dir && *Dir) return Dir;
    // Relative base directories are ignored, as desktops do.
    if (const char* Config = std::getenv("XDG_CONFIG_HOME"); Config && Config[0] == '/')
        return String(Config) + "/folio/registry";
    const char* Home = std::getenv("HOME");
    if (!Home || !*Home)
        throw ERegistryException("The registry has no folder: HOME is not set. Set HOME or "
                                 "FOLIO_REGISTRY_DIR to a folder for the registry files.");
    return String(Home) + "/.config/folio/registry";
}

void SetRegistryFolder(const String& Folder) {
    std::lock_guard<std::mutex> Lock(FolderMutex);
    FolderOverride = Folder;
}

String RegistryFileName(HKEY Root) {
    const char* File = RootInfo(Root).File;
    return GetRegistryFolder() + "/" + File;
}

std::unique_ptr<TRegKeyNode> TRegistryFile::Parse() const {
    if (!Exists) return std::make_unique<TRegKeyNode>();
    return ParseRegistryText(Text, Path);
}

TRegistryFile ReadRegistryFile(HKEY Root) {
    TRegistryFile File;
    const String Folder = GetRegistryFolder();
    const String Name = RootInfo(Root).File;
    File.Path = Folder + "/" + Name;
    // Nothing is created for a read: a missing folder holds no keys.
    TFileHandle FolderHandle(OpenFolder(Folder, true));
    if (FolderHandle.Get() >= 0)
        File.Exists = ReadFileText(FolderHandle.Get(), Name, File.Path, File.Text);
    return File;
}

TRegistryWriter::TRegistryWriter(HKEY Root)
    : FRoot(Root), FFolder(GetRegistryFolder()), FName(RootInfo(Root).File) {
    FFile.Path = FFolder + "/" + FName;
    MakeFolders(FFolder);
    FFolderHandle = OpenFolder(FFolder, false);
    // A constructor that fails runs no destructor: let the folder and the
    // lock go here.
    TScopeGuard Release([this] {
        if (FLock >= 0) ::close(FLock);
        ::close(FFolderHandle);
    });
    const String LockName = FName + ".lock";
    FLock =
        ::openat(FFolderHandle, LockName.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (FLock < 0) {
        if (errno == ELOOP) LinkRefused("lock file", FFolder + "/" + LockName);
        FileError("create the lock of", FFile.Path, errno);
    }
    while (::flock(FLock, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        FileError("lock", FFile.Path, errno);
    }
    RemoveLeftovers(FFolderHandle, FName);
    FFile.Exists = ReadFileText(FFolderHandle, FName, FFile.Path, FFile.Text);
    Release.Dismiss();
}

TRegistryWriter::~TRegistryWriter() {
    // Closing the descriptor releases the lock.
    ::close(FLock);
    ::close(FFolderHandle);
}

void TRegistryWriter::Write(const TRegKeyNode& Tree) {
    String Text = FormatRegistryText(Tree, FileTitle(FRoot));
    if (static_cast<std::int64_t>(Text.size()) > RegistryMaxFileSize)
        throw ERegistryException(Format("The registry keys of %s would take more than the %lld "
                                        "MiB a registry file may have; nothing was written",
                                        RootInfo(FRoot).Name,
                                        static_cast<long long>(RegistryMaxFileSize >> 20)));
    if (FFile.Exists && Text == FFile.Text) return;
    ReplaceFile(FFolderHandle, FFolder, FName, FFile.Path, Text);
    FFile.Exists = true;
    FFile.Text = std::move(Text);
}

} // namespace folio
