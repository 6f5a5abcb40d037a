#include "DesignTestSupport.h"
#include "design/FolioComponentEditor.h"
#include "design/FolioEditorFormUnit.h"
#include "design/FolioPropertyEditors.h"
#include "framework/gfx/Bitmap.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/Button.h"
#include "framework/ui/ComboBox.h"
#include "framework/ui/Edit.h"
#include "framework/ui/GroupBox.h"
#include "framework/ui/Label.h"
#include "framework/ui/ListBox.h"
#include "framework/ui/Panel.h"
#include "framework/ui/PopupList.h"
#include "framework/ui/Screen.h"
#include "framework/ui/VirtualKeys.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>

using namespace folio;
using namespace folio::test;

namespace {

// A designed form holding a bar, and the bar's editor dialog driven through
// real input on the headless screen while it runs modally.
struct FolioEditorFormTest : ::testing::Test {
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

    void AddGroups(std::initializer_list<const char*> Names) {
        for (const char* Name : Names) Bar->GetGroups()->Add(Name);
    }

    // Opens the dialog from the property inspector (the ellipsis of Groups)
    // or through the bar's component editor ("Edit groups...", after which
    // the designer always hears of a change) and runs Steps inside its
    // loop; Steps ends by closing it.
    void RunDialog(const std::function<void()>& Steps, bool ByVerb = false) {
        Host.Defer([&] {
            Host.RunUntilIdle();
            Dialog = dynamic_cast<TFolioEditorForm*>(Screen->GetActiveForm());
            ASSERT_NE(Dialog, nullptr) << "the dialog is not the active form";
            Steps();
        });
        if (ByVerb) {
            TFolioComponentEditor(Bar, &Designer).ExecuteVerb(0);
        } else {
            const TPropInfo& Groups = *TFolio::StaticClassInfo().FindProperty("Groups");
            TFolioGroupsPropEditor(&Designer, {Bar}, Groups).Edit();
        }
        Dialog = nullptr;
    }

