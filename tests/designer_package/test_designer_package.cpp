// The designer as it runs: the package library loaded with dlopen gives the
// palette, the bar's verbs, its property editors and its editor dialog.
#include "DesignScript.h"
#include "DesignedForm.h"
#include "DesignerWindow.h"

#include "framework/core/ClassRegistry.h"
#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace designer::test {
namespace {

using namespace folio;

class DesignerPackageTest : public ::testing::Test {
protected:
    DesignerPackageTest() {
        Window = std::make_unique<TDesignerWindow>();
        Window->OnAskSave = [](const String&) { return mrNo; };
        RegisterStandardControls();
        Window->LoadPackage(TPackageLibrary::DefaultPath());
        Window->Show();
        Host.RunUntilIdle();
        Dir = std::filesystem::temp_directory_path() /
              ("folio-designer-package-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
    }
    ~DesignerPackageTest() override {
        Window.reset();
        std::filesystem::remove_all(Dir);
    }
    void Run(const String& Script) {
        TDesignScript Runner(Host, *Window, Log);
        Runner.SetBaseDir(Dir.string());
        Runner.Run(ParseDesignScript(Script));
    }
    // A published property of a component of the designed form, as text.
    String Value(const String& Component, const String& Path) {
        TPersistent* Object = Window->Designer().GetComponent(Component);
        EXPECT_NE(Object, nullptr) << Component;
        if (!Object) return {};
        String Rest = Path;
        for (size_t Dot; (Dot = Rest.find('.')) != String::npos; Rest.erase(0, Dot + 1)) {
            const TPropInfo* Sub = Object->ClassInfo().FindProperty(Rest.substr(0, Dot));
            Object = static_cast<TPersistent*>(Sub->GetObj(*Object));
        }
        const TPropInfo* Prop = Object->ClassInfo().FindProperty(Rest);
        if (Prop->Kind == TTypeKind::tkEnum) return Prop->EnumName(Prop->GetOrd(*Object));
        if (Prop->IsOrdinal()) return std::to_string(Prop->GetOrd(*Object));
        return Prop->GetStr ? Prop->GetStr(*Object) : String();
    }

    THeadlessHost Host{1024, 768};
    std::unique_ptr<TDesignerWindow> Window;
    std::filesystem::path Dir;
    std::ostringstream Log;
};

// The Component menu offers the selected component's verbs, as its right
// click does, and the package's loading.
TEST_F(DesignerPackageTest, TheComponentMenuRunsTheSelectedComponentsVerbs) {
    Run("drop TFolio 16 16\n"
        "mainmenu Component > Add Group\n"
        "mainmenu Component > Add Group\n"
        "mainmenu Component > Delete Group\n");
    // Each verb is one change; the bar kept one of its two groups.
    EXPECT_EQ(Window->Designer().UndoCount(), 4u);
    Window->MainMenu().Update();
    EXPECT_NE(Window->MainMenu().Find({"Component", "Select Group"}), nullptr);
    Run("undo\nundo\nundo\n");
    Window->MainMenu().Update();
    EXPECT_EQ(Window->MainMenu().Find({"Component", "Select Group"}), nullptr)
        << "a bar without groups has no Select Group";
    EXPECT_NE(Window->MainMenu().Find({"Component", "Add Group"}), nullptr);
    Run("mainmenu Component > Unload package");
    EXPECT_FALSE(Window->Package().IsLoaded());
    EXPECT_EQ(Window->Designer().GetComponent("Folio1"), nullptr);
}

TEST_F(DesignerPackageTest, ThePackageIsLoadedUnloadedAndLoadedAgainWithItsPalette) {
    // By reference: begin and end must come from the same list.
    auto Pages = [this]() -> const std::vector<String>& { return Window->Palette().Pages(); };
    EXPECT_NE(std::find(Pages().begin(), Pages().end(), "Marrow"), Pages().end());
    EXPECT_NE(GetClass("TFolio"), nullptr);
    Run("drop TFolio 16 16");
    Run("unload-package");
    EXPECT_FALSE(Window->Package().IsLoaded());
    EXPECT_EQ(std::find(Pages().begin(), Pages().end(), "Marrow"), Pages().end());
    EXPECT_EQ(GetClass("TFolio"), nullptr);
    // The form made from the package went before it.
    EXPECT_EQ(Window->Designer().GetComponent("Folio1"), nullptr);
    Run("load-package\n"
        "drop TFolio 16 16\n");
    EXPECT_NE(Window->Designer().GetComponent("Folio1"), nullptr);
    EXPECT_THROW(Run("load-package no-such-package.so"), EDesignScriptError);
    EXPECT_FALSE(Window->Package().IsLoaded());
}

// The package's pages beside the designer's own: the bar on "Marrow", the
// four sample controls on theirs, the standard controls; each drops.
TEST_F(DesignerPackageTest, ThePaletteHasTheBarTheSampleControlsAndTheStandardControls) {
    TComponentPalette& Palette = Window->Palette();
    const std::vector<String> Pages = Palette.Pages();
    for (const char* Page : {"Marrow", "Samples", "Standard"})
        EXPECT_NE(std::find(Pages.begin(), Pages.end(), Page), Pages.end()) << Page;
    auto EntriesOf = [&](const String& Page) {
        Palette.SetPage(Page);
        std::vector<String> Names;
        for (const TClassInfo* Class : Palette.Entries()) Names.push_back(Class->Name);
        return Names;
    };
    EXPECT_EQ(EntriesOf("Marrow"), std::vector<String>{"TFolio"});
    EXPECT_EQ(EntriesOf("Samples"),
              (std::vector<String>{"TCCalendar", "TCColorGrid", "TCGauge", "TPerformanceGraph"}));
    Run("drop TCCalendar 16 16\n"
        "drop TCColorGrid 300 16\n"
        "drop TCGauge 300 200\n"
        "drop TPerformanceGraph 16 260\n"
        "drop TButton 450 200\n");
    for (const char* Name :
         {"CCalendar1", "CColorGrid1", "CGauge1", "PerformanceGraph1", "Button1"}) {
        TComponent* Dropped = Window->Designer().GetComponent(Name);
        ASSERT_NE(Dropped, nullptr) << Name;
        EXPECT_TRUE(Dropped->IsDesigning()) << Name;
    }
}

// The ellipsis of Groups in the inspector runs the bar editor dialog; its OK
// is one change to undo.
TEST_F(DesignerPackageTest, TheGroupsEllipsisOpensTheBarEditorDialog) {
    Run("drop TFolio 16 16");
    const size_t Steps = Window->Designer().UndoCount();
    Run("edit Groups\n"
        "dialog-click NewGroupButton\n"
        "dialog-text First one\n"
        "dialog-key Enter\n"
        "dialog-click NewGroupButton\n"
        "dialog-text Second\n"
        "dialog-key Enter\n"
        "dialog-click OKButton\n");
    std::vector<String> Groups;
    TObjectInspector& I = Window->Inspector();
    I.RowEditor(I.FindRow("VisibleGroupObject"))->GetValues([&](const String& V) {
        Groups.push_back(V);
    });
    EXPECT_EQ(Groups, (std::vector<String>{"First one", "Second"}));
    EXPECT_EQ(Window->Designer().UndoCount(), Steps + 1);
    // Cancel leaves the bar and the undo steps alone.
    Run("edit Groups\n"
        "dialog-click DeleteGroupButton\n"
        "dialog-click CancelButton\n");
    EXPECT_EQ(Window->Designer().UndoCount(), Steps + 1);
    Run("undo");
    Groups.clear();
    I.RowEditor(I.FindRow("VisibleGroupObject"))->GetValues([&](const String& V) {
        Groups.push_back(V);
    });
    EXPECT_TRUE(Groups.empty());
}

// The session a form designer is for, from the package's palette to the
// saved file.
TEST_F(DesignerPackageTest, ADesignedBarAndGaugeAreSavedAndReadBackAsDesigned) {
    Run("drop TFolio 16 16\n"
        "set Width 200\n"
        "set Height 320\n"
        "drop TCGauge 240 24\n"
        "select Folio1\n"
        "set Alignment baHorizontal\n"
        "set GroupsFont.Size 12\n"
        "verb Add Group\n"
        "verb Add Group\n"
        "verb Select Group\n");
    EXPECT_EQ(Value("Folio1", "Alignment"), "baHorizontal");
    EXPECT_EQ(Value("Folio1", "GroupsFont.Size"), "12");
    // "Select Group" shows the visible group's properties.
    TPersistent* Selected = Window->Designer().GetSelection();
    ASSERT_NE(Selected, nullptr);
    EXPECT_EQ(Selected->ClassName(), "TFolioGroup");
    Run("expect Caption New Group\n"
        "select Folio1\n"
        "dblclick Folio1\n"
        "dialog-type GroupTextEdit Renamed\n"
        "dialog-click OKButton\n"
        // The dialog renamed the first group; the drop-down finds it.
        "set VisibleGroupObject Renamed\n"
        "expect VisibleGroup 0\n"
        "verb Select Group\n"
        "expect Caption Renamed\n"
        "select Folio1\n"
        "drag CGauge1 40 16\n"
        "undo\n"
        "expect-modified yes\n"
        "saveas designed.form\n"
        "expect-modified no\n"
        "snapshot designed.png\n");
    TDesignedForm Read = ReadDesignedForm((Dir / "designed.form").string(), nullptr);
    EXPECT_EQ(SnapshotForm(*Read.Form), SnapshotForm(*Window->Designer().GetForm()));
    // What was designed, seen again through the inspector on the file read
    // back: the bar's groups (the drop-down of VisibleGroupObject lists their
    // captions), its alignment and font, the gauge where it was dropped.
    Run("new\n"
        "open designed.form\n"
        "select Folio1\n"
        "expect Alignment baHorizontal\n"
        "expect GroupsFont.Size 12\n"
        "expect Width 200\n");
    TObjectInspector& I = Window->Inspector();
    std::vector<String> Groups;
    I.RowEditor(I.FindRow("VisibleGroupObject"))->GetValues([&](const String& V) {
        Groups.push_back(V);
    });
    EXPECT_EQ(Groups, (std::vector<String>{"Renamed", "New Group"}));
    Run("select CGauge1\n"
        "expect Left 240\n"
        "expect Top 24\n"
        "expect-modified no\n");
    // The groups travelled: two, one renamed in the dialog.
    const String Text = [&] {
        std::ostringstream S;
        S << std::ifstream(Dir / "designed.form").rdbuf();
        return S.str();
    }();
    EXPECT_NE(Text.find("Groups.Data"), String::npos);
    auto* Gauge = dynamic_cast<TControl*>(Read.Form->FindComponent("CGauge1"));
    ASSERT_NE(Gauge, nullptr);
    EXPECT_EQ(Gauge->GetLeft(), 240);
    std::filesystem::copy_file(Dir / "designed.png", "designer-package-session.png",
                               std::filesystem::copy_options::overwrite_existing);
}

} // namespace
} // namespace designer::test
