#include "framework/ui/menus/MenuWindow.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/paint/ControlPaint.h"

#include <algorithm>

namespace folio {

FOLIO_DEFINE_CLASS(TMenuWindow, TPopupWindow)

namespace {
// The raised frame and the space inside it.
constexpr int MenuFrame = 3;
// Room for a tick on the left and a submenu arrow on the right.
constexpr int Gutter = 18;
// Between a caption and its shortcut.
constexpr int ShortCutGap = 16;
constexpr int SeparatorHeight = 9;
} // namespace

TMenuWindow::TMenuWindow(TComponent* AOwner) : TPopupWindow(AOwner) {
    SetColor(clMenu);
    GetFont()->SetColor(clMenuText);
}

TMenuWindow::~TMenuWindow() {
    FSubmenu.reset();
}

TMenuWindow* TMenuWindow::GetSubmenu() const {
    return FSubmenu && FSubmenu->IsOpen() ? FSubmenu.get() : nullptr;
}

// --- geometry ------------------------------------------------------------------------------------

int TMenuWindow::ItemHeight(const TMenuItem* Item) const {
    if (Item->IsLine()) return SeparatorHeight;
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    return Canvas->TextHeight("Wg") + 6;
}

TRect TMenuWindow::ItemRect(int Index) const {
    if (!FItem || Index < 0 || Index >= FItem->Count()) return TRect{};
    int Top = MenuFrame;
    for (int I = 0; I < Index; ++I)
        if (FItem->GetItem(I)->GetVisible()) Top += ItemHeight(FItem->GetItem(I));
    const TMenuItem* Item = FItem->GetItem(Index);
    if (!Item->GetVisible()) return TRect{};
    return Rect(MenuFrame, Top, GetClientWidth() - MenuFrame, Top + ItemHeight(Item));
}

int TMenuWindow::ItemAtPos(TPoint P) const {
    if (!FItem) return -1;
    for (int I = 0; I < FItem->Count(); ++I)
        if (ItemRect(I).Contains(P)) return I;
    return -1;
}

TSize TMenuWindow::MeasureSize() const {
    TCanvas* Canvas = GetCanvas();
    int Captions = 0, ShortCuts = 0, Height = 0;
    for (int I = 0; FItem && I < FItem->Count(); ++I) {
        const TMenuItem* Item = FItem->GetItem(I);
        if (!Item->GetVisible()) continue;
        Height += ItemHeight(Item);
        if (Item->IsLine()) continue;
        Canvas->SetFont(GetFont());
        if (Item->GetDefault()) Canvas->GetFont()->SetStyle({fsBold});
        TRect Text;
        DrawText(Canvas, Item->GetCaption(), Text, DT_CALCRECT | DT_SINGLELINE);
        Captions = std::max(Captions, Text.Width());
        ShortCuts = std::max(ShortCuts, Canvas->TextWidth(ShortCutToText(Item->GetShortCut())));
    }
    const int Width = Gutter + Captions + (ShortCuts ? ShortCutGap + ShortCuts : 0) + Gutter;
    return TSize{Width + 2 * MenuFrame, std::max(Height, 0) + 2 * MenuFrame};
}

// --- opening and closing
// ---------------------------------------------------------------------------

void TMenuWindow::PopupItems(TMenuItem* Item, TPoint P) {
    FItem = Item;
    FHot = -1;
    const TSize Size = MeasureSize();
    Popup(Bounds(P.X, P.Y, Size.cx, Size.cy));
}

void TMenuWindow::SetHotIndex(int Value) {
    if (!FItem || Value < -1 || Value >= FItem->Count()) Value = -1;
    if (Value == FHot) return;
    if (FHot >= 0) InvalidateRect(ItemRect(FHot), true);
    FHot = Value;
    if (FHot >= 0) InvalidateRect(ItemRect(FHot), true);
}

void TMenuWindow::HighlightFirst() {
    SetHotIndex(-1);
    MoveHot(1);
}

bool TMenuWindow::Selectable(int Index) const {
    if (!FItem || Index < 0 || Index >= FItem->Count()) return false;
    const TMenuItem* Item = FItem->GetItem(Index);
    return Item->GetVisible() && !Item->IsLine();
}

void TMenuWindow::MoveHot(int Step) {
    const int N = FItem ? FItem->Count() : 0;
    int I = FHot;
    for (int Tries = 0; Tries < N; ++Tries) {
        I = I < 0 ? (Step > 0 ? 0 : N - 1) : (I + Step + N) % N;
        if (Selectable(I)) {
            SetHotIndex(I);
            return;
        }
    }
}

void TMenuWindow::OpenSubmenu(bool Keyboard) {
    if (!Selectable(FHot)) return;
    TMenuItem* Item = FItem->GetItem(FHot);
    if (Item->Count() == 0 || !Item->GetEnabled()) return;
    if (GetSubmenu() && FSubmenu->GetMenuItem() == Item) return;
    CloseSubmenu();
    if (!FSubmenu) FSubmenu = std::make_unique<TMenuWindow>(nullptr);
    FSubmenu->GetFont()->Assign(GetFont());
    FSubmenu->OnLeaveSideways = nullptr;
    const TRect R = ItemRect(FHot);
    TPoint P = ClientToScreen(Point(GetClientWidth() - MenuFrame, R.Top - MenuFrame));
    // Beside this menu, on its left when there is no room on its right.
    FSubmenu->FItem = Item;
    const TSize Size = FSubmenu->MeasureSize();
    if (P.X + Size.cx > Screen->GetWidth()) P.X = std::max(GetLeft() - Size.cx + MenuFrame, 0);
    FSubmenu->PopupItems(Item, P);
    if (Keyboard) FSubmenu->HighlightFirst();
}

void TMenuWindow::CloseSubmenu() {
    if (GetSubmenu()) FSubmenu->CloseUp(true);
}

void TMenuWindow::DoCloseUp(bool Cancelled) {
    FHot = -1;
    TPopupWindow::DoCloseUp(Cancelled);
}

void TMenuWindow::Choose(int Index) {
    if (!Selectable(Index)) return;
    TMenuItem* Item = FItem->GetItem(Index);
    if (!Item->GetEnabled()) return;
    SetHotIndex(Index);
    if (Item->Count() > 0) {
        OpenSubmenu(true);
        return;
    }
    // Every menu closes before the item's handler runs, which may open a
    // dialog of its own.
    CloseAll();
    Item->Click();
}

// --- painting
// ----------------------------------------------------------------------------------------

void TMenuWindow::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    TRect Frame = GetClientRect();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(Frame);
    DrawEdge(Canvas, Frame, EDGE_RAISED, BF_RECT);
    for (int I = 0; FItem && I < FItem->Count(); ++I) {
        const TMenuItem* Item = FItem->GetItem(I);
        const TRect R = ItemRect(I);
        if (R.IsEmpty()) continue;
        if (Item->IsLine()) {
            TRect Line = Rect(R.Left + 1, R.Top + SeparatorHeight / 2 - 1, R.Right - 1,
                              R.Top + SeparatorHeight / 2 + 1);
            DrawEdge(Canvas, Line, EDGE_ETCHED, BF_TOP);
            continue;
        }
        const bool Hot = I == FHot;
        Brush->SetStyle(bsSolid);
        Brush->SetColor(Hot ? clHighlight : GetColor());
        Canvas->FillRect(R);
        TFont* Font = Canvas->GetFont();
        Font->Assign(GetFont());
        if (Item->GetDefault()) Font->SetStyle({fsBold});
        // A disabled item under the highlight greys without the emboss,
        // which would not show on the highlight colour.
        const bool Plain = Item->GetEnabled() || Hot;
        if (Hot) Font->SetColor(Item->GetEnabled() ? clHighlightText : clGrayText);
        if (Item->GetChecked()) {
            const int CX = R.Left + Gutter / 2, CY = (R.Top + R.Bottom) / 2;
            Canvas->GetPen()->SetColor(Font->GetColor());
            Brush->SetColor(Font->GetColor());
            if (Item->GetRadioItem()) {
                Canvas->Ellipse(CX - 3, CY - 3, CX + 3, CY + 3);
            } else {
                for (int D = 0; D < 2; ++D)
                    Canvas->Polyline({Point(CX - 3, CY - 1 + D), Point(CX - 1, CY + 1 + D),
                                      Point(CX + 4, CY - 4 + D)});
            }
        }
        TRect Text = Rect(R.Left + Gutter, R.Top, R.Right - Gutter, R.Bottom);
        DrawCaption(Canvas, Item->GetCaption(), Text, DT_SINGLELINE | DT_VCENTER, Plain);
        DrawCaption(Canvas, ShortCutToText(Item->GetShortCut()), Text,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX, Plain);
        if (Item->Count() > 0) {
            // A small arrow pointing to the submenu.
            const int AX = R.Right - Gutter / 2 - 2, AY = (R.Top + R.Bottom) / 2;
            Canvas->GetPen()->SetColor(Font->GetColor());
            for (int D = 0; D < 4; ++D) {
                Canvas->MoveTo(AX + D, AY - 3 + D);
                Canvas->LineTo(AX + D, AY + 4 - D);
            }
        }
    }
}

