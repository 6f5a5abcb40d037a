#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Font.h"
#include "framework/ui/Controls.h"
#include "framework/ui/DragDrop.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Input.h"
#include "framework/ui/PaintPass.h"
#include "framework/ui/RectOps.h"

#include <algorithm>
#include <unordered_map>

namespace folio {

namespace {

// Which control owns which window handle.
std::unordered_map<HWND, TWinControl*>& HandleMap() {
    static std::unordered_map<HWND, TWinControl*> Map;
    return Map;
}

TWinControl* FocusedWindow = nullptr;

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

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
    FWindowed = true;
}

TWinControl::~TWinControl() {
    // Owned controls go first, while this window is still whole.
    DestroyComponents();
    TDragManager::ControlDestroyed(this);
    InputRouter->ControlDestroyed(this);
    if (FocusedWindow == this) FocusedWindow = nullptr;
    DestroyHandle();
    while (!FControls.empty()) RemoveControl(FControls.back());
    if (FParent) FParent->RemoveControl(this);
}

// --- handles -------------------------------------------------------------------

HWND TWinControl::GetHandle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    if (!FHandle) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
    Params.Caption = FText;
    Params.Style = WS_CLIPSIBLINGS;
    if (FParent) Params.Style |= WS_CHILD;
    if (FVisible) Params.Style |= WS_VISIBLE;
    if (!FEnabled) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    if (FControlStyle.Contains(csFramed)) {
        if (FCtl3D && NewStyleControls)
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WndParent = FParent && FParent->HandleAllocated() ? FParent->FHandle : 0;
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
    if (!FParent) {
        AllocateSurface();
        InputRouter->TopLevelCreated(this);
    }
    FFrameDirty = true;
    InvalidateClient(GetClientRect(), true);
    const TRect C = GetClientRect();
    Perform(WM_SIZE, 0, MAKELPARAM(C.Width(), C.Height()));
}

void TWinControl::DestroyWnd() {
    if (!FHandle) return;
    TPaintPass::WindowDestroyed(this);
    InputRouter->WindowDestroyed(this);
    HandleMap().erase(FHandle);
    const HWND H = FHandle;
    FHandle = 0;
    DeallocateHWnd(H);
    FSurfacePixels.clear();
    FSurfacePixels.shrink_to_fit();
    FSurface = {};
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    for (size_t I = 0; I < FControls.size(); ++I) {
        auto* W = dynamic_cast<TWinControl*>(FControls[I]);
        if (W && W->FVisible) W->CreateHandle();
    }
}

void TWinControl::DestroyHandle() {
    if (!FHandle || FDestroyingHandle) return;
    FDestroyingHandle = true;
    for (TControl* C : FControls)
        if (auto* W = dynamic_cast<TWinControl*>(C)) W->DestroyHandle();
    if (FocusedWindow == this) FocusedWindow = nullptr;
    DestroyWnd();
    FDestroyingHandle = false;
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    const bool HadFocus =
        FocusedWindow && (FocusedWindow == this || ContainsControl(FocusedWindow));
    TWinControl* Focus = FocusedWindow;
    DestroyHandle();
    CreateHandle();
    if (HadFocus && Focus && Focus->HandleAllocated()) {
        // The focus goes back where it was without running the enter and
        // exit bookkeeping: from the user's point of view nothing changed.
        FocusedWindow = Focus;
    }
    InputRouter->WindowRecreated(this);
}

void TWinControl::UpdateShowing() {
    if (!FVisible) return;
    if (FParent && FParent->HandleAllocated() && !FHandle) CreateHandle();
    if (FHandle) {
        FFrameDirty = true;
        InvalidateClient(GetClientRect(), true);
    }
}

void TWinControl::AllocateSurface() {
    const int W = std::max(FWidth, 0), H = std::max(FHeight, 0);
    const size_t Count = static_cast<size_t>(W) * static_cast<size_t>(H);
    if (FSurface.Width == W && FSurface.Height == H && FSurfacePixels.size() == Count) return;
    FSurfacePixels.assign(Count, 0xFF000000u);
    FSurface.Pixels = Count ? FSurfacePixels.data() : nullptr;
    FSurface.Width = W;
    FSurface.Height = H;
    FSurface.Stride = W;
    FSurfaceDamage = Rect(0, 0, W, H);
}

const TPixelSurface* TWinControl::GetSurface() const {
    return FParent || !FHandle ? nullptr : &FSurface;
}

TRect TWinControl::TakeSurfaceDamage() {
    const TRect R = FSurfaceDamage;
    FSurfaceDamage = {};
    return R;
}

TPoint TWinControl::GetWindowOrigin() const {
    if (!FParent) return TPoint{0, 0};
    const TPoint P = FParent->GetWindowOrigin();
    const int F = FParent->GetBorderWidth();
    return TPoint{P.X + F + FLeft, P.Y + F + FTop};
}

unsigned TWinControl::GetStyle() const {
    if (FHandle) return FStyle;
    TCreateParams P;
    const_cast<TWinControl*>(this)->CreateParams(P);
    return P.Style;
}

unsigned TWinControl::GetExStyle() const {
    if (FHandle) return FExStyle;
    TCreateParams P;
    const_cast<TWinControl*>(this)->CreateParams(P);
    return P.ExStyle;
}

int TWinControl::GetBorderWidth() const {
    if (FHandle) return FFrame;
    TCreateParams P;
    const_cast<TWinControl*>(this)->CreateParams(P);
    return FrameWidth(P.Style, P.ExStyle);
}

void TWinControl::StyleChanged() {
    const int Old = FFrame;
    FFrame = FrameWidth(FStyle, FExStyle);
    FFrameDirty = true;
    if (Old != FFrame) {
        InvalidateClient(GetClientRect(), true);
        const TRect C = GetClientRect();
        Perform(WM_SIZE, 0, MAKELPARAM(C.Width(), C.Height()));
    }
    TPaintPass::MarkDirty(this);
}

unsigned GetWindowLong(HWND Handle, int Index) {
    TWinControl* W = FindControl(Handle);
    if (!W) return 0;
    switch (Index) {
    case GWL_STYLE:
        return W->FStyle;
    case GWL_EXSTYLE:
        return W->FExStyle;
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

// --- children ------------------------------------------------------------------

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format("Control index out of bounds (%d)", Index));
    return FControls[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* C = Control; C; C = C->FParent)
        if (C->FParent == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    if (FAnchorClientSize.cx < 0) {
        const TRect C = GetClientRect();
        FAnchorClientSize = TSize{C.Width(), C.Height()};
    }
    FControls.push_back(AControl);
    AControl->FParent = this;
    // A new child takes what it inherits from its parent.
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->Perform(CM_PARENTBIDIMODECHANGED);
    if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
        W->Perform(CM_PARENTCTL3DCHANGED);
        if (FHandle && W->FVisible) W->CreateHandle();
    }
    if (AControl->FVisible) InvalidateClient(AControl->GetBoundsRect(), true);
    if (AControl->FAlign != alNone) Realign();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<std::intptr_t>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto It = std::find(FControls.begin(), FControls.end(), AControl);
    if (It == FControls.end()) return;
    if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
        if (FocusedWindow && (FocusedWindow == W || W->ContainsControl(FocusedWindow)))
            FocusedWindow = nullptr;
        W->DestroyHandle();
    }
    InputRouter->ControlHidden(AControl);
    if (AControl->FVisible) InvalidateClient(AControl->GetBoundsRect(), true);
    FControls.erase(std::find(FControls.begin(), FControls.end(), AControl));
    AControl->FParent = nullptr;
    if (TCustomForm* Form = GetParentForm(this)) Form->ControlRemoved(AControl);
    if (AControl->FAlign != alNone && !IsDestroying()) Realign();
    if (!IsDestroying())
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<std::intptr_t>(AControl), 0);
}

