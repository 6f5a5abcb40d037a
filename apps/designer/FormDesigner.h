#pragma once

#include "AlignCommands.h"
#include "DesignedForm.h"
#include "GrabHandles.h"
#include "GuideLines.h"
#include "UndoStack.h"

#include "framework/design/ComponentEditor.h"
#include "framework/ui/forms/Designer.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace designer {

using folio::TComponent;
using folio::TControl;
using folio::TPersistent;
using folio::TPoint;
using folio::TWinControl;

// The designer of one form: it holds the form being designed, the
// selection with its handles, the component chosen on the palette, the
// undo steps and the file the form came from. Mouse and key input on the
// designed form comes here first (IsDesignMsg): a press selects, a drag
// moves, the arrows move or (with Shift) size, Delete deletes, a double
// click runs the component editor's Edit, a right click asks for the
// component editor's verbs. Every change goes through Modified, which makes
// it an undo step and marks the form modified.
class TSelectionWatch;

class TFormDesigner : public folio::IDesigner {
public:
    TFormDesigner();
    ~TFormDesigner() override;
    TFormDesigner(const TFormDesigner&) = delete;
    TFormDesigner& operator=(const TFormDesigner&) = delete;

    // --- the form and its file ---
    void NewForm();
    // Opens a text or binary form file; on failure the form shown stays.
    void Open(const String& FileName);
    // Saves to the file the form came from (or was last saved as); raises
    // EInvalidOperation for a new form that has no file yet.
    void Save();
    void SaveAs(const String& FileName, folio::TFormEncoding Encoding = folio::feText);
    // Writes the form as a text form file to FileName, leaving the form's
    // own file and its modified mark alone (a recovery copy).
    void WriteCopy(const String& FileName) const;
    // Shows the form a recovery copy at Path holds in place of this one,
    // keeping the form's file name: it is the file's form with unsaved
    // changes, and its modified mark says so.
    void OpenRecovery(const String& Path);
    folio::TForm* GetForm() const { return FDesigned.Form.get(); }
    const String& GetRootClassName() const { return FDesigned.RootClassName; }
    const String& GetFileName() const { return FFileName; }
    // How the file was read or last written; Save keeps it.
    folio::TFormEncoding GetEncoding() const { return FEncoding; }
    bool GetModified() const { return FModified; }
    // "Form1.form *": the file's name (or the form's for a new one), with
    // the mark while there are unsaved changes.
    String GetTitle() const;
    // The file's name (or the form's for a new one) without the mark, as a
    // question about the form names it.
    String GetDocumentName() const;

    // --- selection ---
    // The selection's current object: the one the handles are on, the
    // last one clicked in a selection of several.
    TPersistent* GetSelection() const { return FSelection; }
    // Everything selected, in the order it was chosen. Several are always
    // components of the form, never the form itself.
    const std::vector<TPersistent*>& GetSelectionList() const { return FSelected; }
    bool IsSelected(const TPersistent* Instance) const;
    // Selects Instance alone.
    void Select(TPersistent* Instance);
    // Selects Instances (components of the form, not the form; the others
    // are left out), Current among them the current one; none selects the
    // form.
    void SelectList(const std::vector<TPersistent*>& Instances, TPersistent* Current = nullptr);
    // Shift or Ctrl and a click: Instance joins the selection, or leaves
    // it when it was in it.
    void ToggleSelection(TPersistent* Instance);
    // The components of the selection, leaving out those inside another
    // selected one (they go wherever it goes).
    std::vector<TComponent*> SelectedTops() const;
    const TGrabHandles& GetHandles() const { return *FHandles; }
    const TSelectionMarks& GetMarks() const { return *FMarks; }
    // The band dragged over the form's empty area, in the form's client
    // coordinates; empty when none is being dragged.
    TRect GetBandRect() const;

