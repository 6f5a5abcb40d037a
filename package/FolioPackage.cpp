#include "package/FolioPackage.h"

#include "framework/core/Exceptions.h"
#include "framework/design/DesignRegistry.h"
#include "package/PackageUnits.h"

#include <string>

namespace folio {

namespace {

// The owner tag of everything the package registers.
const char PackageOwner = 0;

// The package while it is loaded into a registry: which registry, and how
// many units have been initialised.
class TLoadedPackage {
public:
    void Load(TDesignRegistry* Registry) {
        Unload();
        if (!Registry) throw EInvalidArgument("The package needs a registry to register into");
        FRegistry = Registry;
        for (const TPackageUnit& Unit : PackageUnits()) {
            if (Unit.Initialize) Unit.Initialize();
            ++FInitialized;
        }
        TRegistrationScope Scope(*Registry, &PackageOwner);
        for (const TPackageUnit& Unit : PackageUnits())
            if (Unit.Register) Unit.Register();
    }

    // Takes back the registrations, then finalises the units that were
    // initialised, the last first.
    void Unload() noexcept {
        if (FRegistry) FRegistry->Unregister(&PackageOwner);
        FRegistry = nullptr;
        const auto Units = PackageUnits();
        for (size_t I = FInitialized; I-- > 0;)
            if (Units[I].Finalize) Units[I].Finalize();
        FInitialized = 0;
    }

private:
    TDesignRegistry* FRegistry = nullptr;
    size_t FInitialized = 0;
};

// Plain data, so that it outlives every other static of the library.
TLoadedPackage Package;

// Unloads the package when the library is closed without the exit entry.
// Statics go in the reverse order of their making, and the class tables
// the registrations point to are made while the units register; this
// guard, made after them, therefore goes before them.
struct TUnloadGuard {
    ~TUnloadGuard() { Package.Unload(); }
};

void Load(TDesignRegistry* Registry) {
    Package.Load(Registry);
    static TUnloadGuard Guard;
}

std::string LastError;

} // namespace

} // namespace folio

extern "C" const char* FolioPackageInit(folio::TDesignRegistry* Registry) {
    // Nothing may leave a C entry point by an exception.
    try {
        folio::Load(Registry);
        return nullptr;
    } catch (const std::exception& E) {
        folio::Package.Unload();
        folio::LastError = E.what();
    } catch (...) {
        folio::Package.Unload();
        folio::LastError = "The package failed to start";
    }
    return folio::LastError.c_str();
}

extern "C" void FolioPackageExit() {
    folio::Package.Unload();
}
