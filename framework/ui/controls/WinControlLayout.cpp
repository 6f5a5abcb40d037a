#include "framework/ui/app/Application.h"
#include "framework/ui/controls/WinControl.h"

#include "framework/core/Exceptions.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/paint/PaintPass.h"

#include <algorithm>
#include <utility>

namespace folio {

// --- children ------------------------------------------------------------------

TControl* TWinControl::Controls(int Index) const {
    if (Index < 0 || Index >= ControlCount())
        throw EListError(Format("Control index out of bounds (%d)", Index));
    return FControls[static_cast<size_t>(Index)];
}

bool TWinControl::ContainsControl(const TControl* Control) const {
    for (const TControl* C = Control; C; C = C->GetParent())
        if (C->GetParent() == this) return true;
    return false;
}

void TWinControl::InsertControl(TControl* AControl) {
    if (FAnchorClientSize.cx < 0) {
        const TRect C = GetClientRect();
        FAnchorClientSize = TSize{C.Width(), C.Height()};
    }
    FControls.push_back(AControl);
    TParentLink::Set(*AControl, this);
    // A tab order given while the control had no parent (a form reader
    // sets a form's children's properties before it hands them over) takes
    // effect now, as it would have had the parent come first.
    if (auto* W = dynamic_cast<TWinControl*>(AControl); W && W->FTabOrder >= 0)
        W->SetTabOrder(std::exchange(W->FTabOrder, -1));
    // A new child takes what it inherits from its parent.
    AControl->Perform(CM_PARENTFONTCHANGED);
    AControl->Perform(CM_PARENTCOLORCHANGED);
    AControl->Perform(CM_PARENTSHOWHINTCHANGED);
    AControl->Perform(CM_PARENTBIDIMODECHANGED);
    if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
        W->Perform(CM_PARENTCTL3DCHANGED);
        if (FHandle && W->GetVisible()) W->CreateHandle();
    }
    if (AControl->GetVisible()) InvalidateRect(AControl->GetBoundsRect(), true);
    if (AControl->GetAlign() != alNone) Realign();
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<std::intptr_t>(AControl), 1);
}

void TWinControl::RemoveControl(TControl* AControl) {
    auto It = std::find(FControls.begin(), FControls.end(), AControl);
    if (It == FControls.end()) return;
    if (auto* W = dynamic_cast<TWinControl*>(AControl)) {
        if (W->FocusWithin()) FFocusedWindow = nullptr;
        W->DestroyHandle();
    }
    InputRouter->ControlHidden(AControl);
    if (AControl->GetVisible()) InvalidateRect(AControl->GetBoundsRect(), true);
    FControls.erase(std::find(FControls.begin(), FControls.end(), AControl));
    TParentLink::Set(*AControl, nullptr);
    if (TCustomForm* Form = GetParentForm(this)) Form->ControlRemoved(AControl);
    if (AControl->GetAlign() != alNone && !IsDestroying()) Realign();
    if (!IsDestroying())
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<std::intptr_t>(AControl), 0);
}

void TWinControl::SetChildOrder(TControl* Child, int Order) {
    auto It = std::find(FControls.begin(), FControls.end(), Child);
    if (It == FControls.end()) return;
    FControls.erase(It);
    Order = std::clamp(Order, 0, ControlCount());
    FControls.insert(FControls.begin() + Order, Child);
    InvalidateRect(Child->GetBoundsRect(), true);
}

TControl* TWinControl::ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls) const {
    // Child windows lie above the controls painted on this window.
    if (AllowWinControls) {
        for (size_t I = FControls.size(); I-- > 0;) {
            TControl* C = FControls[I];
            if (!C->GetVisible() || !C->IsWindowed()) continue;
            if (!C->GetBoundsRect().Contains(Pos)) continue;
            if (AllowDisabled || C->GetEnabled()) return C;
        }
    }
    for (size_t I = FControls.size(); I-- > 0;) {
        TControl* C = FControls[I];
        if (!C->GetVisible() || C->IsWindowed()) continue;
        if (!C->GetBoundsRect().Contains(Pos)) continue;
        if (AllowDisabled || C->GetEnabled()) return C;
    }
    return nullptr;
}

// --- bounds and alignment --------------------------------------------------------

TRect TWinControl::GetClientRect() const {
    const int F = GetBorderWidth();
    return Rect(0, 0, std::max(0, GetWidth() - 2 * F), std::max(0, GetHeight() - 2 * F));
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
        if (Child->GetAlign() != alNone) continue;
        const TAnchors A = Child->GetAnchors();
        int L = Child->GetLeft(), T = Child->GetTop(), W = Child->GetWidth(),
            H = Child->GetHeight();
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
        if (L != Child->GetLeft() || T != Child->GetTop() || W != Child->GetWidth() ||
            H != Child->GetHeight())
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
    if (!GetParent() && Sized && FSurface) FSurface->SetSize(GetWidth(), GetHeight());
    if (Sized) {
        // The whole window repaints when its size changes.
        FPaintState.FrameDirty = true;
        InvalidateRect(GetClientRect(), true);
        const TRect C = GetClientRect();
        Perform(WM_SIZE, 0, MAKELPARAM(C.Width(), C.Height()));
    } else if (!GetParent()) {
        Application->GetPaintPass().MarkDirty(this);
    } else {
        // A moved child window repaints at its new place.
        FPaintState.FrameDirty = true;
        InvalidateRect(GetClientRect(), true);
    }
    InputRouter->LayoutChanged();
}

void TWinControl::WMSize(TMessage&) {
    Realign();
    Resize();
}

void TWinControl::ScaleBy(int M, int D) {
    ChangeScale(M, D);
}

void TWinControl::ChangeScale(int M, int D) {
    if (M == D || M <= 0 || D <= 0) return;
    // Aligned children are laid out once, in the scaled client area.
    DisableAlign();
    for (int I = 0; I < ControlCount(); ++I) TScaleHooks::ChangeScale(*Controls(I), M, D);
    TControl::ChangeScale(M, D);
    EnableAlign();
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
    TScopeGuard Done([this] { --FAlignLevel; });
    AlignControls(nullptr, R);
}

void TWinControl::AlignControls(TControl*, TRect& Rect) {
    // Top and bottom bars take the full width, then left and right the
    // remaining height, then the client fills what is left; within one kind
    // the controls keep the order of their positions.
    const TAlign Order[] = {alTop, alBottom, alLeft, alRight, alClient};
    for (TAlign A : Order) {
        std::vector<TControl*> List;
        for (TControl* C : FControls)
            if (C->GetAlign() == A && C->GetVisible()) List.push_back(C);
        std::stable_sort(List.begin(), List.end(), [A](TControl* X, TControl* Y) {
            switch (A) {
            case alTop:
                return X->GetTop() < Y->GetTop();
            case alBottom:
                return X->GetTop() + X->GetHeight() > Y->GetTop() + Y->GetHeight();
            case alLeft:
                return X->GetLeft() < Y->GetLeft();
            case alRight:
                return X->GetLeft() + X->GetWidth() > Y->GetLeft() + Y->GetWidth();
            default:
                return false;
            }
        });
        for (TControl* C : List) {
            int L = C->GetLeft(), T = C->GetTop(), W = C->GetWidth(), H = C->GetHeight();
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

} // namespace folio
