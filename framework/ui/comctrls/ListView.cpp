#include "framework/ui/comctrls/ListView.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/RowScrolling.h"

#include <algorithm>
#include <cctype>

namespace folio {

namespace {

const std::vector<String>& ViewStyleNames() {
    static const std::vector<String> Names{"vsIcon", "vsSmallIcon", "vsList", "vsReport"};
    return Names;
}
const std::vector<String>& SortTypeNames() {
    static const std::vector<String> Names{"stNone", "stText"};
    return Names;
}
const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone", "bsSingle"};
    return Names;
}

constexpr unsigned EditTimer = 0x7E02;

// Texts in the order a reader expects, letters of either case together.
int CompareTextNoCase(const String& A, const String& B) {
    const size_t N = std::min(A.size(), B.size());
    for (size_t I = 0; I < N; ++I) {
        const int CA = std::tolower(static_cast<unsigned char>(A[I]));
        const int CB = std::tolower(static_cast<unsigned char>(B[I]));
        if (CA != CB) return CA < CB ? -1 : 1;
    }
    return A.size() == B.size() ? 0 : (A.size() < B.size() ? -1 : 1);
}
constexpr int TextGap = 2;

} // namespace

const TClassInfo& TListView::StaticClassInfo() {
    using C = TListView;
    static const TClassInfo Info =
        TClassBuilder<C>("TListView", &TCustomControl::StaticClassInfo())
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, bsSingle)
            .Object("Columns", &C::GetColumns, &C::SetColumns)
            .Bool("HideSelection", &C::GetHideSelection, &C::SetHideSelection, true)
            .Object("Items", &C::GetItems, &C::SetItems)
            .Component("LargeImages", &C::GetLargeImages, &C::SetLargeImages)
            .Bool("OwnerData", &C::GetOwnerData, &C::SetOwnerData, false)
            .Bool("ReadOnly", &C::GetReadOnly, &C::SetReadOnly, false)
            .Bool("ShowColumnHeaders", &C::GetShowColumnHeaders, &C::SetShowColumnHeaders, true)
            .Component("SmallImages", &C::GetSmallImages, &C::SetSmallImages)
            .Enum("SortType", "TSortType", SortTypeNames(), &C::GetSortType, &C::SetSortType,
                  stNone)
            .Enum("ViewStyle", "TViewStyle", ViewStyleNames(), &C::GetViewStyle, &C::SetViewStyle,
                  vsIcon)
            .Event("OnChange", &C::OnChange)
            .Event("OnColumnClick", &C::OnColumnClick)
            .Event("OnCompare", &C::OnCompare)
            .Event("OnData", &C::OnData)
            .Event("OnEdited", &C::OnEdited)
            .Event("OnEditing", &C::OnEditing)
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

FOLIO_REGISTER_CLASS(TListView)

// --- construction ----------------------------------------------------------------------------

TListView::TListView(TComponent* AOwner)
    : TCustomControl(AOwner),
      FItems(std::make_unique<TListItems>(static_cast<TListItemsView*>(this))),
      FColumns(std::make_unique<TListColumns>(this)) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    FScrollBar = MakeRowScrollBar(this, sbVertical, [this](int Top) { SetTopLine(Top); });
    FEditor = std::make_unique<TInplaceEdit>(this);
    FEditor->OnDone = [this](bool Accept, const String& Text) {
        const int Index = FEditIndex;
        FEditIndex = -1;
        if (Accept && !FReadOnly && Index >= 0 && Index < GetItemCount()) {
            String S = Text;
            TListItem* Item = GetEntry(Index);
            if (OnEdited) OnEdited(this, Item, S);
            if (!FOwnerData) Item->SetCaption(S);
        }
        if (CanFocus()) SetFocus();
    };
    FColumns->OnUpdate = [this](TCollection*, TCollectionItem*) { Invalidate(); };
    FLargeLink.OnChange = [this](TObject*) { Invalidate(); };
    FSmallLink.OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(GetLeft(), GetTop(), 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

TListView::~TListView() {
    FEditor->OnDone = nullptr;
    FEditor.reset();
    FScrollBar.reset();
    if (FLargeImages) FLargeImages->UnRegisterChanges(&FLargeLink);
    if (FSmallImages) FSmallImages->UnRegisterChanges(&FSmallLink);
    FItems.reset();
}

void TListView::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) AddSingleBorder(Params, GetCtl3D());
}

