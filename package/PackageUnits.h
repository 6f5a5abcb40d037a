#pragma once

#include <span>

namespace folio {

// One unit of the package, as the package entry runs it: its initialisation
// when the package starts, its Register procedure, and its finalisation
// when the package is unloaded. A unit without one of them leaves it null.
struct TPackageUnit {
    const char* Name;
    void (*Initialize)();
    void (*Register)();
    void (*Finalize)();
};

// The package's units in initialisation order: a unit comes after those it
// uses.
std::span<const TPackageUnit> PackageUnits();

} // namespace folio