    // --- changes ---
    // The class the next press on the form drops; null selects instead.
    void SetPaletteClass(const folio::TClassInfo* Class) { FPaletteClass = Class; }
    const folio::TClassInfo* GetPaletteClass() const { return FPaletteClass; }
    // Makes a component of Class on the form, named uniquely, at Pos in
    // Parent's client coordinates (snapped to the grid), and selects it.
    TComponent* DropComponent(const folio::TClassInfo& Class, TWinControl* Parent, TPoint Pos);
    // Tab and Shift+Tab: selects the form's next (or previous) component,
    // round from the last to the first.
    void SelectNextComponent(bool Forward);
    // Deletes the selected components (never the form itself) as one change.
    void DeleteSelection();
    // Moves or sizes the selected controls by the given pixels, as one change.
    void MoveSelection(int DX, int DY);
    void SizeSelection(int DW, int DH);
    // Lines up or sizes the selected controls that share the current
    // one's parent on the current one (or spaces them evenly), as one
    // change. Fewer than two such controls change nothing.
    void AlignSelection(TAlignCommand Command);
    // Whether Parent may take Control as a child: a control of the form
    // (or the form) that holds children and is neither Control nor inside it.
    bool CanHold(const TWinControl* Parent, const TControl* Control) const;
    // Makes Controls children of NewParent, each where it was on the
    // screen (kept inside NewParent, on the grid), as one change. Raises
    // EInvalidOperation, changing nothing, when NewParent cannot hold one
    // of them.
    void Reparent(const std::vector<TControl*>& Controls, TWinControl* NewParent);
    // The innermost container of the form under a screen point, looking
    // through the controls being dragged; the form when no other is there.
    TWinControl* ContainerAt(TPoint ScreenPos) const;
    // Puts the selected controls above (or below) their siblings. The form
    // file keeps the order, since its components are read in the order in
    // which they stand.
    void BringSelectionToFront();
    void SendSelectionToBack();
    int GetGridSize() const { return FGridSize; }
    void SetGridSize(int Value) { FGridSize = Value < 1 ? 1 : Value; }
    // Guides: a moving or sizing control lines up with its neighbours' and
    // its parent's edges and centres within GuideReach pixels, before the
    // grid, and the lines it lines up on show while the button is down.
    bool GetSnapToGuides() const { return FSnapToGuides; }
    void SetSnapToGuides(bool Value) { FSnapToGuides = Value; }
    static constexpr int GuideReach = 4;
    const TGuideLines& GetGuideLines() const { return *FGuides; }
    // The position or size of what is being dragged, beside the pointer.
    const TPositionHint& GetPositionHint() const { return *FHint; }
    bool GetSnapToGrid() const { return FSnapToGrid; }
    void SetSnapToGrid(bool Value) { FSnapToGrid = Value; }
    // The grid's points on the form's face, a dot every GridSize pixels.
    bool GetShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool Value);
    int Snap(int Value) const;

    // --- the clipboard ---
    // The selected components (not the form) as text form blocks, one
    // after the other.
    void CopySelection();
    // Copies, then deletes, as one change.
    void CutSelection();
    // Pastes the clipboard's component blocks into the selected control if
    // it takes children, else beside the selection, and selects them, as
    // one change. Text that is not component blocks, or names a class the
    // designer cannot make, raises EFormError and changes nothing.
    void Paste();

    bool CanUndo() const { return FUndo.CanUndo(); }
    bool CanRedo() const { return FUndo.CanRedo(); }
    std::size_t UndoCount() const { return FUndo.Count(); }
    std::size_t RedoCount() const { return FUndo.RedoCount(); }
    const TUndoStack& History() const { return FUndo; }
    // Puts the form back as it was before the last change, with what was
    // selected then; Redo makes the undone change again, with what was
    // selected after it. A new change drops the changes that could be
    // redone. Saving keeps both; ClearHistory forgets them.
    void Undo();
    void Redo();
    void ClearHistory();

    // --- component editors ---
    std::unique_ptr<folio::TComponentEditor> GetComponentEditor(TComponent* Component);
    // Runs the verb of the selected component's editor that reads Verb;
    // raises EInvalidOperation when it has none.
    void ExecuteVerb(const String& Verb);
    // The double click: the component editor's Edit.
    void EditComponent(TComponent* Component);

    // Several changes made as one step (one undo, one Modified to hear).
    void BeginChange();
    void EndChange();

    // Told after anything that changes what the designer shows.
    std::function<void()> OnSelectionChanged;
    std::function<void()> OnChanged;
    std::function<void()> OnTitleChanged;
    // Told at each step of a drag that moves or sizes the selection, before
    // the change is made at the release: the inspector shows the bounds live.
    std::function<void()> OnSelectionMoved;
    // A Ctrl chord the designer has no use for (Ctrl+S): true when the host
    // took it.
    std::function<bool(unsigned short Key, folio::TShiftState Shift)> OnCommandKey;
    // What went wrong in a command given by a key or a menu (a paste of
    // text that is no component), for the host to tell the user. Without
    // it the command raises.
    std::function<void(const String& Message)> OnError;
    // A right click on Component at a screen point: the host shows its verbs.
    std::function<void(TComponent* Component, TPoint ScreenPos)> OnContextMenu;

    // --- IDesigner ---
    void Modified() override;
    void SelectComponent(TPersistent* Instance) override;
    TComponent* GetRoot() const override { return FDesigned.Form.get(); }
    bool IsDesignMsg(TControl* Sender, folio::TMessage& Message) override;
    void PaintGrid() override;

