// The registry's file text: the parser on its own, and the file store that
// reads it before every save. A text that parses stays within the tree's
// bounds and reads back to the same keys once written; a damaged one raises
// with its file and line. A save over a file that parses keeps every key and
// adds its own; a save over a damaged file raises and leaves it byte for byte.

#include "fuzz/FuzzTarget.h"
#include "fuzz/support/PeakMemory.h"

#include "folio/Folio.h"
#include "framework/core/Exceptions.h"
#include "framework/core/Registry.h"
#include "framework/core/RegistryText.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

using namespace folio;
using namespace folio::fuzz;

namespace {

const String FileName = "/fuzz/input.keys";

void CheckBounds(const TRegKeyNode& Key, int Depth) {
    FOLIO_FUZZ_CHECK(Depth <= RegistryMaxDepth, "a key lies deeper than the bound");
    for (size_t I = 0; I < Key.Values().Count(); ++I)
        FOLIO_FUZZ_CHECK(Key.Values().At(I).Name.size() <= RegistryMaxNameLength,
                         "a value name is longer than the bound");
    for (size_t I = 0; I < Key.Keys().Count(); ++I) {
        const String& Name = Key.Keys().At(I).Name;
        FOLIO_FUZZ_CHECK(!Name.empty() && Name.size() <= RegistryMaxNameLength,
                         "a key name is empty or longer than the bound");
        FOLIO_FUZZ_CHECK(Name.find('\\') == String::npos, "a key name holds a backslash");
        CheckBounds(*Key.Keys().At(I).Value, Depth + 1);
    }
}

// Reading takes at most about 64 bytes per byte of text: the most is taken
// by key paths that nest a new key every two bytes.
void CheckMemory(std::size_t Size) {
    const std::int64_t Peak = TPeakMemory::Peak();
    NoteMemoryRatio("registry_text", Size, Peak);
    FOLIO_FUZZ_CHECK(!TPeakMemory::Available() ||
                         Peak <= 4096 + 64 * static_cast<std::int64_t>(Size),
                     "reading " + std::to_string(Size) + " bytes took " + std::to_string(Peak));
}

String Text(const TRegKeyNode& Tree) {
    return FormatRegistryText(Tree, "keys");
}

// The same names in the same order and case, with the same values: what
// makes two trees write the same text, found without writing it (a deep
// tree's text grows with the square of its depth).
bool SameTree(const TRegKeyNode& A, const TRegKeyNode& B) {
    if (A.Values().Count() != B.Values().Count() || A.Keys().Count() != B.Keys().Count())
        return false;
    for (size_t I = 0; I < A.Values().Count(); ++I)
        if (A.Values().At(I).Name != B.Values().At(I).Name ||
            A.Values().At(I).Value != B.Values().At(I).Value)
            return false;
    for (size_t I = 0; I < A.Keys().Count(); ++I)
        if (A.Keys().At(I).Name != B.Keys().At(I).Name ||
            !SameTree(*A.Keys().At(I).Value, *B.Keys().At(I).Value))
            return false;
    return true;
}

// A registry folder of this process, in memory where /dev/shm exists.
struct TStoreFolder {
    String Folder;
    TStoreFolder() {
        String Template = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
        Template += "/folio_fuzz_registry_XXXXXX";
        if (!::mkdtemp(Template.data())) std::abort();
        Folder = Template;
        SetRegistryFolder(Folder);
    }
    ~TStoreFolder() {
        SetRegistryFolder("");
        std::filesystem::remove_all(Folder);
    }
};

TStoreFolder& Store() {
    static TStoreFolder Instance;
    return Instance;
}

String FileBytes(const String& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << In.rdbuf();
    return std::move(Bytes).str();
}

void WriteFile(const String& Path, std::string_view Bytes) {
    std::ofstream(Path, std::ios::binary | std::ios::trunc)
        .write(Bytes.data(), std::streamsize(Bytes.size()));
}

// Saves one key over the file holding Input; Parsed is what Input parses
// to, null when it is damaged. It becomes the tree the save should give.
void CheckSaveOver(std::string_view Input, std::unique_ptr<TRegKeyNode> Parsed) {
    Store();
    const String Path = RegistryFileName(HKEY_CURRENT_USER);
    WriteFile(Path, Input);
    bool Saved = true;
    try {
        TRegistry Reg;
        Reg.OpenKey("\\Fuzz\\Saved", true);
        Reg.WriteInteger("Value", 1);
        Reg.CloseKey();
    } catch (const ERegistryException&) {
        Saved = false;
    }
    const String After = FileBytes(Path);
    if (!Parsed) {
        FOLIO_FUZZ_CHECK(!Saved, "a save went over a damaged file");
        FOLIO_FUZZ_CHECK(After == Input, "a failed save changed the damaged file");
        return;
    }
    FOLIO_FUZZ_CHECK(Saved, "a save over a file that parses failed");
    TRegKeyNode& Expected = *Parsed;
    EnsureRegKey(Expected, {"Fuzz", "Saved"}).SetValue("Value", TRegValue{rdInteger, 1, {}});
    FOLIO_FUZZ_CHECK(SameTree(*ParseRegistryText(After, Path), Expected),
                     "the saved file lost or changed keys");
}

} // namespace

