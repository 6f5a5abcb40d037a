#include "framework/design/DesignRegistry.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/Component.h"
#include "framework/core/SysUtils.h"
#include "framework/design/StdPropertyEditors.h"

#include <algorithm>
#include <cstdlib>
#include <cxxabi.h>
#include <mutex>
#include <tuple>

namespace folio {

struct TDesignRegistry::TState {
    mutable std::mutex Lock;
    struct TPaletteItem {
        TComponentPaletteEntry Entry;
        TRegistrationOwner Owner;
    };
    std::vector<TPaletteItem> Palette;
    // Every class registration made for the palette, to be taken back with
    // its owner's registrations.
    std::vector<std::pair<TRegistrationOwner, const TClassInfo*>> Classes;
    std::vector<TComponentEditorEntry> ComponentEditors;
    std::vector<TPropertyEditorEntry> PropertyEditors;
    struct TIcon {
        const TClassInfo* Class;
        TComponentIconProc Draw;
        TRegistrationOwner Owner;
    };
    std::vector<TIcon> Icons;
};

namespace {

// How far a class lies from the root of the hierarchy: nearer
// registrations are deeper.
int Depth(const TClassInfo* Class) {
    int D = 0;
    for (const TClassInfo* C = Class; C && C->Parent; C = C->Parent) ++D;
    return D;
}

bool AllInherit(const std::vector<TPersistent*>& Components, const TClassInfo& Class) {
    return std::all_of(Components.begin(), Components.end(),
                       [&Class](const TPersistent* P) { return P->InheritsFrom(Class); });
}

// The class whose table declares property Name first (re-publishing copies
// a property into a descendant's table, so the topmost table holding it is
// the declaring one). Its accessors work on every descendant.
const TClassInfo* DeclaringClass(const TClassInfo& Class, const String& Name) {
    const TClassInfo* Found = nullptr;
    for (const TClassInfo* C = &Class; C; C = C->Parent)
        for (const TPropInfo& P : C->OwnProperties)
            if (SameText(P.Name, Name)) Found = C;
    return Found;
}

// The registration's rank for the property, or nothing when it does not
// take it. Greater ranks are more specific.
std::optional<std::tuple<int, int, int>> Rank(const TPropertyEditorEntry& E,
                                              const std::vector<TPersistent*>& Components,
                                              const TPropInfo& Prop) {
    int TypeRank;
    if (E.Type.Class) {
        const bool IsObject =
            Prop.Kind == TTypeKind::tkClass || Prop.Kind == TTypeKind::tkComponent;
        const TClassInfo* PropClass = IsObject ? Prop.ObjectClass.Get() : nullptr;
        if (!PropClass || !PropClass->InheritsFrom(*E.Type.Class)) return std::nullopt;
        TypeRank = Depth(E.Type.Class);
    } else {
        if (!SameText(E.Type.Name, Prop.TypeName)) return std::nullopt;
        TypeRank = 1 << 20;
    }
    if (E.ComponentClass && !AllInherit(Components, *E.ComponentClass)) return std::nullopt;
    if (!E.PropertyName.empty() && !SameText(E.PropertyName, Prop.Name)) return std::nullopt;
    return std::tuple(E.PropertyName.empty() ? 0 : 1,
                      E.ComponentClass ? Depth(E.ComponentClass) + 1 : 0, TypeRank);
}

} // namespace

const TTypeKinds& PropertyKinds() {
    static const TTypeKinds Kinds{TTypeKind::tkInteger, TTypeKind::tkBool,      TTypeKind::tkEnum,
                                  TTypeKind::tkString,  TTypeKind::tkColor,     TTypeKind::tkSet,
                                  TTypeKind::tkClass,   TTypeKind::tkComponent, TTypeKind::tkFloat};
    return Kinds;
}

const TTypeKinds& EventKinds() {
    static const TTypeKinds Kinds{TTypeKind::tkMethod};
    return Kinds;
}

TDesignRegistry::TDesignRegistry() : FState(std::make_unique<TState>()) {}

TDesignRegistry::~TDesignRegistry() = default;

void TDesignRegistry::RegisterComponents(const String& Page,
                                         const std::vector<const TClassInfo*>& Classes,
                                         TRegistrationOwner Owner) {
    std::lock_guard Guard(FState->Lock);
    for (const TClassInfo* Class : Classes) {
        if (!Class) continue;
        RegisterClass(*Class);
        FState->Classes.emplace_back(Owner, Class);
        auto Same = [Class](const TState::TPaletteItem& I) { return I.Entry.Class == Class; };
        auto It = std::find_if(FState->Palette.begin(), FState->Palette.end(), Same);
        if (It == FState->Palette.end())
            FState->Palette.push_back({{Page, Class}, Owner});
        else
            *It = {{Page, Class}, Owner};
    }
}

void TDesignRegistry::RegisterComponentEditor(TComponentEditorEntry Entry) {
    if (!Entry.ComponentClass || !Entry.Create)
        throw EInvalidArgument("A component editor needs a component class and a way to make it");
    std::lock_guard Guard(FState->Lock);
    FState->ComponentEditors.push_back(std::move(Entry));
}

void TDesignRegistry::RegisterPropertyEditor(TPropertyEditorEntry Entry) {
    if (!Entry.Create) throw EInvalidArgument("A property editor needs a way to make it");
    std::lock_guard Guard(FState->Lock);
    FState->PropertyEditors.push_back(std::move(Entry));
}

void TDesignRegistry::Unregister(TRegistrationOwner Owner) {
    std::vector<const TClassInfo*> Classes;
    {
        std::lock_guard Guard(FState->Lock);
        auto Owned = [Owner](const auto& X) { return X.Owner == Owner; };
        std::erase_if(FState->Palette, Owned);
        std::erase_if(FState->ComponentEditors, Owned);
        std::erase_if(FState->PropertyEditors, Owned);
        std::erase_if(FState->Icons, Owned);
        for (auto It = FState->Classes.begin(); It != FState->Classes.end();)
            if (It->first == Owner) {
                Classes.push_back(It->second);
                It = FState->Classes.erase(It);
            } else {
                ++It;
            }
    }
    // Latest first, so that each takes back its own registration.
    for (auto It = Classes.rbegin(); It != Classes.rend(); ++It) UnregisterClass(**It);
}

void TDesignRegistry::RegisterComponentIcon(const TClassInfo& Class, TComponentIconProc Draw,
                                            TRegistrationOwner Owner) {
    if (!Draw) throw EInvalidArgument("A component icon needs a way to draw it");
    std::lock_guard Guard(FState->Lock);
    FState->Icons.push_back({&Class, Draw, Owner});
}

TComponentIconProc TDesignRegistry::ComponentIcon(const TClassInfo& Class) const {
    std::lock_guard Guard(FState->Lock);
    for (auto It = FState->Icons.rbegin(); It != FState->Icons.rend(); ++It)
        if (It->Class == &Class) return It->Draw;
    return nullptr;
}

std::vector<TComponentPaletteEntry> TDesignRegistry::PaletteEntries() const {
    std::lock_guard Guard(FState->Lock);
    std::vector<TComponentPaletteEntry> Entries;
    for (const auto& I : FState->Palette) Entries.push_back(I.Entry);
    return Entries;
}

String TDesignRegistry::PalettePageOf(const TClassInfo& Class) const {
    std::lock_guard Guard(FState->Lock);
    for (const auto& I : FState->Palette)
        if (I.Entry.Class == &Class) return I.Entry.Page;
    return String();
}

std::vector<TComponentEditorEntry> TDesignRegistry::ComponentEditors() const {
    std::lock_guard Guard(FState->Lock);
    return FState->ComponentEditors;
}

std::vector<TPropertyEditorEntry> TDesignRegistry::PropertyEditors() const {
    std::lock_guard Guard(FState->Lock);
    return FState->PropertyEditors;
}

std::unique_ptr<TComponentEditor> TDesignRegistry::GetComponentEditor(TComponent* Component,
                                                                      IDesigner* Designer) const {
    TComponentEditorFactory Create;
    if (Component) {
        std::lock_guard Guard(FState->Lock);
        int Best = -1;
        for (const TComponentEditorEntry& E : FState->ComponentEditors)
            if (Component->InheritsFrom(*E.ComponentClass) && Depth(E.ComponentClass) >= Best) {
                Best = Depth(E.ComponentClass);
                Create = E.Create;
            }
    }
    // Made outside the lock: an editor's constructor may look up others.
    if (Create) return Create(Component, Designer);
    return std::make_unique<TComponentEditor>(Component, Designer);
}

std::unique_ptr<TPropertyEditor>
TDesignRegistry::GetPropertyEditor(IDesigner* Designer, std::vector<TPersistent*> Components,
                                   const TPropInfo& Prop) const {
    TPropertyEditorFactory Create;
    {
        std::lock_guard Guard(FState->Lock);
        std::optional<std::tuple<int, int, int>> Best;
        for (const TPropertyEditorEntry& E : FState->PropertyEditors) {
            auto R = Rank(E, Components, Prop);
            if (R && (!Best || *R >= *Best)) {
                Best = R;
                Create = E.Create;
            }
        }
    }
    std::unique_ptr<TPropertyEditor> Editor =
        Create ? Create(Designer, std::move(Components), Prop)
               : CreateDefaultPropertyEditor(Designer, std::move(Components), Prop);
    Editor->SetRegistry(this);
    return Editor;
}

void TDesignRegistry::GetComponentProperties(const std::vector<TPersistent*>& Components,
                                             IDesigner* Designer, const TGetPropProc& Proc,
                                             const TTypeKinds& Kinds) const {
    if (Components.empty()) return;
    const TClassInfo& First = Components.front()->ClassInfo();
    for (const TPropInfo* Prop : First.PublishedProperties()) {
        if (std::find(Kinds.begin(), Kinds.end(), Prop->Kind) == Kinds.end()) continue;
        if (Components.size() > 1) {
            // The first object's accessors must fit every object, and each
            // must publish the property too.
            const TClassInfo* Declaring = DeclaringClass(First, Prop->Name);
            if (!Declaring || !AllInherit(Components, *Declaring)) continue;
            const bool AllPublish =
                std::all_of(Components.begin(), Components.end(), [Prop](const TPersistent* P) {
                    return P->ClassInfo().FindProperty(Prop->Name) != nullptr;
                });
            if (!AllPublish) continue;
        }
        std::unique_ptr<TPropertyEditor> Editor = GetPropertyEditor(Designer, Components, *Prop);
        if (Components.size() > 1 && !Editor->GetAttributes().Contains(paMultiSelect)) continue;
        Editor->Initialize();
        Proc(std::move(Editor));
    }
}

// --- the program's registry and where registrations go ----------------------------------

namespace {

struct TRegistrationTarget {
    std::mutex Lock;
    TDesignRegistry* Registry = nullptr;
    TRegistrationOwner Owner = nullptr;
};

TRegistrationTarget& Target() {
    static TRegistrationTarget T;
    return T;
}

std::pair<TDesignRegistry*, TRegistrationOwner> CurrentTarget() {
    TRegistrationTarget& T = Target();
    std::lock_guard Guard(T.Lock);
    return {T.Registry ? T.Registry : &DesignRegistry(), T.Owner};
}

void RegisterComponentsInCurrentTarget(const String& Page,
                                       const std::vector<const TClassInfo*>& Classes) {
    auto [Registry, Owner] = CurrentTarget();
    Registry->RegisterComponents(Page, Classes, Owner);
}

// A program that has the design registry in it puts the classes its units
// register on the palette from the start, before any of them is looked up
// here; a runtime program, which links none of this, only makes them
// creatable by name.
[[maybe_unused]] const bool PaletteInstalled =
    (SetRegisterComponentsProc(&RegisterComponentsInCurrentTarget), true);

} // namespace

TDesignRegistry& DesignRegistry() {
    static TDesignRegistry Registry;
    return Registry;
}

TRegistrationScope::TRegistrationScope(TDesignRegistry& Registry, TRegistrationOwner Owner) {
    TRegistrationTarget& T = Target();
    std::lock_guard Guard(T.Lock);
    FPreviousRegistry = T.Registry;
    FPreviousOwner = T.Owner;
    T.Registry = &Registry;
    T.Owner = Owner;
}

TRegistrationScope::~TRegistrationScope() {
    TRegistrationTarget& T = Target();
    std::lock_guard Guard(T.Lock);
    T.Registry = FPreviousRegistry;
    T.Owner = FPreviousOwner;
}

String EditorTypeName(const std::type_info& Type) {
    int Status = 0;
    char* Demangled = abi::__cxa_demangle(Type.name(), nullptr, nullptr, &Status);
    String Name = Status == 0 && Demangled ? Demangled : Type.name();
    std::free(Demangled);
    // Only the class's own name: the namespaces say nothing to a person.
    const auto Colon = Name.rfind("::");
    return Colon == String::npos ? Name : Name.substr(Colon + 2);
}

std::vector<TComponentPaletteEntry> PaletteEntries() {
    return DesignRegistry().PaletteEntries();
}

String PalettePageOf(const TClassInfo& Class) {
    return DesignRegistry().PalettePageOf(Class);
}

void RegisterComponentIcon(const TClassInfo& Class, TComponentIconProc Draw) {
    auto [Registry, Owner] = CurrentTarget();
    Registry->RegisterComponentIcon(Class, Draw, Owner);
}

TComponentIconProc ComponentIcon(const TClassInfo& Class) {
    return DesignRegistry().ComponentIcon(Class);
}

void RegisterComponentEditor(const TClassInfo& ComponentClass, String EditorName,
                             TComponentEditorFactory Create) {
    auto [Registry, Owner] = CurrentTarget();
    Registry->RegisterComponentEditor(
        {&ComponentClass, std::move(EditorName), std::move(Create), Owner});
}

void RegisterPropertyEditor(TPropertyType PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName, String EditorName,
                            TPropertyEditorFactory Create) {
    auto [Registry, Owner] = CurrentTarget();
    Registry->RegisterPropertyEditor({std::move(PropertyType), ComponentClass, PropertyName,
                                      std::move(EditorName), std::move(Create), Owner});
}

std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer) {
    return DesignRegistry().GetComponentEditor(Component, Designer);
}

std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer,
                                                   std::vector<TPersistent*> Components,
                                                   const TPropInfo& Prop) {
    return DesignRegistry().GetPropertyEditor(Designer, std::move(Components), Prop);
}

void GetComponentProperties(const std::vector<TPersistent*>& Components, IDesigner* Designer,
                            const TGetPropProc& Proc, const TTypeKinds& Kinds) {
    DesignRegistry().GetComponentProperties(Components, Designer, Proc, Kinds);
}

} // namespace folio
