#include "ui/DesignProbes.h"

#include "framework/core/ClassRegistry.h"
#include "framework/core/ColorConsts.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Streams.h"
#include "framework/design/DesignRegistry.h"
#include "framework/design/StdPropertyEditors.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/app/Clipboard.h"

#include <gtest/gtest.h>

using namespace folio;
using namespace folio::test;

namespace {

// Editors that say who they are, so that a lookup shows which one it found.
template <int Id>
class TTaggedPropertyEditor : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    String GetValue() override { return "editor " + std::to_string(Id); }
};

template <int Id>
class TTaggedComponentEditor : public TComponentEditor {
public:
    using TComponentEditor::TComponentEditor;
    int GetVerbCount() override { return 1; }
    String GetVerb(int Index) override { return Index == 0 ? "Verb of " + std::to_string(Id) : ""; }
    void ExecuteVerb(int) override { ++Runs; }
    static inline int Runs = 0;
};

String Found(TDesignRegistry& Registry, TPersistent* Object, const char* Property) {
    const TPropInfo* Prop = Object->ClassInfo().FindProperty(Property);
    return Registry.GetPropertyEditor(nullptr, {Object}, *Prop)->GetValue();
}

const int OwnerTag = 0;

TEST(DesignRegistry, TheMostSpecificPropertyEditorWinsAndLaterOnesBreakTies) {
    TDesignRegistry Registry;
    TProbeForm Form(nullptr);
    auto* Plain = new TEditProbe(&Form);
    auto* Special = new TSpecialProbe(&Form);
    {
        TRegistrationScope Scope(Registry, &OwnerTag);
        RegisterPropertyEditor<TTaggedPropertyEditor<1>>("Integer", nullptr, "");
        RegisterPropertyEditor<TTaggedPropertyEditor<2>>("Integer", &TEditProbe::StaticClassInfo(),
                                                         "");
        RegisterPropertyEditor<TTaggedPropertyEditor<3>>("Integer", nullptr, "Small");
        RegisterPropertyEditor<TTaggedPropertyEditor<4>>(
            "Integer", &TSpecialProbe::StaticClassInfo(), "small");
        RegisterPropertyEditor<TTaggedPropertyEditor<5>>(TPersistent::StaticClassInfo(), nullptr,
                                                         "");
        RegisterPropertyEditor<TTaggedPropertyEditor<6>>(TFont::StaticClassInfo(), nullptr, "");
        RegisterPropertyEditor<TTaggedPropertyEditor<7>>("TColor", nullptr, "");
        RegisterPropertyEditor<TTaggedPropertyEditor<8>>("TColor", nullptr, "");
    }
    struct TCase {
        TPersistent* Object;
        const char* Property;
        const char* Editor;
    };
    const TCase Cases[] = {
        {&Form, "Tag", "editor 1"},     // by type alone
        {Plain, "Count", "editor 2"},   // the class beats the type alone
        {Plain, "Small", "editor 3"},   // the name beats the class
        {Special, "Small", "editor 4"}, // name and nearer class
        {Special, "Count", "editor 2"}, // an ancestor's registration applies
        {Plain, "Font", "editor 6"},    // the nearer property class
        {Plain, "Buddy", "editor 5"},   // a component reference of a descendant class
        {Plain, "Tint", "editor 8"},    // the later of two alike
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Property);
        EXPECT_EQ(Found(Registry, C.Object, C.Property), C.Editor);
    }
    EXPECT_EQ(Registry.PropertyEditors().size(), 8u);
    EXPECT_EQ(Registry.PropertyEditors()[0].EditorName, "TTaggedPropertyEditor<1>");

    // Taken back, every property has its default editor again.
    Registry.Unregister(&OwnerTag);
    EXPECT_TRUE(Registry.PropertyEditors().empty());
    EXPECT_EQ(Found(Registry, Plain, "Count"), "0");
    EXPECT_EQ(Found(Registry, Plain, "Tint"), "clBlack");
}