// --- properties ------------------------------------------------------------------------------

void TListView::SetViewStyle(TViewStyle Value) {
    if (Value == FViewStyle) return;
    if (IsEditing()) FEditor->Finish(true);
    FViewStyle = Value;
    FTopLine = 0;
    UpdateScrollBar();
    MakeVisible(FItemIndex);
    Invalidate();
}

void TListView::SetImageList(TImageList*& Field, TImageList* Value) {
    TChangeLink& Link = &Field == &FLargeImages ? FLargeLink : FSmallLink;
    if (Field) Field->UnRegisterChanges(&Link);
    Field = Value;
    if (Field) {
        Field->RegisterChanges(&Link);
        Field->FreeNotification(this);
    }
    UpdateScrollBar();
    Invalidate();
}

void TListView::SetLargeImages(TImageList* Value) {
    if (Value != FLargeImages) SetImageList(FLargeImages, Value);
}

void TListView::SetSmallImages(TImageList* Value) {
    if (Value != FSmallImages) SetImageList(FSmallImages, Value);
}

void TListView::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove) {
        if (AComponent == FLargeImages) FLargeImages = nullptr;
        if (AComponent == FSmallImages) FSmallImages = nullptr;
        Invalidate();
    }
    TCustomControl::Notification(AComponent, Operation);
}

void TListView::SetSortType(TSortType Value) {
    if (Value == FSortType) return;
    FSortType = Value;
    SortIfWanted();
}

void TListView::SetHideSelection(bool Value) {
    if (Value == FHideSelection) return;
    FHideSelection = Value;
    Invalidate();
}

void TListView::SetShowColumnHeaders(bool Value) {
    if (Value == FShowColumnHeaders) return;
    FShowColumnHeaders = Value;
    UpdateScrollBar();
    Invalidate();
}

void TListView::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    UpdateScrollBar();
}

void TListView::SetOwnerData(bool Value) {
    if (Value == FOwnerData) return;
    FOwnerData = Value;
    FItemIndex = -1;
    ItemsChanged();
}

int TListView::GetItemCount() const {
    return FOwnerData ? FVirtualCount : FItems->GetCount();
}

void TListView::SetItemCount(int Value) {
    Value = std::clamp(Value, 0, MaxVirtualCount);
    if (Value == FVirtualCount) return;
    FVirtualCount = Value;
    if (FOwnerData) ItemsChanged();
}

void TListView::SetItemIndex(int Value) {
    if (Value < 0 || Value >= GetItemCount()) Value = -1;
    if (Value == FItemIndex) return;
    if (IsEditing()) FEditor->Finish(true);
    if (FItemIndex >= 0) InvalidateRect(ItemRect(FItemIndex), true);
    FItemIndex = Value;
    if (Value >= 0) {
        MakeVisible(Value);
        InvalidateRect(ItemRect(Value), true);
    }
    NotifyAccessible(this, TAccEvent::StateChanged);
    if (OnChange) OnChange(this, Value >= 0 ? GetEntry(Value) : nullptr);
}

TListItem* TListView::GetEntry(int Index) {
    if (Index < 0 || Index >= GetItemCount()) return nullptr;
    if (!FOwnerData) return FItems->GetItem(Index);
    // The application fills the one item the view keeps for it.
    FVirtualItem.SetCaption(String());
    FVirtualItem.SetImageIndex(-1);
    FVirtualItem.GetSubItems()->Clear();
    FVirtualItem.Data = reinterpret_cast<void*>(static_cast<std::intptr_t>(Index));
    if (OnData) OnData(this, &FVirtualItem);
    return &FVirtualItem;
}

TListItem* TListView::GetSelected() {
    return GetEntry(FItemIndex);
}

