#include "framework/core/RegistryText.h"

#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

using namespace folio;

namespace {

const String FileName = "/home/u/.config/folio/registry/current_user.keys";

// Two trees are equal when they hold the same names, in the same order and
// case, with the same values.
void ExpectSameTree(const TRegKeyNode& A, const TRegKeyNode& B, const std::string& Where = "") {
    SCOPED_TRACE(Where);
    ASSERT_EQ(A.Values().Count(), B.Values().Count());
    for (size_t I = 0; I < A.Values().Count(); ++I) {
        EXPECT_EQ(A.Values().At(I).Name, B.Values().At(I).Name);
        EXPECT_EQ(A.Values().At(I).Value, B.Values().At(I).Value);
    }
    ASSERT_EQ(A.Keys().Count(), B.Keys().Count());
    for (size_t I = 0; I < A.Keys().Count(); ++I) {
        ASSERT_EQ(A.Keys().At(I).Name, B.Keys().At(I).Name);
        ExpectSameTree(*A.Keys().At(I).Value, *B.Keys().At(I).Value,
                       Where + "\\" + A.Keys().At(I).Name);
    }
}

TRegValue Number(std::uint32_t N) {
    return TRegValue{rdInteger, N, {}};
}

TRegValue Text(const std::string& S) {
    return TRegValue{rdString, 0, S};
}

std::string AllBytes() {
    std::string S;
    for (int C = 0; C < 256; ++C) S += static_cast<char>(C);
    return S;
}

// Raises the parse error of Text and returns its message.
std::string ParseError(const std::string& Text) {
    try {
        ParseRegistryText(Text, FileName);
    } catch (const ERegistryException& E) {
        return E.Message();
    }
    ADD_FAILURE() << "no error for: " << Text;
    return "";
}

} // namespace

TEST(RegistryText, WritesOneReadableLinePerKeyAndValue) {
    TRegKeyNode Root;
    TRegKeyNode& Bar = EnsureRegKey(Root, {"Software", "Folio", "Bar"});
    Bar.SetValue("Groups", Number(2));
    TRegKeyNode& Group = Bar.EnsureKey("Group 1");
    Group.SetValue("Caption", Text("Files \"and\" C:\\dir"));
    Group.SetValue("End Color", Number(0x80000010));
    Group.SetValue("Tag", Number(static_cast<std::uint32_t>(-1)));
    Bar.EnsureKey("Group 2");

    EXPECT_EQ(FormatRegistryText(Root, "HKEY_CURRENT_USER"),
              "# HKEY_CURRENT_USER\n"
              "\n[Software]\n"
              "\n[Software\\Folio]\n"
              "\n[Software\\Folio\\Bar]\n"
              "\"Groups\" = dword:00000002\n"
              "\n[Software\\Folio\\Bar\\Group 1]\n"
              "\"Caption\" = sz:\"Files \\\"and\\\" C:\\\\dir\"\n"
              "\"End Color\" = dword:80000010\n"
              "\"Tag\" = dword:ffffffff\n"
              "\n[Software\\Folio\\Bar\\Group 2]\n");
}

TEST(RegistryText, AnyBytesInNamesAndValuesRoundTrip) {
    TRegKeyNode Root;
    Root.SetValue("", Text("the root's own value"));
    const std::string Bytes = AllBytes();
    TRegKeyNode& Odd = EnsureRegKey(Root, {"100% ]odd[ ", " lead\ttab", "\xC3\xA4 \xFF\xFE end"});
    Odd.SetValue(Bytes, Text(Bytes));
    Odd.SetValue("back\\slash \"quoted\"", Number(0));
    Odd.SetValue("utf-8 \xE2\x82\xAC, broken \xE2\x82 and \xED\xA0\x80", Text("\xF0\x9F\x98\x80"));
    // Every byte that is not a path separator, in a key name.
    std::string KeyBytes;
    for (char C : Bytes)
        if (C != '\\') KeyBytes += C;
    EnsureRegKey(Root, {KeyBytes}).SetValue("x", Text(""));

    const String Written = FormatRegistryText(Root, "title\nwith a line break");
    // Nothing but line ends separates lines, and no line holds a control byte.
    for (char C : Written)
        EXPECT_TRUE(C == '\n' || static_cast<unsigned char>(C) >= 0x20) << int(C);
    const auto Read = ParseRegistryText(Written, FileName);
    ExpectSameTree(Root, *Read);
    EXPECT_EQ(FormatRegistryText(*Read, "title\nwith a line break"), Written);
}

