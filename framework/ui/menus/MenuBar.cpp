#include "framework/ui/menus/MenuBar.h"

#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/menus/MainMenu.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"
#include "framework/ui/paint/ControlPaint.h"

namespace folio {

FOLIO_DEFINE_CLASS(TMenuBar, TCustomControl)

namespace {
constexpr int EntryPadding = 7;
} // namespace

TMenuBar::TMenuBar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque});
    SetColor(clMenu);
    SetHeight(BarHeight());
}

TMenuBar::~TMenuBar() {
    FWindow.reset();
    SetMenu(nullptr);
}

TMenuItem* TMenuBar::Root() const {
    return FMenu ? FMenu->GetItems() : nullptr;
}

void TMenuBar::SetMenu(TMainMenu* Value) {
    if (Value == FMenu) return;
    if (GetWindow()) FWindow->CloseUp(true);
    if (FMenu) {
        FMenu->RemoveFreeNotification(this);
        FMenu->GetItems()->OnChange = nullptr;
    }
    FMenu = Value;
    if (FMenu) {
        FMenu->FreeNotification(this);
        FMenu->GetItems()->OnChange = [this](TObject*) { Invalidate(); };
    }
    FHot = FOpen = -1;
    Invalidate();
}

void TMenuBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu) {
        FMenu = nullptr;
        if (GetWindow()) FWindow->CloseUp(true);
        Invalidate();
    }
}

TMenuWindow* TMenuBar::GetWindow() const {
    return FWindow && FWindow->IsOpen() ? FWindow.get() : nullptr;
}

// --- geometry
// --------------------------------------------------------------------------------------

int TMenuBar::BarHeight() const {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    return Canvas->TextHeight("Wg") + 6;
}

TRect TMenuBar::EntryRect(int Index) const {
    TMenuItem* R = Root();
    if (!R || Index < 0 || Index >= R->Count() || !R->GetItem(Index)->GetVisible()) return TRect{};
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    int Left = 0;
    for (int I = 0; I <= Index; ++I) {
        const TMenuItem* Item = R->GetItem(I);
        if (!Item->GetVisible()) continue;
        TRect Text;
        DrawText(Canvas, Item->GetCaption(), Text, DT_CALCRECT | DT_SINGLELINE);
        const int Width = Text.Width() + 2 * EntryPadding;
        if (I == Index) return Rect(Left, 0, Left + Width, GetClientHeight());
        Left += Width;
    }
    return TRect{};
}

int TMenuBar::EntryAtPos(TPoint P) const {
    for (int I = 0; Root() && I < Root()->Count(); ++I)
        if (EntryRect(I).Contains(P)) return I;
    return -1;
}

int TMenuBar::NeighbourEntry(int Index, int Direction) const {
    const int N = Root() ? Root()->Count() : 0;
    for (int Step = 1; Step <= N; ++Step) {
        const int I = ((Index + Direction * Step) % N + N) % N;
        if (Root()->GetItem(I)->GetVisible()) return I;
    }
    return -1;
}

// --- opening
// ------------------------------------------------------------------------------------------

void TMenuBar::OpenEntry(int Index, bool Keyboard) {
    if (GetWindow()) FWindow->CloseUp(true);
    // Only once no items show may the program change them.
    if (FMenu && FMenu->OnUpdate) FMenu->OnUpdate(FMenu);
    TMenuItem* R = Root();
    if (!R || Index < 0 || Index >= R->Count()) return;
    TMenuItem* Item = R->GetItem(Index);
    if (!Item->GetVisible() || !Item->GetEnabled()) return;
    if (Item->Count() == 0) {
        Item->Click();
        return;
    }
    if (!FWindow) {
        FWindow = std::make_unique<TMenuWindow>(nullptr);
        FWindow->OnCloseUp = [this](TPopupWindow*, bool) {
            const int Was = FOpen;
            FOpen = -1;
            TellOpen(Was);
            Invalidate();
        };
        FWindow->OnLeaveSideways = [this](int Direction) {
            // Only entries with items open on the way; the others would
            // be clicked.
            int Next = FOpen;
            do Next = NeighbourEntry(Next, Direction);
            while (Next >= 0 && Next != FOpen && Root()->GetItem(Next)->Count() == 0);
            if (Next >= 0 && Next != FOpen) OpenEntry(Next, true);
        };
    }
    FWindow->GetFont()->Assign(GetFont());
    const TRect E = EntryRect(Index);
    FWindow->PopupItems(Item, ClientToScreen(Point(E.Left, E.Bottom)));
    FOpen = Index;
    TellOpen(Index);
    if (Keyboard) FWindow->HighlightFirst();
    Invalidate();
}

void TMenuBar::TellOpen(int Index) {
    if (TMenuItem* R = Root(); R && Index >= 0 && Index < R->Count())
        NotifyAccessible(this, R->GetItem(Index), TAccEvent::StateChanged);
}

