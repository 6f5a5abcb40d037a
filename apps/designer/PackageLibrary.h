#pragma once

#include "framework/core/Exceptions.h"
#include "framework/core/Types.h"

namespace designer {

using folio::String;

// A package library that cannot be loaded or started: the message names
// the file and what went wrong.
class EPackageError : public folio::Exception {
public:
    using folio::Exception::Exception;
};

// A package library loaded at run time: dlopen, then its entry point, which
// registers the package's components and editors in the program's design
// registry; Unload takes them back and closes the library. Every component
// made from the package must be gone before it is unloaded.
class TPackageLibrary {
public:
    TPackageLibrary() = default;
    ~TPackageLibrary();
    TPackageLibrary(const TPackageLibrary&) = delete;
    TPackageLibrary& operator=(const TPackageLibrary&) = delete;

    // Raises EPackageError when the file cannot be opened, has no entry
    // point, or its entry fails; nothing stays loaded then. Loading while
    // loaded unloads first.
    void Load(const String& FileName);
    void Unload();
    bool IsLoaded() const { return FHandle != nullptr; }
    const String& GetFileName() const { return FFileName; }

    // Where the designer looks for the package without being told: the
    // FOLIO_PACKAGE environment variable, else the library installed with
    // the program (lib/folio/ under its installation's prefix), else the
    // library built beside it.
    static String DefaultPath();

private:
    void* FHandle = nullptr;
    String FFileName;
};

} // namespace designer
