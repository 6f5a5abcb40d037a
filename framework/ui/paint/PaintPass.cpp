#include "framework/ui/paint/PaintPass.h"

#include "framework/core/ScopeGuard.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/GraphicControl.h"
#include "framework/ui/paint/RectOps.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace folio {

TPaintPass::TPaintPass(TApplication& App) : FApplication(App) {
    FDirty.reserve(64);
}

TPaintPass::~TPaintPass() = default;

TWindowPaintState& TPaintPass::StateOf(TWinControl* W) {
    return TWinControl::TPaintAccess::State(*W);
}

TWindowSurface* TPaintPass::SurfaceOf(TWinControl* W) {
    return TWinControl::TPaintAccess::Surface(*W);
}

void TPaintPass::MarkDirty(TWinControl* W) {
    assert(IsMainThread() && "a window was marked dirty outside the user-interface thread");
    TWindowPaintState& S = StateOf(W);
    if (!W->HandleAllocated() || S.InDirtyList) return;
    S.InDirtyList = true;
    // The first dirty window wakes a loop that waits, so that it paints.
    if (FDirty.empty()) FApplication.WakeUp();
    FDirty.push_back(W);
}

void TPaintPass::Invalidate(TWinControl* W, const TRect& ClientRect, bool Erase) {
    // Painting reads state; a paint handler that invalidates would paint
    // forever. Windows belong to the user-interface thread: a worker hands
    // its changes over with Synchronize.
    assert(!FPainting && "a control invalidated while painting");
    assert(IsMainThread() && "a control invalidated outside the user-interface thread");
    if (!W->HandleAllocated()) return;
    const TRect R = rects::Intersect(ClientRect, W->GetClientRect());
    if (R.IsEmpty()) return;
    TWindowPaintState& S = StateOf(W);
    S.Dirty.Add(R);
    if (Erase) S.EraseDirty = true;
    MarkDirty(W);
}

void TPaintPass::WindowDestroyed(TWinControl* W) {
    TWindowPaintState& S = StateOf(W);
    if (!S.InDirtyList) return;
    FDirty.erase(std::remove(FDirty.begin(), FDirty.end(), W), FDirty.end());
    S = {};
}

void TPaintPass::PaintAll() {
    std::vector<TWinControl*>& List = FDirty;
    while (!List.empty()) {
        // Paint the top-level window of the first dirty window; that visits
        // every dirty window it holds and takes them off the list.
        TWinControl* Top = List.front()->GetTopLevel();
        if (!Top || !Top->HandleAllocated() || !Top->GetVisible()) {
            // Nothing of this tree is on screen: drop its marks until it shows.
            TWinControl* W = List.front();
            List.erase(List.begin());
            StateOf(W).InDirtyList = false;
            continue;
        }
        PaintTree(Top);
    }
}

void TPaintPass::PaintNow(TWinControl* W) {
    TWinControl* Top = W->GetTopLevel();
    if (!Top || !Top->HandleAllocated() || FPainting) return;
    bool Any = false;
    for (TWinControl* D : FDirty)
        if (D->GetTopLevel() == Top) Any = true;
    if (Any && Top->GetVisible()) PaintTree(Top);
}

void TPaintPass::PaintTree(TWinControl* Top) {
    assert(IsMainThread() && "a window painted outside the user-interface thread");
    TWindowSurface* Surface = SurfaceOf(Top);
    TDamageRegion Damage;
    FTarget.Surface = Surface ? Surface->GetPixels() : TPixelSurface{};
    {
        TTemporaryChange Painting(FPainting, true);
        TScopeGuard ClearClip([this] { FCurrentClip = {}; });
        Visit(Top, TPoint{0, 0}, Rect(0, 0, Top->GetWidth(), Top->GetHeight()), Damage);
    }
    // Every window of this tree was visited: take them off the list.
    FDirty.erase(std::remove_if(FDirty.begin(), FDirty.end(),
                                [Top](TWinControl* W) {
                                    if (W->GetTopLevel() != Top) return false;
                                    TWindowPaintState& S = StateOf(W);
                                    S.InDirtyList = false;
                                    S.Dirty.Clear();
                                    S.EraseDirty = false;
                                    return true;
                                }),
                 FDirty.end());
    if (Surface) Surface->AddDamage(Damage);
}

