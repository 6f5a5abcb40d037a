#include "folio/Folio.h"

#include "FolioDeletionLog.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

using namespace folio;

namespace {

using Names = std::vector<String>;
using Bytes = std::string;

const String K = "\\Software\\Folio Test\\Bar";

Bytes Save(TFolio& Bar) {
    TMemoryStream Stream;
    Bar.SaveToStream(Stream);
    return Bytes(Stream.Memory(), static_cast<size_t>(Stream.GetSize()));
}

// A bar with every stored field set to something other than its default.
void Fill(TFolio& Bar) {
    TFolioGroup* A = Bar.GetGroups()->Add("Alpha");
    A->SetStyle(gbGradient);
    A->SetColor(0x00112233);
    A->SetStartColor(0x010203);
    A->SetEndColor(static_cast<TColor>(0x80000014));
    A->SetCaptionColor(0x00ABCDEF);
    A->SetFixedBitmap(false);
    A->SetTag(-7);
    A->SetHint("group hint");
    A->SetShowHint(true);
    A->SetImageSize(isSmall);
    TFolioItem* One = A->GetItems()->Add("one", 3);
    One->SetOverImageIndex(9);
    One->SetTag(42);
    One->SetHint("item hint");
    One->SetShowHint(true);
    A->GetItems()->Add("two \"quoted\"\nline", -1);
    Bar.GetGroups()->Add("Beta")->GetItems()->Add("", 0);
    Bar.GetGroups()->Add("Gamma");
}

} // namespace

// Each test keeps its registry files in a folder of its own.
class FolioRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        char Name[] = "/tmp/folio_bar_registry_XXXXXX";
        ASSERT_NE(mkdtemp(Name), nullptr);
        Folder = Name;
        SetRegistryFolder(Folder);
    }
    void TearDown() override {
        SetRegistryFolder("");
        std::filesystem::remove_all(Folder);
    }

    std::string Folder;
};

TEST_F(FolioRegistry, TwoGroupTreeHasTheLayoutsNamesTypesAndOrder) {
    TFolio Bar(nullptr);
    Bar.GetGroups()->Add("First")->GetItems()->Add("Item", 2);
    Bar.GetGroups()->Add("Second");
    Bar.SaveToRegistry(HKEY_CURRENT_USER, K);

    const Names GroupValues = {"Caption",    "End Color",     "Color",        "Start Color",
                               "Style",      "Caption Color", "Fixed Bitmap", "Tag",
                               "Image Size", "Hint",          "Show Hint",    "Items"};
    const Names ItemValues = {"Image Index", "Over Image Index", "Caption", "Tag",
                              "Hint",        "Show Hint"};
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(K, false));
    EXPECT_EQ(Reg.GetValueNames(), Names{"Groups"});
    EXPECT_EQ(Reg.ReadInteger("Groups"), 2);
    EXPECT_EQ(Reg.GetKeyNames(), (Names{"Group 1", "Group 2"}));
    struct TKey {
        String Path;
        const Names& Values;
        Names Keys;
        int Items;
    } Keys[] = {
        {K + "\\Group 1", GroupValues, {"Item 1"}, 1},
        {K + "\\Group 2", GroupValues, {}, 0},
        {K + "\\Group 1\\Item 1", ItemValues, {}, -1},
    };
    for (const TKey& Key : Keys) {
        SCOPED_TRACE(Key.Path);
        ASSERT_TRUE(Reg.OpenKey(Key.Path, false));
        EXPECT_EQ(Reg.GetValueNames(), Key.Values);
        EXPECT_EQ(Reg.GetKeyNames(), Key.Keys);
        for (const String& Name : Key.Values) {
            const bool IsString = Name == "Caption" || Name == "Hint";
            EXPECT_EQ(Reg.GetDataType(Name), IsString ? rdString : rdInteger) << Name;
        }
        if (Key.Items >= 0) {
            EXPECT_EQ(Reg.ReadInteger("Items"), Key.Items);
        }
    }
    ASSERT_TRUE(Reg.OpenKey(K + "\\Group 1", false));
    EXPECT_EQ(Reg.ReadString("Caption"), "First");
    // Colours keep all 32 bits: the system colour's flag too.
    EXPECT_EQ(static_cast<std::uint32_t>(Reg.ReadInteger("End Color")), 0x80000010u);
    EXPECT_EQ(static_cast<std::uint32_t>(Reg.ReadInteger("Caption Color")), 0x8000000Fu);
    EXPECT_EQ(Reg.ReadInteger("Fixed Bitmap"), 1);
    EXPECT_EQ(Reg.ReadInteger("Image Size"), isLarge);
    ASSERT_TRUE(Reg.OpenKey("\\Software\\Folio Test\\Bar\\Group 1\\Item 1", false));
    EXPECT_EQ(Reg.ReadInteger("Image Index"), 2);
    EXPECT_EQ(Reg.ReadInteger("Over Image Index"), -1);
    EXPECT_EQ(Reg.ReadString("Caption"), "Item");
}

