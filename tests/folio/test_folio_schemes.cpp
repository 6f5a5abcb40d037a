#include "folio/Folio.h"

#include "framework/core/SysUtils.h"
#include "framework/gfx/Bitmap.h"
#include "framework/gfx/Canvas.h"
#include "framework/gfx/ColorSchemes.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/ListBox.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

const TColorScheme Schemes[] = {csClassic, csLight, csDark, csHighContrastDark,
                                csHighContrastLight};

// A form with a bar and the standard controls, shown on the headless screen.
struct SchemeFixture : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    TFolio* Bar = nullptr;
    TButton* Button = nullptr;
    TLabel* Label = nullptr;
    TEdit* Edit = nullptr;
    TListBox* List = nullptr;
    TPopupMenu* Menu = nullptr;
    TBitmap Tile{8, 8};

    void SetUp() override {
        Form->SetBounds(0, 0, 420, 320);
        Bar = new TFolio(Form.get());
        Bar->SetParent(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetAnimationStyle(asNone);
        Bar->SetBounds(0, 0, 160, 300);
        for (int I = 0; I < 3; ++I) {
            TFolioGroup* G = Bar->GetGroups()->Add(Format("Group %d", I));
            G->GetItems()->Add("Inbox", -1);
        }
        Tile.GetCanvas()->GetBrush()->SetColor(0x3060C0);
        Tile.GetCanvas()->FillRect(Rect(0, 0, 8, 8));
        Bar->SetVisibleGroup(0);
        Button = new TButton(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(180, 10, 100, 30);
        Button->SetCaption("OK");
        Label = new TLabel(Form.get());
        Label->SetParent(Form.get());
        Label->SetBounds(180, 50, 100, 20);
        Label->SetCaption("Label");
        Edit = new TEdit(Form.get());
        Edit->SetParent(Form.get());
        Edit->SetBounds(180, 80, 100, 24);
        List = new TListBox(Form.get());
        List->SetParent(Form.get());
        List->SetBounds(180, 120, 100, 80);
        List->GetItems()->Add("First");
        List->GetItems()->Add("Second");
        List->SetItemIndex(1);
        Menu = new TPopupMenu(Form.get());
        auto* Item = new TMenuItem(Form.get());
        Item->SetCaption("&Open");
        Menu->GetItems()->Add(Item);
        Form->Show();
        Host.RunUntilIdle();
    }

    TFolioGroup* Open() { return Bar->GetGroups()->GetGroup(0); }
    TColor At(int X, int Y) { return Host.Pixel(Form.get(), X, Y); }
    // A point of the open group's client area no item covers.
    TPoint Background() {
        const TRect R = Open()->GetClientRect();
        return Point(R.Left + 3, R.Bottom - 3);
    }
};

// Every pair of text and background colours the controls paint with, taken
// from the controls themselves where they keep them, reaches 4.5:1 in every
// scheme and 7:1 in the high-contrast ones. Disabled text is exempt only in
// a scheme that engraves it (classic), where it is drawn as relief rather
// than as coloured text. A gradient background is out of every scheme's
// reach: it takes the low bytes of its two colours as they are, system
// colours or not, so what shows under the captions is the program's choice.
TEST_F(SchemeFixture, EveryTextReachesItsContrastInEveryScheme) {
    Menu->Popup(300, 250);
    TMenuWindow* MenuWindow = Menu->GetWindow();
    ASSERT_NE(MenuWindow, nullptr);
    THintWindow Hint(nullptr);
    struct TPair {
        const char* What;
        TColor Text;
        TColor Back;
        bool Disabled;
    };
    const TPair Pairs[] = {
        {"group caption", Bar->GetGroupsFont()->GetColor(), Open()->GetCaptionColor(), false},
        {"item caption on its group's colour", Bar->GetFont()->GetColor(), Open()->GetColor(),
         false},
        {"item caption on a picture style without a picture", Bar->GetFont()->GetColor(),
         Open()->GetColor(), false},
        {"caption editor", clBtnText, clWindow, false},
        {"button", Button->GetFont()->GetColor(), Button->GetColor(), false},
        {"label on the form", Label->GetFont()->GetColor(), Form->GetColor(), false},
        {"edit box", Edit->GetFont()->GetColor(), Edit->GetColor(), false},
        {"selected text in an edit box", clHighlightText, clHighlight, false},
        {"list item", List->GetFont()->GetColor(), List->GetColor(), false},
        {"selected list item", clHighlightText, clHighlight, false},
        {"menu item", MenuWindow->GetFont()->GetColor(), MenuWindow->GetColor(), false},
        {"menu item under the pointer", clHighlightText, clHighlight, false},
        {"hint", Hint.GetFont()->GetColor(), Hint.GetColor(), false},
        {"disabled caption on a face", clGrayText, clBtnFace, true},
        {"disabled menu item", clGrayText, MenuWindow->GetColor(), true},
        {"disabled edit box", clGrayText, Edit->GetColor(), true},
    };
    for (TColorScheme S : Schemes) {
        SelectColorScheme(S);
        const TColorSchemeTraits T = GetColorSchemeTraits();
        const double Least = T.HighContrast ? 7.0 : 4.5;
        for (const TPair& P : Pairs) {
            if (P.Disabled && T.EngravedDisabledText) continue;
            EXPECT_GE(ContrastRatio(P.Text, P.Back), Least)
                << ColorSchemeName(S) << ": " << P.What << " " << std::hex << ColorToRGB(P.Text)
                << " on " << ColorToRGB(P.Back);
        }
    }
    SelectColorScheme(csClassic);
}

// The bar in each scheme and background style: what follows system colours
// changes with the scheme (a gradient between system colours too, as its
// ends resolve to the scheme's shades), what the program gave as plain
// colours or pictures does not.
TEST_F(SchemeFixture, TheBarPaintsEachStyleInEachScheme) {
    const TRect Caption = Open()->GetCaptionRect();
    const TPoint Face = Point(Caption.Left + 4, (Caption.Top + Caption.Bottom) / 2);
    const TPoint Back = Background();
    struct TStyle {
        const char* Name;
        std::function<void(TFolioGroup*)> Setup;
        // The background's system colour, or clNone: the same in every scheme.
        TColor SystemColor;
    };
    const TStyle Styles[] = {
        {"colour", [](TFolioGroup* G) { G->SetStyle(gbColor); }, clBtnShadow},
        {"picture style without a picture",
         [](TFolioGroup* G) {
             G->SetStyle(gbBitmap);
             G->GetBitmap()->SetWidth(0);
         },
         clBtnShadow},
        {"picture",
         [this](TFolioGroup* G) {
             G->SetStyle(gbBitmap);
             G->SetBitmap(&Tile);
         },
         clNone},
        {"gradient of system colours", [](TFolioGroup* G) { G->SetStyle(gbGradient); },
         clBtnShadow},
        {"gradient of plain colours",
         [](TFolioGroup* G) {
             G->SetStyle(gbGradient);
             G->SetStartColor(0xF0E0D0);
             G->SetEndColor(0x906040);
         },
         clNone},
    };
    for (const TStyle& Style : Styles) {
        Style.Setup(Open());
        Screen->SetColorScheme(csClassic);
        Host.RunUntilIdle();
        const TColor ClassicBack = At(Back.X, Back.Y);
        for (TColorScheme S : Schemes) {
            SCOPED_TRACE(String(Style.Name) + " in " + ColorSchemeName(S));
            Screen->SetColorScheme(S);
            Host.RunUntilIdle();
            const TSystemColorTable& C = ColorSchemeColors(S);
            EXPECT_EQ(At(Face.X, Face.Y), C[15]) << "caption face";
            EXPECT_EQ(At(Caption.Left + 5, Caption.Top), C[20]) << "caption's raised edge";
            EXPECT_EQ(At(Caption.Left + 5, Caption.Bottom - 1), C[16]) << "caption's shadow";
            if (Style.SystemColor == clNone) {
                EXPECT_EQ(At(Back.X, Back.Y), ClassicBack);
            } else {
                EXPECT_EQ(At(Back.X, Back.Y), ColorToRGB(Style.SystemColor));
            }
        }
    }
}

TEST_F(SchemeFixture, ButtonsAndMenusInEachScheme) {
    Button->SetDefault(true);
    Menu->Popup(300, 250);
    TMenuWindow* W = Menu->GetWindow();
    ASSERT_NE(W, nullptr);
    const TRect Item = W->ItemRect(0);
    for (TColorScheme S : Schemes) {
        SCOPED_TRACE(ColorSchemeName(S));
        Screen->SetColorScheme(S);
        Host.RunUntilIdle();
        const TSystemColorTable& C = ColorSchemeColors(S);
        EXPECT_EQ(At(185, 25), C[15]) << "button face";
        EXPECT_EQ(At(180, 10), C[6]) << "the default button's frame";
        EXPECT_EQ(Host.Pixel(W, Item.Right - 3, (Item.Top + Item.Bottom) / 2), C[4]) << "menu";
    }
}

} // namespace