TEST(RegistryText, ReadsHandEditedText) {
    const auto Read = ParseRegistryText("# comment\r\n"
                                        "\r\n"
                                        "  [A\\B]   \r\n"
                                        "\t\"X\"=dword:A\r\n"
                                        "\"Y\"\t =  sz:\"tab\there\"  \n"
                                        "[a]\n"
                                        "\"z\" = dword:DeadBeef\n"
                                        "[]\n"
                                        "\"r\" = sz:\"\\x41\"",
                                        FileName);
    TRegKeyNode Expected;
    Expected.SetValue("r", Text("A"));
    TRegKeyNode& A = Expected.EnsureKey("A");
    A.SetValue("z", Number(0xDEADBEEF)); // a second section of one key adds to it
    TRegKeyNode& B = A.EnsureKey("B");
    B.SetValue("X", Number(10));
    B.SetValue("Y", Text("tab\there"));
    // The order differs: A's value came after B was made, the root's last.
    ASSERT_EQ(Read->Keys().Count(), 1u);
    const TRegKeyNode& ReadA = *Read->FindKey("a");
    EXPECT_EQ(Read->Keys().At(0).Name, "A");
    ExpectSameTree(*ReadA.FindKey("b"), B);
    EXPECT_EQ(*ReadA.FindValue("Z"), Number(0xDEADBEEF));
    EXPECT_EQ(*Read->FindValue("R"), Text("A"));
}

TEST(RegistryText, DamagedTextNamesFileAndLine) {
    const std::string Deep = [] {
        std::string Path = "[k";
        for (int I = 1; I <= RegistryMaxDepth; ++I) Path += "\\k";
        return Path + "]\n";
    }();
    const std::string AtBound = Deep.substr(0, Deep.size() - 4); // 512 keys, no "]\n"
    const std::string LongName(RegistryMaxNameLength + 1, 'n');
    struct TCase {
        std::string Text;
        int Line;
        std::string Says;
    } Cases[] = {
        {"\"v\" = dword:1\n", 1, "before the first key"},
        {"[A]\n\"v\" = dword:1\n[B\n", 3, "no closing \"]\""},
        {"[A\\\\B]\n", 1, "empty name"},
        {"[A\\]\n", 1, "ends in a backslash"},
        {"[A%4]\n", 1, "two hex digits"},
        {"[A\\B%5cC]\n", 1, "escaped backslash"},
        {"[A]\nv = dword:1\n", 2, "neither a key"},
        {"[A]\n\"v = dword:1\n", 2, "no closing quote"},
        {"[A]\n\"v\" dword:1\n", 2, "not followed by \"=\""},
        {"[A]\n\"v\" = qword:1\n", 2, "neither \"dword:\" nor \"sz:\""},
        {"[A]\n\"v\" = dword:\n", 2, "one to eight hex digits"},
        {"[A]\n\"v\" = dword:123456789\n", 2, "one to eight hex digits"},
        {"[A]\n\"v\" = dword:12 3\n", 2, "goes on after its data"},
        {"[A]\n\"v\" = sz:\"a\\q\"\n", 2, "unknown escape"},
        {"[A]\n\"v\" = sz:\"a\\x4\"\n", 2, "two hex digits"},
        {"[A]\n\"v\" = sz:\"a\x01\"\n", 2, "control character"},
        {"[A]\n\"v\" = sz:\"a\\", 2, "no closing quote"},
        {"[A]\n\"V\" = dword:1\n\n\"v\" = dword:2\n", 4, "given twice"},
        {"# ok\n" + Deep, 2, "more than 512 keys deep"},
        {AtBound + "]\n" + AtBound + "\\k]\n", 2, "more than 512 keys deep"},
        {"[A]\n[A\\]\n", 2, "ends in a backslash"},
        {"[" + LongName + "]\n", 1, "longer than 16384 bytes"},
        {"[A]\n\"" + LongName + "\" = dword:1\n", 2, "longer than 16384 bytes"},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Text.substr(0, 60));
        const std::string Message = ParseError(Case.Text);
        EXPECT_NE(Message.find(FileName), std::string::npos) << Message;
        EXPECT_NE(Message.find("line " + std::to_string(Case.Line) + ":"), std::string::npos)
            << Message;
        EXPECT_NE(Message.find(Case.Says), std::string::npos) << Message;
    }
}

