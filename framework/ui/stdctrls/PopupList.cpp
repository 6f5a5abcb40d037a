#include "framework/ui/stdctrls/PopupList.h"

#include "framework/gfx/Colors.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

FOLIO_DEFINE_CLASS(TPopupList, TPopupWindow)

TPopupList::TPopupList(TComponent* AOwner) : TPopupWindow(AOwner) {
    FList = std::make_unique<TListBox>(nullptr);
    // A drop-down list has a thin dark frame, not a sunken edge.
    FList->SetCtl3D(false);
    FList->SetTabStop(false);
    FList->SetHotTrack(true);
    FList->SetAlign(alClient);
    FList->SetParent(this);
    FList->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == mbLeft && FList->ItemAtPos(Point(X, Y), true) >= 0 &&
            FList->GetClientRect().Contains(Point(X, Y)))
            CloseUp(false);
    };
}

TPopupList::~TPopupList() {
    FList.reset();
}

void TPopupList::DropDown(const TRect& Anchor, const TStrings& Items, int Index, int Rows,
                          const TFont* Font) {
    FList->GetFont()->Assign(Font);
    FList->GetItems()->Assign(&Items);
    const int Shown = std::clamp(Items.GetCount(), 1, std::max(Rows, 1));
    // Two pixels of frame, top and bottom.
    const int Height = Shown * FList->GetItemHeight() + 2;
    const TRect R = PlacePopup(Anchor, TSize{Anchor.Width(), Height},
                               TSize{Screen->GetWidth(), Screen->GetHeight()});
    SetBoundsRect(R);
    FList->SetTopIndex(0);
    FList->SetItemIndex(Index);
    Popup(R);
}

void TPopupList::KeyDown(unsigned short& Key, TShiftState Shift) {
    TPopupWindow::KeyDown(Key, Shift);
    switch (Key) {
    case VK_RETURN:
        CloseUp(false);
        break;
    case VK_ESCAPE:
        CloseUp(true);
        break;
    case VK_F4:
        CloseUp(false);
        break;
    case VK_UP:
    case VK_DOWN:
        if (Shift.Contains(ssAlt))
            CloseUp(false);
        else
            FList->NavigateKey(Key);
        break;
    default:
        FList->NavigateKey(Key);
        break;
    }
}

void TPopupList::Dispatch(TMessage& Message) {
    // The wheel scrolls the list wherever the pointer is.
    if (Message.Msg == WM_MOUSEWHEEL) {
        Message.Result = FList->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
        return;
    }
    TPopupWindow::Dispatch(Message);
}

void TPopupList::KeyPress(char& Key) {
    TPopupWindow::KeyPress(Key);
    if (static_cast<unsigned char>(Key) > ' ') FList->SelectByLetter(Key);
}

} // namespace folio