TEST(DesignRegistry, AComponentGetsTheEditorOfItsNearestRegisteredClass) {
    TDesignRegistry Registry;
    TProbeForm Form(nullptr);
    TEditProbe Plain(&Form);
    TSpecialProbe Special(&Form);
    TRecordingDesigner Designer(&Form);
    EXPECT_EQ(Registry.GetComponentEditor(&Plain, &Designer)->GetVerbCount(), 0);
    {
        TRegistrationScope Scope(Registry, &OwnerTag);
        RegisterComponentEditor<TTaggedComponentEditor<1>>(TEditProbe::StaticClassInfo());
        RegisterComponentEditor<TTaggedComponentEditor<2>>(TComponent::StaticClassInfo());
    }
    auto ForPlain = Registry.GetComponentEditor(&Plain, &Designer);
    EXPECT_EQ(ForPlain->GetVerb(0), "Verb of 1");
    EXPECT_EQ(ForPlain->GetComponent(), &Plain);
    EXPECT_EQ(ForPlain->GetDesigner(), &Designer);
    EXPECT_EQ(Registry.GetComponentEditor(&Special, &Designer)->GetVerb(0), "Verb of 1");
    EXPECT_EQ(Registry.GetComponentEditor(&Form, &Designer)->GetVerb(0), "Verb of 2");
    // A double-click runs the first verb.
    TTaggedComponentEditor<1>::Runs = 0;
    ForPlain->Edit();
    EXPECT_EQ(TTaggedComponentEditor<1>::Runs, 1);
    Registry.Unregister(&OwnerTag);
    EXPECT_EQ(Registry.GetComponentEditor(&Plain, &Designer)->GetVerbCount(), 0);
}

TEST(DesignRegistry, ThePaletteOfAnOwnerGoesWithItAndItsClassesWithIt) {
    TDesignRegistry Registry;
    ASSERT_EQ(GetClass("TSpecialProbe"), nullptr);
    Registry.RegisterComponents("Probes", {&TSpecialProbe::StaticClassInfo()}, &OwnerTag);
    Registry.RegisterComponents("Others", {&TEditProbe::StaticClassInfo()}, nullptr);
    EXPECT_EQ(Registry.PalettePageOf(TSpecialProbe::StaticClassInfo()), "Probes");
    EXPECT_EQ(GetClass("TSpecialProbe"), &TSpecialProbe::StaticClassInfo());
    Registry.Unregister(&OwnerTag);
    EXPECT_EQ(Registry.PalettePageOf(TSpecialProbe::StaticClassInfo()), "");
    EXPECT_EQ(GetClass("TSpecialProbe"), nullptr);
    ASSERT_EQ(Registry.PaletteEntries().size(), 1u);
    EXPECT_EQ(Registry.PaletteEntries()[0].Page, "Others");
    Registry.Unregister(nullptr);
    EXPECT_EQ(GetClass("TEditProbe"), nullptr);
}

void DrawRedIcon(TCanvas* Canvas, const TRect& R) {
    Canvas->GetBrush()->SetColor(clRed);
    Canvas->FillRect(R);
}

void DrawBlueIcon(TCanvas* Canvas, const TRect& R) {
    Canvas->GetBrush()->SetColor(clBlue);
    Canvas->FillRect(R);
}

// A class shows the latest icon registered for it; an owner's icons go with
// the owner and uncover the earlier ones; a descendant without an icon of
// its own has none (its ancestor's picture would name the wrong class).
TEST(DesignRegistry, AClassShowsItsLatestIconAndAnOwnersIconsGoWithIt) {
    TDesignRegistry Registry;
    const TClassInfo& Edit = TEditProbe::StaticClassInfo();
    EXPECT_EQ(Registry.ComponentIcon(Edit), nullptr);
    Registry.RegisterComponentIcon(Edit, &DrawRedIcon);
    Registry.RegisterComponentIcon(Edit, &DrawBlueIcon, &OwnerTag);
    EXPECT_EQ(Registry.ComponentIcon(Edit), &DrawBlueIcon);
    EXPECT_EQ(Registry.ComponentIcon(TSpecialProbe::StaticClassInfo()), nullptr);
    Registry.Unregister(&OwnerTag);
    EXPECT_EQ(Registry.ComponentIcon(Edit), &DrawRedIcon);
    EXPECT_THROW(Registry.RegisterComponentIcon(Edit, nullptr), EInvalidArgument);
    {
        // As a package's entry registers: through the scope, under its tag.
        TRegistrationScope Scope(Registry, &OwnerTag);
        RegisterComponentIcon(Edit, &DrawBlueIcon);
    }
    EXPECT_EQ(Registry.ComponentIcon(Edit), &DrawBlueIcon);
    EXPECT_EQ(ComponentIcon(Edit), nullptr) << "the program's registry heard nothing";
    Registry.Unregister(&OwnerTag);
    Registry.Unregister(nullptr);
    EXPECT_EQ(Registry.ComponentIcon(Edit), nullptr);
}

