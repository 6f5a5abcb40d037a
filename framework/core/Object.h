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

// What kind of value a published property holds.
enum class TTypeKind {
    tkInteger,
    tkBool,
    tkEnum,
    tkString,
    tkColor,
    tkSet,       // a set of named elements, held as bits (element I is bit I)
    tkClass,     // an owned persistent sub-object (a font, a collection)
    tkComponent, // a reference to another component
    tkMethod,    // an event
    tkFloat,     // a floating-point number: single, double or extended
};

// The class a tkClass or tkComponent property holds. It is looked up when
// first asked for, because a class may have a property of its own type, whose
// information is still being built when the property is declared.
class TClassRef {
public:
    TClassRef() = default;
    TClassRef(const TClassInfo* Class) : FClass(Class) {}
    explicit TClassRef(const TClassInfo& (*Resolve)()) : FResolve(Resolve) {}

    const TClassInfo* Get() const { return FResolve ? &FResolve() : FClass; }
    operator const TClassInfo*() const { return Get(); }
    const TClassInfo* operator->() const { return Get(); }

private:
    const TClassInfo* FClass = nullptr;
    const TClassInfo& (*FResolve)() = nullptr;
};

// One published property: its name and type, how to read and write it on an
// object, its declared default and whether it is stored. The form filer, the
// property editors and a designer host read these and nothing else.
struct TPropInfo {
    String Name;
    TTypeKind Kind = TTypeKind::tkInteger;
    String TypeName;
    std::vector<String> EnumNames;    // tkEnum: value names by ordinal; tkSet: element names
    std::optional<long long> Default; // ordinal kinds: the declared default
    // Ordinal kinds: the values the setter's type can hold, so that a form
    // file cannot slip a value through a narrowing conversion.
    long long MinValue = std::numeric_limits<long long>::min();
    long long MaxValue = std::numeric_limits<long long>::max();
    bool Published = true;
    TClassRef ObjectClass; // tkClass, tkComponent: the declared class

    std::function<long long(const TObject&)> GetOrd;
    std::function<void(TObject&, long long)> SetOrd;
    std::function<String(const TObject&)> GetStr;
    std::function<void(TObject&, const String&)> SetStr;
    // tkFloat: the value in the widest type, the declared default, and the
    // width of the property's own type in bytes (4 single, 8 double, more
    // extended), which a form keeps and which bounds what a form may set.
    std::function<long double(const TObject&)> GetFloat;
    std::function<void(TObject&, long double)> SetFloat;
    std::optional<long double> FloatDefault;
    int FloatSize = 8;
    std::function<TObject*(const TObject&)> GetObj;
    std::function<void(TObject&, TObject*)> SetObj;
    std::function<bool(const TObject&)> EventAssigned;
    // tkMethod: the handler type (an std::function type) and how to set it;
    // an empty value clears the event.
    const std::type_info* EventType = nullptr;
    std::function<void(TObject&, const std::any&)> SetEvent;
    std::function<bool(const TObject&)> StoredFn; // empty: always stored

    bool IsOrdinal() const {
        return Kind == TTypeKind::tkInteger || Kind == TTypeKind::tkBool ||
               Kind == TTypeKind::tkEnum || Kind == TTypeKind::tkColor || Kind == TTypeKind::tkSet;
    }
    bool IsStored(const TObject& Instance) const { return !StoredFn || StoredFn(Instance); }
    // True when an ordinal or float property holds its declared default (and
    // so is not written to a form file).
    bool HasDefaultValue(const TObject& Instance) const;

    // Enumeration values print and parse by name ("baVertical"); an unknown
    // name raises EConvertError.
    String EnumName(long long Ordinal) const;
    long long EnumValue(const String& Name) const;
};

