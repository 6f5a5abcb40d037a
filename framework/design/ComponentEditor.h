#pragma once

#include "framework/core/Types.h"

namespace folio {

class TComponent;
class IDesigner;

/// What a form designer does with a component besides its properties: the
/// commands ("verbs") it adds to the component's context menu, what a
/// double-click does, and what goes to the clipboard when it is copied.
/// Editors are made for one component and one designer when the designer
/// needs them, and freed afterwards; they keep no state between calls.
///
/// The base editor has no verbs; it is what components without an editor
/// of their own get.
class TComponentEditor {
public:
    /// An editor of AComponent in ADesigner; either may be null (Copy then
    /// does nothing without a component).
    TComponentEditor(TComponent* AComponent, IDesigner* ADesigner);
    /// Leaves the component as it is.
    virtual ~TComponentEditor();
    TComponentEditor(const TComponentEditor&) = delete;
    TComponentEditor& operator=(const TComponentEditor&) = delete;

    /// The component edited.
    TComponent* GetComponent() const { return FComponent; }
    /// The designer to tell of changes (IDesigner::Modified).
    IDesigner* GetDesigner() const { return FDesigner; }

    /// What a double-click on the component does: the first verb, when
    /// there is one.
    virtual void Edit();
    /// Runs verb Index of the context menu (0 to GetVerbCount() - 1).
    virtual void ExecuteVerb(int Index);
    /// The menu text of verb Index; "-" is a separator line. Empty for an
    /// index that is not a verb.
    virtual String GetVerb(int Index);
    /// How many verbs the context menu offers; 0 for the base editor.
    virtual int GetVerbCount();
    /// Puts the component on the clipboard as a text form file, which a
    /// designer pastes by reading it. An editor may put more there.
    virtual void Copy();

private:
    TComponent* FComponent;
    IDesigner* FDesigner;
};

} // namespace folio
