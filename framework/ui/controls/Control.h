#pragma once

#include "framework/core/Component.h"
#include "framework/gfx/Font.h"
#include "framework/ui/controls/ControlEvents.h"
#include "framework/ui/controls/ControlMessages.h"
#include "framework/ui/controls/ControlStyles.h"
#include "framework/ui/controls/Cursors.h"
#include "framework/ui/controls/SizeConstraints.h"
#include "framework/ui/input/DragTypes.h"

#include <memory>

namespace folio {

class TWinControl;
class TDragObject;

/// The base of everything visible: bounds in its parent's client
/// coordinates, visibility, colour, font, cursor, mouse handling and the drag
/// protocol. A TControl without a window paints on its parent (TGraphicControl).
class TControl : public TComponent {
    FOLIO_CLASS(TControl)
public:
    /// A control owned by AOwner (which frees it), with no parent yet: it
    /// shows once SetParent puts it on a windowed control.
    explicit TControl(TComponent* AOwner);
    /// Leaves the parent and ends a drag or capture the control takes part in.
    ~TControl() override;

    /// The windowed control this one lies on; null until SetParent.
    TWinControl* GetParent() const { return FParent; }
    /// Moves the control onto AParent (null takes it off any), as the last
    /// child in z-order. Raises EInvalidOperation for the control itself or
    /// one of its own children.
    virtual void SetParent(TWinControl* AParent);
    /// Whether the control lies on a parent.
    bool HasParent() const { return FParent != nullptr; }
    /// The parent, which a form file nests the control under.
    TComponent* GetParentComponent() const override;

    ///@{
    /// The left edge in the parent's client coordinates, in pixels; 0 by
    /// default. Setting it goes through SetBounds.
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
    ///@}
    ///@{
    /// The top edge in the parent's client coordinates, in pixels; 0 by
    /// default. Setting it goes through SetBounds.
    int GetTop() const { return FTop; }
    void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
    ///@}
    ///@{
    /// The outer width in pixels, frame included; 0 by default. Setting it
    /// goes through SetBounds (OnCanResize, Constraints).
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
    ///@}
    ///@{
    /// The outer height in pixels, frame included; 0 by default. Setting it
    /// goes through SetBounds (OnCanResize, Constraints).
    int GetHeight() const { return FHeight; }
    void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
    ///@}
    /// Moves and sizes the control at once. A negative size counts as 0; a
    /// new size is first offered to OnCanResize (a refusal keeps the old
    /// one), then held within Constraints. A change repaints the old and new
    /// place, fires OnResize when the size changed and, for an aligned
    /// control, lays the parent's aligned children out again.
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    ///@{
    /// Left, Top, Width and Height as one rectangle in the parent's client
    /// coordinates; setting it is SetBounds.
    TRect GetBoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
    ///@}
    /// The area children and painting use, in the control's own
    /// coordinates: (0, 0, Width, Height) here; a windowed control leaves
    /// out its frame.
    virtual TRect GetClientRect() const;
    ///@{
    /// The client area's width; setting it sizes the control so that the
    /// client area gets Value pixels, frame kept. Not stored in form files.
    int GetClientWidth() const { return GetClientRect().Width(); }
    void SetClientWidth(int Value);
    ///@}
    ///@{
    /// The client area's height; setting it sizes the control so that the
    /// client area gets Value pixels, frame kept. Not stored in form files.
    int GetClientHeight() const { return GetClientRect().Height(); }
    void SetClientHeight(int Value);
    ///@}
    /// Where the client area's (0, 0) lies on the screen.
    virtual TPoint GetClientOrigin() const;
    /// A point of the client area in screen coordinates.
    TPoint ClientToScreen(TPoint P) const;
    /// A screen point in the control's client coordinates.
    TPoint ScreenToClient(TPoint P) const;

    ///@{
    /// Whether the control shows when its parent does; true by default. A
    /// change repaints the place on the parent and realigns an aligned
    /// control; hiding it also ends the pointer's hover and capture on it.
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    ///@}
    ///@{
    /// SetVisible(true), SetVisible(false).
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    ///@}
    /// Visible, every parent up to the top-level window visible too, and
    /// that window made (it has a handle): the control is on the screen.
    bool Showing() const;
    ///@{
    /// Whether the control takes mouse and keyboard input; true by default.
    /// A disabled control ignores mouse messages and is drawn greyed by
    /// controls that show it. A change repaints.
    virtual bool GetEnabled() const { return FEnabled; }
    virtual void SetEnabled(bool Value);
    ///@}