// --- input
// --------------------------------------------------------------------------------------------

void TMenuWindow::MouseMove(TShiftState Shift, int X, int Y) {
    TPopupWindow::MouseMove(Shift, X, Y);
    if (!GetClientRect().Contains(Point(X, Y))) return;
    const int Index = ItemAtPos(Point(X, Y));
    if (Index == FHot) return;
    SetHotIndex(Selectable(Index) ? Index : -1);
    if (FHot >= 0 && FItem->GetItem(FHot)->Count() > 0)
        OpenSubmenu(false);
    else
        CloseSubmenu();
}

void TMenuWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TPopupWindow::MouseUp(Button, Shift, X, Y);
    if (Button == mbRight || Button == mbLeft) Choose(ItemAtPos(Point(X, Y)));
}

void TMenuWindow::KeyDown(unsigned short& Key, TShiftState Shift) {
    TPopupWindow::KeyDown(Key, Shift);
    switch (Key) {
    case VK_UP:
        MoveHot(-1);
        break;
    case VK_DOWN:
        MoveHot(1);
        break;
    case VK_HOME:
        HighlightFirst();
        break;
    case VK_END:
        SetHotIndex(-1);
        MoveHot(-1);
        break;
    case VK_RIGHT:
        if (FHot >= 0 && FItem->GetItem(FHot)->Count() > 0)
            OpenSubmenu(true);
        else if (OnLeaveSideways)
            OnLeaveSideways(1);
        break;
    case VK_LEFT:
        if (OnLeaveSideways)
            OnLeaveSideways(-1);
        else if (this != OpenPopups().front())
            CloseUp(true);
        break;
    case VK_RETURN:
    case VK_SPACE:
        Choose(FHot);
        break;
    case VK_ESCAPE:
        CloseUp(true);
        break;
    default:
        return;
    }
    Key = 0;
}

void TMenuWindow::KeyPress(char& Key) {
    TPopupWindow::KeyPress(Key);
    if (!FItem || static_cast<unsigned char>(Key) <= ' ') return;
    // The items whose accelerator is the key: one is chosen at once; among
    // several the highlight moves to the next.
    std::vector<int> Matches;
    for (int I = 0; I < FItem->Count(); ++I)
        if (Selectable(I) &&
            IsAccel(static_cast<unsigned char>(Key), FItem->GetItem(I)->GetCaption()))
            Matches.push_back(I);
    if (Matches.size() == 1) {
        SetHotIndex(Matches.front());
        Choose(Matches.front());
    } else if (!Matches.empty()) {
        auto Next = std::upper_bound(Matches.begin(), Matches.end(), FHot);
        SetHotIndex(Next == Matches.end() ? Matches.front() : *Next);
    }
}

} // namespace folio
