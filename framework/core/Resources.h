#pragma once

#include "framework/core/Types.h"

#include <initializer_list>

namespace folio {

// Numbered string resources. Each unit owns the numbers of its own strings
// and registers their texts with a TResourceStrings object at namespace
// scope, so they are known from the start of main on; the framework itself
// holds none yet.

/// The text of string resource Ident; an empty string for a number that no
/// unit linked into the program registered. Each unit owns the numbers of
/// its own strings and registers their texts with a TResourceStrings object
/// at namespace scope, so they are known from the start of main on.
String LoadStr(int Ident);

/// Registers a unit's numbered strings on construction (registrations last
/// for the whole program). Registering a number again with the same text is
/// harmless; with another text it raises EInvalidOperation, since two units
/// would then disagree about what the number means.
class TResourceStrings {
public:
    /// One string: its number and its text.
    struct TEntry {
        int Ident;        ///< the number LoadStr takes
        const char* Text; ///< the text (copied when registered)
    };
    /// Registers Entries; a number already registered with another text
    /// raises EInvalidOperation.
    TResourceStrings(std::initializer_list<TEntry> Entries);
};

// Named resource strings of the framework. Those with placeholders are
// printf formats; each says what it takes.
extern const char* const SOutOfRange;     ///< two integers: lowest and highest allowed value
extern const char* const SAssignError;    ///< two class names: source and target
extern const char* const SListIndexError; ///< one integer
extern const char* const SReadError;      ///< a stream read fewer bytes than asked
extern const char* const SWriteError;     ///< a stream wrote fewer bytes than asked
extern const char* const SFCreateError;   ///< file name and the system's reason
extern const char* const SFOpenError;     ///< file name and the system's reason
extern const char* const SInvalidDate;    ///< a date that does not exist
extern const char* const SDuplicateName;  ///< one component name
extern const char* const SInvalidName;    ///< one component name
extern const char* const SNameTooLong;    ///< the longest allowed, the name, its length
extern const char* const SClassNotFound;  ///< one class name

} // namespace folio