// Key lines that go on from the one before start at its key; those that
// only look as if they did must still be read from the root.
TEST(RegistryText, KeyLinesFollowingEachOtherReadAsFromTheRoot) {
    const auto Read = ParseRegistryText("[a]\n[ab]\n[ab\\c]\n[a\\b]\n[A\\B\\d]\n"
                                        "[a\\b%41x]\n[a\\b\\e]\n[a]\n\"v\" = dword:1\n",
                                        FileName);
    TRegKeyNode Expected;
    TRegKeyNode& A = Expected.EnsureKey("a");
    Expected.EnsureKey("ab").EnsureKey("c");
    TRegKeyNode& B = A.EnsureKey("b");
    B.EnsureKey("d");
    A.EnsureKey("bAx");
    B.EnsureKey("e");
    A.SetValue("v", Number(1));
    ExpectSameTree(*Read, Expected);
}

TEST(RegistryText, LimitsAreInclusive) {
    std::string Deep = "[k";
    for (int I = 1; I < RegistryMaxDepth; ++I) Deep += "\\k";
    Deep += "]\n\"" + std::string(RegistryMaxNameLength, 'v') + "\" = dword:1\n";
    const auto Read = ParseRegistryText(Deep, FileName);
    const TRegKeyNode* Key = Read.get();
    int Depth = 0;
    while (Key->Keys().Count() == 1) {
        Key = Key->Keys().At(0).Value.get();
        ++Depth;
    }
    EXPECT_EQ(Depth, RegistryMaxDepth);
    EXPECT_EQ(Key->Values().At(0).Name.size(), RegistryMaxNameLength);
}

TEST(RegistryText, NamesIgnoreAsciiCaseOnlyAndKeepTheirFirstCase) {
    TRegKeyNode Root;
    Root.SetValue("Caption", Number(1));
    Root.SetValue("CAPTION", Number(2));
    Root.SetValue("\xC3\x84", Number(3)); // capital A with diaeresis
    Root.SetValue("\xC3\xA4", Number(4)); // small: another name
    ASSERT_EQ(Root.Values().Count(), 3u);
    EXPECT_EQ(Root.Values().At(0).Name, "Caption");
    EXPECT_EQ(*Root.FindValue("caption"), Number(2));
    // Past the size where the list builds its index, lookups still ignore case,
    // and removal keeps the others findable.
    for (int I = 0; I < 40; ++I) Root.EnsureKey("Key " + std::to_string(I));
    EXPECT_NE(Root.FindKey("KEY 39"), nullptr);
    EXPECT_TRUE(Root.DeleteKey("key 3"));
    EXPECT_FALSE(Root.DeleteKey("Key 3"));
    EXPECT_EQ(Root.FindKey("key 3"), nullptr);
    for (int I = 0; I < 40; ++I)
        if (I != 3) {
            EXPECT_NE(Root.FindKey("kEY " + std::to_string(I)), nullptr) << I;
        }
    EXPECT_EQ(Root.Keys().At(3).Name, "Key 4");
}
