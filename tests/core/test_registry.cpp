#include "framework/core/Registry.h"

#include "RegistryTestFolder.h"
#include "framework/core/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace folio;

using Names = std::vector<String>;

TEST_F(RegistryTest, PathsResolveFromTheRootOrTheOpenKey) {
    TRegistry Reg;
    struct TStep {
        const char* Path;
        bool CanCreate;
        bool Opens;
        const char* CurrentAfter;
    } Steps[] = {
        {"\\Software\\Folio", false, false, ""}, // missing: nothing changes
        {"\\Software\\Folio", true, true, "Software\\Folio"},
        {"Bar\\Group 1", true, true, "Software\\Folio\\Bar\\Group 1"},
        {"Item 1\\", true, true, "Software\\Folio\\Bar\\Group 1\\Item 1"}, // trailing backslash
        {"Nothing", false, false, "Software\\Folio\\Bar\\Group 1\\Item 1"},
        {"\\software\\FOLIO\\bar", false, true, "software\\FOLIO\\bar"},
        {"", false, true, "software\\FOLIO\\bar"}, // the open key itself
        {"\\", false, true, ""},                   // the root key
    };
    for (const TStep& Step : Steps) {
        SCOPED_TRACE(Step.Path);
        EXPECT_EQ(Reg.OpenKey(Step.Path, Step.CanCreate), Step.Opens);
        EXPECT_EQ(Reg.GetCurrentPath(), Step.CurrentAfter);
    }
    EXPECT_TRUE(Reg.KeyExists("\\Software\\Folio\\Bar\\Group 1\\Item 1"));
    EXPECT_FALSE(Reg.KeyExists("\\Software\\Folio\\Bar\\Item 1"));
    EXPECT_THROW(Reg.OpenKey("A\\\\B", true), ERegistryException);
    EXPECT_FALSE(Reg.KeyExists("\\A"));
}

TEST_F(RegistryTest, ReadRulesOfTheThreeTypes) {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("\\Values", true));
    Reg.WriteInteger("Int", -5);
    Reg.WriteInteger("Colour", static_cast<int>(0x80000010));
    Reg.WriteString("Str", "text");
    Reg.WriteBool("True", true);
    Reg.WriteBool("False", false);
    Reg.WriteInteger("Five", 5);

    EXPECT_EQ(Reg.ReadInteger("Int"), -5);
    EXPECT_EQ(static_cast<std::uint32_t>(Reg.ReadInteger("Colour")), 0x80000010u);
    EXPECT_EQ(Reg.ReadString("Str"), "text");
    EXPECT_TRUE(Reg.ReadBool("True"));
    EXPECT_FALSE(Reg.ReadBool("False"));
    EXPECT_TRUE(Reg.ReadBool("Five"));
    EXPECT_EQ(Reg.ReadString("Missing"), "");
    EXPECT_EQ(Reg.GetDataType("Str"), rdString);
    EXPECT_EQ(Reg.GetDataType("True"), rdInteger);
    EXPECT_EQ(Reg.GetDataType("Missing"), rdUnknown);

    struct TFailure {
        const char* Name;
        std::function<void()> Read;
        const char* Says;
    } Failures[] = {
        {"missing integer", [&] { Reg.ReadInteger("Missing"); }, "is missing in the key"},
        {"missing boolean", [&] { Reg.ReadBool("Missing"); }, "is missing in the key"},
        {"string as integer", [&] { Reg.ReadInteger("Str"); }, "holds a string, not an integer"},
        {"string as boolean", [&] { Reg.ReadBool("Str"); }, "holds a string, not an integer"},
        {"integer as string", [&] { Reg.ReadString("Int"); }, "holds an integer, not a string"},
    };
    for (const TFailure& Failure : Failures) {
        SCOPED_TRACE(Failure.Name);
        try {
            Failure.Read();
            ADD_FAILURE() << "no error";
        } catch (const ERegistryException& E) {
            EXPECT_NE(E.Message().find(Failure.Says), std::string::npos) << E.Message();
            EXPECT_NE(E.Message().find("HKEY_CURRENT_USER\\\\Values"), std::string::npos)
                << E.Message();
        }
    }
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheCaseFirstWritten) {
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("\\Software\\MyApp", true));
        Reg.WriteInteger("Window Width", 1);
        Reg.WriteInteger("WINDOW WIDTH", 2);
        ASSERT_TRUE(Reg.OpenKey("\\SOFTWARE\\myapp\\Sub", true));
        Reg.CloseKey();
    }
    TRegistry Reg;
    EXPECT_EQ(Reg.GetKeyNames(), Names{"Software"});
    ASSERT_TRUE(Reg.OpenKey("\\software\\MYAPP", false));
    EXPECT_EQ(Reg.GetValueNames(), Names{"Window Width"});
    EXPECT_EQ(Reg.ReadInteger("window width"), 2);
    EXPECT_EQ(Reg.GetKeyNames(), Names{"Sub"});
    EXPECT_TRUE(Reg.ValueExists("WiNdOw WiDtH"));
}

