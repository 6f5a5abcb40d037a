#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <functional>
#include <vector>

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
class TComponentTree : public folio::TCustomControl {
public:
    explicit TComponentTree(folio::TComponent* AOwner);

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

    static constexpr int LineHeight = 16;
    static constexpr int Indent = 12;

protected:
    void Paint() override;
    void MouseDown(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    void MouseMove(folio::TShiftState Shift, int X, int Y) override;
    void MouseUp(folio::TMouseButton Button, folio::TShiftState Shift, int X, int Y) override;
    bool DoMouseWheel(folio::TShiftState Shift, int WheelDelta, folio::TPoint MousePos) override;

private:
    void Drop(int Line);

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
};

} // namespace designer
