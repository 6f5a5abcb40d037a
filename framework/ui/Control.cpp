#include "framework/core/ClassBuilder.h"
#include "framework/core/Exceptions.h"
#include "framework/gfx/Font.h"
#include "framework/ui/Controls.h"
#include "framework/ui/DragDrop.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Input.h"
#include "framework/ui/PaintPass.h"
#include "framework/ui/RectOps.h"

namespace folio {

bool NewStyleControls = true;

// --- size constraints ------------------------------------------------------

FOLIO_DEFINE_CLASS(TSizeConstraints, TPersistent)

void TSizeConstraints::SetMaxHeight(int Value) {
    if (Value == FMaxHeight) return;
    FMaxHeight = Value;
    if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMinHeight = FMaxHeight;
    Changed();
}
void TSizeConstraints::SetMaxWidth(int Value) {
    if (Value == FMaxWidth) return;
    FMaxWidth = Value;
    if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMinWidth = FMaxWidth;
    Changed();
}
void TSizeConstraints::SetMinHeight(int Value) {
    if (Value == FMinHeight) return;
    FMinHeight = Value;
    if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMaxHeight = FMinHeight;
    Changed();
}
void TSizeConstraints::SetMinWidth(int Value) {
    if (Value == FMinWidth) return;
    FMinWidth = Value;
    if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMaxWidth = FMinWidth;
    Changed();
}

void TSizeConstraints::Assign(const TPersistent* Source) {
    if (auto* S = dynamic_cast<const TSizeConstraints*>(Source)) {
        FMaxHeight = S->FMaxHeight;
        FMaxWidth = S->FMaxWidth;
        FMinHeight = S->FMinHeight;
        FMinWidth = S->FMinWidth;
        Changed();
        return;
    }
    TPersistent::Assign(Source);
}

TPersistent* TSizeConstraints::GetOwner() const {
    return FControl;
}

void TSizeConstraints::Changed() {
    // The control takes its current size again, now limited.
    if (FControl)
        FControl->SetBounds(FControl->GetLeft(), FControl->GetTop(), FControl->GetWidth(),
                            FControl->GetHeight());
    if (OnChange) OnChange(this);
}

// --- shift states ----------------------------------------------------------

TShiftState KeysToShiftState(unsigned Keys) {
    TShiftState S;
    if (Keys & MK_SHIFT) S.Include(ssShift);
    if (Keys & MK_CONTROL) S.Include(ssCtrl);
    if (Keys & MK_LBUTTON) S.Include(ssLeft);
    if (Keys & MK_RBUTTON) S.Include(ssRight);
    if (Keys & MK_MBUTTON) S.Include(ssMiddle);
    if (InputRouter->IsKeyDown(VK_MENU)) S.Include(ssAlt);
    return S;
}

unsigned ShiftStateToKeys(TShiftState Shift) {
    unsigned K = 0;
    if (Shift.Contains(ssShift)) K |= MK_SHIFT;
    if (Shift.Contains(ssCtrl)) K |= MK_CONTROL;
    if (Shift.Contains(ssLeft)) K |= MK_LBUTTON;
    if (Shift.Contains(ssRight)) K |= MK_RBUTTON;
    if (Shift.Contains(ssMiddle)) K |= MK_MBUTTON;
    return K;
}

// --- class information -----------------------------------------------------

namespace {
const std::vector<String> AlignNames{"alNone", "alTop",   "alBottom",
                                     "alLeft", "alRight", "alClient"};
const std::vector<String> BiDiNames{"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                    "bdRightToLeftReadingOnly"};
const std::vector<String> DragModeNames{"dmManual", "dmAutomatic"};
const std::vector<String> DragKindNames{"dkDrag", "dkDock"};

} // namespace

const TClassInfo& TControl::StaticClassInfo() {
    using C = TControl;
    static const TClassInfo Info =
        TClassBuilder<C>("TControl", &TComponent::StaticClassInfo())
            .Int("Left", &C::GetLeft, &C::SetLeft)
            .Int("Top", &C::GetTop, &C::SetTop)
            .Int("Width", &C::GetWidth, &C::SetWidth)
            .Int("Height", &C::GetHeight, &C::SetHeight)
            .Enum("Align", "TAlign", AlignNames, &C::GetAlign, &C::SetAlign,
                  std::optional<TAlign>(alNone))
            .Unpublished()
            .Int("Anchors", &C::GetAnchorBits, &C::SetAnchorBits,
                 static_cast<long long>(TAnchors{akLeft, akTop}.Bits()))
            .Unpublished()
            .Enum("BiDiMode", "TBiDiMode", BiDiNames, &C::GetBiDiMode, &C::SetBiDiMode,
                  std::optional<TBiDiMode>(bdLeftToRight))
            .Unpublished()
            .Str("Caption", &C::GetCaption, &C::SetCaption)
            .Unpublished()
            .Color("Color", &C::GetColor, &C::SetColor, SysColorWindow)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentColor(); })
            .Object("Constraints", &C::GetConstraints, &C::SetConstraints)
            .Unpublished()
            .Int("Cursor", &C::GetCursorOrd, &C::SetCursorOrd, crDefault)
            .Unpublished()
            .Int("DragCursor", &C::GetDragCursorOrd, &C::SetDragCursorOrd, crDrag)
            .Unpublished()
            .Enum("DragKind", "TDragKind", DragKindNames, &C::GetDragKind, &C::SetDragKind,
                  std::optional<TDragKind>(dkDrag))
            .Unpublished()
            .Enum("DragMode", "TDragMode", DragModeNames, &C::GetDragMode, &C::SetDragMode,
                  std::optional<TDragMode>(dmManual))
            .Unpublished()
            .Bool("Enabled", &C::GetEnabled, &C::SetEnabled, true)
            .Unpublished()
            .Object("Font", &C::GetFont, &C::SetFont)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentFont(); })
            .Str("Hint", &C::GetHint, &C::SetHint)
            .Unpublished()
            .Bool("ParentBiDiMode", &C::GetParentBiDiMode, &C::SetParentBiDiMode, true)
            .Unpublished()
            .Bool("ParentColor", &C::GetParentColor, &C::SetParentColor, false)
            .Unpublished()
            .Bool("ParentFont", &C::GetParentFont, &C::SetParentFont, true)
            .Unpublished()
            .Bool("ParentShowHint", &C::GetParentShowHint, &C::SetParentShowHint, true)
            .Unpublished()
            .Component("PopupMenu", &C::GetPopupMenu, &C::SetPopupMenu)
            .Unpublished()
            .Bool("ShowHint", &C::GetShowHint, &C::SetShowHint, false)
            .Unpublished()
            .Stored([](const C& X) { return !X.GetParentShowHint(); })
            .Str("Text", &C::GetText, &C::SetText)
            .Unpublished()
            .Bool("Visible", &C::GetVisible, &C::SetVisible, true)
            .Unpublished()
            .Event("OnCanResize", &C::OnCanResize)
            .Unpublished()
            .Event("OnClick", &C::OnClick)
            .Unpublished()
            .Event("OnConstrainedResize", &C::OnConstrainedResize)
            .Unpublished()
            .Event("OnDblClick", &C::OnDblClick)
            .Unpublished()
            .Event("OnDragDrop", &C::OnDragDrop)
            .Unpublished()
            .Event("OnDragOver", &C::OnDragOver)
            .Unpublished()
            .Event("OnEndDock", &C::OnEndDock)
            .Unpublished()
            .Event("OnEndDrag", &C::OnEndDrag)
            .Unpublished()
            .Event("OnMouseDown", &C::OnMouseDown)
            .Unpublished()
            .Event("OnMouseMove", &C::OnMouseMove)
            .Unpublished()
            .Event("OnMouseUp", &C::OnMouseUp)
            .Unpublished()
            .Event("OnMouseWheel", &C::OnMouseWheel)
            .Unpublished()
            .Event("OnMouseWheelDown", &C::OnMouseWheelDown)
            .Unpublished()
            .Event("OnMouseWheelUp", &C::OnMouseWheelUp)
            .Unpublished()
            .Event("OnResize", &C::OnResize)
            .Unpublished()
            .Event("OnStartDock", &C::OnStartDock)
            .Unpublished()
            .Event("OnStartDrag", &C::OnStartDrag)
            .Unpublished()
            .Build();
    return Info;
}

