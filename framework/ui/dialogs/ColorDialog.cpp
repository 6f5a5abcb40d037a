#include "framework/ui/dialogs/ColorDialog.h"

#include "framework/core/ClassBuilder.h"
#include "framework/core/ClassRegistry.h"
#include "framework/core/ScopeGuard.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/ColorSpace.h"
#include "framework/gfx/Colors.h"
#include "framework/ui/dialogs/ColorSpectrum.h"
#include "framework/ui/dialogs/ColorSwatches.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"

#include <cctype>

namespace folio {

const TClassInfo& TColorDialog::StaticClassInfo() {
    using C = TColorDialog;
    static const TClassInfo Info =
        TClassBuilder<C>("TColorDialog", &TCommonDialog::StaticClassInfo())
            .Color("Color", &C::GetColor, &C::SetColor, clBlack)
            .Creatable()
            .Build();
    return Info;
}

struct TColorDialog::TParts {
    TColorSwatches* Basic = nullptr;
    TColorSpectrum* Spectrum = nullptr;
    TPanel* Sample = nullptr;
    TEdit* Red = nullptr;
    TEdit* Green = nullptr;
    TEdit* Blue = nullptr;
};

namespace {
// A field's text as a colour channel; false unless it is a whole number
// from 0 to 255.
bool ReadChannel(const String& Text, int& Value) {
    if (Text.empty() || Text.size() > 3) return false;
    for (char C : Text)
        if (!std::isdigit(static_cast<unsigned char>(C))) return false;
    Value = std::stoi(Text);
    return Value <= 255;
}

// A click in the hue area keeps the colour's luminance, unless the colour
// is black or white, where every hue would look the same.
int LuminanceForHues(TColor Color) {
    const int L = ColorRGBToHLS(Color).L;
    return L <= 0 || L >= HLSMAX ? HLSMAX / 2 : L;
}
} // namespace

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

TColorDialog::~TColorDialog() = default;

const std::vector<TColor>& TColorDialog::BasicColors() {
    // Eight hues in five shades from light to dark, then eight greys from
    // white to black.
    static const std::vector<TColor> Colors = [] {
        std::vector<TColor> C;
        const int Hues[] = {0, 20, 40, 80, 120, 160, 180, 210};
        const int Shades[] = {200, 160, 120, 80, 40};
        for (int L : Shades)
            for (int H : Hues) C.push_back(ColorHLSToRGB(H, L, HLSMAX));
        for (int I = 0; I < 8; ++I) {
            const int V = 255 - I * 255 / 7;
            C.push_back(RGB(V, V, V));
        }
        return C;
    }();
    return Colors;
}

bool TColorDialog::Execute() {
    TForm Form(nullptr);
    Form.SetBorderStyle(bsDialog);
    Form.SetPosition(poScreenCenter);
    Form.SetCaption(GetTitle().empty() ? String("Color") : GetTitle());
    Form.SetClientWidth(436);
    Form.SetClientHeight(262);

    TParts Parts;
    TTemporaryChange<TParts*> Holding(FParts, &Parts);
    FCurrent = ColorToRGB(FColor);

    TLabel* BasicLabel = AddLabel(&Form, "&Basic colors:", 8, 8);
    Parts.Basic = new TColorSwatches(&Form);
    Parts.Basic->SetName("BasicColors");
    Parts.Basic->SetParent(&Form);
    Parts.Basic->SetBounds(8, 24, 208, 156);
    Parts.Basic->SetColors(BasicColors());
    Parts.Basic->OnChange = [this](TObject*) {
        FCurrent = FParts->Basic->GetSelectedColor();
        ShowCurrent(FParts->Basic);
    };
    BasicLabel->SetFocusControl(Parts.Basic);

    TLabel* CustomLabel = AddLabel(&Form, "&Custom color:", 228, 8);
    Parts.Spectrum = new TColorSpectrum(&Form);
    Parts.Spectrum->SetName("Spectrum");
    Parts.Spectrum->SetParent(&Form);
    Parts.Spectrum->SetBounds(228, 24, 200, 156);
    Parts.Spectrum->OnChange = [this](TObject*) {
        FCurrent = ColorHLSToRGB(FParts->Spectrum->GetHue(), LuminanceForHues(FCurrent),
                                 FParts->Spectrum->GetSaturation());
        ShowCurrent(FParts->Spectrum);
    };
    CustomLabel->SetFocusControl(Parts.Spectrum);

    Parts.Sample = new TPanel(&Form);
    Parts.Sample->SetName("Sample");
    Parts.Sample->SetParent(&Form);
    Parts.Sample->SetBounds(228, 188, 64, 66);
    Parts.Sample->SetBevelOuter(bvLowered);

    const struct {
        const char* Caption;
        const char* Name;
        TEdit* TParts::*Field;
    } Channels[] = {{"&Red:", "Red", &TParts::Red},
                    {"&Green:", "Green", &TParts::Green},
                    {"Bl&ue:", "Blue", &TParts::Blue}};
    int Y = 188;
    for (const auto& Channel : Channels) {
        TLabel* Label = AddLabel(&Form, Channel.Caption, 304, Y + 3);
        auto* Edit = new TEdit(&Form);
        Edit->SetName(Channel.Name);
        Edit->SetParent(&Form);
        Edit->SetBounds(348, Y, 40, 21);
        Edit->SetMaxLength(3);
        Edit->OnChange = [this](TObject*) { RedGreenBlueChanged(); };
        Label->SetFocusControl(Edit);
        Parts.*(Channel.Field) = Edit;
        Y += 23;
    }

    TButton* Ok = AddButton(&Form, "OK", 8, 229, mrOk);
    Ok->SetName("OKButton");
    TButton* Cancel = AddButton(&Form, "Cancel", 88, 229, mrCancel);
    Cancel->SetName("CancelButton");

    ShowCurrent(nullptr);
    if (!RunModal(Form, Parts.Basic)) return false;
    FColor = FCurrent;
    return true;
}

void TColorDialog::ShowCurrent(const void* Source) {
    if (FShowing) return;
    TTemporaryChange<bool> Guard(FShowing, true);
    TParts& P = *FParts;
    P.Sample->SetColor(FCurrent);
    if (Source != P.Basic) P.Basic->SelectColor(FCurrent);
    if (Source != P.Spectrum) {
        const THLS HLS = ColorRGBToHLS(FCurrent);
        P.Spectrum->SetHueSaturation(HLS.H, HLS.S);
    }
    // A field the user is typing in keeps its text; the others follow.
    if (Source != P.Red) {
        P.Red->SetText(IntToStr(GetRValue(FCurrent)));
        P.Green->SetText(IntToStr(GetGValue(FCurrent)));
        P.Blue->SetText(IntToStr(GetBValue(FCurrent)));
    }
}

void TColorDialog::RedGreenBlueChanged() {
    if (FShowing || !FParts) return;
    int R, G, B;
    // Until all three fields hold channel values the colour stays.
    if (!ReadChannel(FParts->Red->GetText(), R) || !ReadChannel(FParts->Green->GetText(), G) ||
        !ReadChannel(FParts->Blue->GetText(), B))
        return;
    FCurrent = RGB(R, G, B);
    ShowCurrent(FParts->Red);
}

FOLIO_REGISTER_CLASS(TColorDialog)

} // namespace folio
