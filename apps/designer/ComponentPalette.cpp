#include "ComponentPalette.h"

#include "framework/core/ColorConsts.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/ControlMessages.h"
#include "framework/ui/input/MouseFlags.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace designer {

using namespace folio;

namespace {

constexpr int TabWidth = 96;
constexpr int ArrowWidth = 28;
constexpr int SmallIcon = 24;
constexpr int LargeIcon = 48;
// Between an icon and its button's edge, on each side together.
constexpr int IconMargin = 4;

// Class names are ASCII; their case does not matter to a filter.
String LowerCase(String Text) {
    for (char& C : Text) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
    return Text;
}

String ShortName(const TClassInfo& Class) {
    return Class.Name.size() > 1 && Class.Name[0] == 'T' ? Class.Name.substr(1) : Class.Name;
}

} // namespace

TComponentPalette::TComponentPalette(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clBtnFace);
    SetDoubleBuffered(true);
    SetShowHint(true);
    // Two rows of tabs over two rows of buttons; scaling the palette scales
    // this.
    SetHeight(TabHeight * 2 + (SmallIcon + IconMargin) * 2 + 6);
}

void TComponentPalette::Reload() {
    FPages.clear();
    for (const TComponentPaletteEntry& E : DesignRegistry().PaletteEntries())
        if (std::find(FPages.begin(), FPages.end(), E.Page) == FPages.end())
            FPages.push_back(E.Page);
    const String Page = std::find(FPages.begin(), FPages.end(), FPage) != FPages.end()
                            ? FPage
                            : (FPages.empty() ? String() : FPages.front());
    FPage.clear();
    SetPage(Page);
}

void TComponentPalette::SetPage(const String& Page) {
    FPage = Page;
    FTopRow = 0;
    FEntries.clear();
    const String Wanted = LowerCase(FFilter);
    for (const TComponentPaletteEntry& E : DesignRegistry().PaletteEntries()) {
        if (Wanted.empty() ? E.Page != Page : LowerCase(E.Class->Name).find(Wanted) == String::npos)
            continue;
        // A class on two pages shows once under a filter.
        if (std::find(FEntries.begin(), FEntries.end(), E.Class) == FEntries.end())
            FEntries.push_back(E.Class);
    }
    if (FChosen && std::find(FEntries.begin(), FEntries.end(), FChosen) == FEntries.end())
        SetChosen(nullptr);
    Invalidate();
    NotifyAccessible(this, TAccEvent::ChildrenChanged);
}

void TComponentPalette::SetFilter(const String& Text) {
    if (Text == FFilter) return;
    FFilter = Text;
    SetPage(FPage);
}

void TComponentPalette::SetChosen(const TClassInfo* Class) {
    if (Class == FChosen) return;
    const TClassInfo* Was = std::exchange(FChosen, Class);
    Invalidate();
    // A screen reader hears both buttons: the one let up and the one pressed.
    NotifyAccessible(this, ButtonKey(Was), TAccEvent::StateChanged);
    NotifyAccessible(this, ButtonKey(Class), TAccEvent::StateChanged);
    if (OnChoose) OnChoose(Class);
}

const void* TComponentPalette::ButtonKey(const TClassInfo* Class) const {
    // The arrow is no class: the list of pages stands for it, as nothing
    // else of the palette is known by that address.
    return Class ? static_cast<const void*>(Class) : static_cast<const void*>(&FPages);
}

TRect TComponentPalette::PageTabRect(int Index) const {
    // Each tab as wide as its name needs; the tabs flow into rows, so that
    // many pages fit a narrow window.
    const int Height = ScalePixels(TabHeight);
    int Left = 0;
    int Top = 0;
    for (int I = 0; I <= Index && I < static_cast<int>(FPages.size()); ++I) {
        const int Width =
            std::min(ScalePixels(TabWidth), GetCanvas()->TextWidth(FPages[I]) + ScalePixels(14));
        if (Left + Width > GetClientWidth() && Left > 0) {
            Left = 0;
            Top += Height;
        }
        if (I == Index) return Rect(Left, Top, Left + Width, Top + Height);
        Left += Width;
    }
    return TRect();
}

