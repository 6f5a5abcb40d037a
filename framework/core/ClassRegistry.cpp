#include "framework/core/ClassRegistry.h"

#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Resources.h"
#include "framework/core/SysUtils.h"

#include <map>
#include <mutex>

namespace folio {

namespace {

struct TEntry {
    const TClassInfo* Info = nullptr;
    const TClassInfo& (*Get)() = nullptr;
};

struct TClassRegistry {
    std::mutex Lock;
    std::map<String, TEntry> Classes;
};

TClassRegistry& Registry() {
    static TClassRegistry R;
    return R;
}

} // namespace

void RegisterClass(const TClassInfo& Class) {
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Classes[Class.Name] = TEntry{&Class, nullptr};
}

void RegisterClass(const char* Name, const TClassInfo& (*Info)()) {
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Classes[Name] = TEntry{nullptr, Info};
}

const TClassInfo* GetClass(const String& ClassName) {
    const TClassInfo& (*Get)() = nullptr;
    {
        auto& R = Registry();
        std::lock_guard Guard(R.Lock);
        auto It = R.Classes.find(ClassName);
        if (It == R.Classes.end()) return nullptr;
        if (It->second.Info) return It->second.Info;
        Get = It->second.Get;
    }
    // Built outside the lock: building a class's information may register
    // or look up others.
    const TClassInfo& Info = Get();
    auto& R = Registry();
    std::lock_guard Guard(R.Lock);
    R.Classes[ClassName].Info = &Info;
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

} // namespace folio