// A method a class offers as an event handler by name: a form keeps a table
// of them, so that a form file can name a handler and the reader can bind it.
struct TMethodInfo {
    String Name;
    // The std::function type the method fits; an event takes it only when
    // this equals the event's type.
    const std::type_info* Type = nullptr;
    // Makes the handler: the method called on Instance, held in an std::any
    // as that std::function type.
    std::function<std::any(TObject& Instance)> Bind;
};

// A class's published properties, worked out when first asked for: a class's
// table does not change once it is built, and readers, writers and editors
// ask for it for every object they touch. A copy of a class's information
// works the list out again from its own table.
class TPublishedList {
public:
    using TList = std::vector<const TPropInfo*>;
    TPublishedList() = default;
    TPublishedList(const TPublishedList&) {}
    TPublishedList& operator=(const TPublishedList&) {
        Reset();
        return *this;
    }
    ~TPublishedList() { Reset(); }

    const TList* Get() const { return FList.load(std::memory_order_acquire); }
    // Keeps List unless another thread kept one first; answers the kept one.
    const TList& Keep(std::unique_ptr<TList> List) const;

private:
    void Reset() { delete FList.exchange(nullptr); }
    mutable std::atomic<const TList*> FList{nullptr};
};

// Run-time class information: name, parent and property table.
struct TClassInfo {
    String Name;
    const TClassInfo* Parent = nullptr;
    std::vector<TPropInfo> OwnProperties; // declared by this class, in order
    std::function<TComponent*(TComponent* Owner)> CreateComponent; // set for components
    std::vector<TMethodInfo> Methods = {};                         // event handlers offered by name
    TPublishedList Published = {};

    bool InheritsFrom(const TClassInfo& Other) const;
    // Published properties, the ancestors' first, in declaration order. A
    // property re-published by a descendant keeps its ancestor's position and
    // takes the descendant's default.
    const std::vector<const TPropInfo*>& PublishedProperties() const;
    const TPropInfo* FindProperty(const String& Name) const;
    // Any declared property, published or not, searched from this class up.
    const TPropInfo* FindDeclared(const String& Name) const;
    // A handler method by name, searched from this class up.
    const TMethodInfo* FindMethod(const String& Name) const;
};

// Declares the class-information members of a class; the .cpp defines
// StaticClassInfo() with a TClassBuilder or FOLIO_DEFINE_CLASS.
#define FOLIO_CLASS(ThisClass)                                                                     \
public:                                                                                            \
    static const ::folio::TClassInfo& StaticClassInfo();                                           \
    const ::folio::TClassInfo& ClassInfo() const override {                                        \
        return StaticClassInfo();                                                                  \
    }                                                                                              \
                                                                                                   \
private:

// The class information of a class that declares no properties of its own.
#define FOLIO_DEFINE_CLASS(ThisClass, BaseClass)                                                   \
    const ::folio::TClassInfo& ThisClass::StaticClassInfo() {                                      \
        static const ::folio::TClassInfo Info{#ThisClass, &BaseClass::StaticClassInfo(), {}, {}};  \
        return Info;                                                                               \
    }

class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
    const String& ClassName() const { return ClassInfo().Name; }
    bool InheritsFrom(const TClassInfo& Class) const { return ClassInfo().InheritsFrom(Class); }

    // Message dispatch: a class handles its message numbers in an override and
    // hands the rest to its base; the chain ends in DefaultHandler.
    virtual void Dispatch(TMessage& Message) { DefaultHandler(Message); }
    virtual void DefaultHandler(TMessage&) {}
};

class TPersistent : public TObject {
    FOLIO_CLASS(TPersistent)
public:
    // Copies Source into this object. The base asks Source to AssignTo this
    // object; two unrelated classes raise EConvertError naming both.
    virtual void Assign(const TPersistent* Source);
    virtual void DefineProperties(TFiler* Filer);
    virtual TPersistent* GetOwner() const { return nullptr; }
    virtual String GetNamePath() const;

protected:
    virtual void AssignTo(TPersistent* Dest) const;
    [[noreturn]] void AssignError(const TPersistent* Source) const;
};

} // namespace folio
