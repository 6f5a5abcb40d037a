// Real text forms of other applications, from the folder the build was told
// of (FOLIO_FORMS_CORPUS, or the variable of that name when a test runs):
// each converts to binary, to text and to binary again without a change,
// and the tree read from it holds every object and collection item its
// text shows. The files are never copied into the project; without the
// folder the test is skipped.

#include "framework/core/Exceptions.h"
#include "framework/core/FormBinary.h"
#include "framework/core/FormFiles.h"
#include "framework/core/FormText.h"
#include "framework/core/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace folio;
namespace fs = std::filesystem;

namespace {

fs::path CorpusFolder() {
    if (const char* Env = std::getenv("FOLIO_FORMS_CORPUS"); Env && *Env) return Env;
#ifdef FOLIO_FORMS_CORPUS
    return FOLIO_FORMS_CORPUS;
#else
    return {};
#endif
}

std::vector<fs::path> CorpusFiles() {
    std::vector<fs::path> Files;
    const fs::path Folder = CorpusFolder();
    std::error_code Error;
    if (Folder.empty() || !fs::is_directory(Folder, Error)) return Files;
    for (const auto& Entry : fs::directory_iterator(Folder, Error)) {
        // The folder's own notes are not forms.
        if (!Entry.is_regular_file() || Entry.path().extension() == ".md") continue;
        Files.push_back(Entry.path());
    }
    std::sort(Files.begin(), Files.end());
    return Files;
}

String ReadAll(const fs::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::ostringstream Bytes;
    Bytes << In.rdbuf();
    return Bytes.str();
}

String ToBinary(const TFormObject& Form) {
    TMemoryStream S;
    WriteBinaryForm(Form, S);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

// Lines that open an object or a collection item, counted in the text as a
// person would: the word first on its line.
void CountOpenings(const String& Text, int& Objects, int& Items) {
    std::istringstream Lines(Text);
    String Line;
    while (std::getline(Lines, Line)) {
        std::size_t At = Line.find_first_not_of(" \t\xEF\xBB\xBF");
        if (At == String::npos) continue;
        const String Rest = Line.substr(At);
        for (const char* Word : {"object ", "inherited ", "inline "})
            if (Rest.rfind(Word, 0) == 0) ++Objects;
        if (Rest == "item" || Rest == "item\r" || Rest.rfind("item [", 0) == 0) ++Items;
    }
}

void CountTree(const std::vector<TFormProperty>& Properties, int& Items);

void CountValue(const TFormValue& V, int& Items) {
    for (const TFormValue& Item : V.Items) CountValue(Item, Items);
    for (const TFormCollectionItem& Item : V.Collection) {
        ++Items;
        CountTree(Item.Properties, Items);
    }
}

void CountTree(const std::vector<TFormProperty>& Properties, int& Items) {
    for (const TFormProperty& P : Properties) CountValue(P.Value, Items);
}

void CountTree(const TFormObject& Node, int& Objects, int& Items) {
    ++Objects;
    CountTree(Node.Properties, Items);
    for (const TFormObject& Child : Node.Children) CountTree(Child, Objects, Items);
}

TEST(FormCorpus, EveryRealFormRoundTripsThroughBothEncodings) {
    const std::vector<fs::path> Files = CorpusFiles();
    if (Files.empty()) GTEST_SKIP() << "no corpus folder at '" << CorpusFolder().string() << "'";
    int Failed = 0;
    for (const fs::path& File : Files) {
        SCOPED_TRACE(File.filename().string());
        const String Text = ReadAll(File);
        try {
            const TFormObject Form = ParseTextForm(Text.data(), Text.size());
            const String First = ToBinary(Form);
            // The converters on streams, as an application calls them.
            TMemoryStream In, AsText, Again;
            In.WriteBuffer(First.data(), static_cast<std::int64_t>(First.size()));
            In.SetPosition(0);
            ObjectBinaryToText(In, AsText);
            AsText.SetPosition(0);
            ObjectTextToBinary(AsText, Again);
            const String Second(Again.Memory(), static_cast<size_t>(Again.GetSize()));
            EXPECT_EQ(First, Second) << "the binary form changed through its text";
            int TextObjects = 0, TextItems = 0, TreeObjects = 0, TreeItems = 0;
            CountOpenings(Text, TextObjects, TextItems);
            CountTree(Form, TreeObjects, TreeItems);
            EXPECT_EQ(TreeObjects, TextObjects);
            EXPECT_EQ(TreeItems, TextItems);
        } catch (const Exception& E) {
            ++Failed;
            ADD_FAILURE() << E.Message();
        }
    }
    EXPECT_EQ(Failed, 0) << "of " << Files.size() << " files";
}

} // namespace
