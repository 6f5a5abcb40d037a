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

/// Who made a registration: a tag that a loaded package chooses (the
/// address of something of its own), or null for the program itself. A
/// package takes back everything registered under its tag before it is
/// unloaded.
using TRegistrationOwner = const void*;

/// The component palette: which component classes a designer offers, on which
/// page (RegisterComponents puts them there).
struct TComponentPaletteEntry {
    /// The palette page's caption ("Standard", "Marrow").
    String Page;
    /// The component class the palette offers there.
    const TClassInfo* Class = nullptr;
};

/// Draws a component's palette icon filling R (a square: 24 x 24 at the
/// standard resolution, 48 x 48 on a dense screen). Icons are drawn in code
/// so that every size is crisp.
using TComponentIconProc = void (*)(TCanvas* Canvas, const TRect& R);

/// Makes the editor of Component in Designer (which may be null).
using TComponentEditorFactory =
    std::function<std::unique_ptr<TComponentEditor>(TComponent* Component, IDesigner* Designer)>;
/// Makes the editor of property Prop of Components in Designer (which may
/// be null).
using TPropertyEditorFactory = std::function<std::unique_ptr<TPropertyEditor>(
    IDesigner* Designer, std::vector<TPersistent*> Components, const TPropInfo& Prop)>;

/// One component editor registration: the class it edits (and its
/// descendants), the editor's name for listings, how to make it, and who
/// registered it.
struct TComponentEditorEntry {
    /// The component class edited, with its descendants; never null.
    const TClassInfo* ComponentClass = nullptr;
    /// The editor's class name, for listings.
    String EditorName;
    /// Makes the editor; required.
    TComponentEditorFactory Create;
    /// The package that registered it; null for the program.
    TRegistrationOwner Owner = nullptr;
};

/// The type a property editor is registered for: a class, which takes in
/// the properties holding that class or a descendant, or the name of a type
/// as the property tables spell it ("TColor", "Integer", "TFolAlignment").
struct TPropertyType {
    /// Properties holding AClass or a descendant.
    TPropertyType(const TClassInfo& AClass) : Class(&AClass), Name(AClass.Name) {}
    ///@{
    /// Properties whose type is spelled ATypeName.
    TPropertyType(String ATypeName) : Name(std::move(ATypeName)) {}
    TPropertyType(const char* ATypeName) : Name(ATypeName) {}
    ///@}
    /// The class, or null for a type given by name.
    const TClassInfo* Class = nullptr;
    /// The type's name (the class name for a class).
    String Name;
};

/// One property editor registration: which properties it takes (by type,
/// component class and property name), the editor's name for listings, how
/// to make it, and who registered it.
struct TPropertyEditorEntry {
    /// The property type taken.
    TPropertyType Type;
    /// Null: the properties of any class; else of this class and its descendants.
    const TClassInfo* ComponentClass = nullptr;
    /// Empty: properties of any name.
    String PropertyName;
    /// The editor's class name, for listings.
    String EditorName;
    /// Makes the editor; required.
    TPropertyEditorFactory Create;
    /// The package that registered it; null for the program.
    TRegistrationOwner Owner = nullptr;
};

/// Which kinds of properties an inspector lists (its properties page and its
/// events page).
using TTypeKinds = std::vector<TTypeKind>;
/// The kinds a properties page lists: numbers, booleans, enumerations,
/// texts, colours, sets, objects and component references.
const TTypeKinds& PropertyKinds();
/// The kinds an events page lists: events (method properties).
const TTypeKinds& EventKinds();

/// What a designer knows of the components it offers and their editors: the
/// palette, the component editors by component class and the property
/// editors by property type, component class and property name. Lookups
/// pick the most specific registration (see GetPropertyEditor) and fall
/// back on the base component editor and the default property editors.
/// A registry may be used from several threads.
class TDesignRegistry {
public:
    /// An empty registry: no palette, no editors of its own.
    TDesignRegistry();
    ~TDesignRegistry();
    TDesignRegistry(const TDesignRegistry&) = delete;
    TDesignRegistry& operator=(const TDesignRegistry&) = delete;

    /// Puts Classes on the palette page Page and makes them creatable by
    /// name. A class registered again keeps its place and moves to the new
    /// page (and to the new owner).
    void RegisterComponents(const String& Page, const std::vector<const TClassInfo*>& Classes,
                            TRegistrationOwner Owner = nullptr);
    /// Adds a component editor registration. Raises EInvalidArgument when
    /// Entry has no component class or no Create.
    void RegisterComponentEditor(TComponentEditorEntry Entry);
    /// Adds a property editor registration. Raises EInvalidArgument when
    /// Entry has no Create.
    void RegisterPropertyEditor(TPropertyEditorEntry Entry);
    /// The icon of Class on the palette; the latest registration wins.
    /// Raises EInvalidArgument for a null Draw.
    void RegisterComponentIcon(const TClassInfo& Class, TComponentIconProc Draw,
                               TRegistrationOwner Owner = nullptr);
    /// Null when the class has no icon of its own.
    TComponentIconProc ComponentIcon(const TClassInfo& Class) const;
    /// Takes back everything registered under Owner, the class registrations
    /// of its palette entries included.
    void Unregister(TRegistrationOwner Owner);

