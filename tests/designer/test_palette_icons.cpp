// The palette's icons at the screen's resolution: the small drawing at the
// standard one, the large one on a screen twice as dense, each drawn by the
// class's own registration beside its name.
#include "DesignScript.h"
#include "DesignerWindow.h"

#include "framework/core/ColorConsts.h"
#include "framework/design/DesignRegistry.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/MouseFlags.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/Edit.h"
#include "framework/ui/stdctrls/Panel.h"

#include <gtest/gtest.h>

#include <sstream>

namespace designer::test {
namespace {

using namespace folio;

// The squares the probe icon was asked to fill, in the order asked.
std::vector<TRect>& DrawnSquares() {
    static std::vector<TRect> Squares;
    return Squares;
}

constexpr TColor ProbeColor = 0x2A7F10;

// A flat square, its last column and row left alone, so that a picture of
// the screen shows where the icon's square ends.
void ProbeIcon(TCanvas* Canvas, const TRect& R) {
    DrawnSquares().push_back(R);
    Canvas->GetBrush()->SetColor(ProbeColor);
    Canvas->FillRect(Rect(R.Left, R.Top, R.Right - 1, R.Bottom - 1));
}

TEST(PaletteIcons, TheSmallIconAtTheStandardResolutionAndTheLargeOneAtTwiceIt) {
    struct TCase {
        int PixelsPerInch;
        int IconSize;
    };
    for (const TCase C : {TCase{96, 24}, TCase{192, 48}}) {
        SCOPED_TRACE(C.PixelsPerInch);
        THeadlessHost Host(2048, 1536);
        static const int Owner = 0;
        {
            TRegistrationScope Scope(DesignRegistry(), &Owner);
            RegisterComponents("Standard",
                               {&TButton::StaticClassInfo(), &TPanel::StaticClassInfo()});
            RegisterComponentIcon(TButton::StaticClassInfo(), &ProbeIcon);
        }
        // Put back whatever happens, for the tests that follow.
        struct TPutBack {
            ~TPutBack() {
                Screen->SetPixelsPerInch(96);
                DesignRegistry().Unregister(&Owner);
            }
        } PutBack;
        Screen->SetPixelsPerInch(C.PixelsPerInch);
        DrawnSquares().clear();
        {
            TDesignerWindow Window;
            Window.Show();
            Host.RunUntilIdle();
            TComponentPalette& Palette = Window.Palette();
            EXPECT_EQ(Palette.IconSize(), C.IconSize);
            ASSERT_EQ(Palette.Entries().size(), 2u);
            const TRect Icon = Palette.IconRect(0);
            EXPECT_EQ(Icon.Width(), C.IconSize);
            EXPECT_EQ(Icon.Height(), C.IconSize);
            EXPECT_TRUE(Palette.IconRect(1).IsEmpty()) << "the panel has no icon";
            // The button holds its icon; the one without shows its name.
            const TRect Entry = Palette.EntryRect(0);
            EXPECT_TRUE(Entry.Contains(Point(Icon.Left, Icon.Top)));
            EXPECT_TRUE(Entry.Contains(Point(Icon.Right - 1, Icon.Bottom - 1)));
            EXPECT_GE(Palette.EntryRect(1).Width(), Palette.GetCanvas()->TextWidth("Panel"));
            ASSERT_FALSE(DrawnSquares().empty());
            EXPECT_EQ(DrawnSquares().back().Width(), C.IconSize);
            // On the screen: the icon's colour up to its square's last
            // pixel but one, and not beyond.
            const TPoint O = Palette.ClientToScreen(Point(Icon.Left, Icon.Top));
            TBitmap Shown;
            Host.ScreenPicture(Bounds(O.X, O.Y, C.IconSize, C.IconSize), Shown);
            EXPECT_EQ(Shown.GetPixel(0, 0), ProbeColor);
            EXPECT_EQ(Shown.GetPixel(C.IconSize - 2, C.IconSize - 2), ProbeColor);
            EXPECT_NE(Shown.GetPixel(C.IconSize - 1, C.IconSize - 1), ProbeColor);
            // Resting on the icon tells the class's name; a click chooses it.
            Host.MoveTo(O.X + 2, O.Y + 2);
            Host.Run(1000);
            THintWindow* Hint = Application->GetHintManager().ShownWindow();
            ASSERT_NE(Hint, nullptr);
            EXPECT_EQ(Hint->GetCaption(), "Button");
            Host.Click(O.X + 2, O.Y + 2);
            EXPECT_EQ(Palette.GetChosen(), &TButton::StaticClassInfo());
        }
    }
}

} // namespace
} // namespace designer::test

namespace designer::test {
namespace {

// A filter that finds more classes than two rows hold: the wheel over the
// palette brings the last rows up, where a click chooses; a new filter
// starts at the first row again.
TEST(PaletteRows, TheWheelScrollsButtonsThatDoNotFit) {
    THeadlessHost Host(1024, 768);
    static const int Owner = 0;
    struct TPutBack {
        ~TPutBack() { DesignRegistry().Unregister(&Owner); }
    } PutBack;
    {
        TRegistrationScope Scope(DesignRegistry(), &Owner);
        RegisterStandardControls();
    }
    TDesignerWindow Window;
    Window.Show();
    Host.RunUntilIdle();
    TComponentPalette& Palette = Window.Palette();
    const TPoint Box = Window.PaletteFilter().ClientToScreen(Point(10, 10));
    Host.Click(Box.X, Box.Y);
    Host.Type("e");
    ASSERT_GT(Palette.RowCount(), Palette.RowsShown());
    const int Last = static_cast<int>(Palette.Entries().size()) - 1;
    EXPECT_GT(Palette.EntryRect(Last).Bottom, Palette.GetClientHeight()) << "out of sight";
    const TPoint Over = Palette.ClientToScreen(Point(20, Palette.GetClientHeight() - 10));
    Host.MoveTo(Over.X, Over.Y);
    for (int I = 0; I < Palette.RowCount(); ++I) Host.Wheel(-WHEEL_DELTA);
    EXPECT_EQ(Palette.GetTopRow(), Palette.RowCount() - Palette.RowsShown()) << "no further";
    const TRect R = Palette.EntryRect(Last);
    ASSERT_LE(R.Bottom, Palette.GetClientHeight());
    const TPoint At = Palette.ClientToScreen(Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2));
    Host.Click(At.X, At.Y);
    EXPECT_EQ(Palette.GetChosen(), Palette.Entries()[Last]);
    // The rows scrolled away lie under the tabs, where a click picks a tab.
    const TRect Tab = Palette.PageTabRect(1);
    const TPoint OnTab = Palette.ClientToScreen(Point(Tab.Left + 4, Tab.Bottom - 2));
    Host.Click(OnTab.X, OnTab.Y);
    EXPECT_EQ(Palette.GetChosen(), Palette.Entries()[Last]);
    Host.MoveTo(Over.X, Over.Y);
    Host.Wheel(-WHEEL_DELTA);
    ASSERT_GT(Palette.GetTopRow(), 0);
    Host.Click(Box.X, Box.Y);
    Host.Type("x");
    EXPECT_EQ(Palette.GetTopRow(), 0);
}

} // namespace
} // namespace designer::test
