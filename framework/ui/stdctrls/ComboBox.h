#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TEdit;
class TPopupList;
class TPopupWindow;

/// csDropDownList shows the chosen item and nothing else; csDropDown has an
/// edit box where any text may be typed.
enum class TComboBoxStyle { csDropDown, csDropDownList };
using enum TComboBoxStyle;

/// A drop-down list: a box showing one of its items, with a button that
/// opens the list of them in a popup window (a click, Alt+Down or F4). While
/// the list is open the arrows, Home, End and typed first letters move its
/// highlight; Enter or a click chooses, Escape or a press elsewhere keeps
/// the old choice. While it is closed the same keys change the choice at
/// once. Every change the user makes fires OnClick and OnChange, once; the
/// program's changes fire nothing.
class TComboBox : public TCustomControl {
    FOLIO_CLASS(TComboBox)
public:
    /// An empty csDropDown box 145 pixels wide, as high as its font needs, on
    /// the window colour, a Tab stop.
    explicit TComboBox(TComponent* AOwner);
    /// Closes the list and destroys the box.
    ~TComboBox() override;

    ///@{
    /// csDropDown by default; a change makes or removes the edit box.
    TComboBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    ///@}
    ///@{
    /// The box owns its items; SetItems copies the given ones.
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    ///@}
    ///@{
    /// -1, or any index outside the items, chooses nothing.
    /// The chosen item, -1 (the default) for none. Setting it fires nothing.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    ///@}
    ///@{
    /// The shown text: the chosen item's (csDropDownList) or the edit box's.
    /// Setting it on a csDropDownList box chooses the item of that text (none
    /// without one); on a csDropDown box it puts the text in the edit box and
    /// chooses the item of that text, if any. It fires nothing.
    String GetText() const;
    void SetText(const String& Value);
    ///@}
    ///@{
    /// How many items the open list shows before it scrolls.
    /// 8 by default; values below 1 count as 1.
    int GetDropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value < 1 ? 1 : Value; }
    ///@}
    ///@{
    /// Whether the list is open. Opening it fires OnDropDown; closing it so
    /// keeps the old choice and fires OnCloseUp.
    bool GetDroppedDown() const;
    void SetDroppedDown(bool Value);
    ///@}
    /// The open list (null while closed).
    TPopupList* GetPopupList() const;

    /// Where the drop-down button is, in client coordinates.
    TRect ButtonRect() const;
    /// Where the text is shown (and the edit box sits).
    TRect TextRect() const;
    /// The height the font gives the box.
    int FixedHeight() const;

    /// The height is always FixedHeight; AHeight is ignored.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    /// Asks the dialog for the arrows and the characters.
    void Dispatch(TMessage& Message) override;

    /// The user chose another item (once per choice, after OnClick), or typed
    /// in the edit box.
    TNotifyEvent OnChange;
    /// The list is about to open.
    TNotifyEvent OnDropDown;
    /// The list closed, chosen or cancelled.
    TNotifyEvent OnCloseUp;

protected:
    /// Adds a single border, sunken when Ctl3D.
    void CreateParams(TCreateParams& Params) override;
    /// Fits the height to the frame the window now has.
    void CreateWnd() override;
    /// Draws the background, the chosen item's text (csDropDownList;
    /// highlighted with the focus) and the drop-down button.
    void Paint() override;
    /// A left press focuses the box and opens the list (on the button only when
    /// there is an edit box).
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// The press that opened the list may drag into it to highlight an item.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    /// Releasing that press over an item chooses it.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    /// F4 and Alt+Down or Alt+Up open or close the list; the arrows, Home and
    /// End change the choice.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// On a csDropDownList box a typed letter chooses the next item starting
    /// with it.
    void KeyPress(char& Key) override;
    /// Fits the height to the new font.
    void FontChanged() override;
    /// Fires OnChange.
    virtual void Change();
    /// Fires OnDropDown and opens the list below the box.
    virtual void DropDown();
    /// Fires OnCloseUp.
    virtual void CloseUp();

private:
    void ItemsChanged();
    // A choice made by the user: stores it and fires the events once.
    void ChooseByUser(int Index);
    void ListClosed(bool Cancelled);
    void UpdateEdit();
    // The open list's part under a screen point, or -1.
    int ListItemAt(TPoint Screen) const;

    TComboBoxStyle FStyle = csDropDown;
    std::unique_ptr<TStrings> FItems;
    int FItemIndex = -1;
    int FDropDownCount = 8;
    std::unique_ptr<TPopupList> FPopup;
    std::unique_ptr<TEdit> FEdit;
    // The press that opened the list is still down.
    bool FDropPress = false;
    bool FButtonPressed = false;
    bool FSettingEdit = false;
};

} // namespace folio
