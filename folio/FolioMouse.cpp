#include "folio/Folio.h"

#include "framework/ui/app/Application.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/Mouse.h"

#include <cstdlib>

namespace folio {

namespace {

// The pointer over a hidden scroll button's place hovers no item either.
bool InButtonPlace(const TFolioGroup& Group, TPoint P) {
    return Group.GetPrevButtonPlace().Contains(P) || Group.GetNextButtonPlace().Contains(P);
}

// The group's current index, -1 once it is gone. Event handlers may delete
// or move groups, so an index or pointer taken before an event is checked
// against the collection after it.
int IndexOfGroup(const TFolioGroups& Groups, const TFolioGroup* Group) {
    for (int I = 0; I < Groups.GetCount(); ++I)
        if (Groups.GetGroup(I) == Group) return I;
    return -1;
}

} // namespace

void TFolio::InvalidateNoErase(const TRect& R) {
    // Press feedback repaints only the rectangle concerned, over what is
    // there, so the rest of the bar does not flicker.
    if (HandleAllocated()) InvalidateRect(R, false);
}

void TFolio::UpdateHoverCursor() {
    TCustomControl::SetCursor(FHoverGroup != -1 ? crHandPoint : FCursor);
}

void TFolio::HoverCaptionAt(int X, int Y) {
    FHoverGroup = GetOnGroup(X, Y);
    UpdateHoverCursor();
}

void TFolio::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    // Any press accepts an open edit, whichever button and even mid-switch.
    HideEditor(true);
    if (FSwitching || Button != mbLeft) return;
    FocusUnderPointer(X, Y);

    const int G = GetOnGroup(X, Y);
    FHoverGroup = G;
    if (G != -1) {
        TFolioGroup* Group = FGroups->GetGroup(G);
        bool Allow = true;
        if (OnGroupCanClick) OnGroupCanClick(this, Group, Allow);
        if (!Allow) return;
        // A handler that deleted the group leaves nothing to press.
        const int Index = IndexOfGroup(*FGroups, Group);
        if (Index == -1) return;
        FPressedGroup = Index;
        Press(FGroupPressed, FGroupPressInside, Group->GetCaptionRect());
        return;
    }

    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open) return;
    const TPoint P = Point(X, Y);
    if (Open->GetPrevButtonVisible() && Open->GetPrevButtonRect().Contains(P)) {
        PressScrollButton(*Open, false);
        return;
    }
    if (Open->GetNextButtonVisible() && Open->GetNextButtonRect().Contains(P)) {
        PressScrollButton(*Open, true);
        return;
    }
    if (FHoverItem != -1 && FHoverItem < Open->GetItems()->GetCount()) {
        FPressedItem = Open->GetItems()->GetItem(FHoverItem);
        Press(FItemPressed, FItemPressInside, FPressedItem->GetClientRect());
        FPressPoint = P;
    }
}

void TFolio::Press(bool& Pressed, bool& Inside, const TRect& R) {
    Pressed = true;
    Inside = true;
    InvalidateNoErase(R);
}

void TFolio::TrackPress(bool& Inside, bool Now, const TRect& R) {
    if (Now == Inside) return;
    Inside = Now;
    InvalidateNoErase(R);
}

void TFolio::PressScrollButton(TFolioGroup& Open, bool Next) {
    if (Next) {
        Press(FNextPressed, FNextPressInside, Open.GetNextButtonRect());
        // The first step happens at the press; the timer repeats it.
        Open.ClickNextButton();
    } else {
        Press(FPrevPressed, FPrevPressInside, Open.GetPrevButtonRect());
        Open.ClickPrevButton();
    }
    FRepeatTimer = SetTimer(GetHandle(), FolioRepeatTimerId, FButtonClickDelay);
}

