#include "framework/core/ClassRegistry.h"
#include "framework/core/Component.h"
#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"
#include "package/FolioPackage.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace folio;

namespace {

// The package as a designer sees it: a library it opens, starts with its
// registry and closes again.
class TOpenedPackage {
public:
    explicit TOpenedPackage(TDesignRegistry& Registry) {
        FHandle = dlopen(FOLIO_PACKAGE_PATH, RTLD_NOW | RTLD_LOCAL);
        if (!FHandle) throw Exception(String("dlopen failed: ") + dlerror());
        auto Init = reinterpret_cast<TFolioPackageInit>(dlsym(FHandle, FOLIO_PACKAGE_ENTRY));
        if (!Init) throw Exception("the package has no " FOLIO_PACKAGE_ENTRY);
        if (const char* Failure = Init(&Registry)) throw Exception(Failure);
    }
    ~TOpenedPackage() { Close(); }
    void Exit() { reinterpret_cast<TFolioPackageExit>(dlsym(FHandle, FOLIO_PACKAGE_EXIT))(); }
    void Close() {
        if (FHandle) dlclose(FHandle);
        FHandle = nullptr;
    }

private:
    void* FHandle = nullptr;
};

std::map<String, String> PagesOf(const TDesignRegistry& Registry) {
    std::map<String, String> Pages;
    for (const TComponentPaletteEntry& Entry : Registry.PaletteEntries())
        Pages[Entry.Class->Name] = Entry.Page;
    return Pages;
}

std::vector<String> EditorNames(const TDesignRegistry& Registry) {
    std::vector<String> Names;
    for (const auto& Entry : Registry.ComponentEditors())
        Names.push_back(Entry.ComponentClass->Name + ": " + Entry.EditorName);
    for (const auto& Entry : Registry.PropertyEditors())
        Names.push_back(Entry.ComponentClass->Name + "." + Entry.PropertyName + ": " +
                        Entry.EditorName);
    std::sort(Names.begin(), Names.end());
    return Names;
}

TEST(Package, LoadsRegistersUnloadsAndLoadsAgain) {
    THeadlessHost Host;
    TDesignRegistry Registry;
    for (int Round = 0; Round < 2; ++Round) {
        SCOPED_TRACE(Round);
        TOpenedPackage Package(Registry);
        const auto Pages = PagesOf(Registry);
        ASSERT_EQ(Pages.size(), 5u);
        EXPECT_EQ(Pages.at("TFolio"), "Marrow");
        const String Samples = Pages.at("TCCalendar");
        EXPECT_FALSE(Samples.empty());
        for (const char* Sample : {"TCColorGrid", "TCGauge", "TPerformanceGraph"})
            EXPECT_EQ(Pages.at(Sample), Samples) << Sample;
        EXPECT_EQ(EditorNames(Registry),
                  (std::vector<String>{"TFolio.Groups: TFolioGroupsPropEditor",
                                       "TFolio.VisibleGroupObject: TFolioVisibleGroupPropEditor",
                                       "TFolio: TFolioComponentEditor"}));

        // What the palette offers can be made and edited through the
        // registry, with the package's editors.
        {
            std::unique_ptr<TComponent> Bar(CreateComponent("TFolio", nullptr));
            auto Editor = Registry.GetComponentEditor(Bar.get(), nullptr);
            ASSERT_EQ(Editor->GetVerbCount(), 3);
            EXPECT_EQ(Editor->GetVerb(2), "Add Group");
            Editor->ExecuteVerb(2);
            EXPECT_EQ(Editor->GetVerbCount(), 5);
            EXPECT_NE(GetClass("TFolioEditorForm"), nullptr);
        }

        // The first time the designer says goodbye before it closes the
        // library; the second time it only closes it.
        if (Round == 0) {
            Package.Exit();
            EXPECT_TRUE(Registry.PaletteEntries().empty());
            EXPECT_EQ(GetClass("TFolioEditorForm"), nullptr);
        }
        Package.Close();
        // Everything the package registered has left with it.
        EXPECT_TRUE(Registry.PaletteEntries().empty());
        EXPECT_TRUE(EditorNames(Registry).empty());
        EXPECT_EQ(GetClass("TFolio"), nullptr);
        EXPECT_EQ(GetClass("TFolioEditorForm"), nullptr);
    }
}

TEST(Package, ANullRegistryIsRefusedAndLeavesNothingBehind) {
    void* Handle = dlopen(FOLIO_PACKAGE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(Handle, nullptr) << dlerror();
    auto Init = reinterpret_cast<TFolioPackageInit>(dlsym(Handle, FOLIO_PACKAGE_ENTRY));
    ASSERT_NE(Init, nullptr);
    const char* Failure = Init(nullptr);
    ASSERT_NE(Failure, nullptr);
    EXPECT_NE(String(Failure).find("registry"), String::npos) << Failure;
    EXPECT_EQ(GetClass("TFolioEditorForm"), nullptr) << "the units were finalised again";
    dlclose(Handle);
}

} // namespace
