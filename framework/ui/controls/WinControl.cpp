#include "framework/ui/controls/WinControl.h"
#include "framework/ui/app/Application.h"

#include "framework/core/ClassBuilder.h"
#include "framework/ui/input/DragDrop.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/paint/PaintPass.h"

#include <algorithm>
#include <unordered_map>

namespace folio {

bool NewStyleControls = true;

void AddSingleBorder(TCreateParams& Params, bool Ctl3D) {
    if (NewStyleControls && Ctl3D)
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
}

namespace {

// Which control owns which window handle.
std::unordered_map<HWND, TWinControl*>& HandleMap() {
    static std::unordered_map<HWND, TWinControl*> Map;
    return Map;
}

} // namespace

TWinControl* FindControl(HWND Handle) {
    if (Handle == 0) return nullptr;
    auto& Map = HandleMap();
    auto It = Map.find(Handle);
    return It == Map.end() ? nullptr : It->second;
}

// --- class information -------------------------------------------------------

const TClassInfo& TWinControl::StaticClassInfo() {
    using C = TWinControl;
    static const TClassInfo Info =
        TClassBuilder<C>("TWinControl", &TControl::StaticClassInfo())
            .Bool("Ctl3D", &C::GetCtl3D, &C::SetCtl3D, true)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentCtl3D(); })
            .Bool("DockSite", &C::GetDockSite, &C::SetDockSite, false)
            .Unpublished()
            .Bool("ParentCtl3D", &C::GetParentCtl3D, &C::SetParentCtl3D, true)
            .Unpublished()
            .Int("TabOrder", &C::GetTabOrder, &C::SetTabOrder)
            .Unpublished()
            .Bool("TabStop", &C::GetTabStop, &C::SetTabStop, false)
            .Unpublished()
            .Bool("UseDockManager", &C::GetUseDockManager, &C::SetUseDockManager, false)
            .Unpublished()
            .Event("OnDockDrop", &C::OnDockDrop)
            .Unpublished()
            .Event("OnDockOver", &C::OnDockOver)
            .Unpublished()
            .Event("OnEnter", &C::OnEnter)
            .Unpublished()
            .Event("OnExit", &C::OnExit)
            .Unpublished()
            .Event("OnGetSiteInfo", &C::OnGetSiteInfo)
            .Unpublished()
            .Event("OnKeyDown", &C::OnKeyDown)
            .Unpublished()
            .Event("OnKeyPress", &C::OnKeyPress)
            .Unpublished()
            .Event("OnKeyUp", &C::OnKeyUp)
            .Unpublished()
            .Event("OnUnDock", &C::OnUnDock)
            .Unpublished()
            .Build();
    return Info;
}

// --- construction --------------------------------------------------------------

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner, true) {}

TWinControl::~TWinControl() {
    // Owned controls go first, while this window is still whole.
    DestroyComponents();
    Application->GetDragManager().ControlDestroyed(this);
    InputRouter->ControlDestroyed(this);
    if (FFocusedWindow == this) FFocusedWindow = nullptr;
    DestroyHandle();
    while (!FControls.empty()) RemoveControl(FControls.back());
    if (GetParent()) GetParent()->RemoveControl(this);
}

// --- handles -------------------------------------------------------------------

HWND TWinControl::GetHandle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (GetParent()) GetParent()->HandleNeeded();
    if (!FHandle) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params.Caption = GetText();
    Params.Style = WS_CLIPSIBLINGS;
    if (GetParent()) Params.Style |= WS_CHILD;
    if (GetVisible()) Params.Style |= WS_VISIBLE;
    if (!GetEnabled()) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    if (GetControlStyle().Contains(csFramed)) {
        if (FCtl3D && NewStyleControls)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    Params.X = GetLeft();
    Params.Y = GetTop();
    Params.Width = GetWidth();
    Params.Height = GetHeight();
    Params.WndParent = GetParent() && GetParent()->HandleAllocated() ? GetParent()->FHandle : 0;
}

int TWinControl::FrameWidth(unsigned Style, unsigned ExStyle) {
    // Top-level windows get their frame from the host, never from these bits.
    if (!(Style & WS_CHILD)) return 0;
    int F = 0;
    if (Style & WS_BORDER) F += 1;
    if (ExStyle & WS_EX_CLIENTEDGE) F += 2;
    if (ExStyle & WS_EX_STATICEDGE) F += 1;
    return F;
}

void TWinControl::CreateWnd() {
    TCreateParams Params;
    CreateParams(Params);
    FStyle = Params.Style;
    FExStyle = Params.ExStyle;
    FFrame = FrameWidth(FStyle, FExStyle);
    FHandle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
    HandleMap()[FHandle] = this;
    if (!GetParent()) {
        if (!FSurface) FSurface = std::make_unique<TWindowSurface>();
        FSurface->SetSize(GetWidth(), GetHeight());
        InputRouter->TopLevelCreated(this);
    }
    FPaintState.FrameDirty = true;
    InvalidateRect(GetClientRect(), true);
    const TRect C = GetClientRect();
    Perform(WM_SIZE, 0, MAKELPARAM(C.Width(), C.Height()));
}

