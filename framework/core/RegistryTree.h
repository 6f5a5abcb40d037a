#pragma once

#include "framework/core/Types.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace folio {

///@{
/// The bounds every registry key tree keeps, in memory and in its file, so
/// that a damaged or hostile file is refused instead of read blindly. Reading
/// a file takes at most about 64 bytes of memory per byte of text (a text of
/// key paths that nest a new key every two bytes; a bar's keys take about 12),
/// so the size bound is a memory bound too.
constexpr std::int64_t RegistryMaxFileSize = std::int64_t(64) << 20; ///< bytes of a file's text
constexpr int RegistryMaxDepth = 512;                                ///< keys in a key path
constexpr size_t RegistryMaxNameLength = 16 * 1024; ///< bytes of a key or value name
///@}

/// The type of a registry value: a string, a 32-bit integer, or unknown (no
/// value, or one of a type the registry does not hold).
enum TRegDataType { rdUnknown, rdString, rdInteger };

/// One value of a key: its type and its data.
struct TRegValue {
    TRegDataType Type = rdUnknown; ///< which of Number and Text holds the data
    std::uint32_t Number = 0;      ///< rdInteger
    String Text;                   ///< rdString
    /// Equal types and data.
    friend bool operator==(const TRegValue&, const TRegValue&) = default;
};

/// Key and value names compare without regard to ASCII case, as registry
/// names do; other bytes compare exactly.
bool SameRegName(std::string_view A, std::string_view B);

/// Entries in the order they were first added, found by name without regard
/// to case. Each name keeps the case it was first added with. Small lists
/// are searched in turn; a hash index is built once a list grows, so a key
/// with a hundred thousand subkeys is still found in one step.
template <class T>
class TRegNamedList {
public:
    /// One entry: its name, in the case it was first added with, and value.
    struct TEntry {
        String Name; ///< the name as first added
        T Value;     ///< the entry's value
    };

    /// How many entries the list holds.
    size_t Count() const { return FEntries.size(); }
    ///@{
    /// The entry at Index, in the order added (0 to Count - 1, unchecked).
    const TEntry& At(size_t Index) const { return FEntries[Index]; }
    TEntry& At(size_t Index) { return FEntries[Index]; }
    ///@}

    /// The entry's position, or -1.
    std::ptrdiff_t IndexOf(std::string_view Name) const;
    ///@{
    /// The value of the entry called Name (any ASCII case), or null.
    T* Find(std::string_view Name) {
        const std::ptrdiff_t I = IndexOf(Name);
        return I < 0 ? nullptr : &FEntries[static_cast<size_t>(I)].Value;
    }
    const T* Find(std::string_view Name) const {
        return const_cast<TRegNamedList*>(this)->Find(Name);
    }
    ///@}
    /// Appends and answers the new value; the name must not be in the list
    /// yet (the list does not check).
    T& Add(String Name, T Value);
    /// Removes the entry called Name; false when there is none.
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
/// A key's subkeys, by name.
using TRegKeyList = TRegNamedList<std::unique_ptr<TRegKeyNode>>;
/// A key's values, by name.
using TRegValueList = TRegNamedList<TRegValue>;

/// One key of a tree: its subkeys and its values. A key does not know its own
/// name; its parent's list holds it.
class TRegKeyNode {
public:
    TRegKeyNode() = default;
    ~TRegKeyNode();
    TRegKeyNode(const TRegKeyNode&) = delete;
    TRegKeyNode& operator=(const TRegKeyNode&) = delete;

    /// The subkeys, in the order they were added.
    const TRegKeyList& Keys() const { return FKeys; }
    /// The values, in the order they were added.
    const TRegValueList& Values() const { return FValues; }

    ///@{
    /// The subkey called Name (any ASCII case), or null.
    TRegKeyNode* FindKey(std::string_view Name) { return Deref(FKeys.Find(Name)); }
    const TRegKeyNode* FindKey(std::string_view Name) const { return Deref(FKeys.Find(Name)); }
    ///@}
    /// The subkey of that name, added when it is missing.
    TRegKeyNode& EnsureKey(std::string_view Name);
    /// Removes the subkey and everything below it; false when there is none.
    bool DeleteKey(std::string_view Name) { return FKeys.Remove(Name); }

    /// The value called Name (any ASCII case), or null.
    const TRegValue* FindValue(std::string_view Name) const { return FValues.Find(Name); }
    /// Replaces the value of that name, keeping the name's stored case, or adds it.
    void SetValue(std::string_view Name, TRegValue Value);
    /// Removes the value; false when there is none.
    bool DeleteValue(std::string_view Name) { return FValues.Remove(Name); }

private:
    template <class P>
    static TRegKeyNode* Deref(P* Slot) {
        return Slot ? Slot->get() : nullptr;
    }

    TRegKeyList FKeys;
    TRegValueList FValues;
};

/// A key path as a list of names from the root.
using TRegPath = std::vector<String>;

///@{
/// The key at Path below Root, or null.
const TRegKeyNode* FindRegKey(const TRegKeyNode& Root, const TRegPath& Path);
TRegKeyNode* FindRegKey(TRegKeyNode& Root, const TRegPath& Path);
///@}
/// The key at Path below Root, adding every missing key along it.
TRegKeyNode& EnsureRegKey(TRegKeyNode& Root, const TRegPath& Path);

} // namespace folio
