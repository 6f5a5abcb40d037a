#include "folio/Folio.h"

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

// The keys walk one line through the bar, in the order the user sees it:
// the captions from the first to the open one, the open group's items, then
// the captions after it. Enter or Space acts on the caption or item as a
// click does, F2 renames it, and Ctrl with an arrow moves the focused item.
// The keys reach the bar once it has the focus: by Tab or a click when the
// application makes it a tab stop, or by the application's SetFocus.

namespace {

bool GroupStillThere(const TFolioGroups& Groups, const TFolioGroup* Group) {
    for (int I = 0; I < Groups.GetCount(); ++I)
        if (Groups.GetGroup(I) == Group) return true;
    return false;
}

// What a screen reader's focus is on inside the bar: the caption or item
// that has the keyboard's cue.
const void* CueKey(const TFolio* Bar) {
    if (TFolioItem* Item = Bar->GetFocusedItem()) return Item;
    return Bar->GetFocusedGroup();
}

// Tells a screen reader that the keyboard's cue moved on from Was, while
// the bar has the keyboard: the caption or item it left loses the focus and
// the one it reached gains it, so that a reader follows the arrows, Enter
// and clicks inside the bar as it follows the keyboard between controls.
void TellCue(TFolio* Bar, const void* Was) {
    const void* Now = CueKey(Bar);
    if (Now == Was || !Bar->Focused()) return;
    if (Was) NotifyAccessible(Bar, Was, TAccEvent::FocusLost);
    if (Now) NotifyAccessible(Bar, Now, TAccEvent::FocusGained);
}

} // namespace

TFolioGroup* TFolio::GetFocusedGroup() const {
    return FFocusItem ? nullptr : FFocusGroup;
}

TFolioItem* TFolio::GetFocusedItem() const {
    return FFocusItem;
}

void TFolio::SetFocusedGroup(TFolioGroup* Group) {
    if (Group && Group->GetBar() != this) return;
    if (Group == FFocusGroup && !FFocusItem) return;
    const void* Was = CueKey(this);
    FFocusGroup = Group;
    FFocusItem = nullptr;
    if (ShowsFocusCue()) Invalidate();
    TellCue(this, Was);
}

void TFolio::SetFocusedItem(TFolioItem* Item) {
    // Only an item of the open group can hold the keyboard.
    if (Item && (Item->GetBar() != this || Item->GetGroup() != GetVisibleGroupObject())) return;
    if (!Item) {
        SetFocusedGroup(GetVisibleGroupObject());
        return;
    }
    if (Item != FFocusItem) {
        const void* Was = CueKey(this);
        FFocusItem = Item;
        FFocusGroup = nullptr;
        if (ShowsFocusCue()) Invalidate();
        TellCue(this, Was);
    }
    ScrollIntoView(Item);
}

void TFolio::ValidateFocus() {
    const void* Was = CueKey(this);
    TFolioGroup* Open = GetVisibleGroupObject();
    if (FFocusItem && FFocusItem->GetGroup() != Open) {
        FFocusItem = nullptr;
        FFocusGroup = Open;
    }
    if (!FFocusItem && !FFocusGroup) FFocusGroup = Open;
    TellCue(this, Was);
}

void TFolio::ScrollIntoView(TFolioItem* Item) {
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Item || !Open || Item->GetGroup() != Open) return;
    const int Slots = Open->GetVisibleItems();
    if (Slots <= 0) return;
    const int Index = Item->GetIndex();
    if (Index < Open->GetStartItem())
        Open->SetStartItem(Index);
    else if (Index >= Open->GetStartItem() + Slots)
        Open->SetStartItem(Index - Slots + 1);
}

// ---------------------------------------------------------------------------
// Keys

void TFolio::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    // Keys wait while a switch slides, as mouse presses do; the editor takes
    // its own keys.
    if (Key == 0 || FSwitching || FEditing || FGroups->GetCount() == 0) return;
    if (NavigationKey(Key, Shift)) Key = 0;
}

