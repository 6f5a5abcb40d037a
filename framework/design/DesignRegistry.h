#pragma once

#include "framework/core/Object.h"
#include "framework/design/ComponentEditor.h"
#include "framework/design/PropertyEditor.h"
#include "framework/ui/forms/Palette.h"

#include <functional>
#include <memory>
#include <typeinfo>
#include <vector>

namespace folio {

class TCanvas;
class TComponent;
class IDesigner;

// Who made a registration: a tag that a loaded package chooses (the
// address of something of its own), or null for the program itself. A
// package takes back everything registered under its tag before it is
// unloaded.
using TRegistrationOwner = const void*;

// The component palette: which component classes a designer offers, on which
// page (RegisterComponents puts them there).
struct TComponentPaletteEntry {
    String Page;
    const TClassInfo* Class = nullptr;
};

// Draws a component's palette icon filling R (a square: 24 x 24 at the
// standard resolution, 48 x 48 on a dense screen). Icons are drawn in code
// so that every size is crisp.
using TComponentIconProc = void (*)(TCanvas* Canvas, const TRect& R);

using TComponentEditorFactory =
    std::function<std::unique_ptr<TComponentEditor>(TComponent* Component, IDesigner* Designer)>;
using TPropertyEditorFactory = std::function<std::unique_ptr<TPropertyEditor>(
    IDesigner* Designer, std::vector<TPersistent*> Components, const TPropInfo& Prop)>;

struct TComponentEditorEntry {
    const TClassInfo* ComponentClass = nullptr;
    String EditorName;
    TComponentEditorFactory Create;
    TRegistrationOwner Owner = nullptr;
};

// The type a property editor is registered for: a class, which takes in
// the properties holding that class or a descendant, or the name of a type
// as the property tables spell it ("TColor", "Integer", "TFolAlignment").
struct TPropertyType {
    TPropertyType(const TClassInfo& AClass) : Class(&AClass), Name(AClass.Name) {}
    TPropertyType(String ATypeName) : Name(std::move(ATypeName)) {}
    TPropertyType(const char* ATypeName) : Name(ATypeName) {}
    const TClassInfo* Class = nullptr;
    String Name;
};

struct TPropertyEditorEntry {
    TPropertyType Type;
    // Null: the properties of any class; else of this class and its descendants.
    const TClassInfo* ComponentClass = nullptr;
    // Empty: properties of any name.
    String PropertyName;
    String EditorName;
    TPropertyEditorFactory Create;
    TRegistrationOwner Owner = nullptr;
};

// Which kinds of properties an inspector lists (its properties page and its
// events page).
using TTypeKinds = std::vector<TTypeKind>;
const TTypeKinds& PropertyKinds();
const TTypeKinds& EventKinds();

// What a designer knows of the components it offers and their editors: the
// palette, the component editors by component class and the property
// editors by property type, component class and property name. Lookups
// pick the most specific registration (see GetPropertyEditor) and fall
// back on the base component editor and the default property editors.
// A registry may be used from several threads.
class TDesignRegistry {
public:
    TDesignRegistry();
    ~TDesignRegistry();
    TDesignRegistry(const TDesignRegistry&) = delete;
    TDesignRegistry& operator=(const TDesignRegistry&) = delete;

    // Puts Classes on the palette page Page and makes them creatable by
    // name. A class registered again keeps its place and moves to the new
    // page (and to the new owner).
    void RegisterComponents(const String& Page, const std::vector<const TClassInfo*>& Classes,
                            TRegistrationOwner Owner = nullptr);
    void RegisterComponentEditor(TComponentEditorEntry Entry);
    void RegisterPropertyEditor(TPropertyEditorEntry Entry);
    // The icon of Class on the palette; the latest registration wins.
    void RegisterComponentIcon(const TClassInfo& Class, TComponentIconProc Draw,
                               TRegistrationOwner Owner = nullptr);
    // Null when the class has no icon of its own.
    TComponentIconProc ComponentIcon(const TClassInfo& Class) const;
    // Takes back everything registered under Owner, the class registrations
    // of its palette entries included.
    void Unregister(TRegistrationOwner Owner);

