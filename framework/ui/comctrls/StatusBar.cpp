#include "framework/ui/comctrls/StatusBar.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/gfx/Colors.h"
#include "framework/gfx/Edges.h"
#include "framework/gfx/FontEngine.h"
#include "framework/ui/controls/Accessible.h"
#include "framework/ui/controls/StdPublished.h"
#include "framework/ui/paint/ControlPaint.h"

#include <algorithm>

namespace folio {

namespace {
const std::vector<String>& AlignmentNames() {
    static const std::vector<String> Names{"taLeftJustify", "taRightJustify", "taCenter"};
    return Names;
}
// Panels stand this far apart, and their text this far inside them.
constexpr int PanelGap = 2;
constexpr int TextIndent = 3;

// A status bar reads as its panels' texts.
class TStatusBarAccessible : public TControlAccessible {
public:
    explicit TStatusBarAccessible(TControl* C) : TControlAccessible(C, TAccRole::StatusBar) {}
    String GetName() const override {
        const auto* Bar = static_cast<const TStatusBar*>(FControl);
        if (Bar->GetSimplePanel()) return Bar->GetSimpleText();
        String Name;
        for (int I = 0; I < Bar->GetPanels()->GetCount(); ++I) {
            const String& Text = Bar->GetPanels()->GetPanel(I)->GetText();
            if (Text.empty()) continue;
            if (!Name.empty()) Name += ", ";
            Name += Text;
        }
        return Name;
    }
};

const TAccessibleRegistration StatusBarAccessible(TStatusBar::StaticClassInfo(),
                                                  [](TControl* C) -> std::unique_ptr<TAccessible> {
                                                      return std::make_unique<TStatusBarAccessible>(
                                                          C);
                                                  });
} // namespace

// --- panels ----------------------------------------------------------------------------

const TClassInfo& TStatusPanel::StaticClassInfo() {
    using C = TStatusPanel;
    static const TClassInfo Info =
        TClassBuilder<C>("TStatusPanel", &TCollectionItem::StaticClassInfo())
            .Enum("Alignment", "TAlignment", AlignmentNames(), &C::GetAlignment, &C::SetAlignment,
                  taLeftJustify)
            .Str("Text", &C::GetText, &C::SetText)
            .Int("Width", &C::GetWidth, &C::SetWidth, 50)
            .Build();
    return Info;
}

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::SetText(const String& Value) {
    if (Value == FText) return;
    FText = Value;
    Changed();
}

void TStatusPanel::SetWidth(int Value) {
    Value = std::max(Value, 0);
    if (Value == FWidth) return;
    FWidth = Value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    if (Value == FAlignment) return;
    FAlignment = Value;
    Changed();
}

String TStatusPanel::GetDisplayName() const {
    return FText.empty() ? TCollectionItem::GetDisplayName() : FText;
}

FOLIO_DEFINE_CLASS(TStatusPanels, TCollection)

TStatusPanels::TStatusPanels(TStatusBar* Bar)
    : TCollection(Bar, TStatusPanel::StaticClassInfo(), MakeItemOf<TStatusPanel>()), FBar(Bar) {}

void TStatusPanels::Update(TCollectionItem* Item) {
    TCollection::Update(Item);
    const int Index = Item ? Item->GetIndex() : -1;
    if (Index >= 0 && !FBar->GetSimplePanel())
        FBar->InvalidateRect(FBar->PanelRect(Index), true);
    else
        FBar->Invalidate();
}

// --- the bar -------------------------------------------------------------------------------

const TClassInfo& TStatusBar::StaticClassInfo() {
    using C = TStatusBar;
    static const TClassInfo Info =
        TClassBuilder<C>("TStatusBar", &TCustomControl::StaticClassInfo())
            .Object("Panels", &C::GetPanels, &C::SetPanels)
            .Bool("SimplePanel", &C::GetSimplePanel, &C::SetSimplePanel, false)
            .Str("SimpleText", &C::GetSimpleText, &C::SetSimpleText)
            .Bool("SizeGrip", &C::GetSizeGrip, &C::SetSizeGrip, true)
            .Publish(PublishedControlBasics)
            .Publish(PublishedHintProperties)
            .Publish(PublishedMouseEvents)
            .Publish({"Font", "ParentFont", "OnResize"})
            .Publish("Align", static_cast<long long>(alBottom))
            .Creatable()
            .Build();
    return Info;
}

TStatusBar::TStatusBar(TComponent* AOwner)
    : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this)) {
    SetControlStyle({csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
    SetColor(clBtnFace);
    SetBounds(GetLeft(), GetTop(), 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool Value) {
    if (Value == FSimplePanel) return;
    FSimplePanel = Value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const String& Value) {
    if (Value == FSimpleText) return;
    FSimpleText = Value;
    if (FSimplePanel) Invalidate();
}

void TStatusBar::SetSizeGrip(bool Value) {
    if (Value == FSizeGrip) return;
    FSizeGrip = Value;
    Invalidate();
}

// --- geometry --------------------------------------------------------------------------------

template <class TVisit>
void TStatusBar::ForEachPanel(TVisit&& Visit) const {
    const int Top = ScalePixels(PanelGap), Bottom = GetClientHeight(), Width = GetClientWidth();
    if (FSimplePanel) {
        Visit(0, Rect(0, Top, Width, Bottom));
        return;
    }
    // Panels past the bar's end are empty and show nothing, so the walk
    // stops there however many a form holds.
    const int Count = FPanels->GetCount();
    for (int I = 0, Left = 0; I < Count && Left < Width; ++I) {
        const int Right =
            I == Count - 1 ? Width : std::min(Left + FPanels->GetPanel(I)->GetWidth(), Width);
        if (!Visit(I, Rect(Left, Top, Right, Bottom))) return;
        Left = Right + ScalePixels(PanelGap);
    }
}

TRect TStatusBar::PanelRect(int Index) const {
    TRect Found;
    ForEachPanel([&](int I, const TRect& R) {
        if (I == Index) Found = R;
        return I < Index;
    });
    return Found;
}

int TStatusBar::PanelAt(TPoint P) const {
    int Found = -1;
    ForEachPanel([&](int I, const TRect& R) {
        if (R.Contains(P)) Found = I;
        return Found < 0;
    });
    return Found;
}

// --- painting -------------------------------------------------------------------------------

void TStatusBar::Paint() {
    TCanvas* Canvas = GetCanvas();
    TBrush* Brush = Canvas->GetBrush();
    Brush->SetStyle(bsSolid);
    Brush->SetColor(GetColor());
    Canvas->FillRect(GetClientRect());
    Canvas->SetFont(GetFont());
    ForEachPanel([&](int I, TRect R) {
        DrawEdge(Canvas, R, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        const String& Text = FSimplePanel ? FSimpleText : FPanels->GetPanel(I)->GetText();
        const TAlignment Align =
            FSimplePanel ? taLeftJustify : FPanels->GetPanel(I)->GetAlignment();
        unsigned Flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
        Flags |= Align == taCenter ? DT_CENTER : Align == taRightJustify ? DT_RIGHT : DT_LEFT;
        R = Rect(R.Left + ScalePixels(TextIndent), R.Top, R.Right - ScalePixels(TextIndent),
                 R.Bottom);
        DrawCaption(Canvas, Text, R, DrawTextBiDiModeFlags(Flags), GetEnabled());
        return true;
    });
    if (!FSizeGrip) return;
    // The grip: three diagonal pairs of highlight and shadow lines.
    TPen* Pen = Canvas->GetPen();
    Pen->SetWidth(0);
    const int W = GetClientWidth(), H = GetClientHeight();
    for (int Step = ScalePixels(4); Step <= ScalePixels(12); Step += ScalePixels(4)) {
        Pen->SetColor(clBtnHighlight);
        Canvas->MoveTo(W - Step - 1, H - 1);
        Canvas->LineTo(W - 1, H - Step - 1);
        Pen->SetColor(clBtnShadow);
        Canvas->MoveTo(W - Step, H - 1);
        Canvas->LineTo(W - 1, H - Step);
        Canvas->MoveTo(W - Step + 1, H - 1);
        Canvas->LineTo(W - 1, H - Step + 1);
    }
}

FOLIO_REGISTER_CLASS(TStatusBar)

} // namespace folio
