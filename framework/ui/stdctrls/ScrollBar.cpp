#include "framework/ui/stdctrls/ScrollBar.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

namespace {
const std::vector<String>& KindNames() {
    static const std::vector<String> Names{"sbHorizontal", "sbVertical"};
    return Names;
}
// A held arrow or track first waits, then repeats quicker.
constexpr unsigned RepeatTimer = 1;
constexpr unsigned FirstRepeatDelay = 350;
constexpr unsigned RepeatDelay = 50;
constexpr int MinThumbLength = 8;
} // namespace

const TClassInfo& TScrollBar::StaticClassInfo() {
    using C = TScrollBar;
    static const TClassInfo Info =
        TClassBuilder<C>("TScrollBar", &TCustomControl::StaticClassInfo())
            .Enum("Kind", "TScrollBarKind", KindNames(), &C::GetKind, &C::SetKind, sbHorizontal)
            .Int("LargeChange", &C::GetLargeChange, &C::SetLargeChange, 1)
            .Int("Max", &C::GetMax, &C::SetMax, 100)
            .Int("Min", &C::GetMin, &C::SetMin, 0)
            .Int("PageSize", &C::GetPageSize, &C::SetPageSize, 0)
            .Int("Position", &C::GetPosition, &C::SetPosition, 0)
            .Int("SmallChange", &C::GetSmallChange, &C::SetSmallChange, 1)
            .Event("OnChange", &C::OnChange)
            .Event("OnScroll", &C::OnScroll)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Ctl3D", "ParentCtl3D", "TabOrder", "TabStop"})
            .Creatable()
            .Build();
    return Info;
}

TScrollBar::TScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csOpaque});
    SetBounds(GetLeft(), GetTop(), 121, GetSystemMetrics(SM_CYHSCROLL));
    SetColor(clScrollBar);
}

// --- properties ----------------------------------------------------------------------------------

void TScrollBar::SetKind(TScrollBarKind Value) {
    if (Value == FKind) return;
    FKind = Value;
    // A bar turned on its side keeps its place and swaps width and height.
    if (!IsLoading()) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    Invalidate();
}

void TScrollBar::SetPageSize(int Value) {
    Value = std::clamp(Value, 0, std::max(FMax - FMin + 1, 0));
    if (Value == FPageSize) return;
    FPageSize = Value;
    SetParams(FPosition, FMin, FMax);
    Invalidate();
}

int TScrollBar::MaxPosition() const {
    return std::max(FMin, FMax - std::max(FPageSize - 1, 0));
}

void TScrollBar::SetParams(int APosition, int AMin, int AMax) {
    if (AMax < AMin) AMax = AMin;
    const bool RangeChanged = AMin != FMin || AMax != FMax;
    FMin = AMin;
    FMax = AMax;
    if (FPageSize > FMax - FMin + 1) FPageSize = FMax - FMin + 1;
    APosition = std::clamp(APosition, FMin, MaxPosition());
    const bool Moved = APosition != FPosition;
    FPosition = APosition;
    if (RangeChanged || Moved) Invalidate();
    if (Moved && OnChange) OnChange(this);
}

// --- geometry ----------------------------------------------------------------------------------

int TScrollBar::Length() const {
    return FKind == sbVertical ? GetClientHeight() : GetClientWidth();
}

int TScrollBar::Thickness() const {
    return FKind == sbVertical ? GetClientWidth() : GetClientHeight();
}

int TScrollBar::ArrowLength() const {
    return std::min(Thickness(), Length() / 2);
}

int TScrollBar::TrackLength() const {
    return std::max(Length() - 2 * ArrowLength(), 0);
}

int TScrollBar::ThumbLength() const {
    const int Track = TrackLength();
    if (!GetEnabled() || FMax <= FMin || Track < MinThumbLength) return 0;
    if (FPageSize <= 0) return std::min(Thickness(), Track);
    const long long Range = static_cast<long long>(FMax) - FMin + 1;
    return std::clamp(static_cast<int>(Track * FPageSize / Range), MinThumbLength, Track);
}

TRect TScrollBar::Span(int Start, int End) const {
    if (FKind == sbVertical) return Rect(0, Start, GetClientWidth(), End);
    return Rect(Start, 0, End, GetClientHeight());
}

TRect TScrollBar::ThumbRect() const {
    const int Thumb = ThumbLength();
    if (Thumb == 0) return TRect{};
    const int Free = TrackLength() - Thumb;
    const int Steps = MaxPosition() - FMin;
    const int Offset =
        Steps > 0 ? static_cast<int>(static_cast<long long>(FPosition - FMin) * Free / Steps) : 0;
    const int Start = ArrowLength() + Offset;
    return Span(Start, Start + Thumb);
}

TScrollBarPart TScrollBar::PartAt(TPoint P) const {
    if (!GetClientRect().Contains(P)) return sbpNone;
    const int At = FKind == sbVertical ? P.Y : P.X;
    const int Arrow = ArrowLength();
    if (At < Arrow) return sbpLineUp;
    if (At >= Length() - Arrow) return sbpLineDown;
    const TRect Thumb = ThumbRect();
    if (Thumb.IsEmpty()) return sbpNone;
    const int ThumbStart = FKind == sbVertical ? Thumb.Top : Thumb.Left;
    const int ThumbEnd = FKind == sbVertical ? Thumb.Bottom : Thumb.Right;
    if (At < ThumbStart) return sbpPageUp;
    if (At >= ThumbEnd) return sbpPageDown;
    return sbpThumb;
}

// --- painting ----------------------------------------------------------------------------------

