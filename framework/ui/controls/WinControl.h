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

/// True (the default): 3-D controls get sunken client edges
/// (WS_EX_CLIENTEDGE) instead of plain borders.
extern bool NewStyleControls;

/// Gives a control with a single border its frame: a sunken client edge
/// when it is 3-D (and NewStyleControls is on), a plain border otherwise.
void AddSingleBorder(TCreateParams& Params, bool Ctl3D);

/// A control with a window: a handle created on demand, child controls, the
/// keyboard focus, keys, styles, a non-client frame and its own dirty region.
/// A top-level window also owns the surface its controls paint into.
class TWinControl : public TControl {
    FOLIO_CLASS(TWinControl)
public:
    /// A windowed control owned by AOwner, without a window until it shows.
    explicit TWinControl(TComponent* AOwner);
    /// Frees the components it owns first, then its window, and leaves its
    /// children without a parent.
    ~TWinControl() override;

    /// The control's window handle, making the window (and its parents')
    /// when there is none yet.
    HWND GetHandle();
    /// Whether the window exists, without making it.
    bool HandleAllocated() const { return FHandle != 0; }
    /// Makes the window (and its parents') if it does not exist yet.
    void HandleNeeded();
    /// Destroys the window and makes it again, keeping every property, child
    /// and state (the focus stays where it was); CreateParams runs again.
    /// Nothing for a control without a window.
    void RecreateWnd();

