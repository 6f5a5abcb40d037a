#include "folio/Folio.h"

#include "framework/ui/app/Application.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Mouse.h"

#include <algorithm>
#include <memory>

namespace folio {

FOLIO_DEFINE_CLASS(TFolioDragItem, TDragObject)

void TFolioDragItem::ItemDestroyed(TFolioItem* Item) {
    auto* Drag = dynamic_cast<TFolioDragItem*>(Application->GetDragManager().DragObject());
    if (!Drag || Drag->Item != Item) return;
    // Nothing is left to move: the drag ends as a cancelled one, so every
    // bar it passed over lets go of its insert mark and timers.
    Drag->Item = nullptr;
    Application->GetDragManager().EndDrag(false);
}

// ---------------------------------------------------------------------------
// Starting

void TFolio::DoStartDrag(TDragObject*& DragObject) {
    std::unique_ptr<TFolioDragItem> Own;
    if (FPressedItem) {
        Own = std::make_unique<TFolioDragItem>();
        Own->Item = FPressedItem;
        DragObject = Own.get();
    }
    // The inherited handling fires OnStartDrag, whose handler may put an
    // object of its own in place of the bar's; the bar's one then goes.
    TCustomControl::DoStartDrag(DragObject);
    if (!Own || DragObject != Own.get()) return;
    // A handler that deleted the pressed item leaves nothing to drag.
    if (FPressedItem != Own->Item) {
        DragObject = nullptr;
        EndDrag(false);
        return;
    }
    Own.release();
}

TFolioDragItem* TFolio::ItemDrag(TObject* Source) {
    auto* Drag = dynamic_cast<TFolioDragItem*>(Source);
    // A handler that ran before (the application's drag events) may have
    // ended the drag or deleted its item.
    if (!Drag || Drag != Application->GetDragManager().DragObject() || !Drag->Item) return nullptr;
    return Drag;
}

// ---------------------------------------------------------------------------
// Hovering

void TFolio::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TCustomControl::DragOver(Source, X, Y, State, Accept);
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!ItemDrag(Source) || !Open) return;

    if (State == dsDragLeave) {
        // The framework also says "leave" when the item is let go over the
        // bar, just before the drop: only a pointer that is really outside
        // ends what the drag shows here. Inside, this is one more move.
        TPoint Pointer;
        GetCursorPos(Pointer);
        if (!GetClientRect().Contains(ScreenToClient(Pointer))) {
            ForgetDrag();
            return;
        }
    }

    const int G = GetOnGroup(X, Y);
    if (G != FHoverGroup) {
        FHoverGroup = G;
        Invalidate(); // the caption under the pointer is drawn hot
    }
    if (G != -1) {
        // Resting on a caption opens its group; the insert position stays.
        if (!FOpenTimer) FOpenTimer = SetTimer(GetHandle(), FolioOpenTimerId, FolioOpenDelay);
        Accept = true;
        return;
    }
    StopOpenTimer();

    const TPoint P = Point(X, Y);
    if (Open->GetPrevButtonVisible() && Open->GetPrevButtonRect().Contains(P)) {
        HoldButtonForDrag(false);
        Accept = true;
        return;
    }
    if (Open->GetNextButtonVisible() && Open->GetNextButtonRect().Contains(P)) {
        HoldButtonForDrag(true);
        Accept = true;
        return;
    }
    ReleaseButtonsForDrag();

    const int Under = Open->GetOnItem(X, Y);
    if (Under != -1) {
        // An item cannot be dropped onto another one.
        Accept = false;
        if (FInsertIndex != -1 || FHoverItem != Under) {
            FInsertIndex = -1;
            FHoverItem = Under;
            Invalidate();
        }
        return;
    }

    // Between items: the gap nearest the pointer. Each slot owns the half
    // slot before it and the spacing, so the pointer's position plus half a
    // slot, divided by the slot pitch, counts the gaps before it. Division
    // truncates toward zero, the halving too.
    const bool Vertical = IsVertical();
    const TRect C = Open->GetClientRect();
    const int Size = Vertical ? Open->GetItemHeight() : Open->GetItemWidth();
    const int Along = Vertical ? Y - C.Top : X - C.Left;
    const int Pitch = Size + FItemSpacing;
    // A spacing that cancels the slot size leaves no gaps to tell apart.
    long long Index = Pitch == 0 ? 0 : (Size / 2 + static_cast<long long>(Along)) / Pitch;
    Index += Open->GetStartItem();
    Index = std::clamp<long long>(Index, 0, Open->GetItems()->GetCount());
    Accept = true;
    if (Index != FInsertIndex || FHoverItem != -1) {
        FInsertIndex = static_cast<int>(Index);
        FHoverItem = -1;
        Invalidate();
    }
}