void TMenuBar::SetHot(int Index) {
    if (Index == FHot) return;
    FHot = Index;
    Invalidate();
}

// --- painting
// -----------------------------------------------------------------------------------------

void TMenuBar::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    for (int I = 0; Root() && I < Root()->Count(); ++I) {
        TRect R = EntryRect(I);
        if (R.IsEmpty()) continue;
        const TMenuItem* Item = Root()->GetItem(I);
        if (I == FOpen)
            DrawEdge(Canvas, R, BDR_SUNKENOUTER, BF_RECT);
        else if (I == FHot && Item->GetEnabled())
            DrawEdge(Canvas, R, BDR_RAISEDINNER, BF_RECT);
        TRect Text = R;
        if (I == FOpen) Text = Rect(R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1);
        DrawCaption(Canvas, Item->GetCaption(), Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                    Item->GetEnabled());
    }
}

// --- input
// ---------------------------------------------------------------------------------------------

void TMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button == mbLeft) OpenEntry(EntryAtPos(Point(X, Y)), false);
}

void TMenuBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    const int Index = EntryAtPos(Point(X, Y));
    SetHot(Index);
    // With one menu open, the pointer moving along the bar opens the others.
    if (GetWindow() && Index >= 0 && Index != FOpen) OpenEntry(Index, false);
}

void TMenuBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSELEAVE:
        SetHot(-1);
        break;
    case CM_DIALOGCHAR:
        // Alt with an entry's accelerator opens it.
        if (Message.LParam && Root()) {
            for (int I = 0; I < Root()->Count(); ++I) {
                const TMenuItem* Item = Root()->GetItem(I);
                if (Item->GetVisible() && Item->GetEnabled() &&
                    IsAccel(static_cast<unsigned>(Message.WParam), Item->GetCaption())) {
                    OpenEntry(I, true);
                    Message.Result = 1;
                    return;
                }
            }
        }
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

// --- accessibility
// -------------------------------------------------------------------------------------

// What a screen reader finds in the bar: it paints its entries itself, so
// each shown entry gets a node of its own, named as it reads, whose "press"
// opens its items as a click does (an entry without items is clicked).
namespace {

// The indices among the menu's items of the entries the bar shows.
std::vector<int> ShownEntries(const TMenuBar* Bar) {
    std::vector<int> Shown;
    const TMenuItem* Root = Bar->GetMenu() ? Bar->GetMenu()->GetItems() : nullptr;
    for (int I = 0; Root && I < Root->Count(); ++I)
        if (Root->GetItem(I)->GetVisible()) Shown.push_back(I);
    return Shown;
}

class TMenuEntryAccessible : public TAccessible {
public:
    TMenuEntryAccessible(TMenuBar* Bar, int Index) : FBar(Bar), FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::MenuItem; }
    String GetName() const override { return StripHotkey(Item()->GetCaption()); }
    unsigned GetStates() const override {
        unsigned S = Item()->GetEnabled() ? 0u : asDisabled;
        if (Item()->Count() > 0)
            S |= asExpandable | (FBar->GetOpenIndex() == FIndex ? asExpanded : 0u);
        return S;
    }
    TRect GetBounds() const override {
        const TRect R = FBar->EntryRect(FIndex);
        const TPoint P = FBar->ClientToScreen(Point(R.Left, R.Top));
        return Bounds(P.X, P.Y, R.Width(), R.Height());
    }
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String& Action) override {
        if (Action != "press" || !Item()->GetEnabled() || !FBar->GetEnabled()) return false;
        FBar->OpenEntry(FIndex, true);
        return true;
    }
    const void* GetKey() const override { return Item(); }

private:
    TMenuItem* Item() const { return FBar->GetMenu()->GetItems()->GetItem(FIndex); }

    TMenuBar* FBar;
    int FIndex;
};

class TMenuBarAccessible : public TControlAccessible {
public:
    explicit TMenuBarAccessible(TControl* C) : TControlAccessible(C, TAccRole::MenuBar) {}
    // The bar has no caption; it is the form's main menu.
    String GetName() const override { return "Main menu"; }
    int GetChildCount() const override { return static_cast<int>(ShownEntries(Bar()).size()); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        const auto Shown = ShownEntries(Bar());
        if (Index < 0 || Index >= static_cast<int>(Shown.size())) return nullptr;
        return std::make_unique<TMenuEntryAccessible>(Bar(), Shown[static_cast<size_t>(Index)]);
    }

private:
    TMenuBar* Bar() const { return static_cast<TMenuBar*>(FControl); }
};

std::unique_ptr<TAccessible> MakeMenuBarAccessible(TControl* C) {
    return std::make_unique<TMenuBarAccessible>(C);
}

const TAccessibleRegistration MenuBarAccessible(TMenuBar::StaticClassInfo(), MakeMenuBarAccessible);

} // namespace

} // namespace folio
