#pragma once

#include "framework/core/Types.h"

namespace folio {

// Numbered string resources of the framework.
enum : int {
    SSamplesPage = 101,     // the palette page of the sample controls
    SGraphPointsFull = 102, // the performance graph's range error
};

// The text of string resource Ident; an empty string for an unknown number.
String LoadStr(int Ident);

// Named resource strings. Those with placeholders are printf formats.
extern const char* const SOutOfRange; // two integers: lowest and highest allowed value
extern const char* const SFG;
extern const char* const SBG;
extern const char* const SFB;
extern const char* const SAssignError;    // two class names: source and target
extern const char* const SListIndexError; // one integer
extern const char* const SReadError;
extern const char* const SWriteError;
extern const char* const SFCreateError; // file name and the system's reason
extern const char* const SFOpenError;   // file name and the system's reason
extern const char* const SInvalidDate;
extern const char* const SDuplicateName; // one component name
extern const char* const SInvalidName;   // one component name
extern const char* const SClassNotFound; // one class name

} // namespace folio
