#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <functional>
#include <memory>
#include <vector>

namespace folio {
class TInplaceEdit;
}

namespace designer {

using folio::String;
using folio::TRect;

class TFormDesigner;

// The designed form's components as a tree: the form, its controls nested
// by parent in the order they stand, then the components that are no
// controls. The designer's selection shows highlighted, and a click selects
// (Shift or Ctrl adds or takes out, as on the form). Dragging a control's
// line onto a container's line (the form, a panel, a group box, a page)
// makes it that container's child, one change; onto a control that holds
// no children it is refused and the designer says why.
//
// With the keys (a click or Tab gives them) it is walked as a tree: Up and
// Down select the line above or below, Home and End the first and last,
// Page Up and Page Down a page further, Left the container the line stands
// in and Right its first child; with Shift the lines passed over join the
// selection. Delete deletes the selection and F2 renames the line's
// component in place (Enter keeps the name, Escape drops it).
class TComponentTree : public folio::TCustomControl {
    FOLIO_CLASS(TComponentTree)
public:
    explicit TComponentTree(folio::TComponent* AOwner);
    ~TComponentTree() override;

    void SetDesigner(TFormDesigner* Designer);
    // Reads the form again (its components changed).
    void Rebuild();
    // Shows the designer's selection again (it changed, the lines did not).
    void SelectionChanged();

    struct TLine {
        folio::TComponent* Component = nullptr;
        int Depth = 0;
    };
    const std::vector<TLine>& Lines() const { return FLines; }
    // "Button1: TButton", indented by its depth.
    String LineText(int Index) const;
    int FindLine(const String& Name) const;
    bool IsHighlighted(int Index) const;

    // Geometry, in client coordinates.
    TRect LineRect(int Index) const;
    int LineAt(int Y) const;
    int GetTopLine() const { return FTop; }
    void SetTopLine(int Value);
    int VisibleLines() const;
    void ScrollIntoView(int Index);
    // The line a drag would drop onto, or -1 while no drag is on.
    int GetDropLine() const { return FDragging ? FDropLine : -1; }
    // The line of the designer's current selection, or -1.
    int CurrentLine() const;
    // Selects the component of line Index alone, as a click on it does.
    void SelectLine(int Index);

    // Renames the current line's component in an edit box over its name.
    void StartRename();
    bool IsRenaming() const;
    folio::TInplaceEdit& RenameBox() { return *FEditor; }

    static constexpr int LineHeight = 16;
    static constexpr int Indent = 12;

protected:
    void Paint() override;
    void MouseDown(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    void MouseMove(folio::TShiftState Shift, int X, int Y) override;
    void MouseUp(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(folio::TShiftState Shift, int WheelDelta, folio::TPoint MousePos) override;
    void KeyDown(unsigned short& Key, folio::TShiftState Shift) override;
    void Dispatch(folio::TMessage& Message) override;
    // A component freed while its name is being edited (an undo or a new
    // form replaced it) ends the edit with nothing to rename.
    void Notification(folio::TComponent* AComponent, folio::TOperation Operation) override;

private:
    void Drop(int Line);
    // Selects line To alone, or with Extend the lines from the current one
    // to To join the selection.
    void GoTo(int To, bool Extend);
    // The line of the container line Index stands in.
    int ContainerLine(int Index) const;
    void Renamed(bool Accept, const String& Name);

    TFormDesigner* FDesigner = nullptr;
    std::vector<TLine> FLines;
    int FTop = 0;
    // A press on a line, and whether it became a drag.
    int FPressLine = -1;
    int FPressY = 0;
    bool FDragging = false;
    int FDropLine = -1;
    // The press was on a line of a selection of several.
    bool FSelectOnRelease = false;
    std::unique_ptr<folio::TInplaceEdit> FEditor;
    folio::TComponent* FRenaming = nullptr;
};

} // namespace designer
