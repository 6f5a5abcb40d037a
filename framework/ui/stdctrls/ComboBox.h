#pragma once

#include "framework/core/StringList.h"
#include "framework/ui/controls/CustomControl.h"

#include <memory>

namespace folio {

class TEdit;
class TPopupList;
class TPopupWindow;

// csDropDownList shows the chosen item and nothing else; csDropDown has an
// edit box where any text may be typed.
enum class TComboBoxStyle { csDropDown, csDropDownList };
using enum TComboBoxStyle;

// A drop-down list: a box showing one of its items, with a button that
// opens the list of them in a popup window (a click, Alt+Down or F4). While
// the list is open the arrows, Home, End and typed first letters move its
// highlight; Enter or a click chooses, Escape or a press elsewhere keeps
// the old choice. While it is closed the same keys change the choice at
// once. Every change the user makes fires OnClick and OnChange, once; the
// program's changes fire nothing.
class TComboBox : public TCustomControl {
    FOLIO_CLASS(TComboBox)
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;

    TComboBoxStyle GetStyle() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    // The box owns its items; SetItems copies the given ones.
    TStrings* GetItems() const { return FItems.get(); }
    void SetItems(TStrings* Value) { FItems->Assign(Value); }
    // -1, or any index outside the items, chooses nothing.
    int GetItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    // The shown text: the chosen item's (csDropDownList) or the edit box's.
    String GetText() const;
    void SetText(const String& Value);
    // How many items the open list shows before it scrolls.
    int GetDropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value < 1 ? 1 : Value; }
    bool GetDroppedDown() const;
    void SetDroppedDown(bool Value);
    // The open list (null while closed).
    TPopupList* GetPopupList() const;

    // Where the drop-down button is, in client coordinates.
    TRect ButtonRect() const;
    // Where the text is shown (and the edit box sits).
    TRect TextRect() const;
    // The height the font gives the box.
    int FixedHeight() const;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;
    void FontChanged() override;
    virtual void Change();
    virtual void DropDown();
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