void TWinControl::DestroyWnd() {
    if (!FHandle) return;
    Application->GetPaintPass().WindowDestroyed(this);
    InputRouter->WindowDestroyed(this);
    HandleMap().erase(FHandle);
    const HWND H = FHandle;
    FHandle = 0;
    DeallocateHWnd(H);
    if (FSurface) FSurface->Release();
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    for (size_t I = 0; I < FControls.size(); ++I) {
        auto* W = dynamic_cast<TWinControl*>(FControls[I]);
        if (W && W->GetVisible()) W->CreateHandle();
    }
}

void TWinControl::DestroyHandle() {
    if (!FHandle || FDestroyingHandle) return;
    FDestroyingHandle = true;
    for (TControl* C : FControls)
        if (auto* W = dynamic_cast<TWinControl*>(C)) W->DestroyHandle();
    if (FFocusedWindow == this) FFocusedWindow = nullptr;
    DestroyWnd();
    FDestroyingHandle = false;
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    const bool HadFocus = FocusWithin();
    TWinControl* Focus = FFocusedWindow;
    DestroyHandle();
    CreateHandle();
    if (HadFocus && Focus && Focus->HandleAllocated()) {
        // The focus goes back where it was without running the enter and
        // exit bookkeeping: from the user's point of view nothing changed.
        FFocusedWindow = Focus;
    }
    InputRouter->WindowRecreated(this);
}

void TWinControl::UpdateShowing() {
    if (!GetVisible()) return;
    if (GetParent() && GetParent()->HandleAllocated() && !FHandle) CreateHandle();
    if (FHandle) {
        FPaintState.FrameDirty = true;
        InvalidateRect(GetClientRect(), true);
    }
}

const TPixelSurface* TWinControl::GetSurface() const {
    return GetParent() || !FHandle || !FSurface ? nullptr : &FSurface->GetPixels();
}

unsigned TWinControl::GetSurfaceVersion() const {
    return FSurface ? FSurface->GetVersion() : 0;
}

TDamageRegion TWinControl::TakeSurfaceDamage() {
    return FSurface ? FSurface->TakeDamage() : TDamageRegion{};
}

TPoint TWinControl::GetWindowOrigin() const {
    if (!GetParent()) return TPoint{0, 0};
    const TPoint P = GetParent()->GetWindowOrigin();
    const int F = GetParent()->GetBorderWidth();
    return TPoint{P.X + F + GetLeft(), P.Y + F + GetTop()};
}

TCreateParams TWinControl::CurrentCreateParams() const {
    // CreateParams only fills in what the control's state gives; it is not
    // const because descendants override it with the platform's signature.
    TCreateParams P;
    const_cast<TWinControl*>(this)->CreateParams(P);
    return P;
}

unsigned TWinControl::GetStyle() const {
    return FHandle ? FStyle : CurrentCreateParams().Style;
}

unsigned TWinControl::GetExStyle() const {
    return FHandle ? FExStyle : CurrentCreateParams().ExStyle;
}

int TWinControl::GetBorderWidth() const {
    if (FHandle) return FFrame;
    const TCreateParams P = CurrentCreateParams();
    return FrameWidth(P.Style, P.ExStyle);
}

void TWinControl::StyleChanged() {
    const int Old = FFrame;
    FFrame = FrameWidth(FStyle, FExStyle);
    FPaintState.FrameDirty = true;
    if (Old != FFrame) {
        InvalidateRect(GetClientRect(), true);
        const TRect C = GetClientRect();
        Perform(WM_SIZE, 0, MAKELPARAM(C.Width(), C.Height()));
    }
    Application->GetPaintPass().MarkDirty(this);
}

unsigned GetWindowLong(HWND Handle, int Index) {
    TWinControl* W = FindControl(Handle);
    if (!W) return 0;
    switch (Index) {
    case GWL_STYLE:
        return W->GetStyle();
    case GWL_EXSTYLE:
        return W->GetExStyle();
    default:
        return 0;
    }
}

unsigned SetWindowLong(HWND Handle, int Index, unsigned NewLong) {
    TWinControl* W = FindControl(Handle);
    if (!W) return 0;
    unsigned Old = 0;
    switch (Index) {
    case GWL_STYLE:
        Old = W->FStyle;
        W->FStyle = NewLong;
        break;
    case GWL_EXSTYLE:
        Old = W->FExStyle;
        W->FExStyle = NewLong;
        break;
    default:
        return 0;
    }
    if (Old != NewLong) W->StyleChanged();
    return Old;
}

// --- 3-D look ------------------------------------------------------------------------

void TWinControl::SetCtl3D(bool Value) {
    if (Value == FCtl3D && !FParentCtl3D) return;
    const bool Changed = Value != FCtl3D;
    FCtl3D = Value;
    FParentCtl3D = false;
    if (Changed) Perform(CM_CTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool Value) {
    if (Value == FParentCtl3D) return;
    FParentCtl3D = Value;
    if (GetParent() && Value) Perform(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    Invalidate();
    for (TControl* C : FControls) C->Perform(CM_PARENTCTL3DCHANGED);
}

// --- enabled -------------------------------------------------------------------------

void TWinControl::SetEnabled(bool Value) {
    if (Value == GetEnabled()) return;
    if (!Value && FocusWithin()) folio::SetFocus(0);
    TControl::SetEnabled(Value);
    if (FHandle) {
        if (Value)
            FStyle &= ~WS_DISABLED;
        else
            FStyle |= WS_DISABLED;
    }
}

} // namespace folio
