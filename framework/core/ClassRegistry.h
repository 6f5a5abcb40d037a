#pragma once

#include "framework/core/Types.h"

namespace folio {

class TComponent;
struct TClassInfo;

// The class registry: the classes a form file may name. Each unit registers
// the classes it can stream; the form reader creates components through it.
//
// Registrations stack by name: a class registered again under a name that is
// taken hides the earlier registration until it is unregistered, so a
// library that registers classes and is unloaded later leaves the registry
// as it found it.
void RegisterClass(const TClassInfo& Class);
// Registration from a unit's static initialisation: the class information
// is asked for only when the class is first looked up, since another unit's
// static data that it is built from may not be ready yet.
void RegisterClass(const char* Name, const TClassInfo& (*Info)());
// Takes back the latest registration of exactly this class (or this lazy
// registration); other registrations under the name stay.
void UnregisterClass(const TClassInfo& Class);
void UnregisterClass(const char* Name, const TClassInfo& (*Info)());
const TClassInfo* GetClass(const String& ClassName);
// Raises EInvalidOperation naming the class when the name is unknown.
const TClassInfo& FindClass(const String& ClassName);
TComponent* CreateComponent(const String& ClassName, TComponent* Owner);

// Registers a class for as long as the unit that defines it is loaded: a
// shared library's classes leave the registry when it is unloaded.
class TClassRegistration {
public:
    TClassRegistration(const char* Name, const TClassInfo& (*Info)());
    ~TClassRegistration();
    TClassRegistration(const TClassRegistration&) = delete;
    TClassRegistration& operator=(const TClassRegistration&) = delete;

private:
    const char* FName;
    const TClassInfo& (*FInfo)();
};

// Registers a class when the unit that defines it is loaded.
#define FOLIO_REGISTER_CLASS(ThisClass)                                                            \
    namespace {                                                                                    \
    const ::folio::TClassRegistration ThisClass##Registration(#ThisClass,                          \
                                                              &ThisClass::StaticClassInfo);        \
    }

} // namespace folio
