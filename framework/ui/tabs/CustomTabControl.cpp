#include "framework/ui/tabs/CustomTabControl.h"

#include "framework/core/ClassBuilder.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"

#include <algorithm>

namespace folio {

namespace {
// Space beside a tab's caption, the tab row's left margin, and how much a
// selected tab stands out around its neighbours.
constexpr int TabPadding = 6;
constexpr int RowIndent = 2;
constexpr int SelectedGrowth = 2;
// The display area's content sits this far inside its edge.
constexpr int DisplayInset = 4;
} // namespace

const TClassInfo& TCustomTabControl::StaticClassInfo() {
    using C = TCustomTabControl;
    static const TClassInfo Info =
        TClassBuilder<C>("TCustomTabControl", &TCustomControl::StaticClassInfo())
            .Int("TabIndex", &C::GetTabIndex, &C::SetTabIndex, -1)
            .Unpublished()
            .Int("TabHeight", &C::GetTabHeight, &C::SetTabHeight, 0)
            .Unpublished()
            .Int("TabWidth", &C::GetTabWidth, &C::SetTabWidth, 0)
            .Unpublished()
            .Event("OnChange", &C::OnChange)
            .Unpublished()
            .Event("OnChanging", &C::OnChanging)
            .Unpublished()
            .Build();
    return Info;
}

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TCustomControl(AOwner), FTabs(std::make_unique<TStringList>()) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetBounds(GetLeft(), GetTop(), 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
    FTabs->OnChange = [this](TObject*) { TabsChanged(); };
}

TCustomTabControl::~TCustomTabControl() {
    FTabs->OnChange = nullptr;
}

// --- properties ------------------------------------------------------------------------------

void TCustomTabControl::SetTabIndex(int Value) {
    if (Value < -1 || Value >= TabCount()) Value = -1;
    if (Value == FTabIndex) return;
    FTabIndex = Value;
    Invalidate();
}

void TCustomTabControl::SetTabHeight(int Value) {
    Value = std::max(Value, 0);
    if (Value == FTabHeight) return;
    FTabHeight = Value;
    Realign();
    Invalidate();
}

void TCustomTabControl::SetTabWidth(int Value) {
    Value = std::max(Value, 0);
    if (Value == FTabWidth) return;
    FTabWidth = Value;
    Invalidate();
}

void TCustomTabControl::TabsChanged() {
    if (FTabIndex >= TabCount()) FTabIndex = TabCount() - 1;
    if (FTabIndex < 0 && TabCount() > 0) FTabIndex = 0;
    Invalidate();
}

void TCustomTabControl::FontChanged() {
    TCustomControl::FontChanged();
    Realign();
}

bool TCustomTabControl::CanChange() {
    bool Allow = true;
    if (OnChanging) OnChanging(this, Allow);
    return Allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

bool TCustomTabControl::ChangeByUser(int Index) {
    if (Index < 0 || Index >= TabCount() || Index == FTabIndex) return false;
    if (!CanChange()) return false;
    SetTabIndex(Index);
    Change();
    return true;
}

void TCustomTabControl::SelectNextTab(bool GoForward) {
    const int N = TabCount();
    if (N < 2) return;
    ChangeByUser(((FTabIndex < 0 ? 0 : FTabIndex) + (GoForward ? 1 : N - 1)) % N);
}

// --- geometry --------------------------------------------------------------------------------

int TCustomTabControl::TabRowHeight() const {
    if (FTabHeight > 0) return FTabHeight + SelectedGrowth;
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    return Canvas->TextHeight("Wg") + TabPadding + SelectedGrowth;
}

TRect TCustomTabControl::TabRect(int Index) const {
    if (Index < 0 || Index >= TabCount()) return TRect{};
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    int Left = RowIndent;
    int Width = 0;
    for (int I = 0; I <= Index; ++I) {
        Left += Width;
        TRect Text;
        DrawText(Canvas, FTabs->GetString(I), Text, DT_CALCRECT | DT_SINGLELINE);
        Width = FTabWidth > 0 ? FTabWidth : Text.Width() + 2 * TabPadding;
    }
    TRect R = Rect(Left, SelectedGrowth, Left + Width, TabRowHeight());
    if (Index == FTabIndex)
        R = Rect(R.Left - SelectedGrowth, 0, R.Right + SelectedGrowth, R.Bottom + 1);
    return R;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y) const {
    // The selected tab stands over its neighbours' edges: it is asked first.
    if (TabRect(FTabIndex).IsEmpty() == false && TabRect(FTabIndex).Contains(Point(X, Y)))
        return FTabIndex;
    for (int I = 0; I < TabCount(); ++I)
        if (TabRect(I).Contains(Point(X, Y))) return I;
    return -1;
}

TRect TCustomTabControl::GetDisplayRect() const {
    TRect R = Rect(0, TabRowHeight(), GetClientWidth(), GetClientHeight());
    InflateRect(R, -DisplayInset, -DisplayInset);
    return R;
}

void TCustomTabControl::AlignControls(TControl* AControl, TRect& Rect) {
    Rect = GetDisplayRect();
    TCustomControl::AlignControls(AControl, Rect);
}

// --- painting ---------------------------------------------------------------------------------

void TCustomTabControl::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    TRect Display = Rect(0, TabRowHeight(), GetClientWidth(), GetClientHeight());
    DrawEdge(Canvas, Display, EDGE_RAISED, BF_RECT);
    for (int I = 0; I < TabCount(); ++I)
        if (I != FTabIndex) DrawTab(Canvas, TabRect(I));
    if (FTabIndex >= 0) DrawTab(Canvas, TabRect(FTabIndex));
    for (int I = 0; I < TabCount(); ++I) {
        TRect Text = TabRect(I);
        if (I != FTabIndex) Text.Top += 1;
        DrawCaption(Canvas, FTabs->GetString(I), Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    GetEnabled());
        if (I == FTabIndex && Focused()) {
            InflateRect(Text, -3, -3);
            Canvas->DrawFocusRect(Text);
        }
    }
}

// --- input -------------------------------------------------------------------------------------

void TCustomTabControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) {
        const int Index = IndexOfTabAt(X, Y);
        if (Index >= 0) {
            if (CanFocus() && !Focused()) SetFocus();
            ChangeByUser(Index);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomTabControl::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_LEFT || Key == VK_RIGHT) {
        if (FTabIndex >= 0) ChangeByUser(FTabIndex + (Key == VK_RIGHT ? 1 : -1));
        Key = 0;
    }
}

void TCustomTabControl::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS,
                            [this] { return FTabIndex >= 0 ? TabRect(FTabIndex) : TRect{}; }))
        return;
    switch (Message.Msg) {
    case CM_DIALOGKEY:
        // Ctrl+Tab turns the pages while the focus is anywhere inside.
        if (Message.WParam == VK_TAB && InputRouter->IsKeyDown(VK_CONTROL) &&
            (Focused() || ContainsControl(FindControl(GetFocus())))) {
            SelectNextTab(!InputRouter->IsKeyDown(VK_SHIFT));
            Message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

} // namespace folio
