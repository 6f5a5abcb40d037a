#include "ui/DesignProbes.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/SysUtils.h"
#include "framework/design/DesignRegistry.h"
#include "framework/design/StdPropertyEditors.h"

#include <gtest/gtest.h>

using namespace folio;
using namespace folio::test;

namespace {

class PropertyEditorsTest : public ::testing::Test {
protected:
    PropertyEditorsTest() {
        Probe->SetName("Probe1");
        Buddy->SetName("Probe2");
        Stranger->SetName("Stranger");
        Form.SetName("Form1");
    }

    std::unique_ptr<TPropertyEditor> Editor(const String& Name,
                                            std::vector<TPersistent*> Objects = {}) {
        if (Objects.empty()) Objects = {Probe};
        const TPropInfo* Prop = Objects.front()->ClassInfo().FindProperty(Name);
        EXPECT_NE(Prop, nullptr) << Name;
        return GetPropertyEditor(&Designer, std::move(Objects), *Prop);
    }

    static std::vector<String> Values(TPropertyEditor& E) {
        std::vector<String> V;
        E.GetValues([&V](const String& S) { V.push_back(S); });
        return V;
    }

    static std::vector<std::unique_ptr<TPropertyEditor>> SubProperties(TPropertyEditor& E) {
        std::vector<std::unique_ptr<TPropertyEditor>> Subs;
        E.GetProperties(
            [&Subs](std::unique_ptr<TPropertyEditor> S) { Subs.push_back(std::move(S)); });
        return Subs;
    }