// --- what the items tell ---------------------------------------------------------------------

void TListView::ItemsChanged() {
    if (FItemIndex >= GetItemCount()) FItemIndex = -1;
    SortIfWanted();
    UpdateScrollBar();
    SetTopLine(FTopLine);
    Invalidate();
    NotifyAccessible(this, TAccEvent::ChildrenChanged);
}

void TListView::ItemDeleting(int Index) {
    if (IsEditing()) {
        FEditIndex = -1;
        FEditor->Finish(false);
    }
    if (Index < 0 || Index == FItemIndex) {
        FItemIndex = -1;
        if (OnChange) OnChange(this, nullptr);
    } else if (Index < FItemIndex) {
        --FItemIndex;
    }
}

void TListView::ItemInserted(int Index) {
    if (FItemIndex >= Index) ++FItemIndex;
}

// --- sorting ---------------------------------------------------------------------------------

int TListView::Compare(TListItem& A, TListItem& B, int Column) {
    if (OnCompare) {
        int Result = 0;
        OnCompare(this, &A, &B, Column, Result);
        return Result;
    }
    return CompareTextNoCase(A.ColumnText(Column), B.ColumnText(Column));
}

void TListView::SortByColumn(int Column, bool Ascending) {
    if (FOwnerData || FSorting) return;
    FSorting = true;
    TListItem* Selected = FItemIndex >= 0 ? FItems->GetItem(FItemIndex) : nullptr;
    FItems->Sort([&](const TListItem& A, const TListItem& B) {
        const int C = Compare(const_cast<TListItem&>(A), const_cast<TListItem&>(B), Column);
        return Ascending ? C < 0 : C > 0;
    });
    FItemIndex = Selected ? FItems->IndexOf(Selected) : -1;
    FSorting = false;
}

void TListView::SortIfWanted() {
    if (FSortType == stText && !FItems->Updating() && !FSorting) SortByColumn(0);
}

// --- geometry --------------------------------------------------------------------------------

TImageList* TListView::ShownImages() const {
    return FViewStyle == vsIcon ? FLargeImages : FSmallImages;
}

int TListView::LineHeight() const {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    return std::max(Canvas->TextHeight("Wg") + 3, FSmallImages ? FSmallImages->GetHeight() + 1 : 0);
}

TSize TListView::CellSize() const {
    const int H = LineHeight();
    TCanvas* Canvas = GetCanvas();
    const int Em = std::max(Canvas->TextWidth("M"), 1);
    switch (FViewStyle) {
    case vsIcon: {
        const int Icon = FLargeImages ? FLargeImages->GetHeight() : 32;
        const int W = std::max(FLargeImages ? FLargeImages->GetWidth() : 32, 8 * Em);
        return TSize{W + 8, Icon + 6 + 2 * H};
    }
    case vsSmallIcon:
    case vsList: {
        const int Icon = FSmallImages ? FSmallImages->GetWidth() + TextGap : 0;
        return TSize{Icon + 12 * Em, H};
    }
    case vsReport:
        break;
    }
    return TSize{std::max(ItemArea().Width(), 1), H};
}

TRect TListView::HeaderRect() const {
    if (FViewStyle != vsReport || !FShowColumnHeaders) return TRect{};
    return Rect(0, 0, GetClientWidth(), LineHeight() + 4);
}

TRect TListView::ItemArea() const {
    return RowArea(*this, *FScrollBar, HeaderRect().Bottom);
}

int TListView::ItemsPerLine() const {
    const TSize Cell = CellSize();
    const TRect Area = ItemArea();
    switch (FViewStyle) {
    case vsIcon:
    case vsSmallIcon:
        return std::max(Area.Width() / std::max(Cell.cx, 1), 1);
    case vsList:
        return std::max(Area.Height() / std::max(Cell.cy, 1), 1);
    case vsReport:
        break;
    }
    return 1;
}

int TListView::VisibleLines() const {
    const TSize Cell = CellSize();
    const TRect Area = ItemArea();
    const int Length = FViewStyle == vsList ? Area.Width() / std::max(Cell.cx, 1)
                                            : Area.Height() / std::max(Cell.cy, 1);
    return std::max(Length, 1);
}

