#include "framework/ui/extctrls/ScrollBox.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/ScopeGuard.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/SystemMetrics.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/stdctrls/ScrollBar.h"

#include <algorithm>

namespace folio {

namespace {
// One wheel notch scrolls this many pixels.
constexpr int WheelStep = 40;

const TAccessibleRegistration ScrollBoxAccessible(TScrollBox::StaticClassInfo(),
                                                  [](TControl* C) -> std::unique_ptr<TAccessible> {
                                                      return std::make_unique<TControlAccessible>(
                                                          C, TAccRole::ScrollPane);
                                                  });
} // namespace

const TClassInfo& TScrollBox::StaticClassInfo() {
    using C = TScrollBox;
    static const TClassInfo Info =
        TClassBuilder<C>("TScrollBox", &TCustomControl::StaticClassInfo())
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedMouseEvents)
            .Publish({"Align", "Ctl3D", "Font", "ParentColor", "ParentCtl3D", "ParentFont",
                      "TabOrder", "TabStop", "OnResize"})
            .Publish("Color", clBtnFace)
            .Creatable()
            .Build();
    return Info;
}

TScrollBox::TScrollBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetColor(clBtnFace);
    auto MakeBar = [this](TScrollBarKind Kind) {
        auto Bar = std::make_unique<TScrollBar>(nullptr);
        Bar->SetKind(Kind);
        Bar->SetVisible(false);
        Bar->SetParent(this);
        Bar->OnChange = [this](TObject*) {
            if (!FUpdating) ScrollTo(FHorz->GetPosition(), FVert->GetPosition());
        };
        return Bar;
    };
    FHorz = MakeBar(sbHorizontal);
    FVert = MakeBar(sbVertical);
    SetBounds(GetLeft(), GetTop(), 185, 41);
}

TScrollBox::~TScrollBox() {
    FHorz.reset();
    FVert.reset();
}

bool TScrollBox::IsBar(const TControl* C) const {
    return C == FHorz.get() || C == FVert.get();
}

TSize TScrollBox::GetRange() const {
    TSize Range{0, 0};
    for (int I = 0; I < ControlCount(); ++I) {
        const TControl* C = Controls(I);
        if (IsBar(C) || !C->GetVisible()) continue;
        Range.cx = std::max(Range.cx, C->GetLeft() + C->GetWidth() + FScroll.X);
        Range.cy = std::max(Range.cy, C->GetTop() + C->GetHeight() + FScroll.Y);
    }
    return Range;
}

TRect TScrollBox::GetViewRect() const {
    TRect R = GetClientRect();
    if (FVert->GetVisible()) R.Right -= FVert->GetWidth();
    if (FHorz->GetVisible()) R.Bottom -= FHorz->GetHeight();
    return R;
}

void TScrollBox::ScrollTo(int X, int Y) {
    const TSize Range = GetRange();
    const TRect View = GetViewRect();
    X = std::clamp(X, 0, std::max(Range.cx - View.Width(), 0));
    Y = std::clamp(Y, 0, std::max(Range.cy - View.Height(), 0));
    const int DX = FScroll.X - X, DY = FScroll.Y - Y;
    if (DX == 0 && DY == 0) return;
    FScroll = Point(X, Y);
    {
        TTemporaryChange<bool> Updating(FUpdating, true);
        for (int I = 0; I < ControlCount(); ++I) {
            TControl* C = Controls(I);
            if (!IsBar(C))
                C->SetBounds(C->GetLeft() + DX, C->GetTop() + DY, C->GetWidth(), C->GetHeight());
        }
        FHorz->SetPosition(X);
        FVert->SetPosition(Y);
    }
    Invalidate();
}

void TScrollBox::UpdateScrollBars() {
    // Children come and go while the box is made and freed.
    if (FUpdating || !FHorz || !FVert) return;
    {
        TTemporaryChange<bool> Updating(FUpdating, true);
        const TSize Range = GetRange();
        const int W = GetClientWidth(), H = GetClientHeight();
        const int Thick = GetSystemMetrics(SM_CXVSCROLL);
        // A bar on one side takes room that may call for the other.
        bool Horz = Range.cx > W, Vert = Range.cy > H;
        Vert = Vert || (Horz && Range.cy > H - Thick);
        Horz = Horz || (Vert && Range.cx > W - Thick);
        const int ViewW = W - (Vert ? Thick : 0), ViewH = H - (Horz ? Thick : 0);
        FHorz->SetVisible(Horz);
        FVert->SetVisible(Vert);
        FHorz->SetBounds(0, H - Thick, std::max(ViewW, 0), Thick);
        FVert->SetBounds(W - Thick, 0, Thick, std::max(ViewH, 0));
        FHorz->SetParams(FScroll.X, 0, std::max(Range.cx - 1, 0));
        FHorz->SetPageSize(std::max(ViewW, 1));
        FHorz->SetLargeChange(std::max(ViewW, 1));
        FHorz->SetSmallChange(8);
        FVert->SetParams(FScroll.Y, 0, std::max(Range.cy - 1, 0));
        FVert->SetPageSize(std::max(ViewH, 1));
        FVert->SetLargeChange(std::max(ViewH, 1));
        FVert->SetSmallChange(8);
        FHorz->BringToFront();
        FVert->BringToFront();
    }
    // A box grown past its children scrolls back as far as it can.
    ScrollTo(FScroll.X, FScroll.Y);
}

void TScrollBox::AlignControls(TControl* AControl, TRect& Rect) {
    TCustomControl::AlignControls(AControl, Rect);
    UpdateScrollBars();
}

void TScrollBox::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

void TScrollBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_CHILDBOUNDSCHANGED || Message.Msg == CM_CONTROLLISTCHANGE)
        UpdateScrollBars();
    TCustomControl::Dispatch(Message);
}

bool TScrollBox::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
    const int Step = WheelDelta / 120 * WheelStep;
    if (Shift.Contains(ssShift))
        ScrollTo(FScroll.X - Step, FScroll.Y);
    else
        ScrollTo(FScroll.X, FScroll.Y - Step);
    return true;
}

FOLIO_REGISTER_CLASS(TScrollBox)

} // namespace folio
