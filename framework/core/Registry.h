#pragma once

#include "framework/core/Object.h"
#include "framework/core/RegistryStore.h"
#include "framework/core/RegistryTree.h"

#include <memory>
#include <vector>

namespace folio {

/// A session with one root key of the registry: open a key by its path,
/// read and write its values, list and delete keys and values.
///
/// Each root key is one text file of the current user, in
/// `$XDG_CONFIG_HOME/folio/registry/` unless `FOLIO_REGISTRY_DIR` or
/// SetRegistryFolder puts it elsewhere. Any call that reads the file may
/// raise ERegistryException for a folder other users may write in or for a
/// damaged file, naming the folder or the file's line; the file is then
/// left as it is.
///
/// Paths. A path beginning with a backslash is taken from the root key, any
/// other from the key that is open now (from the root key while none is).
/// Names are joined by backslashes; a trailing backslash is ignored. Names
/// compare without regard to ASCII case and keep the case they were created
/// with. A path deeper than RegistryMaxDepth keys or a name longer than
/// RegistryMaxNameLength bytes raises ERegistryException.
///
/// Values belong to the open key, or to the root key while none is open.
/// Reading a missing integer or boolean raises ERegistryException; reading a
/// missing string gives an empty string; reading a value of another type
/// raises.
///
/// Changes. The object reads the root's file when it is first used and
/// collects its own changes. CloseKey writes them to the file in one atomic
/// step that keeps what other processes wrote meanwhile; the next use reads
/// the file afresh. SetRootKey and the destructor close the key too, but the
/// destructor cannot report a failure: call CloseKey to know that the
/// changes were written. Changes that could not be written stay with the
/// object, and the next CloseKey tries again. An object destroyed while an
/// exception passes drops its unwritten changes, so that work cut short by a
/// failure leaves the file as it was rather than half done.
class TRegistry : public TObject {
    FOLIO_CLASS(TRegistry)
public:
    /// A session with HKEY_CURRENT_USER and no key open.
    TRegistry();
    /// A session with the root key ARootKey (HKEY_CURRENT_USER,
    /// HKEY_LOCAL_MACHINE, ...) and no key open; raises ERegistryException
    /// for a number that is no root key.
    explicit TRegistry(HKEY ARootKey);
    /// Closes the open key, writing the changes; a failure to write is lost
    /// here (call CloseKey first to hear of it).
    ~TRegistry() override;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    /// The root key this session works in; HKEY_CURRENT_USER by default.
    HKEY GetRootKey() const { return FRootKey; }
    /// Closes the open key (writing its changes) and works in Value from now
    /// on; raises ERegistryException for a number that is no root key.
    void SetRootKey(HKEY Value);
    /// The open key's path from the root, without a leading backslash; empty
    /// while no key is open.
    String GetCurrentPath() const;
    /// Whether a key is open (OpenKey succeeded and no CloseKey since).
    bool HasCurrentKey() const { return FCurrentPath != nullptr; }

    /// Makes the key at Key the open one and answers true. A missing key is
    /// created with every missing key on its path when CanCreate is true;
    /// otherwise the result is false and the open key stays as it was.
    bool OpenKey(const String& Key, bool CanCreate);
    /// Creates the key at Key and every missing key on its path; the open
    /// key stays. Answers true, also when the key was there already.
    bool CreateKey(const String& Key);
    /// Writes this session's changes to the root's file in one atomic step
    /// and closes the open key. Raises ERegistryException (or the file
    /// error) when the file cannot be written; the changes are kept for the
    /// next CloseKey.
    void CloseKey();
    /// Whether the key at Key exists; nothing is created or opened.
    bool KeyExists(const String& Key);
    /// Deletes the key with all its subkeys and values; false when it is
    /// missing. The root key cannot be deleted (false). Deleting the open
    /// key, or a key above it, closes it.
    bool DeleteKey(const String& Key);
    /// Whether the open key (the root while none is open) has subkeys.
    bool HasSubKeys();
    /// The names of the open key's subkeys, as they were created.
    std::vector<String> GetKeyNames();

    /// Whether the open key has a value named Name.
    bool ValueExists(const String& Name);
    /// Deletes the open key's value Name; false when there is none.
    bool DeleteValue(const String& Name);
    /// The names of the open key's values.
    std::vector<String> GetValueNames();
    /// The type of the open key's value Name: rdString, rdInteger, or
    /// rdUnknown when there is no such value.
    TRegDataType GetDataType(const String& Name);

    /// The integer value Name of the open key. Raises ERegistryException,
    /// naming the value and the key, when it is missing or not an integer.
    int ReadInteger(const String& Name);
    /// Stores Value as the integer value Name of the open key, replacing a
    /// value of that name of any type.
    void WriteInteger(const String& Name, int Value);
    /// The string value Name of the open key; "" when it is missing. Raises
    /// ERegistryException when the value is an integer.
    String ReadString(const String& Name);
    /// Stores Value as the string value Name of the open key, replacing a
    /// value of that name of any type.
    void WriteString(const String& Name, const String& Value);
    /// The boolean value Name of the open key: an integer, any number but 0
    /// reads as true. Raises ERegistryException when it is missing or not an
    /// integer.
    bool ReadBool(const String& Name);
    /// Stores Value as the integer 1 (true) or 0 (false) under Name.
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