void TWinControl::SetChildOrder(TControl* Child, int Order) {
    auto It = std::find(FControls.begin(), FControls.end(), Child);
    if (It == FControls.end()) return;
    FControls.erase(It);
    Order = std::clamp(Order, 0, ControlCount());
    FControls.insert(FControls.begin() + Order, Child);
    InvalidateClient(Child->GetBoundsRect(), true);
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
    // Child windows lie above the controls painted on this window.
    if (AllowWinControls) {
        for (size_t I = FControls.size(); I-- > 0;) {
            TControl* C = FControls[I];
            if (!C->FVisible || !C->FWindowed) continue;
            if (!C->GetBoundsRect().Contains(Pos)) continue;
            if (AllowDisabled || C->GetEnabled()) return C;
        }
    }
    for (size_t I = FControls.size(); I-- > 0;) {
        TControl* C = FControls[I];
        if (!C->FVisible || C->FWindowed) continue;
        if (!C->GetBoundsRect().Contains(Pos)) continue;
        if (AllowDisabled || C->GetEnabled()) return C;
    }
    return nullptr;
}

// --- bounds and alignment --------------------------------------------------------

TRect TWinControl::GetClientRect() const {
    const int F = GetBorderWidth();
    return Rect(0, 0, std::max(0, FWidth - 2 * F), std::max(0, FHeight - 2 * F));
}

