// The designer as it runs: the package library loaded with dlopen gives the
// palette, the bar's verbs, its property editors and its editor dialog.
#include "DesignScript.h"
#include "DesignedForm.h"
#include "DesignerWindow.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/ColorConsts.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Bitmap.h"
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

// Where an icon drawn at Size in the middle of a larger bitmap put its ink:
// the bounds of the pixels it changed (relative to its square) and how many
// lie outside the square.
struct TIconInk {
    TRect Bounds;
    int Inside = 0;
    int Outside = 0;
};

TIconInk InkOf(TComponentIconProc Icon, int Size) {
    constexpr TColor Blank = 0x123456;
    TBitmap Picture(Size * 3, Size * 3);
    Picture.GetCanvas()->GetBrush()->SetColor(Blank);
    Picture.GetCanvas()->FillRect(Rect(0, 0, Size * 3, Size * 3));
    Icon(Picture.GetCanvas(), Bounds(Size, Size, Size, Size));
    TIconInk Ink;
    Ink.Bounds = Rect(Size, Size, 0, 0);
    for (int Y = 0; Y < Size * 3; ++Y)
        for (int X = 0; X < Size * 3; ++X) {
            if (Picture.GetPixel(X, Y) == Blank) continue;
            const bool In = X >= Size && X < Size * 2 && Y >= Size && Y < Size * 2;
            ++(In ? Ink.Inside : Ink.Outside);
            if (!In) continue;
            Ink.Bounds.Left = std::min(Ink.Bounds.Left, X - Size);
            Ink.Bounds.Top = std::min(Ink.Bounds.Top, Y - Size);
            Ink.Bounds.Right = std::max(Ink.Bounds.Right, X - Size + 1);
            Ink.Bounds.Bottom = std::max(Ink.Bounds.Bottom, Y - Size + 1);
        }
    return Ink;
}

// Every class on the palette, the designer's own and the package's, sits on
// a page and has an icon that draws at 24 and at 48 pixels: inside its
// square, covering a fair part of it, and at 48 the same picture twice as
// large (an icon that ignored the size it was given would not be).
TEST_F(DesignerPackageTest, EveryClassOnThePaletteHasAPageAndAnIconAtBothSizes) {
    const std::vector<TComponentPaletteEntry> Entries = PaletteEntries();
    ASSERT_GE(Entries.size(), 40u);
    for (const TComponentPaletteEntry& E : Entries) {
        SCOPED_TRACE(E.Class->Name);
        EXPECT_FALSE(E.Page.empty());
        const TComponentIconProc Icon = ComponentIcon(*E.Class);
        ASSERT_NE(Icon, nullptr);
        const TIconInk Small = InkOf(Icon, 24);
        const TIconInk Large = InkOf(Icon, 48);
        EXPECT_EQ(Small.Outside, 0);
        EXPECT_EQ(Large.Outside, 0);
        EXPECT_GE(Small.Inside, 24 * 24 / 10);
        EXPECT_GE(Large.Inside, 48 * 48 / 10);
        for (auto [S, L] : {std::pair{Small.Bounds.Left, Large.Bounds.Left},
                            std::pair{Small.Bounds.Top, Large.Bounds.Top},
                            std::pair{Small.Bounds.Right, Large.Bounds.Right},
                            std::pair{Small.Bounds.Bottom, Large.Bounds.Bottom}})
            EXPECT_NEAR(L, 2 * S, 3);
    }
    // The pages a user looks on, the framework's and the package's.
    const std::vector<String>& Pages = Window->Palette().Pages();
    for (const char* Page :
         {"Standard", "Additional", "Common", "System", "Dialogs", "Marrow", "Samples"})
        EXPECT_NE(std::find(Pages.begin(), Pages.end(), Page), Pages.end()) << Page;
}

