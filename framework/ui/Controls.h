#pragma once

#include "framework/core/Component.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/Font.h"
#include "framework/gfx/Surface.h"
#include "framework/ui/ControlTypes.h"
#include "framework/ui/WindowHandles.h"

#include <memory>
#include <vector>

namespace folio {

class TWinControl;
class TCustomForm;

// True: the platform draws sunken client edges (WS_EX_CLIENTEDGE) for 3-D
// controls instead of plain borders.
extern bool NewStyleControls;

// The smallest and largest size a control may take; 0 means no limit.
class TSizeConstraints : public TPersistent {
    FOLIO_CLASS(TSizeConstraints)
public:
    explicit TSizeConstraints(TControl* Control) : FControl(Control) {}

    int GetMaxHeight() const { return FMaxHeight; }
    void SetMaxHeight(int Value);
    int GetMaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int Value);
    int GetMinHeight() const { return FMinHeight; }
    void SetMinHeight(int Value);
    int GetMinWidth() const { return FMinWidth; }
    void SetMinWidth(int Value);

    void Assign(const TPersistent* Source) override;
    TPersistent* GetOwner() const override;
    TNotifyEvent OnChange;

private:
    void Changed();
    TControl* FControl;
    int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

// What is being dragged. The framework frees the object once the drag has
// ended, whether it was dropped or cancelled, so a control that creates one
// in DoStartDrag never frees it itself.
class TDragObject : public TObject {
    FOLIO_CLASS(TDragObject)
public:
    TDragObject() = default;

    // The cursor shown while over a target: the drag cursor where the target
    // accepts, the no-drop cursor where it refuses.
    virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
    // Called once when the drag ends; Target is null when nothing accepted it.
    virtual void Finished(TObject* Target, int X, int Y, bool Accepted);
    // What DragOver and DragDrop receive as Source: the object itself, or the
    // control for a control drag object.
    virtual TObject* GetSource() { return this; }

    TPoint GetDragPos() const { return FDragPos; }
    TControl* GetDragTarget() const { return FDragTarget; }
    TPoint GetDragTargetPos() const { return FDragTargetPos; }
    bool GetCancelling() const { return FCancelling; }

private:
    friend class TDragManager;
    TPoint FDragPos;
    TControl* FDragTarget = nullptr;
    TPoint FDragTargetPos;
    bool FCancelling = false;
};

// A drag object that stands for a control; DragOver and DragDrop see the
// control as Source.
class TBaseDragControlObject : public TDragObject {
    FOLIO_CLASS(TBaseDragControlObject)
public:
    explicit TBaseDragControlObject(TControl* AControl) : FControl(AControl) {}
    TControl* GetControl() const { return FControl; }
    TObject* GetSource() override;
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;

private:
    TControl* FControl;
};

// The object a drag uses when DoStartDrag supplies none.
class TDragControlObject : public TBaseDragControlObject {
    FOLIO_CLASS(TDragControlObject)
public:
    using TBaseDragControlObject::TBaseDragControlObject;
};

// The base of everything visible: bounds in its parent's client
// coordinates, visibility, colour, font, cursor, mouse handling and the drag
// protocol. A TControl without a window paints on its parent (TGraphicControl).
class TControl : public TComponent {
    FOLIO_CLASS(TControl)
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    TWinControl* GetParent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    bool HasParent() const { return FParent != nullptr; }