// --- construction ----------------------------------------------------------

TControl::TControl(TComponent* AOwner) : TComponent(AOwner), FColor(SysColorWindow) {
    FConstraints = std::make_unique<TSizeConstraints>(this);
    FFont = std::make_unique<TFont>();
    FFont->OnChange = [this](TObject*) { FontChangedHandler(); };
    FControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
    TDragManager::ControlDestroyed(this);
    InputRouter->ControlDestroyed(this);
    if (FParent) FParent->RemoveControl(this);
}

// --- parent ----------------------------------------------------------------

void TControl::SetParent(TWinControl* AParent) {
    if (AParent == FParent) return;
    if (AParent == this) throw EInvalidOperation("A control cannot be its own parent");
    for (TWinControl* P = AParent; P; P = P->GetParent())
        if (P == this) throw EInvalidOperation("A control cannot be the parent of its own parent");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* Value) {
    if (auto* W = dynamic_cast<TWinControl*>(Value)) SetParent(W);
}

TWinControl* TControl::GetTopLevel() const {
    const TControl* C = this;
    while (C->FParent) C = C->FParent;
    return const_cast<TWinControl*>(dynamic_cast<const TWinControl*>(C));
}

bool TControl::Showing() const {
    for (const TControl* C = this; C; C = C->FParent)
        if (!C->FVisible) return false;
    const TWinControl* Top = GetTopLevel();
    return Top && Top->HandleAllocated();
}

