#pragma once

#include "framework/core/Types.h"

#include <cstddef>
#include <vector>

namespace designer {

using folio::String;

// The components selected at one moment, by name (the form's own name for
// the form), so that a selection can be found again in a form rebuilt from
// a snapshot.
using TSelectionNames = std::vector<String>;

// The bytes that turn one text into another: keep the first Prefix bytes
// and the last Suffix bytes, and put Middle between them. A change in the
// designer touches a few lines of a form's text, so a step costs about
// what it changed, not what the form holds.
struct TTextPatch {
    std::size_t Prefix = 0;
    std::size_t Suffix = 0;
    String Middle;

    // The patch that makes To from From.
    static TTextPatch Between(const String& From, const String& To);
    String ApplyTo(const String& From) const;
    std::size_t ByteSize() const { return sizeof(TTextPatch) + Middle.capacity(); }
};

// One undo or redo step: how to get to the form of that step from the form
// shown, and what was selected before and after the change it is, so that
// undo and redo each give back the selection of their moment.
struct TUndoStep {
    TTextPatch Patch;
    TSelectionNames Before;
    TSelectionNames After;
};

// The designer's undo and redo history of whole-form snapshots, held as
// patches against the form shown, so that it has no limit of its own: ten
// thousand moves of one control take well under a megabyte. A new change
// drops the steps that could be redone.
class TUndoStack {
public:
    // A change took the form from Before (with BeforeSelection) to After
    // (with AfterSelection).
    void Record(const String& Before, const TSelectionNames& BeforeSelection, const String& After,
                const TSelectionNames& AfterSelection);
    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    // Steps back from the form Current and answers the earlier form;
    // Selection receives what was selected before the change undone. Redo
    // answers the form after the change and what was selected after it.
    // Without a step either answers Current and leaves Selection alone.
    String Undo(const String& Current, TSelectionNames& Selection);
    String Redo(const String& Current, TSelectionNames& Selection);
    // The form shown is Now where the steps expected Was (a form rebuilt
    // from Was writes itself a little differently): the next undo and redo
    // steps start from Now instead.
    void Rebase(const String& Was, const String& Now);
    void Clear();
    std::size_t Count() const { return FUndo.size(); }
    std::size_t RedoCount() const { return FRedo.size(); }
    // The memory the history holds, for its budget.
    std::size_t ByteSize() const;

private:
    static String Step(std::vector<TUndoStep>& From, std::vector<TUndoStep>& To,
                       const String& Current, TSelectionNames& Selection, bool Undoing);

    std::vector<TUndoStep> FUndo;
    std::vector<TUndoStep> FRedo;
};

} // namespace designer
