#include "framework/ui/stdctrls/Label.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/paint/ControlPaint.h"

namespace folio {

namespace {
const std::vector<String>& AlignmentNames() {
    static const std::vector<String> Names{"taLeftJustify", "taRightJustify", "taCenter"};
    return Names;
}
const std::vector<String>& LayoutNames() {
    static const std::vector<String> Names{"tlTop", "tlCenter", "tlBottom"};
    return Names;
}
} // namespace

const TClassInfo& TLabel::StaticClassInfo() {
    using C = TLabel;
    static const TClassInfo Info =
        TClassBuilder<C>("TLabel", &TGraphicControl::StaticClassInfo())
            .Enum("Alignment", "TAlignment", AlignmentNames(), &C::GetAlignment, &C::SetAlignment,
                  taLeftJustify)
            .Bool("AutoSize", &C::GetAutoSize, &C::SetAutoSize, true)
            .Component("FocusControl", &C::GetFocusControl, &C::SetFocusControl)
            .Enum("Layout", "TTextLayout", LayoutNames(), &C::GetLayout, &C::SetLayout, tlTop)
            .Bool("ShowAccelChar", &C::GetShowAccelChar, &C::SetShowAccelChar, true)
            .Bool("Transparent", &C::GetTransparent, &C::SetTransparent, false)
            .Bool("WordWrap", &C::GetWordWrap, &C::SetWordWrap, false)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedDragProperties)
            .Publish(PublishedMouseEvents)
            .Publish({"Caption", "Color", "Cursor", "Font", "ParentFont"})
            .Publish("ParentColor", 1)
            .Creatable()
            .Build();
    return Info;
}

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle(
        {csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks, csReplicatable});
    SetParentColor(true);
    SetBounds(GetLeft(), GetTop(), 65, 17);
}

// --- properties --------------------------------------------------------------------------

void TLabel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout Value) {
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TLabel::SetAutoSize(bool Value) {
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetWordWrap(bool Value) {
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    // A transparent label paints only its text; the parent paints below it.
    TControlStyle Style = GetControlStyle();
    if (Value)
        Style.Exclude(csOpaque);
    else
        Style.Include(csOpaque);
    SetControlStyle(Style);
    Invalidate();
}

void TLabel::SetShowAccelChar(bool Value) {
    if (Value == FShowAccelChar) return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* Value) {
    if (Value == FFocusControl) return;
    if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value) Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

// --- geometry ----------------------------------------------------------------------------

unsigned TLabel::TextFlags() const {
    unsigned Flags = DT_EXPANDTABS;
    if (FWordWrap) Flags |= DT_WORDBREAK;
    if (!FShowAccelChar) Flags |= DT_NOPREFIX;
    if (FAlignment == taRightJustify) Flags |= DT_RIGHT;
    if (FAlignment == taCenter) Flags |= DT_CENTER;
    return DrawTextBiDiModeFlags(Flags);
}

void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    TCanvas* Canvas = GetCanvas();
    Canvas->SetFont(GetFont());
    // An empty caption keeps the height of one line.
    const String Text = GetCaption().empty() ? String(" ") : GetCaption();
    TRect R = Rect(0, 0, FWordWrap ? GetWidth() : 0, 0);
    DrawText(Canvas, Text, R, (TextFlags() & ~(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
    int Left = GetLeft();
    // A right-aligned label grows to the left, keeping its right edge.
    const bool RightEdge = (FAlignment == taRightJustify) != UseRightToLeftAlignment();
    if (RightEdge && !FWordWrap) Left += GetWidth() - R.Right;
    // Wrapped text keeps the width it was given.
    SetBounds(Left, GetTop(), FWordWrap ? GetWidth() : R.Right, R.Bottom);
}

// --- painting ------------------------------------------------------------------------------

void TLabel::Paint() {
    TCanvas* Canvas = GetCanvas();
    const TRect Client = GetClientRect();
    if (!FTransparent) {
        Canvas->GetBrush()->SetColor(GetColor());
        Canvas->GetBrush()->SetStyle(bsSolid);
        Canvas->FillRect(Client);
    }
    TRect R = Client;
    if (FLayout != tlTop) {
        // The text's height decides where a centred or bottom line starts.
        TRect Calc = Client;
        DrawText(Canvas, GetCaption(), Calc, TextFlags() | DT_CALCRECT);
        const int Free = Client.Height() - Calc.Height();
        R.Top += FLayout == tlBottom ? Free : Free / 2;
    }
    DrawCaption(Canvas, GetCaption(), R, TextFlags(), GetEnabled());
}

// --- messages ------------------------------------------------------------------------------

void TLabel::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_DIALOGCHAR) {
        if (FFocusControl && GetEnabled() && FShowAccelChar &&
            IsAccel(static_cast<unsigned>(Message.WParam), GetCaption()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            Message.Result = 1;
        }
        return;
    }
    TGraphicControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TLabel)

} // namespace folio