    TProbeForm Form{nullptr};
    TEditProbe* Probe = new TEditProbe(&Form);
    TEditProbe* Buddy = new TEditProbe(&Form);
    TOtherProbe* Stranger = new TOtherProbe(&Form);
    TRecordingDesigner Designer{&Form};
};

// What the text of a property reads after SetValue, or that the text is
// refused and the property keeps what it had.
struct TSetCase {
    const char* Property;
    const char* Text;
    const char* Reads; // null: refused
};

TEST_F(PropertyEditorsTest, EachKindTakesItsTextOrRefusesIt) {
    const TSetCase Cases[] = {
        {"Count", "42", "42"},
        {"Count", " -7 ", "-7"},
        {"Count", "$1F", "31"},
        {"Count", "12a", nullptr},
        {"Count", "", nullptr},
        {"Count", "4294967296", nullptr},
        {"Small", "32767", "32767"},
        {"Small", "32768", nullptr},
        {"Flag", "true", "True"},
        {"Flag", "False", "False"},
        {"Flag", "yes", nullptr},
        {"Mode", "pmThird", "pmThird"},
        {"Mode", "PMSECOND", "pmSecond"},
        {"Mode", "pmFourth", nullptr},
        {"Tint", "clRed", "clRed"},
        {"Tint", "clbtnface", "clBtnFace"},
        {"Tint", "$00123456", "$00123456"},
        {"Tint", "$80000010", "clBtnShadow"},
        {"Tint", "-1", "$FFFFFFFF"},
        {"Tint", "$100000000", nullptr},
        {"Tint", "reddish", nullptr},
        {"Title", "  spaced  ", "  spaced  "},
        {"Title", "", ""},
        {"Buddy", "Probe2", "Probe2"},
        {"Buddy", "probe2", "Probe2"},
        {"Buddy", "", ""},
        {"Buddy", "Nobody", nullptr},
        {"Buddy", "Stranger", nullptr},
        {"Buddy", "Form1", nullptr},
        {"OnPing", "PingHandler", "PingHandler"},
        {"OnPing", "", ""},
        {"OnPing", "KeyHandler", nullptr},
        {"OnPing", "Missing", nullptr},
        {"OnPing", "9lives", nullptr},
        {"Name", "Renamed", "Renamed"},
        {"Name", "Probe2", nullptr},
        {"Name", "not a name", nullptr},
    };
    for (const TSetCase& C : Cases) {
        SCOPED_TRACE(String(C.Property) + " <- \"" + C.Text + "\"");
        auto E = Editor(C.Property);
        const String Before = E->GetValue();
        const int Told = Designer.ModifiedCount;
        if (C.Reads) {
            E->SetValue(C.Text);
            EXPECT_EQ(E->GetValue(), C.Reads);
            EXPECT_EQ(Designer.ModifiedCount, Told + 1);
        } else {
            EXPECT_THROW(E->SetValue(C.Text), EPropertyError);
            EXPECT_EQ(E->GetValue(), Before);
            EXPECT_EQ(Designer.ModifiedCount, Told);
        }
    }
}

TEST_F(PropertyEditorsTest, AnEventBoundByNameCallsTheFormsHandler) {
    Editor("OnPing")->SetValue("PingHandler");
    ASSERT_TRUE(Probe->OnPing);
    Probe->OnPing(Probe);
    EXPECT_EQ(Form.Pings, 1);
    EXPECT_EQ(Probe->GetEventHandlerName("OnPing"), "PingHandler");
    Editor("OnPing")->SetValue("");
    EXPECT_FALSE(Probe->OnPing);
}

TEST_F(PropertyEditorsTest, AttributesAndValueListsFollowTheKind) {
    struct TCase {
        const char* Property;
        TPropertyAttributes Attributes;
        std::vector<String> Values; // empty: no list checked
    };
    const TCase Cases[] = {
        {"Count", {paMultiSelect, paRevertable}, {}},
        {"Flag", {paMultiSelect, paValueList, paRevertable}, {"False", "True"}},
        {"Mode", {paMultiSelect, paValueList, paRevertable}, {"pmFirst", "pmSecond", "pmThird"}},
        {"Styles", {paMultiSelect, paSubProperties, paReadOnly, paRevertable}, {}},
        {"Title", {paMultiSelect, paRevertable}, {}},
        {"Font", {paMultiSelect, paSubProperties, paReadOnly}, {}},
        {"Tint", {paMultiSelect, paValueList, paDialog, paRevertable}, {}},
        {"Buddy", {paMultiSelect, paValueList, paSortList, paRevertable}, {"Probe1", "Probe2"}},
        {"OnPing",
         {paMultiSelect, paValueList, paSortList, paRevertable},
         {"PingHandler", "OtherPing"}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Property);
        auto E = Editor(C.Property);
        EXPECT_EQ(E->GetAttributes().Bits(), C.Attributes.Bits());
        if (!C.Values.empty()) {
            EXPECT_EQ(Values(*E), C.Values);
        }
    }
    auto Tint = Values(*Editor("Tint"));
    EXPECT_EQ(Tint.front(), "clBlack");
    EXPECT_NE(std::find(Tint.begin(), Tint.end(), "clBtnFace"), Tint.end());
}

TEST_F(PropertyEditorsTest, ASetIsEditedElementByElement) {
    auto Styles = Editor("Styles");
    EXPECT_EQ(Styles->GetValue(), "[]");
    auto Elements = SubProperties(*Styles);
    ASSERT_EQ(Elements.size(), 3u);
    EXPECT_EQ(Elements[1]->GetName(), "psWide");
    Elements[1]->SetValue("True");
    Elements[2]->SetValue("true");
    EXPECT_EQ(Styles->GetValue(), "[psWide,psTall]");
    Elements[1]->SetValue("False");
    EXPECT_EQ(Probe->GetStyles(), 4);
    EXPECT_THROW(Elements[0]->SetValue("maybe"), EPropertyError);
    EXPECT_EQ(Designer.ModifiedCount, 3);
}

TEST_F(PropertyEditorsTest, AFontExpandsIntoItsOwnPropertiesWithTheirEditors) {
    auto Font = Editor("Font");
    EXPECT_EQ(Font->GetValue(), "(TFont)");
    auto Subs = SubProperties(*Font);
    std::vector<String> Names;
    for (auto& S : Subs) Names.push_back(S->GetName());
    EXPECT_EQ(Names, (std::vector<String>{"Charset", "Color", "Height", "Name", "Pitch", "Quality",
                                          "Size", "Style"}));
    auto& Color = *Subs[1];
    EXPECT_NE(dynamic_cast<TColorProperty*>(&Color), nullptr);
    Color.SetValue("clRed");
    EXPECT_EQ(Probe->GetFont()->GetColor(), clRed);
    auto& Style = *Subs[7];
    EXPECT_EQ(SubProperties(Style).size(), 4u);
    EXPECT_EQ(Designer.ModifiedCount, 1);
}

TEST_F(PropertyEditorsTest, EditStepsThroughTheValueList) {
    auto Mode = Editor("Mode");
    Mode->Edit();
    EXPECT_EQ(Probe->GetMode(), pmSecond);
    Probe->SetMode(pmThird);
    Mode->Edit();
    EXPECT_EQ(Probe->GetMode(), pmFirst);
    auto Count = Editor("Count");
    Count->Edit(); // no list: nothing to step to
    EXPECT_EQ(Probe->GetCount(), 0);
}

TEST_F(PropertyEditorsTest, SeveralSelectedObjectsAreEditedTogether) {
    std::vector<std::unique_ptr<TPropertyEditor>> Editors;
    GetComponentProperties({Probe, Buddy}, &Designer, [&](std::unique_ptr<TPropertyEditor> E) {
        Editors.push_back(std::move(E));
    });
    ASSERT_FALSE(Editors.empty());
    TPropertyEditor* Count = nullptr;
    for (auto& E : Editors)
        if (E->GetName() == "Count") Count = E.get();
    ASSERT_NE(Count, nullptr);
    EXPECT_TRUE(Count->AllEqual());
    Buddy->SetCount(3);
    EXPECT_FALSE(Count->AllEqual());
    Count->SetValue("9");
    EXPECT_EQ(Probe->GetCount(), 9);
    EXPECT_EQ(Buddy->GetCount(), 9);
    EXPECT_TRUE(Count->AllEqual());
    EXPECT_EQ(Designer.ModifiedCount, 1);

    // Names are one per component; a property two classes declare each for
    // itself is not shared either, since the first one's accessors would
    // not fit the other.
    std::vector<String> Shared;
    GetComponentProperties({Probe, Stranger}, &Designer, [&](std::unique_ptr<TPropertyEditor> E) {
        Shared.push_back(E->GetName());
    });
    EXPECT_EQ(Shared, std::vector<String>{"Tag"});
}

TEST_F(PropertyEditorsTest, PropertiesAndEventsAreListedApartInDeclarationOrder) {
    std::vector<String> Props, Events;
    GetComponentProperties({Probe}, &Designer, [&](std::unique_ptr<TPropertyEditor> E) {
        Props.push_back(E->GetName());
    });
    GetComponentProperties(
        {Probe}, &Designer,
        [&](std::unique_ptr<TPropertyEditor> E) { Events.push_back(E->GetName()); }, EventKinds());
    EXPECT_EQ(Props, (std::vector<String>{"Name", "Tag", "Count", "Small", "Flag", "Mode", "Styles",
                                          "Tint", "Title", "Font", "Buddy"}));
    EXPECT_EQ(Events, std::vector<String>{"OnPing"});
}

} // namespace
