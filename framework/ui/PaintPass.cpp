#include "framework/ui/PaintPass.h"

#include "framework/ui/Application.h"
#include "framework/ui/RectOps.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace folio {

bool TPaintPass::FPainting = false;
TRect TPaintPass::FCurrentClip;
unsigned TPaintPass::FPaintMessages = 0;

namespace {

std::vector<TWinControl*>& DirtyList() {
    static std::vector<TWinControl*> List = [] {
        std::vector<TWinControl*> L;
        L.reserve(64);
        return L;
    }();
    return List;
}

} // namespace

void TPaintPass::InstallIdleHandler() {
    // Installed again whenever work appears: a test may have replaced the
    // application's idle handler in between.
    Application->SetIdleHandler(&TPaintPass::PaintAll);
    Application->WakeUp();
}

void TPaintPass::MarkDirty(TWinControl* W) {
    if (!W->FHandle || W->FInDirtyList) return;
    W->FInDirtyList = true;
    auto& List = DirtyList();
    if (List.empty()) InstallIdleHandler();
    List.push_back(W);
}

void TPaintPass::Invalidate(TWinControl* W, const TRect& ClientRect, bool Erase) {
    // Painting reads state; a paint handler that invalidates would paint
    // forever.
    assert(!FPainting && "a control invalidated while painting");
    if (!W->FHandle) return;
    const TRect R = rects::Intersect(ClientRect, W->GetClientRect());
    if (R.IsEmpty()) return;
    W->FDirty = rects::Union(W->FDirty, R);
    if (Erase) W->FEraseDirty = true;
    MarkDirty(W);
}

void TPaintPass::WindowDestroyed(TWinControl* W) {
    if (!W->FInDirtyList) return;
    auto& List = DirtyList();
    List.erase(std::remove(List.begin(), List.end(), W), List.end());
    W->FInDirtyList = false;
    W->FDirty = {};
    W->FEraseDirty = false;
    W->FFrameDirty = false;
}

void TPaintPass::PaintAll() {
    auto& List = DirtyList();
    while (!List.empty()) {
        // Paint the top-level window of the first dirty window; that visits
        // every dirty window it holds and takes them off the list.
        TWinControl* Top = List.front()->GetTopLevel();
        if (!Top || !Top->HandleAllocated() || !Top->GetVisible()) {
            // Nothing of this tree is on screen: drop its marks until it shows.
            TWinControl* W = List.front();
            List.erase(List.begin());
            W->FInDirtyList = false;
            continue;
        }
        PaintTree(Top);
    }
}

void TPaintPass::PaintNow(TWinControl* W) {
    TWinControl* Top = W->GetTopLevel();
    if (!Top || !Top->HandleAllocated() || FPainting) return;
    bool Any = false;
    for (TWinControl* D : DirtyList())
        if (D->GetTopLevel() == Top) Any = true;
    if (Any && Top->GetVisible()) PaintTree(Top);
}

void TPaintPass::PaintTree(TWinControl* Top) {
    TRect Damage;
    FPainting = true;
    try {
        Visit(Top, TPoint{0, 0}, Rect(0, 0, Top->FWidth, Top->FHeight), Damage);
    } catch (...) {
        FPainting = false;
        FCurrentClip = {};
        throw;
    }
    FPainting = false;
    FCurrentClip = {};
    // Every window of this tree was visited: take them off the list.
    auto& List = DirtyList();
    List.erase(std::remove_if(List.begin(), List.end(),
                              [Top](TWinControl* W) {
                                  if (W->GetTopLevel() != Top) return false;
                                  W->FInDirtyList = false;
                                  W->FDirty = {};
                                  W->FEraseDirty = false;
                                  return true;
                              }),
               List.end());
    if (!Damage.IsEmpty()) {
        ++Top->FSurfaceVersion;
        Top->FSurfaceDamage = rects::Union(Top->FSurfaceDamage, Damage);
    }
}

