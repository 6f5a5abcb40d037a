#include "framework/ui/comctrls/TreeView.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/DragObject.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"
#include "framework/ui/paint/ControlPaint.h"
#include "framework/ui/stdctrls/RowScrolling.h"

#include <algorithm>

namespace folio {

namespace {

const std::vector<String>& BorderStyleNames() {
    static const std::vector<String> Names{"bsNone", "bsSingle"};
    return Names;
}

// The timer that turns a slow second click into a rename.
constexpr unsigned EditTimer = 0x7E01;
// Room between a picture and its caption, and around a caption.
constexpr int TextGap = 2;
// The +/- box's side.
constexpr int ButtonSize = 9;

} // namespace

const TClassInfo& TTreeView::StaticClassInfo() {
    using C = TTreeView;
    static const TClassInfo Info =
        TClassBuilder<C>("TTreeView", &TCustomControl::StaticClassInfo())
            .Enum("BorderStyle", "TBorderStyle", BorderStyleNames(), &C::GetBorderStyle,
                  &C::SetBorderStyle, bsSingle)
            .Bool("HideSelection", &C::GetHideSelection, &C::SetHideSelection, true)
            .Component("Images", &C::GetImages, &C::SetImages)
            .Int("Indent", &C::GetIndent, &C::SetIndent, 19)
            .Object("Items", &C::GetItems, &C::SetItems)
            .Bool("ReadOnly", &C::GetReadOnly, &C::SetReadOnly, false)
            .Bool("ShowButtons", &C::GetShowButtons, &C::SetShowButtons, true)
            .Bool("ShowLines", &C::GetShowLines, &C::SetShowLines, true)
            .Bool("ShowRoot", &C::GetShowRoot, &C::SetShowRoot, true)
            .Event("OnChange", &C::OnChange)
            .Event("OnCollapsed", &C::OnCollapsed)
            .Event("OnCollapsing", &C::OnCollapsing)
            .Event("OnEdited", &C::OnEdited)
            .Event("OnEditing", &C::OnEditing)
            .Event("OnExpanded", &C::OnExpanded)
            .Event("OnExpanding", &C::OnExpanding)
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

FOLIO_REGISTER_CLASS(TTreeView)

// --- construction ----------------------------------------------------------------------------

TTreeView::TTreeView(TComponent* AOwner)
    : TCustomControl(AOwner),
      FItems(std::make_unique<TTreeNodes>(static_cast<TTreeNodesView*>(this))) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    // The bar and the editor are parts of the tree, not components of the form.
    FScrollBar = MakeRowScrollBar(this, sbVertical, [this](int Top) { SetTopIndex(Top); });
    FEditor = std::make_unique<TInplaceEdit>(this);
    FEditor->OnDone = [this](bool Accept, const String& Text) {
        TTreeNode* Node = FEditNode;
        FEditNode = nullptr;
        if (Node && Accept && !FReadOnly) {
            String S = Text;
            if (OnEdited) OnEdited(this, Node, S);
            Node->SetText(S);
        }
        if (CanFocus()) SetFocus();
    };
    FImageLink.OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(GetLeft(), GetTop(), 121, 97);
    SetTabStop(true);
    SetColor(clWindow);
}

TTreeView::~TTreeView() {
    FEditor->OnDone = nullptr;
    FEditor.reset();
    FScrollBar.reset();
    if (FImages) FImages->UnRegisterChanges(&FImageLink);
    // The nodes go without telling the view they are leaving.
    FItems.reset();
}

void TTreeView::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    if (FBorderStyle == bsSingle) AddSingleBorder(Params, GetCtl3D());
}

// --- properties ------------------------------------------------------------------------------

void TTreeView::SetImages(TImageList* Value) {
    if (Value == FImages) return;
    if (FImages) FImages->UnRegisterChanges(&FImageLink);
    FImages = Value;
    if (FImages) {
        FImages->RegisterChanges(&FImageLink);
        FImages->FreeNotification(this);
    }
    UpdateScrollBar();
    Invalidate();
}

void TTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
    TCustomControl::Notification(AComponent, Operation);
}

