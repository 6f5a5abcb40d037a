#include "ObjectInspector.h"

#include "FormDesigner.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/Component.h"
#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/design/DesignRegistry.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ColorSchemes.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/Cursors.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace designer {

using namespace folio;

namespace {

const char* const PageNames[] = {"Properties", "Events"};
constexpr int Indent = 12;
constexpr int MaxListLines = 10;

void DrawButton(TCanvas* C, TRect R, bool Ellipsis) {
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(R);
    TRect Edge = R;
    DrawEdge(C->GetHandle(), Edge, EDGE_RAISED, BF_RECT);
    // The glyph in the button text's colour: legible on a dark face too.
    C->GetBrush()->SetColor(clBtnText);
    C->GetPen()->SetColor(clBtnText);
    const int CX = (R.Left + R.Right) / 2;
    const int CY = (R.Top + R.Bottom) / 2;
    if (Ellipsis) {
        for (int I = -1; I <= 1; ++I)
            C->FillRect(Rect(CX + I * 3 - 1, CY + 2, CX + I * 3 + 1, CY + 4));
    } else {
        C->Polygon({Point(CX - 3, CY - 1), Point(CX + 3, CY - 1), Point(CX, CY + 2)});
    }
}

// A scroll bar over Count lines of which Shown fit, the first shown at Top.
void ShowLines(TScrollBar* Bar, int Top, int Count, int Shown) {
    // The page goes first: the old one may not fit the new range.
    Bar->SetPageSize(0);
    Bar->SetParams(Top, 0, Count - 1);
    Bar->SetPageSize(Shown);
    Bar->SetLargeChange(Shown);
}

} // namespace

// The box values are typed into: Enter, Escape and the arrows are its own,
// never the window's default or cancel button or a focus move.
class TInspectorEdit : public TEdit {
public:
    using TEdit::TEdit;
    void Dispatch(TMessage& Message) override {
        TEdit::Dispatch(Message);
        if (Message.Msg == WM_GETDLGCODE) Message.Result |= DLGC_WANTALLKEYS | DLGC_WANTARROWS;
    }
};

// --- construction and rows --------------------------------------------------------------

TObjectInspector::TObjectInspector(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clWindow);
    SetDoubleBuffered(true);
    // Each row has a tooltip of its own (CM_HINTSHOW below).
    SetShowHint(true);
    FEdit = new TInspectorEdit(this);
    FEdit->SetBorderStyle(bsNone);
    FEdit->SetVisible(false);
    FEdit->SetParent(this);
    FEdit->OnKeyDown = [this](TObject*, unsigned short& Key, TShiftState) { ValueEditKey(Key); };
    FList = new TValueList(this);
    FList->SetVisible(false);
    FList->SetParent(this);
    FList->OnChoose = [this](const String&) { CloseUp(true); };
    // More rows than fit: the bar shows that there are, and where the
    // shown ones are.
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->OnChange = [this](TObject*) { SetTopRow(FScrollBar->GetPosition()); };
}

TObjectInspector::~TObjectInspector() = default;

void TObjectInspector::SetDesigner(TFormDesigner* Designer) {
    FDesigner = Designer;
    Rebuild();
}

void TObjectInspector::AddRows(std::unique_ptr<TPropertyEditor> Editor, const String& ParentPath,
                               int Depth) {
    TRow Row;
    Row.Attributes = Editor->GetAttributes();
    Row.Path = ParentPath.empty() ? Editor->GetName() : ParentPath + "." + Editor->GetName();
    Row.Depth = Depth;
    Row.Expanded = Row.Attributes.Contains(paSubProperties) && FExpanded.count(Row.Path) > 0;
    Row.Editor = std::move(Editor);
    TPropertyEditor* Parent = Row.Editor.get();
    const bool Expanded = Row.Expanded;
    const String Path = Row.Path;
    FRows.push_back(std::move(Row));
    if (Expanded)
        Parent->GetProperties([this, &Path, Depth](std::unique_ptr<TPropertyEditor> Sub) {
            Sub->Initialize();
            AddRows(std::move(Sub), Path, Depth + 1);
        });
}