void TPaintPass::Visit(TWinControl* W, TPoint Origin, const TRect& Visible, TRect& Damage) {
    if (!W->FVisible || !W->FHandle) return;
    const TRect WindowRect =
        rects::Intersect(Bounds(Origin.X, Origin.Y, W->FWidth, W->FHeight), Visible);
    if (WindowRect.IsEmpty()) {
        W->FDirty = {};
        W->FFrameDirty = false;
        return;
    }
    const int F = W->FFrame;
    const TPoint ClientOrigin{Origin.X + F, Origin.Y + F};
    const TRect ClientRect =
        rects::Intersect(rects::Offset(W->GetClientRect(), ClientOrigin), WindowRect);

    // The frame repaints when asked to or when something painted over it.
    const TRect Hit = rects::Intersect(Damage, WindowRect);
    const bool FrameHit = F > 0 && !Hit.IsEmpty() && !(rects::Intersect(Hit, ClientRect) == Hit);
    if (F > 0 && (W->FFrameDirty || FrameHit)) {
        W->FFrameDirty = false;
        W->Perform(WM_NCPAINT, 1);
        Damage = rects::Union(Damage, WindowRect);
    }
    W->FFrameDirty = false;

    TRect Dirty = rects::Intersect(rects::Offset(W->FDirty, ClientOrigin), ClientRect);
    const TRect Over = rects::Intersect(Hit, ClientRect);
    const bool Erase = W->FEraseDirty || !Over.IsEmpty();
    Dirty = rects::Union(Dirty, Over);
    W->FDirty = {};
    W->FEraseDirty = false;
    if (!Dirty.IsEmpty()) {
        PaintClient(W, ClientOrigin, Dirty, Erase);
        Damage = rects::Union(Damage, Dirty);
    }

    for (size_t I = 0; I < W->FControls.size(); ++I) {
        auto* Child = dynamic_cast<TWinControl*>(W->FControls[I]);
        if (!Child) continue;
        Visit(Child, TPoint{ClientOrigin.X + Child->FLeft, ClientOrigin.Y + Child->FTop},
              ClientRect, Damage);
    }
}

void TPaintPass::PaintClient(TWinControl* W, TPoint ClientOrigin, const TRect& Dirty, bool Erase) {
    FCurrentClip = rects::Offset(Dirty, -ClientOrigin.X, -ClientOrigin.Y);
    if (Erase && !W->FControlStyle.Contains(csOpaque)) W->Perform(WM_ERASEBKGND);
    ++FPaintMessages;
    W->Perform(WM_PAINT);
}

void TPaintPass::PaintGraphicChildren(TWinControl* W, const TRect& Clip) {
    for (size_t I = 0; I < W->FControls.size(); ++I) {
        TControl* C = W->FControls[I];
        auto* G = dynamic_cast<TGraphicControl*>(C);
        if (!G || !G->FVisible) continue;
        const TRect R = rects::Intersect(G->GetBoundsRect(), Clip);
        if (R.IsEmpty()) continue;
        const TRect Saved = FCurrentClip;
        FCurrentClip = rects::Offset(R, -G->FLeft, -G->FTop);
        ++FPaintMessages;
        G->Perform(WM_PAINT);
        FCurrentClip = Saved;
    }
}

namespace {
// Where a control's client (0, 0) lies on its top-level window's surface.
TPoint SurfaceClientOrigin(const TControl* C) {
    if (auto* W = dynamic_cast<const TWinControl*>(C)) {
        const TPoint P = W->GetWindowOrigin();
        const int F = W->GetBorderWidth();
        return TPoint{P.X + F, P.Y + F};
    }
    if (!C->GetParent()) return TPoint{C->GetLeft(), C->GetTop()};
    const TPoint P = SurfaceClientOrigin(C->GetParent());
    return TPoint{P.X + C->GetLeft(), P.Y + C->GetTop()};
}
} // namespace

TRect TPaintPass::VisibleClientRect(const TControl* C, TPoint& Origin) {
    const TWinControl* Top = C->GetTopLevel();
    Origin = SurfaceClientOrigin(C);
    if (!Top || !Top->HandleAllocated() || !C->Showing()) return {};
    TRect Visible = rects::Offset(C->GetClientRect(), Origin);
    for (const TWinControl* P = C->GetParent(); P; P = P->GetParent())
        Visible =
            rects::Intersect(Visible, rects::Offset(P->GetClientRect(), SurfaceClientOrigin(P)));
    return rects::Intersect(Visible, Rect(0, 0, Top->GetWidth(), Top->GetHeight()));
}

void TPaintPass::EraseBackground(TWinControl*, TMessage& Message) {
    Message.Result = 1;
}

void TPaintPass::PaintDefaultFrame(TWinControl*) {}

} // namespace folio
