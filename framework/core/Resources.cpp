#include "framework/core/Resources.h"

namespace folio {

const char* const SOutOfRange = "Value must be between %d and %d";
const char* const SFG = "FG";
const char* const SBG = "BG";
const char* const SFB = "FB";
const char* const SAssignError = "Cannot assign a %s to a %s";
const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SReadError = "Stream read error";
const char* const SWriteError = "Stream write error";
const char* const SFCreateError = "Cannot create file \"%s\". %s";
const char* const SFOpenError = "Cannot open file \"%s\". %s";
const char* const SInvalidDate = "Invalid argument to date encode";
const char* const SDuplicateName = "A component named %s already exists";
const char* const SInvalidName = "'%s' is not a valid component name";
const char* const SClassNotFound = "Class %s not found";

String LoadStr(int Ident) {
    switch (Ident) {
    case SSamplesPage:
        return "Samples";
    case SGraphPointsFull:
        return "A step of the performance graph holds at most 16 data points";
    default:
        return String();
    }
}

} // namespace folio