    /// How many children lie on the control.
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    /// The child at Index in z-order, bottom first; raises EListError
    /// outside 0 .. ControlCount() - 1.
    TControl* Controls(int Index) const;
    /// Whether Control lies on this one, directly or deeper.
    bool ContainsControl(const TControl* Control) const;
    /// The visible child at a client point, topmost first, windowed children
    /// before graphic ones; null for none. Disabled children count only
    /// when AllowDisabled, windowed ones only when AllowWinControls.
    TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = true) const;
    /// Puts AControl on top of the children; it takes the parent's font,
    /// colour, hint and reading order where it follows them. Use
    /// TControl::SetParent, which calls it.
    void InsertControl(TControl* AControl);
    /// Takes AControl off the children (nothing if it is not one); its
    /// window goes and the focus leaves it. Use TControl::SetParent(nullptr).
    void RemoveControl(TControl* AControl);
    /// Moves Child to position Order in z-order (clamped to the children;
    /// 0 is the bottom) and repaints it.
    void SetChildOrder(TControl* Child, int Order);

    /// The control's area inside its frame, in its own coordinates.

    TRect GetClientRect() const override;
    /// Where the client area's (0, 0), inside the frame, lies on the screen.
    TPoint GetClientOrigin() const override;
    /// Width of the non-client frame on each side (from WS_BORDER and
    /// WS_EX_CLIENTEDGE of a child window; 0 for a top-level window,
    /// whose frame the host draws).
    int GetBorderWidth() const;

    ///@{
    /// Whether Tab stops at the control; false by default (each kind of
    /// control that takes the keyboard turns it on).
    bool GetTabStop() const { return FTabStop; }
    void SetTabStop(bool Value);
    ///@}
    ///@{
    /// The control's place among its windowed siblings in Tab order, from 0;
    /// -1 without a parent. Setting moves it there (clamped), the others
    /// keeping their order; set before the control has a parent, the value
    /// is applied when it gets one.
    int GetTabOrder() const;
    void SetTabOrder(int Value);
    ///@}
    /// Whether the control has the keyboard focus.
    bool Focused() const;
    /// Whether the control can take the focus: on a visible, enabled form,
    /// and itself and every parent up to the form visible and enabled.
    virtual bool CanFocus() const;
    /// Gives the control the keyboard focus through its form (which fires
    /// OnExit and OnEnter along the way and activates the form).
    virtual void SetFocus();
    /// The next control in Tab order after CurControl (forwards or
    /// backwards, wrapping round) that can take the focus, among the
    /// controls inside this one; with CheckTabStop only those with TabStop,
    /// with CheckParent only direct children. Null when there is none.
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                                 bool CheckParent) const;
    /// Moves the focus to FindNextControl's answer; nothing when there is none.
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
    /// Appends every windowed control inside this one to List, in Tab order,
    /// each followed by those inside it.
    void GetTabOrderList(std::vector<TWinControl*>& List) const;

    ///@{
    /// Whether the control looks sunken (3-D) rather than flat; true by
    /// default. Setting it repaints and clears ParentCtl3D.
    bool GetCtl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    ///@}
    ///@{
    /// Whether Ctl3D follows the parent's; true by default.
    bool GetParentCtl3D() const { return FParentCtl3D; }
    void SetParentCtl3D(bool Value);
    ///@}
    ///@{
    /// Stored in form files only; false by default. Nothing docks.
    bool GetDockSite() const { return FDockSite; }
    void SetDockSite(bool Value) { FDockSite = Value; }
    bool GetUseDockManager() const { return FUseDockManager; }
    void SetUseDockManager(bool Value) { FUseDockManager = Value; }
    ///@}

    ///@{
    /// The style (WS_...) and extended style (WS_EX_...) bits of the window,
    /// or of the one CreateParams would give it now.
    unsigned GetStyle() const;
    unsigned GetExStyle() const;
    ///@}

    /// Marks the client area for repainting; without a window, the place
    /// on the parent.
    void Invalidate() override;
    /// Paints what is invalid in the window at once; nothing without one.
    void Update() override;
    void Repaint() override;
    /// Sizes the control as TControl::SetBounds does; the children anchored
    /// to its right or bottom follow, and the aligned ones are laid out again.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    /// A window gaining the focus tells its form first (a form that refuses
    /// keeps the message from the control).
    void WndProc(TMessage& Message) override;
    /// Adds the keys (OnKeyDown, OnKeyPress, OnKeyUp, a KeyPreview form
    /// first), the focus (OnEnter, OnExit), sizing, painting, and handing
    /// font, colour, hint and 3-D changes down to the children.
    void Dispatch(TMessage& Message) override;
    /// Erases the background and paints the default frame.
    void DefaultHandler(TMessage& Message) override;
    /// Disabling a control that has the focus (or holds it) takes the focus away.
    void SetEnabled(bool Value) override;
    /// Sends Message to every child in z-order until one sets its Result.
    void Broadcast(TMessage& Message);

    /// Scales the control and everything on it by M / D (ChangeScale), as a
    /// Scaled form does when it shows on a screen of another resolution.
    void ScaleBy(int M, int D);

    /// Lays the aligned children out in the client area: alTop and
    /// alBottom across the width, then alLeft and alRight in the height
    /// left, then alClient in the rest. Deferred while alignment is disabled
    /// or a form file is being read.
    void Realign();
    /// Defers Realign until the matching EnableAlign; calls nest.
    void DisableAlign() { ++FAlignLevel; }
    /// Ends a DisableAlign; the last one realigns if a layout was asked for.
    void EnableAlign();

    /// Without a window of its own the control's parent repaints the place.
    void InvalidateRect(const TRect& R, bool Erase = true) override;

    /// Surface of a top-level window (null for a child: it draws into its
    /// top-level window's surface; null too before the window exists).
    /// Hosts read and present it.
    const TPixelSurface* GetSurface() const;
    /// Where this window's (0, 0) lies on its top-level window's surface.
    TPoint GetWindowOrigin() const;
    /// Counts the paints of a top-level window's surface, so a host presents
    /// only what changed; 0 before the first.
    unsigned GetSurfaceVersion() const;
    /// The parts of the surface painted since the last call, which it
    /// clears; empty for a child window.
    TDamageRegion TakeSurfaceDamage();

    /// The control got the keyboard focus (fired from the outermost
    /// container that newly holds it down to the control).
    TNotifyEvent OnEnter;
    /// The control lost the keyboard focus (fired from the control up to
    /// the container that holds both old and new).
    TNotifyEvent OnExit;
    /// A key went down while the control has the focus: Key is a virtual
    /// key code (VK_...); set it to 0 to stop the control handling it.
    TKeyEvent OnKeyDown;
    /// A character was typed at the control; set Key to 0 to drop it or
    /// change it to type another.
    TKeyPressEvent OnKeyPress;
    /// A key went up while the control has the focus; Key 0 stops it.
    TKeyEvent OnKeyUp;
    /// Stored in form files and published; nothing docks, so it never fires.
    TDockDropEvent OnDockDrop;
    /// Stored in form files and published; never fires.
    TDockOverEvent OnDockOver;
    /// Stored in form files and published; never fires.
    TGetSiteInfoEvent OnGetSiteInfo;
    /// Stored in form files and published; never fires.
    TUnDockEvent OnUnDock;

