#include "framework/core/Resources.h"

#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"

#include <map>
#include <mutex>

namespace folio {

const char* const SOutOfRange = "Value must be between %d and %d";
const char* const SAssignError = "Cannot assign a %s to a %s";
const char* const SListIndexError = "List index out of bounds (%d)";
const char* const SReadError = "Stream read error";
const char* const SWriteError = "Stream write error";
const char* const SFCreateError = "Cannot create file \"%s\". %s";
const char* const SFOpenError = "Cannot open file \"%s\". %s";
const char* const SInvalidDate = "Invalid argument to date encode";
const char* const SDuplicateName = "A component named %s already exists";
const char* const SInvalidName = "'%s' is not a valid component name";
const char* const SNameTooLong =
    "A component name may have at most %d characters; '%.32s...' has %d";
const char* const SClassNotFound = "Class %s not found";

namespace {

// Units register while the program starts (and a library loaded later
// registers while another thread may already read), so the table is built
// on first use and guarded.
struct TStringTable {
    std::mutex Lock;
    std::map<int, String> Texts;
};

TStringTable& Table() {
    static TStringTable Instance;
    return Instance;
}

} // namespace

String LoadStr(int Ident) {
    TStringTable& T = Table();
    std::lock_guard<std::mutex> Guard(T.Lock);
    const auto Found = T.Texts.find(Ident);
    return Found == T.Texts.end() ? String() : Found->second;
}

TResourceStrings::TResourceStrings(std::initializer_list<TEntry> Entries) {
    TStringTable& T = Table();
    std::lock_guard<std::mutex> Guard(T.Lock);
    // All or nothing: a clash leaves the table as it was.
    for (const TEntry& E : Entries) {
        const auto Found = T.Texts.find(E.Ident);
        if (Found != T.Texts.end() && Found->second != E.Text)
            throw EInvalidOperation(Format("String resource %d is already registered as \"%s\"; "
                                           "give \"%s\" a number of its own",
                                           E.Ident, Found->second.c_str(), E.Text));
    }
    for (const TEntry& E : Entries) T.Texts.emplace(E.Ident, E.Text);
}

} // namespace folio
