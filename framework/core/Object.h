#pragma once

#include "framework/core/Messages.h"
#include "framework/core/Types.h"

#include <any>
#include <atomic>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <typeinfo>
#include <vector>

namespace folio {

class TObject;
class TComponent;
class TFiler;
struct TClassInfo;

/// What kind of value a published property holds; it decides how the
/// property is read, written to a form file and edited.
enum class TTypeKind {
    tkInteger,
    tkBool,
    tkEnum, ///< one of named values, held by ordinal
    tkString,
    tkColor,     ///< a TColor, written by name where the colour has one
    tkSet,       ///< a set of named elements, held as bits (element I is bit I)
    tkClass,     ///< an owned persistent sub-object (a font, a collection)
    tkComponent, ///< a reference to another component
    tkMethod,    ///< an event
    tkFloat,     ///< a floating-point number: single, double or extended
};

/// The class a tkClass or tkComponent property holds. It is looked up when
/// first asked for, because a class may have a property of its own type, whose
/// information is still being built when the property is declared.
class TClassRef {
public:
    /// No class: Get answers null.
    TClassRef() = default;
    /// A class whose information already exists.
    TClassRef(const TClassInfo* Class) : FClass(Class) {}
    /// A class looked up by calling Resolve (a StaticClassInfo) when asked for.
    explicit TClassRef(const TClassInfo& (*Resolve)()) : FResolve(Resolve) {}

    ///@{
    /// The class's information, or null when no class was given.
    const TClassInfo* Get() const { return FResolve ? &FResolve() : FClass; }
    operator const TClassInfo*() const { return Get(); }
    const TClassInfo* operator->() const { return Get(); }
    ///@}

private:
    const TClassInfo* FClass = nullptr;
    const TClassInfo& (*FResolve)() = nullptr;
};

/// One published property: its name and type, how to read and write it on an
/// object, its declared default and whether it is stored. The form filer, the
/// property editors and a designer host read these and nothing else.
struct TPropInfo {
    /// The property's name as a form file and the object inspector show it.
    String Name;
    /// What kind of value it holds.
    TTypeKind Kind = TTypeKind::tkInteger;
    /// The name of its type ("TColor", "TAlign"), shown by editors and in errors.
    String TypeName;
    /// tkEnum: the value names by ordinal; tkSet: the element names by bit.
    std::vector<String> EnumNames;
    /// Ordinal kinds: the declared default, not written to a form file; none
    /// means the value is always written.
    std::optional<long long> Default;
    ///@{
    /// Ordinal kinds: the values the setter's type can hold, so that a form
    /// file cannot slip a value through a narrowing conversion.
    long long MinValue = std::numeric_limits<long long>::min();
    long long MaxValue = std::numeric_limits<long long>::max();
    ///@}
    /// False for a property declared for descendants to publish: it is not in
    /// PublishedProperties and not written to forms.
    bool Published = true;
    /// tkClass, tkComponent: the declared class of the object held.
    TClassRef ObjectClass;