    void Click(const TControl* Control) {
        const TPoint P =
            Control->ClientToScreen(Point(Control->GetWidth() / 2, Control->GetHeight() / 2));
        Host.Click(P.X, P.Y);
        Host.RunUntilIdle();
    }
    // Replaces an edit's text by typing.
    void TypeInto(TEdit* Edit, const String& Text) {
        Click(Edit);
        Host.Key('A', {ssCtrl});
        if (Text.empty())
            Host.Key(VK_DELETE);
        else
            Host.Type(Text);
        Host.RunUntilIdle();
    }
    // Opens a drop-down list with a click and clicks its entry Index.
    void Choose(TComboBox* Combo, int Index) {
        Click(Combo);
        ASSERT_TRUE(Combo->GetDroppedDown()) << Combo->GetName();
        const TListBox* List = Combo->GetPopupList()->GetList();
        const TRect R = List->ItemRect(Index);
        const TPoint P = List->ClientToScreen(Point(R.Left + 10, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
        Host.RunUntilIdle();
        ASSERT_FALSE(Combo->GetDroppedDown()) << Combo->GetName();
    }
    // Clicks a group's caption in the working bar and waits for its slide.
    void ClickCaption(int Index) {
        const TRect R = Dialog->Bar->GetGroups()->GetGroup(Index)->GetCaptionRect();
        const TPoint P =
            Dialog->Bar->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
        for (int Wait = 0; Wait < 400 && Dialog->Bar->GetVisibleGroup() != Index; ++Wait) {
            Host.RunUntilIdle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_EQ(Dialog->Bar->GetVisibleGroup(), Index);
        Host.RunUntilIdle();
    }
    void ClickItem(int Index) {
        TFolioGroup* Group = Dialog->Bar->GetVisibleGroupObject();
        const TRect R = Group->GetItems()->GetItem(Index)->GetImageRect();
        const TPoint P =
            Dialog->Bar->ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
        Host.Click(P.X, P.Y);
        Host.RunUntilIdle();
    }
};

TEST_F(FolioEditorFormTest, ThreeGroupsShowTheFirstAndAnEmptyDisabledItemsBox) {
    AddGroups({"Mail", "Places", "Tools"});
    Bar->GetGroups()->GetGroup(0)->SetTag(7);
    Bar->GetGroups()->GetGroup(0)->SetStyle(gbGradient);
    Bar->GetGroups()->GetGroup(0)->SetImageSize(isLarge);
    RunDialog(
        [&] {
            EXPECT_EQ(Dialog->GroupsGroupBox->GetCaption(), " Groups in <Bar1> ");
            EXPECT_EQ(Dialog->GetCurrentGroup(), Dialog->Bar->GetGroups()->GetGroup(0));
            EXPECT_EQ(Dialog->GroupTextEdit->GetText(), "Mail");
            EXPECT_TRUE(Dialog->GroupTextEdit->GetEnabled());
            EXPECT_EQ(Dialog->GroupTagSpinEdit->GetText(), "7");
            EXPECT_EQ(Dialog->GroupStyleComboBox->GetText(), "Gradient");
            EXPECT_EQ(Dialog->GroupImageSizeComboBox->GetText(), "Large");
            EXPECT_TRUE(Dialog->GroupStyleComboBox->GetEnabled());
            EXPECT_TRUE(Dialog->GroupImageSizeComboBox->GetEnabled());
            EXPECT_EQ(Dialog->ItemsGroupBox->GetCaption(), " Items in group <Mail>");
            for (TControl* C : std::initializer_list<TControl*>{
                     Dialog->ItemTextEdit, Dialog->ItemImageSpinEdit, Dialog->ItemOverImageSpinEdit,
                     Dialog->TagSpinEdit, Dialog->DeleteItemButton, Dialog->ItemEditTextButton}) {
                EXPECT_FALSE(C->GetEnabled()) << C->GetName();
                EXPECT_EQ(C->GetText(), C == Dialog->DeleteItemButton     ? "Delete item"
                                        : C == Dialog->ItemEditTextButton ? "Edit text"
                                                                          : "")
                    << C->GetName();
            }
            EXPECT_TRUE(Dialog->AddItemButton->GetEnabled());
            EXPECT_FALSE(Dialog->ApplyButton->GetEnabled());
            Click(Dialog->CancelButton);
        },
        true);
    // Cancel sends nothing back; the verb tells the designer all the same.
    EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
}

TEST_F(FolioEditorFormTest, NoGroupsLeaveTheGroupControlsDisabledAndTheItemsCaptionAsDesigned) {
    RunDialog([&] {
        EXPECT_EQ(Dialog->GetCurrentGroup(), nullptr);
        for (TControl* C : std::initializer_list<TControl*>{
                 Dialog->DeleteGroupButton, Dialog->GroupNameButton, Dialog->AddItemButton,
                 Dialog->GroupTextEdit, Dialog->GroupTagSpinEdit, Dialog->GroupCaptionColorPanel,
                 Dialog->GroupStyleComboBox, Dialog->GroupImageSizeComboBox})
            EXPECT_FALSE(C->GetEnabled()) << C->GetName();
        EXPECT_EQ(Dialog->GroupStyleComboBox->GetItemIndex(), -1);
        EXPECT_EQ(Dialog->GroupImageSizeComboBox->GetItemIndex(), -1);
        EXPECT_TRUE(Dialog->NewGroupButton->GetEnabled());
        EXPECT_EQ(Dialog->ItemsGroupBox->GetCaption(), " Items in group <name> ");
        EXPECT_EQ(Dialog->GroupCaptionColorPanel->GetColor(), clBtnFace);
        Host.Key(VK_ESCAPE);
    });
    EXPECT_TRUE(Designer.Log.empty());
}

TEST_F(FolioEditorFormTest, TypedNumbersThatAreNotNumbersCountAsZero) {
    AddGroups({"Mail"});
    Bar->GetGroups()->GetGroup(0)->GetItems()->Add("Inbox", 3);
    struct Case {
        const char* Typed;
        int Tag;
    };
    const Case Cases[] = {{"42", 42}, {"12a", 0}, {"-5", -5}, {"", 0}, {" 7", 0}};
    RunDialog([&] {
        TFolioGroup* Group = Dialog->Bar->GetGroups()->GetGroup(0);
        for (const Case& C : Cases) {
            TypeInto(Dialog->GroupTagSpinEdit, C.Typed);
            EXPECT_EQ(Group->GetTag(), C.Tag) << '"' << C.Typed << '"';
        }
        ClickItem(0);
        TFolioItem* Item = Group->GetItems()->GetItem(0);
        ASSERT_EQ(Dialog->GetCurrentItem(), Item);
        EXPECT_EQ(Dialog->ItemImageSpinEdit->GetText(), "3");
        // An emptied picture index is 0, not -1, as for every number field.
        TypeInto(Dialog->ItemImageSpinEdit, "");
        EXPECT_EQ(Item->GetImageIndex(), 0);
        TypeInto(Dialog->ItemOverImageSpinEdit, "2x");
        EXPECT_EQ(Item->GetOverImageIndex(), 0);
        TypeInto(Dialog->TagSpinEdit, "99");
        EXPECT_EQ(Item->GetTag(), 99);
        TypeInto(Dialog->ItemTextEdit, "Outbox");
        EXPECT_EQ(Item->GetCaption(), "Outbox");
        EXPECT_TRUE(Dialog->ApplyButton->GetEnabled());
        Click(Dialog->OKButton);
    });
    const TFolioItem* Back = Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(0);
    EXPECT_EQ(Back->GetCaption(), "Outbox");
    EXPECT_EQ(Back->GetTag(), 99);
    EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
}

TEST_F(FolioEditorFormTest, AnAddedItemStaysOutOfTheBarOnCancelAndReachesItOnOk) {
    AddGroups({"Mail"});
    for (const bool Ok : {false, true}) {
        SCOPED_TRACE(Ok ? "OK" : "Cancel");
        Designer.Log.clear();
        RunDialog([&] {
            Click(Dialog->AddItemButton);
            // The new item's caption is being edited; Escape keeps "New".
            Host.Key(VK_ESCAPE);
            Host.RunUntilIdle();
            EXPECT_EQ(Dialog->Bar->GetGroups()->GetGroup(0)->GetItems()->GetCount(), 1);
            EXPECT_FALSE(Dialog->ApplyButton->GetEnabled());
            Click(Ok ? Dialog->OKButton : Dialog->CancelButton);
        });
        TFolioItems* Items = Bar->GetGroups()->GetGroup(0)->GetItems();
        ASSERT_EQ(Items->GetCount(), Ok ? 1 : 0);
        if (Ok) {
            EXPECT_EQ(Items->GetItem(0)->GetCaption(), "New");
            EXPECT_EQ(Items->GetItem(0)->GetImageIndex(), -1);
        }
        EXPECT_EQ(Designer.Log, Ok ? std::vector<String>{"Modified"} : std::vector<String>{});
    }
}

TEST_F(FolioEditorFormTest, ApplyThenCancelKeepsTheAppliedState) {
    AddGroups({"Mail", "Places"});
    RunDialog([&] {
        Click(Dialog->DeleteGroupButton);
        EXPECT_EQ(Captions(*Dialog->Bar), std::vector<String>{"Places"});
        EXPECT_EQ(Dialog->GroupTextEdit->GetText(), "Places");
        EXPECT_EQ(Captions(*Bar), (std::vector<String>{"Mail", "Places"})) << "before Apply";
        ASSERT_TRUE(Dialog->ApplyButton->GetEnabled());
        Click(Dialog->ApplyButton);
        EXPECT_EQ(Captions(*Bar), std::vector<String>{"Places"});
        EXPECT_FALSE(Dialog->ApplyButton->GetEnabled());
        EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
        // Later changes go nowhere on Cancel.
        TypeInto(Dialog->GroupTextEdit, "Later");
        Click(Dialog->CancelButton);
    });
    EXPECT_EQ(Captions(*Bar), std::vector<String>{"Places"});
    EXPECT_EQ(Designer.Log, std::vector<String>{"Modified"});
}

TEST_F(FolioEditorFormTest, GroupButtonsAddRenameAndDeleteThroughTheWorkingBar) {
    AddGroups({"Mail"});
    RunDialog([&] {
        Click(Dialog->NewGroupButton);
        Host.Type("Tools");
        Host.Key(VK_RETURN);
        Host.RunUntilIdle();
        EXPECT_EQ(Captions(*Dialog->Bar), (std::vector<String>{"Mail", "Tools"}));

        ClickCaption(1);
        EXPECT_EQ(Dialog->GroupTextEdit->GetText(), "Tools");
        // A rename in place shows at once, so that the next change of
        // another field does not write the old caption back.
        Click(Dialog->GroupNameButton);
        Host.Key('A', {ssCtrl});
        Host.Type("Kit");
        Host.Key(VK_RETURN);
        Host.RunUntilIdle();
        EXPECT_EQ(Dialog->GroupTextEdit->GetText(), "Kit");
        EXPECT_EQ(Dialog->ItemsGroupBox->GetCaption(), " Items in group <Kit>");
        TypeInto(Dialog->GroupTagSpinEdit, "5");
        EXPECT_EQ(Captions(*Dialog->Bar), (std::vector<String>{"Mail", "Kit"}));

        // Deleting down to nothing empties and disables the Groups box.
        Click(Dialog->DeleteGroupButton);
        Click(Dialog->DeleteGroupButton);
        EXPECT_TRUE(Captions(*Dialog->Bar).empty());
        EXPECT_EQ(Dialog->GetCurrentGroup(), nullptr);
        EXPECT_FALSE(Dialog->GroupTextEdit->GetEnabled());
        Click(Dialog->OKButton);
    });
    EXPECT_TRUE(Captions(*Bar).empty());
}

TEST_F(FolioEditorFormTest, ItemButtonsRenameAndDeleteTheCurrentItem) {
    AddGroups({"Mail"});
    for (const char* Caption : {"Inbox", "Sent"})
        Bar->GetGroups()->GetGroup(0)->GetItems()->Add(Caption, 0);
    RunDialog([&] {
        TFolioItems* Items = Dialog->Bar->GetGroups()->GetGroup(0)->GetItems();
        ClickItem(1);
        EXPECT_EQ(Dialog->ItemTextEdit->GetText(), "Sent");
        Click(Dialog->ItemEditTextButton);
        EXPECT_EQ(Dialog->GetCurrentItem(), nullptr) << "the Items box lets go while renaming";
        Host.Key('A', {ssCtrl});
        Host.Type("Drafts");
        Host.Key(VK_RETURN);
        Host.RunUntilIdle();
        EXPECT_EQ(Items->GetItem(1)->GetCaption(), "Drafts");
        EXPECT_TRUE(Dialog->ApplyButton->GetEnabled());

        ClickItem(0);
        Click(Dialog->DeleteItemButton);
        ASSERT_EQ(Items->GetCount(), 1);
        EXPECT_EQ(Items->GetItem(0)->GetCaption(), "Drafts");
        EXPECT_EQ(Dialog->GetCurrentItem(), nullptr);
        EXPECT_FALSE(Dialog->DeleteItemButton->GetEnabled());
        Click(Dialog->OKButton);
    });
    ASSERT_EQ(Bar->GetGroups()->GetGroup(0)->GetItems()->GetCount(), 1);
}

TEST_F(FolioEditorFormTest, ChoosingInTheListsSetsStyleAndImageSize) {
    AddGroups({"Mail", "Places"});
    RunDialog([&] {
        TFolioGroup* Mail = Dialog->Bar->GetGroups()->GetGroup(0);
        struct Case {
            TComboBox* List;
            int Index;
            TFolGroupBackgroungStyle Style;
            TFolImageSize Size;
        };
        const Case Cases[] = {
            {Dialog->GroupStyleComboBox, 2, gbGradient, isLarge},
            {Dialog->GroupImageSizeComboBox, 0, gbGradient, isSmall},
            {Dialog->GroupStyleComboBox, 1, gbBitmap, isSmall},
            {Dialog->GroupImageSizeComboBox, 1, gbBitmap, isLarge},
        };
        for (const Case& C : Cases) {
            Choose(C.List, C.Index);
            EXPECT_EQ(Mail->GetStyle(), C.Style) << C.List->GetName() << ' ' << C.Index;
            EXPECT_EQ(Mail->GetImageSize(), C.Size) << C.List->GetName() << ' ' << C.Index;
        }
        EXPECT_TRUE(Dialog->ApplyButton->GetEnabled());
        // Keys on the closed list choose too.
        Click(Dialog->GroupStyleComboBox);
        Host.Key(VK_ESCAPE);
        Host.Key(VK_HOME);
        Host.RunUntilIdle();
        EXPECT_EQ(Mail->GetStyle(), gbColor);

        // Showing another group fills the lists from it and writes nothing
        // back into either group.
        Choose(Dialog->GroupStyleComboBox, 2);
        ClickCaption(1);
        TFolioGroup* Places = Dialog->Bar->GetGroups()->GetGroup(1);
        EXPECT_EQ(Dialog->GroupStyleComboBox->GetText(), "Single color");
        EXPECT_EQ(Dialog->GroupImageSizeComboBox->GetText(), "Large");
        EXPECT_EQ(Mail->GetStyle(), gbGradient);
        EXPECT_EQ(Places->GetStyle(), gbColor);
        Choose(Dialog->GroupImageSizeComboBox, 0);
        ClickCaption(0);
        EXPECT_EQ(Dialog->GroupStyleComboBox->GetText(), "Gradient");
        Click(Dialog->OKButton);
    });
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetStyle(), gbGradient);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(0)->GetImageSize(), isLarge);
    EXPECT_EQ(Bar->GetGroups()->GetGroup(1)->GetImageSize(), isSmall);
}

TEST_F(FolioEditorFormTest, TheLinkLabelOpensTheWebAddress) {
    String Opened;
    RunDialog([&] {
        Dialog->OpenUrl = [&](const String& Url) { Opened = Url; };
        Click(Dialog->URLLabel);
        Click(Dialog->CancelButton);
    });
    EXPECT_EQ(Opened, TFolioEditorForm::WebAddress);
}

TEST_F(FolioEditorFormTest, TheLayoutIsTheFormFiles) {
    auto Form = std::make_unique<TFolioEditorForm>(nullptr);
    EXPECT_EQ(Form->GetCaption(), "Folio Editor");
    EXPECT_EQ(Form->GetClientWidth(), 405);
    EXPECT_EQ(Form->GetClientHeight(), 406);
    EXPECT_EQ(Form->GetBorderIcons(), TBorderIcons{biSystemMenu});
    // The icon is the form file's: a small picture of the bar.
    EXPECT_EQ(Form->GetIcon()->GetWidth(), 16);
    EXPECT_EQ(Form->GetIcon()->GetHeight(), 16);
    EXPECT_NE(Form->GetIcon()->GetPixel(8, 1), Form->GetIcon()->GetPixel(8, 7));
    struct Bounds {
        const TControl* Control;
        TRect Rect;
    };
    const Bounds Expected[] = {
        {Form->OKButton, Rect(4, 377, 81, 402)},
        {Form->ApplyButton, Rect(324, 377, 401, 402)},
        {Form->Bar, Rect(4, 80, 121, 373)},
        {Form->GroupsGroupBox, Rect(124, 76, 401, 237)},
        {Form->ItemsGroupBox, Rect(124, 244, 401, 373)},
        {Form->GroupTextEdit, Rect(40, 52, 269, 73)},
        {Form->TagSpinEdit, Rect(76, 100, 129, 121)},
        {Form->GroupStyleComboBox, Rect(40, 100, 125, 121)},
        {Form->GroupImageSizeComboBox, Rect(192, 100, 269, 121)},
    };
    for (const Bounds& B : Expected)
        EXPECT_EQ(B.Control->GetBoundsRect(), B.Rect) << B.Control->GetName();
    EXPECT_EQ(Form->Bar->GetVisibleGroup(), -1);
    EXPECT_EQ(Form->Bar->GetColor(), clBtnShadow);
    EXPECT_EQ(Form->GroupStyleComboBox->GetItems()->Items(),
              (std::vector<String>{"Single color", "Picture", "Gradient"}));
    EXPECT_EQ(Form->GroupImageSizeComboBox->GetItems()->Items(),
              (std::vector<String>{"Small", "Large"}));
    EXPECT_EQ(Form->GroupStyleComboBox->GetStyle(), csDropDownList);
    // The tab order follows the rows of each box.
    EXPECT_LT(Form->GroupTextEdit->GetTabOrder(), Form->GroupStyleComboBox->GetTabOrder());
    EXPECT_LT(Form->GroupStyleComboBox->GetTabOrder(), Form->GroupTagSpinEdit->GetTabOrder());
    EXPECT_LT(Form->GroupCaptionColorPanel->GetTabOrder(),
              Form->GroupImageSizeComboBox->GetTabOrder());
    EXPECT_LT(Form->ItemTextEdit->GetTabOrder(), Form->ItemImageSpinEdit->GetTabOrder());
    EXPECT_LT(Form->AddItemButton->GetTabOrder(), Form->DeleteItemButton->GetTabOrder());
}

TEST_F(FolioEditorFormTest, Snapshot) {
    AddGroups({"Mail", "Places", "Tools"});
    TFolioItems* Items = Bar->GetGroups()->GetGroup(0)->GetItems();
    for (const char* Caption : {"Inbox", "Sent"}) Items->Add(Caption, -1);
    const char* Dir = std::getenv("FOLIO_SNAPSHOT_DIR");
    RunDialog([&] {
        ClickItem(0);
        if (Dir) Host.Screenshot(Dialog, String(Dir) + "/folio-editor.png");
        Click(Dialog->CancelButton);
    });
}

} // namespace