void TObjectInspector::Rebuild() {
    const String Current = FCurrent >= 0 && FCurrent < RowCount() ? FRows[FCurrent].Path : "";
    FList->SetVisible(false);
    FListRow = -1;
    FRows.clear();
    FCurrent = -1;
    if (FDesigner && FDesigner->GetSelection()) {
        const TTypeKinds& Kinds = FPage == ipProperties ? PropertyKinds() : EventKinds();
        // Several selected show the properties they share, set on all.
        DesignRegistry().GetComponentProperties(
            FDesigner->GetSelectionList(), FDesigner,
            [this](std::unique_ptr<TPropertyEditor> Editor) { AddRows(std::move(Editor), "", 0); },
            Kinds);
    }
    FCurrent = FindRow(Current);
    FTopRow = std::clamp(FTopRow, 0, std::max(0, RowCount() - VisibleRows()));
    UpdateScrollBar();
    PlaceEdit();
    Invalidate();
    NotifyAccessible(this, TAccEvent::ChildrenChanged);
}

void TObjectInspector::UpdateScrollBar() {
    const bool Needed = RowCount() > VisibleRows();
    if (Needed) {
        FScrollBar->SetBounds(GetClientWidth() - ButtonWidth, FirstRowTop(), ButtonWidth,
                              VisibleRows() * RowHeight);
        ShowLines(FScrollBar, FTopRow, RowCount(), VisibleRows());
    }
    FScrollBar->SetVisible(Needed);
}

int TObjectInspector::RowsRight() const {
    return GetClientWidth() - (FScrollBar->GetVisible() ? FScrollBar->GetWidth() : 0);
}

void TObjectInspector::RefreshValues() {
    PlaceEdit();
    Invalidate();
}

void TObjectInspector::SetPage(TPage Value) {
    if (Value == FPage) return;
    FPage = Value;
    FCurrent = -1;
    Rebuild();
}

String TObjectInspector::RowValue(int Row) const {
    TPropertyEditor* Editor = FRows[Row].Editor.get();
    try {
        return Editor->AllEqual() ? Editor->GetValue() : String();
    } catch (const Exception& E) {
        return "(" + E.Message() + ")";
    }
}

int TObjectInspector::FindRow(const String& Path) const {
    for (int I = 0; I < RowCount(); ++I)
        if (FRows[I].Path == Path) return I;
    return -1;
}

void TObjectInspector::SetCurrentRow(int Row) {
    if (Row < -1 || Row >= RowCount()) Row = -1;
    if (Row != FListRow) CloseUp(false);
    FCurrent = Row;
    PlaceEdit();
    Invalidate();
}

// --- geometry ------------------------------------------------------------------------------

int TObjectInspector::NameColumn() const {
    if (FNameWidth <= 0) return std::max(60, GetClientWidth() * 2 / 5);
    // Some of either column stays in sight whatever the drag or the width.
    return std::max(30, std::min(FNameWidth, RowsRight() - 30));
}

bool TObjectInspector::OnColumnLine(int X, int Y) const {
    return RowAt(Y) >= 0 && std::abs(X - NameColumn()) <= 2;
}

TRect TObjectInspector::TabRect(TPage Page) const {
    const int W = GetClientWidth() / 2;
    const int Left = Page == ipProperties ? 0 : W;
    return Rect(Left, HeaderHeight, Page == ipProperties ? W : GetClientWidth(),
                HeaderHeight + TabHeight);
}

TRect TObjectInspector::RowRect(int Row) const {
    const int Top = FirstRowTop() + (Row - FTopRow) * RowHeight;
    return Rect(0, Top, RowsRight(), Top + RowHeight);
}

TRect TObjectInspector::NameRect(int Row) const {
    TRect R = RowRect(Row);
    R.Right = NameColumn();
    return R;
}

TRect TObjectInspector::ValueRect(int Row) const {
    TRect R = RowRect(Row);
    R.Left = NameColumn() + 1;
    return R;
}

