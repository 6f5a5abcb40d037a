#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>
#include <memory>

namespace folio {

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using enum TListBoxStyle;

// How an item is drawn: selected, focused (the focus rectangle shows on it),
// disabled.
enum class TOwnerDrawStateFlag { odSelected, odFocused, odDisabled };
using enum TOwnerDrawStateFlag;
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

using TDrawItemEvent =
    std::function<void(TObject* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

// A list of strings with one selected item, a vertical scroll bar when the
// items do not fit, and the keyboard: arrows, Page Up and Down, Home, End
// and typed first letters. A change of the selection by the user fires
// OnClick; the program's changes fire nothing.
class TListBox : public TCustomControl {
    FOLIO_CLASS(TListBox)
public:
    explicit TListBox(TComponent* AOwner);
    ~TListBox() override;

    // The box owns its items; SetItems copies the given ones.
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    // -1, or any index outside the items, selects nothing.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    int GetItemHeight() const;
    void SetItemHeight(int Value);
    // The first item shown.
    int GetTopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    TListBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // With HotTrack the selection follows the pointer (a drop-down list).
    bool GetHotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value) { FHotTrack = Value; }

    int Count() const { return FItems->GetCount(); }
    // The item at a client point, or -1 (Existing: only real items; else the
    // nearest place, which may be Count).
    int ItemAtPos(TPoint P, bool Existing) const;
    TRect ItemRect(int Index) const;
    // How many whole items the box shows at once.
    int VisibleRows() const;
    void MakeVisible(int Index);
    // The scroll bar, shown while the items do not fit.
    TScrollBar* GetScrollBar() const { return FScrollBar.get(); }

    // Moves the selection as the keyboard would; true when Key was one of
    // the list's keys. Other controls (a combo box) drive their list with it.
    bool NavigateKey(unsigned short Key);
    // Selects the next item after the selection starting with Ch (either
    // case), wrapping round; true when one was found.
    bool SelectByLetter(char Ch);

    void Dispatch(TMessage& Message) override;

    TDrawItemEvent OnDrawItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    // What shows behind the items: the box's colour, or the face colour
    // while the box is disabled.
    TColor Background() const;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void Resize() override;
    void FontChanged() override;

private:
    // The area the items are drawn in: the client area left of the bar.
    TRect ItemArea() const;
    void ItemsChanged();
    void UpdateScrollBar();
    // A selection made by the user: moves, shows and tells OnClick.
    void SelectByUser(int Index);

    std::unique_ptr<TStrings> FItems;
    std::unique_ptr<TScrollBar> FScrollBar;
    int FItemIndex = -1;
    int FItemHeight = 0; // 0: the font's height
    int FTopIndex = 0;
    TListBoxStyle FStyle = lbStandard;
    TBorderStyle FBorderStyle = bsSingle;
    bool FHotTrack = false;
    bool FSelecting = false;
};

// The index of the next item after Current (wrapping round) that starts
// with Ch in either case, or -1: how lists find an item by a typed letter.
int NextItemByLetter(const TStrings& Items, int Current, char Ch);

} // namespace folio
