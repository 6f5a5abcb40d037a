#include "framework/ui/stdctrls/ListBox.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/RowScrolling.h"

#include <algorithm>
#include <cctype>

namespace folio {

namespace {
const std::vector<String>& StyleNames() {
    static const std::vector<String> Names{"lbStandard", "lbOwnerDrawFixed"};
    return Names;
}
const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone", "bsSingle"};
    return Names;
}
// Text starts this far from an item's left edge.
constexpr int TextIndent = 2;
} // namespace

const TClassInfo& TListBox::StaticClassInfo() {
    using C = TListBox;
    static const TClassInfo Info =
        TClassBuilder<C>("TListBox", &TCustomControl::StaticClassInfo())
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, bsSingle)
            .Int("ItemHeight", &C::GetItemHeight, &C::SetItemHeight)
            .Object("Items", &C::GetItems, &C::SetItems)
            .Int("ItemIndex", &C::GetItemIndex, &C::SetItemIndex, -1)
            .Enum("Style", "TListBoxStyle", StyleNames(), &C::GetStyle, &C::SetStyle, lbStandard)
            .Event("OnDrawItem", &C::OnDrawItem)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish(
                {"Align", "Ctl3D", "Font", "ParentColor", "ParentCtl3D", "ParentFont", "TabOrder"})
            .Publish("TabStop", 1)
            .Publish("Color", clWindow)
            .Creatable()
            .Build();
    return Info;
}

TListBox::TListBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(std::make_unique<TStringList>()) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks});
    FScrollBar = MakeRowScrollBar(this, sbVertical, [this](int Top) { SetTopIndex(Top); });
    SetBounds(GetLeft(), GetTop(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TListBox::~TListBox() {
    FItems->OnChange = nullptr;
    FScrollBar.reset();
}

// --- properties
// -------------------------------------------------------------------------------------

void TListBox::SetItemIndex(int Value) {
    if (Value < 0 || Value >= Count()) Value = -1;
    if (Value == FItemIndex) return;
    if (FItemIndex >= 0) InvalidateRect(ItemRect(FItemIndex), true);
    FItemIndex = Value;
    if (Value >= 0) {
        MakeVisible(Value);
        InvalidateRect(ItemRect(Value), true);
    }
}

int TListBox::GetItemHeight() const {
    if (FItemHeight > 0) return FItemHeight;
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    return std::max(Canvas->TextHeight("Wg"), 1);
}

void TListBox::SetItemHeight(int Value) {
    Value = std::max(Value, 0);
    if (Value == FItemHeight) return;
    FItemHeight = Value;
    UpdateScrollBar();
    Invalidate();
}

void TListBox::SetTopIndex(int Value) {
    Value = std::clamp(Value, 0, std::max(Count() - VisibleRows(), 0));
    if (Value == FTopIndex) return;
    FTopIndex = Value;
    FScrollBar->SetPosition(Value);
    Invalidate();
}

void TListBox::SetStyle(TListBoxStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Invalidate();
}

void TListBox::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    UpdateScrollBar();
}

void TListBox::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) AddSingleBorder(Params, GetCtl3D());
}

void TListBox::ItemsChanged() {
    if (FItemIndex >= Count()) FItemIndex = -1;
    UpdateScrollBar();
    SetTopIndex(FTopIndex);
    Invalidate();
}

void TListBox::Resize() {
    TCustomControl::Resize();
    UpdateScrollBar();
}

void TListBox::FontChanged() {
    TCustomControl::FontChanged();
    UpdateScrollBar();
}

// --- geometry
// -----------------------------------------------------------------------------------------

TRect TListBox::ItemArea() const {
    return RowArea(*this, *FScrollBar);
}

int TListBox::VisibleRows() const {
    return std::max(GetClientHeight() / GetItemHeight(), 1);
}

TRect TListBox::ItemRect(int Index) const {
    const TRect Area = ItemArea();
    const int Top = (Index - FTopIndex) * GetItemHeight();
    return Rect(Area.Left, Top, Area.Right, Top + GetItemHeight());
}

int TListBox::ItemAtPos(TPoint P, bool Existing) const {
    if (P.Y < 0 && Existing) return -1;
    const int Index = FTopIndex + (P.Y < 0 ? -1 : P.Y / GetItemHeight());
    if (Existing) return Index >= 0 && Index < Count() ? Index : -1;
    return std::clamp(Index, 0, Count());
}

void TListBox::MakeVisible(int Index) {
    if (Index >= 0) SetTopIndex(TopRowShowing(Index, FTopIndex, VisibleRows()));
}

void TListBox::UpdateScrollBar() {
    if (FScrollBar) PlaceRowScrollBar(*FScrollBar, *this, 0, FTopIndex, Count(), VisibleRows());
}

// --- painting
// ----------------------------------------------------------------------------------------

