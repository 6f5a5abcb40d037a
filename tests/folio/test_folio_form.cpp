#include "folio/Folio.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/EventHandlers.h"
#include "framework/core/Exceptions.h"
#include "framework/core/FormFiles.h"
#include "framework/core/FormText.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Writer.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace folio {

// A form with handlers for the bar's events, as an application declares one.
class TBarTestForm : public TForm {
    FOLIO_CLASS(TBarTestForm)
public:
    explicit TBarTestForm(TComponent* AOwner) : TForm(AOwner) {}
    std::vector<String> Calls;
    void BarItemClick(TObject*, TFolioItem* Item) { Calls.push_back("item " + Item->GetCaption()); }
    void BarGroupClick(TObject*, TFolioGroup* Group) {
        Calls.push_back("group " + Group->GetCaption());
    }
};

const TClassInfo& TBarTestForm::StaticClassInfo() {
    using C = TBarTestForm;
    static const TClassInfo Info = TClassBuilder<C>("TBarTestForm", &TForm::StaticClassInfo())
                                       .Method("BarItemClick", &C::BarItemClick)
                                       .Method("BarGroupClick", &C::BarGroupClick)
                                       .Creatable()
                                       .Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TBarTestForm)

namespace {

String Save(TFolio& Bar) {
    TMemoryStream S;
    Bar.SaveToStream(S);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

String Text(TComponent* Root, TComponent* Ancestor = nullptr) {
    TWriter Writer;
    return FormToText(Writer.WriteRoot(Root, Ancestor));
}

void ReadText(const String& Form, TComponent* Root) {
    TMemoryStream S;
    S.WriteBuffer(Form.data(), static_cast<std::int64_t>(Form.size()));
    S.SetPosition(0);
    ReadComponent(S, Root);
}

std::unique_ptr<TBitmap> Picture(TColor Colour) {
    auto B = std::make_unique<TBitmap>(8, 6);
    B->GetCanvas()->GetBrush()->SetColor(Colour);
    B->GetCanvas()->FillRect(Rect(0, 0, 8, 6));
    return B;
}

// A form with a bar made before its image lists, so that the bar's
// references point further down the form.
struct TBarFormFixture {
    std::unique_ptr<TBarTestForm> Form = std::make_unique<TBarTestForm>(nullptr);
    TFolio* Bar = nullptr;
    TImageList* Large = nullptr;

    TBarFormFixture() {
        Form->SetName("Form1");
        Bar = new TFolio(Form.get());
        Bar->SetName("Bar1");
        Bar->SetParent(Form.get());
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(4, 5, 200, 300);
        Large = new TImageList(Form.get());
        Large->SetName("Large");
        Large->SetWidth(8);
        Large->SetHeight(6);
        Large->AddMasked(Picture(0x0000FF).get(), clNone);
        Large->AddMasked(Picture(0x00FF00).get(), clNone);
        Bar->SetLargeImages(Large);
        Bar->GetGroupsFont()->SetName("Liberation Serif");
        Bar->GetGroupsFont()->SetStyle({fsBold});
        Bar->SetAnimationSpeed(45);
        TFolioGroups* G = Bar->GetGroups();
        TFolioGroup* Mail = G->Add("Mail");
        Mail->GetItems()->Add("Inbox", 0);
        Mail->GetItems()->Add("Sent", 1)->SetHint("hint 'quoted'");
        G->Add("Calendar")->SetColor(0x123456);
        TFolioGroup* Places = G->Add("Places");
        Places->SetStyle(gbBitmap);
        Places->SetBitmap(Picture(0x808000).get());
        Places->SetImageSize(isSmall);
        Places->GetItems()->Add("Desktop", 1);
        Bar->SetVisibleGroup(2);
        BindEventHandler(Bar, "OnItemClick", "BarItemClick");
        BindEventHandler(Bar, "OnGroupClick", "BarGroupClick");
    }
};

class BarForm : public testing::TestWithParam<TFormEncoding> {};

TEST_P(BarForm, RestoresTheBarItsImageListsAndItsHandlers) {
    TBarFormFixture Original;
    TMemoryStream S;
    WriteComponent(S, Original.Form.get(), nullptr, GetParam());
    S.SetPosition(0);
    TBarTestForm Read(nullptr);
    ReadComponent(S, &Read);

    auto* Bar = dynamic_cast<TFolio*>(Read.FindComponent("Bar1"));
    auto* Large = dynamic_cast<TImageList*>(Read.FindComponent("Large"));
    ASSERT_TRUE(Bar && Large);
    EXPECT_EQ(Save(*Bar), Save(*Original.Bar)) << "groups, items and pictures";
    EXPECT_EQ(Bar->GetVisibleGroup(), 2);
    EXPECT_EQ(Bar->GetParent(), &Read);
    EXPECT_EQ(Bar->GetBoundsRect(), Original.Bar->GetBoundsRect());
    EXPECT_EQ(Bar->GetLargeImages(), Large);
    EXPECT_TRUE(Large->Equals(Original.Large));
    EXPECT_EQ(Bar->GetGroupsFont()->GetName(), "Liberation Serif");
    EXPECT_TRUE(Bar->GetGroupsFont()->GetStyle().Contains(fsBold));
    EXPECT_EQ(Bar->GetAnimationSpeed(), 45);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(2)->GetImageSize(), isSmall);
    EXPECT_FALSE(Bar->IsLoading());
    EXPECT_EQ(Text(&Read), Text(Original.Form.get()));

    ASSERT_TRUE(Bar->OnItemClick && Bar->OnGroupClick);
    Bar->OnItemClick(Bar, Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(1));
    Bar->OnGroupClick(Bar, Bar->GetGroups()->GetGroup(1));
    EXPECT_EQ(Read.Calls, (std::vector<String>{"item Sent", "group Calendar"}));
}

INSTANTIATE_TEST_SUITE_P(Encodings, BarForm, testing::Values(feBinary, feText));

TEST(BarForm, VisibleGroupObjectIsAppliedToTheGroupOpenAfterDataAndVisibleGroup) {
    TBarFormFixture Original;
    String Form = Text(Original.Form.get());
    const size_t Data = Form.find("    Groups.Data = {");
    const size_t Visible = Form.find("    VisibleGroup = 2\n");
    const size_t Caption = Form.find("    VisibleGroupObject.Caption = 'Places'\n");
    ASSERT_NE(Data, String::npos) << Form;
    ASSERT_NE(Caption, String::npos) << Form;
    EXPECT_LT(Data, Visible);
    EXPECT_LT(Visible, Caption);
    EXPECT_NE(Form.find("    VisibleGroupObject.Bitmap.Data = {"), String::npos) << Form;

    const size_t Colour = Form.find("VisibleGroupObject.CaptionColor = clBtnFace");
    ASSERT_NE(Colour, String::npos) << Form;
    Form.replace(Colour, 43, "VisibleGroupObject.CaptionColor = clRed");
    Form.replace(Form.find("Caption = 'Places'"), 18, "Caption = 'Renamed'");
    TBarTestForm Read(nullptr);
    ReadText(Form, &Read);
    auto* Bar = dynamic_cast<TFolio*>(Read.FindComponent("Bar1"));
    ASSERT_TRUE(Bar);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(2)->GetCaption(), "Renamed");
    EXPECT_EQ(Bar->GetGroups()->GetGroup(2)->GetCaptionColor(), clRed);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetCaption(), "Mail");
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetCaptionColor(), clBtnFace);
}