FOLIO_FUZZ_SEEDS {
    Store();
    const String Path = RegistryFileName(HKEY_CURRENT_USER);
    const auto AddFile = [&](const std::string& Name) {
        const String Bytes = FileBytes(Path);
        Seeds.Add(Name, TBytes(Bytes.begin(), Bytes.end()));
        std::filesystem::remove(Path);
    };

    // A bar of two groups as the bar lays it out.
    TFolio Bar(nullptr);
    TFolioGroup* Group = Bar.GetGroups()->Add("Files");
    Group->SetHint("A \"quoted\" hint\nover two lines");
    Group->GetItems()->Add("Documents", 1)->SetTag(-1);
    Bar.GetGroups()->Add("Places");
    Bar.SaveToRegistry(HKEY_CURRENT_USER, "\\Software\\Folio\\Bar");
    AddFile("bar.keys");

    // Names and values that need every kind of escape, and the root's values.
    {
        TRegistry Reg;
        Reg.WriteString("", "the root's value");
        Reg.OpenKey("\\100% \x01odd ]name[\\\xC3\xA4 \xFF", true);
        Reg.WriteString("back\\slash \"quoted\" \t", String("\x00\x7F\xE2\x82\xAC\xED\xA0\x80", 8));
        Reg.WriteInteger("number", static_cast<int>(0x80000010));
        Reg.CloseKey();
    }
    AddFile("escapes.keys");

    const std::string Hand = "# edited by hand\r\n"
                             "  [A\\B]  \r\n"
                             "\"X\"=dword:A\r\n"
                             "\"Y\" =\tsz:\"tab\\there\\x41\"\n"
                             "[a]\n"
                             "\"z\" = dword:DeadBeef\n"
                             "[]\n"
                             "\"r\" = sz:\"\"\n";
    Seeds.Add("hand.keys", TBytes(Hand.begin(), Hand.end()));

    // Deep keys named in one line. (A key at the depth bound is written back
    // as a line per level, a slow run for every mutation of it; the bound
    // itself has its tests.)
    std::string Deep = "[k";
    for (int I = 1; I < 64; ++I) Deep += "\\k";
    Deep += "]\n\"deepest\" = dword:1\n";
    Seeds.Add("deep.keys", TBytes(Deep.begin(), Deep.end()));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view Input(reinterpret_cast<const char*>(Data), Size);
    std::unique_ptr<TRegKeyNode> Tree;
    TPeakMemory::Begin();
    try {
        Tree = ParseRegistryText(Input, FileName);
    } catch (const ERegistryException& E) {
        CheckMemory(Size);
        FOLIO_FUZZ_CHECK(E.Message().find("\"" + FileName + "\" is damaged at line ") !=
                             String::npos,
                         "the error does not name the file and line: " + E.Message());
        CheckSaveOver(Input, nullptr);
        return 0;
    }
    CheckMemory(Size);
    CheckBounds(*Tree, 0);
    FOLIO_FUZZ_CHECK(SameTree(*ParseRegistryText(Text(*Tree), FileName), *Tree),
                     "a written text reads back to other keys");
    CheckSaveOver(Input, std::move(Tree));
    return 0;
}
