#include "framework/ui/stdctrls/GroupBox.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/Rects.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/paint/ControlPaint.h"

namespace folio {

namespace {
// The caption starts this far from the frame's left end.
constexpr int CaptionIndent = 8;
} // namespace

const TClassInfo& TGroupBox::StaticClassInfo() {
    using C = TGroupBox;
    static const TClassInfo Info =
        TClassBuilder<C>("TGroupBox", &TCustomControl::StaticClassInfo())
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish(PublishedFocusEvents)
            .Publish({"Align", "Caption", "Color", "Ctl3D", "Font", "ParentCtl3D", "ParentFont",
                      "TabOrder", "TabStop"})
            .Publish("ParentColor", 1)
            .Creatable()
            .Build();
    return Info;
}

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                     csDoubleClicks, csReplicatable});
    SetParentColor(true);
    SetBounds(GetLeft(), GetTop(), 185, 105);
}

int TGroupBox::CaptionHeight() const {
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    return Canvas->TextHeight("0");
}

TRect TGroupBox::GetFrameRect() const {
    return Rect(0, CaptionHeight() / 2 - 1, GetWidth(), GetHeight());
}

TRect TGroupBox::GetInnerRect() const {
    TRect R = GetClientRect();
    R.Top += CaptionHeight();
    InflateRect(R, -1, -1);
    if (GetCtl3D()) InflateRect(R, -1, -1);
    return R;
}

void TGroupBox::AlignControls(TControl* AControl, TRect& Rect) {
    Rect = GetInnerRect();
    TCustomControl::AlignControls(AControl, Rect);
}

void TGroupBox::FontChanged() {
    TCustomControl::FontChanged();
    Realign();
}

void TGroupBox::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    TRect R = GetFrameRect();
    if (GetCtl3D()) {
        // The etched line: a highlight frame one pixel down and right of a
        // shadow frame, so each side shows a dark and a light line.
        TRect Light = Rect(R.Left + 1, R.Top + 1, R.Right, R.Bottom);
        Brush->SetColor(clBtnHighlight);
        Canvas->FrameRect(Light);
        R = Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1);
        Brush->SetColor(clBtnShadow);
    } else {
        Brush->SetColor(clWindowFrame);
    }
    Canvas->FrameRect(R);
    if (GetCaption().empty()) return;
    // The caption sits on the line in the box's colour.
    const unsigned Flags = DrawTextBiDiModeFlags(DT_SINGLELINE | DT_LEFT);
    TRect Text = Rect(CaptionIndent, 0, 0, CaptionHeight());
    DrawText(Canvas, GetCaption(), Text, Flags | DT_CALCRECT);
    if (UseRightToLeftAlignment())
        Text = Rect(GetWidth() - CaptionIndent - Text.Width(), Text.Top, GetWidth() - CaptionIndent,
                    Text.Bottom);
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(Text);
    DrawCaption(Canvas, GetCaption(), Text, Flags, GetEnabled());
}

void TGroupBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR &&
        IsAccel(static_cast<unsigned>(Message.WParam), GetCaption()) && CanFocus()) {
        // The accelerator moves into the box: its first control in tab order.
        if (TWinControl* First = FindNextControl(nullptr, true, true, false)) First->SetFocus();
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TGroupBox)

} // namespace folio
