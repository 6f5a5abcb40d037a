#include "framework/core/RegistryTree.h"

namespace folio {

namespace {

char AsciiLower(char C) {
    return C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
}

size_t HashRegName(std::string_view Name) {
    // FNV-1a over the lower-cased bytes.
    std::uint64_t Hash = 14695981039346656037ull;
    for (const char C : Name) {
        Hash ^= static_cast<unsigned char>(AsciiLower(C));
        Hash *= 1099511628211ull;
    }
    return static_cast<size_t>(Hash);
}

} // namespace

bool SameRegName(std::string_view A, std::string_view B) {
    if (A.size() != B.size()) return false;
    if (A == B) return true; // the usual case: a name given as it was stored
    for (size_t I = 0; I < A.size(); ++I)
        if (AsciiLower(A[I]) != AsciiLower(B[I])) return false;
    return true;
}

template <class T>
std::ptrdiff_t TRegNamedList<T>::IndexOf(std::string_view Name) const {
    if (!FIndex) {
        for (size_t I = 0; I < FEntries.size(); ++I)
            if (SameRegName(FEntries[I].Name, Name)) return static_cast<std::ptrdiff_t>(I);
        return -1;
    }
    const auto [First, Last] = FIndex->equal_range(HashRegName(Name));
    for (auto It = First; It != Last; ++It)
        if (SameRegName(FEntries[It->second].Name, Name))
            return static_cast<std::ptrdiff_t>(It->second);
    return -1;
}

template <class T>
void TRegNamedList<T>::IndexEntry(size_t Position) {
    FIndex->emplace(HashRegName(FEntries[Position].Name), Position);
}

template <class T>
T& TRegNamedList<T>::Add(String Name, T Value) {
    FEntries.push_back(TEntry{std::move(Name), std::move(Value)});
    if (FIndex) {
        IndexEntry(FEntries.size() - 1);
    } else if (FEntries.size() > IndexFrom) {
        FIndex = std::make_unique<std::unordered_multimap<size_t, size_t>>();
        FIndex->reserve(FEntries.size() * 2);
        for (size_t I = 0; I < FEntries.size(); ++I) IndexEntry(I);
    }
    return FEntries.back().Value;
}

template <class T>
bool TRegNamedList<T>::Remove(std::string_view Name) {
    const std::ptrdiff_t Found = IndexOf(Name);
    if (Found < 0) return false;
    const size_t Position = static_cast<size_t>(Found);
    FEntries.erase(FEntries.begin() + Found);
    if (!FIndex) return true;
    // Removal is rare next to lookup, so the positions behind the removed
    // entry are simply renumbered.
    for (auto It = FIndex->begin(); It != FIndex->end();) {
        if (It->second == Position) {
            It = FIndex->erase(It);
            continue;
        }
        if (It->second > Position) --It->second;
        ++It;
    }
    return true;
}

template class TRegNamedList<std::unique_ptr<TRegKeyNode>>;
template class TRegNamedList<TRegValue>;

TRegKeyNode::~TRegKeyNode() = default;

TRegKeyNode& TRegKeyNode::EnsureKey(std::string_view Name) {
    if (TRegKeyNode* Found = FindKey(Name)) return *Found;
    return *FKeys.Add(String(Name), std::make_unique<TRegKeyNode>());
}

void TRegKeyNode::SetValue(std::string_view Name, TRegValue Value) {
    if (TRegValue* Found = FValues.Find(Name))
        *Found = std::move(Value);
    else
        FValues.Add(String(Name), std::move(Value));
}

const TRegKeyNode* FindRegKey(const TRegKeyNode& Root, const TRegPath& Path) {
    const TRegKeyNode* Key = &Root;
    for (const String& Name : Path) {
        Key = Key->FindKey(Name);
        if (!Key) return nullptr;
    }
    return Key;
}

TRegKeyNode* FindRegKey(TRegKeyNode& Root, const TRegPath& Path) {
    return const_cast<TRegKeyNode*>(FindRegKey(static_cast<const TRegKeyNode&>(Root), Path));
}

TRegKeyNode& EnsureRegKey(TRegKeyNode& Root, const TRegPath& Path) {
    TRegKeyNode* Key = &Root;
    for (const String& Name : Path) Key = &Key->EnsureKey(Name);
    return *Key;
}

} // namespace folio
