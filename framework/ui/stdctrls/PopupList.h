#pragma once

#include "framework/ui/forms/PopupWindow.h"
#include "framework/ui/stdctrls/ListBox.h"

namespace folio {

// The list a drop-down control opens: a popup holding a list box whose
// selection follows the pointer. A click on an item or Enter chooses the
// highlighted item, and so do F4 and Alt+Up or Down; Escape closes it
// without a choice, like a press outside it. OnCloseUp tells which
// (Cancelled false: the list's ItemIndex is the choice).
class TPopupList : public TPopupWindow {
    FOLIO_CLASS(TPopupList)
public:
    explicit TPopupList(TComponent* AOwner);
    ~TPopupList() override;

    TListBox* GetList() const { return FList.get(); }
    // Opens below (or above) Anchor, a screen rectangle, as wide as it and
    // tall enough for Rows items, with the items of Items, Index selected.
    void DropDown(const TRect& Anchor, const TStrings& Items, int Index, int Rows,
                  const TFont* Font);

    void Dispatch(TMessage& Message) override;

protected:
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
    std::unique_ptr<TListBox> FList;
};

} // namespace folio
