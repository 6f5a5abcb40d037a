#include "framework/ui/controls/Control.h"
#include "framework/ui/app/Application.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Font.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/paint/RectOps.h"

namespace folio {

// --- class information -----------------------------------------------------

namespace {
const std::vector<String>& AlignNames() {
    static const std::vector<String> Names{"alNone", "alTop",   "alBottom",
                                           "alLeft", "alRight", "alClient"};
    return Names;
}
const std::vector<String>& BiDiNames() {
    static const std::vector<String> Names{"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                           "bdRightToLeftReadingOnly"};
    return Names;
}
const std::vector<String>& DragModeNames() {
    static const std::vector<String> Names{"dmManual", "dmAutomatic"};
    return Names;
}
const std::vector<String>& DragKindNames() {
    static const std::vector<String> Names{"dkDrag", "dkDock"};
    return Names;
}

} // namespace

const TClassInfo& TControl::StaticClassInfo() {
    using C = TControl;
    static const TClassInfo Info =
        TClassBuilder<C>("TControl", &TComponent::StaticClassInfo())
            .Int("Left", &C::GetLeft, &C::SetLeft)
            .Int("Top", &C::GetTop, &C::SetTop)
            .Int("Width", &C::GetWidth, &C::SetWidth)
            .Int("Height", &C::GetHeight, &C::SetHeight)
            .Int("ClientWidth", &C::GetClientWidth, &C::SetClientWidth)
            .Unpublished()
            .Int("ClientHeight", &C::GetClientHeight, &C::SetClientHeight)
            .Unpublished()
            .Enum("Align", "TAlign", AlignNames(), &C::GetAlign, &C::SetAlign,
                  std::optional<TAlign>(alNone))
            .Unpublished()
            .Set("Anchors", "TAnchors", {"akLeft", "akTop", "akRight", "akBottom"},
                 &C::GetAnchorBits, &C::SetAnchorBits,
                 static_cast<long long>(TAnchors{akLeft, akTop}.Bits()))
            .Unpublished()
            .Enum("BiDiMode", "TBiDiMode", BiDiNames(), &C::GetBiDiMode, &C::SetBiDiMode,
                  std::optional<TBiDiMode>(bdLeftToRight))
            .Unpublished()
            .Str("Caption", &C::GetCaption, &C::SetCaption)
            .Unpublished()
            .Color("Color", &C::GetColor, &C::SetColor, SysColorWindow)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentColor(); })
            .Object("Constraints", &C::GetConstraints, &C::SetConstraints)
            .Unpublished()
            .Int("Cursor", &C::GetCursorOrd, &C::SetCursorOrd, crDefault)
            .OfType("TCursor")
            .Unpublished()
            .Int("DragCursor", &C::GetDragCursorOrd, &C::SetDragCursorOrd, crDrag)
            .OfType("TCursor")
            .Unpublished()
            .Enum("DragKind", "TDragKind", DragKindNames(), &C::GetDragKind, &C::SetDragKind,
                  std::optional<TDragKind>(dkDrag))
            .Unpublished()
            .Enum("DragMode", "TDragMode", DragModeNames(), &C::GetDragMode, &C::SetDragMode,
                  std::optional<TDragMode>(dmManual))
            .Unpublished()
            .Bool("Enabled", &C::GetEnabled, &C::SetEnabled, true)
            .Unpublished()
            .Object("Font", &C::GetFont, &C::SetFont)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentFont(); })
            .Str("Hint", &C::GetHint, &C::SetHint)
            .Unpublished()
            .Bool("ParentBiDiMode", &C::GetParentBiDiMode, &C::SetParentBiDiMode, true)
            .Unpublished()
            .Bool("ParentColor", &C::GetParentColor, &C::SetParentColor, false)
            .Unpublished()
            .Bool("ParentFont", &C::GetParentFont, &C::SetParentFont, true)
            .Unpublished()
            .Bool("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint, true)
            .Unpublished()
            .Component("PopupMenu", &C::GetPopupMenu, &C::SetPopupMenu)
            .Unpublished()
            .Bool("ShowHint", &C::GetShowHint, &C::SetShowHint, false)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentShowHint(); })
            .Str("Text", &C::GetText, &C::SetText)
            .Unpublished()
            .Bool("Visible", &C::GetVisible, &C::SetVisible, true)
            .Unpublished()
            .Event("OnCanResize", &C::OnCanResize)
            .Unpublished()
            .Event("OnClick", &C::OnClick)
            .Unpublished()
            .Event("OnConstrainedResize", &C::OnConstrainedResize)
            .Unpublished()
            .Event("OnDblClick", &C::OnDblClick)
            .Unpublished()
            .Event("OnDragDrop", &C::OnDragDrop)
            .Unpublished()
            .Event("OnDragOver", &C::OnDragOver)
            .Unpublished()
            .Event("OnEndDock", &C::OnEndDock)
            .Unpublished()
            .Event("OnEndDrag", &C::OnEndDrag)
            .Unpublished()
            .Event("OnMouseDown", &C::OnMouseDown)
            .Unpublished()
            .Event("OnMouseMove", &C::OnMouseMove)
            .Unpublished()
            .Event("OnMouseUp", &C::OnMouseUp)
            .Unpublished()
            .Event("OnMouseWheel", &C::OnMouseWheel)
            .Unpublished()
            .Event("OnMouseWheelDown", &C::OnMouseWheelDown)
            .Unpublished()
            .Event("OnMouseWheelUp", &C::OnMouseWheelUp)
            .Unpublished()
            .Event("OnResize", &C::OnResize)
            .Unpublished()
            .Event("OnStartDock", &C::OnStartDock)
            .Unpublished()
            .Event("OnStartDrag", &C::OnStartDrag)
            .Unpublished()
            .Build();
    return Info;
}