    ///@{
    /// Docks the control to an edge of its parent's client area, or fills
    /// what is left (alClient); alNone (the default) leaves it where it is.
    /// A change realigns the parent.
    TAlign GetAlign() const { return FAlign; }
    void SetAlign(TAlign Value);
    ///@}
    ///@{
    /// The parent's edges the control keeps its distance to when the parent
    /// is sized; akLeft and akTop by default. Anchored to both left and
    /// right (top and bottom) it stretches.
    TAnchors GetAnchors() const { return FAnchors; }
    void SetAnchors(TAnchors Value);
    ///@}
    ///@{
    /// The smallest and largest width and height SetBounds lets the control
    /// take (0, the default, is no limit); setting copies the values.
    TSizeConstraints* GetConstraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }
    ///@}

    ///@{
    /// The font the control draws its text in. The control owns it; SetFont
    /// copies the given one (null changes nothing). Changing it, or any of
    /// its attributes, repaints and clears ParentFont.
    TFont* GetFont() const { return FFont.get(); }
    void SetFont(TFont* Value);
    ///@}
    ///@{
    /// Whether the control takes its parent's font, and follows it when it
    /// changes; true by default. Setting it true copies the parent's font at once.
    bool GetParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    ///@}
    ///@{
    /// The background colour; the system window colour by default. Setting
    /// it repaints and clears ParentColor.
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    ///@}
    ///@{
    /// Whether the control takes its parent's colour, and follows it; false
    /// by default. Setting it true copies the parent's colour at once.
    bool GetParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    ///@}
    ///@{
    /// The pointer's shape over the control; crDefault (the default) shows
    /// the class cursor, or the parent's.
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value);
    ///@}
    /// The cursor a kind of control shows when its Cursor is crDefault (an
    /// edit box shows the I-beam); crDefault defers to the parent.
    virtual TCursor GetClassCursor() const { return crDefault; }
    ///@{
    /// The text of the tooltip shown when the pointer rests on the control
    /// (when ShowHint is on); "" by default, which shows none.
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    ///@}
    ///@{
    /// Whether the control shows its Hint as a tooltip; false by default.
    /// Setting it clears ParentShowHint.
    bool GetShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    ///@}
    ///@{
    /// Whether ShowHint follows the parent's; true by default.
    bool GetParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool Value);
    ///@}
    ///@{
    /// The popup menu a right click (or the context-menu key) opens on the
    /// control; null by default, which opens the nearest parent's. The
    /// reference is dropped when the menu is freed.
    TComponent* GetPopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TComponent* Value);
    ///@}

    ///@{
    /// The reading order and alignment of the control's text; left to right
    /// by default. Setting it repaints and clears ParentBiDiMode.
    TBiDiMode GetBiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode Value);
    ///@}
    ///@{
    /// Whether BiDiMode follows the parent's; true by default.
    bool GetParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool Value);
    ///@}
    /// Whether text reads right to left: any BiDiMode but bdLeftToRight.
    bool UseRightToLeftReading() const;
    /// Whether text and parts align to the right: bdRightToLeft only.
    bool UseRightToLeftAlignment() const;
    /// Whether a scroll bar goes on the left: bdRightToLeft and
    /// bdRightToLeftNoAlign.
    bool UseRightToLeftScrollBar() const;
    /// Adds DT_RTLREADING for right-to-left reading and swaps DT_LEFT and
    /// DT_RIGHT for right-to-left alignment (centred text stays centred).
    unsigned DrawTextBiDiModeFlags(unsigned Flags) const;
    /// DT_RTLREADING for right-to-left reading, otherwise 0.
    unsigned DrawTextBiDiModeFlagsReadingOnly() const;

    ///@{
    /// The caption or text of the control (Caption and Text are the same
    /// string); "" by default. A change repaints and sends CM_TEXTCHANGED.
    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    const String& GetCaption() const { return FText; }
    void SetCaption(const String& Value) { SetText(Value); }
    ///@}

    /// A TWinControl: the control has (or gets) a window of its own.
    bool IsWindowed() const { return FWindowed; }

    /// The resolution the control's pixel sizes are meant for: 96 until the
    /// control is scaled (ChangeScale) or read from a form designed at
    /// another one. Controls size their fixed metrics (frame widths, button
    /// sizes) by it.
    int GetCurrentPPI() const { return FCurrentPPI; }
    /// N standard (96 per inch) pixels at CurrentPPI.
    int ScalePixels(int N) const;

    ///@{
    /// What kind of control this is and how it takes input and paints (see
    /// TControlStyleFlag); each class sets its own in its constructor.
    TControlStyle GetControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    ///@}
    /// Transient input state (a left press in progress, a click pending).
    TControlState GetControlState() const { return FControlState; }

    /// Marks the whole control for repainting when the loop is idle.
    virtual void Invalidate();
    /// Marks a rectangle of the client area (client coordinates) for
    /// repainting, its background erased first unless Erase is false or the
    /// control is opaque. Every invalidation of the control layer goes
    /// through here; a control without a window of its own passes it to its
    /// parent. Nothing happens while the control is hidden or has no parent.
    virtual void InvalidateRect(const TRect& R, bool Erase = true);
    /// Paints at once what is invalid (the parent's window, for a control
    /// without one).
    virtual void Update();
    ///@{
    /// Invalidate and paint at once.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    ///@}

    ///@{
    /// Whether the control has the mouse capture: every mouse message goes
    /// to it until the capture is released. A control pressed with
    /// csCaptureMouse in its style takes it until the button is released.
    bool GetMouseCapture() const;
    void SetMouseCapture(bool Value);
    ///@}

    /// Sends a message straight to the control's WndProc and answers its
    /// Result.
    std::intptr_t Perform(unsigned Msg, std::intptr_t WParam = 0, std::intptr_t LParam = 0);
    /// The entry of every message. A designer takes the input of the
    /// controls it designs first; mouse messages to a disabled control go
    /// nowhere; the rest goes to Dispatch.
    virtual void WndProc(TMessage& Message);
    /// Turns mouse messages into MouseDown, MouseUp, MouseMove, Click,
    /// DblClick and the wheel events, opens the popup menu on a released
    /// right button, and hands the rest to the message handlers.
    void Dispatch(TMessage& Message) override;
    /// Answers WM_SETTEXT and WM_GETTEXT with the control's Text.
    void DefaultHandler(TMessage& Message) override;

    /// Starts dragging the control: at once when Immediate, otherwise once
    /// the pointer moves Threshold pixels (-1: the mouse's drag threshold).
    /// Nothing when DragKind is dkDock.
    void BeginDrag(bool Immediate, int Threshold = -1);
    /// Ends the drag of this control, dropping on the target under the
    /// pointer when Drop or cancelling; nothing if it is not being dragged.
    void EndDrag(bool Drop);
    /// Whether this control is being dragged.
    bool Dragging() const;
    ///@{
    /// dmAutomatic starts a drag when the control is pressed with the left
    /// button and the pointer then moves the drag threshold; dmManual (the
    /// default) drags only through BeginDrag.
    TDragMode GetDragMode() const { return FDragMode; }
    virtual void SetDragMode(TDragMode Value) { FDragMode = Value; }
    ///@}
    ///@{
    /// The pointer's shape over a target that accepts this control's drag;
    /// crDrag by default.
    TCursor GetDragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor Value) { FDragCursor = Value; }
    ///@}
    ///@{
    /// Whether the control is dragged (dkDrag, the default) or docked
    /// (dkDock, which is stored only: BeginDrag does nothing).
    TDragKind GetDragKind() const { return FDragKind; }
    void SetDragKind(TDragKind Value) { FDragKind = Value; }
    ///@}
    /// Called by the drag machinery while something is dragged over this
    /// control. Accept starts false; when OnDragOver is assigned it is set
    /// true before the handler runs, so a handler that does nothing accepts.
    virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
    /// Called when Source is dropped on the control at X, Y (client
    /// coordinates); fires OnDragDrop.
    virtual void DragDrop(TObject* Source, int X, int Y);

    /// Fires OnClick: a left press and release inside the control, or what
    /// a control takes as its click (a key, a changed selection).
    virtual void Click();
    /// Fires OnDblClick, on the second press of a left double click.
    virtual void DblClick();

    /// Whether the control is on a window that can receive input (Showing).
    bool IsHandleShowing() const;
    /// The top-level window the control is drawn into (the form), or null.
    TWinControl* GetTopLevel() const;
    /// Puts the control on top of its siblings (last in z-order).
    void BringToFront();
    /// Puts the control below its siblings (first in z-order).
    void SendToBack();

    /// Drops the PopupMenu reference when that menu is freed.
    void Notification(TComponent* AComponent, TOperation Operation) override;
    /// After a form file is read: realigns an aligned control.
    void Loaded() override;

    /// A left press and release inside the control (csClickEvents), or the
    /// control's own click.
    TNotifyEvent OnClick;
    /// The second press of a left double click (after OnClick of the first).
    TNotifyEvent OnDblClick;
    /// A mouse button went down on the control; X, Y in client coordinates.
    TMouseEvent OnMouseDown;
    /// The pointer moved over the control, or anywhere while it has the
    /// capture; X, Y in client coordinates.
    TMouseMoveEvent OnMouseMove;
    /// A mouse button went up; X, Y in client coordinates.
    TMouseEvent OnMouseUp;
    /// The wheel turned over the control (WheelDelta 120 a notch, positive
    /// away from the user); Handled true stops OnMouseWheelDown/Up and the
    /// parent. A turn nothing handles goes up to the parent.
    TMouseWheelEvent OnMouseWheel;
    /// The wheel turned towards the user, when OnMouseWheel left it unhandled.
    TMouseWheelUpDownEvent OnMouseWheelDown;
    /// The wheel turned away from the user, when OnMouseWheel left it
    /// unhandled.
    TMouseWheelUpDownEvent OnMouseWheelUp;
    /// The control's size changed.
    TNotifyEvent OnResize;
    /// Before a size change: NewWidth and NewHeight may be changed, and
    /// Resize (true on arrival) set false keeps the old size.
    TCanResizeEvent OnCanResize;
    /// Before a size change: may narrow the Constraints for this change
    /// (0 is no limit).
    TConstrainedResizeEvent OnConstrainedResize;
    /// A drag of this control starts; the handler may supply the drag
    /// object (a default one is made otherwise).
    TStartDragEvent OnStartDrag;
    /// Something is dragged over the control; see DragOver for Accept.
    TDragOverEvent OnDragOver;
    /// Source was dropped on the control at X, Y (client coordinates).
    TDragDropEvent OnDragDrop;
    /// A drag of this control ended: Target took the drop, or is null when
    /// nothing did (cancelled, refused); X, Y in Target's client
    /// coordinates, or in this control's when Target is null.
    TEndDragEvent OnEndDrag;
    /// Stored in form files and published; docking never fires it.
    TStartDockEvent OnStartDock;
    /// Stored in form files and published; docking never fires it.
    TEndDockEvent OnEndDock;