TEST_F(RegistryTest, ValuesGoToTheRootWhileNoKeyIsOpen) {
    TRegistry Reg;
    Reg.WriteString("At Root", "r");
    ASSERT_TRUE(Reg.OpenKey("\\K", true));
    EXPECT_FALSE(Reg.ValueExists("At Root"));
    Reg.CloseKey();
    EXPECT_FALSE(Reg.HasCurrentKey());
    EXPECT_EQ(Reg.ReadString("At Root"), "r");
    EXPECT_EQ(Reg.GetValueNames(), Names{"At Root"});
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey("\\A\\B\\C", true));
    Reg.WriteInteger("v", 1);
    ASSERT_TRUE(Reg.OpenKey("\\A\\Other", true));
    Reg.WriteInteger("w", 1);
    Reg.WriteInteger("x", 1);
    EXPECT_TRUE(Reg.DeleteValue("W"));
    EXPECT_FALSE(Reg.DeleteValue("w"));
    EXPECT_EQ(Reg.GetValueNames(), Names{"x"});

    ASSERT_TRUE(Reg.OpenKey("\\A\\B\\C", false));
    EXPECT_TRUE(Reg.DeleteKey("\\a\\b")); // above the open key: closes it
    EXPECT_FALSE(Reg.HasCurrentKey());
    EXPECT_FALSE(Reg.KeyExists("\\A\\B"));
    EXPECT_FALSE(Reg.KeyExists("\\A\\B\\C"));
    EXPECT_FALSE(Reg.DeleteKey("\\A\\B"));
    EXPECT_FALSE(Reg.DeleteKey("\\"));
    ASSERT_TRUE(Reg.OpenKey("\\A", false));
    EXPECT_TRUE(Reg.HasSubKeys());
    EXPECT_EQ(Reg.GetKeyNames(), Names{"Other"});
    EXPECT_TRUE(Reg.DeleteKey("Other")); // relative to the open key
    EXPECT_FALSE(Reg.HasSubKeys());
    Reg.CloseKey();

    TRegistry Later;
    EXPECT_TRUE(Later.KeyExists("\\A"));
    EXPECT_FALSE(Later.KeyExists("\\A\\Other"));
    EXPECT_FALSE(Later.KeyExists("\\A\\B"));
}

TEST_F(RegistryTest, ChangesReachTheFileWhenTheKeyCloses) {
    TRegistry Writer;
    ASSERT_TRUE(Writer.OpenKey("\\Software\\Folio", true));
    Writer.WriteInteger("Count", 7);
    EXPECT_FALSE(TRegistry().KeyExists("\\Software\\Folio"));
    Writer.CloseKey();
    TRegistry Reader;
    ASSERT_TRUE(Reader.OpenKey("\\Software\\Folio", false));
    EXPECT_EQ(Reader.ReadInteger("Count"), 7);

    // The destructor writes what is left, but not when a failure unwinds it.
    {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("\\Kept", true));
    }
    try {
        TRegistry Reg;
        ASSERT_TRUE(Reg.OpenKey("\\Dropped", true));
        throw Exception("failure");
    } catch (const Exception&) {
    }
    TRegistry After;
    EXPECT_TRUE(After.KeyExists("\\Kept"));
    EXPECT_FALSE(After.KeyExists("\\Dropped"));
}

TEST_F(RegistryTest, ObjectsInOneProcessKeepEachOthersKeys) {
    TRegistry First, Second;
    EXPECT_FALSE(First.KeyExists("\\Shared")); // both have read the empty store
    EXPECT_FALSE(Second.KeyExists("\\Shared"));
    ASSERT_TRUE(First.OpenKey("\\Shared\\First", true));
    First.WriteInteger("v", 1);
    ASSERT_TRUE(Second.OpenKey("\\Shared\\Second", true));
    Second.WriteInteger("v", 2);
    First.CloseKey();
    Second.CloseKey();
    // The second writer read the file afresh and now sees the first one's key.
    EXPECT_TRUE(Second.KeyExists("\\Shared\\First"));
    TRegistry Reader;
    ASSERT_TRUE(Reader.OpenKey("\\Shared", false));
    EXPECT_EQ(Reader.GetKeyNames(), (Names{"First", "Second"}));
}