void TFolio::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TFolioGroup* Open = GetVisibleGroupObject();
    if (FSwitching || FEditing || !Open) return;
    const TPoint P = Point(X, Y);

    if (FPrevPressed) {
        const TRect R = Open->GetPrevButtonRect();
        TrackPress(FPrevPressInside, R.Contains(P), R);
        return;
    }
    if (FNextPressed) {
        const TRect R = Open->GetNextButtonRect();
        TrackPress(FNextPressInside, R.Contains(P), R);
        return;
    }
    if (FItemPressed) {
        FHoverItem = Open->GetOnItem(X, Y);
        const int Distance = std::abs(FPressPoint.X - X) + std::abs(FPressPoint.Y - Y);
        if (Distance >= Mouse->GetDragThreshold() && !Dragging() && FAllowDragging) {
            FItemPressed = false;
            BeginDrag(true, -1);
            return;
        }
        TFolioItem* Under = FHoverItem != -1 ? Open->GetItems()->GetItem(FHoverItem) : nullptr;
        TrackPress(FItemPressInside, Under == FPressedItem,
                   FPressedItem ? FPressedItem->GetClientRect() : TRect{});
        return;
    }

    if (FGroupPressed && !InButtonPlace(*Open, P)) {
        const int G = GetOnGroup(X, Y);
        if (G == FHoverGroup) return;
        FGroupPressInside = G == FPressedGroup;
        if (FPressedGroup >= 0 && FPressedGroup < FGroups->GetCount())
            InvalidateNoErase(FGroups->GetGroup(FPressedGroup)->GetCaptionRect());
        FHoverGroup = G;
        return;
    }
    HoverAt(P);
}

void TFolio::HoverAt(TPoint P) {
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open) return;
    // Over a scroll button's place, shown or not, no item is hovered.
    if (InButtonPlace(*Open, P)) {
        if (FHoverItem != -1) {
            FHoverItem = -1;
            Invalidate();
        }
        return;
    }
    const int G = GetOnGroup(P.X, P.Y);
    if (G != FHoverGroup) {
        FHoverGroup = G;
        UpdateHoverCursor();
        Invalidate();
    }
    const int I = Open->GetOnItem(P.X, P.Y);
    if (I != FHoverItem) {
        FHoverItem = I;
        Invalidate();
    }
}

void TFolio::HoverFromPointer() {
    // Only a pointer resting on the bar itself: over another control the
    // bar heard it leave, and while an editor is open or something is held
    // the hover state is not tracked.
    if (InputRouter->GetMouseControl() != this || FEditing || FSwitching || FGroupPressed ||
        FItemPressed || FPrevPressed || FNextPressed || !HandleAllocated())
        return;
    HoverAt(ScreenToClient(Mouse->GetCursorPos()));
}

void TFolio::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    HoverCaptionAt(X, Y);
    if (Button != mbLeft) return;

    if (FItemPressed) {
        if (FItemPressInside && FPressedItem && OnItemClick) OnItemClick(this, FPressedItem);
        FItemPressInside = false;
        FItemPressed = false;
        Invalidate();
    }
    if (FGroupPressed) {
        FGroupPressed = false;
        if (FPressedGroup < 0 || FPressedGroup >= FGroups->GetCount()) return;
        TFolioGroup* Group = FGroups->GetGroup(FPressedGroup);
        InvalidateNoErase(Group->GetCaptionRect());
        if (FGroupPressInside) GroupClicked(Group);
        return;
    }

    // The click handlers may have changed what lies under the pointer.
    HoverCaptionAt(X, Y);
    TFolioGroup* Open = GetVisibleGroupObject();
    if (Open && FPrevPressed && FPrevPressInside) InvalidateNoErase(Open->GetPrevButtonRect());
    if (Open && FNextPressed && FNextPressInside) InvalidateNoErase(Open->GetNextButtonRect());
    StopButtonRepeat();
}

void TFolio::StopButtonRepeat() {
    if (FRepeatTimer && HandleAllocated()) KillTimer(GetHandle(), FolioRepeatTimerId);
    FRepeatTimer = 0;
    FPrevPressed = false;
    FNextPressed = false;
    FPrevPressInside = false;
    FNextPressInside = false;
}

} // namespace folio