void TTreeView::SetSelected(TTreeNode* Node) {
    if (Node == FSelected) return;
    if (IsEditing()) EndEdit(true);
    if (FSelected) InvalidateRect(RowRect(FSelected), true);
    FSelected = Node;
    if (Node) {
        // A node selected by the program shows: its ancestors open.
        for (TTreeNode* P = Node->GetParent(); P; P = P->GetParent()) P->SetExpanded(true);
        MakeVisible(Node);
        InvalidateRect(RowRect(Node), true);
    }
    NotifyAccessible(this, TAccEvent::StateChanged);
    if (OnChange) OnChange(this, Node);
}

void TTreeView::SetIndent(int Value) {
    Value = std::clamp(Value, 0, 1000);
    if (Value == FIndent) return;
    FIndent = Value;
    Invalidate();
}

void TTreeView::SetShowButtons(bool Value) {
    if (Value == FShowButtons) return;
    FShowButtons = Value;
    Invalidate();
}

void TTreeView::SetShowLines(bool Value) {
    if (Value == FShowLines) return;
    FShowLines = Value;
    Invalidate();
}

void TTreeView::SetShowRoot(bool Value) {
    if (Value == FShowRoot) return;
    FShowRoot = Value;
    Invalidate();
}

void TTreeView::SetHideSelection(bool Value) {
    if (Value == FHideSelection) return;
    FHideSelection = Value;
    if (FSelected) InvalidateRect(RowRect(FSelected), true);
}

void TTreeView::SetBorderStyle(TBorderStyle Value) {
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    RecreateWnd();
    UpdateScrollBar();
}

void TTreeView::FullExpand() {
    FItems->BeginUpdate();
    for (int I = 0; I < FItems->GetTopCount(); ++I) FItems->GetTopItem(I)->Expand(true);
    FItems->EndUpdate();
}

void TTreeView::FullCollapse() {
    FItems->BeginUpdate();
    for (int I = 0; I < FItems->GetTopCount(); ++I) FItems->GetTopItem(I)->Collapse(true);
    FItems->EndUpdate();
}

// --- what the nodes tell ---------------------------------------------------------------------

void TTreeView::NodesChanged() {
    FRowsValid = false;
    UpdateScrollBar();
    SetTopIndex(FTopIndex);
    Invalidate();
    NotifyAccessible(this, TAccEvent::ChildrenChanged);
}

void TTreeView::NodeDeleting(TTreeNode* Node) {
    const auto Gone = [Node](TTreeNode* N) { return N && (N == Node || Node->IsAncestorOf(N)); };
    if (Gone(FEditNode)) {
        FEditNode = nullptr;
        FEditor->Finish(false);
    }
    if (Gone(FDragNode)) FDragNode = nullptr;
    if (Gone(FDropTarget)) FDropTarget = nullptr;
    if (Gone(FSelected)) {
        FSelected = nullptr;
        if (OnChange) OnChange(this, nullptr);
    }
}

bool TTreeView::CanExpand(TTreeNode* Node, bool Expanding) {
    bool Allow = true;
    if (Expanding && OnExpanding) OnExpanding(this, Node, Allow);
    if (!Expanding && OnCollapsing) OnCollapsing(this, Node, Allow);
    return Allow;
}

void TTreeView::Expanded(TTreeNode* Node, bool Expanding) {
    // A selection inside a node that closes moves up to the node.
    if (!Expanding && FSelected && Node->IsAncestorOf(FSelected)) SetSelected(Node);
    if (Expanding && OnExpanded) OnExpanded(this, Node);
    if (!Expanding && OnCollapsed) OnCollapsed(this, Node);
}

// --- geometry --------------------------------------------------------------------------------

void TTreeView::RebuildRows() const {
    if (FRowsValid) return;
    FRowsValid = true;
    FRows.clear();
    FRowLevels.clear();
    std::vector<std::pair<TTreeNode*, int>> Pending;
    for (int I = FItems->GetTopCount() - 1; I >= 0; --I)
        Pending.emplace_back(FItems->GetTopItem(I), 0);
    while (!Pending.empty()) {
        auto [Node, Level] = Pending.back();
        Pending.pop_back();
        Node->FRow = static_cast<int>(FRows.size());
        FRows.push_back(Node);
        FRowLevels.push_back(Level);
        if (!Node->GetExpanded()) continue;
        const auto& Children = Node->Children();
        for (auto It = Children.rbegin(); It != Children.rend(); ++It)
            Pending.emplace_back(It->get(), Level + 1);
    }
}