TEST_F(RegistryTest, EachRootHasItsOwnFile) {
    TRegistry Reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(Reg.OpenKey("\\Machine", true));
    Reg.SetRootKey(HKEY_CURRENT_USER); // closes and writes
    EXPECT_FALSE(Reg.HasCurrentKey());
    EXPECT_FALSE(Reg.KeyExists("\\Machine"));
    ASSERT_TRUE(Reg.OpenKey("\\User", true));
    Reg.CloseKey();
    EXPECT_TRUE(TRegistry(HKEY_LOCAL_MACHINE).KeyExists("\\Machine"));
    EXPECT_NE(ReadBytes(StoreFile(HKEY_LOCAL_MACHINE)).find("[Machine]"), std::string::npos);
    EXPECT_NE(ReadBytes(StoreFile(HKEY_CURRENT_USER)).find("[User]"), std::string::npos);
    EXPECT_THROW(Reg.SetRootKey(0x80000007u), ERegistryException);
    EXPECT_THROW(TRegistry(1), ERegistryException);
    EXPECT_EQ(Reg.GetRootKey(), HKEY_CURRENT_USER);
}

TEST_F(RegistryTest, DepthAndNameLengthBounds) {
    TRegistry Reg;
    std::string Deep;
    for (int I = 0; I < RegistryMaxDepth; ++I) Deep += "\\k";
    EXPECT_TRUE(Reg.OpenKey(Deep, true));
    EXPECT_THROW(Reg.OpenKey("k", true), ERegistryException); // one deeper, relative
    EXPECT_THROW(Reg.OpenKey(Deep + "\\k", false), ERegistryException);
    const std::string Longest(RegistryMaxNameLength, 'n');
    EXPECT_NO_THROW(Reg.WriteInteger(Longest, 1));
    EXPECT_THROW(Reg.WriteInteger(Longest + "n", 1), ERegistryException);
    EXPECT_THROW(Reg.OpenKey("\\" + Longest + "n", true), ERegistryException);
    Reg.CloseKey();
    TRegistry Reader; // what was allowed is read back from the file
    ASSERT_TRUE(Reader.OpenKey(Deep, false));
    EXPECT_EQ(Reader.ReadInteger(Longest), 1);
}

TEST_F(RegistryTest, TheFolderComesFromTheCallThenTheEnvironment) {
    struct TEnv {
        const char* Name;
        const char* Value;
    };
    struct TCase {
        const char* Call;
        std::vector<TEnv> Env;
        const char* Folder;
    } Cases[] = {
        {"/set/by/call", {{"FOLIO_REGISTRY_DIR", "/by/env"}}, "/set/by/call"},
        {"", {{"FOLIO_REGISTRY_DIR", "/by/env"}, {"XDG_CONFIG_HOME", "/xdg"}}, "/by/env"},
        {"", {{"XDG_CONFIG_HOME", "/xdg"}, {"HOME", "/home/u"}}, "/xdg/folio/registry"},
        // A relative configuration folder is not a valid one.
        {"", {{"XDG_CONFIG_HOME", "xdg"}, {"HOME", "/home/u"}}, "/home/u/.config/folio/registry"},
        {"", {{"HOME", "/home/u"}}, "/home/u/.config/folio/registry"},
    };
    const char* Vars[] = {"FOLIO_REGISTRY_DIR", "XDG_CONFIG_HOME", "HOME"};
    std::vector<std::pair<std::string, std::string>> Saved;
    for (const char* Var : Vars)
        if (const char* Value = std::getenv(Var)) Saved.emplace_back(Var, Value);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Folder);
        for (const char* Var : Vars) unsetenv(Var);
        for (const TEnv& Env : Case.Env) setenv(Env.Name, Env.Value, 1);
        SetRegistryFolder(Case.Call);
        EXPECT_EQ(GetRegistryFolder(), Case.Folder);
        EXPECT_EQ(RegistryFileName(HKEY_CURRENT_USER), String(Case.Folder) + "/current_user.keys");
    }
    for (const char* Var : Vars) unsetenv(Var);
    SetRegistryFolder("");
    EXPECT_THROW(GetRegistryFolder(), ERegistryException);
    for (const auto& [Var, Value] : Saved) setenv(Var.c_str(), Value.c_str(), 1);
}
