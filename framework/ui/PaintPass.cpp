#include "framework/ui/PaintPass.h"

#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/Application.h"
#include "framework/ui/GraphicControl.h"
#include "framework/ui/RectOps.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace folio {

TPaintPass::TTarget TPaintPass::FTarget;
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
    FTarget.Surface = Top->FSurface;
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

namespace {
// The offscreen picture of double-buffered controls, reused from paint to
// paint and only ever grown.
TBitmap& OffscreenBitmap() {
    static TBitmap Bitmap;
    return Bitmap;
}
} // namespace

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

void TPaintPass::BindToTarget(TCanvas& Canvas, TPoint Origin, const TRect& ClientClip) {
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
    const TTarget Saved = FTarget;
    const bool Buffered = Custom && Custom->FDoubleBuffered;
    if (Buffered) {
        // Paint the dirty part into the offscreen picture at the same client
        // coordinates, then copy it once.
        TBitmap& B = OffscreenBitmap();
        const TRect C = W->GetClientRect();
        if (B.GetWidth() < C.Width() || B.GetHeight() < C.Height())
            B.SetSize(std::max(B.GetWidth(), C.Width()), std::max(B.GetHeight(), C.Height()));
        FTarget.Surface = B.GetSurface();
        FTarget.ClientOrigin = TPoint{0, 0};
    } else {
        FTarget.ClientOrigin = ClientOrigin;
    }
    FCurrentClip = Clip;
    if (Custom) {
        TCanvas& Canvas = *Custom->FCanvas;
        BindToTarget(Canvas, FTarget.ClientOrigin, Clip);
        PrepareCanvas(Canvas, W);
    }
    if ((Erase || Buffered) && !W->FControlStyle.Contains(csOpaque)) W->Perform(WM_ERASEBKGND);
    ++FPaintMessages;
    W->Perform(WM_PAINT);
    if (Buffered) {
        raster::Blit(Saved.Surface, Dirty, Dirty.Left, Dirty.Top, FTarget.Surface, Clip,
                     raster::TBlitOp::Copy);
    }
    FTarget = Saved;
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
        BindToTarget(*G->FCanvas,
                     TPoint{FTarget.ClientOrigin.X + G->FLeft, FTarget.ClientOrigin.Y + G->FTop},
                     FCurrentClip);
        PrepareCanvas(*G->FCanvas, G);
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
    static TCanvas Scratch;
    BindToTarget(Scratch, FTarget.ClientOrigin, FCurrentClip);
    Scratch.GetBrush()->SetColor(W->FColor);
    Scratch.GetBrush()->SetStyle(bsSolid);
    Scratch.FillRect(FCurrentClip);
}

void TPaintPass::PaintDefaultFrame(TWinControl* W) {
    if (!W->FHandle || W->FFrame == 0) return;
    TCanvas* DC = GetWindowDC(W->FHandle);
    if (!DC) return;
    TRect R = Rect(0, 0, W->FWidth, W->FHeight);
    try {
        // A plain border is one pixel of the window-frame colour; the client
        // edge is the two-pixel sunken edge inside it.
        if (W->FStyle & WS_BORDER) {
            DC->GetBrush()->SetColor(clWindowFrame);
            DC->GetBrush()->SetStyle(bsSolid);
            DC->FrameRect(R);
            R = Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1);
        }
        if (W->FExStyle & WS_EX_CLIENTEDGE) DrawEdge(DC, R, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        if (W->FExStyle & WS_EX_STATICEDGE) DrawEdge(DC, R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } catch (...) {
        ReleaseDC(W->FHandle, DC);
        throw;
    }
    ReleaseDC(W->FHandle, DC);
}

TCanvas* TPaintPass::CreateWindowCanvas(TWinControl* W) {
    auto Canvas = std::make_unique<TCanvas>();
    const TWinControl* Top = W->GetTopLevel();
    if (Top && Top->HandleAllocated()) {
        const TPoint O = W->GetWindowOrigin();
        TRect Visible = Bounds(O.X, O.Y, W->FWidth, W->FHeight);
        if (W->FParent) {
            TPoint PO;
            Visible = rects::Intersect(Visible, VisibleClientRect(W->FParent, PO));
        } else {
            Visible = rects::Intersect(Visible, Rect(0, 0, Top->FWidth, Top->FHeight));
        }
        Canvas->SetSurface(Top->FSurface);
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
    if (Visible.IsEmpty() || !Top) {
        Canvas.SetSurface(TPixelSurface{});
        Canvas.SetOrigin(Origin.X, Origin.Y);
        return;
    }
    Canvas.SetSurface(Top->FSurface);
    Canvas.SetOrigin(Origin.X, Origin.Y);
    Canvas.SetBaseClip(Visible);
}

void TPaintPass::NoteDirectDrawing(const TControl* C) {
    TWinControl* Top = C->GetTopLevel();
    if (!Top || !Top->HandleAllocated()) return;
    TPoint Origin;
    const TRect Visible = VisibleClientRect(C, Origin);
    if (Visible.IsEmpty()) return;
    ++Top->FSurfaceVersion;
    Top->FSurfaceDamage = rects::Union(Top->FSurfaceDamage, Visible);
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
    TPaintPass::ReleaseWindowCanvas(W, Canvas);
    return 1;
}

} // namespace folio