const std::vector<TTreeNode*>& TTreeView::Rows() const {
    RebuildRows();
    return FRows;
}

int TTreeView::RowOf(const TTreeNode* Node) const {
    if (!Node) return -1;
    RebuildRows();
    const int Row = Node->FRow;
    return Row >= 0 && Row < static_cast<int>(FRows.size()) &&
                   FRows[static_cast<size_t>(Row)] == Node
               ? Row
               : -1;
}

int TTreeView::RowLevel(int Row) const {
    RebuildRows();
    return FRowLevels[static_cast<size_t>(Row)];
}

int TTreeView::GetItemHeight() const {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    const int Text = Canvas->TextHeight("Wg") + 2;
    return std::max({Text, FImages ? FImages->GetHeight() + 1 : 0, ButtonSize + 4});
}

int TTreeView::VisibleRowCount() const {
    return std::max(GetClientHeight() / GetItemHeight(), 1);
}

TRect TTreeView::ItemArea() const {
    return RowArea(*this, *FScrollBar);
}

int TTreeView::ColumnLeft(int Level) const {
    return (Level + (FShowRoot ? 1 : 0)) * FIndent;
}

int TTreeView::ImageWidth() const {
    return FImages ? FImages->GetWidth() + TextGap : 0;
}

TRect TTreeView::RowRect(const TTreeNode* Node) const {
    const int Row = RowOf(Node);
    if (Row < 0) return TRect{};
    const TRect Area = ItemArea();
    const int Top = (Row - FTopIndex) * GetItemHeight();
    return Rect(Area.Left, Top, Area.Right, Top + GetItemHeight());
}

TRect TTreeView::ButtonRect(const TTreeNode* Node) const {
    const TRect Row = RowRect(Node);
    if (Row.IsEmpty() || !FShowButtons || !Node->HasChildren()) return TRect{};
    const int Level = RowLevel(RowOf(Node));
    if (Level == 0 && !FShowRoot) return TRect{};
    const int CX = ColumnLeft(Level) - FIndent / 2;
    const int CY = (Row.Top + Row.Bottom) / 2;
    return Rect(CX - ButtonSize / 2, CY - ButtonSize / 2, CX - ButtonSize / 2 + ButtonSize,
                CY - ButtonSize / 2 + ButtonSize);
}

TRect TTreeView::LabelRect(const TTreeNode* Node) const {
    const TRect Row = RowRect(Node);
    if (Row.IsEmpty()) return TRect{};
    const int Left = ColumnLeft(RowLevel(RowOf(Node))) + ImageWidth();
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    const int Width = Canvas->TextWidth(Node->GetText()) + 2 * TextGap;
    return Rect(Left, Row.Top, Left + Width, Row.Bottom);
}

TTreeNode* TTreeView::GetNodeAt(int X, int Y) const {
    if (Y < 0 || X < 0 || X >= ItemArea().Right) return nullptr;
    const int Row = FTopIndex + Y / GetItemHeight();
    const auto& All = Rows();
    return Row < static_cast<int>(All.size()) ? All[static_cast<size_t>(Row)] : nullptr;
}

TTreeHitTest TTreeView::GetHitTestAt(int X, int Y) const {
    TTreeNode* Node = GetNodeAt(X, Y);
    if (!Node) return htNowhere;
    const TRect Button = ButtonRect(Node);
    // The whole indent column of the button answers to it, as aiming at a
    // 9-pixel box would be hard.
    if (!Button.IsEmpty() && X >= Button.Left - 3 && X < Button.Right + 3) return htOnButton;
    const TRect Label = LabelRect(Node);
    if (X >= Label.Right) return htOnRight;
    if (X >= Label.Left) return htOnLabel;
    if (X >= Label.Left - ImageWidth() && FImages) return htOnIcon;
    return htOnIndent;
}

void TTreeView::SetTopIndex(int Value) {
    Value = std::clamp(Value, 0, std::max(static_cast<int>(Rows().size()) - VisibleRowCount(), 0));
    if (Value == FTopIndex) return;
    if (IsEditing()) EndEdit(true);
    FTopIndex = Value;
    FScrollBar->SetPosition(Value);
    Invalidate();
}