void TPaintPass::Visit(TWinControl* W, TPoint Origin, const TRect& Visible, TDamageRegion& Damage) {
    if (!W->GetVisible() || !W->HandleAllocated()) return;
    TWindowPaintState& S = StateOf(W);
    const TRect WindowRect =
        rects::Intersect(Bounds(Origin.X, Origin.Y, W->GetWidth(), W->GetHeight()), Visible);
    if (WindowRect.IsEmpty()) {
        S.Dirty.Clear();
        S.FrameDirty = false;
        return;
    }
    const int F = W->GetBorderWidth();
    const TPoint ClientOrigin{Origin.X + F, Origin.Y + F};
    const TRect ClientRect =
        rects::Intersect(rects::Offset(W->GetClientRect(), ClientOrigin), WindowRect);

    // What the windows painted so far covered of this one. The frame
    // repaints when asked to or when something painted over it.
    const TDamageRegion Hit = Damage.Intersected(WindowRect);
    const bool FrameHit = F > 0 && !Hit.Within(ClientRect);
    if (F > 0 && (S.FrameDirty || FrameHit)) {
        S.FrameDirty = false;
        W->Perform(WM_NCPAINT, 1);
        Damage.Add(WindowRect);
    }
    S.FrameDirty = false;

    // Each rectangle of the dirty region paints on its own, so two small
    // changes far apart leave everything between them alone.
    TDamageRegion Dirty = S.Dirty.Offset(ClientOrigin.X, ClientOrigin.Y).Intersected(ClientRect);
    const TDamageRegion Over = Hit.Intersected(ClientRect);
    const bool Erase = S.EraseDirty || !Over.IsEmpty();
    Dirty.Add(Over);
    S.Dirty.Clear();
    S.EraseDirty = false;
    for (const TRect& R : Dirty) PaintClient(W, ClientOrigin, R, Erase);
    Damage.Add(Dirty);

    for (int I = 0; I < W->ControlCount(); ++I) {
        auto* Child = dynamic_cast<TWinControl*>(W->Controls(I));
        if (!Child) continue;
        Visit(Child, TPoint{ClientOrigin.X + Child->GetLeft(), ClientOrigin.Y + Child->GetTop()},
              ClientRect, Damage);
    }
}

namespace {
// A paint starts with the control's font and its colour as the brush.
void PrepareCanvas(TCanvas& Canvas, const TControl* C) {
    const TFont* F = C->GetFont();
    TFont* CF = Canvas.GetFont();
    if (!(CF->GetLogFont() == F->GetLogFont()) || CF->GetColor() != F->GetColor())
        Canvas.SetFont(F);
    Canvas.GetBrush()->SetColor(C->GetColor());
    Canvas.GetBrush()->SetStyle(bsSolid);
}
} // namespace

void TPaintPass::BindToTarget(TCanvas& Canvas, TPoint Origin, const TRect& ClientClip) const {
    Canvas.SetSurface(FTarget.Surface);
    Canvas.SetOrigin(Origin.X, Origin.Y);
    Canvas.SetBaseClip(rects::Offset(ClientClip, Origin));
    Canvas.RemoveClipRect();
}

void TPaintPass::BindForPaint(const TWinControl* W, TCanvas& Canvas) {
    if (!FPainting) {
        BindForDirectDrawing(W, Canvas);
        return;
    }
    BindToTarget(Canvas, FTarget.ClientOrigin, FCurrentClip);
    PrepareCanvas(Canvas, W);
}

void TPaintPass::PaintClient(TWinControl* W, TPoint ClientOrigin, const TRect& Dirty, bool Erase) {
    const TRect Clip = rects::Offset(Dirty, -ClientOrigin.X, -ClientOrigin.Y);
    auto* Custom = dynamic_cast<TCustomControl*>(W);
    // The window's surface is itself off-screen until the host presents it
    // after the whole pass, so a double-buffered control paints straight
    // into it: nobody sees a half-painted control either way, and its
    // pixels are moved once instead of through a picture of its own. Such a
    // control is still erased first, as it would be in its own picture.
    const bool Buffered = Custom && Custom->GetDoubleBuffered();
    const TTarget Saved = FTarget;
    FTarget.ClientOrigin = ClientOrigin;
    FCurrentClip = Clip;
    if (Custom) {
        TCanvas& Canvas = *Custom->GetCanvas();
        BindToTarget(Canvas, FTarget.ClientOrigin, Clip);
        PrepareCanvas(Canvas, W);
    }
    if ((Erase || Buffered) && !W->GetControlStyle().Contains(csOpaque)) W->Perform(WM_ERASEBKGND);
    ++FPaintMessages;
    W->Perform(WM_PAINT);
    FTarget = Saved;
}