int TListView::LineCount() const {
    const int PerLine = ItemsPerLine();
    return (GetItemCount() + PerLine - 1) / PerLine;
}

TRect TListView::ItemRect(int Index) const {
    if (Index < 0 || Index >= GetItemCount()) return TRect{};
    const TSize Cell = CellSize();
    const TRect Area = ItemArea();
    const int PerLine = ItemsPerLine();
    const int Line = Index / PerLine - FTopLine, InLine = Index % PerLine;
    const bool Columns = FViewStyle == vsList;
    const int X = Area.Left + (Columns ? Line : InLine) * Cell.cx;
    const int Y = Area.Top + (Columns ? InLine : Line) * Cell.cy;
    return Rect(X, Y, X + Cell.cx, Y + Cell.cy);
}

int TListView::IndexAt(int X, int Y) const {
    const TRect Area = ItemArea();
    if (!Area.Contains(Point(X, Y))) return -1;
    const TSize Cell = CellSize();
    const int PerLine = ItemsPerLine();
    const int Col = (X - Area.Left) / std::max(Cell.cx, 1);
    const int Row = (Y - Area.Top) / std::max(Cell.cy, 1);
    const bool Columns = FViewStyle == vsList;
    const int InLine = Columns ? Row : Col;
    if (InLine >= PerLine) return -1;
    const long long Index =
        static_cast<long long>(FTopLine + (Columns ? Col : Row)) * PerLine + InLine;
    return Index < GetItemCount() ? static_cast<int>(Index) : -1;
}

int TListView::ColumnAt(int X) const {
    if (HeaderRect().IsEmpty()) return -1;
    int Left = 0;
    for (int I = 0; I < FColumns->GetCount(); ++I) {
        const int W = FColumns->GetColumn(I)->GetWidth();
        if (X >= Left && X < Left + W) return I;
        Left += W;
    }
    return -1;
}

void TListView::SetTopLine(int Value) {
    Value = std::clamp(Value, 0, std::max(LineCount() - VisibleLines(), 0));
    if (Value == FTopLine) return;
    if (IsEditing()) FEditor->Finish(true);
    FTopLine = Value;
    FScrollBar->SetPosition(Value);
    Invalidate();
}

void TListView::MakeVisible(int Index) {
    if (Index < 0 || Index >= GetItemCount()) return;
    SetTopLine(TopRowShowing(Index / ItemsPerLine(), FTopLine, VisibleLines()));
}

void TListView::UpdateScrollBar() {
    if (!FScrollBar) return;
    const bool Columns = FViewStyle == vsList;
    FScrollBar->SetKind(Columns ? sbHorizontal : sbVertical);
    const int Top = HeaderRect().Bottom;
    if (Columns) {
        const int H = GetSystemMetrics(SM_CYHSCROLL);
        FScrollBar->SetBounds(0, GetClientHeight() - H, GetClientWidth(), H);
    } else {
        const int W = GetSystemMetrics(SM_CXVSCROLL);
        FScrollBar->SetBounds(GetClientWidth() - W, Top, W, std::max(GetClientHeight() - Top, 0));
    }
    // Whether the bar is needed depends on the room it takes: asked with
    // it hidden, then laid out again with it shown.
    FScrollBar->SetVisible(false);
    const bool Needed = LineCount() > VisibleLines();
    FScrollBar->SetVisible(Needed);
    SetRowRange(*FScrollBar, FTopLine, LineCount(), VisibleLines());
}

void TListView::Resize() {
    TCustomControl::Resize();
    UpdateScrollBar();
    SetTopLine(FTopLine);
}

void TListView::FontChanged() {
    TCustomControl::FontChanged();
    UpdateScrollBar();
}