void TTreeView::MakeVisible(const TTreeNode* Node) {
    const int Row = RowOf(Node);
    if (Row >= 0) SetTopIndex(TopRowShowing(Row, FTopIndex, VisibleRowCount()));
}

void TTreeView::UpdateScrollBar() {
    if (FScrollBar)
        PlaceRowScrollBar(*FScrollBar, *this, 0, FTopIndex, static_cast<int>(Rows().size()),
                          VisibleRowCount());
}

void TTreeView::Resize() {
    TCustomControl::Resize();
    UpdateScrollBar();
    SetTopIndex(FTopIndex);
}

void TTreeView::FontChanged() {
    TCustomControl::FontChanged();
    UpdateScrollBar();
}

void TTreeView::ChangeScale(int M, int D) {
    TCustomControl::ChangeScale(M, D);
    // The indent is a length on the screen: it grows with the form.
    if (D > 0) FIndent = FIndent * M / D;
}

// --- painting --------------------------------------------------------------------------------

void TTreeView::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    const TRect Area = ItemArea();
    const int H = GetItemHeight();
    const int Count = static_cast<int>(Rows().size());
    const int Last = std::min(Count, FTopIndex + VisibleRowCount() + 1);
    Canvas->GetBrush()->SetStyle(bsSolid);
    for (int Row = FTopIndex; Row < Last; ++Row) {
        const int Top = (Row - FTopIndex) * H;
        PaintRow(Canvas, Row, Rect(Area.Left, Top, Area.Right, Top + H));
    }
    const int Bottom = (Last - FTopIndex) * H;
    if (Bottom < Area.Bottom) {
        Canvas->GetBrush()->SetColor(GetEnabled() ? GetColor() : clBtnFace);
        Canvas->FillRect(Rect(Area.Left, Bottom, Area.Right, Area.Bottom));
    }
}

void TTreeView::PaintRow(TCanvas* Canvas, int Row, const TRect& R) {
    TTreeNode* Node = FRows[static_cast<size_t>(Row)];
    const TColor Back = GetEnabled() ? GetColor() : clBtnFace;
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(Back);
    Canvas->FillRect(R);
    if (FShowLines) PaintLines(Canvas, Row, R);
    const int Level = FRowLevels[static_cast<size_t>(Row)];
    const TRect Button = ButtonRect(Node);
    if (!Button.IsEmpty()) {
        // The box: a frame in the shadow colour, a minus, and a plus's
        // upright while the node is closed.
        Canvas->GetBrush()->SetColor(clWindow);
        Canvas->FillRect(Button);
        Canvas->GetBrush()->SetColor(clBtnShadow);
        Canvas->FrameRect(Button);
        const int CX = Button.Left + ButtonSize / 2, CY = Button.Top + ButtonSize / 2;
        Canvas->GetBrush()->SetColor(clWindowText);
        Canvas->FillRect(Rect(Button.Left + 2, CY, Button.Right - 2, CY + 1));
        if (!Node->GetExpanded())
            Canvas->FillRect(Rect(CX, Button.Top + 2, CX + 1, Button.Bottom - 2));
    }
    int X = ColumnLeft(Level);
    if (FImages && Node->GetImageIndex() >= 0 && Node->GetImageIndex() < FImages->GetCount()) {
        FImages->Draw(Canvas, X, R.Top + (R.Height() - FImages->GetHeight()) / 2,
                      Node->GetImageIndex(), GetEnabled());
    }
    X += ImageWidth();
    const int Width = Canvas->TextWidth(Node->GetText()) + 2 * TextGap;
    const TRect Label = Rect(X, R.Top, X + Width, R.Bottom);
    const bool Selected = Node == FSelected || Node == FDropTarget;
    const bool Shown = Selected && (Focused() || !FHideSelection || Node == FDropTarget);
    TColor TextColor = GetEnabled() ? GetFont()->GetColor() : clGrayText;
    if (Shown) {
        const bool Active = Focused() || Node == FDropTarget;
        Canvas->GetBrush()->SetColor(Active ? clHighlight : clBtnFace);
        Canvas->FillRect(Label);
        if (Active) TextColor = clHighlightText;
    }
    Canvas->GetFont()->SetColor(TextColor);
    Canvas->GetBrush()->SetStyle(bsClear);
    DrawCaption(Canvas, Node->GetText(), Rect(X + TextGap, R.Top, R.Right, R.Bottom),
                DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX), true);
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetFont()->SetColor(GetFont()->GetColor());
    if (Node == FSelected && Focused()) Canvas->DrawFocusRect(Label);
}