TPoint TWinControl::GetClientOrigin() const {
    const TPoint P = TControl::GetClientOrigin();
    const int F = GetBorderWidth();
    return TPoint{P.X + F, P.Y + F};
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TWinControl::AdjustAnchoredChildren() {
    const TRect C = GetClientRect();
    const TSize Old = FAnchorClientSize;
    FAnchorClientSize = TSize{C.Width(), C.Height()};
    if (Old.cx < 0 || IsLoading()) return;
    const int DW = C.Width() - Old.cx, DH = C.Height() - Old.cy;
    if (DW == 0 && DH == 0) return;
    for (size_t I = 0; I < FControls.size(); ++I) {
        TControl* Child = FControls[I];
        if (Child->FAlign != alNone) continue;
        const TAnchors A = Child->FAnchors;
        int L = Child->FLeft, T = Child->FTop, W = Child->FWidth, H = Child->FHeight;
        if (A.Contains(akRight)) {
            if (A.Contains(akLeft))
                W += DW;
            else
                L += DW;
        }
        if (A.Contains(akBottom)) {
            if (A.Contains(akTop))
                H += DH;
            else
                T += DH;
        }
        if (L != Child->FLeft || T != Child->FTop || W != Child->FWidth || H != Child->FHeight)
            Child->SetBounds(L, T, std::max(W, 0), std::max(H, 0));
    }
}

void TWinControl::BoundsMoved(bool Sized) {
    if (Sized) AdjustAnchoredChildren();
    if (!FHandle) {
        if (Sized) {
            Realign();
            Resize();
        }
        return;
    }
    if (!FParent && Sized) AllocateSurface();
    if (Sized) {
        // The whole window repaints when its size changes.
        FFrameDirty = true;
        InvalidateClient(GetClientRect(), true);
        const TRect C = GetClientRect();
        Perform(WM_SIZE, 0, MAKELPARAM(C.Width(), C.Height()));
    } else if (!FParent) {
        TPaintPass::MarkDirty(this);
    } else {
        // A moved child window repaints at its new place.
        FFrameDirty = true;
        InvalidateClient(GetClientRect(), true);
    }
    InputRouter->LayoutChanged();
}

void TWinControl::WMSize(TMessage&) {
    Realign();
    Resize();
}

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || IsLoading()) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    TRect R = GetClientRect();
    ++FAlignLevel;
    try {
        AlignControls(nullptr, R);
    } catch (...) {
        --FAlignLevel;
        throw;
    }
    --FAlignLevel;
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
    // Top and bottom bars take the full width, then left and right the
    // remaining height, then the client fills what is left; within one kind
    // the controls keep the order of their positions.
    const TAlign Order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign A : Order) {
        std::vector<TControl*> List;
        for (TControl* C : FControls)
            if (C->FAlign == A && C->FVisible) List.push_back(C);
        std::stable_sort(List.begin(), List.end(), [A](TControl* X, TControl* Y) {
            switch (A) {
            case alTop:
                return X->FTop < Y->FTop;
            case alBottom:
                return X->FTop + X->FHeight > Y->FTop + Y->FHeight;
            case alLeft:
                return X->FLeft < Y->FLeft;
            case alRight:
                return X->FLeft + X->FWidth > Y->FLeft + Y->FWidth;
            default:
                return false;
            }
        });
        for (TControl* C : List) {
            int L = C->FLeft, T = C->FTop, W = C->FWidth, H = C->FHeight;
            switch (A) {
            case alTop:
                L = Rect.Left, T = Rect.Top, W = Rect.Width();
                Rect.Top += H;
                break;
            case alBottom:
                L = Rect.Left, T = Rect.Bottom - H, W = Rect.Width();
                Rect.Bottom -= H;
                break;
            case alLeft:
                L = Rect.Left, T = Rect.Top, H = Rect.Height();
                Rect.Left += W;
                break;
            case alRight:
                L = Rect.Right - W, T = Rect.Top, H = Rect.Height();
                Rect.Right -= W;
                break;
            default:
                L = Rect.Left, T = Rect.Top, W = Rect.Width(), H = Rect.Height();
                break;
            }
            C->SetBounds(L, T, std::max(W, 0), std::max(H, 0));
        }
    }
}