int TComponentPalette::TabsBottom() const {
    return FPages.empty() ? ScalePixels(TabHeight)
                          : PageTabRect(static_cast<int>(FPages.size()) - 1).Bottom;
}

int TComponentPalette::IconSize() const {
    // The larger icon once the small one would be drawn at half again its
    // size or more: scaling a 24-pixel drawing blurs, drawing at 48 does not.
    return ScalePixels(SmallIcon) >= SmallIcon * 3 / 2 ? LargeIcon : SmallIcon;
}

int TComponentPalette::EntryHeight() const {
    return std::max(ScalePixels(ButtonHeight), IconSize() + ScalePixels(IconMargin));
}

int TComponentPalette::EntryWidth(int Index) const {
    if (Index < 0) return ScalePixels(ArrowWidth);
    // A class with an icon shows the icon alone (its name is the button's
    // tooltip); one without shows its name.
    if (ComponentIcon(*FEntries[Index])) return IconSize() + ScalePixels(IconMargin);
    const String Name = ShortName(*FEntries[Index]);
    return std::max(ScalePixels(40), GetCanvas()->TextWidth(Name) + ScalePixels(12));
}

TRect TComponentPalette::EntryRect(int Index) const {
    // The buttons flow in rows under the tabs; the rows above FTopRow are
    // scrolled away, above the tabs' foot.
    const int Gap = ScalePixels(2);
    int X = Gap;
    int Y = TabsBottom() + Gap - FTopRow * (EntryHeight() + Gap);
    for (int I = -1; I <= Index; ++I) {
        const int W = EntryWidth(I);
        if (X + W > GetClientWidth() - Gap && X > Gap) {
            X = Gap;
            Y += EntryHeight() + Gap;
        }
        if (I == Index) return Rect(X, Y, X + W, Y + EntryHeight());
        X += W + Gap;
    }
    return TRect();
}

int TComponentPalette::EntryAt(TPoint P) const {
    if (P.Y < TabsBottom()) return -2;
    for (int I = -1; I < static_cast<int>(FEntries.size()); ++I)
        if (EntryRect(I).Contains(P)) return I;
    return -2;
}

int TComponentPalette::RowsShown() const {
    const int Gap = ScalePixels(2);
    return std::max((GetClientHeight() - TabsBottom() - Gap) / (EntryHeight() + Gap), 1);
}

int TComponentPalette::RowCount() const {
    const int Gap = ScalePixels(2);
    const TRect First = EntryRect(-1);
    const TRect Last = EntryRect(static_cast<int>(FEntries.size()) - 1);
    return (Last.Top - First.Top) / (EntryHeight() + Gap) + 1;
}

void TComponentPalette::SetTopRow(int Value) {
    Value = std::clamp(Value, 0, std::max(RowCount() - RowsShown(), 0));
    if (Value == FTopRow) return;
    FTopRow = Value;
    Invalidate();
}

bool TComponentPalette::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopRow(FTopRow - WheelDelta / WHEEL_DELTA);
    return true;
}

TRect TComponentPalette::IconRect(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FEntries.size()) || !ComponentIcon(*FEntries[Index]))
        return TRect();
    const TRect R = EntryRect(Index);
    const int Size = IconSize();
    return Bounds(R.Left + (R.Width() - Size) / 2, R.Top + (R.Height() - Size) / 2, Size, Size);
}

String TComponentPalette::EntryHint(int Index) const {
    if (Index < 0 || Index >= static_cast<int>(FEntries.size())) return String();
    return ShortName(*FEntries[Index]);
}