void TTreeView::PaintLines(TCanvas* Canvas, int Row, const TRect& R) {
    TTreeNode* Node = FRows[static_cast<size_t>(Row)];
    const int Level = FRowLevels[static_cast<size_t>(Row)];
    if (Level == 0 && !FShowRoot) return;
    const TColor Line = clBtnShadow;
    const int MidY = (R.Top + R.Bottom) / 2;
    const auto Dotted = [&](int X0, int Y0, int X1, int Y1) {
        // Every other pixel, on the same grid for every row, so the dots of
        // neighbouring rows line up.
        for (int Y = Y0; Y <= Y1; ++Y)
            for (int X = X0; X <= X1; ++X)
                if (((X + Y + R.Top) & 1) == 0) Canvas->SetPixel(X, Y, Line);
    };
    const auto IsLast = [](const TTreeNode* N) {
        if (const TTreeNode* P = N->GetParent()) return P->Children().back().get() == N;
        const TTreeNodes* Owner = N->GetOwner();
        return Owner->GetTopItem(Owner->GetTopCount() - 1) == N;
    };
    const auto IsFirstTop = [](const TTreeNode* N) {
        return !N->GetParent() && N->GetOwner()->GetTopItem(0) == N;
    };
    // The node's own branch: from its parent's line across to it.
    const int CX = ColumnLeft(Level) - FIndent / 2;
    Dotted(CX, IsFirstTop(Node) ? MidY : R.Top, CX, IsLast(Node) ? MidY : R.Bottom - 1);
    Dotted(CX, MidY, ColumnLeft(Level) - 2, MidY);
    // The lines of ancestors with siblings still to come pass by; only the
    // columns on the screen are looked at.
    int AncestorLevel = Level - 1;
    for (const TTreeNode* P = Node->GetParent(); P && AncestorLevel >= (FShowRoot ? 0 : 1);
         P = P->GetParent(), --AncestorLevel) {
        const int X = ColumnLeft(AncestorLevel) - FIndent / 2;
        if (X >= R.Right) continue;
        if (!IsLast(P)) Dotted(X, R.Top, X, R.Bottom - 1);
    }
}

// --- renaming --------------------------------------------------------------------------------

void TTreeView::StartEdit(TTreeNode* Node) {
    if (!Node || FReadOnly || !GetEnabled()) return;
    if (IsEditing()) EndEdit(true);
    bool Allow = true;
    if (OnEditing) OnEditing(this, Node, Allow);
    if (!Allow) return;
    MakeVisible(Node);
    TRect R = LabelRect(Node);
    if (R.IsEmpty()) return;
    R.Right = std::max(R.Right + 20, R.Left + 60);
    R.Right = std::min(R.Right, ItemArea().Right);
    FEditNode = Node;
    FEditor->Start(R, Node->GetText());
}

void TTreeView::EndEdit(bool Accept) {
    FEditor->Finish(Accept);
}

// --- input -----------------------------------------------------------------------------------

void TTreeView::SelectByUser(TTreeNode* Node) {
    if (!Node) return;
    SetSelected(Node);
    MakeVisible(Node);
}

void TTreeView::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    FPressedSelected = false;
    if (Button == mbLeft || Button == mbRight) {
        if (IsEditing()) EndEdit(true);
        if (CanFocus() && !Focused()) SetFocus();
        TTreeNode* Node = GetNodeAt(X, Y);
        const TTreeHitTest Hit = GetHitTestAt(X, Y);
        if (Node && Hit == htOnButton && Button == mbLeft) {
            Node->SetExpanded(!Node->GetExpanded());
        } else if (Node && Hit != htOnRight) {
            FPressedSelected = Button == mbLeft && Node == FSelected && Hit == htOnLabel &&
                               !Shift.Contains(ssDouble);
            SelectByUser(Node);
        }
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TTreeView::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FPressedSelected && GetNodeAt(X, Y) == FSelected &&
        GetHitTestAt(X, Y) == htOnLabel && !FReadOnly && HandleAllocated()) {
        // A double click may still come: the rename waits for its time.
        SetTimer(GetHandle(), EditTimer, GetDoubleClickTime() + 50);
    }
    FPressedSelected = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TTreeView::DblClick() {
    if (HandleAllocated()) KillTimer(GetHandle(), EditTimer);
    const TPoint P = ScreenToClient(Mouse->GetCursorPos());
    if (TTreeNode* Node = GetNodeAt(P.X, P.Y); Node && GetHitTestAt(P.X, P.Y) != htOnButton)
        Node->SetExpanded(!Node->GetExpanded());
    TCustomControl::DblClick();
}

