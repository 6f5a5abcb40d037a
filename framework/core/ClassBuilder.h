#pragma once

#include "framework/core/Exceptions.h"
#include "framework/core/Object.h"

#include <initializer_list>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>

namespace folio {

class TComponent;

/// Builds the class information of T: its published properties in declaration
/// order, from T's own getter and setter members. Each call declares one
/// property and answers the builder, so that calls chain:
///
/// \code
///   static const TClassInfo Info =
///       TClassBuilder<TFolio>("TFolio", &TCustomControl::StaticClassInfo())
///           .Int("GroupCaptionHeight", &TFolio::GetGroupCaptionHeight,
///                &TFolio::SetGroupCaptionHeight, 20)
///           .Publish("Align")
///           .Build();
/// \endcode
///
/// A property without a Default is always written to a form file; a null
/// setter makes it read-only.
template <class T>
class TClassBuilder {
public:
    /// The information of class Name, whose base class's information is Parent.
    TClassBuilder(const char* Name, const TClassInfo* Parent) {
        FInfo.Name = Name;
        FInfo.Parent = Parent;
    }

    /// An integer. Its range is that of the setter's parameter type, so a
    /// form cannot set a value the type would narrow.
    template <class V, class S>
    TClassBuilder& Int(const char* Name, V (T::*Get)() const, void (T::*Set)(S),
                       std::optional<long long> Default = std::nullopt) {
        static_assert(std::is_integral_v<V>);
        return Ordinal(Name, TTypeKind::tkInteger, "Integer", Get, Set, Default);
    }
    /// A true or false value.
    TClassBuilder& Bool(const char* Name, bool (T::*Get)() const, void (T::*Set)(bool),
                        std::optional<bool> Default = std::nullopt) {
        std::optional<long long> D;
        if (Default) D = *Default ? 1 : 0;
        return Ordinal(Name, TTypeKind::tkBool, "Boolean", Get, Set, D);
    }
    /// One of an enumeration's values, named in a form file by Names (value
    /// I is Names[I]); TypeName is the enumeration's name.
    template <class E>
    TClassBuilder& Enum(const char* Name, const char* TypeName, std::vector<String> Names,
                        E (T::*Get)() const, void (T::*Set)(E),
                        std::optional<std::type_identity_t<E>> Default = std::nullopt) {
        static_assert(std::is_enum_v<E>);
        std::optional<long long> D;
        if (Default) D = static_cast<long long>(*Default);
        Ordinal(Name, TTypeKind::tkEnum, TypeName, Get, Set, D);
        FInfo.OwnProperties.back().EnumNames = std::move(Names);
        return *this;
    }
    /// A set of named elements held as bits: element I of Names is bit I.
    template <class V, class S>
    TClassBuilder& Set(const char* Name, const char* TypeName, std::vector<String> Names,
                       V (T::*Get)() const, void (T::*Setter)(S),
                       std::optional<long long> Default = std::nullopt) {
        Ordinal(Name, TTypeKind::tkSet, TypeName, Get, Setter, Default);
        TPropInfo& P = FInfo.OwnProperties.back();
        P.MinValue = 0;
        P.MaxValue =
            Names.size() >= 63 ? std::numeric_limits<long long>::max() : (1LL << Names.size()) - 1;
        P.EnumNames = std::move(Names);
        return *this;
    }
    /// A colour, written by name where it has one.
    TClassBuilder& Color(const char* Name, TColor (T::*Get)() const, void (T::*Set)(TColor),
                         std::optional<TColor> Default = std::nullopt) {
        std::optional<long long> D;
        if (Default) D = *Default;
        return Ordinal(Name, TTypeKind::tkColor, "TColor", Get, Set, D);
    }
    ///@{
    /// A string; the getter may answer a copy or a reference.
    template <class S>
    TClassBuilder& Str(const char* Name, String (T::*Get)() const, void (T::*Set)(S)) {
        TPropInfo P = Start(Name, TTypeKind::tkString, "String");
        P.GetStr = [Get](const TObject& O) { return (static_cast<const T&>(O).*Get)(); };
        if (Set) P.SetStr = [Set](TObject& O, const String& V) { (static_cast<T&>(O).*Set)(V); };
        FInfo.OwnProperties.push_back(std::move(P));
        return *this;
    }
    template <class S>
    TClassBuilder& Str(const char* Name, const String& (T::*Get)() const, void (T::*Set)(S)) {
        TPropInfo P = Start(Name, TTypeKind::tkString, "String");
        P.GetStr = [Get](const TObject& O) { return (static_cast<const T&>(O).*Get)(); };
        if (Set) P.SetStr = [Set](TObject& O, const String& V) { (static_cast<T&>(O).*Set)(V); };
        FInfo.OwnProperties.push_back(std::move(P));
        return *this;
    }
    ///@}
    /// A floating-point number of type float, double or long double. A form
    /// stores a float as a single and the others as extended floats; a
    /// property with a declared default is not stored while it holds it.
    template <class V, class S>
    TClassBuilder& Float(const char* Name, V (T::*Get)() const, void (T::*Set)(S),
                         std::optional<std::type_identity_t<V>> Default = std::nullopt) {
        static_assert(std::is_floating_point_v<V>);
        using Arg = std::remove_cvref_t<S>;
        static_assert(std::is_floating_point_v<Arg>);
        TPropInfo P = Start(Name, TTypeKind::tkFloat,
                            std::is_same_v<V, float>    ? "Single"
                            : std::is_same_v<V, double> ? "Double"
                                                        : "Extended");
        P.FloatSize = static_cast<int>(sizeof(V) > 8 ? 10 : sizeof(V));
        if (Default) P.FloatDefault = static_cast<long double>(*Default);
        P.GetFloat = [Get](const TObject& O) {
            return static_cast<long double>((static_cast<const T&>(O).*Get)());
        };
        if (Set)
            P.SetFloat = [Set](TObject& O, long double Value) {
                (static_cast<T&>(O).*Set)(static_cast<Arg>(Value));
            };
        FInfo.OwnProperties.push_back(std::move(P));
        return *this;
    }
    /// An owned persistent sub-object (a font, a collection). Writing it copies
    /// the given object into the owned one through the setter.
    template <class O, class S>
    TClassBuilder& Object(const char* Name, O* (T::*Get)() const, void (T::*Set)(S*)) {
        return ObjectLike(Name, TTypeKind::tkClass, Get, Set);
    }
    /// A reference to another component (an image list, a popup menu).
    template <class O, class S>
    TClassBuilder& Component(const char* Name, O* (T::*Get)() const, void (T::*Set)(S*)) {
        return ObjectLike(Name, TTypeKind::tkComponent, Get, Set);
    }
    /// An event: an std::function member.
    template <class F>
    TClassBuilder& Event(const char* Name, F T::*Member) {
        TPropInfo P = Start(Name, TTypeKind::tkMethod, "Event");
        P.EventAssigned = [Member](const TObject& O) {
            return static_cast<bool>(static_cast<const T&>(O).*Member);
        };
        P.EventType = &typeid(F);
        P.SetEvent = [Member](TObject& O, const std::any& Handler) {
            F& Slot = static_cast<T&>(O).*Member;
            if (Handler.has_value())
                Slot = std::any_cast<const F&>(Handler);
            else
                Slot = nullptr;
        };
        FInfo.OwnProperties.push_back(std::move(P));
        return *this;
    }

