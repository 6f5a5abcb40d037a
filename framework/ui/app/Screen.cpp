#include "framework/ui/app/Screen.h"

#include "framework/core/Exceptions.h"
#include "framework/core/GlobalComponents.h"
#include "framework/core/SysUtils.h"
#include "framework/gfx/Font.h"
#include "framework/ui/controls/ControlMessages.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/forms/PopupWindow.h"
#include "framework/ui/input/Input.h"

#include <algorithm>

namespace folio {

namespace {
TScreen TheScreen;

// A form file may refer to a component of another form by the form's name
// ("MainForm.Images"): the forms are those on the screen.
const int FormFinder = RegisterFindGlobalComponent([](const String& Name) -> TComponent* {
    for (int I = 0; I < TheScreen.FormCount(); ++I)
        if (SameText(TheScreen.Forms(I)->GetName(), Name)) return TheScreen.Forms(I);
    return nullptr;
});
} // namespace

TScreen* const Screen = &TheScreen;

TCustomForm* TScreen::Forms(int Index) const {
    if (Index < 0 || Index >= FormCount())
        throw EListError(Format("Form index out of bounds (%d)", Index));
    return FForms[static_cast<size_t>(Index)];
}

TWinControl* TScreen::GetActiveControl() const {
    return FActiveForm ? FActiveForm->GetActiveControl() : nullptr;
}

void TScreen::SetFocusCues(bool Value) {
    if (Value == FFocusCues) return;
    FFocusCues = Value;
    if (TWinControl* Focused = FindControl(GetFocus())) Focused->Invalidate();
}

void TScreen::SetColorScheme(TColorScheme Scheme) {
    FFollowDesktop = false;
    if (Scheme == folio::GetColorScheme() && Scheme != csCustom) return;
    SelectColorScheme(Scheme);
    SystemColorsChanged();
}

void TScreen::SetSystemColors(const TSystemColorTable& Colors, TColorSchemeTraits Traits) {
    FFollowDesktop = false;
    if (folio::GetColorScheme() == csCustom && ColorSchemeColors(csCustom) == Colors &&
        ColorSchemeTraits(csCustom) == Traits)
        return;
    SelectSystemColors(Colors, Traits);
    SystemColorsChanged();
}

void TScreen::SetFollowDesktopColorScheme(bool Value) {
    FFollowDesktop = Value;
    if (Value && FDesktopScheme != folio::GetColorScheme()) {
        SelectColorScheme(FDesktopScheme);
        SystemColorsChanged();
    }
}

void TScreen::SetDesktopColorScheme(TColorScheme Scheme) {
    if (Scheme == csCustom) return;
    FDesktopScheme = Scheme;
    if (FFollowDesktop && Scheme != folio::GetColorScheme()) {
        SelectColorScheme(Scheme);
        SystemColorsChanged();
    }
}

void TScreen::SystemColorsChanged() {
    // Forms that are not shown hear it too: a control among them may keep
    // colours for when it shows. Popups and hints are top-level windows
    // without being forms.
    std::vector<TWinControl*> Windows(FForms.begin(), FForms.end());
    for (TWinControl* W : InputRouter->TopLevels())
        if (std::find(Windows.begin(), Windows.end(), W) == Windows.end()) Windows.push_back(W);
    for (TWinControl* W : Windows) {
        // A handler may close another form: only those still there hear it.
        const bool Form = std::find(FForms.begin(), FForms.end(), W) != FForms.end();
        const auto& Tops = InputRouter->TopLevels();
        if (Form || std::find(Tops.begin(), Tops.end(), W) != Tops.end())
            W->Perform(CM_SYSCOLORCHANGE);
    }
    if (OnSystemColorsChanged) OnSystemColorsChanged();
}

void TScreen::SetSize(int Width, int Height) {
    FWidth = Width;
    FHeight = Height;
    FWorkArea = TRect{0, 0, Width, Height};
}

void TScreen::SetWorkAreaRect(const TRect& Value) {
    // An empty area leaves no room for any form: the whole screen stands in.
    if (Value.IsEmpty())
        FWorkArea = TRect{0, 0, FWidth, FHeight};
    else
        FWorkArea = Value;
}

int TScreen::GetPixelsPerInch() const {
    return GetScreenPixelsPerInch();
}

void TScreen::SetPixelsPerInch(int Value) {
    SetScreenPixelsPerInch(Value);
}

void TScreen::AddForm(TCustomForm* Form) {
    FForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
    FModalForms.erase(std::remove(FModalForms.begin(), FModalForms.end(), Form), FModalForms.end());
    if (FActiveForm == Form) FActiveForm = nullptr;
}

void TScreen::ActivateForm(TCustomForm* Form) {
    if (Form == FActiveForm) return;
    if (Form && IsBlockedByModal(Form)) return;
    // Popups belong to the form that was active; they close when it goes.
    TPopupWindow::CloseAll();
    TCustomForm* Old = FActiveForm;
    FActiveForm = Form;
    if (Old) Old->Activate(false);
    if (Form) {
        InputRouter->BringToTop(Form);
        Form->Activate(true);
    }
}

void TScreen::FormHidden(TCustomForm* Form) {
    if (FActiveForm != Form) return;
    // The next visible form below takes over.
    TCustomForm* Next = nullptr;
    const auto& Tops = InputRouter->TopLevels();
    for (size_t I = Tops.size(); I-- > 0;) {
        auto* F = dynamic_cast<TCustomForm*>(Tops[I]);
        if (F && F != Form && F->GetVisible()) {
            Next = F;
            break;
        }
    }
    ActivateForm(Next);
}

void TScreen::PushModal(TCustomForm* Form) {
    FModalForms.push_back(Form);
}

void TScreen::PopModal(TCustomForm* Form) {
    FModalForms.erase(std::remove(FModalForms.begin(), FModalForms.end(), Form), FModalForms.end());
}

bool TScreen::IsBlockedByModal(const TControl* C) const {
    if (FModalForms.empty()) return false;
    // Showing a modal form closes every popup, and no other form takes
    // input while it is up, so an open popup belongs to the modal form's
    // controls: a drop-down list of a dialog must take the dialog's clicks.
    const TControl* Top = C;
    while (Top->GetParent()) Top = Top->GetParent();
    if (const auto* Popup = dynamic_cast<const TPopupWindow*>(Top); Popup && Popup->IsOpen())
        return false;
    return GetParentForm(C) != FModalForms.back();
}

} // namespace folio