void TTreeView::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0) return;
    const auto& All = Rows();
    if (All.empty()) return;
    const int Count = static_cast<int>(All.size());
    const int Row = FSelected ? RowOf(FSelected) : -1;
    const int Page = std::max(VisibleRowCount() - 1, 1);
    const auto Go = [&](int To) {
        SelectByUser(All[static_cast<size_t>(std::clamp(To, 0, Count - 1))]);
    };
    switch (Key) {
    case VK_UP:
        Go(Row < 0 ? 0 : Row - 1);
        break;
    case VK_DOWN:
        Go(Row + 1);
        break;
    case VK_PRIOR:
        Go(Row < 0 ? 0 : Row - Page);
        break;
    case VK_NEXT:
        Go(Row < 0 ? 0 : Row + Page);
        break;
    case VK_HOME:
        Go(0);
        break;
    case VK_END:
        Go(Count - 1);
        break;
    case VK_RIGHT:
        // Opens a closed node, else steps to its first child.
        if (!FSelected)
            Go(0);
        else if (FSelected->HasChildren() && !FSelected->GetExpanded())
            FSelected->SetExpanded(true);
        else if (FSelected->HasChildren())
            SelectByUser(FSelected->GetItem(0));
        break;
    case VK_LEFT:
        // Closes an open node, else steps to its parent.
        if (!FSelected)
            Go(0);
        else if (FSelected->GetExpanded())
            FSelected->SetExpanded(false);
        else if (FSelected->GetParent())
            SelectByUser(FSelected->GetParent());
        break;
    case VK_ADD:
        if (FSelected) FSelected->SetExpanded(true);
        break;
    case VK_SUBTRACT:
        if (FSelected) FSelected->SetExpanded(false);
        break;
    case VK_MULTIPLY:
        if (FSelected) {
            FItems->BeginUpdate();
            FSelected->Expand(true);
            FItems->EndUpdate();
        }
        break;
    case VK_F2:
        StartEdit(FSelected);
        break;
    default:
        return;
    }
    Key = 0;
}

void TTreeView::KeyPress(char& Key) {
    TCustomControl::KeyPress(Key);
    // The characters of the keys above, typed on the main keyboard.
    if (!FSelected) return;
    if (Key == '+')
        FSelected->SetExpanded(true);
    else if (Key == '-')
        FSelected->SetExpanded(false);
    else if (Key == '*')
        FSelected->Expand(true);
    else
        return;
    Key = 0;
}

bool TTreeView::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    SetTopIndex(TopRowAfterWheel(FTopIndex, WheelDelta, 3));
    return true;
}

void TTreeView::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS | DLGC_WANTCHARS,
                            [this] { return FSelected ? RowRect(FSelected) : TRect{}; }))
        return;
    if (Message.Msg == WM_TIMER && static_cast<unsigned>(Message.WParam) == EditTimer) {
        KillTimer(GetHandle(), EditTimer);
        StartEdit(FSelected);
        return;
    }
    TCustomControl::Dispatch(Message);
}

// --- dragging nodes --------------------------------------------------------------------------

void TTreeView::DoStartDrag(TDragObject*& DragObject) {
    if (HandleAllocated()) KillTimer(GetHandle(), EditTimer);
    FDragNode = FSelected;
    TCustomControl::DoStartDrag(DragObject);
}

void TTreeView::DoEndDrag(TObject* Target, int X, int Y) {
    FDragNode = nullptr;
    SetDropTarget(nullptr);
    TCustomControl::DoEndDrag(Target, X, Y);
}