TEST(BarForm, PropertiesAtTheirDeclaredDefaultsAreNotWritten) {
    TForm Form(nullptr);
    Form.SetName("Form1");
    auto* Bar = new TFolio(&Form);
    Bar->SetName("Bar1");
    const String Fresh = Text(&Form);
    for (const char* Absent :
         {"BorderStyle", "Groups.Data", "Alignment", "VisibleGroupObject", "GroupCaptionHeight",
          "AnimationStyle", "AnimationSpeed", "ItemSpacing", "FrameHighlightColor",
          "FrameShadowColor", "Cursor", "ButtonClickDelay", "AllowDragging", "InsertMarkColor",
          "CustomItemEditing", "CustomGroupEditing", "SmallImages", "OnItemClick", "TabStop"})
        EXPECT_EQ(Fresh.find("    " + String(Absent)), String::npos) << Absent << "\n" << Fresh;
    // Without a declared default a property is always written.
    for (const char* Present : {"    VisibleGroup = -1\n", "    CustomDrawGroup = False\n",
                                "    FlatBorder = False\n", "    GroupsFont.Name = "})
        EXPECT_NE(Fresh.find(Present), String::npos) << Present << Fresh;

    struct TChange {
        std::function<void(TFolio&)> Apply;
        const char* Line;
    };
    const TChange Changes[] = {
        {[](TFolio& B) { B.SetBorderStyle(bsNone); }, "    BorderStyle = bsNone\n"},
        {[](TFolio& B) { B.SetAlignment(baHorizontal); }, "    Alignment = baHorizontal\n"},
        {[](TFolio& B) { B.SetGroupCaptionHeight(24); }, "    GroupCaptionHeight = 24\n"},
        {[](TFolio& B) { B.SetAnimationStyle(asLinear); }, "    AnimationStyle = asLinear\n"},
        {[](TFolio& B) { B.SetItemSpacing(3); }, "    ItemSpacing = 3\n"},
        {[](TFolio& B) { B.SetFrameShadowColor(0x010203); }, "    FrameShadowColor = 66051\n"},
        {[](TFolio& B) { B.SetInsertMarkColor(clBtnText); }, "    InsertMarkColor = clBtnText\n"},
        {[](TFolio& B) { B.SetAllowDragging(false); }, "    AllowDragging = False\n"},
        {[](TFolio& B) { B.SetTabStop(true); }, "    TabStop = True\n"},
        // The bar's table is built while the program starts; names from the
        // control layer must be there even so.
        {[](TFolio& B) { B.SetAlign(alLeft); }, "    Align = alLeft\n"},
        {[](TFolio& B) { B.SetButtonClickDelay(400); }, "    ButtonClickDelay = 400\n"},
        {[](TFolio& B) {
             B.SetAnchors({akLeft, akBottom});
         },
         "    Anchors = [akLeft, akBottom]\n"},
    };
    for (const TChange& C : Changes) {
        C.Apply(*Bar);
        EXPECT_NE(Text(&Form).find(C.Line), String::npos) << C.Line;
    }
}