bool TFolio::NavigationKey(unsigned short Key, TShiftState Shift) {
    const bool Vertical = IsVertical();
    const unsigned short Prev = Vertical ? VK_UP : VK_LEFT;
    const unsigned short Next = Vertical ? VK_DOWN : VK_RIGHT;
    const bool Ctrl = Shift.Contains(ssCtrl);
    const bool Plain = !Ctrl && !Shift.Contains(ssAlt) && !Shift.Contains(ssShift);
    ValidateFocus();
    if (Key == Prev || Key == Next) {
        const int Direction = Key == Next ? 1 : -1;
        if (Ctrl)
            MoveFocusedItem(Direction);
        else
            StepFocus(Direction);
        return true;
    }
    if (!Plain) return false;
    TFolioGroup* Open = GetVisibleGroupObject();
    switch (Key) {
    case VK_HOME:
    case VK_END:
        if (Open && Open->GetItems()->GetCount() > 0)
            SetFocusedItem(Key == VK_HOME ? Open->GetItems()->GetFirstItem()
                                          : Open->GetItems()->GetLastItem());
        return true;
    case VK_PRIOR:
    case VK_NEXT:
        PageFocus(Key == VK_NEXT ? 1 : -1);
        return true;
    case VK_RETURN:
    case VK_SPACE:
        ActivateFocused();
        return true;
    case VK_F2:
        EditFocused();
        return true;
    default:
        return false;
    }
}

void TFolio::StepFocus(int Direction) {
    TFolioGroup* Open = GetVisibleGroupObject();
    const int Count = FGroups->GetCount();
    const int OpenIndex = FVisibleGroup;
    const int Items = Open ? Open->GetItems()->GetCount() : 0;
    if (FFocusItem) {
        const int Index = FFocusItem->GetIndex() + Direction;
        if (Index >= 0 && Index < Items)
            SetFocusedItem(Open->GetItems()->GetItem(Index));
        else if (Index < 0)
            SetFocusedGroup(Open);
        else if (OpenIndex + 1 < Count)
            SetFocusedGroup(FGroups->GetGroup(OpenIndex + 1));
        return;
    }
    const int G = FFocusGroup ? FFocusGroup->GetIndex() : OpenIndex;
    if (Direction > 0) {
        if (G == OpenIndex && Items > 0)
            SetFocusedItem(Open->GetItems()->GetFirstItem());
        else if (G + 1 < Count)
            SetFocusedGroup(FGroups->GetGroup(G + 1));
    } else if (G > 0) {
        if (G - 1 == OpenIndex && Items > 0)
            SetFocusedItem(Open->GetItems()->GetLastItem());
        else
            SetFocusedGroup(FGroups->GetGroup(G - 1));
    }
}

void TFolio::PageFocus(int Direction) {
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open) return;
    const int Slots = std::max(Open->GetVisibleItems(), 1);
    // A page scrolls as that many presses of a scroll button would, through
    // the same event, so that an application steering the buttons steers
    // the keys too; the focused item moves by the same page.
    Open->ScrollByButton(Direction * Slots, Direction > 0 ? OnNextButtonClick : OnPrevButtonClick);
    if (!GroupStillThere(*FGroups, Open) || Open != GetVisibleGroupObject()) return;
    const int Count = Open->GetItems()->GetCount();
    if (!FFocusItem || Count == 0) return;
    const int Index = std::clamp(FFocusItem->GetIndex() + Direction * Slots, 0, Count - 1);
    SetFocusedItem(Open->GetItems()->GetItem(Index));
}

void TFolio::MoveFocusedItem(int Direction) {
    TFolioItem* Item = FFocusItem;
    if (!Item) return;
    TFolioItems* Items = Item->GetItems();
    const int Index = Item->GetIndex() + Direction;
    if (Index < 0 || Index >= Items->GetCount()) return;
    // The keyboard's way of dragging an item one place: the model's own move,
    // which repaints the bar.
    Items->Move(Item, Index);
    FFocusItem = Item;
    FFocusGroup = nullptr;
    ScrollIntoView(Item);
}