TRect TListView::CaptionRect(int Index, const TListItem& Item) const {
    const TRect R = ItemRect(Index);
    if (R.IsEmpty()) return R;
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    const int W = Canvas->TextWidth(Item.GetCaption()) + 2 * TextGap;
    const int H = LineHeight();
    if (FViewStyle == vsIcon) {
        const int Icon = FLargeImages ? FLargeImages->GetHeight() : 32;
        const int CW = std::min(W, R.Width());
        const int Left = R.Left + (R.Width() - CW) / 2;
        return Rect(Left, R.Top + Icon + 4, Left + CW, R.Top + Icon + 4 + H);
    }
    const int Left = R.Left + (FSmallImages ? FSmallImages->GetWidth() + TextGap : 0);
    const int Right = FViewStyle == vsReport && FColumns->GetCount() > 0
                          ? R.Left + FColumns->GetColumn(0)->GetWidth()
                          : R.Right;
    return Rect(Left, R.Top, std::min(Left + W, std::max(Right, Left)), R.Bottom);
}

// --- painting --------------------------------------------------------------------------------

void TListView::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    const TColor Back = GetEnabled() ? GetColor() : clBtnFace;
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Back);
    Canvas->FillRect(ItemArea());
    if (!HeaderRect().IsEmpty()) PaintHeader(Canvas);
    // Only the lines on the screen are looked at.
    const int PerLine = ItemsPerLine();
    const long long First = static_cast<long long>(FTopLine) * PerLine;
    const long long Last = std::min<long long>(
        GetItemCount(), static_cast<long long>(FTopLine + VisibleLines() + 1) * PerLine);
    for (long long I = First; I < Last; ++I) {
        const int Index = static_cast<int>(I);
        if (TListItem* Item = GetEntry(Index)) PaintItem(Canvas, Index, *Item, ItemRect(Index));
    }
}

void TListView::PaintHeader(TCanvas* Canvas) {
    const TRect Header = HeaderRect();
    int Left = 0;
    for (int I = 0; I <= FColumns->GetCount(); ++I) {
        // The last button fills the rest of the header.
        const bool Rest = I == FColumns->GetCount();
        const int W = Rest ? std::max(Header.Right - Left, 0) : FColumns->GetColumn(I)->GetWidth();
        const TRect R = Rect(Left, Header.Top, Left + W, Header.Bottom);
        Canvas->GetBrush()->SetColor(clBtnFace);
        Canvas->FillRect(R);
        TRect Edge = R;
        DrawEdge(Canvas->GetHandle(), Edge, BDR_RAISED, BF_RECT);
        if (!Rest) {
            TListColumn* Column = FColumns->GetColumn(I);
            unsigned Flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
            if (Column->GetAlignment() == taRightJustify) Flags |= DT_RIGHT;
            if (Column->GetAlignment() == taCenter) Flags |= DT_CENTER;
            Canvas->GetFont()->SetColor(clBtnText);
            Canvas->GetBrush()->SetStyle(bsClear);
            DrawCaption(Canvas, Column->GetCaption(),
                        Rect(R.Left + 2 * TextGap, R.Top, R.Right - 2 * TextGap, R.Bottom),
                        DrawTextBiDiModeFlags(Flags), true);
            Canvas->GetBrush()->SetStyle(bsSolid);
        }
        Left += W;
        if (Left >= Header.Right) break;
    }
    Canvas->GetFont()->SetColor(GetFont()->GetColor());
}

