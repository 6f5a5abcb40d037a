// The bar editor dialog's working copy and the buttons that act on its
// current group and item, driven through real input on the headless screen.
#include "DesignTestSupport.h"
#include "design/FolioEditorFormUnit.h"
#include "design/FolioPropertyEditors.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ImageList.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/tabs/Notebook.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace folio;
using namespace folio::test;

namespace {

struct FolioEditorRowsTest : ::testing::Test {
    THeadlessHost Host;
    TLogDesigner Designer;
    std::unique_ptr<TForm> Designed = std::make_unique<TForm>(nullptr);
    TFolio* Bar = nullptr;
    TFolioEditorForm* Dialog = nullptr;

    void SetUp() override {
        Designed->SetName("Form1");
        Bar = new TFolio(Designed.get());
        Bar->SetName("Bar1");
        Bar->SetAnimationStyle(asNone);
    }
    // Opens the dialog from the Groups property and runs Steps inside its
    // loop; Steps ends by closing it.
    void RunDialog(const std::function<void()>& Steps) {
        Host.Defer([&] {
            Host.RunUntilIdle();
            Dialog = dynamic_cast<TFolioEditorForm*>(Screen->GetActiveForm());
            ASSERT_NE(Dialog, nullptr) << "the dialog is not the active form";
            Steps();
        });
        const TPropInfo& Groups = *TFolio::StaticClassInfo().FindProperty("Groups");
        TFolioGroupsPropEditor(&Designer, {Bar}, Groups).Edit();
        Dialog = nullptr;
    }
    void Click(const TControl* Control) {
        const TPoint P =
            Control->ClientToScreen(Point(Control->GetWidth() / 2, Control->GetHeight() / 2));
        Host.Click(P.X, P.Y);
        Host.RunUntilIdle();
    }
    void TypeInto(TEdit* Edit, const String& Text) {
        Click(Edit);
        Host.Key('A', {ssCtrl});
        Host.Type(Text);
        Host.RunUntilIdle();
    }
    void ClickItem(int Index) {
        const TRect R =
            Dialog->Bar->GetVisibleGroupObject()->GetItems()->GetItem(Index)->GetImageRect();
        const TPoint P =
            Dialog->Bar->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
        Host.RunUntilIdle();
    }
};

std::unique_ptr<TBitmap> Square(TColor Colour) {
    auto B = std::make_unique<TBitmap>(6, 6);
    B->GetCanvas()->GetBrush()->SetColor(Colour);
    B->GetCanvas()->FillRect(Rect(0, 0, 6, 6));
    return B;
}

} // namespace

// The working bar takes the designed bar's groups, its bidirectional mode,
// its two image lists (the same lists) and both fonts, and keeps the size,
// colour and alignment of the dialog's layout.
TEST_F(FolioEditorRowsTest, TheWorkingCopyTakesTheModeTheImageListsAndBothFonts) {
    TImageList Large(nullptr), Small(nullptr), ForGroups(nullptr);
    Bar->GetGroups()->Add("Mail")->GetItems()->Add("Inbox", 0);
    Bar->SetBiDiMode(bdRightToLeft);
    Bar->SetLargeImages(&Large);
    Bar->SetSmallImages(&Small);
    Bar->SetGroupImages(&ForGroups);
    Bar->GetFont()->SetName("Liberation Serif");
    Bar->GetFont()->SetHeight(-15);
    Bar->GetGroupsFont()->SetHeight(-13);
    Bar->GetGroupsFont()->SetColor(clRed);
    Bar->GetGroupsFont()->SetStyle({fsBold});
    Bar->SetAlignment(baHorizontal);
    Bar->SetBounds(0, 0, 333, 111);
    Bar->SetColor(clTeal);
    RunDialog([&] {
        const TFolio& Work = *Dialog->Bar;
        EXPECT_EQ(Captions(Work), std::vector<String>{"Mail"});
        EXPECT_EQ(Work.GetBiDiMode(), bdRightToLeft);
        EXPECT_EQ(Work.GetLargeImages(), &Large);
        EXPECT_EQ(Work.GetSmallImages(), &Small);
        EXPECT_EQ(Work.GetGroupImages(), nullptr);
        EXPECT_EQ(Work.GetFont()->GetName(), "Liberation Serif");
        EXPECT_EQ(Work.GetFont()->GetHeight(), -15);
        EXPECT_EQ(Work.GetGroupsFont()->GetHeight(), -13);
        EXPECT_EQ(Work.GetGroupsFont()->GetColor(), clRed);
        EXPECT_EQ(Work.GetGroupsFont()->GetStyle(), TFontStyles{fsBold});
        EXPECT_NE(Work.GetFont(), Bar->GetFont()) << "copies of the fonts";
        EXPECT_EQ(Work.GetAlignment(), baVertical);
        EXPECT_EQ(Work.GetWidth(), 117);
        EXPECT_EQ(Work.GetHeight(), 293);
        EXPECT_EQ(Work.GetColor(), clBtnShadow);
        Host.Key(VK_ESCAPE);
    });
}