// --- construction ----------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TControl(AOwner, false) {}

TControl::TControl(TComponent* AOwner, bool Windowed)
    : TComponent(AOwner), FColor(SysColorWindow), FWindowed(Windowed) {
    FConstraints = std::make_unique<TSizeConstraints>(this);
    FFont = std::make_unique<TFont>();
    FFont->OnChange = [this](TObject*) { FontChangedHandler(); };
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
    Application->GetDragManager().ControlDestroyed(this);
    InputRouter->ControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
}

// --- parent ----------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
    for (TWinControl* P = AParent; P; P = P->GetParent())
        if (P == this) throw EInvalidOperation("A control cannot be the parent of its own parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
    return FParent;
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* W = dynamic_cast<TWinControl*>(Value)) SetParent(W);
}

TWinControl* TControl::GetTopLevel() const {
    const TControl* C = this;
    while (C->FParent) C = C->FParent;
    return const_cast<TWinControl*>(dynamic_cast<const TWinControl*>(C));
}

bool TControl::Showing() const {
    for (const TControl* C = this; C; C = C->FParent)
        if (!C->FVisible) return false;
    const TWinControl* Top = GetTopLevel();
    return Top && Top->HandleAllocated();
}

bool TControl::IsHandleShowing() const {
    return Showing();
}

void TControl::BringToFront() {
    if (FParent) FParent->SetChildOrder(this, FParent->ControlCount() - 1);
}

void TControl::SendToBack() {
    if (FParent) FParent->SetChildOrder(this, 0);
}

// --- bounds ----------------------------------------------------------------

void TControl::ApplyConstraints(int& NewWidth, int& NewHeight) {
    int MinW = FConstraints->GetMinWidth(), MinH = FConstraints->GetMinHeight();
    int MaxW = FConstraints->GetMaxWidth(), MaxH = FConstraints->GetMaxHeight();
    ConstrainedResize(MinW, MinH, MaxW, MaxH);
    if (MaxW > 0 && NewWidth > MaxW) NewWidth = MaxW;
    if (MinW > 0 && NewWidth < MinW) NewWidth = MinW;
    if (MaxH > 0 && NewHeight > MaxH) NewHeight = MaxH;
    if (MinH > 0 && NewHeight < MinH) NewHeight = MinH;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
    bool Result = true;
    if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, Result);
    return Result;
}

bool TControl::CanAutoSize(int&, int&) {
    return true;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
    if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (AWidth != FWidth || AHeight != FHeight) {
        if (!CanResize(AWidth, AHeight)) {
            AWidth = FWidth;
            AHeight = FHeight;
        }
        ApplyConstraints(AWidth, AHeight);
    }
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    UpdateBoundsRect(ALeft, ATop, AWidth, AHeight);
}

