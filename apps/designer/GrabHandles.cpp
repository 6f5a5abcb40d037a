#include "GrabHandles.h"

#include "framework/core/ColorConsts.h"
#include "framework/gfx/Canvas.h"
#include "framework/ui/controls/WinControl.h"

#include <algorithm>

namespace designer {

using namespace folio;

namespace {

// The marks of a selection stand on the form, above everything on it: on
// the control's own parent, a panel or group box would cut off the half
// of each mark that lies past its edge, and with it the handle to grab.
TWinControl* MarkParent(const TControl* Control) {
    return Control->GetTopLevel();
}

// Whether the control shows at all on its form: one on a page that is not
// shown has no place for marks.
bool ShownOnForm(const TControl* Control) {
    for (const TControl* P = Control->GetParent(); P && P->GetParent(); P = P->GetParent())
        if (!P->GetVisible()) return false;
    return true;
}

// The control's bounds in the client coordinates of the parent of its marks.
TRect BoundsOnForm(const TControl* Control) {
    const TRect R = Control->GetBoundsRect();
    const TWinControl* Parent = Control->GetParent();
    const TWinControl* Top = MarkParent(Control);
    if (Parent == Top) return R;
    const TPoint P = Top->ScreenToClient(Parent->ClientToScreen(Point(R.Left, R.Top)));
    return Bounds(P.X, P.Y, R.Width(), R.Height());
}

} // namespace

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
    // The form's text colour stands out from its face in every scheme.
    C->GetBrush()->SetColor(clWindowText);
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
        } else if (H->GetParent() != MarkParent(FControl)) {
            H->SetParent(MarkParent(FControl));
        }
    }
    Update();
}

void TGrabHandles::Update() {
    if (!FControl) return;
    if (!ShownOnForm(FControl)) {
        for (auto& H : FHandles) H->SetVisible(false);
        return;
    }
    const TRect R = BoundsOnForm(FControl);
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

// --- the marks of a selection of several ----------------------------------------------

TSelectionMark::TSelectionMark() : TCustomControl(nullptr) {
    SetBounds(0, 0, HandleSize, HandleSize);
}

void TSelectionMark::Paint() {
    TCanvas* C = GetCanvas();
    C->GetBrush()->SetColor(clGray);
    C->FillRect(GetClientRect());
}

TSelectionMarks::TSelectionMarks() = default;

TSelectionMarks::~TSelectionMarks() = default;

void TSelectionMarks::Show(const std::vector<TControl*>& Controls) {
    FControls.clear();
    for (TControl* C : Controls)
        if (C && C->GetParent()) FControls.push_back(C);
    // The marks are kept for the next selection; the ones not needed hide.
    while (FMarks.size() < FControls.size() * 4)
        FMarks.push_back(std::make_unique<TSelectionMark>());
    Update();
}

void TSelectionMarks::Update() {
    const int Half = HandleSize / 2;
    size_t Next = 0;
    for (TControl* C : FControls) {
        if (!ShownOnForm(C)) continue;
        const TRect R = BoundsOnForm(C);
        const TPoint Corners[4] = {
            Point(R.Left - Half, R.Top - Half), Point(R.Right - Half, R.Top - Half),
            Point(R.Right - Half, R.Bottom - Half), Point(R.Left - Half, R.Bottom - Half)};
        for (const TPoint& P : Corners) {
            TSelectionMark* Mark = FMarks[Next++].get();
            if (Mark->GetParent() != MarkParent(C)) Mark->SetParent(MarkParent(C));
            Mark->SetBounds(P.X, P.Y, HandleSize, HandleSize);
            Mark->SetVisible(true);
            Mark->BringToFront();
        }
    }
    for (; Next < FMarks.size(); ++Next) {
        FMarks[Next]->SetVisible(false);
        FMarks[Next]->SetParent(nullptr);
    }
}

int TSelectionMarks::Count() const {
    return static_cast<int>(FControls.size()) * 4;
}

TRubberBand::TRubberBand() {
    for (auto& E : FEdges) {
        E = std::make_unique<TSelectionMark>();
        E->SetVisible(false);
    }
}

TRubberBand::~TRubberBand() = default;

void TRubberBand::Show(TWinControl* Parent, const TRect& R) {
    const TRect Lines[4] = {
        Rect(R.Left, R.Top, R.Right, R.Top + 1), Rect(R.Left, R.Bottom - 1, R.Right, R.Bottom),
        Rect(R.Left, R.Top, R.Left + 1, R.Bottom), Rect(R.Right - 1, R.Top, R.Right, R.Bottom)};
    for (int I = 0; I < 4; ++I) {
        TSelectionMark* E = FEdges[I].get();
        if (!Parent) {
            E->SetVisible(false);
            E->SetParent(nullptr);
            continue;
        }
        if (E->GetParent() != Parent) E->SetParent(Parent);
        E->SetBounds(Lines[I].Left, Lines[I].Top, std::max(1, Lines[I].Width()),
                     std::max(1, Lines[I].Height()));
        E->SetVisible(true);
        E->BringToFront();
    }
}

bool TRubberBand::IsShown() const {
    return FEdges[0]->GetVisible() && FEdges[0]->GetParent();
}

} // namespace designer
