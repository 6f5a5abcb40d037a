#include "framework/ui/stdctrls/ComboBox.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/stdctrls/PopupList.h"

#include <algorithm>

namespace folio {

namespace {
const std::vector<String>& StyleNames() {
    static const std::vector<String> Names{"csDropDown", "csDropDownList"};
    return Names;
}
// The text's distance from the box's inner left edge.
constexpr int TextIndent = 2;
} // namespace

const TClassInfo& TComboBox::StaticClassInfo() {
    using C = TComboBox;
    static const TClassInfo Info =
        TClassBuilder<C>("TComboBox", &TCustomControl::StaticClassInfo())
            .Enum("Style", "TComboBoxStyle", StyleNames(), &C::GetStyle, &C::SetStyle, csDropDown)
            .Int("DropDownCount", &C::GetDropDownCount, &C::SetDropDownCount, 8)
            .Object("Items", &C::GetItems, &C::SetItems)
            .Int("ItemIndex", &C::GetItemIndex, &C::SetItemIndex, -1)
            .Str("Text", &C::GetText, &C::SetText)
            .Event("OnChange", &C::OnChange)
            .Event("OnCloseUp", &C::OnCloseUp)
            .Event("OnDropDown", &C::OnDropDown)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Ctl3D", "Font", "ParentColor", "ParentCtl3D", "ParentFont", "TabOrder"})
            .Publish("TabStop", 1)
            .Publish("Color", clWindow)
            .Creatable()
            .Build();
    return Info;
}

TComboBox::TComboBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TStringList>()) {
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csFixedHeight, csOpaque});
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(GetLeft(), GetTop(), 145, 0);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
    UpdateEdit();
}

TComboBox::~TComboBox() {
    FItems->OnChange = nullptr;
    FPopup.reset();
    FEdit.reset();
}

// --- properties
// -----------------------------------------------------------------------------------

void TComboBox::SetStyle(TComboBoxStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    UpdateEdit();
    Invalidate();
}

void TComboBox::UpdateEdit() {
    if (FStyle == csDropDownList) {
        const bool HadFocus = FEdit && FEdit->Focused();
        FEdit.reset();
        if (HadFocus && CanFocus()) SetFocus();
        return;
    }
    if (FEdit) return;
    // The edit part belongs to the box, not to the form.
    FEdit = std::make_unique<TEdit>(nullptr);
    FEdit->SetBorderStyle(bsNone);
    FEdit->SetAutoSize(false);
    FEdit->SetTabStop(false);
    FEdit->SetBoundsRect(TextRect());
    FEdit->SetParent(this);
    FEdit->OnChange = [this](TObject*) {
        if (FSettingEdit) return;
        FItemIndex = FItems->IndexOf(FEdit->GetText());
        Change();
    };
    // The list's keys reach the box from inside its edit part.
    FEdit->OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState Shift) {
        if (Key == VK_UP || Key == VK_DOWN || Key == VK_F4 || Key == VK_PRIOR || Key == VK_NEXT)
            KeyDown(Key, Shift);
    };
    if (Focused()) FEdit->SetFocus();
}

void TComboBox::SetItemIndex(int Value) {
    if (Value < 0 || Value >= FItems->GetCount()) Value = -1;
    if (Value == FItemIndex) return;
    FItemIndex = Value;
    if (FEdit) {
        FSettingEdit = true;
        FEdit->SetText(Value >= 0 ? FItems->GetString(Value) : String());
        FSettingEdit = false;
    }
    Invalidate();
}

String TComboBox::GetText() const {
    if (FEdit) return FEdit->GetText();
    return FItemIndex >= 0 ? FItems->GetString(FItemIndex) : String();
}

void TComboBox::SetText(const String& Value) {
    if (!FEdit) {
        SetItemIndex(FItems->IndexOf(Value));
        return;
    }
    FSettingEdit = true;
    FEdit->SetText(Value);
    FSettingEdit = false;
    FItemIndex = FItems->IndexOf(Value);
}

