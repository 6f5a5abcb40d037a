// The bar editor dialog's buttons, colour panels and the working bar's
// events.

#include "design/FolioEditorFormUnit.h"

#include "folio/Folio.h"
#include "framework/ui/Button.h"
#include "framework/ui/Edit.h"
#include "framework/ui/GroupBox.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace folio {

namespace {

// Hands Url to the desktop's opener. The opener runs on its own; a thread
// waits for it so that it leaves no zombie, and a desktop without one
// simply opens nothing.
void OpenWithDesktop(const String& Url) {
    std::string Target = Url;
    char Program[] = "xdg-open";
    char* Args[] = {Program, Target.data(), nullptr};
    pid_t Child = 0;
    if (posix_spawnp(&Child, Program, nullptr, nullptr, Args, environ) != 0) return;
    std::thread([Child] {
        int Status = 0;
        waitpid(Child, &Status, 0);
    }).detach();
}

} // namespace

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
        OpenWithDesktop(WebAddress);
}

} // namespace folio
