#include "GrabHandles.h"

#include "framework/core/ColorConsts.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/WinControl.h"

#include <algorithm>

namespace designer {

using namespace folio;

TRect ResizedBounds(const TRect& Start, THandleEdges Edges, int DX, int DY) {
    TRect R = Start;
    if (Edges.Left) R.Left = std::min(Start.Left + DX, Start.Right - 1);
    if (Edges.Right) R.Right = std::max(Start.Right + DX, Start.Left + 1);
    if (Edges.Top) R.Top = std::min(Start.Top + DY, Start.Bottom - 1);
    if (Edges.Bottom) R.Bottom = std::max(Start.Bottom + DY, Start.Top + 1);
    return R;
}

TGrabHandle::TGrabHandle(THandleEdges Edges) : TCustomControl(nullptr), FEdges(Edges) {
    SetBounds(0, 0, HandleSize, HandleSize);
    const bool Diagonal = (Edges.Left || Edges.Right) && (Edges.Top || Edges.Bottom);
    if (Diagonal)
        SetCursor((Edges.Left == Edges.Top) ? crSizeNWSE : crSizeNESW);
    else
        SetCursor(Edges.Left || Edges.Right ? crSizeWE : crSizeNS);
}

void TGrabHandle::Paint() {
    TCanvas* C = GetCanvas();
    C->GetBrush()->SetColor(clBlack);
    C->FillRect(GetClientRect());
}

void TGrabHandle::MouseDown(TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft || !OnStart) return;
    FDragging = true;
    FMoved = false;
    FStartScreen = ClientToScreen(Point(X, Y));
    FStartBounds = OnStart();
}

void TGrabHandle::MouseMove(TShiftState, int X, int Y) {
    if (!FDragging) return;
    const TPoint P = ClientToScreen(Point(X, Y));
    if (P == FStartScreen && !FMoved) return;
    FMoved = true;
    if (OnResizeTo)
        OnResizeTo(ResizedBounds(FStartBounds, FEdges, P.X - FStartScreen.X, P.Y - FStartScreen.Y),
                   false);
}

void TGrabHandle::MouseUp(TMouseButton Button, TShiftState, int X, int Y) {
    if (Button != mbLeft || !FDragging) return;
    FDragging = false;
    if (!FMoved || !OnResizeTo) return;
    const TPoint P = ClientToScreen(Point(X, Y));
    OnResizeTo(ResizedBounds(FStartBounds, FEdges, P.X - FStartScreen.X, P.Y - FStartScreen.Y),
               true);
}

TGrabHandles::TGrabHandles() {
    const THandleEdges Edges[8] = {
        {true, true, false, false},  {false, true, false, false}, {false, true, true, false},
        {false, false, true, false}, {false, false, true, true},  {false, false, false, true},
        {true, false, false, true},  {true, false, false, false},
    };
    for (int I = 0; I < 8; ++I) {
        FHandles[I] = std::make_unique<TGrabHandle>(Edges[I]);
        FHandles[I]->SetVisible(false);
        FHandles[I]->OnStart = [this] { return FControl ? FControl->GetBoundsRect() : TRect(); };
        FHandles[I]->OnResizeTo = [this](const TRect& R, bool Final) {
            if (OnResizeTo) OnResizeTo(R, Final);
        };
    }
}

TGrabHandles::~TGrabHandles() = default;

void TGrabHandles::Attach(TControl* Control) {
    FControl = Control && Control->GetParent() ? Control : nullptr;
    for (auto& H : FHandles) {
        if (!FControl) {
            H->SetVisible(false);
            H->SetParent(nullptr);
        } else if (H->GetParent() != FControl->GetParent()) {
            H->SetParent(FControl->GetParent());
        }
    }
    Update();
}

void TGrabHandles::Update() {
    if (!FControl) return;
    const TRect R = FControl->GetBoundsRect();
    const int Half = HandleSize / 2;
    const int XMid = (R.Left + R.Right) / 2 - Half;
    const int YMid = (R.Top + R.Bottom) / 2 - Half;
    const int Xs[8] = {R.Left - Half,  XMid, R.Right - Half, R.Right - Half,
                       R.Right - Half, XMid, R.Left - Half,  R.Left - Half};
    const int Ys[8] = {R.Top - Half,    R.Top - Half,    R.Top - Half,    YMid,
                       R.Bottom - Half, R.Bottom - Half, R.Bottom - Half, YMid};
    for (int I = 0; I < 8; ++I) {
        FHandles[I]->SetBounds(Xs[I], Ys[I], HandleSize, HandleSize);
        FHandles[I]->SetVisible(true);
        FHandles[I]->BringToFront();
    }
}

} // namespace designer