// The bar's package draws its own icons; the palette shows the package's
// drawing on the bar's and the sample controls' buttons, pixel for pixel.
TEST_F(DesignerPackageTest, ThePaletteShowsTheIconsThePackageRegistered) {
    TComponentPalette& Palette = Window->Palette();
    for (const char* Name :
         {"TFolio", "TCCalendar", "TCColorGrid", "TCGauge", "TPerformanceGraph"}) {
        SCOPED_TRACE(Name);
        const TClassInfo* Class = GetClass(Name);
        ASSERT_NE(Class, nullptr);
        const TComponentIconProc Icon = ComponentIcon(*Class);
        ASSERT_NE(Icon, nullptr);
        Palette.SetPage(PalettePageOf(*Class));
        const auto It = std::find(Palette.Entries().begin(), Palette.Entries().end(), Class);
        ASSERT_NE(It, Palette.Entries().end());
        const TRect R = Palette.IconRect(static_cast<int>(It - Palette.Entries().begin()));
        ASSERT_EQ(R.Width(), 24);
        ASSERT_EQ(R.Height(), 24);
        TBitmap Expected(24, 24);
        Expected.GetCanvas()->GetBrush()->SetColor(clBtnFace);
        Expected.GetCanvas()->FillRect(Rect(0, 0, 24, 24));
        Icon(Expected.GetCanvas(), Rect(0, 0, 24, 24));
        const TPoint Origin = Palette.ClientToScreen(Point(R.Left, R.Top));
        TBitmap Shown;
        Host.ScreenPicture(Bounds(Origin.X, Origin.Y, 24, 24), Shown);
        int Different = 0;
        for (int Y = 0; Y < 24; ++Y)
            for (int X = 0; X < 24; ++X)
                Different += Shown.GetPixel(X, Y) != Expected.GetPixel(X, Y);
        EXPECT_EQ(Different, 0);
    }
}

// A form of every everyday control, built from the palette by mouse: each
// dropped, one property of each set in the inspector, the form saved, a new
// one begun and the file opened again, where the inspector shows each
// property as it was set. Aligned bars go first so that the rest drop
// clear of them; the tool button drops onto the tool bar.
TEST_F(DesignerPackageTest, EachEverydayControlIsDroppedSetSavedAndReadBackAsSet) {
    struct TStep {
        const char* Class;
        int X, Y;
        const char* Name;
        const char* How; // "set" types the value, "choose" picks it from the list
        const char* Property;
        const char* Value;
    };
    const TStep Steps[] = {
        {"TToolBar", 100, 10, "ToolBar1", "set", "Flat", "False"},
        {"TToolButton", 10, 8, "ToolButton1", "choose", "Style", "tbsCheck"},
        {"TStatusBar", 100, 400, "StatusBar1", "set", "SimpleText", "Ready"},
        {"TSplitter", 300, 200, "Splitter1", "set", "MinSize", "40"},
        {"TCheckBox", 40, 48, "CheckBox1", "set", "Checked", "True"},
        {"TRadioButton", 160, 48, "RadioButton1", "set", "Checked", "True"},
        {"TSpinEdit", 280, 48, "SpinEdit1", "set", "MaxValue", "50"},
        {"TTrackBar", 440, 40, "TrackBar1", "set", "Position", "7"},
        {"TProgressBar", 40, 104, "ProgressBar1", "set", "Position", "40"},
        {"TSpeedButton", 208, 104, "SpeedButton1", "set", "Flat", "True"},
        {"TBevel", 248, 96, "Bevel1", "choose", "Shape", "bsFrame"},
        {"TShape", 320, 96, "Shape1", "choose", "Shape", "stCircle"},
        {"TScrollBox", 440, 104, "ScrollBox1", "choose", "Color", "clWindow"},
        {"TTimer", 600, 180, "Timer1", "set", "Interval", "250"},
        {"TMemo", 40, 176, "Memo1", "choose", "ScrollBars", "ssVertical"},
        {"TTreeView", 240, 176, "TreeView1", "set", "ShowLines", "False"},
        {"TListView", 376, 176, "ListView1", "choose", "ViewStyle", "vsReport"},
        {"TRadioGroup", 40, 288, "RadioGroup1", "set", "Columns", "2"},
        {"TStringGrid", 240, 288, "StringGrid1", "set", "ColCount", "7"},
    };
    String Design, Check = "new\nopen everyday.form\n";
    for (const TStep& S : Steps) {
        Design += "drop " + String(S.Class) + " " + std::to_string(S.X) + " " +
                  std::to_string(S.Y) + "\n" + S.How + " " + S.Property + " " + S.Value +
                  "\nexpect " + S.Property + " " + S.Value + "\n";
        Check += "select " + String(S.Name) + "\nexpect " + S.Property + " " + S.Value + "\n";
    }
    Run(Design + "saveas everyday.form\n");
    for (const TStep& S : Steps)
        ASSERT_NE(Window->Designer().GetComponent(S.Name), nullptr) << S.Name;
    auto* Button = dynamic_cast<TControl*>(Window->Designer().GetComponent("ToolButton1"));
    EXPECT_EQ(Button->GetParent(), Window->Designer().GetComponent("ToolBar1"));
    Run(Check + "expect-modified no\n");
    // Each control came back once, from the file.
    EXPECT_EQ(Window->Designer().GetForm()->ComponentCount(), static_cast<int>(std::size(Steps)));
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
