// The bar in a real window: input goes through the window system's own
// queue, as a user's would, and the window host turns it into the
// framework's messages. Every test skips without a display; CI runs them on
// a virtual one.

#include "folio/FolioLiveInspector.h"

#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/QuitSignals.h"
#include "framework/ui/forms/Form.h"
#include "framework/ui/stdctrls/Edit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <memory>
#include <thread>

using namespace folio;
using LI = TFolioLiveInspector;

namespace {

using TSteady = std::chrono::steady_clock;

TPoint Centre(const TRect& R) {
    return Point((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
}

// A form with a vertical bar of four groups, the first long and scrolled so
// that its later items reach under the captions stacked below it, and an
// edit box beside the bar. The application renames what is under the
// pointer on a double click: the item first, as a careless handler would.
struct BarWindow : ::testing::Test {
    std::unique_ptr<TSdlHost> Host;
    std::unique_ptr<TForm> Form;
    TFolio* Bar = nullptr;
    TEdit* Other = nullptr;
    bool Rename = false;

    void SetUp() override {
        if (!TSdlHost::DisplayAvailable())
            GTEST_SKIP()
                << "no display (DISPLAY unset or unreachable): the bar's window not tested";
        Host = std::make_unique<TSdlHost>();
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBorderStyle(bsSingle);
        Form->SetBounds(60, 60, 400, 360);
        Form->SetCaption("bar window test");
        Bar = new TFolio(Form.get());
        Bar->SetBorderStyle(bsNone);
        Bar->SetBounds(0, 0, 240, 340);
        Bar->SetParent(Form.get());
        Bar->SetAnimationStyle(asLinear);
        Bar->SetAnimationSpeed(8);
        for (const char* Caption : {"Mail", "Calendar", "Places", "Notes"}) {
            TFolioGroup* Group = Bar->GetGroups()->Add(Caption);
            for (int I = 0; I < (Group->GetIndex() == 0 ? 12 : 3); ++I)
                Group->GetItems()->Add(String("Item ") + std::to_string(I), -1);
        }
        Other = new TEdit(Form.get());
        Other->SetBounds(260, 20, 120, 24);
        Other->SetParent(Form.get());
        Bar->OnDblClick = [this](TObject*) { Rename = true; };
        Bar->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
            if (!Rename) return;
            Rename = false;
            if (TFolioItem* Item = Bar->GetItemUnderCurosr())
                Bar->EditItem(Item);
            else if (TFolioGroup* Group = Bar->GetGroupUnderCurosr())
                Bar->EditGroup(Group);
        };
        Form->Show();
        Steps(5);
        ASSERT_NE(Host->WindowOf(Form.get()), nullptr);
        Bar->GetGroups()->GetGroup(0)->SetStartItem(2);
        Steps(2);
    }

    void TearDown() override {
        Form.reset();
        Host.reset();
        TQuitSignals::ClearReceived();
    }

    void Steps(int Count) {
        for (int I = 0; I < Count; ++I) Host->Step(5);
    }
    // Steps until Done answers true, at most Seconds; answers Done().
    bool StepUntil(const std::function<bool()>& Done, int Seconds = 20) {
        const auto Deadline = TSteady::now() + std::chrono::seconds(Seconds);
        while (!Done() && TSteady::now() < Deadline) Host->Step(5);
        return Done();
    }
    // Input in the bar's client coordinates (the bar sits at the form's
    // client origin).
    void MoveTo(TPoint P) { Host->PushMouseMove(Form.get(), P.X, P.Y); }
    void Click(TPoint P, int Clicks = 1, TMouseButton Button = mbLeft) {
        Host->PushMouseMove(Form.get(), P.X, P.Y);
        Host->PushMouseButton(Form.get(), P.X, P.Y, Button, true, Clicks);
        Host->PushMouseButton(Form.get(), P.X, P.Y, Button, false, Clicks);
    }
    TRect Caption(int I) const { return Bar->GetGroups()->GetGroup(I)->GetCaptionRect(); }
};

} // namespace

// Three quick clicks on three captions, which the window system counts as a
// single, a double and a triple click: the framework sees three single
// presses on different places. The first opens Calendar; the others land
// while it slides and are ignored, and no editor opens, least of all for the
// item of the group being closed that the pointer rested on when it pressed.
TEST_F(BarWindow, QuickCaptionClicksOpenNoEditorForAnItemOfAClosingGroup) {
    // A point of Calendar's caption that lies on an item of Mail's too,
    // one below the visible slots.
    const TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
    TPoint OnBoth = Point(-1, -1);
    for (int Y = Caption(1).Top; Y < Caption(1).Bottom && OnBoth.X < 0; ++Y)
        if (Mail->GetOnItem(120, Y) != -1) OnBoth = Point(120, Y);
    ASSERT_GE(OnBoth.X, 0);
    MoveTo(OnBoth);
    Steps(3);
    ASSERT_NE(Bar->GetItemUnderCurosr(), nullptr);
    Click(OnBoth, 1);
    Steps(1);
    ASSERT_TRUE(LI::Switching(*Bar));
    Click(Centre(Caption(2)), 2);
    Click(Centre(Caption(3)), 3);
    bool EditorSeen = false;
    ASSERT_TRUE(StepUntil([&] {
        EditorSeen = EditorSeen || LI::Editor(*Bar) != nullptr;
        return !LI::Switching(*Bar);
    }));
    Steps(3);
    EXPECT_FALSE(EditorSeen);
    EXPECT_EQ(LI::Editor(*Bar), nullptr);
    EXPECT_EQ(Bar->GetVisibleGroup(), 1);

    // A real double click (one place, at once) on an item of the open group
    // still renames it.
    Host->Step(600);
    const TPoint OnItem =
        Centre(Bar->GetVisibleGroupObject()->GetItems()->GetItem(0)->GetImageRect());
    MoveTo(OnItem);
    Steps(2);
    Click(OnItem, 1);
    Click(OnItem, 2);
    Steps(3);
    ASSERT_NE(LI::Editor(*Bar), nullptr);
    EXPECT_TRUE(Bar->GetVisibleGroupObject()->GetItems()->GetItem(0)->GetEdited());
}

// A click on a caption that slides away from the pointer: once the slide
// ends, the hot caption is what the pointer rests on, not the clicked one.
TEST_F(BarWindow, AfterASlideTheHotCaptionIsTheOneUnderThePointer) {
    const TPoint Where = Centre(Caption(2));
    MoveTo(Where);
    Steps(3);
    ASSERT_EQ(LI::HoverGroup(*Bar), 2);
    Click(Where);
    Steps(1);
    ASSERT_TRUE(StepUntil([&] { return !LI::Switching(*Bar) && Bar->GetVisibleGroup() == 2; }));
    Steps(3);
    ASSERT_FALSE(Caption(2).Contains(Where));
    EXPECT_EQ(LI::HoverGroup(*Bar), Bar->GetOnGroup(Where.X, Where.Y));
    EXPECT_EQ(Bar->GetGroups()->GetGroup(2)->GetState(), gsNormal);
}

// A press outside the bar (another control, the form's empty area) leaves
// the open editor as it was, with what was typed; a press on the bar then
// accepts it.
TEST_F(BarWindow, APressOutsideTheBarLeavesTheEditorOpenAPressOnTheBarAccepts) {
    TFolioItem* Item = Bar->GetVisibleGroupObject()->GetItems()->GetItem(3);
    const String Before = Item->GetCaption();
    ASSERT_TRUE(Bar->EditItem(Item));
    Steps(2);
    Host->PushText(Form.get(), "Renamed");
    Steps(2);
    for (const TPoint Elsewhere : {Point(300, 30), Point(320, 300)}) {
        Click(Elsewhere);
        Steps(3);
        ASSERT_NE(LI::Editor(*Bar), nullptr);
        EXPECT_EQ(LI::Editor(*Bar)->GetText(), "Renamed");
        EXPECT_EQ(Item->GetCaption(), Before);
    }
    Click(Point(120, 330));
    Steps(3);
    EXPECT_EQ(LI::Editor(*Bar), nullptr);
    EXPECT_EQ(Item->GetCaption(), "Renamed");
}

// Ctrl+C and SIGTERM end the loop at once, however long it would sleep,
// whichever thread the signal lands on; closing the last window ends it too.
// Once the host is gone the signals' old handlers are back.
// The bar has the keyboard; wheel turns from the window system over the
// edit box (which has nothing to scroll) and over the form's empty area
// scroll nothing, and only a turn over the bar scrolls it.
TEST_F(BarWindow, TheWheelScrollsOnlyTheBarUnderThePointer) {
    TFolioGroup* Mail = Bar->GetGroups()->GetGroup(0);
    Bar->SetFocus();
    Steps(2);
    ASSERT_TRUE(Bar->Focused());
    struct TCase {
        const char* Name;
        TPoint At;
        int StartItem;
    };
    const TCase Cases[] = {{"over the edit box", Point(300, 30), 2},
                           {"over the form's empty area", Point(320, 300), 2},
                           {"over the bar", Centre(Mail->GetClientRect()), 3}};
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Mail->SetStartItem(2);
        MoveTo(C.At);
        Steps(2);
        Host->PushMouseWheel(Form.get(), -1);
        Steps(3);
        EXPECT_EQ(Mail->GetStartItem(), C.StartItem);
        EXPECT_TRUE(Bar->Focused());
    }
}

