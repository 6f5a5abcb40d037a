#include "ComponentTree.h"

#include "DesignCommands.h"
#include "FormDesigner.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/Exceptions.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/comctrls/InplaceEdit.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace designer {

using namespace folio;

namespace {

// How far the pointer moves before a press on a line becomes a drag.
constexpr int DragThreshold = 4;

} // namespace

TComponentTree::TComponentTree(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clWindow);
    SetDoubleBuffered(true);
    SetTabStop(true);
    FEditor = std::make_unique<TInplaceEdit>(this);
    FEditor->OnDone = [this](bool Accept, const String& Name) { Renamed(Accept, Name); };
}

TComponentTree::~TComponentTree() = default;

void TComponentTree::SetDesigner(TFormDesigner* Designer) {
    FDesigner = Designer;
    Rebuild();
}

void TComponentTree::Rebuild() {
    FLines.clear();
    FPressLine = -1;
    FDragging = false;
    TForm* Form = FDesigner ? FDesigner->GetForm() : nullptr;
    if (Form) {
        FLines.push_back({Form, 0});
        // The controls nested by parent, in the order they stand in it.
        const auto Children = [&](auto& Self, const TWinControl* Parent, int Depth) -> void {
            for (int I = 0; I < Parent->ControlCount(); ++I) {
                TControl* C = Parent->Controls(I);
                if (C->GetOwner() != Form) continue; // the designer's own marks
                FLines.push_back({C, Depth});
                if (const auto* W = dynamic_cast<const TWinControl*>(C)) Self(Self, W, Depth + 1);
            }
        };
        Children(Children, Form, 1);
        // Then what has no place on the form.
        for (int I = 0; I < Form->ComponentCount(); ++I)
            if (TComponent* C = Form->Components(I); !dynamic_cast<TControl*>(C))
                FLines.push_back({C, 1});
    }
    SetTopLine(FTop);
    SelectionChanged();
    NotifyAccessible(this, TAccEvent::ChildrenChanged);
}

void TComponentTree::SelectionChanged() {
    if (FDesigner)
        for (int I = 0; I < static_cast<int>(FLines.size()); ++I)
            if (FLines[I].Component == FDesigner->GetSelection()) {
                ScrollIntoView(I);
                break;
            }
    Invalidate();
}

String TComponentTree::LineText(int Index) const {
    const TComponent* C = FLines[Index].Component;
    return C->GetName() + ": " + C->ClassName();
}

int TComponentTree::FindLine(const String& Name) const {
    for (int I = 0; I < static_cast<int>(FLines.size()); ++I)
        if (FLines[I].Component->GetName() == Name) return I;
    return -1;
}

int TComponentTree::CurrentLine() const {
    if (!FDesigner) return -1;
    for (int I = 0; I < static_cast<int>(FLines.size()); ++I)
        if (FLines[I].Component == FDesigner->GetSelection()) return I;
    return -1;
}

void TComponentTree::SelectLine(int Index) {
    if (FDesigner && Index >= 0 && Index < static_cast<int>(FLines.size()))
        FDesigner->Select(FLines[Index].Component);
}

int TComponentTree::ContainerLine(int Index) const {
    for (int I = Index - 1; I >= 0; --I)
        if (FLines[I].Depth < FLines[Index].Depth) return I;
    return Index;
}

bool TComponentTree::IsHighlighted(int Index) const {
    return FDesigner && FDesigner->IsSelected(FLines[Index].Component);
}

// --- geometry ---------------------------------------------------------------------------

TRect TComponentTree::LineRect(int Index) const {
    const int Top = (Index - FTop) * LineHeight + 2;
    return Rect(0, Top, GetClientWidth(), Top + LineHeight);
}

int TComponentTree::LineAt(int Y) const {
    if (Y < 2) return -1;
    const int Index = FTop + (Y - 2) / LineHeight;
    return Index < static_cast<int>(FLines.size()) ? Index : -1;
}

int TComponentTree::VisibleLines() const {
    return std::max(1, (GetClientHeight() - 4) / LineHeight);
}

void TComponentTree::SetTopLine(int Value) {
    const int Last = std::max(0, static_cast<int>(FLines.size()) - VisibleLines());
    Value = std::clamp(Value, 0, Last);
    if (Value == FTop) return;
    FTop = Value;
    Invalidate();
}