TRect TObjectInspector::ExpanderRect(int Row) const {
    const TRect R = RowRect(Row);
    const int Left = 2 + FRows[Row].Depth * Indent;
    const int Top = R.Top + (RowHeight - 9) / 2;
    return Rect(Left, Top, Left + 9, Top + 9);
}

TRect TObjectInspector::EllipsisRect(int Row) const {
    if (!FRows[Row].Attributes.Contains(paDialog)) return TRect();
    const TRect R = ValueRect(Row);
    return Rect(R.Right - ButtonWidth, R.Top + 1, R.Right, R.Bottom - 1);
}

TRect TObjectInspector::ArrowRect(int Row) const {
    if (!FRows[Row].Attributes.Contains(paValueList)) return TRect();
    const TRect R = ValueRect(Row);
    const int Right = FRows[Row].Attributes.Contains(paDialog) ? R.Right - ButtonWidth : R.Right;
    return Rect(Right - ButtonWidth, R.Top + 1, Right, R.Bottom - 1);
}

int TObjectInspector::RowAt(int Y) const {
    if (Y < FirstRowTop()) return -1;
    const int Row = FTopRow + (Y - FirstRowTop()) / RowHeight;
    return Row < RowCount() ? Row : -1;
}

int TObjectInspector::VisibleRows() const {
    // The last line is kept for messages.
    return std::max(1, (GetClientHeight() - FirstRowTop()) / RowHeight - 1);
}

void TObjectInspector::SetTopRow(int Value) {
    Value = std::clamp(Value, 0, std::max(0, RowCount() - VisibleRows()));
    if (Value == FTopRow) return;
    FTopRow = Value;
    FScrollBar->SetPosition(FTopRow);
    CloseUp(false);
    PlaceEdit();
    Invalidate();
}

void TObjectInspector::ScrollIntoView(int Row) {
    if (Row < FTopRow)
        SetTopRow(Row);
    else if (Row >= FTopRow + VisibleRows())
        SetTopRow(Row - VisibleRows() + 1);
}

bool TObjectInspector::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
    SetTopRow(FTopRow - WheelDelta / 40);
    return true;
}

void TObjectInspector::Resize() {
    TCustomControl::Resize();
    SetTopRow(FTopRow);
    UpdateScrollBar();
    PlaceEdit();
}

// Puts the value box over the current row's value, left of its buttons.
void TObjectInspector::MoveEdit() {
    TRect R = ValueRect(FCurrent);
    for (const TRect& Button : {ArrowRect(FCurrent), EllipsisRect(FCurrent)})
        if (!Button.IsEmpty()) R.Right = std::min(R.Right, Button.Left);
    FEdit->SetBounds(R.Left + 2, R.Top + 1, std::max(1, R.Width() - 3), R.Height() - 2);
}

void TObjectInspector::PlaceEdit() {
    if (!FEdit) return;
    if (FCurrent < 0 || FCurrent >= RowCount() || FCurrent < FTopRow ||
        FCurrent >= FTopRow + VisibleRows()) {
        FEdit->SetVisible(false);
        return;
    }
    MoveEdit();
    FEdit->SetText(RowValue(FCurrent));
    FEdit->SetReadOnly(FRows[FCurrent].Attributes.Contains(paReadOnly));
    FEdit->SetVisible(true);
    // The box is named after the row it edits, so a screen reader hears
    // which property it is on when the row changes.
    if (RowPath(FCurrent) != FEditName) {
        FEditName = RowPath(FCurrent);
        NotifyAccessible(FEdit, TAccEvent::NameChanged);
    }
}

// --- changes --------------------------------------------------------------------------------

bool TObjectInspector::ApplyValue(int Row, const String& Text) {
    if (Row < 0 || Row >= RowCount()) return false;
    if (FDesigner) FDesigner->BeginChange();
    // The designer's change may rebuild the rows: nothing below uses them.
    TScopeGuard End([this] {
        if (FDesigner) FDesigner->EndChange();
    });
    try {
        FRows[Row].Editor->SetValue(Text);
        FMessage.clear();
    } catch (const Exception& E) {
        FMessage = E.Message();
        PlaceEdit();
        Invalidate();
        return false;
    }
    return true;
}

