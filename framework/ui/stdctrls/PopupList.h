#pragma once

#include "framework/ui/forms/PopupWindow.h"
#include "framework/ui/stdctrls/ListBox.h"

namespace folio {

/// The list a drop-down control opens: a popup holding a list box whose
/// selection follows the pointer. A click on an item or Enter chooses the
/// highlighted item, and so do F4 and Alt+Up or Down; Escape closes it
/// without a choice, like a press outside it. OnCloseUp tells which
/// (Cancelled false: the list's ItemIndex is the choice).
class TPopupList : public TPopupWindow {
    FOLIO_CLASS(TPopupList)
public:
    /// A closed popup holding its list box.
    explicit TPopupList(TComponent* AOwner);
    /// Destroys the popup and its list.
    ~TPopupList() override;

    /// The list box inside; its ItemIndex is the highlighted item.
    TListBox* GetList() const { return FList.get(); }
    /// Opens below (or above) Anchor, a screen rectangle, as wide as it and
    /// tall enough for Rows items, with the items of Items, Index selected.
    void DropDown(const TRect& Anchor, const TStrings& Items, int Index, int Rows,
                  const TFont* Font);

    /// The wheel scrolls the list.
    void Dispatch(TMessage& Message) override;

protected:
    /// Enter, F4 and Alt+Up or Down choose; Escape cancels; the other list keys
    /// move the highlight.
    void KeyDown(unsigned short& Key, TShiftState Shift) override;
    /// A typed letter highlights the next item starting with it.
    void KeyPress(char& Key) override;

private:
    std::unique_ptr<TListBox> FList;
};

} // namespace folio
