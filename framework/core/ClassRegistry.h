#pragma once

#include "framework/core/Types.h"

namespace folio {

class TComponent;
struct TClassInfo;

// The class registry: the classes a form file may name. Each unit registers
// the classes it can stream; the form reader creates components through it.
void RegisterClass(const TClassInfo& Class);
// Registration from a unit's static initialisation: the class information
// is asked for only when the class is first looked up, since another unit's
// static data that it is built from may not be ready yet.
void RegisterClass(const char* Name, const TClassInfo& (*Info)());
const TClassInfo* GetClass(const String& ClassName);
// Raises EInvalidOperation naming the class when the name is unknown.
const TClassInfo& FindClass(const String& ClassName);
TComponent* CreateComponent(const String& ClassName, TComponent* Owner);

// Registers a class when the unit that defines it is loaded.
#define FOLIO_REGISTER_CLASS(ThisClass)                                                            \
    namespace {                                                                                    \
    [[maybe_unused]] const bool ThisClass##Registered =                                            \
        (::folio::RegisterClass(#ThisClass, &ThisClass::StaticClassInfo), true);                   \
    }

} // namespace folio
