#pragma once

#include "framework/ui/controls/CustomControl.h"

#include <memory>
#include <vector>

namespace folio {

class TApplication;

/// The paint pass: windows record dirty rectangles (a short region per
/// window, nothing allocated per call) and the application's idle work paints
/// them, top-level window by top-level window, parents before children, each
/// clipped to its window, its ancestors and a rectangle of its dirty region. What a window
/// paints over a later window (a child, a sibling above it) makes that window
/// repaint the same area in the same pass.
///
/// The application owns the one paint pass (Application->GetPaintPass()).
/// Everything here runs on the user-interface thread; debug builds check it.
class TPaintPass {
public:
    /// The paint pass of App; the application makes it.
    explicit TPaintPass(TApplication& App);
    ~TPaintPass();
    TPaintPass(const TPaintPass&) = delete;
    TPaintPass& operator=(const TPaintPass&) = delete;

    /// Adds a client rectangle of W to its dirty region.
    void Invalidate(TWinControl* W, const TRect& ClientRect, bool Erase);
    /// Puts W on the list of windows to visit (its frame or style changed).
    void MarkDirty(TWinControl* W);
    /// Forgets W, whose window is gone.
    void WindowDestroyed(TWinControl* W);

    /// The idle work: paints every dirty window.
    void PaintAll();
    /// Paints the dirty windows of W's top-level window at once.
    void PaintNow(TWinControl* W);
    /// Whether a paint is running now.
    bool Painting() const { return FPainting; }
    /// While a window paints: its dirty rectangle in client coordinates.
    TRect CurrentClip() const { return FCurrentClip; }

    ///@{
    /// Default handlers used by TWinControl.
    void PaintGraphicChildren(TWinControl* W, const TRect& Clip);
    void EraseBackground(TWinControl* W, TMessage& Message);
    static void PaintDefaultFrame(TWinControl* W);
    ///@}

    /// The visible part of a control's client area on its top-level surface
    /// (empty when it has none), and the offset of its client (0, 0) there.
    static TRect VisibleClientRect(const TControl* C, TPoint& Origin);

    /// Points Canvas at the visible part of C's client area on its form's
    /// surface (nowhere when the form is not shown).
    static void BindForDirectDrawing(const TControl* C, TCanvas& Canvas);
    /// While W paints (in its WM_PAINT handling): points Canvas at the part
    /// of W being painted, prepared with W's colour as the brush.
    void BindForPaint(const TWinControl* W, TCanvas& Canvas);
    /// Something drew on C's canvas outside the paint pass: the host must
    /// present the surface again.
    static void NoteDirectDrawing(const TControl* C);
    ///@{
    /// The whole-window canvas of GetWindowDC.
    static TCanvas* CreateWindowCanvas(TWinControl* W);
    void ReleaseWindowCanvas(TWinControl* W, TCanvas* Canvas);
    ///@}

    /// Number of WM_PAINT messages sent since start (tests read it).
    unsigned PaintMessages() const { return FPaintMessages; }

private:
    static TWindowPaintState& StateOf(TWinControl* W);
    static TWindowSurface* SurfaceOf(TWinControl* W);
    void PaintTree(TWinControl* Top);
    void Visit(TWinControl* W, TPoint Origin, const TRect& Visible, TDamageRegion& Damage);
    void PaintClient(TWinControl* W, TPoint ClientOrigin, const TRect& Dirty, bool Erase);

    // Where the window being painted draws: the form's surface or the
    // offscreen bitmap of a double-buffered control.
    struct TTarget {
        TPixelSurface Surface;
        TPoint ClientOrigin; // the window's client (0, 0) on Surface
    };
    void BindToTarget(TCanvas& Canvas, TPoint Origin, const TRect& ClientClip) const;

    TApplication& FApplication;
    /// The windows to visit, in the order they asked.
    std::vector<TWinControl*> FDirty;
    TTarget FTarget;
    bool FPainting = false;
    TRect FCurrentClip;
    unsigned FPaintMessages = 0;
    /// Erases backgrounds; made when first needed, since the application,
    /// and with it the paint pass, is made before the fonts a canvas takes.
    std::unique_ptr<TCanvas> FEraseCanvas;
};

} // namespace folio
