#include "framework/core/GlobalComponents.h"

#include "framework/core/Component.h"

#include <mutex>
#include <utility>
#include <vector>

namespace folio {

namespace {

struct TFinders {
    std::mutex Lock;
    int Next = 1;
    std::vector<std::pair<int, TFindGlobalComponent>> List;
};

TFinders& Finders() {
    static TFinders Instance;
    return Instance;
}

} // namespace

int RegisterFindGlobalComponent(TFindGlobalComponent Finder) {
    TFinders& F = Finders();
    std::lock_guard Guard(F.Lock);
    F.List.emplace_back(F.Next, std::move(Finder));
    return F.Next++;
}

void UnregisterFindGlobalComponent(int Registration) {
    TFinders& F = Finders();
    std::lock_guard Guard(F.Lock);
    std::erase_if(F.List, [&](const auto& Entry) { return Entry.first == Registration; });
}

TComponent* FindGlobalComponent(const String& Reference) {
    const std::size_t Dot = Reference.find('.');
    const String First = Reference.substr(0, Dot);
    std::vector<TFindGlobalComponent> List;
    {
        TFinders& F = Finders();
        std::lock_guard Guard(F.Lock);
        for (const auto& Entry : F.List) List.push_back(Entry.second);
    }
    for (const TFindGlobalComponent& Finder : List) {
        TComponent* Found = Finder(First);
        for (std::size_t From = Dot; Found && From != String::npos;) {
            const std::size_t Next = Reference.find('.', From + 1);
            Found = Found->FindComponent(
                Reference.substr(From + 1, Next == String::npos ? String::npos : Next - From - 1));
            From = Next;
        }
        if (Found) return Found;
    }
    return nullptr;
}

} // namespace folio