void TComboBox::ItemsChanged() {
    if (FItemIndex >= FItems->GetCount()) SetItemIndex(-1);
    Invalidate();
}

TPopupList* TComboBox::GetPopupList() const {
    return FPopup && FPopup->IsOpen() ? FPopup.get() : nullptr;
}

bool TComboBox::GetDroppedDown() const {
    return GetPopupList() != nullptr;
}

void TComboBox::SetDroppedDown(bool Value) {
    if (Value == GetDroppedDown()) return;
    if (Value)
        DropDown();
    else
        FPopup->CloseUp(true);
}

// --- geometry
// ---------------------------------------------------------------------------------------

int TComboBox::FixedHeight() const {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    // The text, two pixels of margin above and below, and the frame (the
    // one the box gets once it is on a form).
    const int Frame = NewStyleControls && GetCtl3D() ? 2 : 1;
    return Canvas->TextHeight("Wg") + 4 + 2 * Frame;
}

void TComboBox::SetBounds(int ALeft, int ATop, int AWidth, int) {
    TCustomControl::SetBounds(ALeft, ATop, AWidth, FixedHeight());
    if (FEdit) FEdit->SetBoundsRect(TextRect());
}

void TComboBox::FontChanged() {
    TCustomControl::FontChanged();
    SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

TRect TComboBox::ButtonRect() const {
    const TRect C = GetClientRect();
    return Rect(std::max(C.Left, C.Right - GetSystemMetrics(SM_CXVSCROLL)), C.Top, C.Right,
                C.Bottom);
}

TRect TComboBox::TextRect() const {
    const TRect C = GetClientRect();
    return Rect(C.Left + 1, C.Top + 1, ButtonRect().Left - 1, C.Bottom - 1);
}

void TComboBox::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    AddSingleBorder(Params, GetCtl3D());
}

void TComboBox::CreateWnd() {
    TCustomControl::CreateWnd();
    // The frame decides the height: set it again now that the window has one.
    SetBounds(GetLeft(), GetTop(), GetWidth(), GetHeight());
}

// --- painting
// ---------------------------------------------------------------------------------------

void TComboBox::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetEnabled() ? GetColor() : clBtnFace);
    Canvas->FillRect(Rect(0, 0, ButtonRect().Left, GetClientHeight()));
    if (!FEdit) {
        TRect Text = TextRect();
        const bool Highlight = Focused() && !GetDroppedDown();
        if (Highlight) {
            Brush->SetColor(clHighlight);
            Canvas->FillRect(Text);
            Canvas->GetFont()->SetColor(clHighlightText);
        }
        TRect Inner = Rect(Text.Left + TextIndent, Text.Top, Text.Right, Text.Bottom);
        DrawCaption(Canvas, GetText(), Inner,
                    DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX), GetEnabled());
        if (Highlight) {
            Canvas->GetFont()->SetColor(GetFont()->GetColor());
            Canvas->DrawFocusRect(Text);
        }
    }
    TRect Button = ButtonRect();
    unsigned State = DFCS_SCROLLDOWN;
    if (FButtonPressed) State |= DFCS_PUSHED | DFCS_FLAT;
    if (!GetEnabled()) State |= DFCS_INACTIVE;
    DrawFrameControl(Canvas, Button, DFC_SCROLL, State);
}

// --- the list
// ----------------------------------------------------------------------------------------

void TComboBox::DropDown() {
    if (OnDropDown) OnDropDown(this);
    if (!FPopup) {
        FPopup = std::make_unique<TPopupList>(nullptr);
        FPopup->OnCloseUp = [this](TPopupWindow*, bool Cancelled) { ListClosed(Cancelled); };
    }
    const TPoint O = ClientToScreen(Point(0, 0));
    const int F = GetBorderWidth();
    FPopup->DropDown(Bounds(O.X - F, O.Y - F, GetWidth(), GetHeight()), *FItems, FItemIndex,
                     FDropDownCount, GetFont());
    Invalidate();
}