TEST(BarForm, AFormWrittenByHandChangesTheBarsItNamesAndAddsNewOnes) {
    TBarFormFixture Fixture;
    ReadText("object Form1: TBarTestForm\n"
             "  object Bar2: TFolio\n"
             "    Anchors = [akLeft, akBottom]\n"
             "    GroupsFont.Style = [fsBold, fsItalic]\n"
             "    LargeImages = List2\n"
             "    OnItemClick = BarItemClick\n"
             "    FrameShadowColor = $00FF8040\n"
             "    Groups.Data = {6400000000000000}\n"
             "  end\n"
             "  inherited Bar1: TFolio\n"
             "    VisibleGroupObject.Caption = 'It''s'#10'renamed'\n"
             "  end\n"
             "  object List2: TImageList\n"
             "    Width = 8\n"
             "  end\n"
             "end\n",
             Fixture.Form.get());
    auto* Bar2 = dynamic_cast<TFolio*>(Fixture.Form->FindComponent("Bar2"));
    ASSERT_TRUE(Bar2);
    EXPECT_EQ(Bar2->GetParent(), Fixture.Form.get());
    EXPECT_EQ(Bar2->GetLargeImages(), Fixture.Form->FindComponent("List2"));
    EXPECT_EQ(Bar2->GetFrameShadowColor(), 0x00FF8040);
    EXPECT_EQ(Bar2->GetGroupsFont()->GetStyle(), (TFontStyles{fsBold, fsItalic}));
    EXPECT_EQ(Bar2->GetAnchors(), (TAnchors{akLeft, akBottom}));
    EXPECT_EQ(Bar2->GetGroups()->GetCount(), 0);
    EXPECT_TRUE(Bar2->OnItemClick);
    EXPECT_EQ(Fixture.Bar->GetGroups()->GetGroup(2)->GetCaption(), "It's\nrenamed");
    EXPECT_EQ(Fixture.Bar->GetGroups()->GetGroup(0)->GetCaption(), "Mail");
}

// --- the "Data" decision ---------------------------------------------------------------

bool WritesData(TComponent* Root, TComponent* Ancestor) {
    return Text(Root, Ancestor).find("Groups.Data") != String::npos;
}

TEST(BarForm, GroupsAreWrittenWithoutAnAncestorWhenThereIsAGroup) {
    TForm Form(nullptr);
    auto* Bar = new TFolio(&Form);
    Bar->SetName("Bar1");
    EXPECT_FALSE(WritesData(&Form, nullptr));
    Bar->GetGroups()->Add("One");
    EXPECT_TRUE(WritesData(&Form, nullptr));
}

