#include "framework/ui/comctrls/TrackBar.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/ui/controls/ArrowKeyFocus.h"
#include "framework/ui/controls/RangeAccessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/VirtualKeys.h"

#include <climits>

namespace folio {

namespace {
const std::vector<String>& OrientationNames() {
    static const std::vector<String> Names{"trHorizontal", "trVertical"};
    return Names;
}
// Painting more ticks than pixels shows nothing more.
constexpr int MaxTicks = 4096;
// A track bar is a slider the user may set.
const TAccessibleRegistration TTrackBarAccessible(TTrackBar::StaticClassInfo(), [](TControl* C) {
    return TRangeAccessible<TTrackBar, &TTrackBar::GetMin, &TTrackBar::GetMax,
                            &TTrackBar::GetPosition,
                            &TTrackBar::SetPosition>::Create(C, TAccRole::Slider);
});
} // namespace

const TClassInfo& TTrackBar::StaticClassInfo() {
    using C = TTrackBar;
    static const TClassInfo Info =
        TClassBuilder<C>("TTrackBar", &TCustomControl::StaticClassInfo())
            .Int("Frequency", &C::GetFrequency, &C::SetFrequency, 1)
            .Int("LineSize", &C::GetLineSize, &C::SetLineSize, 1)
            .Int("Max", &C::GetMax, &C::SetMax, 10)
            .Int("Min", &C::GetMin, &C::SetMin, 0)
            .Enum("Orientation", "TTrackBarOrientation", OrientationNames(), &C::GetOrientation,
                  &C::SetOrientation, trHorizontal)
            .Int("PageSize", &C::GetPageSize, &C::SetPageSize, 2)
            .Int("Position", &C::GetPosition, &C::SetPosition, 0)
            .Event("OnChange", &C::OnChange)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Ctl3D", "ParentCtl3D", "TabOrder"})
            .Publish("TabStop", 1)
            .Creatable()
            .Build();
    return Info;
}

TTrackBar::TTrackBar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csOpaque});
    SetBounds(GetLeft(), GetTop(), 150, 45);
    SetTabStop(true);
    SetColor(clBtnFace);
}

// --- properties --------------------------------------------------------------------------------

void TTrackBar::SetMin(int Value) {
    const int Was = FRange.Position;
    if (!FRange.SetMin(Value, IsLoading()) || IsLoading()) return;
    Invalidate();
    if (FRange.Position != Was && OnChange) OnChange(this);
}

void TTrackBar::SetMax(int Value) {
    const int Was = FRange.Position;
    if (!FRange.SetMax(Value, IsLoading()) || IsLoading()) return;
    Invalidate();
    if (FRange.Position != Was && OnChange) OnChange(this);
}

void TTrackBar::SetPosition(int Value) {
    const TRect Before = ThumbRect();
    if (!FRange.SetPosition(Value, IsLoading()) || IsLoading()) return;
    InvalidateRect(Before, true);
    InvalidateRect(ThumbRect(), true);
    if (OnChange) OnChange(this);
}

void TTrackBar::SetFrequency(int Value) {
    if (Value == FFrequency) return;
    FFrequency = Value;
    Invalidate();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (Value == FOrientation) return;
    FOrientation = Value;
    if (!IsLoading()) SetBounds(GetLeft(), GetTop(), GetHeight(), GetWidth());
    Invalidate();
}

void TTrackBar::Loaded() {
    TCustomControl::Loaded();
    FRange.Settle();
}

// --- geometry ----------------------------------------------------------------------------------

int TTrackBar::TrackStart() const {
    return ScalePixels(13);
}

int TTrackBar::TrackLength() const {
    const int Length = Vertical() ? GetClientHeight() : GetClientWidth();
    return std::max(Length - 2 * TrackStart(), 0);
}

TRect TTrackBar::ChannelRect() const {
    const int Start = TrackStart() - ScalePixels(3);
    const int End = TrackStart() + TrackLength() + ScalePixels(3);
    const int Near = ScalePixels(8), Far = ScalePixels(12);
    return Vertical() ? Rect(Near, Start, Far, End) : Rect(Start, Near, End, Far);
}