String TObjectInspector::RowHint(int Row) const {
    if (Row < 0 || Row >= RowCount()) return String();
    const TPropInfo& Info = FRows[Row].Editor->GetPropInfo();
    String Type = Info.TypeName;
    if (Type.empty()) {
        static const char* const KindNames[] = {"Integer", "Boolean", "Enumeration",
                                                "String",  "Colour",  "Set"};
        const auto Kind = static_cast<std::size_t>(Info.Kind);
        Type = Kind < std::size(KindNames) ? KindNames[Kind] : "Property";
    }
    const String Value = RowValue(Row);
    return FRows[Row].Path + ": " + Type + (Value.empty() ? String() : "\n" + Value);
}

void TObjectInspector::Dispatch(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (Message.Msg != CM_HINTSHOW) return;
    auto* Info = reinterpret_cast<THintInfo*>(Message.LParam);
    const int Row = RowAt(Info->CursorPos.Y);
    // Outside the rows (the tabs, the header) there is nothing to tell.
    Info->HintStr = RowHint(Row);
    if (Row >= 0) {
        Info->CursorRect = RowRect(Row);
        Info->HintPos = ClientToScreen(Point(Info->CursorRect.Left, Info->CursorRect.Bottom));
    }
}

void TObjectInspector::Changed() {
    PlaceEdit();
    Invalidate();
}

void TObjectInspector::ToggleExpanded(int Row) {
    if (Row < 0 || Row >= RowCount() || !FRows[Row].Attributes.Contains(paSubProperties)) return;
    const String Path = FRows[Row].Path;
    if (FExpanded.count(Path))
        FExpanded.erase(Path);
    else
        FExpanded.insert(Path);
    FCurrent = Row;
    Rebuild();
}

void TObjectInspector::RunEdit(int Row) {
    if (Row < 0 || Row >= RowCount()) return;
    if (FDesigner) FDesigner->BeginChange();
    TScopeGuard End([this] {
        if (FDesigner) FDesigner->EndChange();
    });
    try {
        FRows[Row].Editor->Edit();
        FMessage.clear();
    } catch (const Exception& E) {
        FMessage = E.Message();
    }
    Changed();
}

void TObjectInspector::DropDown(int Row) {
    if (Row < 0 || Row >= RowCount() || !FRows[Row].Attributes.Contains(paValueList)) return;
    std::vector<String> Items;
    FRows[Row].Editor->GetValues([&Items](const String& V) { Items.push_back(V); });
    if (FRows[Row].Attributes.Contains(paSortList)) std::sort(Items.begin(), Items.end());
    FListRow = Row;
    FList->SetItems(std::move(Items), RowValue(Row));
    const TRect R = ValueRect(Row);
    const int Lines = std::clamp(static_cast<int>(FList->GetItems().size()), 1, MaxListLines);
    const int Height = Lines * RowHeight + 2;
    // Below the row, or above it when the inspector ends first.
    const int Top =
        R.Bottom + Height <= GetClientHeight() || R.Top - Height < 0 ? R.Bottom : R.Top - Height;
    FList->SetBounds(R.Left, Top, R.Width(), Height);
    FList->ScrollIntoView(FList->GetItemIndex());
    FList->SetVisible(true);
    FList->BringToFront();
}

void TObjectInspector::CloseUp(bool Accept) {
    if (FListRow < 0) return;
    const int Row = FListRow;
    FListRow = -1;
    FList->SetVisible(false);
    const int Index = FList->GetItemIndex();
    if (Accept && Index >= 0 && Index < static_cast<int>(FList->GetItems().size()))
        ApplyValue(Row, FList->GetItems()[Index]);
}