protected:
    /// Scales the children first, so that those following this control's
    /// font take it scaled once, then the control.
    void ChangeScale(int M, int D) override;
    /// Fills in the window's caption, style bits (visible, disabled, Tab
    /// stop, frame) and bounds; a descendant adds its own bits.
    virtual void CreateParams(TCreateParams& Params);
    /// Makes this window from CreateParams (a top-level one gets its
    /// surface) and sends it WM_SIZE.
    virtual void CreateWnd();
    /// Destroys this window only; the control and its properties stay.
    virtual void DestroyWnd();
    /// Makes the window and those of the showing children.
    void CreateHandle();
    /// Destroys the children's windows, then this one.
    void DestroyHandle();
    /// Paints the control's own face on its canvas; nothing here.
    virtual void PaintWindow();
    /// Paints the graphic (window-less) children within Clip.
    virtual void PaintControls(const TRect& Clip);
    /// Places the aligned children in Rect, the client area, which it
    /// narrows as it goes (see Realign).
    virtual void AlignControls(TControl* AControl, TRect& Rect);

    /// Fires OnKeyDown.
    virtual void KeyDown(unsigned short& Key, TShiftState Shift);
    /// Fires OnKeyUp.
    virtual void KeyUp(unsigned short& Key, TShiftState Shift);
    /// Fires OnKeyPress.
    virtual void KeyPress(char& Key);
    /// Fires OnEnter.
    virtual void DoEnter();
    /// Fires OnExit.
    virtual void DoExit();
    /// The Ctl3D value changed; the default repaints and tells the children.
    /// A descendant may recreate its window.
    virtual void CMCtl3DChanged(TMessage& Message);

    ///@{
    /// Hands a key message to the KeyPreview form, then to KeyDown,
    /// KeyPress or KeyUp; true when the key was consumed (set to 0).
    bool DoKeyDown(TMessage& Message);
    bool DoKeyPress(TMessage& Message);
    bool DoKeyUp(TMessage& Message);
    ///@}
    ///@{
    /// The window gained or lost the focus; nothing here.
    void WMSetFocus(TMessage& Message);
    void WMKillFocus(TMessage& Message);
    ///@}
    /// The client area was sized: realigns and fires OnResize.
    void WMSize(TMessage& Message);
    /// Paints the frame (the default one).
    void WMNCPaint(TMessage& Message);
    /// Paints the face (PaintWindow), then the graphic children.
    void WMPaint(TMessage& Message);
    /// Makes the window when the control is shown on a parent that has one.
    void UpdateShowing() override;

public:
    /// @cond internal
    // The paint pass's way in: the window's dirty state and, for a top-level
    // window, its surface.
    class TPaintAccess {
        friend class TPaintPass;
        static TWindowPaintState& State(TWinControl& W) { return W.FPaintState; }
        static TWindowSurface* Surface(TWinControl& W) { return W.FSurface.get(); }
    };
    /// @endcond

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

/// Finds the control that owns a window handle; null for 0 or an unknown one.
TWinControl* FindControl(HWND Handle);
///@{
/// Window style access: GWL_STYLE and GWL_EXSTYLE (0 for another index or
/// an unknown window). Setting answers the old bits; changing the frame bits
/// changes the client area at once.
unsigned GetWindowLong(HWND Handle, int Index);
unsigned SetWindowLong(HWND Handle, int Index, unsigned NewLong);
///@}
/// Invalidates a client rectangle (the whole client area when Rect is null);
/// false for an unknown window.
bool InvalidateRect(HWND Handle, const TRect* Rect, bool Erase);
///@{
/// A canvas on the whole window, frame included, in window coordinates. The
/// caller releases it with ReleaseDC.
TCanvas* GetWindowDC(HWND Handle);
int ReleaseDC(HWND Handle, TCanvas* Canvas);
///@}
/// The focused window, or 0.
HWND GetFocus();
/// Moves the keyboard focus to a window (0: to none), sending WM_KILLFOCUS
/// to the old one and WM_SETFOCUS to the new; answers the old one.
HWND SetFocus(HWND Handle);
} // namespace folio
