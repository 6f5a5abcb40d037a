// The bar editor dialog's layout as its form file builds it: every control
// in its parent with its bounds and caption, the tab order of each parent's
// rows, and the settings of the form, the working bar, the logo panel and
// the colour panels.
#include "design/FolioEditorFormUnit.h"

#include "folio/Folio.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Image.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"
#include "framework/ui/tabs/Notebook.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

using namespace folio;

namespace {

constexpr int SizedToText = -1;

// A control of the dialog: its name, its parent's name (or the notebook
// page it sits on), its bounds and its caption. A label's size follows its
// text.
struct TRow {
    const char* Name;
    const char* Parent;
    int Page;
    int Left, Top, Width, Height;
    const char* Caption;
};

constexpr const char* Form = "FolioEditorForm";
constexpr const char* Logo = "LogoPanel";
constexpr const char* Groups = "GroupsGroupBox";
constexpr const char* Items = "ItemsGroupBox";
constexpr const char* Book = "GroupStyleNotebook";
constexpr int S = SizedToText;

// In the order of the rows within each parent, which is the tab order.
const TRow Layout[] = {
    {"OKButton", Form, -1, 4, 377, 77, 25, "&OK"},
    {"CancelButton", Form, -1, 84, 377, 77, 25, "&Cancel"},
    {"ApplyButton", Form, -1, 324, 377, 77, 25, "&Apply"},
    {"Bar", Form, -1, 4, 80, 117, 293, ""},
    {"LogoPanel", Form, -1, 4, 4, 397, 69, ""},
    {"GroupsGroupBox", Form, -1, 124, 76, 277, 161, " Groups "},
    {"ItemsGroupBox", Form, -1, 124, 244, 277, 129, " Items in group <name> "},
    {"LogoImage", Logo, -1, 0, -3, 218, 72, ""},
    {"WebLabel", Logo, -1, 276, 20, S, S, "Folio on the web:"},
    {"URLLabel", Logo, -1, 260, 36, S, S, "folio.example.org"},
    {"NewGroupButton", Groups, -1, 8, 20, 75, 25, "New group"},
    {"DeleteGroupButton", Groups, -1, 88, 20, 75, 25, "Delete group"},
    {"GroupNameButton", Groups, -1, 192, 20, 77, 25, "Edit text"},
    {"GroupTextEdit", Groups, -1, 40, 52, 229, 21, ""},
    {"GroupStyleComboBox", Groups, -1, 40, 100, 85, 21, ""},
    {"GroupStyleNotebook", Groups, -1, 4, 120, 265, 33, ""},
    {"GroupTagSpinEdit", Groups, -1, 136, 76, 57, 21, ""},
    {"GroupCaptionColorPanel", Groups, -1, 76, 76, 25, 21, ""},
    {"GroupImageSizeComboBox", Groups, -1, 192, 100, 77, 21, ""},
    {"GruopTextLabel", Groups, -1, 8, 56, S, S, "Text:"},
    {"GroupCaptionColorLabel", Groups, -1, 8, 80, S, S, "Caption color:"},
    {"GroupTagLabel", Groups, -1, 108, 80, S, S, "Tag:"},
    {"GroupStyleLabel", Groups, -1, 8, 104, S, S, "Style:"},
    {"GroupImageSizeLabel", Groups, -1, 132, 104, S, S, "Image size:"},
    {"GroupColorLabel", Book, 0, 4, 8, S, S, "Color:"},
    {"GroupColorPanel", Book, 0, 36, 4, 25, 21, ""},
    {"GroupSetPictureButton", Book, 1, 4, 4, 75, 25, "Set picture..."},
    {"GroupClearPictureButton", Book, 1, 84, 4, 75, 25, "Clear picture"},
    {"GroupStartColorLabel", Book, 2, 4, 8, S, S, "Start color:"},
    {"GroupEndColorLabel", Book, 2, 92, 8, S, S, "End color:"},
    {"GroupStartColorPanel", Book, 2, 60, 4, 25, 21, ""},
    {"GroupEndColorPanel", Book, 2, 144, 4, 25, 21, ""},
    {"AddItemButton", Items, -1, 8, 20, 75, 25, "Add item"},
    {"DeleteItemButton", Items, -1, 88, 20, 75, 25, "Delete item"},
    {"ItemTextEdit", Items, -1, 40, 52, 229, 21, ""},
    {"ItemImageSpinEdit", Items, -1, 76, 76, 53, 21, ""},
    {"ItemOverImageSpinEdit", Items, -1, 220, 76, 49, 21, ""},
    {"TagSpinEdit", Items, -1, 76, 100, 53, 21, ""},
    {"ItemEditTextButton", Items, -1, 192, 20, 77, 25, "Edit text"},
    {"ItemTextLabel", Items, -1, 8, 56, S, S, "Text:"},
    {"ItemImageLabel", Items, -1, 8, 80, S, S, "Image Index:"},
    {"ItemOverImageLabel", Items, -1, 132, 80, S, S, "Over Image Index:"},
    {"TagLabel", Items, -1, 8, 104, S, S, "Tag:"},
};

struct FolioEditorLayoutTest : ::testing::Test {
    std::unique_ptr<TFolioEditorForm> Dialog = std::make_unique<TFolioEditorForm>(nullptr);