    ///@{
    /// Ordinal kinds (integer, bool, enum, colour, set): read and write the
    /// value as a number.
    std::function<long long(const TObject&)> GetOrd;
    std::function<void(TObject&, long long)> SetOrd;
    ///@}
    ///@{
    /// tkString: read and write the text.
    std::function<String(const TObject&)> GetStr;
    std::function<void(TObject&, const String&)> SetStr;
    ///@}
    ///@{
    /// tkFloat: the value in the widest type, the declared default, and the
    /// width of the property's own type in bytes (4 single, 8 double, more
    /// extended), which a form keeps and which bounds what a form may set.
    std::function<long double(const TObject&)> GetFloat;
    std::function<void(TObject&, long double)> SetFloat;
    std::optional<long double> FloatDefault;
    int FloatSize = 8;
    ///@}
    ///@{
    /// tkClass, tkComponent: the object held (a sub-object or a referenced
    /// component), or null; SetObj assigns a sub-object or sets a reference.
    std::function<TObject*(const TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;
    ///@}
    /// tkMethod: true when the event has a handler.
    std::function<bool(const TObject&)> EventAssigned;
    ///@{
    /// tkMethod: the handler type (an std::function type) and how to set it;
    /// an empty value clears the event.
    const std::type_info* EventType = nullptr;
    std::function<void(TObject&, const std::any&)> SetEvent;
    ///@}
    /// Whether the property is written for an object; empty means always.
    std::function<bool(const TObject&)> StoredFn;

    /// True for the kinds held as a number: integer, bool, enum, colour, set.
    bool IsOrdinal() const {
        return Kind == TTypeKind::tkInteger || Kind == TTypeKind::tkBool ||
               Kind == TTypeKind::tkEnum || Kind == TTypeKind::tkColor || Kind == TTypeKind::tkSet;
    }
    /// Whether Instance's value is written to a form file (StoredFn, or true).
    bool IsStored(const TObject& Instance) const { return !StoredFn || StoredFn(Instance); }
    /// True when an ordinal or float property holds its declared default (and
    /// so is not written to a form file). A float's -0.0 is not a default 0.0;
    /// a property without a default never holds it.
    bool HasDefaultValue(const TObject& Instance) const;

    /// The name of an enumeration value ("baVertical"); an ordinal outside
    /// the names prints as its number.
    String EnumName(long long Ordinal) const;
    /// The ordinal of the value called Name (exact case); an unknown name
    /// raises EConvertError naming the type and the property.
    long long EnumValue(const String& Name) const;
};

/// A method a class offers as an event handler by name: a form keeps a table
/// of them, so that a form file can name a handler and the reader can bind it.
struct TMethodInfo {
    /// The name a form file gives the handler ("Button1Click").
    String Name;
    /// The std::function type the method fits; an event takes it only when
    /// this equals the event's type.
    const std::type_info* Type = nullptr;
    /// Makes the handler: the method called on Instance, held in an std::any
    /// as that std::function type.
    std::function<std::any(TObject& Instance)> Bind;
};

/// A class's published properties, worked out when first asked for: a class's
/// table does not change once it is built, and readers, writers and editors
/// ask for it for every object they touch. A copy of a class's information
/// works the list out again from its own table. Safe to fill from several
/// threads at once.
class TPublishedList {
public:
    /// The properties, in the order PublishedProperties gives them.
    using TList = std::vector<const TPropInfo*>;
    /// Nothing worked out yet.
    TPublishedList() = default;
    ///@{
    /// A copy starts empty: the list points into its own class's table.
    TPublishedList(const TPublishedList&) {}
    TPublishedList& operator=(const TPublishedList&) {
        Reset();
        return *this;
    }
    ///@}
    /// Frees the kept list.
    ~TPublishedList() { Reset(); }

    /// The kept list, or null before one is kept.
    const TList* Get() const { return FList.load(std::memory_order_acquire); }
    /// Keeps List unless another thread kept one first; answers the kept one.
    const TList& Keep(std::unique_ptr<TList> List) const;

private:
    void Reset() { delete FList.exchange(nullptr); }
    mutable std::atomic<const TList*> FList{nullptr};
};

/// Run-time class information: name, parent and property table. Each class
/// has one, answered by its StaticClassInfo(); a form file names classes by
/// Name, and the class registry finds them by it.
struct TClassInfo {
    /// The class's name ("TButton"), as form files write it.
    String Name;
    /// The base class's information; null for TObject.
    const TClassInfo* Parent = nullptr;
    /// The properties this class declares, in declaration order.
    std::vector<TPropInfo> OwnProperties;
    /// Makes an instance owned by Owner; set for components that a form
    /// reader may create, empty otherwise.
    std::function<TComponent*(TComponent* Owner)> CreateComponent;
    /// The methods this class offers as event handlers by name.
    std::vector<TMethodInfo> Methods = {};
    /// The published properties, worked out once (see PublishedProperties).
    TPublishedList Published = {};

