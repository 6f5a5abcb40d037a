#include "framework/ui/extctrls/Splitter.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/controls/WinControl.h"

#include <algorithm>

namespace folio {

namespace {
const TAccessibleRegistration SplitterAccessible(TSplitter::StaticClassInfo(),
                                                 [](TControl* C) -> std::unique_ptr<TAccessible> {
                                                     return std::make_unique<TControlAccessible>(
                                                         C, TAccRole::Separator);
                                                 });
} // namespace

const TClassInfo& TSplitter::StaticClassInfo() {
    using C = TSplitter;
    static const TClassInfo Info =
        TClassBuilder<C>("TSplitter", &TGraphicControl::StaticClassInfo())
            .Int("MinSize", &C::GetMinSize, &C::SetMinSize, 30)
            .Event("OnMoved", &C::OnMoved)
            .Publish({"ParentColor", "Visible", "Hint", "ParentShowHint", "ShowHint"})
            .Publish("Color", clBtnFace)
            .Publish("Align", static_cast<long long>(alLeft))
            .Creatable()
            .Build();
    return Info;
}

TSplitter::TSplitter(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle({csCaptureMouse});
    SetBounds(GetLeft(), GetTop(), 3, 100);
    SetColor(clBtnFace);
    SetAlign(alLeft);
    SetCursor(crHSplit);
}

void TSplitter::RequestAlign() {
    // A bar turned from splitting sideways to splitting up and down (or
    // back) turns its thickness with it.
    const bool Wide = GetWidth() > GetHeight();
    if (!IsLoading() && GetAlign() != alNone && GetAlign() != alClient && Wide == Across()) {
        SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
        return;
    }
    TGraphicControl::RequestAlign();
    // The cursor shows which way the bar moves.
    if (GetCursor() == crHSplit || GetCursor() == crVSplit)
        SetCursor(Across() ? crHSplit : crVSplit);
}

bool TSplitter::Across() const {
    return GetAlign() == alLeft || GetAlign() == alRight;
}

int TSplitter::ParentAlong(int X, int Y) const {
    return Across() ? GetLeft() + X : GetTop() + Y;
}

TControl* TSplitter::FindNeighbour() const {
    TWinControl* Parent = GetParent();
    if (!Parent) return nullptr;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        TControl* C = Parent->Controls(I);
        if (C == this || !C->GetVisible() || C->GetAlign() != GetAlign()) continue;
        const TRect R = C->GetBoundsRect();
        bool Touches = false;
        switch (GetAlign()) {
        case alLeft:
            Touches = R.Right == GetLeft();
            break;
        case alRight:
            Touches = R.Left == GetLeft() + GetWidth();
            break;
        case alTop:
            Touches = R.Bottom == GetTop();
            break;
        case alBottom:
            Touches = R.Top == GetTop() + GetHeight();
            break;
        default:
            break;
        }
        if (Touches) return C;
    }
    return nullptr;
}

void TSplitter::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

void TSplitter::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    FNeighbour = FindNeighbour();
    if (!FNeighbour) return;
    FStartAlong = ParentAlong(X, Y);
    FStartSize = Across() ? FNeighbour->GetWidth() : FNeighbour->GetHeight();
    // What lies beyond the splitter, up to the parent's far edge, may give
    // up all but MinSize; controls aligned to the far side keep their room.
    TWinControl* Parent = GetParent();
    const TRect Client = Parent->GetClientRect();
    int Beyond = 0;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        const TControl* C = Parent->Controls(I);
        if (!C->GetVisible()) continue;
        const bool FarSide = (GetAlign() == alLeft && C->GetAlign() == alRight) ||
                             (GetAlign() == alRight && C->GetAlign() == alLeft) ||
                             (GetAlign() == alTop && C->GetAlign() == alBottom) ||
                             (GetAlign() == alBottom && C->GetAlign() == alTop);
        if (FarSide) Beyond += Across() ? C->GetWidth() : C->GetHeight();
    }
    const int Room = (Across() ? Client.Width() : Client.Height()) - Beyond;
    const int Used = (Across() ? GetWidth() : GetHeight());
    // Everything aligned on the neighbour's side before it keeps its size.
    int Before = 0;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        const TControl* C = Parent->Controls(I);
        if (C == FNeighbour || C == this || !C->GetVisible() || C->GetAlign() != GetAlign())
            continue;
        const TRect R = C->GetBoundsRect(), N = FNeighbour->GetBoundsRect();
        const bool Outside = GetAlign() == alLeft    ? R.Right <= N.Left
                             : GetAlign() == alRight ? R.Left >= N.Right
                             : GetAlign() == alTop   ? R.Bottom <= N.Top
                                                     : R.Top >= N.Bottom;
        if (Outside) Before += Across() ? C->GetWidth() : C->GetHeight();
    }
    FMaxSize = std::max(Room - Before - Used - FMinSize, FMinSize);
}

void TSplitter::MouseMove(TShiftState Shift, int X, int Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FNeighbour) return;
    int Delta = ParentAlong(X, Y) - FStartAlong;
    // A bar aligned to the right or bottom grows its neighbour the other way.
    if (GetAlign() == alRight || GetAlign() == alBottom) Delta = -Delta;
    const int Size = std::clamp(FStartSize + Delta, FMinSize, FMaxSize);
    // The pointer is measured in the parent, so the bar moving with the
    // neighbour does not move the reference.
    if (Size == (Across() ? FNeighbour->GetWidth() : FNeighbour->GetHeight())) return;
    if (Across())
        FNeighbour->SetWidth(Size);
    else
        FNeighbour->SetHeight(Size);
}

void TSplitter::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FNeighbour) {
        FNeighbour = nullptr;
        if (OnMoved) OnMoved(this);
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSplitter::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_CANCELMODE) FNeighbour = nullptr;
    TGraphicControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TSplitter)

} // namespace folio