protected:
    /// TWinControl's constructor: a control with a window of its own.
    TControl(TComponent* AOwner, bool Windowed);

    /// A mouse button went down at X, Y (client coordinates); fires
    /// OnMouseDown. ssDouble in Shift marks the second press of a double click.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    /// The pointer moved; fires OnMouseMove.
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    /// A mouse button went up; fires OnMouseUp.
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    /// The wheel turned: fires OnMouseWheel, then DoMouseWheelDown or
    /// DoMouseWheelUp unless handled. True when handled (the parent then
    /// does not see the turn).
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    /// Fires OnMouseWheelDown; true when handled.
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    /// Fires OnMouseWheelUp; true when handled.
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    /// A sideways wheel (or a tilted one); WheelDelta is positive to the
    /// right. Unhandled turns go up to the parent, as upright ones do; the
    /// default handles none.
    virtual bool DoMouseHWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    /// The size changed; fires OnResize.
    virtual void Resize();
    /// Asked before a size change; fires OnCanResize. False keeps the old size.
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    /// Asked by a control that sizes itself to its content whether (and to
    /// what) it may change; true here.
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    /// Gives the limits for a size change, Constraints' on arrival; fires
    /// OnConstrainedResize.
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    /// Starts a drag: fires OnStartDrag, which may supply the drag object.
    virtual void DoStartDrag(TDragObject*& DragObject);
    /// The control's drag ended; fires OnEndDrag.
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    /// A drag that was over this control has ended without dropping here
    /// (dropped elsewhere, cancelled, or its source destroyed): whatever the
    /// control shows or runs for the drag goes.
    virtual void DragCanceled() {}
    /// Something the control shows changed; sends CM_CHANGED.
    virtual void Changed();
    /// The control's font changed (its own or the parent's it follows):
    /// tells the children and repaints.
    virtual void FontChanged();
    /// The control's colour changed: tells the children and repaints.
    virtual void ColorChanged();
    /// The control's text changed: sends CM_TEXTCHANGED and repaints.
    virtual void TextChanged();
    /// Called just before Visible changes; nothing here.
    virtual void VisibleChanging() {}
    /// Multiplies the control's bounds, size limits and, unless it follows
    /// its parent's, its font by M / D, and its CurrentPPI with them. Controls with
    /// metrics of their own scale them too. M == D changes nothing.
    virtual void ChangeScale(int M, int D);
    /// A form file reader nests the control under Value: becomes its parent
    /// when it is a windowed control.
    void SetParentComponent(TComponent* Value) override;

    /// Hook for a control that sizes itself to its content; nothing here.
    virtual void AdjustSize() {}
    /// Asks the parent to lay its aligned children out again.
    virtual void RequestAlign();
    /// The control was shown or hidden: a window makes or repaints its handle.
    virtual void UpdateShowing() {}
    /// Makes another control that has the mouse capture give it up.
    void SendCancelMode();
    /// For the constructors of controls that start hidden (forms): stores the
    /// visibility without the notifications SetVisible sends to a control
    /// that nothing can be watching yet.
    void StartHidden() { FVisible = false; }

