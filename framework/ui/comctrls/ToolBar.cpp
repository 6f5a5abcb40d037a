#include "framework/ui/comctrls/ToolBar.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/ImageList.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/input/MouseFlags.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/paint/ControlPaint.h"

#include <algorithm>

namespace folio {

namespace {
const std::vector<String>& StyleNames() {
    static const std::vector<String> Names{"tbsButton", "tbsCheck", "tbsDropDown", "tbsSeparator",
                                           "tbsDivider"};
    return Names;
}
constexpr int SeparatorWidth = 8;
constexpr int ArrowWidth = 12;

class TToolButtonAccessible : public TControlAccessible {
public:
    explicit TToolButtonAccessible(TControl* C) : TControlAccessible(C, RoleOf(C)) {}
    unsigned GetStates() const override {
        return TControlAccessible::GetStates() | (Button()->GetDown() ? asPressed : 0u);
    }
    std::vector<String> GetActions() const override {
        if (Button()->IsSeparator()) return {};
        return {"press"};
    }
    bool DoAction(const String& Action) override {
        if (Action != "press" || Button()->IsSeparator() || !FControl->GetEnabled()) return false;
        FControl->Click();
        return true;
    }

private:
    const TToolButton* Button() const { return static_cast<const TToolButton*>(FControl); }
    static TAccRole RoleOf(TControl* C) {
        const auto* B = static_cast<const TToolButton*>(C);
        if (B->IsSeparator()) return TAccRole::Separator;
        return B->GetStyle() == tbsCheck ? TAccRole::ToggleButton : TAccRole::PushButton;
    }
};

const TAccessibleRegistration
    ToolButtonAccessible(TToolButton::StaticClassInfo(),
                         [](TControl* C) -> std::unique_ptr<TAccessible> {
                             return std::make_unique<TToolButtonAccessible>(C);
                         });
const TAccessibleRegistration
    ToolBarAccessible(TToolBar::StaticClassInfo(), [](TControl* C) -> std::unique_ptr<TAccessible> {
        return std::make_unique<TControlAccessible>(C, TAccRole::ToolBar);
    });
} // namespace

// --- the button -------------------------------------------------------------------------

const TClassInfo& TToolButton::StaticClassInfo() {
    using C = TToolButton;
    static const TClassInfo Info =
        TClassBuilder<C>("TToolButton", &TGraphicControl::StaticClassInfo())
            .Bool("AllowAllUp", &C::GetAllowAllUp, &C::SetAllowAllUp, false)
            .Component("DropdownMenu", &C::GetDropdownMenu, &C::SetDropdownMenu)
            .Bool("Grouped", &C::GetGrouped, &C::SetGrouped, false)
            .Int("ImageIndex", &C::GetImageIndex, &C::SetImageIndex, -1)
            .Enum("Style", "TToolButtonStyle", StyleNames(), &C::GetStyle, &C::SetStyle, tbsButton)
            .Bool("Down", &C::GetDown, &C::SetDown, false)
            .Publish(PublishedHintProperties)
            .Publish({"Caption", "Enabled", "Visible", "OnClick"})
            .Creatable()
            .Build();
    return Info;
}

TToolButton::TToolButton(TComponent* AOwner) : TGraphicControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csOpaque});
    SetBounds(GetLeft(), GetTop(), 23, 22);
}

TToolBar* TToolButton::GetToolBar() const {
    return dynamic_cast<TToolBar*>(GetParent());
}

void TToolButton::SetStyle(TToolButtonStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    if (FStyle != tbsCheck) FDown = false;
    RequestAlign();
    Invalidate();
}

void TToolButton::SetImageIndex(int Value) {
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Invalidate();
}

std::vector<TToolButton*> TToolButton::Group() const {
    TToolBar* Bar = GetToolBar();
    if (!Bar || !FGrouped || FStyle != tbsCheck) return {const_cast<TToolButton*>(this)};
    int Here = 0;
    while (Bar->GetButton(Here) != this) ++Here;
    auto InGroup = [&](int I) {
        const TToolButton* B = Bar->GetButton(I);
        return B && B->FGrouped && B->FStyle == tbsCheck;
    };
    int First = Here, Last = Here;
    while (First > 0 && InGroup(First - 1)) --First;
    while (InGroup(Last + 1)) ++Last;
    std::vector<TToolButton*> Buttons;
    for (int I = First; I <= Last; ++I) Buttons.push_back(Bar->GetButton(I));
    return Buttons;
}

void TToolButton::SetDown(bool Value) {
    // A form may name Down before Style; Loaded checks the pair.
    if (FStyle != tbsCheck && !IsLoading()) Value = false;
    if (Value == FDown) return;
    FDown = Value;
    Invalidate();
    if (!Value || IsLoading()) return;
    for (TToolButton* Other : Group())
        if (Other != this && Other->FDown) {
            Other->FDown = false;
            Other->Invalidate();
        }
}