    /// A method the class offers as an event handler by name (a form's
    /// handlers). It fits the events whose type is std::function of the
    /// method's own signature.
    template <class R, class... A>
    TClassBuilder& Method(const char* Name, R (T::*Handler)(A...)) {
        using F = std::function<R(A...)>;
        TMethodInfo M;
        M.Name = Name;
        M.Type = &typeid(F);
        M.Bind = [Handler](TObject& Instance) -> std::any {
            T* Self = &static_cast<T&>(Instance);
            return F([Self, Handler](A... Args) -> R {
                return (Self->*Handler)(std::forward<A>(Args)...);
            });
        };
        FInfo.Methods.push_back(std::move(M));
        return *this;
    }

    /// Makes the last property declared-only: descendants may publish it.
    TClassBuilder& Unpublished() {
        FInfo.OwnProperties.back().Published = false;
        return *this;
    }
    /// Names the type of the last property more narrowly than its kind does
    /// (an integer that is a "TCursor"), so that a designer can pick an
    /// editor that knows its values' names.
    TClassBuilder& OfType(const char* TypeName) {
        FInfo.OwnProperties.back().TypeName = TypeName;
        return *this;
    }
    /// Decides whether the last property is stored in a form file.
    TClassBuilder& Stored(std::function<bool(const T&)> Predicate) {
        FInfo.OwnProperties.back().StoredFn = [Predicate](const TObject& O) {
            return Predicate(static_cast<const T&>(O));
        };
        return *this;
    }
    /// The last property is never stored in a form file (it follows from
    /// another that is, as a font's Size from its Height).
    TClassBuilder& NotStored() {
        FInfo.OwnProperties.back().StoredFn = [](const TObject&) { return false; };
        return *this;
    }
    ///@{
    /// Publishes a property an ancestor declared, optionally with a new
    /// default; a name no ancestor declares raises EInvalidOperation.
    TClassBuilder& Publish(const char* Name);
    TClassBuilder& Publish(const char* Name, long long Default);
    ///@}
    ///@{
    /// Publishes several at once, each with its declared default.
    TClassBuilder& Publish(std::span<const char* const> Names) {
        for (const char* Name : Names) Publish(Name);
        return *this;
    }
    TClassBuilder& Publish(std::initializer_list<const char*> Names) {
        return Publish(std::span<const char* const>(Names.begin(), Names.size()));
    }
    ///@}
    /// Lets the class registry create instances by name with an owner.
    TClassBuilder& Creatable() {
        if constexpr (std::is_constructible_v<T, TComponent*>)
            FInfo.CreateComponent = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
        return *this;
    }