void TFolio::ActivateFocused() {
    if (TFolioItem* Item = FFocusItem) {
        if (OnItemClick) OnItemClick(this, Item);
        return;
    }
    if (TFolioGroup* Group = FFocusGroup)
        if (AllowGroupClick(Group)) GroupClicked(Group);
}

void TFolio::EditFocused() {
    if (FFocusItem)
        EditItem(FFocusItem);
    else if (FFocusGroup)
        EditGroup(FFocusGroup);
}

bool TFolio::AllowGroupClick(TFolioGroup* Group) {
    bool Allow = true;
    if (OnGroupCanClick) OnGroupCanClick(this, Group, Allow);
    return Allow && GroupStillThere(*FGroups, Group);
}

void TFolio::GroupClicked(TFolioGroup* Group) {
    Group->SetVisible(true);
    if (OnGroupClick) OnGroupClick(this, Group);
    // The designer must not be handed a group the handler deleted.
    if (IsDesigning() && GroupStillThere(*FGroups, Group))
        if (TCustomForm* Form = GetParentForm(this))
            if (IDesigner* Designer = Form->GetDesigner()) Designer->SelectComponent(Group);
}

// ---------------------------------------------------------------------------
// Focus

void TFolio::WMGetDlgCode(TMessage& Message) {
    // The arrows walk the bar instead of moving to the next control.
    Message.Result = DLGC_WANTARROWS;
}

void TFolio::WMFocusChanged(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg == WM_SETFOCUS) ValidateFocus();
    if (Screen->GetFocusCues()) Invalidate();
    // The caption or item with the cue loses the focus with the bar. (On the
    // way in the bar is told, and then each move of the cue.)
    if (Message.Msg == WM_KILLFOCUS)
        if (const void* Cue = CueKey(this)) NotifyAccessible(this, Cue, TAccEvent::FocusLost);
}

void TFolio::FocusUnderPointer(int X, int Y) {
    // A click puts the keyboard where the pointer is, as a list does; only
    // a tab stop takes the focus by a click.
    if (GetTabStop() && !Focused() && CanFocus()) SetFocus();
    const int G = GetOnGroup(X, Y);
    if (G != -1) {
        SetFocusedGroup(FGroups->GetGroup(G));
        return;
    }
    TFolioGroup* Open = GetVisibleGroupObject();
    if (!Open || FHoverItem < 0 || FHoverItem >= Open->GetItems()->GetCount()) return;
    TFolioItem* Item = Open->GetItems()->GetItem(FHoverItem);
    if (Item != FFocusItem) {
        const void* Was = CueKey(this);
        FFocusItem = Item;
        FFocusGroup = nullptr;
        if (ShowsFocusCue()) Invalidate();
        TellCue(this, Was);
    }
}

bool TFolio::ShowsFocusCue() const {
    return Focused() && Screen->GetFocusCues();
}

void TFolio::PaintFocusCue(TCanvas* Canvas) {
    // The slide's frames come from pictures without the cue; it shows again
    // once the switch has ended.
    if (!ShowsFocusCue() || FAnimating || FSwitching) return;
    TFolioGroup* Open = GetVisibleGroupObject();
    if (FFocusItem && FFocusItem->GetGroup() == Open && Open) {
        // An item half under the next caption shows its cue only where the
        // item itself shows.
        Canvas->SelectClipRect(Open->GetClientRect());
        Canvas->DrawFocusRect(FFocusItem->GetClientRect());
        Canvas->RemoveClipRect();
        return;
    }
    if (FFocusItem || !FFocusGroup) return;
    TRect R = FFocusGroup->GetCaptionRect();
    InflateRect(R, -3, -3);
    Canvas->DrawFocusRect(R);
}

} // namespace folio