// After "Delete group" the boxes show the group now open, and the next
// change of a box goes into that group: nothing is written into the deleted
// one or into the others.
TEST_F(FolioEditorRowsTest, AChangeAfterDeleteGroupGoesIntoTheGroupNowShown) {
    for (const char* Name : {"A", "B", "C"}) Bar->GetGroups()->Add(Name)->SetTag(1);
    RunDialog([&] {
        Click(Dialog->DeleteGroupButton);
        TFolioGroups* Groups = Dialog->Bar->GetGroups();
        ASSERT_EQ(Captions(*Dialog->Bar), (std::vector<String>{"B", "C"}));
        EXPECT_EQ(Dialog->GetCurrentGroup(), Groups->GetGroup(0));
        EXPECT_EQ(Dialog->GroupTextEdit->GetText(), "B");
        TypeInto(Dialog->GroupTagSpinEdit, "9");
        EXPECT_EQ(Groups->GetGroup(0)->GetTag(), 9);
        EXPECT_EQ(Groups->GetGroup(1)->GetTag(), 1);
        TypeInto(Dialog->GroupTextEdit, "Bee");
        EXPECT_EQ(Captions(*Dialog->Bar), (std::vector<String>{"Bee", "C"}));
        Click(Dialog->OKButton);
    });
    EXPECT_EQ(Captions(*Bar), (std::vector<String>{"Bee", "C"}));
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetTag(), 9);
}

// A change of any one group box writes every group box into the current
// group: caption, tag, caption colour, style (the notebook follows it), the
// three colours of the notebook's pages and the image size.
TEST_F(FolioEditorRowsTest, OneChangeWritesEveryGroupBoxIntoTheGroup) {
    Bar->GetGroups()->Add("Mail");
    RunDialog([&] {
        TFolioGroup* Mail = Dialog->Bar->GetGroups()->GetGroup(0);
        // Boxes set without their change handlers, as a colour dialog's
        // choice lands in a panel.
        Dialog->GroupCaptionColorPanel->SetColor(0x000001);
        Dialog->GroupColorPanel->SetColor(0x000002);
        Dialog->GroupStartColorPanel->SetColor(0x000003);
        Dialog->GroupEndColorPanel->SetColor(0x000004);
        TypeInto(Dialog->GroupTagSpinEdit, "12");
        struct TField {
            const char* Name;
            long long Got, Want;
        } const Fields[] = {
            {"Caption", Mail->GetCaption() == "Mail", 1},
            {"Tag", Mail->GetTag(), 12},
            {"CaptionColor", Mail->GetCaptionColor(), 0x000001},
            {"Style", Mail->GetStyle(), gbColor},
            {"Color", Mail->GetColor(), 0x000002},
            {"StartColor", Mail->GetStartColor(), 0x000003},
            {"EndColor", Mail->GetEndColor(), 0x000004},
            {"ImageSize", Mail->GetImageSize(), isLarge},
        };
        for (const TField& F : Fields) EXPECT_EQ(F.Got, F.Want) << F.Name;
        EXPECT_EQ(Dialog->GroupStyleNotebook->GetPageIndex(), 0);
        EXPECT_TRUE(Dialog->ApplyButton->GetEnabled());
        Click(Dialog->CancelButton);
    });
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetTag(), 0) << "Cancel sends nothing back";
}