void TScrollBar::Paint() {
    TCanvas* Canvas = GetCanvas();
    const int Arrow = ArrowLength();
    const bool Active = GetEnabled() && FMax > FMin;
    const unsigned Inactive = Active ? 0u : unsigned(DFCS_INACTIVE);
    auto Pushed = [&](TScrollBarPart Part) {
        return FHeld == Part && FHeldInside ? unsigned(DFCS_PUSHED | DFCS_FLAT) : 0u;
    };
    TRect Up = Span(0, Arrow), Down = Span(Length() - Arrow, Length());
    DrawFrameControl(Canvas, Up, DFC_SCROLL,
                     (FKind == sbVertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | Inactive |
                         Pushed(sbpLineUp));
    DrawFrameControl(Canvas, Down, DFC_SCROLL,
                     (FKind == sbVertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | Inactive |
                         Pushed(sbpLineDown));
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    const TRect Track = Span(Arrow, Length() - Arrow);
    Canvas->FillRect(Track);
    TRect Thumb = ThumbRect();
    if (Thumb.IsEmpty()) return;
    // A held track part darkens until the thumb reaches the pointer.
    if ((FHeld == sbpPageUp || FHeld == sbpPageDown) && FHeldInside) {
        Brush->SetColor(clWindowFrame);
        const int Edge = FKind == sbVertical ? (FHeld == sbpPageUp ? Thumb.Top : Thumb.Bottom)
                                             : (FHeld == sbpPageUp ? Thumb.Left : Thumb.Right);
        Canvas->FillRect(FHeld == sbpPageUp ? Span(Arrow, Edge) : Span(Edge, Length() - Arrow));
    }
    DrawEdge(Canvas, Thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

// --- input -------------------------------------------------------------------------------------

void TScrollBar::Scroll(TScrollCode Code, int& ScrollPos) {
    if (OnScroll) OnScroll(this, Code, ScrollPos);
}

void TScrollBar::ScrollTo(TScrollCode Code, int Pos) {
    Pos = std::clamp(Pos, FMin, MaxPosition());
    Scroll(Code, Pos);
    SetPosition(Pos);
}

void TScrollBar::StepHeldPart() {
    const int Page = std::max(FPageSize > 0 ? FPageSize : FLargeChange, 1);
    switch (FHeld) {
    case sbpLineUp:
        ScrollTo(scLineUp, FPosition - FSmallChange);
        break;
    case sbpLineDown:
        ScrollTo(scLineDown, FPosition + FSmallChange);
        break;
    case sbpPageUp:
    case sbpPageDown:
        // The track pages until the thumb reaches the pointer.
        if (PartAt(FPointer) != FHeld) return;
        ScrollTo(FHeld == sbpPageUp ? scPageUp : scPageDown,
                 FPosition + (FHeld == sbpPageUp ? -Page : Page));
        break;
    default:
        break;
    }
}

void TScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || FMax <= FMin) return;
    if (GetTabStop() && CanFocus()) SetFocus();
    FPointer = Point(X, Y);
    FHeld = PartAt(FPointer);
    FHeldInside = true;
    if (FHeld == sbpThumb) {
        const TRect T = ThumbRect();
        FDragOffset = FKind == sbVertical ? Y - T.Top : X - T.Left;
    } else if (FHeld != sbpNone) {
        StepHeldPart();
        SetTimer(GetHandle(), RepeatTimer, FirstRepeatDelay);
    }
    Invalidate();
}

void TScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (FHeld == sbpNone) return;
    FPointer = Point(X, Y);
    if (FHeld == sbpThumb) {
        const int Free = TrackLength() - ThumbLength();
        const int At = (FKind == sbVertical ? Y : X) - FDragOffset - ArrowLength();
        const int Steps = MaxPosition() - FMin;
        if (Free > 0) {
            const int Pos =
                FMin +
                static_cast<int>(
                    (static_cast<long long>(std::clamp(At, 0, Free)) * Steps + Free / 2) / Free);
            if (Pos != FPosition) ScrollTo(scTrack, Pos);
        }
        return;
    }
    const bool Inside =
        PartAt(FPointer) == FHeld ||
        ((FHeld == sbpPageUp || FHeld == sbpPageDown) && GetClientRect().Contains(FPointer));
    if (Inside != FHeldInside) {
        FHeldInside = Inside;
        Invalidate();
    }
}

void TScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && FHeld != sbpNone) {
        const bool Dragged = FHeld == sbpThumb;
        StopHolding();
        int Pos = FPosition;
        if (Dragged) Scroll(scPosition, Pos);
        Scroll(scEndScroll, Pos);
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TScrollBar::StopHolding() {
    if (FHeld == sbpNone) return;
    FHeld = sbpNone;
    if (HandleAllocated()) KillTimer(GetHandle(), RepeatTimer);
    Invalidate();
}

void TScrollBar::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const int Page = std::max(FPageSize > 0 ? FPageSize : FLargeChange, 1);
    switch (Key) {
    case VK_UP:
    case VK_LEFT:
        ScrollTo(scLineUp, FPosition - FSmallChange);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        ScrollTo(scLineDown, FPosition + FSmallChange);
        break;
    case VK_PRIOR:
        ScrollTo(scPageUp, FPosition - Page);
        break;
    case VK_NEXT:
        ScrollTo(scPageDown, FPosition + Page);
        break;
    case VK_HOME:
        ScrollTo(scTop, FMin);
        break;
    case VK_END:
        ScrollTo(scBottom, MaxPosition());
        break;
    default:
        return;
    }
    Key = 0;
}

void TScrollBar::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_TIMER:
        if (Message.WParam == RepeatTimer) {
            SetTimer(GetHandle(), RepeatTimer, RepeatDelay);
            if (FHeldInside) StepHeldPart();
            return;
        }
        break;
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        return;
    case WM_CANCELMODE:
        StopHolding();
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TScrollBar)

} // namespace folio
