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
    TComponent* GetParentComponent() const override;

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
    // The cursor a kind of control shows when its Cursor is crDefault (an
    // edit box shows the I-beam); crDefault defers to the parent.
    virtual TCursor GetClassCursor() const { return crDefault; }
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

    // A TWinControl: the control has (or gets) a window of its own.
    bool IsWindowed() const { return FWindowed; }

    // The resolution the control's pixel sizes are meant for: 96 until the
    // control is scaled (ChangeScale) or read from a form designed at
    // another one. Controls size their fixed metrics (frame widths, button
    // sizes) by it; ScalePixels(N) is N standard pixels at that resolution.
    int GetCurrentPPI() const { return FCurrentPPI; }
    int ScalePixels(int N) const;

    TControlStyle GetControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
    TControlState GetControlState() const { return FControlState; }

    // Marks the whole control for repainting when the loop is idle.
    virtual void Invalidate();
    // Marks a rectangle of the client area (client coordinates) for
    // repainting, its background erased first unless Erase is false or the
    // control is opaque. Every invalidation of the control layer goes
    // through here; a control without a window of its own passes it to its
    // parent.
    virtual void InvalidateRect(const TRect& R, bool Erase = true);
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
    // TWinControl's constructor: a control with a window of its own.
    TControl(TComponent* AOwner, bool Windowed);

    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
    // A sideways wheel (or a tilted one); WheelDelta is positive to the
    // right. Unhandled turns go up to the parent, as upright ones do.
    virtual bool DoMouseHWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
    virtual void Resize();
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    // Starts a drag: fires OnStartDrag, which may supply the drag object.
    virtual void DoStartDrag(TDragObject*& DragObject);
    virtual void DoEndDrag(TObject* Target, int X, int Y);
    // A drag that was over this control has ended without dropping here
    // (dropped elsewhere, cancelled, or its source destroyed): whatever the
    // control shows or runs for the drag goes.
    virtual void DragCanceled() {}
    virtual void Changed();
    // The parent's font, colour, hint or reading order changed.
    virtual void FontChanged();
    virtual void ColorChanged();
    virtual void TextChanged();
    virtual void VisibleChanging() {}
    // Multiplies the control's bounds, size limits and, unless it follows
    // its parent's, its font by M / D, and its CurrentPPI with them. Controls with
    // metrics of their own scale them too. M == D changes nothing.
    virtual void ChangeScale(int M, int D);
    void SetParentComponent(TComponent* Value) override;

    // Hooks for descendants that want the bounds or the style of the control
    // to change with its state.
    virtual void AdjustSize() {}
    virtual void RequestAlign();
    // The control was shown or hidden: a window makes or repaints its handle.
    virtual void UpdateShowing() {}
    void SendCancelMode();
    // For the constructors of controls that start hidden (forms): stores the
    // visibility without the notifications SetVisible sends to a control
    // that nothing can be watching yet.
    void StartHidden() { FVisible = false; }

public:
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