// --- focus -------------------------------------------------------------------------

HWND GetFocus() {
    return FocusedWindow ? FocusedWindow->GetHandle() : 0;
}

HWND SetFocus(HWND Handle) {
    TWinControl* New = FindControl(Handle);
    TWinControl* Old = FocusedWindow;
    const HWND OldHandle = Old ? Old->GetHandle() : 0;
    if (New == Old) return OldHandle;
    FocusedWindow = New;
    if (Old) Old->Perform(WM_KILLFOCUS, static_cast<std::intptr_t>(Handle));
    // The old window's handler may have moved the focus on already.
    if (New && FocusedWindow == New)
        New->Perform(WM_SETFOCUS, static_cast<std::intptr_t>(OldHandle));
    return OldHandle;
}

bool TWinControl::Focused() const {
    return FHandle != 0 && FocusedWindow == this;
}

bool TWinControl::CanFocus() const {
    TCustomForm* Form = GetParentForm(this);
    if (!Form || !Form->GetVisible()) return false;
    for (const TControl* C = this; C && C != Form; C = C->FParent)
        if (!C->FVisible || !C->GetEnabled()) return false;
    return Form->GetEnabled();
}

void TWinControl::SetFocus() {
    if (TCustomForm* Form = GetParentForm(this)) {
        Form->FocusControl(this);
        return;
    }
    // A window without a form takes the focus directly.
    folio::SetFocus(GetHandle());
}

void TWinControl::SetTabStop(bool Value) {
    if (Value == FTabStop) return;
    FTabStop = Value;
    if (FHandle) {
        if (Value)
            FStyle |= WS_TABSTOP;
        else
            FStyle &= ~WS_TABSTOP;
    }
}

int TWinControl::GetTabOrder() const {
    if (!FParent) return -1;
    int Index = 0;
    for (TControl* C : FParent->FControls) {
        if (C == this) return Index;
        if (dynamic_cast<TWinControl*>(C)) ++Index;
    }
    return -1;
}