    // Bounds, in the parent's client coordinates.
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    virtual TRect GetClientRect() const;
    int GetClientWidth() const { return GetClientRect().Width(); }
    void SetClientWidth(int Value);
    int GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientHeight(int Value);
    // Where the client area's (0, 0) lies on the screen.
    virtual TPoint GetClientOrigin() const;
    TPoint ClientToScreen(TPoint P) const;
    TPoint ScreenToClient(TPoint P) const;

    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to a top-level window visible too.
    bool Showing() const;
    virtual bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);

    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign Value);
    TAnchors GetAnchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }

    // The control owns its font; SetFont copies the given one.
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value);
    bool GetParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    bool GetParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    // A reference to a popup menu component, dropped when it is freed.
    TComponent* GetPopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);

    TBiDiMode GetBiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    bool GetParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    bool UseRightToLeftReading() const;
    bool UseRightToLeftAlignment() const;
    bool UseRightToLeftScrollBar() const;
    // Adds DT_RTLREADING for right-to-left reading and swaps DT_LEFT and
    // DT_RIGHT for right-to-left alignment.
    unsigned DrawTextBiDiModeFlags(unsigned Flags) const;
    unsigned DrawTextBiDiModeFlagsReadingOnly() const;

    // The caption or text of the control.
    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    const String& GetCaption() const { return FText; }
    void SetCaption(const String& Value) { SetText(Value); }

    TControlStyle GetControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState GetControlState() const { return FControlState; }

    // Marks the whole control for repainting when the loop is idle.
    virtual void Invalidate();
    // Paints at once what is invalid.
    virtual void Update();
    // Invalidate and paint at once.
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // The capture keeps every mouse message with this control until released.
    bool GetMouseCapture() const;
    void SetMouseCapture(bool Value);

    // Sends a message straight to the control's WndProc.
    std::intptr_t Perform(unsigned Msg, std::intptr_t WParam = 0, std::intptr_t LParam = 0);
    // The entry of every message: mouse input, then Dispatch.
    virtual void WndProc(TMessage& Message);
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

    // Drag and drop.
    void BeginDrag(bool Immediate, int Threshold = -1);
    void EndDrag(bool Drop);
    bool Dragging() const;
    TDragMode GetDragMode() const { return FDragMode; }
    virtual void SetDragMode(TDragMode Value) { FDragMode = Value; }
    TCursor GetDragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    TDragKind GetDragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    // Called by the drag machinery while something is dragged over this
    // control. Accept starts false; when OnDragOver is assigned it is set
    // true before the handler runs, so a handler that does nothing accepts.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    virtual void DragDrop(TObject* Source, int X, int Y);

    virtual void Click();
    virtual void DblClick();

    // Tells whether the control is on a window that can receive input.
    bool IsHandleShowing() const;
    // The top-level window the control is drawn into (the form), or null.
    TWinControl* GetTopLevel() const;
    void BringToFront();
    void SendToBack();

    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    // Events.
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseWheelEvent OnMouseWheel;
    TMouseWheelUpDownEvent OnMouseWheelDown;
    TMouseWheelUpDownEvent OnMouseWheelUp;
    TNotifyEvent OnResize;
    TCanResizeEvent OnCanResize;
    TConstrainedResizeEvent OnConstrainedResize;
    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDockEvent OnStartDock;
    TEndDockEvent OnEndDock;

protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    virtual void Resize();
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    // Starts a drag: fires OnStartDrag, which may supply the drag object.
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    virtual void Changed();
    // The parent's font, colour, hint or reading order changed.
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged();
    virtual void VisibleChanging() {}
    // Invalidates the given client rectangle of the control.
    void InvalidateControlRect(const TRect& R, bool Erase = true);
    // The rectangle of the control on its parent's client area, as it will be
    // drawn (bounds clipped to the parent).
    virtual void SetParentComponent(TComponent* Value);

    // Hooks for descendants that want the bounds or the style of the control
    // to change with its state.
    virtual void AdjustSize() {}
    // The cursor a kind of control shows when its Cursor is crDefault (an
    // edit box shows the I-beam); crDefault defers to the parent.
    virtual TCursor GetClassCursor() const { return crDefault; }
    virtual void RequestAlign();
    void SendCancelMode();

    TControlState FControlState;

    // Internal: the parent keeps the children list, the router delivers input.
    friend class TWinControl;
    friend class TInputRouter;
    friend class TDragManager;
    friend class TPaintPass;

    void DoMouseDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUpMessage(TMessage& Message, TMouseButton Button);
    void WMMouseWheel(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    void CMParentShowHintChanged(TMessage& Message);
    void CMParentBiDiModeChanged(TMessage& Message);
    void FontChangedHandler();
    // Sets the bounds without asking CanResize or the constraints (the
    // parent's alignment uses it as well).
    void UpdateBoundsRect(int ALeft, int ATop, int AWidth, int AHeight);
    // The control's bounds were set: repaint, realign, notify.
    void BoundsChanged(const TRect& OldBounds);
    void ApplyConstraints(int& NewWidth, int& NewHeight);

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    std::unique_ptr<TSizeConstraints> FConstraints;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    TColor FColor;
    bool FParentColor = false;
    TCursor FCursor = crDefault;
    String FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TComponent* FPopupMenu = nullptr;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    String FText;
    TControlStyle FControlStyle;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    TDragKind FDragKind = dkDrag;
    bool FFontChanging = false;
    // The form filer streams sets as bits and cursors as integers.
    long long GetAnchorBits() const { return static_cast<long long>(FAnchors.Bits()); }
    void SetAnchorBits(long long V) {
        SetAnchors(TAnchors::FromBits(static_cast<std::uint64_t>(V)));
    }
    int GetCursorOrd() const { return FCursor; }
    void SetCursorOrd(int V) { SetCursor(static_cast<TCursor>(V)); }
    int GetDragCursorOrd() const { return FDragCursor; }
    void SetDragCursorOrd(int V) { SetDragCursor(static_cast<TCursor>(V)); }

    // Set by TWinControl: hit testing and painting ask it without a cast.
    bool FWindowed = false;
};