void TObjectInspector::ValueEditKey(unsigned short& Key) {
    if (Key == VK_RETURN) {
        Key = 0;
        if (FCurrent >= 0 && !FRows[FCurrent].Attributes.Contains(paReadOnly))
            ApplyValue(FCurrent, FEdit->GetText());
    } else if (Key == VK_ESCAPE) {
        Key = 0;
        CloseUp(false);
        PlaceEdit();
    } else if (Key == VK_UP || Key == VK_DOWN) {
        if (FListRow >= 0) {
            FList->SetItemIndex(FList->GetItemIndex() + (Key == VK_UP ? -1 : 1));
        } else {
            const int Row = FCurrent + (Key == VK_UP ? -1 : 1);
            if (Row >= 0 && Row < RowCount()) {
                ScrollIntoView(Row);
                SetCurrentRow(Row);
            }
        }
        Key = 0;
    }
}

String TObjectInspector::HeaderText() const {
    if (!FDesigner || !FDesigner->GetSelection()) return "(nothing selected)";
    if (const size_t Count = FDesigner->GetSelectionList().size(); Count > 1)
        return IntToStr(static_cast<long long>(Count)) + " components selected";
    TPersistent* S = FDesigner->GetSelection();
    const auto* Component = dynamic_cast<TComponent*>(S);
    return (Component ? Component->GetName() : S->GetNamePath()) + ": " + S->ClassName();
}

// --- painting -------------------------------------------------------------------------------

void TObjectInspector::Paint() {
    TCanvas* C = GetCanvas();
    C->GetFont()->Assign(GetFont());
    const int W = GetClientWidth();
    C->GetBrush()->SetColor(clBtnFace);
    C->FillRect(Rect(0, 0, W, FirstRowTop()));
    C->GetFont()->SetColor(clWindowText);
    C->SetBkMode(TRANSPARENT);
    C->TextOut(4, 3, HeaderText());
    for (TPage Page : {ipProperties, ipEvents}) {
        TRect Tab = TabRect(Page);
        if (Page == FPage) {
            C->GetBrush()->SetColor(clWindow);
            C->FillRect(Tab);
        }
        TRect Edge = Tab;
        DrawEdge(C->GetHandle(), Edge, Page == FPage ? EDGE_RAISED : BDR_SUNKENOUTER, BF_RECT);
        C->SetBkMode(TRANSPARENT);
        const String Name = PageNames[Page];
        C->TextOut((Tab.Left + Tab.Right - C->TextWidth(Name)) / 2,
                   Tab.Top + (TabHeight - C->TextHeight(Name)) / 2, Name);
    }
    C->GetBrush()->SetColor(clWindow);
    C->FillRect(Rect(0, FirstRowTop(), W, GetClientHeight()));
    const int Split = NameColumn();
    for (int I = FTopRow; I < std::min(RowCount(), FTopRow + VisibleRows()); ++I) {
        const TRect Row = RowRect(I);
        const TRow& R = FRows[I];
        // A text rectangle fills with the brush first: each one is given the
        // colour it stands on, whatever was painted before it.
        const TColor NameColor = I == FCurrent ? clHighlight : clWindow;
        C->GetBrush()->SetColor(NameColor);
        C->FillRect(NameRect(I));
        C->SetBkMode(TRANSPARENT);
        C->GetFont()->SetColor(I == FCurrent ? clHighlightText : clWindowText);
        const TRect Box = ExpanderRect(I);
        if (R.Attributes.Contains(paSubProperties)) {
            C->GetPen()->SetColor(clGray);
            C->GetBrush()->SetColor(clWindow);
            C->Rectangle(Box);
            C->GetPen()->SetColor(clWindowText);
            const int MY = (Box.Top + Box.Bottom) / 2;
            const int MX = (Box.Left + Box.Right) / 2;
            C->MoveTo(Box.Left + 2, MY);
            C->LineTo(Box.Right - 2, MY);
            if (!R.Expanded) {
                C->MoveTo(MX, Box.Top + 2);
                C->LineTo(MX, Box.Bottom - 2);
            }
        }
        const String Name = R.Editor->GetName();
        C->GetBrush()->SetColor(NameColor);
        C->TextRect(Rect(Box.Right + 3, Row.Top, Split, Row.Bottom), Box.Right + 3,
                    Row.Top + (RowHeight - C->TextHeight(Name)) / 2, Name);
        if (I != FCurrent) {
            const String Value = RowValue(I);
            // Values stand apart from names in blue: navy on a light
            // window, a light blue on a dark one, the plain text colour
            // where the scheme is for high contrast.
            const TColorSchemeTraits Scheme = GetColorSchemeTraits();
            C->GetFont()->SetColor(Scheme.HighContrast ? clWindowText
                                   : Scheme.Dark       ? TColor(0xFFC080)
                                                       : clNavy);
            C->GetBrush()->SetColor(clWindow);
            C->TextRect(Rect(Split + 1, Row.Top, W, Row.Bottom), Split + 3,
                        Row.Top + (RowHeight - C->TextHeight(Value)) / 2, Value);
        }
        if (I == FCurrent) {
            if (const TRect Arrow = ArrowRect(I); !Arrow.IsEmpty()) DrawButton(C, Arrow, false);
            if (const TRect Dots = EllipsisRect(I); !Dots.IsEmpty()) DrawButton(C, Dots, true);
        }
        C->GetPen()->SetColor(clBtnFace);
        C->MoveTo(0, Row.Bottom - 1);
        C->LineTo(W, Row.Bottom - 1);
        C->MoveTo(Split, Row.Top);
        C->LineTo(Split, Row.Bottom);
    }
    if (!FMessage.empty()) {
        const int Top = GetClientHeight() - RowHeight;
        C->GetBrush()->SetColor(clBtnFace);
        C->FillRect(Rect(0, Top, W, GetClientHeight()));
        C->SetBkMode(TRANSPARENT);
        C->GetFont()->SetColor(clRed);
        C->TextRect(Rect(0, Top, W, GetClientHeight()), 4, Top + 2, FMessage);
    }
}