bool TControl::IsHandleShowing() const {
    return Showing();
}

void TControl::BringToFront() {
    if (FParent) FParent->SetChildOrder(this, FParent->ControlCount() - 1);
}

void TControl::SendToBack() {
    if (FParent) FParent->SetChildOrder(this, 0);
}

// --- bounds ----------------------------------------------------------------

void TControl::ApplyConstraints(int& NewWidth, int& NewHeight) {
    int MinW = FConstraints->GetMinWidth(), MinH = FConstraints->GetMinHeight();
    int MaxW = FConstraints->GetMaxWidth(), MaxH = FConstraints->GetMaxHeight();
    ConstrainedResize(MinW, MinH, MaxW, MaxH);
    if (MaxW > 0 && NewWidth > MaxW) NewWidth = MaxW;
    if (MinW > 0 && NewWidth < MinW) NewWidth = MinW;
    if (MaxH > 0 && NewHeight > MaxH) NewHeight = MaxH;
    if (MinH > 0 && NewHeight < MinH) NewHeight = MinH;
}

bool TControl::CanResize(int& NewWidth, int& NewHeight) {
    bool Result = true;
    if (OnCanResize) OnCanResize(this, NewWidth, NewHeight, Result);
    return Result;
}

bool TControl::CanAutoSize(int&, int&) {
    return true;
}

void TControl::ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight) {
    if (OnConstrainedResize) OnConstrainedResize(this, MinWidth, MinHeight, MaxWidth, MaxHeight);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AWidth < 0) AWidth = 0;
    if (AHeight < 0) AHeight = 0;
    if (AWidth != FWidth || AHeight != FHeight) {
        if (!CanResize(AWidth, AHeight)) {
            AWidth = FWidth;
            AHeight = FHeight;
        }
        ApplyConstraints(AWidth, AHeight);
    }
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    UpdateBoundsRect(ALeft, ATop, AWidth, AHeight);
}

void TControl::UpdateBoundsRect(int ALeft, int ATop, int AWidth, int AHeight) {
    const TRect Old = GetBoundsRect();
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
    BoundsChanged(Old);
}

void TControl::BoundsChanged(const TRect& OldBounds) {
    const bool Sized = OldBounds.Width() != FWidth || OldBounds.Height() != FHeight;
    // The parent repaints where the control was and where it is now.
    if (FParent && FVisible) {
        FParent->InvalidateClient(OldBounds, true);
        FParent->InvalidateClient(GetBoundsRect(), true);
    }
    auto* W = dynamic_cast<TWinControl*>(this);
    if (W) {
        W->BoundsMoved(Sized);
    } else if (Sized) {
        Resize();
    }
    if (FParent && FAlign != alNone) RequestAlign();
}

TRect TControl::GetClientRect() const {
    return Rect(0, 0, FWidth, FHeight);
}

void TControl::SetClientWidth(int Value) {
    SetWidth(Value + (FWidth - GetClientWidth()));
}