void TComponentTree::ScrollIntoView(int Index) {
    if (Index < FTop)
        SetTopLine(Index);
    else if (Index >= FTop + VisibleLines())
        SetTopLine(Index - VisibleLines() + 1);
}

// --- painting ---------------------------------------------------------------------------

void TComponentTree::Paint() {
    TCanvas* C = GetCanvas();
    C->GetFont()->Assign(GetFont());
    C->GetBrush()->SetColor(clWindow);
    C->FillRect(GetClientRect());
    C->SetBkMode(TRANSPARENT);
    const int End = std::min(static_cast<int>(FLines.size()), FTop + VisibleLines() + 1);
    for (int I = FTop; I < End; ++I) {
        const TRect R = LineRect(I);
        const String Text = LineText(I);
        const int X = 4 + FLines[I].Depth * Indent;
        const bool Lit = IsHighlighted(I);
        C->GetBrush()->SetStyle(bsSolid);
        if (Lit) {
            C->GetBrush()->SetColor(clHighlight);
            C->FillRect(
                Rect(X - 2, R.Top, std::min(R.Right, X + C->TextWidth(Text) + 2), R.Bottom));
        }
        if (I == GetDropLine()) {
            // Where the dragged line would go: a frame round the container.
            C->GetBrush()->SetColor(clWindowText);
            C->FrameRect(
                Rect(X - 3, R.Top, std::min(R.Right, X + C->TextWidth(Text) + 3), R.Bottom));
        }
        C->GetFont()->SetColor(Lit ? clHighlightText : clWindowText);
        // The text goes over what was filled; an opaque TextRect would fill
        // the whole line with the brush the last highlight left behind.
        C->GetBrush()->SetStyle(bsClear);
        C->TextRect(R, X, R.Top + (LineHeight - C->TextHeight(Text)) / 2, Text);
    }
    // The line the keys move from, while the tree has them.
    if (const int Line = CurrentLine(); Line >= 0 && Focused() && !IsRenaming()) {
        const TRect R = LineRect(Line);
        const int X = 4 + FLines[Line].Depth * Indent;
        C->DrawFocusRect(
            Rect(X - 2, R.Top, std::min(R.Right, X + C->TextWidth(LineText(Line)) + 2), R.Bottom));
    }
    TRect Edge = GetClientRect();
    DrawEdge(C->GetHandle(), Edge, EDGE_SUNKEN, BF_RECT);
}

// --- the mouse --------------------------------------------------------------------------

void TComponentTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (IsRenaming()) FEditor->Finish(true);
    if (CanFocus() && !Focused()) SetFocus();
    if (Button != mbLeft || !FDesigner) return;
    const int Line = LineAt(Y);
    if (Line < 0) return;
    TComponent* C = FLines[Line].Component;
    if (Shift.Contains(ssShift) || Shift.Contains(ssCtrl)) {
        FDesigner->ToggleSelection(C);
        return;
    }
    // A press inside a selection of several keeps it, for a drag of all;
    // let go without a drag, it selects the line alone.
    FSelectOnRelease = FDesigner->IsSelected(C) && FDesigner->GetSelectionList().size() > 1;
    if (!FSelectOnRelease) FDesigner->Select(C);
    FPressLine = Line;
    FPressY = Y;
}

void TComponentTree::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FPressLine < 0) return;
    if (!FDragging && std::abs(Y - FPressY) < DragThreshold) return;
    FDragging = true;
    const int Line = LineAt(Y);
    if (Line != FDropLine) {
        FDropLine = Line;
        Invalidate();
    }
}

void TComponentTree::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    const bool Dropping = FDragging;
    const int Line = LineAt(Y);
    if (FSelectOnRelease && !Dropping && FPressLine >= 0 && FDesigner)
        FDesigner->Select(FLines[FPressLine].Component);
    FSelectOnRelease = false;
    FPressLine = -1;
    FDragging = false;
    FDropLine = -1;
    Invalidate();
    if (Dropping && Line >= 0) Drop(Line);
}