void TWinControl::SetTabOrder(int Value) {
    if (!FParent) {
        FTabOrder = Value;
        return;
    }
    // The tab order is the order of the windowed children: move this one
    // among them, leaving the graphic controls where they are.
    std::vector<TWinControl*> Wins;
    for (TControl* C : FParent->FControls)
        if (auto* W = dynamic_cast<TWinControl*>(C)) Wins.push_back(W);
    auto It = std::find(Wins.begin(), Wins.end(), this);
    if (It == Wins.end()) return;
    Wins.erase(It);
    Value = std::clamp(Value, 0, static_cast<int>(Wins.size()));
    Wins.insert(Wins.begin() + Value, this);
    size_t K = 0;
    for (TControl*& C : FParent->FControls)
        if (dynamic_cast<TWinControl*>(C)) C = Wins[K++];
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& List) const {
    for (TControl* C : FControls) {
        if (auto* W = dynamic_cast<TWinControl*>(C)) {
            List.push_back(W);
            W->GetTabOrderList(List);
        }
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* CurControl, bool GoForward,
                                          bool CheckTabStop, bool CheckParent) const {
    std::vector<TWinControl*> List;
    GetTabOrderList(List);
    if (List.empty()) return nullptr;
    const int Count = static_cast<int>(List.size());
    int Start = -1;
    for (int I = 0; I < Count; ++I)
        if (List[static_cast<size_t>(I)] == CurControl) Start = I;
    if (Start < 0) Start = GoForward ? Count - 1 : 0;
    int I = Start;
    for (int Step = 0; Step < Count; ++Step) {
        I = GoForward ? (I + 1) % Count : (I + Count - 1) % Count;
        TWinControl* W = List[static_cast<size_t>(I)];
        if (W == CurControl) break;
        if (CheckTabStop && !W->FTabStop) continue;
        if (CheckParent && W->FParent != this) continue;
        if (W->CanFocus()) return W;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop) {
    if (TWinControl* Next = FindNextControl(CurControl, GoForward, CheckTabStop, false))
        Next->SetFocus();
}

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::WMSetFocus(TMessage&) {}
void TWinControl::WMKillFocus(TMessage&) {}

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
    if (FParent && Value) Perform(CM_PARENTCTL3DCHANGED);
}

void TWinControl::CMCtl3DChanged(TMessage&) {
    Invalidate();
    for (TControl* C : FControls) C->Perform(CM_PARENTCTL3DCHANGED);
}

// --- enabled -------------------------------------------------------------------------

void TWinControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    if (!Value && FocusedWindow && (FocusedWindow == this || ContainsControl(FocusedWindow)))
        folio::SetFocus(0);
    TControl::SetEnabled(Value);
    if (FHandle) {
        if (Value)
            FStyle &= ~WS_DISABLED;
        else
            FStyle |= WS_DISABLED;
    }
}

// --- keys ------------------------------------------------------------------------------

namespace {
TShiftState KeyboardShift() {
    TShiftState S;
    if (InputRouter->IsKeyDown(VK_SHIFT)) S.Include(ssShift);
    if (InputRouter->IsKeyDown(VK_CONTROL)) S.Include(ssCtrl);
    if (InputRouter->IsKeyDown(VK_MENU)) S.Include(ssAlt);
    return S;
}
} // namespace

void TWinControl::KeyDown(unsigned short& Key, TShiftState Shift) {
    if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyUp(unsigned short& Key, TShiftState Shift) {
    if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
    if (OnKeyPress) OnKeyPress(this, Key);
}

namespace {
// The form that sees the keys of Control first (KeyPreview), or null.
TWinControl* PreviewForm(TWinControl* Control) {
    TCustomForm* Form = GetParentForm(Control);
    if (!Form || Form == Control || !Form->GetKeyPreview()) return nullptr;
    return Form;
}
} // namespace

bool TWinControl::DoKeyDown(TMessage& Message) {
    // A form with KeyPreview handles the key before the focused control; a
    // key it sets to 0 never reaches the control, a key it changes arrives
    // changed.
    if (TWinControl* Form = PreviewForm(this); Form && Form->DoKeyDown(Message)) return true;
    auto Key = static_cast<unsigned short>(Message.WParam);
    KeyDown(Key, KeyboardShift());
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyUp(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this); Form && Form->DoKeyUp(Message)) return true;
    auto Key = static_cast<unsigned short>(Message.WParam);
    KeyUp(Key, KeyboardShift());
    Message.WParam = Key;
    return Key == 0;
}