void TTreeView::SetDropTarget(TTreeNode* Node) {
    if (Node == FDropTarget) return;
    if (FDropTarget) InvalidateRect(RowRect(FDropTarget), true);
    FDropTarget = Node;
    if (Node) InvalidateRect(RowRect(Node), true);
}

void TTreeView::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    TCustomControl::DragOver(Source, X, Y, State, Accept);
    if (OnDragOver || Source != this || !FDragNode) return;
    // A node of this tree goes under any node but itself and those below it.
    // The last ask, as the drag leaves or drops, decides the drop: it is
    // answered for the point too.
    TTreeNode* Target = GetNodeAt(X, Y);
    Accept = Target && Target != FDragNode && !FDragNode->IsAncestorOf(Target);
    SetDropTarget(Accept && State != dsDragLeave ? Target : nullptr);
}

void TTreeView::DragDrop(TObject* Source, int X, int Y) {
    TTreeNode* Target = GetNodeAt(X, Y);
    if (!OnDragDrop && Source == this && FDragNode && Target && Target != FDragNode &&
        !FDragNode->IsAncestorOf(Target)) {
        TTreeNode* Moved = FDragNode;
        Moved->MoveTo(Target, naAddChild);
        Target->SetExpanded(true);
        SetSelected(Moved);
    }
    SetDropTarget(nullptr);
    TCustomControl::DragDrop(Source, X, Y);
}

// --- accessibility ---------------------------------------------------------------------------

namespace {

class TTreeNodeAccessible : public TAccessible {
public:
    TTreeNodeAccessible(TTreeView* Tree, TTreeNode* Node) : FTree(Tree), FNode(Node) {}
    TAccRole GetRole() const override { return TAccRole::TreeItem; }
    String GetName() const override { return FNode->GetText(); }
    unsigned GetStates() const override {
        unsigned S = asSelectable;
        if (FTree->GetSelected() == FNode) S |= asSelected;
        if (FNode->HasChildren()) S |= asExpandable | (FNode->GetExpanded() ? asExpanded : 0u);
        const int Row = FTree->RowOf(FNode);
        if (Row < FTree->GetTopIndex() || Row >= FTree->GetTopIndex() + FTree->VisibleRowCount())
            S |= asOffscreen;
        return S;
    }
    TRect GetBounds() const override {
        const TRect R = FTree->RowRect(FNode);
        if (R.IsEmpty()) return R;
        const TPoint P = FTree->ClientToScreen(Point(R.Left, R.Top));
        return Rect(P.X, P.Y, P.X + R.Width(), P.Y + R.Height());
    }
    std::vector<String> GetActions() const override {
        if (!FNode->HasChildren()) return {"press"};
        return {"press", FNode->GetExpanded() ? "collapse" : "expand"};
    }
    bool DoAction(const String& Action) override {
        if (!FTree->GetEnabled()) return false;
        if (Action == "press")
            FTree->SetSelected(FNode);
        else if (Action == "expand" || Action == "collapse")
            FNode->SetExpanded(Action == "expand");
        else
            return false;
        return true;
    }
    const void* GetKey() const override { return FNode; }

private:
    TTreeView* FTree;
    TTreeNode* FNode;
};

class TTreeViewAccessible : public TControlAccessible {
public:
    explicit TTreeViewAccessible(TControl* C) : TControlAccessible(C, TAccRole::Tree) {}
    String GetName() const override { return GetDescription(); }
    unsigned GetStates() const override { return TControlAccessible::GetStates() | asFocusable; }
    // Every node with a row is a child, in row order.
    int GetChildCount() const override { return static_cast<int>(Tree()->Rows().size()); }
    std::unique_ptr<TAccessible> GetChild(int Index) const override {
        const auto& Rows = Tree()->Rows();
        if (Index < 0 || Index >= static_cast<int>(Rows.size())) return nullptr;
        return std::make_unique<TTreeNodeAccessible>(Tree(), Rows[static_cast<size_t>(Index)]);
    }

private:
    TTreeView* Tree() const { return static_cast<TTreeView*>(FControl); }
};

const TAccessibleRegistration TreeAccessible(TTreeView::StaticClassInfo(), [](TControl* C) {
    return std::unique_ptr<TAccessible>(std::make_unique<TTreeViewAccessible>(C));
});

} // namespace

} // namespace folio