void TListBox::Paint() {
    TCanvas* Canvas = GetCanvas();
    const TRect Area = ItemArea();
    const int Last = std::min(Count(), FTopIndex + VisibleRows() + 1);
    for (int I = FTopIndex; I < Last; ++I) {
        TOwnerDrawState State;
        if (I == FItemIndex) State.Include(odSelected);
        if (I == FItemIndex && Focused()) State.Include(odFocused);
        if (!GetEnabled()) State.Include(odDisabled);
        const TRect R = ItemRect(I);
        if (FStyle == lbOwnerDrawFixed && OnDrawItem)
            OnDrawItem(this, I, R, State);
        else
            DrawItem(I, R, State);
        if (State.Contains(odFocused)) Canvas->DrawFocusRect(R);
    }
    // Below the last item the box shows its colour.
    const int Bottom = (Last - FTopIndex) * GetItemHeight();
    if (Bottom < Area.Bottom) {
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->GetBrush()->SetColor(Background());
        Canvas->FillRect(Rect(Area.Left, Bottom, Area.Right, Area.Bottom));
    }
}

TColor TListBox::Background() const {
    return GetEnabled() ? GetColor() : clBtnFace;
}

void TListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
    TCanvas* Canvas = GetCanvas();
    const bool Selected = State.Contains(odSelected);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Selected ? clHighlight : Background());
    Canvas->FillRect(Rect);
    Canvas->GetFont()->SetColor(Selected ? clHighlightText : GetFont()->GetColor());
    TRect Text = folio::Rect(Rect.Left + TextIndent, Rect.Top, Rect.Right, Rect.Bottom);
    DrawCaption(Canvas, FItems->GetString(Index), Text,
                DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX),
                !State.Contains(odDisabled));
    Canvas->GetFont()->SetColor(GetFont()->GetColor());
}

// --- input
// --------------------------------------------------------------------------------------------

void TListBox::SelectByUser(int Index) {
    if (Index < 0 || Index >= Count() || Index == FItemIndex) {
        MakeVisible(Index);
        return;
    }
    SetItemIndex(Index);
    Click();
}

bool TListBox::NavigateKey(unsigned short Key) {
    if (Count() == 0) return false;
    const int Page = std::max(VisibleRows() - 1, 1);
    int Index = FItemIndex;
    switch (Key) {
    case VK_UP:
        Index = Index < 0 ? 0 : Index - 1;
        break;
    case VK_DOWN:
        Index = Index + 1;
        break;
    case VK_PRIOR:
        Index = Index < 0 ? 0 : Index - Page;
        break;
    case VK_NEXT:
        Index = Index < 0 ? 0 : Index + Page;
        break;
    case VK_HOME:
        Index = 0;
        break;
    case VK_END:
        Index = Count() - 1;
        break;
    default:
        return false;
    }
    SelectByUser(std::clamp(Index, 0, Count() - 1));
    return true;
}

int NextItemByLetter(const TStrings& Items, int Current, char Ch) {
    const int N = Items.GetCount();
    const int Wanted = std::tolower(static_cast<unsigned char>(Ch));
    for (int Step = 1; Step <= N; ++Step) {
        const int I = ((Current < 0 ? -1 : Current) + Step + N) % N;
        const String& S = Items.GetString(I);
        if (!S.empty() && std::tolower(static_cast<unsigned char>(S[0])) == Wanted) return I;
    }
    return -1;
}

bool TListBox::SelectByLetter(char Ch) {
    const int I = NextItemByLetter(*FItems, FItemIndex, Ch);
    if (I >= 0) SelectByUser(I);
    return I >= 0;
}

void TListBox::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key != 0 && NavigateKey(Key)) Key = 0;
}

void TListBox::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    if (static_cast<unsigned char>(Key) > ' ' && SelectByLetter(Key)) Key = 0;
}

void TListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        FSelecting = true;
        SelectByUser(ItemAtPos(Point(X, Y), true));
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TListBox::MouseMove(TShiftState Shift, int X, int Y) {
    // Dragging with the button down (or hovering in a drop-down list) moves
    // the selection, scrolling when the pointer leaves the box.
    if (FSelecting && Shift.Contains(ssLeft)) {
        // Beyond the box each move steps one item further.
        const int Row = std::clamp(Y < 0 ? -1 : Y / GetItemHeight(), -1, VisibleRows());
        SelectByUser(std::clamp(FTopIndex + Row, 0, Count() - 1));
    } else if (FHotTrack) {
        const int Index = ItemAtPos(Point(X, Y), true);
        if (Index >= 0 && GetClientRect().Contains(Point(X, Y))) SelectByUser(Index);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

bool TListBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopIndex(TopRowAfterWheel(FTopIndex, WheelDelta, 3));
    return true;
}

void TListBox::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS | DLGC_WANTCHARS,
                            [this] { return FItemIndex >= 0 ? ItemRect(FItemIndex) : TRect{}; }))
        return;
    switch (Message.Msg) {
    case WM_LBUTTONUP:
    case WM_CANCELMODE:
        FSelecting = false;
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TListBox)

} // namespace folio
