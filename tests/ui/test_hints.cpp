#include "framework/gfx/Colors.h"
#include "framework/hosts/HeadlessHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Hints.h"

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
        THintWindow* W = Application->GetHintManager().ShownWindow();
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
    THintWindow* W = Application->GetHintManager().ShownWindow();
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
    EXPECT_EQ(Application->GetHintManager().HintControl(), nullptr);
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

namespace {

// A control whose halves are two hint targets, and whose lower part shows
// no hint at all.
class THalves : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Asked = 0;
    void Dispatch(TMessage& M) override {
        if (M.Msg != CM_HINTSHOW) return TCustomControl::Dispatch(M);
        ++Asked;
        auto& Info = *reinterpret_cast<THintInfo*>(M.LParam);
        const TRect C = GetClientRect();
        const int MidX = C.Width() / 2, MidY = C.Height() / 2;
        if (Info.CursorPos.Y >= MidY) {
            Info.CursorRect = Rect(0, MidY, C.Right, C.Bottom);
            M.Result = 1;
            return;
        }
        const bool Left = Info.CursorPos.X < MidX;
        Info.CursorRect = Left ? Rect(0, 0, MidX, MidY) : Rect(MidX, 0, C.Right, MidY);
        Info.HintStr = Left ? "left" : "right";
    }
};

} // namespace

TEST_F(HintTest, ACursorRectangleMakesEachPartOfAControlAHintTargetOfItsOwn) {
    auto* H = new THalves(Form.get());
    H->SetBounds(10, 150, 100, 100);
    H->SetParent(Form.get());
    H->SetShowHint(true); // no hint text of its own: the control gives it
    Host.RunUntilIdle();
    auto At = [&](int X, int Y) { return H->ClientToScreen(Point(X, Y)); };

    Host.MoveTo(At(10, 10));
    Host.Run(500);
    EXPECT_EQ(Shown(), "left");
    // Inside the rectangle nothing is asked again.
    Host.MoveTo(At(30, 20));
    EXPECT_EQ(H->Asked, 1);
    EXPECT_EQ(Shown(), "left");
    // Out of it: hidden at once, the other half's tip after the short pause.
    Host.MoveTo(At(70, 20));
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(50);
    EXPECT_EQ(Shown(), "right");
    // A refused hint shows nothing, and moving within its rectangle does
    // not ask again.
    Host.MoveTo(At(70, 70));
    Host.Run(1000);
    EXPECT_EQ(Shown(), "(none)");
    const int Before = H->Asked;
    Host.MoveTo(At(20, 80));
    Host.Run(1000);
    EXPECT_EQ(H->Asked, Before);
    // Back to the top: asked again after the full pause, since none showed.
    Host.MoveTo(At(20, 20));
    Host.Run(499);
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(1);
    EXPECT_EQ(Shown(), "left");
}

TEST_F(HintTest, APointerSweepingOnAcrossPartsShowsNoHintUntilItRests) {
    auto* H = new THalves(Form.get());
    H->SetBounds(10, 150, 100, 100);
    H->SetParent(Form.get());
    H->SetShowHint(true);
    Host.RunUntilIdle();
    auto At = [&](int X, int Y) { return H->ClientToScreen(Point(X, Y)); };

    Host.MoveTo(At(10, 10));
    Host.Run(500);
    ASSERT_EQ(Shown(), "left");
    // Back and forth between the halves every 20 ms for half a second:
    // the hint hid at the first move and none shows while the pointer
    // goes on moving, in either half.
    const int Asked = H->Asked;
    for (int I = 0; I < 25; ++I) {
        Host.MoveTo(At(I % 2 ? 20 : 70, 10 + I % 3));
        Host.Run(20);
        EXPECT_EQ(Shown(), "(none)") << "move " << I;
    }
    EXPECT_EQ(H->Asked, Asked);
    // The last move went to the right half: at rest there, its hint after
    // the short pause counted from that move.
    Host.Run(29);
    EXPECT_EQ(Shown(), "(none)");
    Host.Run(1);
    EXPECT_EQ(Shown(), "right");
}
