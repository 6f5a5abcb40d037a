#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace folio {

// The bounds every registry key tree keeps, in memory and in its file, so
// that a damaged or hostile file is refused instead of read blindly. Reading
// a file takes at most about 64 bytes of memory per byte of text (a text of
// key paths that nest a new key every two bytes; a bar's keys take about 12),
// so the size bound is a memory bound too.
constexpr std::int64_t RegistryMaxFileSize = std::int64_t(64) << 20;
constexpr int RegistryMaxDepth = 512;
constexpr size_t RegistryMaxNameLength = 16 * 1024;

enum TRegDataType { rdUnknown, rdString, rdInteger };

struct TRegValue {
    TRegDataType Type = rdUnknown;
    std::uint32_t Number = 0; // rdInteger
    String Text;              // rdString
    friend bool operator==(const TRegValue&, const TRegValue&) = default;
};

// Key and value names compare without regard to ASCII case, as registry
// names do; other bytes compare exactly.
bool SameRegName(std::string_view A, std::string_view B);

// Entries in the order they were first added, found by name without regard
// to case. Each name keeps the case it was first added with. Small lists
// are searched in turn; a hash index is built once a list grows, so a key
// with a hundred thousand subkeys is still found in one step.
template <class T>
class TRegNamedList {
public:
    struct TEntry {
        String Name;
        T Value;
    };

    size_t Count() const { return FEntries.size(); }
    const TEntry& At(size_t Index) const { return FEntries[Index]; }
    TEntry& At(size_t Index) { return FEntries[Index]; }

    // The entry's position, or -1.
    std::ptrdiff_t IndexOf(std::string_view Name) const;
    T* Find(std::string_view Name) {
        const std::ptrdiff_t I = IndexOf(Name);
        return I < 0 ? nullptr : &FEntries[static_cast<size_t>(I)].Value;
    }
    const T* Find(std::string_view Name) const {
        return const_cast<TRegNamedList*>(this)->Find(Name);
    }
    // Appends; the name must not be in the list yet.
    T& Add(String Name, T Value);
    bool Remove(std::string_view Name);

private:
    static constexpr size_t IndexFrom = 16;
    void IndexEntry(size_t Position);

    std::vector<TEntry> FEntries;
    // Hash of the lower-cased name to positions; made only past IndexFrom
    // entries, so that the many small keys of a tree stay small.
    std::unique_ptr<std::unordered_multimap<size_t, size_t>> FIndex;
};

class TRegKeyNode;
using TRegKeyList = TRegNamedList<std::unique_ptr<TRegKeyNode>>;
using TRegValueList = TRegNamedList<TRegValue>;

// One key of a tree: its subkeys and its values. A key does not know its own
// name; its parent's list holds it.
class TRegKeyNode {
public:
    TRegKeyNode() = default;
    ~TRegKeyNode();
    TRegKeyNode(const TRegKeyNode&) = delete;
    TRegKeyNode& operator=(const TRegKeyNode&) = delete;

    const TRegKeyList& Keys() const { return FKeys; }
    const TRegValueList& Values() const { return FValues; }

    TRegKeyNode* FindKey(std::string_view Name) { return Deref(FKeys.Find(Name)); }
    const TRegKeyNode* FindKey(std::string_view Name) const { return Deref(FKeys.Find(Name)); }
    // The subkey of that name, added when it is missing.
    TRegKeyNode& EnsureKey(std::string_view Name);
    bool DeleteKey(std::string_view Name) { return FKeys.Remove(Name); }

    const TRegValue* FindValue(std::string_view Name) const { return FValues.Find(Name); }
    // Replaces the value of that name, keeping the name's stored case, or adds it.
    void SetValue(std::string_view Name, TRegValue Value);
    bool DeleteValue(std::string_view Name) { return FValues.Remove(Name); }

private:
    template <class P>
    static TRegKeyNode* Deref(P* Slot) {
        return Slot ? Slot->get() : nullptr;
    }

    TRegKeyList FKeys;
    TRegValueList FValues;
};

// A key path as a list of names from the root.
using TRegPath = std::vector<String>;

// The key at Path below Root, or null.
const TRegKeyNode* FindRegKey(const TRegKeyNode& Root, const TRegPath& Path);
TRegKeyNode* FindRegKey(TRegKeyNode& Root, const TRegPath& Path);
// The key at Path below Root, adding every missing key along it.
TRegKeyNode& EnsureRegKey(TRegKeyNode& Root, const TRegPath& Path);

} // namespace folio
