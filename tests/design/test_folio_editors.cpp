#include "DesignTestSupport.h"
#include "design/FolioComponentEditor.h"
#include "design/FolioPropertyEditors.h"
#include "design/FolioRegister.h"
#include "framework/core/Exceptions.h"
#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;
using namespace folio::test;

namespace {

struct FolioEditorsTest : ::testing::Test {
    THeadlessHost Host;
    TLogDesigner Designer;
    std::unique_ptr<TFolio> Bar = MakeBar();
    TFolioComponentEditor Editor{Bar.get(), &Designer};

    // Group switches happen at once, without the animation's thread.
    static std::unique_ptr<TFolio> MakeBar() {
        auto Bar = std::make_unique<TFolio>(nullptr);
        Bar->SetAnimationStyle(asNone);
        return Bar;
    }

    std::vector<String> Verbs() {
        std::vector<String> Result;
        for (int I = 0; I < Editor.GetVerbCount(); ++I) Result.push_back(Editor.GetVerb(I));
        return Result;
    }

    template <class TEditor>
    TEditor PropertyEditor(const char* Name, TPersistent* Component = nullptr) {
        const TPropInfo* Prop = TFolio::StaticClassInfo().FindProperty(Name);
        EXPECT_NE(Prop, nullptr) << Name;
        return TEditor(&Designer, {Component ? Component : Bar.get()}, *Prop);
    }
};

TEST_F(FolioEditorsTest, TheVerbsDependOnWhetherTheBarHasGroups) {
    using V = std::vector<String>;
    EXPECT_EQ(Verbs(), (V{"Edit groups...", "-", "Add Group"}));
    Bar->GetGroups()->Add("Mail");
    EXPECT_EQ(Verbs(), (V{"Edit groups...", "-", "Select Group", "Add Group", "Delete Group"}));
    // Beyond the table there is no verb.
    EXPECT_EQ(Editor.GetVerb(5), "");
    EXPECT_EQ(Editor.GetVerb(-1), "");
}

TEST_F(FolioEditorsTest, AddGroupOnAnEmptyBarMakesTheVisibleNewGroup) {
    Editor.ExecuteVerb(2);
    EXPECT_EQ(Captions(*Bar), std::vector<String>{"New Group"});
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
    EXPECT_EQ(Editor.GetVerbCount(), 5);
    EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
    // With groups "Add Group" is the fourth line and appends.
    Editor.ExecuteVerb(3);
    EXPECT_EQ(Captions(*Bar), (std::vector<String>{"New Group", "New Group"}));
    EXPECT_EQ(Bar->GetVisibleGroup(), 0);
}

TEST_F(FolioEditorsTest, EveryVerbTellsTheDesignerOnce) {
    struct Case {
        const char* Name;
        int Groups;
        int Verb;
        std::vector<String> Log;
        std::vector<String> Left;
    };
    const Case Cases[] = {
        {"separator without groups", 0, 1, {"Modified"}, {}},
        {"separator with groups", 2, 1, {"Modified"}, {"A", "B"}},
        {"select group", 2, 2, {"Select A", "Modified"}, {"A", "B"}},
        {"delete group", 2, 4, {"Modified"}, {"B"}},
        {"no such verb", 2, 7, {"Modified"}, {"A", "B"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Bar->GetGroups()->Clear();
        Designer.Log.clear();
        for (int I = 0; I < C.Groups; ++I) Bar->GetGroups()->Add(String(1, char('A' + I)));
        Editor.ExecuteVerb(C.Verb);
        EXPECT_EQ(Designer.Log, C.Log);
        EXPECT_EQ(Captions(*Bar), C.Left);
    }
}

// While the last group goes, its items are deleted after the bar has
// given up its open group: a designer that asks for its menu from a
// deletion event finds a bar with a group but no open one.
TEST_F(FolioEditorsTest, WithoutAnOpenGroupSelectRaisesFirstAndDeleteOnlyTellsTheDesigner) {
    TFolioGroup* Last = Bar->GetGroups()->Add("A");
    Last->GetItems()->Add("Inbox", 0);
    String Raised = "nothing";
    std::vector<String> HeardBeforeDelete, Left;
    Bar->OnItemDeletion = [&](TObject*, TFolioItem*) {
        ASSERT_EQ(Bar->GetVisibleGroup(), -1);
        ASSERT_EQ(Editor.GetVerbCount(), 5);
        try {
            Editor.ExecuteVerb(2);
        } catch (const Exception& E) {
            Raised = E.what();
        }
        HeardBeforeDelete = Designer.Log;
        Editor.ExecuteVerb(4);
        Left = Captions(*Bar);
    };
    Last->Delete();
    EXPECT_EQ(Raised, "Index out of range");
    EXPECT_TRUE(HeardBeforeDelete.empty()) << "the designer heard of a failed Select Group";
    EXPECT_EQ(Left, std::vector<String>{"A"}) << "Delete Group deleted without an open group";
    EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
}

TEST_F(FolioEditorsTest, VisibleGroupObjectOffersTheCaptionsAndOpensTheFirstMatch) {
    auto Editor = PropertyEditor<TFolioVisibleGroupPropEditor>("VisibleGroupObject");
    EXPECT_EQ(Editor.GetAttributes(), (TPropertyAttributes{paValueList, paReadOnly, paRevertable}));
    EXPECT_EQ(Editor.GetValue(), "None");
    for (const char* Caption : {"Mail", "Twin", "Places", "Twin"}) Bar->GetGroups()->Add(Caption);
    std::vector<String> Offered;
    Editor.GetValues([&](const String& S) { Offered.push_back(S); });
    EXPECT_EQ(Offered, (std::vector<String>{"Mail", "Twin", "Places", "Twin"}));

    Editor.SetValue("Twin");
    EXPECT_EQ(Bar->GetVisibleGroup(), 1) << "the lower of two alike";
    EXPECT_EQ(Editor.GetValue(), "Twin");
    // The comparison is exact; no match changes nothing.
    Editor.SetValue("places");
    Editor.SetValue("");
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);
    Editor.SetValue("Places");
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);
}

TEST_F(FolioEditorsTest, GroupsReadsItsClassNameWhateverTheBarHolds) {
    auto Editor = PropertyEditor<TFolioGroupsPropEditor>("Groups");
    EXPECT_EQ(Editor.GetAttributes(), (TPropertyAttributes{paDialog, paReadOnly}));
    EXPECT_EQ(Editor.GetValue(), "TFolioGroups");
    Bar->GetGroups()->Add("Mail")->GetItems()->Add("Inbox", 0);
    EXPECT_EQ(Editor.GetValue(), "TFolioGroups");
}

TEST_F(FolioEditorsTest, EditorsRefuseAComponentThatIsNotABar) {
    TComponent Other(nullptr);
    auto Wrong = PropertyEditor<TFolioVisibleGroupPropEditor>("VisibleGroupObject", &Other);
    EXPECT_THROW(Wrong.GetValue(), EInvalidCast);
    TFolioComponentEditor WrongEditor(&Other, &Designer);
    EXPECT_THROW(WrongEditor.GetVerbCount(), EInvalidCast);
}

TEST_F(FolioEditorsTest, RegisterPutsTheBarOnMarrowWithItsEditors) {
    TDesignRegistry Registry;
    {
        TRegistrationScope Scope(Registry, nullptr);
        Folio::Register();
    }
    EXPECT_EQ(Registry.PalettePageOf(TFolio::StaticClassInfo()), "Marrow");
    auto ComponentEditor = Registry.GetComponentEditor(Bar.get(), &Designer);
    EXPECT_NE(dynamic_cast<TFolioComponentEditor*>(ComponentEditor.get()), nullptr);
    const auto EditorOf = [&](const char* Name) {
        return Registry.GetPropertyEditor(&Designer, {Bar.get()},
                                          *TFolio::StaticClassInfo().FindProperty(Name));
    };
    EXPECT_NE(dynamic_cast<TFolioVisibleGroupPropEditor*>(EditorOf("VisibleGroupObject").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TFolioGroupsPropEditor*>(EditorOf("Groups").get()), nullptr);
    // Other properties keep the default editors.
    EXPECT_EQ(dynamic_cast<TFolioGroupsPropEditor*>(EditorOf("GroupsFont").get()), nullptr);
}

} // namespace