public:
    /// @cond internal
    // The parent keeps its children's link to it; nothing else sets it.
    class TParentLink {
        friend class TWinControl;
        static void Set(TControl& Child, TWinControl* Parent) { Child.FParent = Parent; }
    };
    // Scaling walks the control tree through these.
    class TScaleHooks {
        friend class TWinControl;
        friend class TCustomForm;
        static void ChangeScale(TControl& C, int M, int D) { C.ChangeScale(M, D); }
        static void SetCurrentPPI(TControl& C, int Value) { C.FCurrentPPI = Value; }
    };
    // The drag manager starts and ends drags through the control's hooks.
    class TDragHooks {
        friend class TDragManager;
        static void StartDrag(TControl& C, TDragObject*& DragObject) { C.DoStartDrag(DragObject); }
        static void EndDrag(TControl& C, TObject* Target, int X, int Y) {
            C.DoEndDrag(Target, X, Y);
        }
        static void Canceled(TControl& C) { C.DragCanceled(); }
    };
    /// @endcond

private:
    // Windowed controls move their window along; the rest only tell Resize.
    virtual void BoundsMoved(bool Sized);

    void DoMouseDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift);
    void DoMouseUpMessage(TMessage& Message, TMouseButton Button);
    void WMMouseWheel(TMessage& Message);
    void WMMouseHWheel(TMessage& Message);
    void CMParentFontChanged(TMessage& Message);
    void CMParentColorChanged(TMessage& Message);
    void CMParentShowHintChanged(TMessage& Message);
    void CMParentBiDiModeChanged(TMessage& Message);
    void FontChangedHandler();
    // Sets the bounds without asking CanResize or the constraints.
    void UpdateBoundsRect(int ALeft, int ATop, int AWidth, int AHeight);
    // The control's bounds were set: repaint, realign, notify.
    void BoundsChanged(const TRect& OldBounds);
    void ApplyConstraints(int& NewWidth, int& NewHeight);

    // The form filer streams sets as bits and cursors as integers.
    long long GetAnchorBits() const { return static_cast<long long>(FAnchors.Bits()); }
    void SetAnchorBits(long long V) {
        SetAnchors(TAnchors::FromBits(static_cast<std::uint64_t>(V)));
    }
    int GetCursorOrd() const { return FCursor; }
    void SetCursorOrd(int V) { SetCursor(static_cast<TCursor>(V)); }
    int GetDragCursorOrd() const { return FDragCursor; }
    void SetDragCursorOrd(int V) { SetDragCursor(static_cast<TCursor>(V)); }

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
    TControlState FControlState;
    TDragMode FDragMode = dmManual;
    TCursor FDragCursor = crDrag;
    TDragKind FDragKind = dkDrag;
    bool FFontChanging = false;
    int FCurrentPPI = 96;
    // Hit testing and painting ask it without a cast.
    const bool FWindowed;
};

} // namespace folio