    /// True when this class is Other or descends from it.
    bool InheritsFrom(const TClassInfo& Other) const;
    /// Published properties, the ancestors' first, in declaration order. A
    /// property re-published by a descendant keeps its ancestor's position and
    /// takes the descendant's default.
    const std::vector<const TPropInfo*>& PublishedProperties() const;
    /// The published property called Name (exact case), or null.
    const TPropInfo* FindProperty(const String& Name) const;
    /// Any declared property, published or not, searched from this class up;
    /// null when none has the name.
    const TPropInfo* FindDeclared(const String& Name) const;
    /// A handler method by name, searched from this class up; null when none.
    const TMethodInfo* FindMethod(const String& Name) const;
};

/// Declares the class-information members of a class; the .cpp defines
/// StaticClassInfo() with a TClassBuilder or FOLIO_DEFINE_CLASS.
#define FOLIO_CLASS(ThisClass)                                                                     \
public:                                                                                            \
    static const ::folio::TClassInfo& StaticClassInfo();                                           \
    const ::folio::TClassInfo& ClassInfo() const override {                                        \
        return StaticClassInfo();                                                                  \
    }                                                                                              \
                                                                                                   \
private:

/// The class information of a class that declares no properties of its own.
#define FOLIO_DEFINE_CLASS(ThisClass, BaseClass)                                                   \
    const ::folio::TClassInfo& ThisClass::StaticClassInfo() {                                      \
        static const ::folio::TClassInfo Info{#ThisClass, &BaseClass::StaticClassInfo(), {}, {}};  \
        return Info;                                                                               \
    }

/// The root of the framework's classes: run-time class information (name,
/// ancestry, published properties) and message dispatch.
class TObject {
public:
    virtual ~TObject() = default;

    /// The information of this class itself (each class declares its own).
    static const TClassInfo& StaticClassInfo();
    /// The information of the object's actual class.
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    /// The actual class's name ("TButton").
    const String& ClassName() const { return ClassInfo().Name; }
    /// True when the object's class is Class or descends from it.
    bool InheritsFrom(const TClassInfo& Class) const { return ClassInfo().InheritsFrom(Class); }

    /// Message dispatch: a class handles its message numbers in an override and
    /// hands the rest to its base; the chain ends in DefaultHandler.
    virtual void Dispatch(TMessage& Message) { DefaultHandler(Message); }
    /// What happens to a message no class handles; the base does nothing.
    virtual void DefaultHandler(TMessage&) {}
};

/// An object that can be copied from another (Assign) and written to and read
/// from a form file through its published properties.
class TPersistent : public TObject {
    FOLIO_CLASS(TPersistent)
public:
    /// Copies Source into this object. The base asks Source to AssignTo this
    /// object; two unrelated classes, or a null Source, raise EConvertError
    /// naming both.
    virtual void Assign(const TPersistent* Source);
    /// Lets the object add properties of its own to a form file, beyond its
    /// published ones, through Filer's DefineProperty calls; the base adds none.
    virtual void DefineProperties(TFiler* Filer);
    /// The object this one belongs to (a control for its font, a collection
    /// for its item), used for GetNamePath; the base has none.
    virtual TPersistent* GetOwner() const { return nullptr; }
    /// The name a designer and error messages show for the object. The base
    /// answers the owner's path, a dot and the class name (the class name
    /// alone without an owner); a component answers its Name.
    virtual String GetNamePath() const;

protected:
    /// Copies this object into Dest, for Dest's Assign; the base raises the
    /// EConvertError of two classes that cannot be assigned.
    virtual void AssignTo(TPersistent* Dest) const;
    /// Raises EConvertError: Source (named "nil" when null) cannot be
    /// assigned to this object's class.
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

} // namespace folio