// --- mouse ----------------------------------------------------------------------------------

void TObjectInspector::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const TPoint P = Point(X, Y);
    for (TPage Page : {ipProperties, ipEvents})
        if (TabRect(Page).Contains(P)) {
            SetPage(Page);
            return;
        }
    const int Row = RowAt(Y);
    if (Row < 0) return;
    if (OnColumnLine(X, Y)) {
        FSplitting = true;
        return;
    }
    if (ExpanderRect(Row).Contains(P) || (Shift.Contains(ssDouble) && NameRect(Row).Contains(P))) {
        ToggleExpanded(Row);
        return;
    }
    if (Row != FCurrent) SetCurrentRow(Row);
    if (ValueRect(Row).Contains(P) && !ArrowRect(Row).Contains(P) &&
        !EllipsisRect(Row).Contains(P) && FEdit->GetVisible()) {
        // A click on a value is a click into its box: the keys go there.
        FEdit->SetFocus();
        FEdit->SelectAll();
    }
    if (EllipsisRect(Row).Contains(P)) {
        // Like any button the ellipsis acts when it is let go, so that the
        // dialog it opens gets the mouse.
        CloseUp(false);
        FEllipsisRow = Row;
    } else if (ArrowRect(Row).Contains(P)) {
        if (FListRow == Row)
            CloseUp(false);
        else
            DropDown(Row);
    }
}

void TObjectInspector::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    // The value box keeps what was typed into it while the line moves.
    if (FSplitting) {
        FNameWidth = X;
        if (FEdit && FEdit->GetVisible()) MoveEdit();
        Invalidate();
    }
    SetCursor(FSplitting || OnColumnLine(X, Y) ? crHSplit : crDefault);
}

void TObjectInspector::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FSplitting = false;
    const int Row = std::exchange(FEllipsisRow, -1);
    if (Button != mbLeft || Row < 0 || Row >= RowCount()) return;
    if (EllipsisRect(Row).Contains(Point(X, Y))) RunEdit(Row);
}

// --- the drop-down list ---------------------------------------------------------------------