bool TWinControl::DoKeyPress(TMessage& Message) {
    if (TWinControl* Form = PreviewForm(this); Form && Form->DoKeyPress(Message)) return true;
    char Key = static_cast<char>(Message.WParam);
    KeyPress(Key);
    Message.WParam = static_cast<unsigned char>(Key);
    return Key == 0;
}

// --- messages ----------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS: {
        // The form records its focused control first; a form that refuses
        // keeps the message from the control.
        TCustomForm* Form = GetParentForm(this);
        if (Form && !Form->SetFocusedControl(this)) return;
        break;
    }
    case WM_KILLFOCUS:
        break;
    default:
        break;
    }
    TControl::WndProc(Message);
}

void TWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (DoKeyDown(Message)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (DoKeyUp(Message)) return;
        break;
    case WM_CHAR:
        if (DoKeyPress(Message)) return;
        break;
    case WM_SETFOCUS:
        WMSetFocus(Message);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        break;
    case WM_SIZE:
        WMSize(Message);
        return;
    case WM_PAINT:
        WMPaint(Message);
        return;
    case WM_NCPAINT:
        WMNCPaint(Message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_CTL3DCHANGED:
        CMCtl3DChanged(Message);
        return;
    case CM_PARENTCTL3DCHANGED:
        if (FParentCtl3D && FParent && FCtl3D != FParent->GetCtl3D()) {
            FCtl3D = FParent->GetCtl3D();
            Perform(CM_CTL3DCHANGED);
        }
        return;
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_SHOWHINTCHANGED:
    case CM_BIDIMODECHANGED: {
        // The children that follow their parent take the new value.
        unsigned Child = CM_PARENTBIDIMODECHANGED;
        if (Message.Msg == CM_FONTCHANGED)
            Child = CM_PARENTFONTCHANGED;
        else if (Message.Msg == CM_COLORCHANGED)
            Child = CM_PARENTCOLORCHANGED;
        else if (Message.Msg == CM_SHOWHINTCHANGED)
            Child = CM_PARENTSHOWHINTCHANGED;
        for (size_t I = 0; I < FControls.size(); ++I) FControls[I]->Perform(Child);
        break;
    }
    default:
        break;
    }
    TControl::Dispatch(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = 0;
        return;
    case WM_ERASEBKGND:
        TPaintPass::EraseBackground(this, Message);
        return;
    case WM_NCPAINT:
        TPaintPass::PaintDefaultFrame(this);
        return;
    default:
        TControl::DefaultHandler(Message);
    }
}

// --- painting ---------------------------------------------------------------------------------

void TWinControl::InvalidateClient(const TRect& R, bool Erase) {
    if (!FHandle) {
        // Without a window the change shows on the parent's surface, if any.
        if (FParent && FVisible) {
            const int F = GetBorderWidth();
            FParent->InvalidateClient(rects::Offset(R, FLeft + F, FTop + F), Erase);
        }
        return;
    }
    TPaintPass::Invalidate(this, R, Erase);
}

void TWinControl::InvalidateFrame() {
    if (!FHandle) return;
    FFrameDirty = true;
    TPaintPass::MarkDirty(this);
}

void TWinControl::Invalidate() {
    if (FHandle) {
        TPaintPass::Invalidate(this, GetClientRect(), !FControlStyle.Contains(csOpaque));
        return;
    }
    TControl::Invalidate();
}

void TWinControl::Update() {
    if (FHandle) TPaintPass::PaintNow(this);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

bool InvalidateRect(HWND Handle, const TRect* R, bool Erase) {
    TWinControl* W = FindControl(Handle);
    if (!W) return false;
    W->InvalidateClient(R ? *R : W->GetClientRect(), Erase);
    return true;
}

void TWinControl::PaintWindow() {}

void TWinControl::PaintControls(const TRect& Clip) {
    TPaintPass::PaintGraphicChildren(this, Clip);
}

void TWinControl::WMPaint(TMessage&) {
    PaintWindow();
    PaintControls(TPaintPass::CurrentClip());
}

void TWinControl::WMNCPaint(TMessage& Message) {
    DefaultHandler(Message);
}

} // namespace folio
