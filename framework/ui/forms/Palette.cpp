#include "framework/ui/forms/Palette.h"

#include "framework/core/ClassRegistry.h"

#include <atomic>

namespace folio {

namespace {

// Constructed on first use, so that a registry installing itself from its
// own static initialisation never finds it unmade.
std::atomic<TRegisterComponentsProc>& InstalledProc() {
    static std::atomic<TRegisterComponentsProc> Proc{nullptr};
    return Proc;
}

} // namespace

TRegisterComponentsProc SetRegisterComponentsProc(TRegisterComponentsProc Proc) {
    return InstalledProc().exchange(Proc);
}

void RegisterComponents(const String& Page, const std::vector<const TClassInfo*>& Classes) {
    if (TRegisterComponentsProc Proc = InstalledProc().load()) {
        Proc(Page, Classes);
        return;
    }
    for (const TClassInfo* Class : Classes)
        if (Class) RegisterClass(*Class);
}

} // namespace folio