TEST(BarForm, AnInheritedFormWritesTheGroupsOnlyWhenTheyDiffer) {
    struct TCase {
        const char* Name;
        std::function<void(TFolio&)> Change;
        bool Written;
    };
    const TCase Cases[] = {
        {"nothing", [](TFolio&) {}, false},
        {"a caption", [](TFolio& B) { B.GetGroups()->GetGroup(1)->SetCaption("Other"); }, true},
        {"an item",
         [](TFolio& B) { B.GetGroups()->GetGroup(0)->GetItems()->GetItem(0)->SetTag(3); }, true},
        {"the count", [](TFolio& B) { B.GetGroups()->Add("More"); }, true},
        {"a hint", [](TFolio& B) { B.GetGroups()->GetGroup(0)->SetHint("h"); }, true},
        // Left out of the group equality, but a change to them alone is
        // still written, or saving the form would lose it.
        {"only a picture",
         [](TFolio& B) { B.GetGroups()->GetGroup(2)->SetBitmap(Picture(0xFF).get()); }, true},
        {"only an image size", [](TFolio& B) { B.GetGroups()->GetGroup(0)->SetImageSize(isSmall); },
         true},
        // Scroll positions are not part of the form at all.
        {"only the scroll position", [](TFolio& B) { B.GetGroups()->GetGroup(0)->SetStartItem(1); },
         false},
    };
    for (const TCase& C : Cases) {
        TBarFormFixture Ancestor, Descendant;
        C.Change(*Descendant.Bar);
        EXPECT_EQ(WritesData(Descendant.Form.get(), Ancestor.Form.get()), C.Written) << C.Name;
    }
}

TEST(BarForm, AChangeToOnlyAPictureSurvivesAnInheritedFormsRoundTrip) {
    TBarFormFixture Ancestor, Descendant;
    Descendant.Bar->GetGroups()->GetGroup(2)->SetBitmap(Picture(0x0000FF).get());
    Descendant.Bar->GetGroups()->GetGroup(1)->SetImageSize(isSmall);
    TMemoryStream Base, Diff;
    WriteComponent(Base, Ancestor.Form.get(), nullptr, feBinary);
    WriteComponent(Diff, Descendant.Form.get(), Ancestor.Form.get(), feText);
    Base.SetPosition(0);
    Diff.SetPosition(0);
    TBarTestForm Read(nullptr);
    ReadInheritedComponent({&Base, &Diff}, &Read);
    auto* Bar = dynamic_cast<TFolio*>(Read.FindComponent("Bar1"));
    ASSERT_TRUE(Bar);
    EXPECT_EQ(Save(*Bar), Save(*Descendant.Bar));
    EXPECT_EQ(Bar->GetGroups()->GetGroup(1)->GetImageSize(), isSmall);
}

TEST(BarForm, DamagedGroupsDataRaisesWithItsLineAndLeavesTheBarAsItWas) {
    TBarFormFixture Original;
    const String Good = Text(Original.Form.get());
    TBarTestForm Read(nullptr);
    ReadText(Good, &Read);
    auto* Bar = dynamic_cast<TFolio*>(Read.FindComponent("Bar1"));
    ASSERT_TRUE(Bar);
    const String Before = Save(*Bar);

    // The same bar as an inherited block whose groups end early: the hex
    // block loses its last line.
    String Damaged = Good;
    Damaged.replace(0, 6, "inherited");
    Damaged.replace(Damaged.find("  object Bar1"), 13, "  inherited Bar1");
    Damaged.replace(Damaged.find("  object Large: TImageList"), String::npos, "end\n");
    Damaged.replace(Damaged.find("    GroupsFont.Name = 'Liberation Serif'"), 40,
                    "    GroupsFont.Name = 'Changed first'");
    const size_t Data = Damaged.find("Groups.Data = {");
    const long long Line = std::count(Damaged.begin(), Damaged.begin() + Data, '\n') + 1;
    const size_t Close = Damaged.find("    }\n", Data);
    const size_t LastLine = Damaged.rfind("\n", Damaged.rfind("\n", Close) - 1) + 1;
    Damaged.erase(LastLine, Close - LastLine);
    try {
        ReadText(Damaged, &Read);
        FAIL() << "a cut Groups.Data was read";
    } catch (const EFormError& E) {
        EXPECT_NE(E.Message().find("line " + IntToStr(Line) + ": Bar1.Groups.Data"), String::npos)
            << E.Message();
    }
    EXPECT_EQ(Save(*Bar), Before);
    EXPECT_EQ(Bar->GetGroupsFont()->GetName(), "Liberation Serif");
    EXPECT_EQ(Read.ComponentCount(), 2);
}

} // namespace
} // namespace folio