TEST_F(FolioRegistry, SaveAndLoadRoundTripEveryStoredField) {
    TFolio Bar(nullptr);
    Fill(Bar);
    Bar.SaveToRegistry(HKEY_CURRENT_USER, K);
    TDeletionLog Log;
    TFolio Copy(nullptr);
    Copy.GetGroups()->Add("old")->GetItems()->Add("old item", 0);
    Log.Attach(Copy);
    Copy.LoadFromRegistry(HKEY_CURRENT_USER, K);
    EXPECT_EQ(Save(Copy), Save(Bar));
    EXPECT_EQ(Log.Log, (std::vector<std::string>{"i:old item", "g:old"}));
    EXPECT_EQ(Copy.GetVisibleGroup(), 0);
}

TEST_F(FolioRegistry, ThreeGroupsOverFiveLeaveTheRestAndLoadThree) {
    TFolio Bar(nullptr);
    for (int I = 1; I <= 5; ++I) Bar.GetGroups()->Add("G" + std::to_string(I));
    Bar.SaveToRegistry(HKEY_CURRENT_USER, K);
    Bar.GetGroups()->GetGroup(4)->Delete();
    Bar.GetGroups()->GetGroup(3)->Delete();
    Bar.GetGroups()->GetGroup(0)->SetCaption("changed");
    Bar.SaveToRegistry(HKEY_CURRENT_USER, K);

    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(K, false));
    EXPECT_EQ(Reg.ReadInteger("Groups"), 3);
    EXPECT_EQ(Reg.GetKeyNames().size(), 5u);
    ASSERT_TRUE(Reg.OpenKey(K + "\\Group 5", false));
    EXPECT_EQ(Reg.ReadString("Caption"), "G5");

    TFolio Copy(nullptr);
    Copy.LoadFromRegistry(HKEY_CURRENT_USER, K);
    ASSERT_EQ(Copy.GetGroups()->GetCount(), 3);
    EXPECT_EQ(Copy.GetGroups()->GetGroup(0)->GetCaption(), "changed");
    EXPECT_EQ(Save(Copy), Save(Bar));
}

TEST_F(FolioRegistry, PicturesAndDataAreNotStored) {
    TFolio Bar(nullptr);
    int Marker = 0;
    TFolioGroup* G = Bar.GetGroups()->AddObject("Pictured", &Marker);
    TBitmap Picture;
    Picture.SetSize(4, 3);
    G->SetBitmap(&Picture);
    G->SetStyle(gbBitmap);
    G->GetItems()->AddObject("item", 1, &Marker);
    Bar.SaveToRegistry(HKEY_CURRENT_USER, K);

    TFolio Copy(nullptr);
    Copy.LoadFromRegistry(HKEY_CURRENT_USER, K);
    const TFolioGroup* Loaded = Copy.GetGroups()->GetGroup(0);
    EXPECT_TRUE(Loaded->GetBitmap()->GetEmpty());
    EXPECT_EQ(Loaded->GetStyle(), gbBitmap);
    EXPECT_EQ(Loaded->GetData(), nullptr);
    EXPECT_EQ(Loaded->GetItems()->GetItem(0)->GetData(), nullptr);

    // Loading one group in place leaves its picture and Data as they are.
    G->SetCaption("renamed");
    TRegistry Reg;
    G->LoadFromRegistry(Reg, K);
    EXPECT_EQ(G->GetCaption(), "Pictured");
    EXPECT_EQ(G->GetBitmap()->GetWidth(), 4);
    EXPECT_EQ(G->GetData(), &Marker);
}