void TComboBox::CloseUp() {
    if (OnCloseUp) OnCloseUp(this);
}

void TComboBox::ListClosed(bool Cancelled) {
    FButtonPressed = false;
    FDropPress = false;
    Invalidate();
    if (!Cancelled) ChooseByUser(FPopup->GetList()->GetItemIndex());
    CloseUp();
}

void TComboBox::ChooseByUser(int Index) {
    if (Index < 0 || Index >= FItems->GetCount() || Index == FItemIndex) return;
    SetItemIndex(Index);
    if (FEdit) FEdit->SelectAll();
    Click();
    Change();
}

void TComboBox::Change() {
    if (OnChange) OnChange(this);
}

int TComboBox::ListItemAt(TPoint Screen) const {
    const TPopupList* Popup = GetPopupList();
    if (!Popup) return -1;
    const TListBox* List = Popup->GetList();
    const TPoint P = List->ScreenToClient(Screen);
    if (!List->GetClientRect().Contains(P)) return -1;
    return List->ItemAtPos(P, true);
}

// --- input
// --------------------------------------------------------------------------------------------

void TComboBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused() && !(FEdit && FEdit->Focused())) SetFocus();
        if (!FEdit || ButtonRect().Contains(Point(X, Y))) {
            FDropPress = true;
            FButtonPressed = true;
            DropDown();
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TComboBox::MouseMove(TShiftState Shift, int X, int Y) {
    // The press that opened the list may drag into it and pick an item.
    if (FDropPress) {
        const int Index = ListItemAt(ClientToScreen(Point(X, Y)));
        if (Index >= 0) FPopup->GetList()->SetItemIndex(Index);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TComboBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FDropPress) {
        FDropPress = false;
        FButtonPressed = false;
        Invalidate();
        const int Index = ListItemAt(ClientToScreen(Point(X, Y)));
        if (Index >= 0) {
            FPopup->GetList()->SetItemIndex(Index);
            FPopup->CloseUp(false);
        }
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TComboBox::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_F4 || ((Key == VK_DOWN || Key == VK_UP) && Shift.Contains(ssAlt))) {
        SetDroppedDown(!GetDroppedDown());
        Key = 0;
        return;
    }
    const int Last = FItems->GetCount() - 1;
    if (Last < 0) return;
    int Index = FItemIndex;
    switch (Key) {
    case VK_UP:
    case VK_LEFT:
        Index = Index < 0 ? 0 : Index - 1;
        break;
    case VK_DOWN:
    case VK_RIGHT:
        Index = Index + 1;
        break;
    case VK_PRIOR:
        Index = Index - std::max(FDropDownCount - 1, 1);
        break;
    case VK_NEXT:
        Index = Index < 0 ? 0 : Index + std::max(FDropDownCount - 1, 1);
        break;
    case VK_HOME:
        Index = 0;
        break;
    case VK_END:
        Index = Last;
        break;
    default:
        return;
    }
    ChooseByUser(std::clamp(Index, 0, Last));
    Key = 0;
}

void TComboBox::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (FEdit || static_cast<unsigned char>(Key) <= ' ') return;
    ChooseByUser(NextItemByLetter(*FItems, FItemIndex, Key));
    Key = 0;
}

void TComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    case WM_SETFOCUS:
        Invalidate();
        // The edit part takes the focus the box gets.
        if (FEdit && FEdit->CanFocus()) {
            FEdit->SetFocus();
            FEdit->SelectAll();
        }
        break;
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        if (GetDroppedDown()) FPopup->CloseUp(true);
        if (FEdit) FEdit->SetEnabled(GetEnabled());
        break;
    case WM_CANCELMODE:
        FDropPress = false;
        FButtonPressed = false;
        Invalidate();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TComboBox)

} // namespace folio