    std::vector<TComponentPaletteEntry> PaletteEntries() const;
    String PalettePageOf(const TClassInfo& Class) const;
    std::vector<TComponentEditorEntry> ComponentEditors() const;
    std::vector<TPropertyEditorEntry> PropertyEditors() const;

    // The editor of Component: the one registered for its class or the
    // nearest ancestor (the latest registration for a class wins), else the
    // base editor.
    std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component,
                                                         IDesigner* Designer) const;
    // The editor of property Prop of Components. Of the registrations that
    // take the property, the one that names the property wins over one that
    // does not, then the one for the nearest component class, then the one
    // for the nearest property class (a type name counts as the nearest),
    // then the latest. Without one, the default editor of the kind.
    std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer,
                                                       std::vector<TPersistent*> Components,
                                                       const TPropInfo& Prop) const;
    // Calls Proc with an editor, initialised, for each published property
    // of the given kinds that all Components have, in declaration order.
    // With several components only editors that take several (paMultiSelect)
    // are listed.
    void GetComponentProperties(const std::vector<TPersistent*>& Components, IDesigner* Designer,
                                const TGetPropProc& Proc,
                                const TTypeKinds& Kinds = PropertyKinds()) const;

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

// The program's registry, which the lookups below use.
TDesignRegistry& DesignRegistry();

// Sends the registrations that units make with the functions below (and
// RegisterComponents) to Registry under Owner while the scope lasts; a
// package's entry opens one around its Register calls. Scopes nest.
class TRegistrationScope {
public:
    TRegistrationScope(TDesignRegistry& Registry, TRegistrationOwner Owner);
    ~TRegistrationScope();
    TRegistrationScope(const TRegistrationScope&) = delete;
    TRegistrationScope& operator=(const TRegistrationScope&) = delete;

private:
    TDesignRegistry* FPreviousRegistry;
    TRegistrationOwner FPreviousOwner;
};

// The class name of an editor type, for listings ("TFolioGroupsPropEditor").
String EditorTypeName(const std::type_info& Type);

void RegisterComponentEditor(const TClassInfo& ComponentClass, String EditorName,
                             TComponentEditorFactory Create);
void RegisterPropertyEditor(TPropertyType PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName, String EditorName,
                            TPropertyEditorFactory Create);

void RegisterComponentIcon(const TClassInfo& Class, TComponentIconProc Draw);
TComponentIconProc ComponentIcon(const TClassInfo& Class);

template <class TEditor>
void RegisterComponentEditor(const TClassInfo& ComponentClass) {
    RegisterComponentEditor(ComponentClass, EditorTypeName(typeid(TEditor)),
                            [](TComponent* Component, IDesigner* Designer) {
                                return std::make_unique<TEditor>(Component, Designer);
                            });
}

template <class TEditor>
void RegisterPropertyEditor(TPropertyType PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName) {
    RegisterPropertyEditor(
        std::move(PropertyType), ComponentClass, PropertyName, EditorTypeName(typeid(TEditor)),
        [](IDesigner* Designer, std::vector<TPersistent*> Components, const TPropInfo& Prop) {
            return std::make_unique<TEditor>(Designer, std::move(Components), Prop);
        });
}

// The program registry's palette: every registration so far, in
// registration order (a class registered again keeps its first place and
// moves to the new page), and the page a class was registered on (empty when
// it was not).
std::vector<TComponentPaletteEntry> PaletteEntries();
String PalettePageOf(const TClassInfo& Class);

// The program registry's lookups.
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer);
std::unique_ptr<TPropertyEditor>
GetPropertyEditor(IDesigner* Designer, std::vector<TPersistent*> Components, const TPropInfo& Prop);
void GetComponentProperties(const std::vector<TPersistent*>& Components, IDesigner* Designer,
                            const TGetPropProc& Proc, const TTypeKinds& Kinds = PropertyKinds());

} // namespace folio
