#include "DesignTestSupport.h"
#include "design/FolioComponentEditor.h"
#include "design/FolioEditorFormUnit.h"
#include "design/FolioPropertyEditors.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ColorSpace.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/dialogs/ColorDialog.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/stdctrls/PopupList.h"
#include "framework/ui/tabs/Notebook.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include <unistd.h>

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
    // Runs Steps inside the colour or picture dialog that the next click
    // opens; Steps ends by closing it. The steps wait for the dialog to
    // show, since moving the pointer to the click already runs the queue.
    void InNestedDialog(TCommonDialog* Nested, std::function<void()> Steps) {
        Nested->OnShow = [this, Nested, Steps = std::move(Steps)](TObject*) {
            Host.Defer([this, Nested, Steps] {
                Host.RunUntilIdle();
                ASSERT_NE(Nested->GetForm(), nullptr) << "the dialog did not open";
                Steps();
            });
            Nested->OnShow = nullptr;
        };
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
        WaitForGroup(Index);
    }
    // "New group", then the new group's name typed into its caption editor.
    void NameNewGroup(const String& Name) {
        Click(Dialog->NewGroupButton);
        Host.Type(Name);
        Host.Key(VK_RETURN);
        Host.RunUntilIdle();
    }
    // Waits for the working bar's slide to the group Index.
    void WaitForGroup(int Index) {
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
            EXPECT_TRUE(Dialog->GroupStyleNotebook->GetVisible());
            EXPECT_EQ(Dialog->GroupStyleNotebook->GetPageIndex(), 2);
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

// With no item chosen the Items box's fields are disabled and look it, in
// the face colour; the dialog opens with the keyboard on its first control
// in the tab order, and a click on a disabled field leaves it there.
TEST_F(FolioEditorFormTest, DisabledFieldsLookDisabledAndKeepNoKeyboard) {
    AddGroups({"Mail"});
    Bar->GetGroups()->GetGroup(0)->GetItems()->Add("Inbox", 0);
    RunDialog(
        [&] {
            EXPECT_EQ(FindControl(GetFocus()), Dialog->OKButton);
            const TColor Face = ColorToRGB(clBtnFace), Window = ColorToRGB(clWindow);
            auto Middle = [&](const TControl* C) {
                const TPoint P = C->ClientToScreen(Point(C->GetClientWidth() / 2, 5));
                return Host.Pixel(Dialog, P.X - Dialog->GetLeft(), P.Y - Dialog->GetTop());
            };
            for (const TControl* C : std::initializer_list<const TControl*>{
                     Dialog->ItemTextEdit, Dialog->ItemImageSpinEdit, Dialog->ItemOverImageSpinEdit,
                     Dialog->TagSpinEdit})
                EXPECT_EQ(Middle(C), Face) << C->GetName();
            EXPECT_EQ(Middle(Dialog->GroupTextEdit), Window);
            Click(Dialog->ItemTextEdit);
            EXPECT_EQ(FindControl(GetFocus()), Dialog->OKButton);
            EXPECT_TRUE(Dialog->GetVisible());
            Click(Dialog->CancelButton);
        },
        true);
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
        EXPECT_FALSE(Dialog->GroupStyleNotebook->GetVisible());
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
        NameNewGroup("Tools");
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

// A new group named in place is the group the boxes show, and the buttons
// that act on the open group act on it: its items, its deletion.
TEST_F(FolioEditorFormTest, ANewGroupOpensOnceNamedSoTheButtonsActOnIt) {
    AddGroups({"Mail"});
    RunDialog([&] {
        NameNewGroup("Tools");
        EXPECT_EQ(Dialog->ItemsGroupBox->GetCaption(), " Items in group <Tools>");
        WaitForGroup(1);
        Click(Dialog->AddItemButton);
        Host.Key(VK_ESCAPE);
        Host.RunUntilIdle();
        EXPECT_EQ(Dialog->Bar->GetGroups()->GetGroup(0)->GetItems()->GetCount(), 0);
        EXPECT_EQ(Dialog->Bar->GetGroups()->GetGroup(1)->GetItems()->GetCount(), 1);
        Click(Dialog->DeleteGroupButton);
        EXPECT_EQ(Captions(*Dialog->Bar), std::vector<String>{"Mail"});
        Click(Dialog->OKButton);
    });
    EXPECT_EQ(Captions(*Bar), std::vector<String>{"Mail"});
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

TEST_F(FolioEditorFormTest, GradientSwitchesTheNotebookPageAtOnce) {
    AddGroups({"Mail", "Places"});
    Bar->GetGroups()->GetGroup(1)->SetStyle(gbBitmap);
    RunDialog([&] {
        TFolioGroup* Mail = Dialog->Bar->GetGroups()->GetGroup(0);
        TNotebook* Book = Dialog->GroupStyleNotebook;
        EXPECT_EQ(Book->GetPageIndex(), 0);
        EXPECT_TRUE(Dialog->GroupColorPanel->Showing());
        struct Case {
            int Chosen;
            TControl* Shown;
        };
        const Case Cases[] = {{2, Dialog->GroupStartColorPanel},
                              {1, Dialog->GroupSetPictureButton},
                              {0, Dialog->GroupColorPanel}};
        for (const Case& C : Cases) {
            Choose(Dialog->GroupStyleComboBox, C.Chosen);
            EXPECT_EQ(static_cast<int>(Mail->GetStyle()), C.Chosen);
            EXPECT_EQ(Book->GetPageIndex(), C.Chosen);
            EXPECT_TRUE(C.Shown->Showing()) << C.Shown->GetName();
        }
        // Another group shows its own page; none hides the notebook.
        ClickCaption(1);
        EXPECT_EQ(Book->GetActivePage(), "Picture");
        Click(Dialog->DeleteGroupButton);
        Click(Dialog->DeleteGroupButton);
        EXPECT_FALSE(Book->GetVisible());
        Click(Dialog->CancelButton);
    });
}

TEST_F(FolioEditorFormTest, ColourPanelsOpenTheColourDialogAndAChoiceGoesIntoTheGroup) {
    AddGroups({"Mail"});
    TFolioGroup* Designed = Bar->GetGroups()->GetGroup(0);
    Designed->SetStyle(gbGradient);
    Designed->SetStartColor(RGB(1, 2, 3));
    Designed->SetEndColor(RGB(4, 5, 6));
    Designed->SetCaptionColor(RGB(7, 8, 9));
    RunDialog([&] {
        TFolioGroup* Mail = Dialog->Bar->GetGroups()->GetGroup(0);
        struct Case {
            TPanel* Panel;
            TColor (TFolioGroup::*Read)() const;
            TColor Was;
            int Red;
        };
        const Case Cases[] = {
            {Dialog->GroupStartColorPanel, &TFolioGroup::GetStartColor, RGB(1, 2, 3), 101},
            {Dialog->GroupEndColorPanel, &TFolioGroup::GetEndColor, RGB(4, 5, 6), 102},
            {Dialog->GroupCaptionColorPanel, &TFolioGroup::GetCaptionColor, RGB(7, 8, 9), 103},
        };
        for (const Case& C : Cases) {
            SCOPED_TRACE(C.Panel->GetName());
            // Cancel changes nothing.
            InNestedDialog(Dialog->ColorDialog, [&] {
                EXPECT_EQ(Dialog->ColorDialog->GetCurrentColor(), C.Was) << "preset to the panel";
                Host.Key(VK_ESCAPE);
            });
            Click(C.Panel);
            EXPECT_EQ((Mail->*C.Read)(), C.Was);
            if (&C == Cases) {
                EXPECT_FALSE(Dialog->ApplyButton->GetEnabled());
            }
            // A red typed into the dialog and confirmed reaches panel and group.
            InNestedDialog(Dialog->ColorDialog, [&] {
                Host.Key('R', {ssAlt});
                Host.Key('A', {ssCtrl});
                Host.Type(std::to_string(C.Red));
                Host.Key(VK_RETURN);
            });
            Click(C.Panel);
            const TColor Chosen = RGB(C.Red, GetGValue(C.Was), GetBValue(C.Was));
            EXPECT_EQ(C.Panel->GetColor(), Chosen);
            EXPECT_EQ((Mail->*C.Read)(), Chosen);
        }
        EXPECT_TRUE(Dialog->ApplyButton->GetEnabled());
        // The single colour's panel sits on the first page.
        Choose(Dialog->GroupStyleComboBox, 0);
        InNestedDialog(Dialog->ColorDialog, [&] {
            Host.Key('R', {ssAlt});
            Host.Key('A', {ssCtrl});
            Host.Type("200");
            Host.Key(VK_RETURN);
        });
        Click(Dialog->GroupColorPanel);
        EXPECT_EQ(GetRValue(Mail->GetColor()), 200);
        Click(Dialog->OKButton);
    });
    // OK copies new groups into the designed bar.
    const TFolioGroup* Back = Bar->GetGroups()->GetGroup(0);
    EXPECT_EQ(Back->GetStartColor(), RGB(101, 2, 3));
    EXPECT_EQ(Back->GetCaptionColor(), RGB(103, 8, 9));
}

struct FolioEditorPictureTest : FolioEditorFormTest {
    std::filesystem::path Dir;
    void SetUp() override {
        FolioEditorFormTest::SetUp();
        Dir = std::filesystem::temp_directory_path() /
              ("folio-editor-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }

    // Chooses Path in the picture dialog that "Set picture..." opens.
    void SetPicture(const std::filesystem::path& Path) {
        InNestedDialog(Dialog->OpenPictureDialog, [this, Path] {
            EXPECT_EQ(Dialog->OpenPictureDialog->GetForm()->GetCaption(), "Select picture");
            // The name field has the focus, holding the last choice.
            Host.Key('A', {ssCtrl});
            Host.Type(Path.string());
            Host.Key(VK_RETURN);
        });
        Click(Dialog->GroupSetPictureButton);
    }
};

TEST_F(FolioEditorPictureTest, SetAndClearPictureChangeOnlyTheWorkingGroupUntilApplied) {
    TBitmap Picture;
    Picture.SetSize(6, 4);
    Picture.GetCanvas()->GetBrush()->SetColor(RGB(10, 200, 30));
    Picture.GetCanvas()->FillRect(Rect(0, 0, 6, 4));
    Picture.SaveToFile((Dir / "leaf.bmp").string());
    {
        std::ofstream Junk(Dir / "junk.bmp");
        Junk << "not a picture";
    }
    AddGroups({"Mail"});
    Bar->GetGroups()->GetGroup(0)->SetStyle(gbBitmap);
    RunDialog([&] {
        TFolioGroup* Mail = Dialog->Bar->GetGroups()->GetGroup(0);
        ASSERT_TRUE(Dialog->GroupSetPictureButton->Showing());
        SetPicture(Dir / "leaf.bmp");
        EXPECT_TRUE(Mail->GetBitmap()->Equals(&Picture));
        EXPECT_TRUE(Bar->GetGroups()->GetGroup(0)->GetBitmap()->GetEmpty()) << "before Apply";
        ASSERT_TRUE(Dialog->ApplyButton->GetEnabled());
        Click(Dialog->ApplyButton);
        EXPECT_TRUE(Bar->GetGroups()->GetGroup(0)->GetBitmap()->Equals(&Picture));

        // A file that is no picture fails with the bitmap's error (the
        // headless host hands it to the input's caller) and changes nothing.
        EXPECT_THROW(SetPicture(Dir / "junk.bmp"), EInvalidGraphic);
        EXPECT_TRUE(Mail->GetBitmap()->Equals(&Picture));
        EXPECT_FALSE(Dialog->ApplyButton->GetEnabled());

        Click(Dialog->GroupClearPictureButton);
        EXPECT_TRUE(Mail->GetBitmap()->GetEmpty());
        EXPECT_TRUE(Dialog->ApplyButton->GetEnabled());
        Click(Dialog->CancelButton);
    });
    EXPECT_TRUE(Bar->GetGroups()->GetGroup(0)->GetBitmap()->Equals(&Picture)) << "the applied one";
}

// No button of the dialog is its default: Enter in one of its boxes (or in
// the bar's caption editor) does not close it, while Escape still cancels
// through the Cancel button.
TEST_F(FolioEditorFormTest, EnterInABoxLeavesTheDialogOpen) {
    AddGroups({"Mail"});
    Bar->GetGroups()->GetGroup(0)->GetItems()->Add("Inbox", 0);
    RunDialog([&] {
        EXPECT_FALSE(Dialog->OKButton->GetDefault());
        EXPECT_TRUE(Dialog->CancelButton->GetCancel());
        ClickItem(0);
        for (TEdit* Box : {Dialog->GroupTextEdit, Dialog->GroupTagSpinEdit, Dialog->ItemTextEdit,
                           Dialog->TagSpinEdit}) {
            SCOPED_TRACE(Box->GetName());
            Click(Box);
            Host.Key(VK_RETURN);
            Host.RunUntilIdle();
            EXPECT_EQ(Dialog->GetModalResult(), 0);
            EXPECT_TRUE(Dialog->GetVisible());
        }
        // Enter that names a new item in the bar's own editor ends the edit,
        // not the dialog.
        Click(Dialog->AddItemButton);
        Host.Type("Outbox");
        Host.Key(VK_RETURN);
        Host.RunUntilIdle();
        EXPECT_EQ(Dialog->GetModalResult(), 0);
        EXPECT_TRUE(Dialog->GetVisible());
        EXPECT_EQ(Dialog->Bar->GetGroups()->GetGroup(0)->GetItems()->GetItem(1)->GetCaption(),
                  "Outbox");
        Host.Key(VK_ESCAPE);
        Host.RunUntilIdle();
        EXPECT_EQ(Dialog->GetModalResult(), mrCancel);
    });
    EXPECT_TRUE(Designer.Log.empty()) << "Cancel sends nothing back";
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
        {Form->GroupStyleNotebook, Rect(4, 120, 269, 153)},
        {Form->GroupColorPanel, Rect(36, 4, 61, 25)},
        {Form->GroupSetPictureButton, Rect(4, 4, 79, 29)},
        {Form->GroupClearPictureButton, Rect(84, 4, 159, 29)},
        {Form->GroupStartColorPanel, Rect(60, 4, 85, 25)},
        {Form->GroupEndColorPanel, Rect(144, 4, 169, 25)},
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
    EXPECT_EQ(Form->GroupStyleNotebook->GetPages()->Items(),
              (std::vector<String>{"Color", "Picture", "Gradient"}));
    for (int Page = 0; Page < 3; ++Page) {
        const TControl* const OnPage[] = {Form->GroupColorPanel, Form->GroupClearPictureButton,
                                          Form->GroupEndColorPanel};
        EXPECT_EQ(OnPage[Page]->GetParent(), Form->GroupStyleNotebook->GetPage(Page)) << Page;
    }
    EXPECT_EQ(Form->OpenPictureDialog->GetFilter(), "Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(Form->OpenPictureDialog->GetDefaultExt(), "bmp");
    EXPECT_LT(Form->GroupStyleComboBox->GetTabOrder(), Form->GroupStyleNotebook->GetTabOrder());
    EXPECT_LT(Form->GroupStyleNotebook->GetTabOrder(), Form->GroupTagSpinEdit->GetTabOrder());
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
    TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
    Mail->SetStyle(gbGradient);
    Mail->SetStartColor(RGB(156, 107, 60));
    Mail->SetEndColor(RGB(232, 200, 156));
    for (const char* Caption : {"Inbox", "Sent"}) Mail->GetItems()->Add(Caption, -1);
    const char* Dir = std::getenv("FOLIO_SNAPSHOT_DIR");
    RunDialog([&] {
        ClickItem(0);
        if (Dir) Host.Screenshot(Dialog, String(Dir) + "/folio-editor.png");
        Click(Dialog->CancelButton);
    });
}

} // namespace
