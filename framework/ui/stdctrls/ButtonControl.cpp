#include "framework/ui/stdctrls/ButtonControl.h"

#include "framework/core/ClassBuilder.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/input/Accelerators.h"
#include "framework/ui/input/VirtualKeys.h"

#include <algorithm>

namespace folio {

namespace {
const std::vector<String>& AlignmentNames() {
    static const std::vector<String> Names{"taLeftJustify", "taRightJustify", "taCenter"};
    return Names;
}
} // namespace

const TClassInfo& TButtonControl::StaticClassInfo() {
    using C = TButtonControl;
    // Declared here, published by each kind of button.
    static const TClassInfo Info =
        TClassBuilder<C>("TButtonControl", &TCustomControl::StaticClassInfo())
            .Enum("Alignment", "TLeftRight", AlignmentNames(), &C::GetAlignment, &C::SetAlignment,
                  taRightJustify)
            .Unpublished()
            .Build();
    return Info;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csOpaque});
    SetTabStop(true);
    SetColor(clBtnFace);
}

void TButtonControl::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TButtonControl::PressChanged(bool Changed) {
    if (Changed) InvalidateRect(MarkRect(), false);
}

// --- geometry ----------------------------------------------------------------------------

bool TButtonControl::MarkOnRight() const {
    // Right-to-left alignment mirrors the sides.
    return (FAlignment == taLeftJustify) != UseRightToLeftAlignment();
}

TRect TButtonControl::MarkRect() const {
    const int Size = MarkSize();
    const int Top = (GetClientHeight() - Size) / 2;
    const int Left = MarkOnRight() ? GetClientWidth() - Size : 0;
    return Bounds(Left, Top, Size, Size);
}

TRect TButtonControl::CaptionRect() const {
    const int Gap = MarkSize() + ScalePixels(4);
    if (MarkOnRight()) return Rect(0, 0, GetClientWidth() - Gap, GetClientHeight());
    return Rect(Gap, 0, GetClientWidth(), GetClientHeight());
}

// --- painting ----------------------------------------------------------------------------

void TButtonControl::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    DrawMark(Canvas, MarkRect(), GetMarkLook());
    Canvas->SetFont(GetFont());
    const unsigned Flags = DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    const TRect Area = CaptionRect();
    DrawCaption(Canvas, GetCaption(), Area, Flags, GetEnabled());
    if (!Focused() || GetCaption().empty()) return;
    // The focus rectangle hugs the caption's text.
    TRect Text = Area;
    DrawText(Canvas, GetCaption(), Text, Flags | DT_CALCRECT);
    const int Top = Area.Top + (Area.Height() - Text.Height()) / 2;
    TRect Focus =
        Rect(Text.Left - 1, Top - 1, std::min(Text.Right + 1, Area.Right), Top + Text.Height() + 1);
    if (UseRightToLeftAlignment())
        Focus = Rect(Area.Right - Focus.Width(), Focus.Top, Area.Right, Focus.Bottom);
    Canvas->DrawFocusRect(Focus);
}

// --- input -------------------------------------------------------------------------------

void TButtonControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    PressChanged(HoldOnMouseDown(*this, FPress, Button));
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TButtonControl::MouseMove(TShiftState Shift, int X, int Y) {
    PressChanged(FollowPointer(*this, FPress, X, Y));
    TCustomControl::MouseMove(Shift, X, Y);
}

void TButtonControl::KeyDown(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE) PressChanged(FPress.SpaceDown());
}

void TButtonControl::KeyUp(unsigned short& Key, TShiftState Shift) {
    TCustomControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FPress.IsSpaceDown()) {
        PressChanged(FPress.SpaceUp());
        Click();
    }
}

void TButtonControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONUP:
        PressChanged(FPress.MouseUp());
        break;
    case WM_CANCELMODE:
    case WM_KILLFOCUS:
    case WM_SETFOCUS:
        if (Message.Msg != WM_SETFOCUS) PressChanged(FPress.Cancel());
        InvalidateRect(CaptionRect(), true);
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<unsigned>(Message.WParam), GetCaption()) && CanFocus()) {
            SetFocus();
            Click();
            Message.Result = 1;
        }
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(Message);
}

} // namespace folio