private:
    void ReplaceForm(TDesignedForm Designed);
    // Drops the selection, its marks and any drag, before the form's
    // components go.
    void ForgetSelection();
    // Makes the form designed the one a snapshot holds.
    void ShowSnapshot(const String& Snapshot);
    void SetModifiedFlag(bool Value);
    void RecordChange();
    TSelectionNames SelectionNames() const;
    void SelectNames(const TSelectionNames& Names);
    void ShowHistoryStep(const String& State, const TSelectionNames& Selection);
    bool MouseMessage(TControl* Sender, folio::TMessage& Message);
    bool KeyMessage(folio::TMessage& Message);
    // Adding: Shift or Ctrl was held, so the press adds to the selection.
    void PressOn(TControl* Sender, TPoint ClientPos, bool Adding);
    void DragTo(TPoint ScreenPos);
    void ApplyBounds(TControl* Control, const TRect& Bounds);
    TControl* SelectedControl() const;
    void ApplySelection(std::vector<TPersistent*> Selected, TPersistent* Current);
    void SelectionGone(TComponent* Gone);
    std::vector<TControl*> SelectedControls() const;
    void UpdateMarks();
    // The bounds of Control's siblings on the form that do not move with it.
    std::vector<TRect> Neighbours(const TControl* Control) const;
    void HideDragFeedback();
    void ResizeTo(const TRect& Bounds, bool Final);
    void BandTo(TPoint FormPos);
    void EndBand(TPoint FormPos);
    void ShowForm();

    TDesignedForm FDesigned;
    String FFileName;
    folio::TFormEncoding FEncoding = folio::feText;
    bool FModified = false;
    String FSaved; // the form as its file holds it
    TPersistent* FSelection = nullptr;
    std::vector<TPersistent*> FSelected;
    std::unique_ptr<TGrabHandles> FHandles;
    std::unique_ptr<TSelectionMarks> FMarks;
    std::unique_ptr<TRubberBand> FBand;
    std::unique_ptr<TGuideLines> FGuides;
    std::unique_ptr<TPositionHint> FHint;
    bool FSnapToGuides = true;
    // Where the control being sized by a handle was when the handle drag began.
    std::optional<TRect> FResizeStart;
    std::unique_ptr<TSelectionWatch> FWatch;
    const folio::TClassInfo* FPaletteClass = nullptr;
    int FGridSize = 8;
    bool FSnapToGrid = true;
    bool FShowGrid = true;
    TUndoStack FUndo;
    String FCurrent; // the form as it is, the next undo step's content
    // What was selected when the form was last as FCurrent holds it: the
    // selection an undo of the next change gives back.
    TSelectionNames FSelectionBefore;
    int FChangeDepth = 0;
    bool FChangePending = false;
    // A drag of the selected controls with the mouse: the one pressed, and
    // where each was when the drag began.
    TControl* FDragControl = nullptr;
    TPoint FDragStart;
    TRect FDragBounds;
    std::vector<std::pair<TControl*, TRect>> FDragStarts;
    bool FDragMoved = false;
    // A band dragged over the form's empty area: where it began, where the
    // pointer is, and whether it adds to the selection (Shift or Ctrl).
    bool FBanding = false;
    bool FBandAdds = false;
    TPoint FBandStart;
    TPoint FBandEnd;
    // A double click's editor, run when its button is released.
    TControl* FEditOnRelease = nullptr;
};

} // namespace designer
