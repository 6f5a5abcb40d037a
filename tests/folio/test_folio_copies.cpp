// The bar's contents copied in and out: a group's SetItems, an inherited
// form that stores no groups of its own, and a registry load on a shown bar.
#include "folio/Folio.h"

#include "FolioDeletionLog.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/FormFiles.h"
#include "framework/core/Registry.h"
#include "framework/core/Streams.h"
#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/forms/Form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace folio {

// The root class of the inherited forms below.
class TBarCopyForm : public TForm {
    FOLIO_CLASS(TBarCopyForm)
public:
    explicit TBarCopyForm(TComponent* AOwner) : TForm(AOwner) {}
};

const TClassInfo& TBarCopyForm::StaticClassInfo() {
    static const TClassInfo Info =
        TClassBuilder<TBarCopyForm>("TBarCopyForm", &TForm::StaticClassInfo()).Creatable().Build();
    return Info;
}
FOLIO_REGISTER_CLASS(TBarCopyForm)

} // namespace folio

using namespace folio;

namespace {

String Bytes(TFolio& Bar) {
    TMemoryStream S;
    Bar.SaveToStream(S);
    return String(S.Memory(), static_cast<size_t>(S.GetSize()));
}

String ItemCaptions(const TFolioItems* Items) {
    String S;
    for (int I = 0; I < Items->GetCount(); ++I)
        S += (I ? "," : "") + Items->GetItem(I)->GetCaption();
    return S;
}

} // namespace

// SetItems copies into the group's own collection: the items are new
// objects with every stored field, the old ones go with their deletion
// events, and the source stays as it was. Copying a collection into itself
// rebuilds it.
TEST(FolioCopies, SetItemsAssignsIntoTheGroupsOwnItems) {
    TDeletionLog Log;
    TFolio Source(nullptr), Target(nullptr);
    TFolioItems* From = Source.GetGroups()->Add("From")->GetItems();
    TFolioItem* First = From->Add("one", 3);
    First->SetOverImageIndex(4);
    First->SetTag(-9);
    First->SetHint("tip");
    First->SetShowHint(true);
    From->Add("two", -1);
    TFolioGroup* Group = Target.GetGroups()->Add("To");
    Group->GetItems()->Add("old", 0);
    TFolioItems* Own = Group->GetItems();

    Log.Attach(Target);
    Group->SetItems(From);
    EXPECT_EQ(Group->GetItems(), Own) << "the collection is kept, not replaced";
    EXPECT_EQ(Log.Log, std::vector<std::string>{"i:old"});
    ASSERT_EQ(ItemCaptions(Own), "one,two");
    EXPECT_TRUE(Own->Equals(From));
    EXPECT_NE(Own->GetItem(0), First);
    EXPECT_EQ(Own->GetItem(0)->GetGroup(), Group);
    EXPECT_EQ(Own->GetItem(0)->GetBar(), &Target);
    EXPECT_EQ(Own->GetItem(0)->GetOverImageIndex(), 4);
    EXPECT_EQ(Own->GetItem(0)->GetHint(), "tip");
    EXPECT_EQ(ItemCaptions(From), "one,two");
    EXPECT_EQ(From->GetItem(0), First);

    Log.Log.clear();
    Group->SetItems(Own);
    EXPECT_EQ(Log.Log, (std::vector<std::string>{"i:one", "i:two"}));
    EXPECT_EQ(ItemCaptions(Own), "one,two");
}

// A descendant form whose bar holds the same groups as its ancestor's
// stores no "Data"; reading it takes the ancestor's groups, and the form's
// own properties still apply.
TEST(FolioCopies, AnInheritedFormWithoutDataTakesTheAncestorsGroups) {
    const auto MakeForm = [] {
        auto Form = std::make_unique<TBarCopyForm>(nullptr);
        Form->SetName("Form1");
        auto* Bar = new TFolio(Form.get());
        Bar->SetName("Bar1");
        Bar->SetParent(Form.get());
        Bar->SetAnimationStyle(asNone);
        TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
        Mail->GetItems()->Add("Inbox", 0);
        Mail->SetStyle(gbGradient);
        Bar->GetGroups()->Add("Places")->SetTag(5);
        return Form;
    };
    auto Ancestor = MakeForm();
    auto Descendant = MakeForm();
    auto* Designed = dynamic_cast<TFolio*>(Descendant->FindComponent("Bar1"));
    Designed->SetItemSpacing(7);
    Designed->GetGroups()->GetGroup(0)->SetStartItem(1); // not part of a form
    TMemoryStream Base, Diff;
    WriteComponent(Base, Ancestor.get(), nullptr, feBinary);
    WriteComponent(Diff, Descendant.get(), Ancestor.get(), feText);
    const String DiffText(Diff.Memory(), static_cast<size_t>(Diff.GetSize()));
    EXPECT_EQ(DiffText.find("Groups.Data"), String::npos) << DiffText;
    Base.SetPosition(0);
    Diff.SetPosition(0);

    TBarCopyForm Read(nullptr);
    ReadInheritedComponent({&Base, &Diff}, &Read);
    auto* Bar = dynamic_cast<TFolio*>(Read.FindComponent("Bar1"));
    ASSERT_NE(Bar, nullptr);
    EXPECT_EQ(Bytes(*Bar), Bytes(*Designed));
    EXPECT_EQ(Bar->GetItemSpacing(), 7);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetStyle(), gbGradient);
}

// A load that succeeds repaints the shown bar: the new open group's colour
// is on the screen once the loop has run.
TEST(FolioCopies, ASuccessfulRegistryLoadRepaintsTheBar) {
    char Name[] = "/tmp/folio_bar_copies_XXXXXX";
    ASSERT_NE(mkdtemp(Name), nullptr);
    SetRegistryFolder(Name);
    {
        THeadlessHost Host;
        const String Key = "\\Software\\Folio Test\\Copies";
        {
            TFolio Stored(nullptr);
            Stored.GetGroups()->Add("Stored")->SetColor(0x00336699);
            Stored.SaveToRegistry(HKEY_CURRENT_USER, Key);
        }
        TForm Form(nullptr);
        Form.SetBounds(0, 0, 300, 300);
        auto* Bar = new TFolio(&Form);
        Bar->SetBorderStyle(bsNone);
        Bar->SetBounds(10, 10, 150, 200);
        Bar->SetParent(&Form);
        Bar->GetGroups()->Add("Shown")->SetColor(0x00FFFFFF);
        Form.Show();
        Host.RunUntilIdle();
        const TRect Client = Bar->GetGroups()->GetGroup(0)->GetClientRect();
        const TPoint Probe =
            Form.ScreenToClient(Bar->ClientToScreen(Point(Client.Left + 5, Client.Bottom - 5)));
        ASSERT_EQ(Host.Pixel(&Form, Probe.X, Probe.Y), TColor(0x00FFFFFF));
        Bar->LoadFromRegistry(HKEY_CURRENT_USER, Key);
        Host.RunUntilIdle();
        EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetCaption(), "Stored");
        EXPECT_EQ(Host.Pixel(&Form, Probe.X, Probe.Y), TColor(0x00336699));
    }
    SetRegistryFolder("");
    std::filesystem::remove_all(Name);
}