void TToolButton::Loaded() {
    TGraphicControl::Loaded();
    if (FStyle != tbsCheck) FDown = false;
}

void TToolButton::SetDropdownMenu(TPopupMenu* Value) {
    if (Value == FDropdownMenu) return;
    if (FDropdownMenu) FDropdownMenu->RemoveFreeNotification(this);
    FDropdownMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TToolButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDropdownMenu) FDropdownMenu = nullptr;
}

void TToolButton::Click() {
    if (FStyle == tbsCheck) {
        // The last button down of a group stays down unless all may be up.
        const std::vector<TToolButton*> Buttons = Group();
        const bool Alone = Buttons.size() == 1;
        if (!FDown)
            SetDown(true);
        else if (Alone || FAllowAllUp)
            SetDown(false);
    }
    TGraphicControl::Click();
}

// --- geometry -------------------------------------------------------------------------------

TRect TToolButton::ArrowRect() const {
    if (FStyle != tbsDropDown) return TRect{};
    return Rect(GetWidth() - ScalePixels(ArrowWidth), 0, GetWidth(), GetHeight());
}

int TToolButton::PreferredWidth() const {
    if (IsSeparator()) return ScalePixels(SeparatorWidth);
    const TToolBar* Bar = GetToolBar();
    int Width = Bar ? ScalePixels(Bar->GetButtonWidth()) : GetWidth();
    if (Bar && Bar->GetShowCaptions() && !GetCaption().empty()) {
        TCanvas* Canvas = GetCanvas();
        Canvas->SetFont(GetFont());
        const int Text = Canvas->TextWidth(GetCaption());
        Width = std::max(Width, Text + ScalePixels(8));
    }
    if (FStyle == tbsDropDown) Width += ScalePixels(ArrowWidth);
    return Width;
}

// --- painting ----------------------------------------------------------------------------------