TEST_F(BarWindow, QuitSignalsAndClosingTheLastWindowEndTheLoopAtOnce) {
    for (int Signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(Signal == SIGINT ? "SIGINT" : "SIGTERM");
        Application->ResetTerminated();
        Steps(2);
        // Nothing else would wake the host for a minute.
        HWND Fallback = AllocateHWnd([](TMessage& M) {
            if (M.Msg == WM_TIMER) Application->Terminate();
        });
        SetTimer(Fallback, 1, 60000);
        std::thread Sender([Signal] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            ::kill(::getpid(), Signal);
        });
        const auto Start = TSteady::now();
        bool Running = true;
        while (Running && TSteady::now() - Start < std::chrono::seconds(5))
            Running = Host->Step(-1);
        Sender.join();
        DeallocateHWnd(Fallback);
        const auto Waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(TSteady::now() - Start);
        EXPECT_FALSE(Running);
        EXPECT_LT(Waited.count(), 1000);
        EXPECT_EQ(TQuitSignals::Received(), Signal);
        EXPECT_EQ(Application->ExitCode(), 128 + Signal);
    }

    // The window manager's close: the form hides and the host's loop ends.
    Application->ResetTerminated();
    Host->PushWindowClose(Form.get());
    const auto Start = TSteady::now();
    Host->Run();
    EXPECT_LT(TSteady::now() - Start, std::chrono::seconds(5));
    EXPECT_FALSE(Form->GetVisible());

    // The host gone, SIGINT and SIGTERM stop the program as before it came.
    Form.reset();
    Host.reset();
    for (int Signal : {SIGINT, SIGTERM}) {
        struct sigaction Now = {};
        ::sigaction(Signal, nullptr, &Now);
        EXPECT_EQ(Now.sa_handler, SIG_DFL);
    }
    ASSERT_TRUE(TSdlHost::DisplayAvailable());
    struct sigaction Now = {};
    ::sigaction(SIGINT, nullptr, &Now);
    EXPECT_EQ(Now.sa_handler, SIG_DFL);
}