TEST_F(FolioRegistry, StoredNumbersReadAsTheLoaderDefines) {
    struct TCase {
        const char* Key;
        const char* Value;
        int Number;
        std::function<void(const TFolioGroup&)> Check;
    } Cases[] = {
        {"Group 1", "Style", 258, [](auto& G) { EXPECT_EQ(G.GetStyle(), gbGradient); }},
        {"Group 1", "Image Size", 256, [](auto& G) { EXPECT_EQ(G.GetImageSize(), isSmall); }},
        {"Group 1", "Fixed Bitmap", 5, [](auto& G) { EXPECT_TRUE(G.GetFixedBitmap()); }},
        {"Group 1", "Show Hint", -1, [](auto& G) { EXPECT_TRUE(G.GetShowHint()); }},
        {"Group 1\\Item 1", "Show Hint", 2,
         [](auto& G) { EXPECT_TRUE(G.GetItems()->GetItem(0)->GetShowHint()); }},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(std::string(Case.Key) + " " + Case.Value);
        TFolio Bar(nullptr);
        Bar.GetGroups()->Add("G")->GetItems()->Add("I", 0);
        Bar.SaveToRegistry(HKEY_CURRENT_USER, K);
        {
            TRegistry Reg;
            ASSERT_TRUE(Reg.OpenKey(K + "\\" + Case.Key, false));
            Reg.WriteInteger(Case.Value, Case.Number);
            Reg.CloseKey();
        }
        TFolio Copy(nullptr);
        Copy.LoadFromRegistry(HKEY_CURRENT_USER, K);
        Case.Check(*Copy.GetGroups()->GetGroup(0));
    }
}

TEST_F(FolioRegistry, AFailedLoadRaisesAndLeavesTheBarAsItWas) {
    struct TCase {
        const char* Name;
        std::function<void(TRegistry&)> Damage;
    } Cases[] = {
        {"no key at all", [](TRegistry& R) { R.DeleteKey(K); }},
        {"missing group key", [](TRegistry& R) { R.DeleteKey(K + "\\Group 2"); }},
        {"missing item key", [](TRegistry& R) { R.DeleteKey(K + "\\Group 1\\Item 2"); }},
        {"count past the keys",
         [](TRegistry& R) {
             R.OpenKey(K, false);
             R.WriteInteger("Groups", 0x7FFFFFFF);
         }},
        {"missing integer",
         [](TRegistry& R) {
             R.OpenKey(K + "\\Group 3", false);
             R.DeleteValue("Tag");
         }},
        {"missing count",
         [](TRegistry& R) {
             R.OpenKey(K + "\\Group 2", false);
             R.DeleteValue("Items");
         }},
        {"wrong type",
         [](TRegistry& R) {
             R.OpenKey(K + "\\Group 1\\Item 1", false);
             R.WriteString("Tag", "seven");
         }},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        {
            TFolio Stored(nullptr);
            Fill(Stored);
            Stored.SaveToRegistry(HKEY_CURRENT_USER, K);
            TRegistry Reg;
            Case.Damage(Reg);
            Reg.CloseKey();
        }
        TDeletionLog Log;
        TFolio Bar(nullptr);
        Bar.GetGroups()->Add("mine")->GetItems()->Add("my item", 1);
        Bar.GetGroups()->Add("also mine");
        Bar.SetAnimationStyle(asNone);
        Bar.SetVisibleGroup(1);
        const Bytes Before = Save(Bar);
        Log.Attach(Bar);
        EXPECT_THROW(Bar.LoadFromRegistry(HKEY_CURRENT_USER, K), ERegistryException);
        EXPECT_TRUE(Log.Log.empty());
        EXPECT_EQ(Save(Bar), Before);
        EXPECT_EQ(Bar.GetVisibleGroup(), 1);
    }
}