    /// The finished information; the builder is spent.
    TClassInfo Build() { return std::move(FInfo); }

private:
    TPropInfo Start(const char* Name, TTypeKind Kind, const char* TypeName) {
        TPropInfo P;
        P.Name = Name;
        P.Kind = Kind;
        P.TypeName = TypeName;
        return P;
    }

    template <class V, class S>
    TClassBuilder& Ordinal(const char* Name, TTypeKind Kind, const char* TypeName,
                           V (T::*Get)() const, void (T::*Set)(S),
                           std::optional<long long> Default) {
        TPropInfo P = Start(Name, Kind, TypeName);
        P.Default = Default;
        if (Set) {
            using Arg = std::remove_cvref_t<S>;
            using U = typename std::conditional_t<std::is_enum_v<Arg>, std::underlying_type<Arg>,
                                                  std::type_identity<Arg>>::type;
            if constexpr (std::is_same_v<U, bool>) {
                P.MinValue = 0;
                P.MaxValue = 1;
            } else if constexpr (std::is_unsigned_v<U> && sizeof(U) >= sizeof(long long)) {
                P.MinValue = 0;
            } else {
                P.MinValue = static_cast<long long>(std::numeric_limits<U>::min());
                P.MaxValue = static_cast<long long>(std::numeric_limits<U>::max());
            }
        }
        P.GetOrd = [Get](const TObject& O) {
            return static_cast<long long>((static_cast<const T&>(O).*Get)());
        };
        if (Set)
            P.SetOrd = [Set](TObject& O, long long Value) {
                using Arg = std::remove_cvref_t<S>;
                (static_cast<T&>(O).*Set)(static_cast<Arg>(Value));
            };
        FInfo.OwnProperties.push_back(std::move(P));
        return *this;
    }

    template <class O, class S>
    TClassBuilder& ObjectLike(const char* Name, TTypeKind Kind, O* (T::*Get)() const,
                              void (T::*Set)(S*)) {
        // A property of the class's own type must not ask for the class
        // information that is being built right now.
        TPropInfo P = Start(Name, Kind, "");
        P.TypeName = std::is_same_v<O, T> ? FInfo.Name : O::StaticClassInfo().Name;
        P.ObjectClass = TClassRef(&O::StaticClassInfo);
        P.GetObj = [Get](const TObject& Obj) -> TObject* {
            return (static_cast<const T&>(Obj).*Get)();
        };
        if (Set)
            P.SetObj = [Set, Name = P.Name, TypeName = P.TypeName](TObject& Obj, TObject* Value) {
                S* Typed = dynamic_cast<S*>(Value);
                // An object of the wrong class must not quietly become a nil reference.
                if (Value && !Typed)
                    throw EInvalidCast("Property " + Name + " takes a " + TypeName + ", not a " +
                                       Value->ClassName());
                (static_cast<T&>(Obj).*Set)(Typed);
            };
        FInfo.OwnProperties.push_back(std::move(P));
        return *this;
    }

    TClassInfo FInfo;
};

/// Shared by every instantiation: looks a declared property up in the
/// ancestors (Parent and up); raises EInvalidOperation, naming ClassName,
/// when none declares it.
const TPropInfo& FindAncestorProperty(const TClassInfo* Parent, const char* Name,
                                      const String& ClassName);

template <class T>
TClassBuilder<T>& TClassBuilder<T>::Publish(const char* Name) {
    TPropInfo P = FindAncestorProperty(FInfo.Parent, Name, FInfo.Name);
    P.Published = true;
    FInfo.OwnProperties.push_back(std::move(P));
    return *this;
}

template <class T>
TClassBuilder<T>& TClassBuilder<T>::Publish(const char* Name, long long Default) {
    Publish(Name);
    FInfo.OwnProperties.back().Default = Default;
    return *this;
}

} // namespace folio
