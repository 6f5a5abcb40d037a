#include "framework/core/Registry.h"

#include "framework/core/Exceptions.h"
#include "framework/core/RegistryText.h"
#include "framework/core/SysUtils.h"

#include <exception>
#include <string_view>

namespace folio {

FOLIO_DEFINE_CLASS(TRegistry, TObject)

namespace {

void CheckName(std::string_view Name, const char* What) {
    if (Name.size() > RegistryMaxNameLength)
        throw ERegistryException(Format("The registry %s %s is %zu bytes long; names may have at "
                                        "most %zu bytes",
                                        What, QuoteRegName(Name).c_str(), Name.size(),
                                        RegistryMaxNameLength));
}

// True when Path is Ancestor or lies below it.
bool IsWithin(const TRegPath& Path, const TRegPath& Ancestor) {
    if (Path.size() < Ancestor.size()) return false;
    for (size_t I = 0; I < Ancestor.size(); ++I)
        if (!SameRegName(Path[I], Ancestor[I])) return false;
    return true;
}

template <class TList>
std::vector<String> NamesOf(const TList& List) {
    std::vector<String> Names;
    Names.reserve(List.Count());
    for (size_t I = 0; I < List.Count(); ++I) Names.push_back(List.At(I).Name);
    return Names;
}

const char* TypeName(TRegDataType Type) {
    return Type == rdInteger ? "an integer" : Type == rdString ? "a string" : "no data";
}

} // namespace

TRegistry::TRegistry() : TRegistry(HKEY_CURRENT_USER) {}

TRegistry::TRegistry(HKEY ARootKey)
    : FRootKey(ARootKey), FRootPath(std::make_shared<const TRegPath>()),
      FUncaughtAtStart(std::uncaught_exceptions()) {
    RegistryRootName(ARootKey); // refuses a number that is no root key
}

TRegistry::~TRegistry() {
    if (std::uncaught_exceptions() > FUncaughtAtStart) return;
    try {
        Commit();
    } catch (...) {
        // A destructor cannot report the failure; CloseKey can.
    }
}

void TRegistry::SetRootKey(HKEY Value) {
    if (Value == FRootKey) return;
    RegistryRootName(Value);
    CloseKey();
    FRootKey = Value;
    Forget();
}

void TRegistry::Forget() {
    FTree.reset();
    FFile = TRegistryFile();
}

String TRegistry::GetCurrentPath() const {
    String Path;
    if (!FCurrentPath) return Path;
    for (const String& Name : *FCurrentPath) {
        if (!Path.empty()) Path += '\\';
        Path += Name;
    }
    return Path;
}

TRegKeyNode& TRegistry::Tree() {
    if (!FTree) {
        TRegistryFile File = ReadRegistryFile(FRootKey);
        FTree = File.Parse();
        FFile = std::move(File);
    }
    return *FTree;
}

TRegPath TRegistry::ResolvePath(const String& Key) const {
    TRegPath Path;
    std::string_view Rest = Key;
    if (Rest.starts_with('\\'))
        Rest.remove_prefix(1);
    else if (FCurrentPath)
        Path = *FCurrentPath;
    if (Rest.ends_with('\\')) Rest.remove_suffix(1);
    while (!Rest.empty()) {
        const size_t Slash = Rest.find('\\');
        const std::string_view Name = Rest.substr(0, Slash);
        if (Name.empty())
            throw ERegistryException("The registry key path " + QuoteRegName(Key) +
                                     " holds an empty name");
        CheckName(Name, "key name");
        Path.emplace_back(Name);
        if (Path.size() > static_cast<size_t>(RegistryMaxDepth))
            throw ERegistryException(Format("The registry key path %s goes more than %d keys deep",
                                            QuoteRegName(Key).c_str(), RegistryMaxDepth));
        if (Slash == std::string_view::npos) break;
        Rest.remove_prefix(Slash + 1);
    }
    return Path;
}

TRegKeyNode& TRegistry::BaseKey() {
    return FCurrentKey ? *FCurrentKey : Tree();
}

String TRegistry::KeyDescription() const {
    const String Path = GetCurrentPath();
    return QuoteRegName(RegistryRootName(FRootKey) + (Path.empty() ? "" : "\\" + Path));
}

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
    TRegPath Path = ResolvePath(Key);
    TRegKeyNode* Node = FindRegKey(Tree(), Path);
    if (!Node && !CanCreate) return false;
    auto Shared = std::make_shared<const TRegPath>(std::move(Path));
    if (!Node) {
        Node = &EnsureRegKey(Tree(), *Shared);
        FChanges.push_back(TChange{ckCreateKey, Shared, {}, {}});
    }
    FCurrentPath = std::move(Shared);
    FCurrentKey = Node;
    return true;
}

bool TRegistry::CreateKey(const String& Key) {
    TRegPath Path = ResolvePath(Key);
    if (FindRegKey(Tree(), Path)) return true;
    auto Shared = std::make_shared<const TRegPath>(std::move(Path));
    EnsureRegKey(Tree(), *Shared);
    FChanges.push_back(TChange{ckCreateKey, std::move(Shared), {}, {}});
    return true;
}

void TRegistry::CloseKey() {
    FCurrentPath.reset();
    FCurrentKey = nullptr;
    Commit();
}

