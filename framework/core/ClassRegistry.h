#pragma once

#include "framework/core/Types.h"

namespace folio {

class TComponent;
struct TClassInfo;

// The class registry: the classes a form file may name. Each unit registers
// the classes it can stream; the form reader creates components through it.
// Every call is thread-safe.
//
// Registrations stack by name: a class registered again under a name that is
// taken hides the earlier registration until it is unregistered, so a
// library that registers classes and is unloaded later leaves the registry
// as it found it.

/// Registers Class under its Name, hiding an earlier registration of the
/// name until this one is taken back.
void RegisterClass(const TClassInfo& Class);
/// Registration from a unit's static initialisation: the class information
/// is asked for only when the class is first looked up, since another unit's
/// static data that it is built from may not be ready yet.
void RegisterClass(const char* Name, const TClassInfo& (*Info)());
///@{
/// Takes back the latest registration of exactly this class (or this lazy
/// registration); other registrations under the name stay. An unknown one
/// is ignored.
void UnregisterClass(const TClassInfo& Class);
void UnregisterClass(const char* Name, const TClassInfo& (*Info)());
///@}
/// The class registered last under ClassName (exact case), or null.
const TClassInfo* GetClass(const String& ClassName);
/// GetClass that raises EInvalidOperation naming the class when the name is
/// unknown.
const TClassInfo& FindClass(const String& ClassName);
/// A new component of the class registered under ClassName, owned by
/// Owner. Raises EInvalidOperation when the name is unknown or the class
/// cannot be created by name (it was not built Creatable).
TComponent* CreateComponent(const String& ClassName, TComponent* Owner);

/// Registers a class for as long as the unit that defines it is loaded: a
/// shared library's classes leave the registry when it is unloaded.
class TClassRegistration {
public:
    /// Registers Name lazily (see RegisterClass).
    TClassRegistration(const char* Name, const TClassInfo& (*Info)());
    /// Takes the registration back.
    ~TClassRegistration();
    TClassRegistration(const TClassRegistration&) = delete;
    TClassRegistration& operator=(const TClassRegistration&) = delete;

private:
    const char* FName;
    const TClassInfo& (*FInfo)();
};

/// Registers a class when the unit that defines it is loaded.
#define FOLIO_REGISTER_CLASS(ThisClass)                                                            \
    namespace {                                                                                    \
    const ::folio::TClassRegistration ThisClass##Registration(#ThisClass,                          \
                                                              &ThisClass::StaticClassInfo);        \
    }

} // namespace folio