void TControl::SetClientHeight(int Value) {
    SetHeight(Value + (FHeight - GetClientHeight()));
}

TPoint TControl::GetClientOrigin() const {
    if (!FParent) return TPoint{FLeft, FTop};
    const TPoint P = FParent->GetClientOrigin();
    return TPoint{P.X + FLeft, P.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint P) const {
    const TPoint O = GetClientOrigin();
    return TPoint{P.X + O.X, P.Y + O.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
    const TPoint O = GetClientOrigin();
    return TPoint{P.X - O.X, P.Y - O.Y};
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

void TControl::RequestAlign() {
    if (FParent) FParent->Realign();
}

void TControl::SetAlign(TAlign Value) {
    if (Value == FAlign) return;
    FAlign = Value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
    if (Value == FAnchors) return;
    FAnchors = Value;
}

// --- visibility and state ----------------------------------------------------

void TControl::SetVisible(bool Value) {
    if (Value == FVisible) return;
    VisibleChanging();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    if (FParent) {
        FParent->InvalidateClient(GetBoundsRect(), true);
        if (FAlign != alNone) RequestAlign();
    }
    if (auto* W = dynamic_cast<TWinControl*>(this)) W->UpdateShowing();
    if (!Value) InputRouter->ControlHidden(this);
}

void TControl::SetEnabled(bool Value) {
    if (Value == FEnabled) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
    Invalidate();
}

void TControl::Changed() {
    Perform(CM_CHANGED);
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent && FAlign != alNone) RequestAlign();
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetPopupMenu(TComponent* Value) {
    if (Value == FPopupMenu) return;
    if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
    FPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
}

// --- font, colour, hint, reading order ---------------------------------------

void TControl::SetFont(TFont* Value) {
    if (Value) FFont->Assign(Value);
}

void TControl::FontChangedHandler() {
    // A change of the font itself, not one handed down by the parent, breaks
    // the link with the parent's font.
    if (!FFontChanging) FParentFont = false;
    FontChanged();
}

void TControl::FontChanged() {
    Perform(CM_FONTCHANGED);
    Invalidate();
}

void TControl::SetParentFont(bool Value) {
    if (Value == FParentFont) return;
    FParentFont = Value;
    if (FParent && Value) Perform(CM_PARENTFONTCHANGED);
}

void TControl::CMParentFontChanged(TMessage&) {
    if (!FParentFont || !FParent) return;
    FFontChanging = true;
    try {
        FFont->Assign(FParent->GetFont());
    } catch (...) {
        FFontChanging = false;
        throw;
    }
    FFontChanging = false;
    FParentFont = true;
}

void TControl::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    FParentColor = false;
    ColorChanged();
}

void TControl::ColorChanged() {
    Perform(CM_COLORCHANGED);
    Invalidate();
}

void TControl::SetParentColor(bool Value) {
    if (Value == FParentColor) return;
    FParentColor = Value;
    if (FParent && Value) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::CMParentColorChanged(TMessage&) {
    if (!FParentColor || !FParent) return;
    const TColor C = FParent->GetColor();
    if (C != FColor) {
        FColor = C;
        ColorChanged();
    }
}

void TControl::SetCursor(TCursor Value) {
    if (Value == FCursor) return;
    FCursor = Value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool Value) {
    if (Value == FShowHint && !FParentShowHint) return;
    FShowHint = Value;
    FParentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool Value) {
    if (Value == FParentShowHint) return;
    FParentShowHint = Value;
    if (FParent && Value) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (FParentShowHint && FParent) FShowHint = FParent->GetShowHint();
}

void TControl::SetBiDiMode(TBiDiMode Value) {
    if (Value == FBiDiMode && !FParentBiDiMode) return;
    FBiDiMode = Value;
    FParentBiDiMode = false;
    Perform(CM_BIDIMODECHANGED);
    Invalidate();
}

void TControl::SetParentBiDiMode(bool Value) {
    if (Value == FParentBiDiMode) return;
    FParentBiDiMode = Value;
    if (FParent && Value) Perform(CM_PARENTBIDIMODECHANGED);
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
    if (!FParentBiDiMode || !FParent) return;
    if (FBiDiMode == FParent->GetBiDiMode()) return;
    FBiDiMode = FParent->GetBiDiMode();
    Perform(CM_BIDIMODECHANGED);
    Invalidate();
}

bool TControl::UseRightToLeftReading() const {
    return FBiDiMode != bdLeftToRight;
}

bool TControl::UseRightToLeftAlignment() const {
    return FBiDiMode == bdRightToLeft;
}

bool TControl::UseRightToLeftScrollBar() const {
    return FBiDiMode != bdLeftToRight && FBiDiMode != bdRightToLeftReadingOnly;
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned Flags) const {
    // The values are DrawText's: DT_RIGHT 0x2 and DT_RTLREADING 0x20000.
    constexpr unsigned Right = 0x2, RtlReading = 0x20000, Center = 0x1;
    if (UseRightToLeftAlignment() && !(Flags & Center)) {
        if (Flags & Right)
            Flags &= ~Right;
        else
            Flags |= Right;
    }
    if (UseRightToLeftReading()) Flags |= RtlReading;
    return Flags;
}

unsigned TControl::DrawTextBiDiModeFlagsReadingOnly() const {
    return UseRightToLeftReading() ? 0x20000u : 0u;
}

void TControl::SetText(const String& Value) {
    if (Value == FText) return;
    FText = Value;
    TextChanged();
}

void TControl::TextChanged() {
    Perform(CM_TEXTCHANGED);
    Invalidate();
}

// --- painting ----------------------------------------------------------------

void TControl::InvalidateControlRect(const TRect& R, bool Erase) {
    if (!FParent || !FVisible) return;
    TRect P{R.Left + FLeft, R.Top + FTop, R.Right + FLeft, R.Bottom + FTop};
    const TRect B = GetBoundsRect();
    P = rects::Intersect(P, B);
    if (!P.IsEmpty()) FParent->InvalidateClient(P, Erase && !FControlStyle.Contains(csOpaque));
}

void TControl::Invalidate() {
    InvalidateControlRect(Rect(0, 0, FWidth, FHeight), true);
}

void TControl::Update() {
    if (FParent) FParent->Update();
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

// --- messages ----------------------------------------------------------------

std::intptr_t TControl::Perform(unsigned Msg, std::intptr_t WParam, std::intptr_t LParam) {
    TMessage Message{Msg, WParam, LParam, 0};
    WndProc(Message);
    return Message.Result;
}

void TControl::WndProc(TMessage& Message) {
    // Mouse presses on a disabled control go nowhere.
    if (Message.Msg >= WM_MOUSEMOVE && Message.Msg <= WM_MBUTTONDBLCLK && !GetEnabled()) return;
    Dispatch(Message);
}

void TControl::DoMouseDownMessage(TMessage& Message, TMouseButton Button, TShiftState Shift) {
    const TPoint P = LParamToPoint(Message.LParam);
    MouseDown(Button, KeysToShiftState(static_cast<unsigned>(Message.WParam)) + Shift, P.X, P.Y);
}

void TControl::DoMouseUpMessage(TMessage& Message, TMouseButton Button) {
    const TPoint P = LParamToPoint(Message.LParam);
    MouseUp(Button, KeysToShiftState(static_cast<unsigned>(Message.WParam)), P.X, P.Y);
}

void TControl::SendCancelMode() {
    // Another control keeping the mouse gives it up when this one is pressed.
    TControl* Capture = GetCaptureControl();
    if (Capture && Capture != this) Capture->Perform(WM_CANCELMODE);
}

void TControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const TMouseButton B = Message.Msg == WM_LBUTTONDOWN   ? mbLeft
                               : Message.Msg == WM_RBUTTONDOWN ? mbRight
                                                               : mbMiddle;
        SendCancelMode();
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (B == mbLeft) {
            if (FControlStyle.Contains(csClickEvents))
                FControlState.Include(TControlStateFlag::csClicked);
            if (FDragMode == dmAutomatic && !IsDesigning()) {
                BeginDrag(false);
                FControlState.Include(TControlStateFlag::csLButtonDown);
            }
        }
        DoMouseDownMessage(Message, B, {});
        return;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        const TMouseButton B = Message.Msg == WM_LBUTTONDBLCLK   ? mbLeft
                               : Message.Msg == WM_RBUTTONDBLCLK ? mbRight
                                                                 : mbMiddle;
        SendCancelMode();
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(true);
        if (B == mbLeft && FControlStyle.Contains(csClickEvents)) DblClick();
        DoMouseDownMessage(Message, B, TShiftState{ssDouble});
        return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const TMouseButton B = Message.Msg == WM_LBUTTONUP   ? mbLeft
                               : Message.Msg == WM_RBUTTONUP ? mbRight
                                                             : mbMiddle;
        if (FControlStyle.Contains(csCaptureMouse)) SetMouseCapture(false);
        if (B == mbLeft) {
            FControlState.Exclude(TControlStateFlag::csLButtonDown);
            if (FControlState.Contains(TControlStateFlag::csClicked)) {
                FControlState.Exclude(TControlStateFlag::csClicked);
                if (GetClientRect().Contains(LParamToPoint(Message.LParam))) Click();
            }
        }
        DoMouseUpMessage(Message, B);
        return;
    }
    case WM_MOUSEMOVE: {
        const TPoint P = LParamToPoint(Message.LParam);
        MouseMove(KeysToShiftState(static_cast<unsigned>(Message.WParam)), P.X, P.Y);
        return;
    }
    case WM_MOUSEWHEEL:
        WMMouseWheel(Message);
        return;
    case WM_CANCELMODE:
        if (GetMouseCapture()) SetMouseCapture(false);
        FControlState.Exclude(TControlStateFlag::csClicked);
        return;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(Message);
        return;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(Message);
        return;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(Message);
        return;
    case CM_PARENTBIDIMODECHANGED:
        CMParentBiDiModeChanged(Message);
        return;
    case CM_DRAG:
        TDragManager::HandleDragMessage(this, Message);
        return;
    default:
        TComponent::Dispatch(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETTEXT:
        if (Message.LParam) SetText(*reinterpret_cast<const String*>(Message.LParam));
        Message.Result = 1;
        return;
    case WM_GETTEXT:
        if (Message.LParam) *reinterpret_cast<String*>(Message.LParam) = FText;
        Message.Result = static_cast<std::intptr_t>(FText.size());
        return;
    default:
        break;
    }
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
    if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::WMMouseWheel(TMessage& Message) {
    const TShiftState Shift = KeysToShiftState(GET_KEYSTATE_WPARAM(Message.WParam));
    const int Delta = GET_WHEEL_DELTA_WPARAM(Message.WParam);
    const TPoint Pos = LParamToPoint(Message.LParam);
    if (DoMouseWheel(Shift, Delta, Pos)) {
        Message.Result = 1;
        return;
    }
    // Unhandled wheel turns go up to the parent, as the platform does.
    if (FParent) Message.Result = FParent->Perform(WM_MOUSEWHEEL, Message.WParam, Message.LParam);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, Handled);
    if (!Handled) {
        if (WheelDelta < 0)
            Handled = DoMouseWheelDown(Shift, MousePos);
        else if (WheelDelta > 0)
            Handled = DoMouseWheelUp(Shift, MousePos);
    }
    return Handled;
}

bool TControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelDown) OnMouseWheelDown(this, Shift, MousePos, Handled);
    return Handled;
}

bool TControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    bool Handled = false;
    if (OnMouseWheelUp) OnMouseWheelUp(this, Shift, MousePos, Handled);
    return Handled;
}

// --- capture -----------------------------------------------------------------

bool TControl::GetMouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool Value) {
    if (Value == GetMouseCapture()) return;
    SetCaptureControl(Value ? this : nullptr);
}

// --- drag and drop -----------------------------------------------------------

void TControl::BeginDrag(bool Immediate, int Threshold) {
    if (FDragKind != dkDrag) return;
    if (Threshold < 0) Threshold = Mouse->GetDragThreshold();
    TDragManager::BeginDrag(this, Immediate, Threshold);
}

void TControl::EndDrag(bool Drop) {
    if (Dragging()) TDragManager::EndDrag(Drop);
}

bool TControl::Dragging() const {
    return TDragManager::DragControl() == this;
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
    if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, int X, int Y) {
    if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    Accept = false;
    if (OnDragOver) {
        Accept = true;
        OnDragOver(this, Source, X, Y, State, Accept);
    }
}

void TControl::DragDrop(TObject* Source, int X, int Y) {
    if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

} // namespace folio
