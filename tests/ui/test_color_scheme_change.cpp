#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/controls/ControlMessages.h"
#include "framework/ui/controls/CustomControl.h"
#include "framework/ui/menus/MenuItem.h"
#include "framework/ui/menus/MenuWindow.h"
#include "framework/ui/menus/PopupMenu.h"
#include "framework/ui/paint/PaintPass.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Label.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace folio;

namespace {

// A control that keeps a colour worked out from a system colour, as some
// controls do for speed: it must hear of a scheme change to stay right.
class TCachingControl : public TCustomControl {
public:
    TCachingControl(TComponent* AOwner, std::vector<String>& Log, const String& Name)
        : TCustomControl(AOwner), FLog(Log), FName(Name) {
        FFace = ColorToRGB(clBtnFace);
    }
    TColor Face() const { return FFace; }

protected:
    void Dispatch(TMessage& M) override {
        if (M.Msg == CM_SYSCOLORCHANGE) {
            FLog.push_back(FName);
            FFace = ColorToRGB(clBtnFace);
        }
        TCustomControl::Dispatch(M);
    }
    void Paint() override {
        GetCanvas()->GetBrush()->SetColor(FFace);
        GetCanvas()->FillRect(GetClientRect());
    }

private:
    std::vector<String>& FLog;
    String FName;
    TColor FFace;
};

struct ColorSchemeChange : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
    std::vector<String> Heard;
    TPanel* Panel = nullptr;
    TCachingControl* Outer = nullptr;
    TCachingControl* Inner = nullptr;
    TButton* Button = nullptr;
    TLabel* Off = nullptr;

    void SetUp() override {
        Form->SetBounds(0, 0, 300, 200);
        Panel = new TPanel(Form.get());
        Panel->SetParent(Form.get());
        Panel->SetBounds(10, 10, 140, 120);
        Outer = new TCachingControl(Form.get(), Heard, "outer");
        Outer->SetParent(Form.get());
        Outer->SetBounds(160, 10, 40, 40);
        Inner = new TCachingControl(Form.get(), Heard, "inner");
        Inner->SetParent(Panel);
        Inner->SetBounds(10, 10, 40, 40);
        Button = new TButton(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(160, 60, 100, 30);
        Button->SetCaption("Go");
        Off = new TLabel(Form.get());
        Off->SetParent(Form.get());
        Off->SetBounds(160, 100, 120, 30);
        Off->GetFont()->SetSize(20);
        Off->SetCaption("MMMM");
        Off->SetEnabled(false);
        Form->Show();
        Host.RunUntilIdle();
    }

    // How many pixels of R (form coordinates) have colour C.
    int Count(const TRect& R, TColor C) const {
        int N = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) N += Host.Pixel(Form.get(), X, Y) == C;
        return N;
    }
};

TEST_F(ColorSchemeChange, EveryControlHearsItParentsFirstAndEveryWindowRepaintsOnce) {
    const TSystemColorTable& Dark = ColorSchemeColors(csDark);
    EXPECT_EQ(Host.Pixel(Form.get(), 5, 5), ColorSchemeColors(csClassic)[15]);
    const unsigned Painted = Application->GetPaintPass().PaintMessages();
    Screen->SetColorScheme(csDark);
    // Told at once, painted in the next pass.
    EXPECT_EQ(Heard, (std::vector<String>{"inner", "outer"}));
    EXPECT_EQ(Inner->Face(), Dark[15]);
    Host.RunUntilIdle();
    // The form, the panel, the two caching controls, the button and the
    // label (painted by its parent): one paint each, however many were
    // marked.
    EXPECT_EQ(Application->GetPaintPass().PaintMessages() - Painted, 6u);
    EXPECT_EQ(Host.Pixel(Form.get(), 5, 5), Dark[15]);
    EXPECT_EQ(Host.Pixel(Form.get(), 15, 100), Dark[15]); // the panel
    EXPECT_EQ(Host.Pixel(Form.get(), 30, 30), Dark[15]);  // inner, on the panel
    EXPECT_EQ(Host.Pixel(Form.get(), 180, 30), Dark[15]); // outer
    EXPECT_EQ(Host.Pixel(Form.get(), 170, 75), Dark[15]); // the button's face
    EXPECT_EQ(Count(Rect(0, 0, 300, 200), ColorSchemeColors(csClassic)[15]), 0);

    // The same scheme again: nothing to tell, nothing to paint.
    Heard.clear();
    const unsigned Again = Application->GetPaintPass().PaintMessages();
    Screen->SetColorScheme(csDark);
    Host.RunUntilIdle();
    EXPECT_TRUE(Heard.empty());
    EXPECT_EQ(Application->GetPaintPass().PaintMessages(), Again);
}

