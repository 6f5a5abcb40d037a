#include "framework/ui/extctrls/SpeedButton.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/gfx/ImageList.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/controls/WinControl.h"
#include "framework/ui/paint/ControlPaint.h"

namespace folio {

namespace {

// A speed button that stays down is a toggle button, pressed while down.
class TSpeedButtonAccessible : public TControlAccessible {
public:
    explicit TSpeedButtonAccessible(TControl* C)
        : TControlAccessible(C, static_cast<TSpeedButton*>(C)->GetGroupIndex() != 0
                                    ? TAccRole::ToggleButton
                                    : TAccRole::PushButton) {}
    unsigned GetStates() const override {
        const auto* B = static_cast<const TSpeedButton*>(FControl);
        return TControlAccessible::GetStates() | (B->GetDown() ? asPressed : 0u);
    }
    std::vector<String> GetActions() const override { return {"press"}; }
    bool DoAction(const String& Action) override {
        if (Action != "press" || !FControl->GetEnabled()) return false;
        FControl->Click();
        return true;
    }
};

const TAccessibleRegistration
    SpeedButtonAccessible(TSpeedButton::StaticClassInfo(),
                          [](TControl* C) -> std::unique_ptr<TAccessible> {
                              return std::make_unique<TSpeedButtonAccessible>(C);
                          });

} // namespace

const TClassInfo& TSpeedButton::StaticClassInfo() {
    using C = TSpeedButton;
    static const TClassInfo Info =
        TClassBuilder<C>("TSpeedButton", &TGraphicControl::StaticClassInfo())
            .Bool("AllowAllUp", &C::GetAllowAllUp, &C::SetAllowAllUp, false)
            .Int("GroupIndex", &C::GetGroupIndex, &C::SetGroupIndex, 0)
            .Bool("Down", &C::GetDown, &C::SetDown, false)
            .Bool("Flat", &C::GetFlat, &C::SetFlat, false)
            .Object("Glyph", &C::GetGlyph, &C::SetGlyph)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedMouseEvents)
            .Publish({"Caption", "Font", "ParentFont"})
            .Creatable()
            .Build();
    return Info;
}

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption, csOpaque});
    SetBounds(GetLeft(), GetTop(), 23, 22);
    SetColor(clBtnFace);
    FGlyph->OnChange = [this](TObject*) { GlyphChanged(); };
}

TSpeedButton::~TSpeedButton() {
    FGlyph->OnChange = nullptr;
}

// --- properties ----------------------------------------------------------------------------

void TSpeedButton::SetGroupIndex(int Value) {
    if (Value == FGroupIndex) return;
    FGroupIndex = Value;
    UpdateGroup(true);
}

void TSpeedButton::SetDown(bool Value) {
    // A form may name Down before GroupIndex; Loaded checks the pair.
    if (FGroupIndex == 0 && !IsLoading()) Value = false;
    if (Value == FDown) return;
    // The last button of a group stays down unless all may be up.
    if (FDown && !Value && !FAllowAllUp && !IsLoading()) return;
    FDown = Value;
    Invalidate();
    if (Value) UpdateGroup(false);
}

void TSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    if (FGroupIndex == 0) FDown = false;
    if (FDown) UpdateGroup(false);
}

void TSpeedButton::SetAllowAllUp(bool Value) {
    if (Value == FAllowAllUp) return;
    FAllowAllUp = Value;
    UpdateGroup(true);
}

void TSpeedButton::SetFlat(bool Value) {
    if (Value == FFlat) return;
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetGlyph(TBitmap* Value) {
    FGlyph->Assign(Value);
}

void TSpeedButton::GlyphChanged() {
    FGlyphImage.reset();
    if (!FGlyph->GetEmpty()) {
        FGlyphImage = std::make_unique<TImageList>(nullptr);
        FGlyphImage->SetWidth(FGlyph->GetWidth());
        FGlyphImage->SetHeight(FGlyph->GetHeight());
        FGlyphImage->AddMasked(FGlyph.get(), clDefault);
    }
    Invalidate();
}

void TSpeedButton::UpdateGroup(bool ShareAllowAllUp) {
    TWinControl* Parent = GetParent();
    if (FGroupIndex == 0 || !Parent || IsLoading()) return;
    for (int I = 0; I < Parent->ControlCount(); ++I) {
        auto* Other = dynamic_cast<TSpeedButton*>(Parent->Controls(I));
        if (!Other || Other == this || Other->FGroupIndex != FGroupIndex) continue;
        if (ShareAllowAllUp) {
            Other->FAllowAllUp = FAllowAllUp;
        } else if (Other->FDown) {
            Other->FDown = false;
            Other->Invalidate();
        }
    }
}

void TSpeedButton::Click() {
    if (FGroupIndex != 0) SetDown(!FDown || !FAllowAllUp);
    TGraphicControl::Click();
}

// --- painting ---------------------------------------------------------------------------------

void TSpeedButton::Paint() {
    TCanvas* Canvas = GetCanvas();
    TRect R = GetClientRect();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    // A button that stays down shows a lighter face, as a checked one does.
    Brush->SetColor(FDown && !FPress.IsMouseDown() ? clBtnHighlight : GetColor());
    Canvas->FillRect(R);
    const bool ShowEdge = !FFlat || FHot || IsSunken();
    if (ShowEdge) {
        TRect Edge = R;
        if (FFlat)
            DrawEdge(Canvas, Edge, IsSunken() ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        else
            DrawEdge(Canvas, Edge, IsSunken() ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    // The glyph, then the caption beside it, centred together; sunk by a
    // pixel while down.
    const int Shift = IsSunken() ? 1 : 0;
    Canvas->SetFont(GetFont());
    TRect Text = R;
    const int Gap = ScalePixels(4);
    const int TextWidth = GetCaption().empty() ? 0 : Canvas->TextWidth(GetCaption());
    const int GlyphWidth = FGlyphImage ? FGlyphImage->GetWidth() : 0;
    const int Total = GlyphWidth + (GlyphWidth && TextWidth ? Gap : 0) + TextWidth;
    int X = (R.Width() - Total) / 2 + Shift;
    if (FGlyphImage) {
        const int Y = (R.Height() - FGlyphImage->GetHeight()) / 2 + Shift;
        FGlyphImage->Draw(Canvas, X, Y, 0, GetEnabled());
        X += GlyphWidth + Gap;
    }
    if (TextWidth == 0) return;
    Text = Rect(X, R.Top + Shift, R.Right, R.Bottom + Shift);
    DrawCaption(Canvas, GetCaption(), Text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, GetEnabled());
}

// --- input --------------------------------------------------------------------------------------

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && GetEnabled() && FPress.MouseDown()) Invalidate();
    TGraphicControl::MouseDown(Button, Shift, X, Y);
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y) {
    if (FollowPointer(*this, FPress, X, Y)) Invalidate();
    TGraphicControl::MouseMove(Shift, X, Y);
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // A held button looks down even with the pointer off it when it is
    // Down, so letting go always repaints.
    if (Button == mbLeft && FPress.IsMouseDown()) {
        FPress.MouseUp();
        Invalidate();
    }
    TGraphicControl::MouseUp(Button, Shift, X, Y);
}

void TSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FHot = Message.Msg == CM_MOUSEENTER;
        if (FFlat) Invalidate();
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

FOLIO_REGISTER_CLASS(TSpeedButton)

} // namespace folio
