#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>
#include <memory>

namespace folio {

/// How a list box draws its items: itself (lbStandard), or through
/// OnDrawItem, all of one height (lbOwnerDrawFixed).
enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed };
using enum TListBoxStyle;

/// How an item is drawn: selected, focused (the focus rectangle shows on it),
/// disabled.
enum class TOwnerDrawStateFlag { odSelected, odFocused, odDisabled };
using enum TOwnerDrawStateFlag;
/// The state of an item being drawn.
using TOwnerDrawState = TSet<TOwnerDrawStateFlag>;

/// Draws item Index of Control into Rect of its canvas, in State; the focus
/// rectangle is drawn over it afterwards.
using TDrawItemEvent =
    std::function<void(TObject* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

/// A list of strings with one selected item, a vertical scroll bar when the
/// items do not fit, and the keyboard: arrows, Page Up and Down, Home, End
/// and typed first letters. A change of the selection by the user fires
/// OnClick; the program's changes fire nothing.
class TListBox : public TCustomControl {
    FOLIO_CLASS(TListBox)
public:
    /// An empty list of 121 by 97 pixels on the window colour, a Tab stop with
    /// a single border.
    explicit TListBox(TComponent* AOwner);
    /// Destroys the list and its items.
    ~TListBox() override;

    ///@{
    /// The box owns its items; SetItems copies the given ones.
    /// A change of the items repaints, and drops a selection beyond them.
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    ///@}
    ///@{
    /// -1, or any index outside the items, selects nothing.
    /// The selected item, -1 (the default) for none. Setting it scrolls the
    /// item into view; it fires nothing.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    ///@}
    ///@{
    /// The height of each row in pixels; 0 (the default) is the font's height.
    /// Negative values count as 0.
    int GetItemHeight() const;
    void SetItemHeight(int Value);
    ///@}
    ///@{
    /// The first item shown.
    /// Setting scrolls, held between 0 and the last full page.
    int GetTopIndex() const { return FTopIndex; }
    void SetTopIndex(int Value);
    ///@}
    ///@{
    /// lbStandard by default.
    TListBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TListBoxStyle Value);
    ///@}
    ///@{
    /// bsSingle (the default) gives the list a frame, sunken when Ctl3D; bsNone
    /// none.
    TBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    ///@}
    ///@{
    /// With HotTrack the selection follows the pointer (a drop-down list).
    /// False by default.
    bool GetHotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value) { FHotTrack = Value; }
    ///@}

    /// How many items there are.
    int Count() const { return FItems->GetCount(); }
    /// The item at a client point, or -1 (Existing: only real items; else the
    /// nearest place, which may be Count).
    int ItemAtPos(TPoint P, bool Existing) const;
    /// The rectangle item Index takes in client coordinates (above or below the
    /// client area when scrolled out of view).
    TRect ItemRect(int Index) const;
    /// How many whole items the box shows at once.
    int VisibleRows() const;
    /// Scrolls as little as shows item Index; nothing for a negative one.
    void MakeVisible(int Index);
    /// The scroll bar, shown while the items do not fit.
    TScrollBar* GetScrollBar() const { return FScrollBar.get(); }

    /// Moves the selection as the keyboard would; true when Key was one of
    /// the list's keys. Other controls (a combo box) drive their list with it.
    bool NavigateKey(unsigned short Key);
    /// Selects the next item after the selection starting with Ch (either
    /// case), wrapping round; true when one was found.
    bool SelectByLetter(char Ch);

    /// Asks the dialog for the arrows and the characters, and repaints the
    /// focus rectangle with the focus.
    void Dispatch(TMessage& Message) override;

    /// Draws each item when Style is lbOwnerDrawFixed.
    TDrawItemEvent OnDrawItem;

protected:
    /// Adds the frame BorderStyle asks for.
    void CreateParams(TCreateParams& Params) override;
    /// Draws the shown items (OnDrawItem or DrawItem), the focus rectangle and
    /// the background below the last item.
    void Paint() override;
    /// Draws an item's text, on the highlight colour when selected.
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    /// What shows behind the items: the box's colour, or the face colour
    /// while the box is disabled.
    TColor Background() const;
    /// A left press focuses the list and selects the item under the pointer
    /// (OnClick).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// Dragging with the button down moves the selection, scrolling beyond the
    /// box; with HotTrack the selection follows the pointer.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// The list's keys move the selection (NavigateKey).
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// A typed letter selects the next item starting with it.
    void KeyPress(char& Key) override;
    /// Scrolls three rows a notch, unless OnMouseWheel handled the turn.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    /// Fires OnResize and lays the scroll bar out again.
    void Resize() override;
    /// Rows of the font's height follow the new font.
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

/// The index of the next item after Current (wrapping round) that starts
/// with Ch in either case, or -1: how lists find an item by a typed letter.
int NextItemByLetter(const TStrings& Items, int Current, char Ch);

} // namespace folio