TValueList::TValueList(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clWindow);
    FScrollBar = new TScrollBar(this);
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->OnChange = [this](TObject*) { SetTopIndex(FScrollBar->GetPosition()); };
}

void TValueList::SetItems(std::vector<String> Items, const String& Current) {
    FItems = std::move(Items);
    auto It = std::find(FItems.begin(), FItems.end(), Current);
    FIndex = It == FItems.end() ? -1 : static_cast<int>(It - FItems.begin());
    FTop = 0;
    UpdateScrollBar();
    ScrollIntoView(FIndex);
    Invalidate();
}

void TValueList::SetItemIndex(int Value) {
    if (FItems.empty()) return;
    Value = std::clamp(Value, 0, static_cast<int>(FItems.size()) - 1);
    ScrollIntoView(Value);
    if (Value == FIndex) return;
    FIndex = Value;
    Invalidate();
}

int TValueList::VisibleLines() const {
    return std::max(1, (GetClientHeight() - 2) / TObjectInspector::RowHeight);
}

void TValueList::SetTopIndex(int Value) {
    Value = std::clamp(Value, 0, std::max(0, static_cast<int>(FItems.size()) - VisibleLines()));
    if (Value == FTop) return;
    FTop = Value;
    FScrollBar->SetPosition(FTop);
    Invalidate();
}

void TValueList::ScrollIntoView(int Index) {
    if (Index < 0) return;
    if (Index < FTop)
        SetTopIndex(Index);
    else if (Index >= FTop + VisibleLines())
        SetTopIndex(Index - VisibleLines() + 1);
}

void TValueList::UpdateScrollBar() {
    const int Count = static_cast<int>(FItems.size());
    const bool Needed = Count > VisibleLines();
    if (Needed) {
        FScrollBar->SetBounds(GetClientWidth() - 1 - TObjectInspector::ButtonWidth, 1,
                              TObjectInspector::ButtonWidth, std::max(1, GetClientHeight() - 2));
        ShowLines(FScrollBar, FTop, Count, VisibleLines());
    }
    FScrollBar->SetVisible(Needed);
    SetTopIndex(FTop);
}

void TValueList::Resize() {
    TCustomControl::Resize();
    UpdateScrollBar();
}

bool TValueList::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
    // Three lines a notch, as lists scroll.
    SetTopIndex(FTop - WheelDelta * 3 / 120);
    return true;
}

TRect TValueList::ItemRect(int Index) const {
    const int Top = 1 + (Index - FTop) * TObjectInspector::RowHeight;
    const int Right =
        GetClientWidth() - 1 - (FScrollBar->GetVisible() ? FScrollBar->GetWidth() : 0);
    return Rect(1, Top, Right, Top + TObjectInspector::RowHeight);
}

void TValueList::Paint() {
    TCanvas* C = GetCanvas();
    C->GetFont()->Assign(GetFont());
    C->GetBrush()->SetColor(clWindow);
    C->FillRect(GetClientRect());
    C->GetBrush()->SetColor(clWindowFrame);
    C->FrameRect(GetClientRect());
    const int Last = std::min(static_cast<int>(FItems.size()), FTop + VisibleLines());
    for (int I = FTop; I < Last; ++I) {
        const TRect R = ItemRect(I);
        // The text rectangle fills with the brush: the line's own colour.
        C->GetBrush()->SetColor(I == FIndex ? clHighlight : clWindow);
        C->SetBkMode(TRANSPARENT);
        C->GetFont()->SetColor(I == FIndex ? clHighlightText : clWindowText);
        C->TextRect(R, R.Left + 2, R.Top + (R.Height() - C->TextHeight(FItems[I])) / 2, FItems[I]);
    }
}

void TValueList::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const int Last = std::min(static_cast<int>(FItems.size()), FTop + VisibleLines());
    for (int I = FTop; I < Last; ++I)
        if (ItemRect(I).Contains(Point(X, Y))) {
            FIndex = I;
            if (OnChoose) OnChoose(FItems[I]);
            return;
        }
}

} // namespace designer