void TToolButton::Paint() {
    TCanvas* Canvas = GetCanvas();
    const TRect R = GetClientRect();
    const TToolBar* Bar = GetToolBar();
    if (IsSeparator()) {
        if (FStyle == tbsDivider)
            DrawEtchedLine(Canvas, Point(R.Width() / 2 - 1, 0), Point(R.Width() / 2 - 1, R.Bottom),
                           true);
        return;
    }
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(FDown && !FPress.IsMouseDown() ? clBtnHighlight : clBtnFace);
    Canvas->FillRect(R);
    const bool Flat = !Bar || Bar->GetFlat();
    const TRect Main = FStyle == tbsDropDown ? Rect(0, 0, ArrowRect().Left, R.Bottom) : R;
    if (!Flat || FHot || IsSunken()) {
        TRect Edge = Main;
        DrawEdge(Canvas, Edge, IsSunken() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        if (FStyle == tbsDropDown) {
            TRect Arrow = ArrowRect();
            DrawEdge(Canvas, Arrow, BDR_RAISEDINNER, BF_RECT);
        }
    }
    const int Shift = IsSunken() ? 1 : 0;
    const TImageList* Images = Bar ? Bar->GetImages() : nullptr;
    const bool Captions = Bar && Bar->GetShowCaptions() && !GetCaption().empty();
    int ImageBottom = Main.Top;
    if (Images && FImageIndex >= 0 && FImageIndex < Images->GetCount()) {
        const int X = (Main.Width() - Images->GetWidth()) / 2 + Shift;
        const int Y =
            Captions ? ScalePixels(3) + Shift : (Main.Height() - Images->GetHeight()) / 2 + Shift;
        Images->Draw(Canvas, X, Y, FImageIndex, GetEnabled());
        ImageBottom = Y + Images->GetHeight();
    }
    if (Captions) {
        Canvas->SetFont(GetFont());
        TRect Text = Rect(Main.Left + Shift, ImageBottom, Main.Right + Shift, Main.Bottom + Shift);
        DrawCaption(Canvas, GetCaption(), Text, DT_SINGLELINE | DT_CENTER | DT_VCENTER,
                    GetEnabled());
    }
    if (FStyle == tbsDropDown) {
        // A small arrow pointing down in the middle of its part.
        const TRect A = ArrowRect();
        const int CX = (A.Left + A.Right) / 2, CY = A.Height() / 2 - 1;
        TPen* Pen = Canvas->GetPen();
        Pen->SetWidth(0);
        Pen->SetColor(GetEnabled() ? clBtnText : clGrayText);
        for (int I = 0; I < 3; ++I) {
            Canvas->MoveTo(CX - 2 + I, CY + I);
            Canvas->LineTo(CX + 3 - I, CY + I);
        }
    }
}

// --- input
// ----------------------------------------------------------------------------------------

void TToolButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && GetEnabled() && !IsSeparator() && FPress.MouseDown()) Invalidate();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TToolButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (FollowPointer(*this, FPress, X, Y)) Invalidate();
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TToolButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A held button looks down even with the pointer off it when it is
    // Down, so letting go always repaints.
    if (Button == mbLeft && FPress.IsMouseDown()) {
        FPress.MouseUp();
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TToolButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
        // A press on the arrow opens the menu under the button at once and
        // is no press of the button: it neither holds nor clicks it.
        if (GetEnabled() && ArrowRect().Contains(LParamToPoint(Message.LParam))) {
            if (FDropdownMenu) {
                const TPoint Below = ClientToScreen(Point(0, GetHeight()));
                FDropdownMenu->Popup(Below.X, Below.Y);
            }
            return;
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FHot = Message.Msg == CM_MOUSEENTER && !IsSeparator();
        Invalidate();
        break;
    case WM_CANCELMODE:
        FPress.Cancel();
        Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}

FOLIO_REGISTER_CLASS(TToolButton)

// --- the bar
// --------------------------------------------------------------------------------------

const TClassInfo& TToolBar::StaticClassInfo() {
    using C = TToolBar;
    static const TClassInfo Info =
        TClassBuilder<C>("TToolBar", &TCustomControl::StaticClassInfo())
            .Int("ButtonHeight", &C::GetButtonHeight, &C::SetButtonHeight, 22)
            .Int("ButtonWidth", &C::GetButtonWidth, &C::SetButtonWidth, 23)
            .Bool("Flat", &C::GetFlat, &C::SetFlat, true)
            .Component("Images", &C::GetImages, &C::SetImages)
            .Bool("ShowCaptions", &C::GetShowCaptions, &C::SetShowCaptions, false)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish({"Font", "ParentColor", "ParentFont", "TabOrder", "OnResize"})
            .Publish("Color", clBtnFace)
            .Publish("Align", static_cast<long long>(alTop))
            .Creatable()
            .Build();
    return Info;
}

TToolBar::TToolBar(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetColor(clBtnFace);
    SetBounds(GetLeft(), GetTop(), 150, 29);
    SetAlign(alTop);
}

void TToolBar::LayoutChanged() {
    Realign();
    Invalidate();
}

void TToolBar::SetImages(TImageList* Value) {
    if (Value == FImages) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = Value;
    if (Value) Value->FreeNotification(this);
    Invalidate();
}

void TToolBar::SetButtonWidth(int Value) {
    Value = std::clamp(Value, 1, 1024);
    if (Value == FButtonWidth) return;
    FButtonWidth = Value;
    LayoutChanged();
}

void TToolBar::SetButtonHeight(int Value) {
    Value = std::clamp(Value, 1, 1024);
    if (Value == FButtonHeight) return;
    FButtonHeight = Value;
    LayoutChanged();
}

void TToolBar::SetFlat(bool Value) {
    if (Value == FFlat) return;
    FFlat = Value;
    Invalidate();
}

void TToolBar::SetShowCaptions(bool Value) {
    if (Value == FShowCaptions) return;
    FShowCaptions = Value;
    LayoutChanged();
}

void TToolBar::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

int TToolBar::ButtonCount() const {
    int Count = 0;
    for (int I = 0; I < ControlCount(); ++I)
        Count += dynamic_cast<TToolButton*>(Controls(I)) != nullptr;
    return Count;
}

TToolButton* TToolBar::GetButton(int Index) const {
    if (Index < 0) return nullptr;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* B = dynamic_cast<TToolButton*>(Controls(I)))
            if (Index-- == 0) return B;
    return nullptr;
}

void TToolBar::AlignControls(TControl* AControl, TRect& Rect) {
    TCustomControl::AlignControls(AControl, Rect);
    int X = ScalePixels(2);
    const int Top = ScalePixels(2);
    const int Height = ScalePixels(FButtonHeight) + (FShowCaptions ? ScalePixels(14) : 0);
    for (int I = 0; I < ControlCount(); ++I) {
        auto* B = dynamic_cast<TToolButton*>(Controls(I));
        if (!B || !B->GetVisible()) continue;
        const int Width = B->PreferredWidth();
        B->SetBounds(X, Top, Width, Height);
        X += Width;
    }
}

void TToolBar::Paint() {
    TCanvas* Canvas = GetCanvas();
    Canvas->GetBrush()->SetStyle(bsSolid);
    Canvas->GetBrush()->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
}

FOLIO_REGISTER_CLASS(TToolBar)

} // namespace folio