TEST_F(FolioRegistry, ARelativePathNestsTheKeysAndStillRoundTrips) {
    TFolio Bar(nullptr);
    Fill(Bar);
    Bar.SaveToRegistry(HKEY_CURRENT_USER, "Rel\\Bar");
    // Each open is taken from the key opened just before it.
    const String G1 = "\\Rel\\Bar\\Rel\\Bar\\Group 1";
    const String I1 = G1 + "\\Rel\\Bar\\Group 1\\Item 1";
    const String I2 = I1 + "\\Rel\\Bar\\Group 1\\Item 2";
    const String G2 = I2 + "\\Rel\\Bar\\Group 2";
    TRegistry Reg;
    for (const String& Key : {G1, I1, I2, G2}) EXPECT_TRUE(Reg.KeyExists(Key)) << Key;
    EXPECT_FALSE(Reg.KeyExists("\\Rel\\Bar\\Group 2"));
    ASSERT_TRUE(Reg.OpenKey(I2, false));
    EXPECT_EQ(Reg.ReadString("Caption"), "two \"quoted\"\nline");

    TFolio Copy(nullptr);
    Copy.LoadFromRegistry(HKEY_CURRENT_USER, "Rel\\Bar");
    EXPECT_EQ(Save(Copy), Save(Bar));
}

TEST_F(FolioRegistry, ASaveThatCannotOpenAKeyRaisesAndWritesNothing) {
    // With a relative path every open nests one level deeper, until the
    // item keys pass the registry's depth bound.
    TFolio Bar(nullptr);
    TFolioItems* Items = Bar.GetGroups()->Add("deep")->GetItems();
    for (int I = 0; I < RegistryMaxDepth; ++I) Items->Add("i", 0);
    EXPECT_THROW(Bar.SaveToRegistry(HKEY_CURRENT_USER, "Deep"), ERegistryException);
    EXPECT_FALSE(TRegistry().KeyExists("\\Deep"));
    EXPECT_THROW(Bar.SaveToRegistry(HKEY_CURRENT_USER, "\\Bad\\\\Path"), ERegistryException);
    EXPECT_THROW(Bar.SaveToRegistry(0x12345678u, K), ERegistryException);
    EXPECT_FALSE(TRegistry().KeyExists("\\Bad"));
}

TEST_F(FolioRegistry, ModelClassesLoadAllOrNothing) {
    TFolio Bar(nullptr);
    Fill(Bar);
    Bar.SaveToRegistry(HKEY_CURRENT_USER, K);
    {
        TRegistry Reg;
        Reg.DeleteKey(K + "\\Group 1\\Item 2");
        Reg.CloseKey();
    }
    TFolio Other(nullptr);
    Other.GetGroups()->Add("x")->GetItems()->Add("kept", 5);
    TFolioGroup* Target = Other.GetGroups()->GetGroup(0);
    const Bytes Before = Save(Other);
    TRegistry Reg;
    EXPECT_THROW(Target->LoadFromRegistry(Reg, K), ERegistryException);
    ASSERT_TRUE(Reg.OpenKey(K + "\\Group 1", false));
    EXPECT_THROW(Target->GetItems()->LoadFromRegistry(Reg, K), ERegistryException);
    EXPECT_EQ(Save(Other), Before);

    // The second group's key is whole: its items load into the first group,
    // which builds its keys from its own index.
    Other.SetAnimationStyle(asNone);
    Other.GetGroups()->Insert(0, "first");
    ASSERT_TRUE(Reg.OpenKey(K + "\\Group 2", false));
    Other.GetGroups()->GetGroup(1)->GetItems()->LoadFromRegistry(Reg, K);
    ASSERT_EQ(Other.GetGroups()->GetGroup(1)->GetItems()->GetCount(), 1);
    EXPECT_EQ(Other.GetGroups()->GetGroup(1)->GetItems()->GetItem(0)->GetImageIndex(), 0);
    TFolioItem* Item = Other.GetGroups()->GetGroup(1)->GetItems()->GetItem(0);
    Item->SetCaption("changed");
    Item->LoadFromRegistry(Reg, K);
    EXPECT_EQ(Item->GetCaption(), "");
}