    /// The palette, in registration order (a class registered again keeps
    /// its first place).
    std::vector<TComponentPaletteEntry> PaletteEntries() const;
    /// The page Class is on; empty when it is not on the palette.
    String PalettePageOf(const TClassInfo& Class) const;
    /// Every component editor registration, in registration order.
    std::vector<TComponentEditorEntry> ComponentEditors() const;
    /// Every property editor registration, in registration order.
    std::vector<TPropertyEditorEntry> PropertyEditors() const;

    /// The editor of Component: the one registered for its class or the
    /// nearest ancestor (the latest registration for a class wins), else the
    /// base editor.
    std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component,
                                                         IDesigner* Designer) const;
    /// The editor of property Prop of Components. Of the registrations that
    /// take the property, the one that names the property wins over one that
    /// does not, then the one for the nearest component class, then the one
    /// for the nearest property class (a type name counts as the nearest),
    /// then the latest. Without one, the default editor of the kind.
    std::unique_ptr<TPropertyEditor> GetPropertyEditor(IDesigner* Designer,
                                                       std::vector<TPersistent*> Components,
                                                       const TPropInfo& Prop) const;
    /// Calls Proc with an editor, initialised, for each published property
    /// of the given kinds that all Components have, in declaration order.
    /// With several components only editors that take several (paMultiSelect)
    /// are listed.
    void GetComponentProperties(const std::vector<TPersistent*>& Components, IDesigner* Designer,
                                const TGetPropProc& Proc,
                                const TTypeKinds& Kinds = PropertyKinds()) const;

private:
    struct TState;
    std::unique_ptr<TState> FState;
};

/// The program's registry, which the lookups below use.
TDesignRegistry& DesignRegistry();

/// Sends the registrations that units make with the functions below (and
/// RegisterComponents) to Registry under Owner while the scope lasts; a
/// package's entry opens one around its Register calls. Scopes nest.
class TRegistrationScope {
public:
    /// Sends registrations to Registry under Owner from now on.
    TRegistrationScope(TDesignRegistry& Registry, TRegistrationOwner Owner);
    /// Sends them back where they went before the scope opened.
    ~TRegistrationScope();
    TRegistrationScope(const TRegistrationScope&) = delete;
    TRegistrationScope& operator=(const TRegistrationScope&) = delete;

private:
    TDesignRegistry* FPreviousRegistry;
    TRegistrationOwner FPreviousOwner;
};

/// The class name of an editor type, for listings ("TFolioGroupsPropEditor").
String EditorTypeName(const std::type_info& Type);

/// Registers a component editor for ComponentClass with the open
/// registration scope's registry and owner (the program's registry, owned by
/// the program, outside any scope). Raises EInvalidArgument for a null
/// Create.
void RegisterComponentEditor(const TClassInfo& ComponentClass, String EditorName,
                             TComponentEditorFactory Create);
/// Registers a property editor for the properties of PropertyType on
/// ComponentClass (null: any class) named PropertyName (empty: any name),
/// with the open registration scope's registry and owner. Raises
/// EInvalidArgument for a null Create.
void RegisterPropertyEditor(TPropertyType PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName, String EditorName,
                            TPropertyEditorFactory Create);

/// Registers Class's palette icon with the open registration scope's
/// registry and owner. Raises EInvalidArgument for a null Draw.
void RegisterComponentIcon(const TClassInfo& Class, TComponentIconProc Draw);
/// The program registry's icon of Class; null when it has none.
TComponentIconProc ComponentIcon(const TClassInfo& Class);

/// Registers TEditor (made from a component and a designer) as the editor
/// of ComponentClass, named by its class name.
template <class TEditor>
void RegisterComponentEditor(const TClassInfo& ComponentClass) {
    RegisterComponentEditor(ComponentClass, EditorTypeName(typeid(TEditor)),
                            [](TComponent* Component, IDesigner* Designer) {
                                return std::make_unique<TEditor>(Component, Designer);
                            });
}

/// Registers TEditor (made as a TPropertyEditor is) as the editor of the
/// properties of PropertyType on ComponentClass (null: any class) named
/// PropertyName (empty: any name), named by its class name.
template <class TEditor>
void RegisterPropertyEditor(TPropertyType PropertyType, const TClassInfo* ComponentClass,
                            const String& PropertyName) {
    RegisterPropertyEditor(
        std::move(PropertyType), ComponentClass, PropertyName, EditorTypeName(typeid(TEditor)),
        [](IDesigner* Designer, std::vector<TPersistent*> Components, const TPropInfo& Prop) {
            return std::make_unique<TEditor>(Designer, std::move(Components), Prop);
        });
}

/// The program registry's palette: every registration so far, in
/// registration order (a class registered again keeps its first place and
/// moves to the new page), and the page a class was registered on (empty when
/// it was not).
///@{
std::vector<TComponentPaletteEntry> PaletteEntries();
String PalettePageOf(const TClassInfo& Class);
///@}

/// The program registry's lookups (TDesignRegistry::GetComponentEditor,
/// GetPropertyEditor and GetComponentProperties).
///@{
std::unique_ptr<TComponentEditor> GetComponentEditor(TComponent* Component, IDesigner* Designer);
std::unique_ptr<TPropertyEditor>
GetPropertyEditor(IDesigner* Designer, std::vector<TPersistent*> Components, const TPropInfo& Prop);
void GetComponentProperties(const std::vector<TPersistent*>& Components, IDesigner* Designer,
                            const TGetPropProc& Proc, const TTypeKinds& Kinds = PropertyKinds());
///@}

} // namespace folio