TEST(DesignRegistry, RegistrationsGoWhereTheInnermostScopeSends) {
    TDesignRegistry Outer, Inner;
    const int InnerTag = 0;
    {
        TRegistrationScope A(Outer, &OwnerTag);
        {
            TRegistrationScope B(Inner, &InnerTag);
            RegisterComponents("Inner", {&TSpecialProbe::StaticClassInfo()});
        }
        RegisterComponents("Outer", {&TSpecialProbe::StaticClassInfo()});
    }
    EXPECT_EQ(Inner.PalettePageOf(TSpecialProbe::StaticClassInfo()), "Inner");
    EXPECT_EQ(Outer.PalettePageOf(TSpecialProbe::StaticClassInfo()), "Outer");
    EXPECT_EQ(PalettePageOf(TSpecialProbe::StaticClassInfo()), "");
    Inner.Unregister(&InnerTag);
    EXPECT_EQ(GetClass("TSpecialProbe"), &TSpecialProbe::StaticClassInfo());
    Outer.Unregister(&OwnerTag);
    EXPECT_EQ(GetClass("TSpecialProbe"), nullptr);
}

TEST(Designer, NamesComponentsUniquelyAndListsThemByClass) {
    TProbeForm Form(nullptr);
    Form.SetName("Form1");
    TRecordingDesigner Designer(&Form);
    EXPECT_EQ(Designer.UniqueName("TEditProbe"), "EditProbe1");
    auto* First = new TEditProbe(&Form);
    First->SetName(Designer.UniqueName("TEditProbe"));
    auto* Second = new TSpecialProbe(&Form);
    Second->SetName(Designer.UniqueName("TEditProbe"));
    new TOtherProbe(&Form); // unnamed: not listed
    auto* Other = new TOtherProbe(&Form);
    Other->SetName("editprobe3");
    EXPECT_EQ(Second->GetName(), "EditProbe2");
    EXPECT_EQ(Designer.UniqueName("TEditProbe"), "EditProbe4");
    EXPECT_EQ(Designer.UniqueName("Form"), "Form2");

    std::vector<String> Names;
    Designer.GetComponentNames(TEditProbe::StaticClassInfo(),
                               [&](const String& N) { Names.push_back(N); });
    EXPECT_EQ(Names, (std::vector<String>{"EditProbe1", "EditProbe2"}));
    Names.clear();
    Designer.GetComponentNames(TComponent::StaticClassInfo(),
                               [&](const String& N) { Names.push_back(N); });
    EXPECT_EQ(Names, (std::vector<String>{"Form1", "EditProbe1", "EditProbe2", "editprobe3"}));
    EXPECT_EQ(Designer.GetComponent("FORM1"), &Form);
    EXPECT_EQ(Designer.GetComponent("EditProbe3"), Other);
    EXPECT_EQ(Designer.GetComponent(""), nullptr);
}

TEST(ComponentEditor, CopyPutsTheComponentOnTheClipboardAsATextForm) {
    RegisterClass(TEditProbe::StaticClassInfo());
    TProbeForm Form(nullptr);
    auto* Probe = new TEditProbe(&Form);
    Probe->SetName("Probe1");
    Probe->SetCount(17);
    Probe->SetTitle("copied");
    TRecordingDesigner Designer(&Form);
    GetComponentEditor(Probe, &Designer)->Copy();
    const String Text = Clipboard()->GetAsText();
    EXPECT_EQ(Text.rfind("object Probe1: TEditProbe", 0), 0u) << Text;

    TMemoryStream Stream;
    Stream.Write(Text.data(), static_cast<std::int64_t>(Text.size()));
    Stream.Seek(0, soBeginning);
    std::unique_ptr<TComponent> Pasted(ReadComponent(Stream));
    auto* Copy = dynamic_cast<TEditProbe*>(Pasted.get());
    ASSERT_NE(Copy, nullptr);
    EXPECT_EQ(Copy->GetCount(), 17);
    EXPECT_EQ(Copy->GetTitle(), "copied");
    UnregisterClass(TEditProbe::StaticClassInfo());
}

} // namespace