void TFolio::HoldButtonForDrag(bool Next) {
    TFolioGroup* Open = GetVisibleGroupObject();
    const bool PrevWasPushed = FPrevPressed && FPrevPressInside;
    const bool NextWasPushed = FNextPressed && FNextPressInside;
    FPrevPressed = !Next;
    FNextPressed = Next;
    (Next ? FNextPressInside : FPrevPressInside) = true;
    if (PrevWasPushed != (FPrevPressed && FPrevPressInside))
        InvalidateNoErase(Open->GetPrevButtonRect());
    if (NextWasPushed != (FNextPressed && FNextPressInside))
        InvalidateNoErase(Open->GetNextButtonRect());
    // Unlike a press, arriving makes no step: the first comes with the first
    // tick, one interval later, and each tick scrolls by one item.
    if (!FRepeatTimer) FRepeatTimer = SetTimer(GetHandle(), FolioRepeatTimerId, FButtonClickDelay);
}

void TFolio::ReleaseButtonsForDrag() {
    if (!FPrevPressed && !FNextPressed && !FRepeatTimer) return;
    if (TFolioGroup* Open = GetVisibleGroupObject()) {
        if (FPrevPressed && FPrevPressInside) InvalidateNoErase(Open->GetPrevButtonRect());
        if (FNextPressed && FNextPressInside) InvalidateNoErase(Open->GetNextButtonRect());
    }
    StopButtonRepeat();
}

void TFolio::StopOpenTimer() {
    if (FOpenTimer && HandleAllocated()) KillTimer(GetHandle(), FolioOpenTimerId);
    FOpenTimer = 0;
}

void TFolio::OpenTimerTick() {
    // Every tick ends the insert position, and the mark goes from the
    // picture with it, also when the caption is the open group's own and
    // nothing switches. The timer keeps running while the pointer rests.
    if (FInsertIndex != -1) {
        FInsertIndex = -1;
        Invalidate();
    }
    SetVisibleGroup(FHoverGroup);
}

void TFolio::ForgetDrag() {
    FInsertIndex = -1;
    StopButtonRepeat();
    StopOpenTimer();
    Invalidate();
}

void TFolio::DragCanceled() {
    TCustomControl::DragCanceled();
    ForgetDrag();
}

// ---------------------------------------------------------------------------
// Dropping

void TFolio::DragDrop(TObject* Source, int X, int Y) {
    TCustomControl::DragDrop(Source, X, Y);
    if (!dynamic_cast<TFolioDragItem*>(Source)) return;
    StopOpenTimer();
    // No timer outlives the drag: a drop made while resting on a scroll
    // button lets go of the button as well.
    ReleaseButtonsForDrag();
    const int Index = FInsertIndex;
    if (Index == -1) return;
    FInsertIndex = -1;
    Invalidate();

    TFolioDragItem* Drag = ItemDrag(Source);
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Drag || !Open) return;
    // The item itself moves, from wherever it is: it lands just before the
    // item at the insert position, or after the last one.
    TFolioItems* Items = Open->GetItems();
    const int Count = Items->GetCount();
    if (Count == 0)
        Items->Move(Drag->Item, 0);
    else if (Index >= Count) // a handler may have deleted items since
        Drag->Item->MoveTo(Items->GetLastItem(), false);
    else
        Drag->Item->MoveTo(Items->GetItem(Index), true);
}

} // namespace folio
