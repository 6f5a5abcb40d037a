#pragma once

#include "framework/gfx/Canvas.h"
#include "framework/gfx/Surface.h"
#include "framework/ui/app/WindowHandles.h"
#include "framework/ui/controls/Control.h"
#include "framework/ui/controls/WindowStyles.h"
#include "framework/ui/paint/WindowPaintState.h"
#include "framework/ui/paint/WindowSurface.h"

#include <memory>
#include <vector>

namespace folio {

// True: the platform draws sunken client edges (WS_EX_CLIENTEDGE) for 3-D
// controls instead of plain borders.
extern bool NewStyleControls;

// Gives a control with a single border its frame: a sunken client edge
// when it is 3-D (and the platform draws those), a plain border otherwise.
void AddSingleBorder(TCreateParams& Params, bool Ctl3D);

// A control with a window: a handle created on demand, child controls, the
// keyboard focus, keys, styles, a non-client frame and its own dirty region.
// A top-level window also owns the surface its controls paint into.
class TWinControl : public TControl {
    FOLIO_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    HWND GetHandle();
    bool HandleAllocated() const { return FHandle != 0; }
    void HandleNeeded();
    // Destroys the window and makes it again, keeping every property, child
    // and state; CreateParams runs again.
    void RecreateWnd();

    // Children in z-order, bottom first.
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int Index) const;
    bool ContainsControl(const TControl* Control) const;
    // The child (windowed or not) at a client point, topmost first.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = true) const;
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    void SetChildOrder(TControl* Child, int Order);

    TRect GetClientRect() const override;
    TPoint GetClientOrigin() const override;
    // Width of the non-client frame on each side (from WS_BORDER and
    // WS_EX_CLIENTEDGE of a child window).
    int GetBorderWidth() const;

    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    int GetTabOrder() const;
    void SetTabOrder(int Value);
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();
    // The next control in tab order after CurControl, or null.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    void GetTabOrderList(std::vector<TWinControl*>& List) const;

    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    bool GetParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    bool GetDockSite() const { return FDockSite; }
    void SetDockSite(bool Value) { FDockSite = Value; }
    bool GetUseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool Value) { FUseDockManager = Value; }

    // The style bits of the window (or of the one it would get).
    unsigned GetStyle() const;
    unsigned GetExStyle() const;

    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void SetEnabled(bool Value) override;
    // Sends Message to every child in z-order until one sets its Result.
    void Broadcast(TMessage& Message);

    // Scales the control and everything on it by M / D (ChangeScale), as a
    // Scaled form does when it shows on a screen of another resolution.
    void ScaleBy(int M, int D);

    // Lays the aligned children out in the client area.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    // Without a window of its own the control's parent repaints the place.
    void InvalidateRect(const TRect& R, bool Erase = true) override;

    // Surface of a top-level window (null for a child: it draws into its
    // top-level window's surface). Hosts read and present it.
    const TPixelSurface* GetSurface() const;
    // Where this window's (0, 0) lies on its top-level window's surface.
    TPoint GetWindowOrigin() const;
    // Counts the paints of a top-level window's surface, so a host presents
    // only what changed; TakeSurfaceDamage answers the parts of the surface
    // painted since the last call and clears them.
    unsigned GetSurfaceVersion() const;
    TDamageRegion TakeSurfaceDamage();

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;
    TDockDropEvent OnDockDrop;
    TDockOverEvent OnDockOver;
    TGetSiteInfoEvent OnGetSiteInfo;
    TUnDockEvent OnUnDock;

protected:
    // Scales the children first, so that those following this control's
    // font take it scaled once, then the control.
    void ChangeScale(int M, int D) override;
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    // Makes the window and those of the showing children.
    void CreateHandle();
    void DestroyHandle();
    virtual void PaintWindow();
    virtual void PaintControls(const TRect& Clip);
    virtual void AlignControls(TControl* AControl, TRect& Rect);

    virtual void KeyDown(unsigned short& Key, TShiftState Shift);
    virtual void KeyUp(unsigned short& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void DoEnter();
    virtual void DoExit();
    // The Ctl3D value changed; the default repaints. A descendant may
    // recreate its window.
    virtual void CMCtl3DChanged(TMessage& Message);

    bool DoKeyDown(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    void WMSize(TMessage& Message);
    void WMNCPaint(TMessage& Message);
    void WMPaint(TMessage& Message);
    void UpdateShowing() override;

public:
    // The paint pass's way in: the window's dirty state and, for a top-level
    // window, its surface.
    class TPaintAccess {
        friend class TPaintPass;
        static TWindowPaintState& State(TWinControl& W) { return W.FPaintState; }
        static TWindowSurface* Surface(TWinControl& W) { return W.FSurface.get(); }
    };

private:
    friend HWND GetFocus();
    friend HWND SetFocus(HWND);
    friend unsigned SetWindowLong(HWND, int, unsigned);

    // What CreateParams gives the window now, whether or not it exists.
    TCreateParams CurrentCreateParams() const;
    void InvalidateFrame();
    void StyleChanged();
    void BoundsMoved(bool Sized) override;
    // Moves and stretches the children anchored to the right or bottom by
    // how much the client area grew since the last time.
    void AdjustAnchoredChildren();
    // The frame width the given style bits give a window.
    static int FrameWidth(unsigned Style, unsigned ExStyle);

    // The window with the keyboard focus: one for the whole application.
    static TWinControl* FFocusedWindow;
    // The focus is on this window or on one inside it.
    bool FocusWithin() const;

    std::vector<TControl*> FControls;
    HWND FHandle = 0;
    unsigned FStyle = 0;
    unsigned FExStyle = 0;
    int FFrame = 0; // cached frame width while the window exists
    bool FTabStop = false;
    int FTabOrder = -1;
    bool FCtl3D = true;
    bool FParentCtl3D = true;
    bool FDockSite = false;
    bool FUseDockManager = false;
    int FAlignLevel = 0;
    TSize FAnchorClientSize{-1, -1};
    bool FAlignPending = false;
    bool FDestroyingHandle = false;

    TWindowPaintState FPaintState;
    // Made when the window first becomes a top-level window with a handle.
    std::unique_ptr<TWindowSurface> FSurface;
};

// Finds the control that owns a window handle.
TWinControl* FindControl(HWND Handle);
// Window style access: GWL_STYLE and GWL_EXSTYLE. Changing the frame bits
// changes the client area at once.
unsigned GetWindowLong(HWND Handle, int Index);
unsigned SetWindowLong(HWND Handle, int Index, unsigned NewLong);
// Invalidates a client rectangle (the whole client area when Rect is null).
bool InvalidateRect(HWND Handle, const TRect* Rect, bool Erase);
// A canvas on the whole window, frame included, in window coordinates. The
// caller releases it with ReleaseDC.
TCanvas* GetWindowDC(HWND Handle);
int ReleaseDC(HWND Handle, TCanvas* Canvas);
// The focused window, or 0.
HWND GetFocus();
HWND SetFocus(HWND Handle);
} // namespace folio
