#pragma once

#include "DesignedForm.h"
#include "GrabHandles.h"
#include "UndoStack.h"

#include "framework/design/ComponentEditor.h"
#include "framework/ui/Designer.h"

#include <functional>
#include <memory>

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
    TPersistent* GetSelection() const { return FSelection; }
    void Select(TPersistent* Instance);
    const TGrabHandles& GetHandles() const { return *FHandles; }

    // --- changes ---
    // The class the next press on the form drops; null selects instead.
    void SetPaletteClass(const folio::TClassInfo* Class) { FPaletteClass = Class; }
    const folio::TClassInfo* GetPaletteClass() const { return FPaletteClass; }
    // Makes a component of Class on the form, named uniquely, at Pos in
    // Parent's client coordinates (snapped to the grid), and selects it.
    TComponent* DropComponent(const folio::TClassInfo& Class, TWinControl* Parent, TPoint Pos);
    // Deletes the selected component (never the form itself).
    void DeleteSelection();
    // Moves or sizes the selected control by the given pixels.
    void MoveSelection(int DX, int DY);
    void SizeSelection(int DW, int DH);
    int GetGridSize() const { return FGridSize; }
    void SetGridSize(int Value) { FGridSize = Value < 1 ? 1 : Value; }
    bool GetSnapToGrid() const { return FSnapToGrid; }
    void SetSnapToGrid(bool Value) { FSnapToGrid = Value; }
    int Snap(int Value) const;

    // --- the clipboard ---
    // The selected component (not the form) as a text form block.
    void CopySelection();
    // Copies, then deletes, as one change.
    void CutSelection();
    // Pastes the clipboard's component block into the selected control if
    // it takes children, else beside the selection, and selects it. Text
    // that is no component block raises EFormError and changes nothing.
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
    // A Ctrl chord the designer has no use for (Ctrl+S): true when the host
    // took it.
    std::function<bool(unsigned short Key, folio::TShiftState Shift)> OnCommandKey;
    // A right click on Component at a screen point: the host shows its verbs.
    std::function<void(TComponent* Component, TPoint ScreenPos)> OnContextMenu;

    // --- IDesigner ---
    void Modified() override;
    void SelectComponent(TPersistent* Instance) override;
    TComponent* GetRoot() const override { return FDesigned.Form.get(); }
    bool IsDesignMsg(TControl* Sender, folio::TMessage& Message) override;

private:
    void ReplaceForm(TDesignedForm Designed);
    // Shows the form a snapshot holds in place of the one designed.
    void ShowSnapshot(const String& Snapshot);
    void SetModifiedFlag(bool Value);
    void RecordChange();
    TSelectionNames SelectionNames() const;
    void SelectNames(const TSelectionNames& Names);
    void ShowHistoryStep(const String& State, const TSelectionNames& Selection);
    bool MouseMessage(TControl* Sender, folio::TMessage& Message);
    bool KeyMessage(folio::TMessage& Message);
    void PressOn(TControl* Sender, TPoint ClientPos);
    void DragTo(TPoint ScreenPos);
    void ApplyBounds(TControl* Control, const TRect& Bounds);
    TControl* SelectedControl() const;
    void ShowForm();

    TDesignedForm FDesigned;
    String FFileName;
    folio::TFormEncoding FEncoding = folio::feText;
    bool FModified = false;
    String FSaved; // the form as its file holds it
    TPersistent* FSelection = nullptr;
    std::unique_ptr<TGrabHandles> FHandles;
    std::unique_ptr<TSelectionWatch> FWatch;
    const folio::TClassInfo* FPaletteClass = nullptr;
    int FGridSize = 8;
    bool FSnapToGrid = true;
    TUndoStack FUndo;
    String FCurrent; // the form as it is, the next undo step's content
    // What was selected when the form was last as FCurrent holds it: the
    // selection an undo of the next change gives back.
    TSelectionNames FSelectionBefore;
    int FChangeDepth = 0;
    bool FChangePending = false;
    // A drag of the selected control with the mouse.
    TControl* FDragControl = nullptr;
    TPoint FDragStart;
    TRect FDragBounds;
    bool FDragMoved = false;
    // A double click's editor, run when its button is released.
    TControl* FEditOnRelease = nullptr;
};

} // namespace designer