// A control without a window of its own: it paints on its parent's surface,
// clipped to its bounds, through its canvas.
class TGraphicControl : public TControl {
    FOLIO_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    // While Paint runs the canvas draws into the dirty part of the control;
    // outside a paint it draws on the form's surface at once, clipped to the
    // visible part of the control (and the next repaint covers it). Without
    // a shown form it measures but draws nothing.
    TCanvas* GetCanvas() const;
    void Dispatch(TMessage& Message) override;

protected:
    virtual void Paint();

private:
    friend class TPaintPass;
    std::unique_ptr<TCanvas> FCanvas;
};

// A control with a window: a handle created on demand, child controls, the
// keyboard focus, keys, styles, a non-client frame and its own dirty region.
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

    // Lays the aligned children out in the client area.
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();

    // Surface of a top-level window (null for a child: it draws into its
    // top-level window's surface). Hosts read and present it.
    const TPixelSurface* GetSurface() const;
    // Where this window's (0, 0) lies on its top-level window's surface.
    TPoint GetWindowOrigin() const;
    // Counts the paints of a top-level window's surface, so a host presents
    // only what changed; TakeSurfaceDamage answers the surface rectangle
    // painted since the last call and clears it.
    unsigned GetSurfaceVersion() const { return FSurfaceVersion; }
    TRect TakeSurfaceDamage();

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

    friend class TControl;
    friend class TPaintPass;
    friend class TInputRouter;
    friend class TCustomForm;
    friend unsigned GetWindowLong(HWND, int);
    friend unsigned SetWindowLong(HWND, int, unsigned);
    friend bool InvalidateRect(HWND, const TRect*, bool);

    void InvalidateClient(const TRect& R, bool Erase);
    void InvalidateFrame();
    void StyleChanged();
    virtual void UpdateShowing();
    void AllocateSurface();
    // The bounds changed (Sized: the size too): surface, frame, WM_SIZE.
    void BoundsMoved(bool Sized);
    // Moves and stretches the children anchored to the right or bottom by
    // how much the client area grew since the last time.
    void AdjustAnchoredChildren();
    // The frame width the given style bits give a window.
    static int FrameWidth(unsigned Style, unsigned ExStyle);

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

    // Paint bookkeeping, in client coordinates.
    unsigned FSurfaceVersion = 0;
    TRect FSurfaceDamage;
    TRect FDirty;
    bool FEraseDirty = false;
    bool FFrameDirty = false;
    bool FInDirtyList = false;

    // The surface of a top-level window.
    std::vector<TPixel> FSurfacePixels;
    TPixelSurface FSurface;
};

// A windowed control that paints itself on its canvas in Paint.
class TCustomControl : public TWinControl {
    FOLIO_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    // See TGraphicControl::GetCanvas.
    TCanvas* GetCanvas() const;
    // Double-buffered controls paint into an offscreen bitmap that is copied
    // to the surface once, so a paint never shows half done.
    bool GetDoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool Value) { FDoubleBuffered = Value; }

protected:
    virtual void Paint();
    void PaintWindow() override;

    friend class TPaintPass;
    std::unique_ptr<TCanvas> FCanvas;
    bool FDoubleBuffered = false;
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
// The window holding the mouse capture, or 0.
HWND GetCapture();
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);
// The form a control lies on, or null.
TCustomForm* GetParentForm(const TControl* Control);

// The pointer and its settings.
class TMouse {
public:
    TPoint GetCursorPos() const { return FCursorPos; }
    void SetCursorPos(TPoint P) { FCursorPos = P; }
    // The distance the pointer moves before a pending drag starts: the
    // system's SM_CXDRAG unless set.
    int GetDragThreshold() const;
    void SetDragThreshold(int Value) { FDragThreshold = Value; }
    HWND GetCapture() const { return folio::GetCapture(); }
    bool GetMousePresent() const { return true; }
    int GetWheelScrollLines() const { return 3; }

private:
    TPoint FCursorPos;
    int FDragThreshold = -1;
};
extern TMouse* const Mouse;

// The pointer's position on the screen.
bool GetCursorPos(TPoint& Point);

} // namespace folio
