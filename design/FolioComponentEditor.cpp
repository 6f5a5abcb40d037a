#include "design/FolioComponentEditor.h"

#include "design/FolioEditGroups.h"
#include "folio/Folio.h"
#include "framework/core/Exceptions.h"
#include "framework/ui/forms/Designer.h"

namespace folio {

namespace {

// The menu lines, by whether the bar has groups.
const char* const VerbsWithoutGroups[] = {"Edit groups...", "-", "Add Group"};
const char* const VerbsWithGroups[] = {"Edit groups...", "-", "Select Group", "Add Group",
                                       "Delete Group"};

enum class TVerb { Edit, Separator, SelectGroup, AddGroup, DeleteGroup, None };

TVerb VerbAt(bool HasGroups, int Index) {
    if (Index == 0) return TVerb::Edit;
    if (Index == 1) return TVerb::Separator;
    if (!HasGroups) return Index == 2 ? TVerb::AddGroup : TVerb::None;
    switch (Index) {
    case 2:
        return TVerb::SelectGroup;
    case 3:
        return TVerb::AddGroup;
    case 4:
        return TVerb::DeleteGroup;
    default:
        return TVerb::None;
    }
}

} // namespace

TFolio& TFolioComponentEditor::Bar() const {
    auto* Bar = dynamic_cast<TFolio*>(GetComponent());
    if (!Bar)
        throw EInvalidCast(
            "The bar's component editor was given " +
            (GetComponent() ? "a " + GetComponent()->ClassName() : String("nothing")) +
            " instead of a TFolio");
    return *Bar;
}

void TFolioComponentEditor::Edit() {
    EditFolioGroups(Bar(), GetDesigner());
}

int TFolioComponentEditor::GetVerbCount() {
    return Bar().GetGroups()->GetCount() > 0 ? 5 : 3;
}

String TFolioComponentEditor::GetVerb(int Index) {
    if (Index < 0 || Index >= GetVerbCount()) return String();
    return Bar().GetGroups()->GetCount() > 0 ? VerbsWithGroups[Index] : VerbsWithoutGroups[Index];
}

void TFolioComponentEditor::ExecuteVerb(int Index) {
    TFolio& B = Bar();
    TFolioGroups* Groups = B.GetGroups();
    switch (VerbAt(Groups->GetCount() > 0, Index)) {
    case TVerb::Edit:
        Edit();
        break;
    case TVerb::SelectGroup: {
        // An open index that names no group raises here, before the
        // designer hears anything.
        TFolioGroup* Group = Groups->GetGroup(B.GetVisibleGroup());
        if (GetDesigner()) GetDesigner()->SelectComponent(Group);
        break;
    }
    case TVerb::AddGroup:
        Groups->Add("New Group");
        break;
    case TVerb::DeleteGroup:
        if (TFolioGroup* Group = B.GetVisibleGroupObject()) Group->Delete();
        break;
    case TVerb::Separator:
    case TVerb::None:
        break;
    }
    // Whatever the verb was, the form counts as changed.
    if (GetDesigner()) GetDesigner()->Modified();
}

} // namespace folio
