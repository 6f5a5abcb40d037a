#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/Application.h"
#include "framework/ui/Hints.h"

#include <gtest/gtest.h>

#include <memory>

using namespace folio;

namespace {

class TPanel : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
};

struct HintTest : ::testing::Test {
    THeadlessHost Host;
    std::unique_ptr<TForm> Form;
    TPanel* Open = nullptr;  // its own hint
    TPanel* Save = nullptr;  // its own hint, beside Open
    TPanel* Plain = nullptr; // no hint, ShowHint off

    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 400, 300);
        Open = Add(10, 10, "Open|Opens a file");
        Save = Add(110, 10, "Save");
        Plain = Add(210, 10, "");
        Plain->SetShowHint(false);
        Form->Show();
        Host.RunUntilIdle();
    }
    void TearDown() override {
        Form.reset();
        Application->SetShowHint(true);
    }
    TPanel* Add(int L, int T, const String& Hint, TWinControl* Parent = nullptr) {
        auto* P = new TPanel(Form.get());
        P->SetBounds(L, T, 80, 80);
        P->SetParent(Parent ? Parent : Form.get());
        P->SetHint(Hint);
        if (!Hint.empty()) P->SetShowHint(true);
        return P;
    }
    static String Shown() {
        THintWindow* W = THintManager::ShownWindow();
        return W ? W->GetCaption() : String("(none)");
    }
};

} // namespace

TEST_F(HintTest, AHintShowsAfterThePauseAndHidesOnMoveAwayPressAndTime) {
    Host.MoveTo(30, 30);
    Host.Run(499);
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(1);
    EXPECT_EQ(Shown(), "Open"); // the short part, before '|'
    // A top-level window below the pointer, on top of the form.
    THintWindow* W = THintManager::ShownWindow();
    EXPECT_EQ(W->GetTop(), 30 + 20);
    EXPECT_EQ(W->GetLeft(), 30);
    EXPECT_EQ(InputRouter->TopLevels().back(), W);
    Host.RunUntilIdle();
    EXPECT_EQ(Host.Pixel(W, 0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(Host.Pixel(W, 1, 1), ColorToRGB(clInfoBk));

    // Moving inside the control keeps it; a press hides it.
    Host.MoveTo(35, 32);
    EXPECT_EQ(Shown(), "Open");
    Host.Press();
    EXPECT_EQ(Shown(), "(none)");
    EXPECT_FALSE(W->HandleAllocated());
    Host.Release();
    Host.Run(1000);
    EXPECT_EQ(Shown(), "(none)");
    // The next move starts a new pause; the hint then hides by itself.
    Host.MoveTo(36, 33);
    Host.Run(500);
    EXPECT_EQ(Shown(), "Open");
    Host.Run(2499);
    EXPECT_EQ(Shown(), "Open");
    Host.Run(1);
    EXPECT_EQ(Shown(), "(none)");

    // Moving away to a control without a hint hides it at once.
    Host.MoveTo(37, 33);
    Host.MoveTo(230, 30);
    Host.Run(1000);
    EXPECT_EQ(Shown(), "(none)");
    // A key hides it too.
    Host.MoveTo(130, 30);
    Host.Run(500);
    EXPECT_EQ(Shown(), "Save");
    Host.Key('A');
    EXPECT_EQ(Shown(), "(none)");
}

TEST_F(HintTest, MovingFromAShownHintToAnotherControlShowsItsHintAfterTheShortPause) {
    Host.MoveTo(30, 30);
    Host.Run(500);
    EXPECT_EQ(Shown(), "Open");
    Host.MoveTo(130, 30);
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(50);
    EXPECT_EQ(Shown(), "Save");
    // Off the form and back: the full pause again.
    Host.MoveTo(600, 500);
    Host.MoveTo(30, 30);
    Host.Run(100);
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(400);
    EXPECT_EQ(Shown(), "Open");
}

TEST_F(HintTest, ShowHintFollowsTheParentAndAControlWithoutAHintShowsItsParents) {
    TPanel* Box = Add(10, 120, "Box");
    auto* Inner = new TPanel(Form.get());
    Inner->SetBounds(10, 10, 30, 30);
    Inner->SetParent(Box); // ParentShowHint: shows hints because Box does
    auto* Quiet = new TPanel(Form.get());
    Quiet->SetBounds(45, 10, 30, 30);
    Quiet->SetParent(Box);
    Quiet->SetHint("Quiet");
    Quiet->SetShowHint(false);
    Host.RunUntilIdle();
    EXPECT_TRUE(Inner->GetShowHint());

    Host.MoveTo(25, 145); // over Inner, which has no hint of its own
    Host.Run(500);
    EXPECT_EQ(Shown(), "Box");
    // Over Quiet, whose ShowHint is off: its own hint stays unseen, the
    // box's shows instead.
    Host.MoveTo(60, 145);
    Host.Run(50);
    EXPECT_EQ(Shown(), "Box");
    Host.MoveTo(230, 30); // Plain: neither it nor the form shows hints
    Host.Run(3000);
    EXPECT_EQ(Shown(), "(none)");

    // Switched off for the whole application.
    Application->SetShowHint(false);
    Host.MoveTo(30, 30);
    Host.Run(1000);
    EXPECT_EQ(Shown(), "(none)");
}

TEST_F(HintTest, AControlHiddenOrFreedWhileItsHintIsPendingOrShownIsSafe) {
    Host.MoveTo(130, 30);
    Host.Run(200);
    delete Save;
    Host.Run(1000);
    EXPECT_EQ(Shown(), "(none)");
    EXPECT_EQ(THintManager::HintControl(), nullptr);
    Host.MoveTo(30, 30);
    Host.Run(500);
    EXPECT_EQ(Shown(), "Open");
    Open->Hide();
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(1000);
    EXPECT_EQ(Shown(), "(none)");
}

TEST(HintText, ShortAndLongParts) {
    EXPECT_EQ(GetShortHint("Open|Opens a file"), "Open");
    EXPECT_EQ(GetLongHint("Open|Opens a file"), "Opens a file");
    EXPECT_EQ(GetShortHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("Plain"), "Plain");
    EXPECT_EQ(GetShortHint("|only long"), "");
}
