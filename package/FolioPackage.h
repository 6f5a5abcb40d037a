#pragma once

// The package library (libfolio_package.so): the bar, its design-time
// editors and the four sample controls, for a form designer that loads it
// at run time.
//
// The designer links the framework into its own program and exports it
// (folio_package_host in CMake), so that the package and the designer share
// one framework; the package brings only its own units. The designer loads
// the library, calls its one entry point with the registry where the
// package's registrations go, and unloads the library when it is done:
// unloading finalises the units in reverse order and takes back everything
// they registered. Every component made from the package must be freed,
// and the registry must still exist, when the library is unloaded.

namespace folio {
class TDesignRegistry;
}

extern "C" {

// The entries' names, for dlsym.
#define FOLIO_PACKAGE_ENTRY "FolioPackageInit"
#define FOLIO_PACKAGE_EXIT "FolioPackageExit"

// Initialises the package's units in order and calls every unit's Register
// with Registry as the place its registrations go. Answers null on success,
// or the reason it failed (the package's own text, valid until the next
// call), in which case what was registered is taken back. A second call
// takes the first call's registrations back before it registers again.
using TFolioPackageInit = const char* (*)(folio::TDesignRegistry* Registry);
const char* FolioPackageInit(folio::TDesignRegistry* Registry);

// Takes back what the package registered and finalises its units, the last
// first; closing the library does the same when this was not called. The
// package may be started again afterwards.
using TFolioPackageExit = void (*)();
void FolioPackageExit();
}