    TControl* Named(const char* Name) const {
        if (String(Name) == Form) return Dialog.get();
        return dynamic_cast<TControl*>(Dialog->FindComponent(Name));
    }
};

} // namespace

TEST_F(FolioEditorLayoutTest, EveryControlSitsInItsParentWithItsBoundsAndCaption) {
    std::map<const TWinControl*, int> LastTabOrder;
    for (const TRow& Row : Layout) {
        SCOPED_TRACE(Row.Name);
        TControl* Control = Named(Row.Name);
        ASSERT_NE(Control, nullptr);
        const TWinControl* Parent =
            Row.Page >= 0 ? static_cast<const TWinControl*>(
                                dynamic_cast<TNotebook*>(Named(Row.Parent))->GetPage(Row.Page))
                          : dynamic_cast<TWinControl*>(Named(Row.Parent));
        ASSERT_NE(Parent, nullptr);
        EXPECT_EQ(Control->GetParent(), Parent);
        EXPECT_EQ(Control->GetLeft(), Row.Left);
        EXPECT_EQ(Control->GetTop(), Row.Top);
        if (Row.Width == SizedToText) {
            const auto* Label = dynamic_cast<TLabel*>(Control);
            ASSERT_NE(Label, nullptr);
            EXPECT_TRUE(Label->GetAutoSize());
        } else {
            EXPECT_EQ(Control->GetWidth(), Row.Width);
            EXPECT_EQ(Control->GetHeight(), Row.Height);
        }
        EXPECT_EQ(Control->GetCaption(), Row.Caption);
        // The rows of one parent follow its tab order.
        if (const auto* Win = dynamic_cast<TWinControl*>(Control)) {
            auto Last = LastTabOrder.find(Parent);
            if (Last != LastTabOrder.end()) {
                EXPECT_GT(Win->GetTabOrder(), Last->second);
            }
            LastTabOrder[Parent] = Win->GetTabOrder();
        }
    }
}

