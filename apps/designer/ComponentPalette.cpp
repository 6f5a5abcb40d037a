#include "ComponentPalette.h"

#include "framework/core/ColorConsts.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"

#include <algorithm>
#include <cctype>

namespace designer {

using namespace folio;

namespace {

constexpr int TabWidth = 96;
constexpr int ArrowWidth = 28;

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
    SetHeight(TabHeight + ButtonHeight * 2 + 6);
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
}

void TComponentPalette::SetFilter(const String& Text) {
    if (Text == FFilter) return;
    FFilter = Text;
    SetPage(FPage);
}

void TComponentPalette::SetChosen(const TClassInfo* Class) {
    if (Class == FChosen) return;
    FChosen = Class;
    Invalidate();
    if (OnChoose) OnChoose(Class);
}

TRect TComponentPalette::PageTabRect(int Index) const {
    return Rect(Index * TabWidth, 0, (Index + 1) * TabWidth, TabHeight);
}

int TComponentPalette::EntryWidth(int Index) const {
    if (Index < 0) return ArrowWidth;
    const String Name = ShortName(*FEntries[Index]);
    return std::max(40, GetCanvas()->TextWidth(Name) + 12);
}

TRect TComponentPalette::EntryRect(int Index) const {
    // The buttons flow in rows under the tabs.
    int X = 2;
    int Y = TabHeight + 2;
    for (int I = -1; I <= Index; ++I) {
        const int W = EntryWidth(I);
        if (X + W > GetClientWidth() - 2 && X > 2) {
            X = 2;
            Y += ButtonHeight + 2;
        }
        if (I == Index) return Rect(X, Y, X + W, Y + ButtonHeight);
        X += W + 2;
    }
    return TRect();
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
        if (Shown) {
            C->GetBrush()->SetColor(clWindow);
            C->FillRect(R);
        }
        TRect Edge = R;
        DrawEdge(C->GetHandle(), Edge, Shown ? EDGE_RAISED : BDR_SUNKENOUTER, BF_RECT);
        C->SetBkMode(TRANSPARENT);
        C->GetFont()->SetColor(clWindowText);
        C->TextRect(R, R.Left + 6, R.Top + (TabHeight - C->TextHeight(FPages[I])) / 2, FPages[I]);
    }
    for (int I = -1; I < static_cast<int>(FEntries.size()); ++I) {
        TRect R = EntryRect(I);
        const bool Down = I < 0 ? FChosen == nullptr : FEntries[I] == FChosen;
        C->GetBrush()->SetColor(Down ? clWindow : clBtnFace);
        C->FillRect(R);
        TRect Edge = R;
        DrawEdge(C->GetHandle(), Edge, Down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        C->SetBkMode(TRANSPARENT);
        if (I < 0) {
            // The arrow: choose nothing, select on the form. Drawn in the
            // text colour, so that it shows on a dark face as well.
            const int X = R.Left + 10;
            const int Y = R.Top + 5;
            C->GetBrush()->SetColor(clWindowText);
            C->GetPen()->SetColor(clWindowText);
            C->Polygon({Point(X, Y), Point(X, Y + 13), Point(X + 3, Y + 10), Point(X + 6, Y + 15),
                        Point(X + 8, Y + 14), Point(X + 5, Y + 9), Point(X + 9, Y + 9)});
            continue;
        }
        const String Name = ShortName(*FEntries[I]);
        C->GetFont()->SetColor(clWindowText);
        C->TextRect(R, R.Left + 6, R.Top + (ButtonHeight - C->TextHeight(Name)) / 2, Name);
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
    for (int I = -1; I < static_cast<int>(FEntries.size()); ++I)
        if (EntryRect(I).Contains(P)) {
            SetChosen(I < 0 ? nullptr : FEntries[I]);
            return;
        }
}

} // namespace designer
