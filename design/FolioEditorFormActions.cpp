// The bar editor dialog's buttons, colour panels and the working bar's
// events.

#include "design/FolioEditorFormUnit.h"

#include "folio/Folio.h"
#include "framework/core/Shell.h"
#include "framework/gfx/Bitmap.h"
#include "framework/ui/dialogs/ColorDialog.h"
#include "framework/ui/dialogs/OpenPictureDialog.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/GroupBox.h"
#include "framework/ui/stdctrls/Panel.h"

namespace folio {

// --- Groups ------------------------------------------------------------------------------

void TFolioEditorForm::NewGroupButtonClick(TObject*) {
    Bar->EditNewGroup("New");
    SetModified();
}

void TFolioEditorForm::DeleteGroupButtonClick(TObject*) {
    if (TFolioGroup* Group = Bar->GetVisibleGroupObject()) Group->Delete();
    SetModified();
    SetGroup(Bar->GetVisibleGroupObject());
}

void TFolioEditorForm::GroupNameButtonClick(TObject*) {
    if (TFolioGroup* Group = Bar->GetVisibleGroupObject()) Group->Edit();
}

// --- Colours and pictures ------------------------------------------------------------

void TFolioEditorForm::ChooseColor(TPanel* Panel) {
    ColorDialog->SetColor(Panel->GetColor());
    if (!ColorDialog->Execute()) return;
    Panel->SetColor(ColorDialog->GetColor());
    GroupChange(Panel);
}

void TFolioEditorForm::GroupColorPanelClick(TObject*) {
    ChooseColor(GroupColorPanel);
}

void TFolioEditorForm::GroupStartColorPanelClick(TObject*) {
    ChooseColor(GroupStartColorPanel);
}

void TFolioEditorForm::GroupEndColorPanelClick(TObject*) {
    ChooseColor(GroupEndColorPanel);
}

void TFolioEditorForm::GroupCaptionColorPanelClick(TObject*) {
    ChooseColor(GroupCaptionColorPanel);
}

// A file that cannot be read raises before anything changed: the group
// keeps its picture and Apply stays as it was.
void TFolioEditorForm::GroupSetPictureButtonClick(TObject*) {
    if (!OpenPictureDialog->Execute() || !FCurrentGroup) return;
    FCurrentGroup->GetBitmap()->LoadFromFile(OpenPictureDialog->GetFileName());
    Bar->Invalidate();
    SetModified();
}

void TFolioEditorForm::GroupClearPictureButtonClick(TObject*) {
    if (!FCurrentGroup) return;
    FCurrentGroup->GetBitmap()->Assign(nullptr);
    Bar->Invalidate();
    SetModified();
}

// --- Items -------------------------------------------------------------------------------

void TFolioEditorForm::AddItemButtonClick(TObject*) {
    TFolioGroup* Group = Bar->GetVisibleGroupObject();
    if (!Group) return;
    // The new item counts as a change only once it is named; OK copies it
    // back all the same.
    Group->GetItems()->Add("New", -1)->Edit();
}

void TFolioEditorForm::DeleteItemButtonClick(TObject*) {
    if (!FCurrentItem) return;
    FCurrentItem->Delete();
    SetModified();
    SetItem(nullptr);
}

void TFolioEditorForm::ItemEditTextButtonClick(TObject*) {
    if (FCurrentItem) FCurrentItem->Edit();
    SetItem(nullptr);
}

// --- The working bar ---------------------------------------------------------------------

void TFolioEditorForm::BarGroupClick(TObject*, TFolioGroup* Group) {
    SetGroup(Group);
}

void TFolioEditorForm::BarItemClick(TObject*, TFolioItem* Item) {
    SetItem(Item);
}

void TFolioEditorForm::BarGroupDeletion(TObject*, TFolioGroup* Group) {
    // The boxes must not keep showing (and writing into) a group that is
    // going away; the handler that deleted it fills them again.
    if (Group == FCurrentGroup) {
        FCurrentGroup = nullptr;
        FCurrentItem = nullptr;
    }
    SetModified();
}

void TFolioEditorForm::BarItemDeletion(TObject*, TFolioItem* Item) {
    if (Item == FCurrentItem) SetItem(nullptr);
}

// The bar takes the new caption only after its edited events, so the
// boxes show the new text at once: a caption edit still showing the old
// one would write it back with the next change of any other field.
void TFolioEditorForm::BarEditedGroup(TObject*, TFolioGroup* Group, String& NewText) {
    SetModified();
    SetGroup(Group);
    if (!Group) return;
    FGroupLoading = true;
    GroupTextEdit->SetText(NewText);
    ItemsGroupBox->SetCaption(" Items in group <" + NewText + ">");
    FGroupLoading = false;
    // The boxes now show the group just named, and "Add item" and "Delete
    // group" act on the working bar's open group: a new group opens as soon
    // as it has its name, or they would act on another group than the one
    // shown. (The bar has let go of its editor by now.)
    if (Bar->GetVisibleGroupObject() != Group) Bar->SetVisibleGroupObject(Group);
}

void TFolioEditorForm::BarEditedItem(TObject*, TFolioItem* Item, String& NewText) {
    SetModified();
    if (Item != FCurrentItem) return;
    FItemLoading = true;
    ItemTextEdit->SetText(NewText);
    FItemLoading = false;
}

void TFolioEditorForm::URLLabelClick(TObject*) {
    if (OpenUrl)
        OpenUrl(WebAddress);
    else
        ShellExecute("open", WebAddress);
}

} // namespace folio