// The buttons acting on the current item or the current group's picture,
// each from a freshly opened dialog: what they change in the working copy,
// whether they mark it changed, and what the Items box shows afterwards.
// The designed bar keeps its contents until OK.
TEST_F(FolioEditorRowsTest, ItemAndPictureButtonsActOnTheCurrentOnes) {
    const auto Stored = Square(0x00FF00);
    struct TCase {
        const char* Button;
        std::vector<String> Items;
        bool PictureLeft, Modified, Editing, ItemShown;
    } const Cases[] = {
        {"DeleteItemButton", {"Inbox"}, true, true, false, false},
        {"ItemEditTextButton", {"Inbox", "Sent"}, true, false, true, false},
        {"GroupClearPictureButton", {"Inbox", "Sent"}, false, true, false, true},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Button);
        Bar->GetGroups()->Clear();
        TFolioGroup* Mail = Bar->GetGroups()->Add("Mail");
        Mail->SetStyle(gbBitmap);
        Mail->SetBitmap(Stored.get());
        for (const char* Caption : {"Inbox", "Sent"}) Mail->GetItems()->Add(Caption, 0);
        Designer.Log.clear();
        RunDialog([&] {
            ClickItem(1);
            ASSERT_NE(Dialog->GetCurrentItem(), nullptr);
            auto* Button = dynamic_cast<TButton*>(Dialog->FindComponent(C.Button));
            ASSERT_NE(Button, nullptr);
            Click(Button);
            TFolioGroup* Work = Dialog->Bar->GetGroups()->GetGroup(0);
            EXPECT_EQ(Captions(*Dialog->Bar), std::vector<String>{"Mail"});
            std::vector<String> Items;
            for (int I = 0; I < Work->GetItems()->GetCount(); ++I)
                Items.push_back(Work->GetItems()->GetItem(I)->GetCaption());
            EXPECT_EQ(Items, C.Items);
            EXPECT_EQ(!Work->GetBitmap()->GetEmpty(), C.PictureLeft);
            EXPECT_EQ(Dialog->ApplyButton->GetEnabled(), C.Modified);
            EXPECT_EQ(Dialog->GetCurrentItem(),
                      C.ItemShown ? Work->GetItems()->GetItem(1) : nullptr);
            for (const TControl* Box : std::initializer_list<const TControl*>{
                     Dialog->ItemTextEdit, Dialog->ItemImageSpinEdit, Dialog->ItemOverImageSpinEdit,
                     Dialog->TagSpinEdit, Dialog->DeleteItemButton, Dialog->ItemEditTextButton}) {
                EXPECT_EQ(Box->GetEnabled(), C.ItemShown) << Box->GetName();
                if (!C.ItemShown && dynamic_cast<const TEdit*>(Box)) {
                    EXPECT_EQ(Box->GetText(), "") << Box->GetName();
                }
            }
            EXPECT_EQ(Dialog->ItemTextEdit->GetText(), C.ItemShown ? "Sent" : "");
            EXPECT_EQ(Work->GetItems()->GetItem(C.Items.size() - 1)->GetEdited(), C.Editing);
            EXPECT_FALSE(Bar->GetGroups()->GetGroup(0)->GetBitmap()->GetEmpty()) << "before OK";
            EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetItems()->GetCount(), 2) << "before OK";
            if (C.Editing) Host.Key(VK_ESCAPE);
            Click(Dialog->OKButton);
        });
        EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetItems()->GetCount(),
                  static_cast<int>(C.Items.size()));
        EXPECT_EQ(!Bar->GetGroups()->GetGroup(0)->GetBitmap()->GetEmpty(), C.PictureLeft);
        EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
    }
}
