#pragma once

#include "framework/core/Object.h"
#include "framework/core/RegistryStore.h"
#include "framework/core/RegistryTree.h"

#include <memory>
#include <vector>

namespace folio {

// A session with one root key of the registry: open a key by its path, read
// and write its values, list and delete keys and values.
//
// Paths. A path beginning with a backslash is taken from the root key, any
// other from the key that is open now (from the root key while none is).
// Names are joined by backslashes; a trailing backslash is ignored. Names
// compare without regard to ASCII case and keep the case they were created
// with. A path deeper than RegistryMaxDepth keys or a name longer than
// RegistryMaxNameLength bytes raises ERegistryException.
//
// Values belong to the open key, or to the root key while none is open.
// Reading a missing integer or boolean raises ERegistryException; reading a
// missing string gives an empty string; reading a value of another type
// raises.
//
// Changes. The object reads the root's file when it is first used and
// collects its own changes. CloseKey writes them to the file in one atomic
// step that keeps what other processes wrote meanwhile (RegistryStore.h);
// the next use reads the file afresh. SetRootKey and the destructor close
// the key too, but the destructor cannot report a failure: call CloseKey to
// know that the changes were written. Changes that could not be written stay
// with the object, and the next CloseKey tries again. An object destroyed
// while an exception passes drops its unwritten changes, so that work cut
// short by a failure leaves the file as it was rather than half done.
class TRegistry : public TObject {
    FOLIO_CLASS(TRegistry)
public:
    // The root key is HKEY_CURRENT_USER unless given.
    TRegistry();
    explicit TRegistry(HKEY ARootKey);
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY GetRootKey() const { return FRootKey; }
    // Closes the open key first; raises for a number that is not a root key.
    void SetRootKey(HKEY Value);
    // The open key's path from the root, without a leading backslash; empty
    // while no key is open.
    String GetCurrentPath() const;
    bool HasCurrentKey() const { return FCurrentPath != nullptr; }

    // Makes the key at Key the open one. A missing key is created with every
    // missing key on its path when CanCreate is true; otherwise the result is
    // false and the open key stays as it was.
    bool OpenKey(const String& Key, bool CanCreate);
    // Creates the key and every missing key on its path; the open key stays.
    bool CreateKey(const String& Key);
    void CloseKey();
    bool KeyExists(const String& Key);
    // Deletes the key with all its subkeys and values; false when it is
    // missing. The root key cannot be deleted. Deleting the open key, or a
    // key above it, closes it.
    bool DeleteKey(const String& Key);
    bool HasSubKeys();
    std::vector<String> GetKeyNames();

    bool ValueExists(const String& Name);
    bool DeleteValue(const String& Name);
    std::vector<String> GetValueNames();
    TRegDataType GetDataType(const String& Name);

    int ReadInteger(const String& Name);
    void WriteInteger(const String& Name, int Value);
    String ReadString(const String& Name);
    void WriteString(const String& Name, const String& Value);
    // A boolean is an integer: 1 for true, 0 for false; any other number
    // reads as true.
    bool ReadBool(const String& Name);
    void WriteBool(const String& Name, bool Value);

private:
    enum TChangeKind : std::uint8_t { ckCreateKey, ckDeleteKey, ckSetValue, ckDeleteValue };
    // One change made through this object, replayed onto the file's newest
    // tree when the changes are written.
    struct TChange {
        TChangeKind Kind;
        std::shared_ptr<const TRegPath> Key;
        String Name;
        TRegValue Value;
    };
    using TSharedPath = std::shared_ptr<const TRegPath>;

    TRegKeyNode& Tree();
    TRegPath ResolvePath(const String& Key) const;
    TRegKeyNode& BaseKey();
    const TSharedPath& BasePath() const { return FCurrentPath ? FCurrentPath : FRootPath; }
    const TRegValue* FindValue(const String& Name);
    const TRegValue& ReadValue(const String& Name, TRegDataType Type);
    void PutValue(const String& Name, TRegValue Value);
    String KeyDescription() const;
    void Commit();
    // Drops the tree, so that the next use reads the file afresh.
    void Forget();
    static void Replay(TRegKeyNode& Tree, const std::vector<TChange>& Changes);

    HKEY FRootKey = HKEY_CURRENT_USER;
    // The root's keys as this object sees them: FFile's keys with this
    // object's changes made on them. Null until first used.
    std::unique_ptr<TRegKeyNode> FTree;
    TRegistryFile FFile;
    TSharedPath FCurrentPath; // null while no key is open
    TRegKeyNode* FCurrentKey = nullptr;
    TSharedPath FRootPath; // the empty path, shared by changes to the root key
    std::vector<TChange> FChanges;
    // Exceptions in flight when the object was made; more at destruction
    // means it dies by a failure.
    int FUncaughtAtStart;
};

} // namespace folio
