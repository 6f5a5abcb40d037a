#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/dialogs/ColorSpectrum.h"
#include "framework/ui/dialogs/ColorSwatches.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ListBox.h"
#include "framework/ui/tabs/TabControl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace folio;

namespace {

// A control of class T that notes every rectangle it invalidates: all
// invalidation goes through InvalidateRect, so nothing escapes the list.
template <class T>
class TRecorded : public T {
public:
    using T::T;
    void InvalidateRect(const TRect& R, bool Erase) override {
        Invalidated.push_back(R);
        T::InvalidateRect(R, Erase);
    }
    std::vector<TRect> Invalidated;
};

struct TCase {
    const char* Name;
    unsigned DialogCodes;
    // Makes the control on Form, and gives the focus cue it should repaint
    // (empty: none) and its invalidation list.
    std::function<TWinControl*(TForm& Form, TRect& Cue, std::vector<TRect>*& Seen)> Make;
};

template <class T>
T* Place(TForm& Form) {
    auto* C = new T(&Form);
    C->SetParent(&Form);
    C->SetBounds(10, 10, 200, 120);
    return C;
}

const TCase Cases[] = {
    {"list box with a chosen row", DLGC_WANTARROWS | DLGC_WANTCHARS,
     [](TForm& Form, TRect& Cue, std::vector<TRect>*& Seen) -> TWinControl* {
         auto* L = Place<TRecorded<TListBox>>(Form);
         for (int I = 0; I < 5; ++I) L->GetItems()->Add("Row " + std::to_string(I));
         L->SetItemIndex(2);
         Cue = L->ItemRect(2);
         Seen = &L->Invalidated;
         return L;
     }},
    {"list box with nothing chosen", DLGC_WANTARROWS | DLGC_WANTCHARS,
     [](TForm& Form, TRect& Cue, std::vector<TRect>*& Seen) -> TWinControl* {
         auto* L = Place<TRecorded<TListBox>>(Form);
         L->GetItems()->Add("Row");
         Cue = TRect{};
         Seen = &L->Invalidated;
         return L;
     }},
    {"tab control", DLGC_WANTARROWS,
     [](TForm& Form, TRect& Cue, std::vector<TRect>*& Seen) -> TWinControl* {
         auto* T = Place<TRecorded<TTabControl>>(Form);
         T->GetTabs()->Add("One");
         T->GetTabs()->Add("Two");
         T->SetTabIndex(1);
         Cue = T->TabRect(1);
         Seen = &T->Invalidated;
         return T;
     }},
    {"colour swatches", DLGC_WANTARROWS,
     [](TForm& Form, TRect& Cue, std::vector<TRect>*& Seen) -> TWinControl* {
         auto* S = Place<TRecorded<TColorSwatches>>(Form);
         Cue = S->GetClientRect();
         Seen = &S->Invalidated;
         return S;
     }},
    {"colour spectrum", DLGC_WANTARROWS,
     [](TForm& Form, TRect& Cue, std::vector<TRect>*& Seen) -> TWinControl* {
         auto* S = Place<TRecorded<TColorSpectrum>>(Form);
         Cue = S->GetClientRect();
         Seen = &S->Invalidated;
         return S;
     }},
};

} // namespace

TEST(ArrowKeyFocus, ControlsAskForArrowsAndRepaintOnlyTheirFocusCue) {
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        THeadlessHost Host;
        TForm Form(nullptr);
        Form.SetBounds(40, 40, 320, 240);
        auto* Other = new TButton(&Form);
        Other->SetParent(&Form);
        Other->SetBounds(10, 150, 80, 24);
        TRect Cue;
        std::vector<TRect>* Seen = nullptr;
        TWinControl* Control = Case.Make(Form, Cue, Seen);
        Form.Show();
        Host.RunUntilIdle();

        EXPECT_EQ(static_cast<unsigned>(Control->Perform(WM_GETDLGCODE)), Case.DialogCodes);

        const std::vector<TRect> Expected =
            Cue.IsEmpty() ? std::vector<TRect>{} : std::vector<TRect>{Cue};
        Seen->clear();
        Control->SetFocus();
        EXPECT_EQ(*Seen, Expected) << "getting the focus";
        Host.RunUntilIdle();
        Seen->clear();
        Other->SetFocus();
        EXPECT_EQ(*Seen, Expected) << "losing the focus";
    }
}