bool TRegistry::KeyExists(const String& Key) {
    return FindRegKey(Tree(), ResolvePath(Key)) != nullptr;
}

bool TRegistry::DeleteKey(const String& Key) {
    TRegPath Path = ResolvePath(Key);
    if (Path.empty()) return false;
    TRegKeyNode* Parent = FindRegKey(Tree(), TRegPath(Path.begin(), Path.end() - 1));
    if (!Parent || !Parent->FindKey(Path.back())) return false;
    if (FCurrentPath && IsWithin(*FCurrentPath, Path)) {
        FCurrentPath.reset();
        FCurrentKey = nullptr;
    }
    Parent->DeleteKey(Path.back());
    FChanges.push_back(
        TChange{ckDeleteKey, std::make_shared<const TRegPath>(std::move(Path)), {}, {}});
    return true;
}

bool TRegistry::HasSubKeys() {
    return BaseKey().Keys().Count() > 0;
}

std::vector<String> TRegistry::GetKeyNames() {
    return NamesOf(BaseKey().Keys());
}

const TRegValue* TRegistry::FindValue(const String& Name) {
    return BaseKey().FindValue(Name);
}

bool TRegistry::ValueExists(const String& Name) {
    return FindValue(Name) != nullptr;
}

bool TRegistry::DeleteValue(const String& Name) {
    if (!BaseKey().DeleteValue(Name)) return false;
    FChanges.push_back(TChange{ckDeleteValue, BasePath(), Name, {}});
    return true;
}

std::vector<String> TRegistry::GetValueNames() {
    return NamesOf(BaseKey().Values());
}

TRegDataType TRegistry::GetDataType(const String& Name) {
    const TRegValue* Value = FindValue(Name);
    return Value ? Value->Type : rdUnknown;
}

const TRegValue& TRegistry::ReadValue(const String& Name, TRegDataType Type) {
    const TRegValue* Value = FindValue(Name);
    if (!Value)
        throw ERegistryException(Format("The registry value %s is missing in the key %s",
                                        QuoteRegName(Name).c_str(), KeyDescription().c_str()));
    if (Value->Type != Type)
        throw ERegistryException(Format("The registry value %s in the key %s holds %s, not %s",
                                        QuoteRegName(Name).c_str(), KeyDescription().c_str(),
                                        TypeName(Value->Type), TypeName(Type)));
    return *Value;
}

int TRegistry::ReadInteger(const String& Name) {
    return static_cast<int>(ReadValue(Name, rdInteger).Number);
}

String TRegistry::ReadString(const String& Name) {
    if (!FindValue(Name)) return String();
    return ReadValue(Name, rdString).Text;
}

bool TRegistry::ReadBool(const String& Name) {
    return ReadInteger(Name) != 0;
}

void TRegistry::PutValue(const String& Name, TRegValue Value) {
    CheckName(Name, "value name");
    BaseKey().SetValue(Name, Value);
    FChanges.push_back(TChange{ckSetValue, BasePath(), Name, std::move(Value)});
}

void TRegistry::WriteInteger(const String& Name, int Value) {
    PutValue(Name, TRegValue{rdInteger, static_cast<std::uint32_t>(Value), {}});
}

void TRegistry::WriteString(const String& Name, const String& Value) {
    PutValue(Name, TRegValue{rdString, 0, Value});
}

void TRegistry::WriteBool(const String& Name, bool Value) {
    WriteInteger(Name, Value ? 1 : 0);
}

void TRegistry::Commit() {
    if (FChanges.empty()) {
        // Nothing to write: the next use reads what others wrote meanwhile.
        Forget();
        return;
    }
    TRegistryWriter Writer(FRootKey);
    if (!Writer.File().SameAs(FFile)) {
        // The file changed since this object read it: the changes are made
        // again on its newest keys, so that others' keys are kept.
        std::unique_ptr<TRegKeyNode> Newest = Writer.File().Parse();
        Replay(*Newest, FChanges);
        FTree = std::move(Newest);
        FFile = Writer.File();
    }
    Writer.Write(*FTree);
    FFile = std::move(Writer.File());
    FChanges.clear();
}

void TRegistry::Replay(TRegKeyNode& Tree, const std::vector<TChange>& Changes) {
    // Runs of changes to one key share its path object, so the key is looked
    // up once per run; deleting a key forgets the one looked up last.
    const TRegPath* LastPath = nullptr;
    TRegKeyNode* LastKey = nullptr;
    for (const TChange& Change : Changes) {
        const TRegPath& Path = *Change.Key;
        switch (Change.Kind) {
        case ckDeleteKey:
            if (TRegKeyNode* Parent = FindRegKey(Tree, TRegPath(Path.begin(), Path.end() - 1)))
                Parent->DeleteKey(Path.back());
            LastPath = nullptr;
            break;
        case ckDeleteValue:
            if (TRegKeyNode* Key = &Path == LastPath ? LastKey : FindRegKey(Tree, Path))
                Key->DeleteValue(Change.Name);
            break;
        case ckCreateKey:
        case ckSetValue:
            if (&Path != LastPath) {
                LastKey = &EnsureRegKey(Tree, Path);
                LastPath = &Path;
            }
            if (Change.Kind == ckSetValue) LastKey->SetValue(Change.Name, Change.Value);
            break;
        }
    }
}

} // namespace folio