void TListView::PaintItem(TCanvas* Canvas, int Index, TListItem& Item, const TRect& R) {
    TImageList* Images = ShownImages();
    if (Images && Item.GetImageIndex() >= 0 && Item.GetImageIndex() < Images->GetCount()) {
        if (FViewStyle == vsIcon)
            Images->Draw(Canvas, R.Left + (R.Width() - Images->GetWidth()) / 2, R.Top + 2,
                         Item.GetImageIndex(), GetEnabled());
        else
            Images->Draw(Canvas, R.Left, R.Top + (R.Height() - Images->GetHeight()) / 2,
                         Item.GetImageIndex(), GetEnabled());
    }
    const TRect Caption = CaptionRect(Index, Item);
    const bool Selected = Index == FItemIndex && (Focused() || !FHideSelection);
    TColor Text = GetEnabled() ? GetFont()->GetColor() : clGrayText;
    if (Selected) {
        Canvas->GetBrush()->SetColor(Focused() ? clHighlight : clBtnFace);
        Canvas->FillRect(Caption);
        if (Focused()) Text = clHighlightText;
    }
    Canvas->GetFont()->SetColor(Text);
    Canvas->GetBrush()->SetStyle(bsClear);
    unsigned Flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (FViewStyle == vsIcon) Flags |= DT_CENTER;
    DrawCaption(Canvas, Item.GetCaption(),
                Rect(Caption.Left + TextGap, Caption.Top, Caption.Right, Caption.Bottom),
                DrawTextBiDiModeFlags(Flags), true);
    Canvas->GetFont()->SetColor(GetEnabled() ? GetFont()->GetColor() : clGrayText);
    if (FViewStyle == vsReport) {
        int Left = R.Left;
        for (int C = 0; C < FColumns->GetCount(); ++C) {
            TListColumn* Column = FColumns->GetColumn(C);
            if (C > 0) {
                unsigned ColumnFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
                if (Column->GetAlignment() == taRightJustify) ColumnFlags |= DT_RIGHT;
                if (Column->GetAlignment() == taCenter) ColumnFlags |= DT_CENTER;
                DrawCaption(Canvas, Item.ColumnText(C),
                            Rect(Left + 2 * TextGap, R.Top, Left + Column->GetWidth() - 2 * TextGap,
                                 R.Bottom),
                            DrawTextBiDiModeFlags(ColumnFlags), true);
            }
            Left += Column->GetWidth();
            if (Left >= R.Right) break;
        }
    }
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetFont()->SetColor(GetFont()->GetColor());
    if (Index == FItemIndex && Focused()) Canvas->DrawFocusRect(Caption);
}

// --- renaming --------------------------------------------------------------------------------

void TListView::StartEdit(int Index) {
    if (FReadOnly || !GetEnabled() || Index < 0 || Index >= GetItemCount()) return;
    if (IsEditing()) FEditor->Finish(true);
    TListItem* Item = GetEntry(Index);
    bool Allow = true;
    if (OnEditing) OnEditing(this, Item, Allow);
    if (!Allow) return;
    MakeVisible(Index);
    Item = GetEntry(Index);
    TRect R = CaptionRect(Index, *Item);
    R.Right = std::min(std::max(R.Right + 20, R.Left + 60), ItemArea().Right);
    FEditIndex = Index;
    FEditor->Start(R, Item->GetCaption());
}

// --- input -----------------------------------------------------------------------------------

void TListView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FPressedSelected = false;
    if (Button == mbLeft || Button == mbRight) {
        if (IsEditing()) FEditor->Finish(true);
        if (CanFocus() && !Focused()) SetFocus();
        if (Button == mbLeft && HeaderRect().Contains(Point(X, Y))) {
            const int Column = ColumnAt(X);
            if (Column >= 0) {
                // A second click on the same column turns its order round.
                FSortAscending = Column == FSortColumn ? !FSortAscending : true;
                FSortColumn = Column;
                if (OnColumnClick) OnColumnClick(this, FColumns->GetColumn(Column));
                if (!FOwnerData) {
                    SortByColumn(Column, FSortAscending);
                    Invalidate();
                    MakeVisible(FItemIndex);
                }
            }
        } else {
            const int Index = IndexAt(X, Y);
            if (Index >= 0) {
                const bool OnCaption = CaptionRect(Index, *GetEntry(Index)).Contains(Point(X, Y));
                FPressedSelected = Button == mbLeft && Index == FItemIndex && OnCaption &&
                                   !Shift.Contains(ssDouble);
                SetItemIndex(Index);
            }
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TListView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FPressedSelected && IndexAt(X, Y) == FItemIndex && !FReadOnly &&
        HandleAllocated())
        SetTimer(GetHandle(), EditTimer, GetDoubleClickTime() + 50);
    FPressedSelected = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TListView::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const int Count = GetItemCount();
    if (Key == 0 || Count == 0) return;
    const int PerLine = ItemsPerLine();
    const bool Columns = FViewStyle == vsList;
    const int Across = FViewStyle == vsReport ? 0 : (Columns ? PerLine : 1);
    const int Along = Columns ? 1 : (FViewStyle == vsReport ? 1 : PerLine);
    const int Page = std::max(VisibleLines() - 1, 1) * (Columns ? PerLine : Along);
    const int At = FItemIndex;
    int To = At;
    switch (Key) {
    case VK_UP:
        To = At < 0 ? 0 : At - Along;
        break;
    case VK_DOWN:
        To = At < 0 ? 0 : At + Along;
        break;
    case VK_LEFT:
        if (!Across) return;
        To = At < 0 ? 0 : At - Across;
        break;
    case VK_RIGHT:
        if (!Across) return;
        To = At < 0 ? 0 : At + Across;
        break;
    case VK_PRIOR:
        To = At < 0 ? 0 : At - Page;
        break;
    case VK_NEXT:
        To = At < 0 ? 0 : At + Page;
        break;
    case VK_HOME:
        To = 0;
        break;
    case VK_END:
        To = Count - 1;
        break;
    case VK_F2:
        StartEdit(FItemIndex);
        Key = 0;
        return;
    default:
        return;
    }
    // A step off either end stays on the item at that end.
    SetItemIndex(std::clamp(To, 0, Count - 1));
    Key = 0;
}

