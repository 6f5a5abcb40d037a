#include "design/FolioPropertyEditors.h"

#include "design/FolioEditGroups.h"
#include "folio/Folio.h"
#include "framework/core/Exceptions.h"

namespace folio {

TFolio& EditedBar(const TPropertyEditor& Editor) {
    TPersistent* First = Editor.GetComponent(0);
    auto* Bar = dynamic_cast<TFolio*>(First);
    if (!Bar)
        throw EInvalidCast("The editor of " + Editor.GetPropInfo().Name +
                           " edits a TFolio, not a " + First->ClassName());
    return *Bar;
}

// --- VisibleGroupObject ------------------------------------------------------------------

TPropertyAttributes TFolioVisibleGroupPropEditor::GetAttributes() {
    return {paValueList, paReadOnly, paRevertable};
}

String TFolioVisibleGroupPropEditor::GetValue() {
    const TFolioGroup* Group = EditedBar(*this).GetVisibleGroupObject();
    return Group ? Group->GetCaption() : "None";
}

void TFolioVisibleGroupPropEditor::GetValues(const TGetStrProc& Proc) {
    const TFolioGroups* Groups = EditedBar(*this).GetGroups();
    for (int I = 0; I < Groups->GetCount(); ++I) Proc(Groups->GetGroup(I)->GetCaption());
}

void TFolioVisibleGroupPropEditor::SetValue(const String& Value) {
    const TFolioGroups* Groups = EditedBar(*this).GetGroups();
    for (int I = 0; I < Groups->GetCount(); ++I) {
        TFolioGroup* Group = Groups->GetGroup(I);
        if (Group->GetCaption() == Value) {
            Group->SetVisible(true);
            return;
        }
    }
}

// --- Groups ------------------------------------------------------------------------------

TPropertyAttributes TFolioGroupsPropEditor::GetAttributes() {
    return {paDialog, paReadOnly};
}

String TFolioGroupsPropEditor::GetValue() {
    return "TFolioGroups";
}

void TFolioGroupsPropEditor::Edit() {
    EditFolioGroups(EditedBar(*this), GetDesigner());
}

} // namespace folio