void TControl::UpdateBoundsRect(int ALeft, int ATop, int AWidth, int AHeight) {
    const TRect Old = GetBoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged(Old);
}

void TControl::BoundsChanged(const TRect& OldBounds) {
    const bool Sized = OldBounds.Width() != FWidth || OldBounds.Height() != FHeight;
    // The parent repaints where the control was and where it is now.
    if (FParent && FVisible) {
        FParent->InvalidateRect(OldBounds, true);
        FParent->InvalidateRect(GetBoundsRect(), true);
    }
    BoundsMoved(Sized);
    if (FParent && FAlign != alNone) RequestAlign();
    if (FParent) FParent->Perform(CM_CHILDBOUNDSCHANGED, 0, reinterpret_cast<std::intptr_t>(this));
}

void TControl::BoundsMoved(bool Sized) {
    if (Sized) Resize();
}

TRect TControl::GetClientRect() const {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value) {
    SetWidth(Value + (FWidth - GetClientWidth()));
}

void TControl::SetClientHeight(int Value) {
    SetHeight(Value + (FHeight - GetClientHeight()));
}

TPoint TControl::GetClientOrigin() const {
    if (!FParent) return TPoint{FLeft, FTop};
    const TPoint P = FParent->GetClientOrigin();
    return TPoint{P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const {
    const TPoint O = GetClientOrigin();
    return TPoint{P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
    const TPoint O = GetClientOrigin();
    return TPoint{P.X - O.X, P.Y - O.Y};
}

int TControl::ScalePixels(int N) const {
    return FCurrentPPI == 96 ? N : MulDiv(N, FCurrentPPI, 96);
}

void TControl::ChangeScale(int M, int D) {
    if (M == D || M <= 0 || D <= 0) return;
    // The bounds scale from what they were: a limit scaled below may resize
    // the control on its way.
    const TRect Old = GetBoundsRect();
    // The limits go first, so that they let the scaled size through; a
    // growing maximum before the minimum that may pass the old one.
    TSizeConstraints& C = *FConstraints;
    auto Maxima = [&] {
        C.SetMaxWidth(MulDiv(C.GetMaxWidth(), M, D));
        C.SetMaxHeight(MulDiv(C.GetMaxHeight(), M, D));
    };
    auto Minima = [&] {
        C.SetMinWidth(MulDiv(C.GetMinWidth(), M, D));
        C.SetMinHeight(MulDiv(C.GetMinHeight(), M, D));
    };
    if (M > D) {
        Maxima();
        Minima();
    } else {
        Minima();
        Maxima();
    }
    // Edges are scaled, not sizes, so that controls that touched still touch.
    const int L = MulDiv(Old.Left, M, D);
    const int T = MulDiv(Old.Top, M, D);
    SetBounds(L, T, MulDiv(Old.Right, M, D) - L, MulDiv(Old.Bottom, M, D) - T);
    // A control without a parent (a form) has only its own font.
    if (!FParentFont || !FParent) FFont->SetHeight(MulDiv(FFont->GetHeight(), M, D));
    FCurrentPPI = MulDiv(FCurrentPPI, M, D);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::RequestAlign() {
    if (FParent) FParent->Realign();
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
    if (Value == FAnchors) return;
    FAnchors = Value;
}

// --- visibility and state ----------------------------------------------------

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    VisibleChanging();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (FParent) {
        FParent->InvalidateRect(GetBoundsRect(), true);
        if (FAlign != alNone) RequestAlign();
    }
    UpdateShowing();
    if (!Value) InputRouter->ControlHidden(this);
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::Changed() {
    Perform(CM_CHANGED);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent && FAlign != alNone) RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetPopupMenu(TComponent* Value) {
    if (Value == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

// --- painting ----------------------------------------------------------------

void TControl::InvalidateRect(const TRect& R, bool Erase) {
    if (!FParent || !FVisible) return;
    TRect P{R.Left + FLeft, R.Top + FTop, R.Right + FLeft, R.Bottom + FTop};
    const TRect B = GetBoundsRect();
    P = rects::Intersect(P, B);
    if (!P.IsEmpty()) FParent->InvalidateRect(P, Erase && !FControlStyle.Contains(csOpaque));
}

void TControl::Invalidate() {
    TControl::InvalidateRect(Rect(0, 0, FWidth, FHeight), true);
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

} // namespace folio