bool TListView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopLine(TopRowAfterWheel(FTopLine, WheelDelta, FViewStyle == vsList ? 1 : 3));
    return true;
}

void TListView::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS | DLGC_WANTCHARS,
                            [this] { return ItemRect(FItemIndex); }))
        return;
    if (Message.Msg == WM_TIMER && static_cast<unsigned>(Message.WParam) == EditTimer) {
        KillTimer(GetHandle(), EditTimer);
        StartEdit(FItemIndex);
        return;
    }
    if (Message.Msg == WM_LBUTTONDBLCLK && HandleAllocated()) KillTimer(GetHandle(), EditTimer);
    TCustomControl::Dispatch(Message);
}

// --- accessibility ---------------------------------------------------------------------------

namespace {

class TListEntryAccessible : public TAccessible {
public:
    TListEntryAccessible(TListView* View, int Index) : FView(View), FIndex(Index) {}
    TAccRole GetRole() const override { return TAccRole::ListItem; }
    String GetName() const override {
        TListItem* Item = FView->GetEntry(FIndex);
        return Item ? Item->GetCaption() : String();
    }
    unsigned GetStates() const override {
        unsigned S = asSelectable;
        if (FView->GetItemIndex() == FIndex) S |= asSelected;
        const int Line = FIndex / FView->ItemsPerLine();
        if (Line < FView->GetTopLine() || Line >= FView->GetTopLine() + FView->VisibleLines())
            S |= asOffscreen;
        return S;
    }
    TRect GetBounds() const override {
        const TRect R = FView->ItemRect(FIndex);
        const TPoint P = FView->ClientToScreen(Point(R.Left, R.Top));
        return Rect(P.X, P.Y, P.X + R.Width(), P.Y + R.Height());
    }
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String& Action) override {
        if (Action != "press" || !FView->GetEnabled()) return false;
        FView->SetItemIndex(FIndex);
        return true;
    }

private:
    TListView* FView;
    int FIndex;
};

class TListViewAccessible : public TControlAccessible {
public:
    explicit TListViewAccessible(TControl* C) : TControlAccessible(C, TAccRole::List) {}
    String GetName() const override { return GetDescription(); }
    int GetChildCount() const override { return View()->GetItemCount(); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        if (Index < 0 || Index >= View()->GetItemCount()) return nullptr;
        return std::make_unique<TListEntryAccessible>(View(), Index);
    }

private:
    TListView* View() const { return static_cast<TListView*>(FControl); }
};

const TAccessibleRegistration ListAccessible(TListView::StaticClassInfo(), [](TControl* C) {
    return std::unique_ptr<TAccessible>(std::make_unique<TListViewAccessible>(C));
});

} // namespace

} // namespace folio
