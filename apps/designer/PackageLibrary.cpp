#include "PackageLibrary.h"

#include "package/FolioPackage.h"

#include "framework/design/DesignRegistry.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>

namespace designer {

using namespace folio;

namespace {

String LastError() {
    const char* Error = dlerror();
    return Error ? String(Error) : String("unknown error");
}

} // namespace

TPackageLibrary::~TPackageLibrary() {
    Unload();
}

void TPackageLibrary::Load(const String& FileName) {
    Unload();
    dlerror();
    void* Handle = dlopen(FileName.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!Handle) throw EPackageError("Cannot load the package " + FileName + ": " + LastError());
    auto Init = reinterpret_cast<TFolioPackageInit>(dlsym(Handle, FOLIO_PACKAGE_ENTRY));
    if (!Init) {
        dlclose(Handle);
        throw EPackageError("The library " + FileName + " is not a package: it has no " +
                            FOLIO_PACKAGE_ENTRY);
    }
    if (const char* Failure = Init(&DesignRegistry())) {
        const String Reason = Failure;
        // The entry took back what it registered; the library goes too.
        if (auto Exit = reinterpret_cast<TFolioPackageExit>(dlsym(Handle, FOLIO_PACKAGE_EXIT)))
            Exit();
        dlclose(Handle);
        throw EPackageError("The package " + FileName + " did not start: " + Reason);
    }
    FHandle = Handle;
    FFileName = FileName;
}

void TPackageLibrary::Unload() {
    if (!FHandle) return;
    if (auto Exit = reinterpret_cast<TFolioPackageExit>(dlsym(FHandle, FOLIO_PACKAGE_EXIT))) Exit();
    dlclose(FHandle);
    FHandle = nullptr;
    FFileName.clear();
}

String TPackageLibrary::DefaultPath() {
    if (const char* Path = std::getenv("FOLIO_PACKAGE"); Path && *Path) return Path;
#ifdef FOLIO_PACKAGE_INSTALLED
    // An installed designer takes the package installed with it, wherever
    // the whole installation was put (a prefix, a tree unpacked by hand);
    // one run from the build tree takes the package built beside it.
    std::error_code Error;
    const std::filesystem::path Program = std::filesystem::read_symlink("/proc/self/exe", Error);
    if (!Error) {
        const std::filesystem::path Installed =
            Program.parent_path().parent_path() / FOLIO_PACKAGE_INSTALLED;
        if (std::filesystem::exists(Installed, Error)) return Installed.string();
    }
#endif
#ifdef FOLIO_PACKAGE_PATH
    return FOLIO_PACKAGE_PATH;
#else
    return "libfolio_package.so";
#endif
}

} // namespace designer