TEST_F(ColorSchemeChange, AProgramsOwnTableAndTheChangeEvent) {
    int Told = 0;
    Screen->OnSystemColorsChanged = [&] { ++Told; };
    TSystemColorTable Mine = ColorSchemeColors(csLight);
    Mine[15] = 0x336699;
    Screen->SetSystemColors(Mine);
    Screen->SetSystemColors(Mine); // the same table: nothing
    Host.RunUntilIdle();
    Screen->OnSystemColorsChanged = nullptr;
    EXPECT_EQ(Told, 1);
    EXPECT_EQ(Screen->GetColorScheme(), csCustom);
    EXPECT_EQ(Host.Pixel(Form.get(), 5, 5), 0x336699);
    EXPECT_EQ(Inner->Face(), 0x336699);
}

TEST_F(ColorSchemeChange, DisabledCaptionsAreEngravedInClassicAndGreyElsewhere) {
    const TRect Label = Rect(160, 100, 280, 130);
    // Classic: a highlight copy under a shadow copy, no grey text colour
    // of its own (it is the shadow's grey).
    EXPECT_GT(Count(Label, ColorSchemeColors(csClassic)[20]), 0);
    EXPECT_GT(Count(Label, ColorSchemeColors(csClassic)[16]), 0);
    for (TColorScheme S : {csLight, csDark, csHighContrastDark, csHighContrastLight}) {
        Screen->SetColorScheme(S);
        Host.RunUntilIdle();
        const TSystemColorTable& C = ColorSchemeColors(S);
        SCOPED_TRACE(ColorSchemeName(S));
        EXPECT_GT(Count(Label, C[17]), 0) << "grey text";
        if (C[20] != C[15]) {
            EXPECT_EQ(Count(Label, C[20]), 0) << "no engraving highlight";
        }
    }
}

TEST_F(ColorSchemeChange, TheDesktopsSchemeHoldsUntilTheProgramChooses) {
    EXPECT_TRUE(Screen->GetFollowDesktopColorScheme());
    Screen->SetDesktopColorScheme(csDark);
    EXPECT_EQ(Screen->GetColorScheme(), csDark);
    Screen->SetColorScheme(csLight);
    EXPECT_FALSE(Screen->GetFollowDesktopColorScheme());
    Screen->SetDesktopColorScheme(csHighContrastDark);
    EXPECT_EQ(Screen->GetColorScheme(), csLight);
    EXPECT_EQ(Screen->GetDesktopColorScheme(), csHighContrastDark);
    Screen->SetFollowDesktopColorScheme(true);
    EXPECT_EQ(Screen->GetColorScheme(), csHighContrastDark);
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(Form.get(), 5, 5), ColorSchemeColors(csHighContrastDark)[15]);
}

TEST_F(ColorSchemeChange, AnOpenMenuRepaintsToo) {
    auto* Menu = new TPopupMenu(Form.get());
    auto* Item = new TMenuItem(Form.get());
    Item->SetCaption("&Open");
    Menu->GetItems()->Add(Item);
    Menu->Popup(50, 150);
    Host.RunUntilIdle();
    TMenuWindow* W = Menu->GetWindow();
    ASSERT_NE(W, nullptr);
    ASSERT_TRUE(W->GetVisible());
    const TRect R = W->ItemRect(0);
    const TPoint Probe = Point(R.Right - 3, (R.Top + R.Bottom) / 2);
    EXPECT_EQ(Host.Pixel(W, Probe.X, Probe.Y), ColorSchemeColors(csClassic)[4]);
    Screen->SetColorScheme(csHighContrastLight);
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(W, Probe.X, Probe.Y), ColorSchemeColors(csHighContrastLight)[4]);
}

} // namespace
