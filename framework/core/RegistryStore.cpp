#include "framework/core/RegistryStore.h"

#include "framework/core/Exceptions.h"
#include "framework/core/RegistryText.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>

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

// Reads the whole file into Text; false when there is no file.
bool ReadFileText(const String& Path, String& Text) {
    TFileHandle File(::open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    if (File.Get() < 0) {
        if (errno == ENOENT) return false;
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

void SyncFolder(const String& Folder) {
    TFileHandle Dir(::open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (Dir.Get() < 0 || ::fsync(Dir.Get()) != 0)
        throw ERegistryException(Format("Cannot flush the registry folder \"%s\": %s",
                                        Folder.c_str(), SysErrorMessage(errno).c_str()));
}

// Writes Text to a new file beside Path, flushes it, renames it over Path
// and flushes the folder.
void ReplaceFile(const String& Folder, const String& Path, const String& Text) {
    const String Temp = Path + ".new";
    // A failed save leaves no half-written file behind.
    TScopeGuard RemoveTemp([&Temp] { ::unlink(Temp.c_str()); });
    {
        TFileHandle File(::open(Temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (File.Get() < 0) FileError("create", Temp, errno);
        WriteAll(File.Get(), Text, Temp);
        if (::fsync(File.Get()) != 0) FileError("flush", Temp, errno);
        if (!File.Close()) FileError("close", Temp, errno);
        if (::rename(Temp.c_str(), Path.c_str()) != 0) FileError("replace", Path, errno);
    }
    RemoveTemp.Dismiss();
    SyncFolder(Folder);
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
    File.Path = RegistryFileName(Root);
    File.Exists = ReadFileText(File.Path, File.Text);
    return File;
}

TRegistryWriter::TRegistryWriter(HKEY Root) : FRoot(Root), FFolder(GetRegistryFolder()) {
    FFile.Path = FFolder + "/" + RootInfo(Root).File;
    MakeFolders(FFolder);
    const String LockPath = FFile.Path + ".lock";
    FLock = ::open(LockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FLock < 0) FileError("create the lock of", FFile.Path, errno);
    while (::flock(FLock, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int Error = errno;
        ::close(FLock);
        FileError("lock", FFile.Path, Error);
    }
    // A constructor that fails runs no destructor: let the lock go here.
    TScopeGuard Unlock([this] { ::close(FLock); });
    FFile.Exists = ReadFileText(FFile.Path, FFile.Text);
    Unlock.Dismiss();
}

TRegistryWriter::~TRegistryWriter() {
    // Closing the descriptor releases the lock.
    ::close(FLock);
}

void TRegistryWriter::Write(const TRegKeyNode& Tree) {
    String Text = FormatRegistryText(Tree, FileTitle(FRoot));
    if (static_cast<std::int64_t>(Text.size()) > RegistryMaxFileSize)
        throw ERegistryException(Format("The registry keys of %s would take more than the %lld "
                                        "MiB a registry file may have; nothing was written",
                                        RootInfo(FRoot).Name,
                                        static_cast<long long>(RegistryMaxFileSize >> 20)));
    if (FFile.Exists && Text == FFile.Text) return;
    ReplaceFile(FFolder, FFile.Path, Text);
    FFile.Exists = true;
    FFile.Text = std::move(Text);
}

} // namespace folio
