#include "framework/core/ClassRegistry.h"
#include "framework/core/ClassUnregistrations.h"

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"

#include <atomic>
#include <map>
#include <mutex>
#include <vector>

namespace folio {

namespace {

struct TEntry {
    const TClassInfo* Info = nullptr;
    const TClassInfo& (*Get)() = nullptr;
};

struct TClassRegistry {
    std::mutex Lock;
    // Every registration of a name, the one in force last.
    std::map<String, std::vector<TEntry>> Classes;
};

std::atomic<unsigned> Unregistrations{0};

TClassRegistry& Registry() {
    static TClassRegistry R;
    return R;
}

template <class Match>
void RemoveLatest(const String& Name, Match Matches) {
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    ++Unregistrations;
    auto It = R.Classes.find(Name);
    if (It == R.Classes.end()) return;
    std::vector<TEntry>& Entries = It->second;
    for (size_t I = Entries.size(); I-- > 0;)
        if (Matches(Entries[I])) {
            Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(I));
            break;
        }
    if (Entries.empty()) R.Classes.erase(It);
}

} // namespace

void RegisterClass(const TClassInfo& Class) {
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Classes[Class.Name].push_back(TEntry{&Class, nullptr});
}

void RegisterClass(const char* Name, const TClassInfo& (*Info)()) {
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Classes[Name].push_back(TEntry{nullptr, Info});
}

void UnregisterClass(const TClassInfo& Class) {
    // A lazy registration of the class counts once its information is known;
    // one that was never looked up is matched by building it now, while the
    // unit that provides it is still there.
    RemoveLatest(Class.Name, [&Class](const TEntry& E) {
        return E.Info == &Class || (!E.Info && E.Get && &E.Get() == &Class);
    });
}

void UnregisterClass(const char* Name, const TClassInfo& (*Info)()) {
    RemoveLatest(Name, [Info](const TEntry& E) { return E.Get == Info; });
}

unsigned ClassUnregistrations() {
    return Unregistrations.load();
}

const TClassInfo* GetClass(const String& ClassName) {
    const TClassInfo& (*Get)() = nullptr;
    {
        auto& R = Registry();
        std::lock_guard Guard(R.Lock);
        auto It = R.Classes.find(ClassName);
        if (It == R.Classes.end()) return nullptr;
        const TEntry& Latest = It->second.back();
        if (Latest.Info) return Latest.Info;
        Get = Latest.Get;
    }
    // Built outside the lock: building a class's information may register
    // or look up others.
    const TClassInfo& Info = Get();
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    auto It = R.Classes.find(ClassName);
    if (It != R.Classes.end())
        for (TEntry& E : It->second)
            if (E.Get == Get) E.Info = &Info;
    return &Info;
}

const TClassInfo& FindClass(const String& ClassName) {
    const TClassInfo* C = GetClass(ClassName);
    if (!C) throw EInvalidOperation(Format(SClassNotFound, ClassName.c_str()));
    return *C;
}

TComponent* CreateComponent(const String& ClassName, TComponent* Owner) {
    const TClassInfo& C = FindClass(ClassName);
    if (!C.CreateComponent)
        throw EInvalidOperation("Class " + ClassName + " cannot be created by name");
    return C.CreateComponent(Owner);
}

TClassRegistration::TClassRegistration(const char* Name, const TClassInfo& (*Info)())
    : FName(Name), FInfo(Info) {
    RegisterClass(Name, Info);
}

TClassRegistration::~TClassRegistration() {
    UnregisterClass(FName, FInfo);
}

} // namespace folio
