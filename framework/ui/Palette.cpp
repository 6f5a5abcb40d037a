#include "framework/ui/Palette.h"

#include "framework/core/Component.h"

#include <mutex>

namespace folio {

namespace {

struct TPalette {
    std::mutex Lock;
    std::vector<TComponentPaletteEntry> Entries;
};

TPalette& Palette() {
    static TPalette P;
    return P;
}

} // namespace

void RegisterComponents(const String& Page, const std::vector<const TClassInfo*>& Classes) {
    auto& P = Palette();
    std::lock_guard Guard(P.Lock);
    for (const TClassInfo* Class : Classes) {
        if (!Class) continue;
        RegisterClass(*Class);
        bool Found = false;
        for (TComponentPaletteEntry& E : P.Entries)
            if (E.Class == Class) {
                E.Page = Page;
                Found = true;
            }
        if (!Found) P.Entries.push_back({Page, Class});
    }
}

std::vector<TComponentPaletteEntry> PaletteEntries() {
    auto& P = Palette();
    std::lock_guard Guard(P.Lock);
    return P.Entries;
}

String PalettePageOf(const TClassInfo& Class) {
    auto& P = Palette();
    std::lock_guard Guard(P.Lock);
    for (const TComponentPaletteEntry& E : P.Entries)
        if (E.Class == &Class) return E.Page;
    return String();
}

} // namespace folio