TEST_F(FolioEditorLayoutTest, TheFormTheWorkingBarAndTheLogoPanelHaveTheirSettings) {
    const TFolioEditorForm& F = *Dialog;
    EXPECT_EQ(F.GetBorderStyle(), bsSingle);
    EXPECT_EQ(F.GetBorderIcons(), TBorderIcons{biSystemMenu});
    EXPECT_EQ(F.GetPosition(), poDefaultPosOnly);
    EXPECT_EQ(F.GetFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(F.GetFont()->GetHeight(), -11);
    EXPECT_EQ(F.GetColor(), clBtnFace);
    EXPECT_EQ(F.GetClientWidth(), 405);
    EXPECT_EQ(F.GetClientHeight(), 406);
    EXPECT_EQ(F.GetCaption(), "Folio Editor");

    // The buttons close with their results; none is the default button.
    struct TButtonRow {
        const TButton* Button;
        TModalResult Result;
        bool Cancel, Enabled;
    } const Buttons[] = {{F.OKButton, mrOk, false, true},
                         {F.CancelButton, mrCancel, true, true},
                         {F.ApplyButton, mrNone, false, false}};
    for (const TButtonRow& B : Buttons) {
        SCOPED_TRACE(B.Button->GetName());
        EXPECT_EQ(B.Button->GetModalResult(), B.Result);
        EXPECT_FALSE(B.Button->GetDefault());
        EXPECT_EQ(B.Button->GetCancel(), B.Cancel);
        EXPECT_EQ(B.Button->GetEnabled(), B.Enabled);
    }

    const TFolio& Bar = *F.Bar;
    EXPECT_TRUE(Bar.GetFlatBorder());
    EXPECT_FALSE(Bar.GetCtl3D());
    EXPECT_EQ(Bar.GetBorderStyle(), bsSingle);
    EXPECT_EQ(Bar.GetColor(), clBtnShadow);
    EXPECT_EQ(Bar.GetVisibleGroup(), -1);
    EXPECT_EQ(Bar.GetGroupsFont()->GetName(), "MS Sans Serif");
    EXPECT_EQ(Bar.GetGroupsFont()->GetHeight(), -11);
    EXPECT_EQ(Bar.GetGroupsFont()->GetColor(), clWindowText);
    EXPECT_FALSE(Bar.GetCustomDrawGroupCaption());
    EXPECT_FALSE(Bar.GetCustomDrawGroup());
    EXPECT_TRUE(Bar.OnItemClick && Bar.OnGroupDeletion && Bar.OnGroupClick && Bar.OnEditedItem &&
                Bar.OnEditedGroup);
    EXPECT_FALSE(Bar.OnDrawGroup || Bar.OnDrawGroupCaption || Bar.OnGetGroupEditRect ||
                 Bar.OnGetItemEditRect || Bar.OnEditingGroup || Bar.OnEditingItem);

    EXPECT_EQ(F.LogoPanel->GetColor(), clWhite);
    EXPECT_EQ(F.LogoPanel->GetBorderStyle(), bsSingle);
    EXPECT_EQ(F.LogoPanel->GetBevelOuter(), bvNone);
    EXPECT_EQ(F.LogoPanel->GetBevelInner(), bvNone);
    EXPECT_TRUE(F.LogoImage->GetAutoSize());
    EXPECT_EQ(F.LogoImage->GetPicture()->GetWidth(), 218);
    EXPECT_EQ(F.LogoImage->GetPicture()->GetHeight(), 72);
    EXPECT_FALSE(F.WebLabel->GetCaption().empty());
    EXPECT_EQ(F.URLLabel->GetFont()->GetColor(), clBlue);
    EXPECT_EQ(F.URLLabel->GetFont()->GetStyle(), TFontStyles{fsUnderline});
    EXPECT_EQ(F.URLLabel->GetCursor(), crHandPoint);
    EXPECT_TRUE(F.URLLabel->OnClick);

    for (const TPanel* Panel : {F.GroupColorPanel, F.GroupStartColorPanel, F.GroupEndColorPanel,
                                F.GroupCaptionColorPanel}) {
        EXPECT_EQ(Panel->GetCursor(), crHandPoint) << Panel->GetName();
        EXPECT_TRUE(Panel->OnClick) << Panel->GetName();
    }
    EXPECT_EQ(F.OpenPictureDialog->GetTitle(), "Select picture");
}
