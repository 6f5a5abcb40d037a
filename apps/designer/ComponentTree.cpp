#include "ComponentTree.h"

#include "DesignCommands.h"
#include "FormDesigner.h"

#include "framework/core/ColorConsts.h"
#include "framework/core/Exceptions.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Edges.h"

#include <algorithm>
#include <cstdlib>

namespace designer {

using namespace folio;

namespace {

// How far the pointer moves before a press on a line becomes a drag.
constexpr int DragThreshold = 4;

} // namespace

TComponentTree::TComponentTree(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(clWindow);
    SetDoubleBuffered(true);
}

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
    TRect Edge = GetClientRect();
    DrawEdge(C->GetHandle(), Edge, EDGE_SUNKEN, BF_RECT);
}

// --- the mouse --------------------------------------------------------------------------

void TComponentTree::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
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

} // namespace designer