void TPaintPass::PaintGraphicChildren(TWinControl* W, const TRect& Clip) {
    for (int I = 0; I < W->ControlCount(); ++I) {
        TControl* C = W->Controls(I);
        auto* G = dynamic_cast<TGraphicControl*>(C);
        if (!G || !G->GetVisible()) continue;
        const TRect R = rects::Intersect(G->GetBoundsRect(), Clip);
        if (R.IsEmpty()) continue;
        const TRect Saved = FCurrentClip;
        FCurrentClip = rects::Offset(R, -G->GetLeft(), -G->GetTop());
        BindToTarget(
            *G->GetCanvas(),
            TPoint{FTarget.ClientOrigin.X + G->GetLeft(), FTarget.ClientOrigin.Y + G->GetTop()},
            FCurrentClip);
        PrepareCanvas(*G->GetCanvas(), G);
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

void TPaintPass::EraseBackground(TWinControl* W, TMessage& Message) {
    Message.Result = 1;
    if (!FPainting) return;
    if (!FEraseCanvas) FEraseCanvas = std::make_unique<TCanvas>();
    TCanvas& Canvas = *FEraseCanvas;
    BindToTarget(Canvas, FTarget.ClientOrigin, FCurrentClip);
    Canvas.GetBrush()->SetColor(W->GetColor());
    Canvas.GetBrush()->SetStyle(bsSolid);
    Canvas.FillRect(FCurrentClip);
}

void TPaintPass::PaintDefaultFrame(TWinControl* W) {
    if (!W->HandleAllocated() || W->GetBorderWidth() == 0) return;
    TCanvas* DC = GetWindowDC(W->GetHandle());
    if (!DC) return;
    TScopeGuard Release([W, DC] { ReleaseDC(W->GetHandle(), DC); });
    TRect R = Rect(0, 0, W->GetWidth(), W->GetHeight());
    // A plain border is one pixel of the window-frame colour; the client
    // edge is the two-pixel sunken edge inside it.
    if (W->GetStyle() & WS_BORDER) {
        DC->GetBrush()->SetColor(clWindowFrame);
        DC->GetBrush()->SetStyle(bsSolid);
        DC->FrameRect(R);
        R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
    }
    if (W->GetExStyle() & WS_EX_CLIENTEDGE) DrawEdge(DC, R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (W->GetExStyle() & WS_EX_STATICEDGE) DrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

TCanvas* TPaintPass::CreateWindowCanvas(TWinControl* W) {
    auto Canvas = std::make_unique<TCanvas>();
    const TWinControl* Top = W->GetTopLevel();
    if (Top && Top->HandleAllocated()) {
        const TPoint O = W->GetWindowOrigin();
        TRect Visible = Bounds(O.X, O.Y, W->GetWidth(), W->GetHeight());
        if (W->GetParent()) {
            TPoint PO;
            Visible = rects::Intersect(Visible, VisibleClientRect(W->GetParent(), PO));
        } else {
            Visible = rects::Intersect(Visible, Rect(0, 0, Top->GetWidth(), Top->GetHeight()));
        }
        if (const TPixelSurface* S = Top->GetSurface()) Canvas->SetSurface(*S);
        Canvas->SetOrigin(O.X, O.Y);
        Canvas->SetBaseClip(Visible);
    } else {
        Canvas->SetBaseClip(TRect{});
    }
    return Canvas.release();
}

void TPaintPass::ReleaseWindowCanvas(TWinControl* W, TCanvas* Canvas) {
    delete Canvas;
    if (!FPainting) NoteDirectDrawing(W);
}

void TPaintPass::BindForDirectDrawing(const TControl* C, TCanvas& Canvas) {
    TPoint Origin;
    const TRect Visible = VisibleClientRect(C, Origin);
    const TWinControl* Top = C->GetTopLevel();
    const TPixelSurface* Surface = Top ? Top->GetSurface() : nullptr;
    if (Visible.IsEmpty() || !Surface) {
        Canvas.SetSurface(TPixelSurface{});
        Canvas.SetOrigin(Origin.X, Origin.Y);
        return;
    }
    Canvas.SetSurface(*Surface);
    Canvas.SetOrigin(Origin.X, Origin.Y);
    Canvas.SetBaseClip(Visible);
}

void TPaintPass::NoteDirectDrawing(const TControl* C) {
    TWinControl* Top = C->GetTopLevel();
    if (!Top || !Top->HandleAllocated()) return;
    TPoint Origin;
    const TRect Visible = VisibleClientRect(C, Origin);
    if (Visible.IsEmpty()) return;
    if (TWindowSurface* Surface = SurfaceOf(Top)) Surface->AddDamage(Visible);
}

TCanvas* GetWindowDC(HWND Handle) {
    TWinControl* W = FindControl(Handle);
    return W ? TPaintPass::CreateWindowCanvas(W) : nullptr;
}

int ReleaseDC(HWND Handle, TCanvas* Canvas) {
    if (!Canvas) return 0;
    TWinControl* W = FindControl(Handle);
    if (!W) {
        delete Canvas;
        return 0;
    }
    Application->GetPaintPass().ReleaseWindowCanvas(W, Canvas);
    return 1;
}

} // namespace folio