void TComponentTree::Drop(int Line) {
    auto* Target = dynamic_cast<TWinControl*>(FLines[Line].Component);
    std::vector<TControl*> Moving;
    for (TComponent* C : FDesigner->SelectedTops())
        if (auto* Control = dynamic_cast<TControl*>(C)) Moving.push_back(Control);
    // A drop on a line of the selection, or of nothing that moves, is no drag.
    if (Moving.empty() || FDesigner->IsSelected(FLines[Line].Component)) return;
    RunReporting(*FDesigner, [&] {
        if (!Target)
            throw EInvalidOperation(FLines[Line].Component->GetName() +
                                    " cannot hold other controls");
        FDesigner->Reparent(Moving, Target);
    });
}

bool TComponentTree::DoMouseWheel(TShiftState, int WheelDelta, TPoint) {
    SetTopLine(FTop - WheelDelta / 120 * 3);
    return true;
}

// --- the keys ---------------------------------------------------------------------------

void TComponentTree::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS, [this] {
            const int Line = CurrentLine();
            return Line >= 0 ? LineRect(Line) : TRect();
        }))
        return;
    TCustomControl::Dispatch(Message);
}

void TComponentTree::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0 || !FDesigner || FLines.empty()) return;
    const int Line = CurrentLine();
    const int Last = static_cast<int>(FLines.size()) - 1;
    int To;
    switch (Key) {
    case VK_UP:
        To = Line - 1;
        break;
    case VK_DOWN:
        To = Line + 1;
        break;
    case VK_HOME:
        To = 0;
        break;
    case VK_END:
        To = Last;
        break;
    case VK_PRIOR:
        To = Line - VisibleLines();
        break;
    case VK_NEXT:
        To = Line + VisibleLines();
        break;
    case VK_LEFT:
        To = Line < 0 ? 0 : ContainerLine(Line);
        break;
    case VK_RIGHT:
        To = Line >= 0 && Line < Last && FLines[Line + 1].Depth > FLines[Line].Depth ? Line + 1
                                                                                     : Line;
        break;
    case VK_DELETE:
        Key = 0;
        RunReporting(*FDesigner, [this] { FDesigner->DeleteSelection(); });
        return;
    case VK_F2:
        Key = 0;
        StartRename();
        return;
    default:
        return;
    }
    Key = 0;
    GoTo(std::clamp(To, 0, Last), Shift.Contains(ssShift));
}

void TComponentTree::GoTo(int To, bool Extend) {
    TComponent* Target = FLines[To].Component;
    const int From = CurrentLine();
    if (!Extend || From < 0) {
        FDesigner->Select(Target);
    } else {
        std::vector<TPersistent*> Selected = FDesigner->GetSelectionList();
        for (int I = std::min(From, To); I <= std::max(From, To); ++I)
            if (!FDesigner->IsSelected(FLines[I].Component))
                Selected.push_back(FLines[I].Component);
        FDesigner->SelectList(Selected, Target);
    }
    if (const int Now = CurrentLine(); Now >= 0) ScrollIntoView(Now);
}

// --- renaming ---------------------------------------------------------------------------

bool TComponentTree::IsRenaming() const {
    return FEditor->Editing();
}

void TComponentTree::StartRename() {
    const int Line = CurrentLine();
    if (Line < 0) return;
    ScrollIntoView(Line);
    const TRect R = LineRect(Line);
    const int X = 4 + FLines[Line].Depth * Indent - 3;
    FRenaming = FLines[Line].Component;
    FRenaming->FreeNotification(this);
    FEditor->Start(Rect(X, R.Top, R.Right - 2, R.Bottom), FRenaming->GetName());
}

void TComponentTree::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FRenaming) {
        FRenaming = nullptr;
        FEditor->Finish(false);
    }
}

void TComponentTree::Renamed(bool Accept, const String& Name) {
    TComponent* Component = std::exchange(FRenaming, nullptr);
    if (!Component) return;
    Component->RemoveFreeNotification(this);
    if (CanFocus()) SetFocus();
    if (!Accept || !FDesigner || Name == Component->GetName()) return;
    // A name that is no identifier, or another component's, is refused
    // with the reason and the component keeps its name.
    RunReporting(*FDesigner, [&] {
        Component->SetName(Name);
        FDesigner->Modified();
    });
    Rebuild();
}

} // namespace designer