TRect TTrackBar::ThumbRect() const {
    const int Centre = TrackStart() + FRange.Offset(TrackLength());
    const int Half = ScalePixels(5), Top = ScalePixels(2), Bottom = ScalePixels(20);
    if (Vertical()) return Rect(Top, Centre - Half, Bottom, Centre + Half + 1);
    return Rect(Centre - Half, Top, Centre + Half + 1, Bottom);
}

int TTrackBar::TickAt(int Position) const {
    TRangeValue At = FRange;
    At.Position = std::clamp(Position, FRange.Min, FRange.Max);
    return TrackStart() + At.Offset(TrackLength());
}

// --- painting -----------------------------------------------------------------------------------

void TTrackBar::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    TRect Channel = ChannelRect();
    DrawEdge(Canvas, Channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    Brush->SetColor(GetEnabled() ? clWindow : clBtnFace);
    Canvas->FillRect(Channel);
    // The ticks: one every Frequency positions and always both ends.
    TPen* Pen = Canvas->GetPen();
    Pen->SetStyle(psSolid);
    Pen->SetWidth(0);
    Pen->SetColor(clBtnText);
    const int TickFrom = ScalePixels(23), TickTo = ScalePixels(27);
    auto Tick = [&](int At) {
        if (Vertical()) {
            Canvas->MoveTo(TickFrom, At);
            Canvas->LineTo(TickTo, At);
        } else {
            Canvas->MoveTo(At, TickFrom);
            Canvas->LineTo(At, TickTo);
        }
    };
    const long long Span = static_cast<long long>(FRange.Max) - FRange.Min;
    if (FFrequency > 0 && Span / FFrequency < MaxTicks)
        for (long long P = FRange.Min; P < FRange.Max; P += FFrequency) Tick(TickAt(int(P)));
    Tick(TickAt(FRange.Min));
    Tick(TickAt(FRange.Max));
    TRect Thumb = ThumbRect();
    DrawEdge(Canvas, Thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
    if (Focused()) {
        TRect Focus = GetClientRect();
        Canvas->DrawFocusRect(Focus);
    }
}

// --- input -------------------------------------------------------------------------------------

void TTrackBar::MoveTo(int Value) {
    SetPosition(std::clamp(Value, FRange.Min, FRange.Max));
}

void TTrackBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    if (GetTabStop() && CanFocus()) SetFocus();
    const TPoint P = Point(X, Y);
    const TRect Thumb = ThumbRect();
    if (Thumb.Contains(P)) {
        FDragging = true;
        const int Centre =
            Vertical() ? (Thumb.Top + Thumb.Bottom) / 2 : (Thumb.Left + Thumb.Right) / 2;
        FDragOffset = Along(P) - Centre;
        return;
    }
    // A press beside the thumb pages towards the pointer.
    const int Centre = TickAt(FRange.Position);
    MoveTo(FRange.Position + (Along(P) < Centre ? -FPageSize : FPageSize));
}

void TTrackBar::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (!FDragging) return;
    MoveTo(FRange.At(Along(Point(X, Y)) - FDragOffset - TrackStart(), TrackLength()));
}

void TTrackBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft) FDragging = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TTrackBar::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    const long long Here = FRange.Position;
    long long To = Here;
    switch (Key) {
    case VK_LEFT:
    case VK_UP:
        To = Here - FLineSize;
        break;
    case VK_RIGHT:
    case VK_DOWN:
        To = Here + FLineSize;
        break;
    case VK_PRIOR:
        To = Here - FPageSize;
        break;
    case VK_NEXT:
        To = Here + FPageSize;
        break;
    case VK_HOME:
        To = FRange.Min;
        break;
    case VK_END:
        To = FRange.Max;
        break;
    default:
        return;
    }
    Key = 0;
    MoveTo(static_cast<int>(std::clamp<long long>(To, INT_MIN, INT_MAX)));
}

void TTrackBar::Dispatch(TMessage& Message) {
    if (HandleArrowKeyFocus(*this, Message, DLGC_WANTARROWS, [this] { return GetClientRect(); }))
        return;
    if (Message.Msg == WM_CANCELMODE) FDragging = false;
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TTrackBar)

} // namespace folio