void TComponentPalette::Paint() {
    TCanvas* C = GetCanvas();
    C->GetFont()->Assign(GetFont());
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(GetClientRect());
    C->SetBkMode(TRANSPARENT);
    for (int I = 0; I < static_cast<int>(FPages.size()); ++I) {
        TRect R = PageTabRect(I);
        const bool Shown = FPages[I] == FPage;
        // The shown page's tab is light; TextRect fills with the brush, so
        // every tab sets its own.
        C->GetBrush()->SetColor(Shown ? clWindow : clBtnFace);
        C->FillRect(R);
        TRect Edge = R;
        DrawEdge(C->GetHandle(), Edge, Shown ? EDGE_RAISED : BDR_SUNKENOUTER, BF_RECT);
        C->SetBkMode(TRANSPARENT);
        C->GetFont()->SetColor(clWindowText);
        C->TextRect(R, R.Left + ScalePixels(6), R.Top + (R.Height() - C->TextHeight(FPages[I])) / 2,
                    FPages[I]);
    }
    for (int I = -1; I < static_cast<int>(FEntries.size()); ++I) {
        TRect R = EntryRect(I);
        // Rows scrolled away stay under the tabs.
        if (R.Top < TabsBottom()) continue;
        const bool Down = I < 0 ? FChosen == nullptr : FEntries[I] == FChosen;
        C->GetBrush()->SetColor(Down ? clWindow : clBtnFace);
        C->FillRect(R);
        TRect Edge = R;
        DrawEdge(C->GetHandle(), Edge, Down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        C->SetBkMode(TRANSPARENT);
        if (I < 0) {
            // The arrow: choose nothing, select on the form. Drawn in the
            // text colour, so that it shows on a dark face as well.
            const int X = R.Left + ScalePixels(10);
            const int Y = R.Top + (R.Height() - ScalePixels(15)) / 2;
            auto P = [&](int DX, int DY) {
                return Point(X + ScalePixels(DX), Y + ScalePixels(DY));
            };
            C->GetBrush()->SetColor(clWindowText);
            C->GetPen()->SetColor(clWindowText);
            C->Polygon({P(0, 0), P(0, 13), P(3, 10), P(6, 15), P(8, 14), P(5, 9), P(9, 9)});
            continue;
        }
        if (const TRect Icon = IconRect(I); !Icon.IsEmpty()) {
            // An icon draws with the canvas's tools as it likes, inside its
            // square; the next button sets what it needs again.
            C->SelectClipRect(Icon);
            ComponentIcon (*FEntries[I])(C, Icon);
            C->RemoveClipRect();
            C->GetFont()->Assign(GetFont());
            C->GetPen()->SetWidth(1);
            C->GetBrush()->SetStyle(bsSolid);
            continue;
        }
        const String Name = ShortName(*FEntries[I]);
        C->GetFont()->SetColor(clWindowText);
        C->TextRect(R, R.Left + ScalePixels(6), R.Top + (R.Height() - C->TextHeight(Name)) / 2,
                    Name);
    }
}

void TComponentPalette::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg != CM_HINTSHOW) return;
    // Each button its own tooltip: the name of its class.
    auto* Info = reinterpret_cast<THintInfo*>(Message.LParam);
    const int Entry = EntryAt(Info->CursorPos);
    Info->HintStr = EntryHint(Entry);
    if (Entry >= 0) {
        Info->CursorRect = EntryRect(Entry);
        Info->HintPos = ClientToScreen(Point(Info->CursorRect.Left, Info->CursorRect.Bottom));
    }
}

void TComponentPalette::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const TPoint P = Point(X, Y);
    for (int I = 0; I < static_cast<int>(FPages.size()); ++I)
        if (PageTabRect(I).Contains(P)) {
            SetPage(FPages[I]);
            return;
        }
    if (const int I = EntryAt(P); I >= -1) SetChosen(I < 0 ? nullptr : FEntries[I]);
}

} // namespace designer
