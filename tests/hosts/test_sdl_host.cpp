#include "framework/core/Exceptions.h"
#include "framework/core/Thread.h"
#include "framework/hosts/SdlHost.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/stdctrls/Button.h"
#include "framework/ui/stdctrls/ComboBox.h"
#include "framework/ui/stdctrls/PopupList.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <SDL_syswm.h>
// Xlib's macros (None, Bool, Status ...) stay below every header of ours.
#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace folio;

namespace {

class TPad : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    std::vector<String> Log;
    void Paint() override { GetCanvas()->FillRect(GetClientRect()); }
    void Dispatch(TMessage& M) override {
        if (M.Msg == CM_MOUSEENTER) Log.push_back("enter");
        if (M.Msg == CM_MOUSELEAVE) Log.push_back("leave");
        TCustomControl::Dispatch(M);
    }
};

// Every test here needs a real window system; without one they skip, saying so.
struct SdlHost : ::testing::Test {
    void SetUp() override {
        if (!TSdlHost::DisplayAvailable())
            GTEST_SKIP() << "no display (DISPLAY unset or unreachable): window host not tested";
    }
};

// A real window under an X server: skipped where there is no display.
TEST_F(SdlHost, OpensAWindowPerFormAndReactsToRealInput) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 200, 120);
    Form.SetCaption("smoke");
    auto* Pad = new TPad(&Form);
    Pad->SetBounds(0, 0, 200, 120);
    Pad->SetParent(&Form);
    Pad->SetCursor(crHandPoint);
    String Typed;
    Pad->OnKeyPress = [&](TObject*, char& K) { Typed += K; };
    std::vector<String> Clicks;
    Pad->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Clicks.push_back(std::to_string(X) + "," + std::to_string(Y));
    };
    Form.Show();
    Pad->SetFocus();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    ASSERT_NE(Host.WindowOf(&Form), nullptr);
    EXPECT_EQ(Host.WindowSize(&Form), (TSize{200, 120}));
    EXPECT_GE(Host.PresentCount(), 1u);

    // Nothing changed: nothing is presented again.
    const unsigned Presents = Host.PresentCount();
    for (int I = 0; I < 3; ++I) Host.Step(1);
    EXPECT_EQ(Host.PresentCount(), Presents);

    // Input through the window system's event queue.
    Host.PushMouseButton(&Form, 30, 20, mbLeft, true);
    Host.PushMouseButton(&Form, 30, 20, mbLeft, false);
    Host.PushText(&Form, "ok");
    for (int I = 0; I < 5; ++I) Host.Step(5);
    EXPECT_EQ(Clicks, (std::vector<String>{"30,20"}));
    EXPECT_EQ(Typed, "ok");

    // The pointer leaving the window leaves the control under it.
    Host.PushWindowLeave(&Form);
    Host.Step(5);
    Pad->Log.clear();
    Host.PushMouseMove(&Form, 50, 50);
    Host.PushWindowLeave(&Form);
    for (int I = 0; I < 3; ++I) Host.Step(5);
    EXPECT_EQ(Pad->Log, (std::vector<String>{"enter", "leave"}));

    // A resize of the window resizes the form and its surface.
    Host.ResizeWindow(&Form, 260, 150);
    for (int I = 0; I < 50 && Form.GetWidth() != 260; ++I) Host.Step(10);
    EXPECT_EQ(Form.GetWidth(), 260);
    ASSERT_NE(Form.GetSurface(), nullptr);
    EXPECT_EQ(Form.GetSurface()->Width, 260);

    Form.Hide();
    Host.Step(1);
    EXPECT_EQ(Host.WindowOf(&Form), nullptr);
}

// Without a window manager nobody moves the keyboard: a click in a form's
// window takes it there, and typing follows.
TEST_F(SdlHost, AClickInAFormGivesItsWindowTheKeyboard) {
    TSdlHost Host;
    TForm First(nullptr), Second(nullptr);
    First.SetBounds(40, 40, 160, 100);
    Second.SetBounds(260, 40, 160, 100);
    First.Show();
    Second.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    for (auto [Form, Other] : {std::pair{&Second, &First}, std::pair{&First, &Second}}) {
        Host.PushMouseButton(Form, 20, 20, mbLeft, true);
        Host.PushMouseButton(Form, 20, 20, mbLeft, false);
        for (int I = 0; I < 20 && SDL_GetKeyboardFocus() != Host.WindowOf(Form); ++I) Host.Step(5);
        EXPECT_EQ(SDL_GetKeyboardFocus(), Host.WindowOf(Form));
        EXPECT_EQ(folio::Screen->GetActiveForm(), Form);
        EXPECT_NE(SDL_GetKeyboardFocus(), Host.WindowOf(Other));
    }
}

// An input handler that fails does not end the program (nor lose what the
// person has not saved): the failure goes to the application's report, and
// the next input is handled as usual.
TEST_F(SdlHost, AFailingInputHandlerIsReportedAndTheLoopGoesOn) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 160, 100);
    int Presses = 0;
    Form.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        if (++Presses == 1) throw EFOpenError("Cannot open file \"damaged.form\"");
    };
    std::vector<String> Reported;
    Application->OnException = [&](TObject*, const std::exception& E) {
        Reported.push_back(E.what());
    };
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    for (int Click = 0; Click < 2; ++Click) {
        Host.PushMouseButton(&Form, 20, 20, mbLeft, true);
        Host.PushMouseButton(&Form, 20, 20, mbLeft, false);
        for (int I = 0; I < 20 && Presses <= Click; ++I) EXPECT_NO_THROW(Host.Step(5));
    }
    Application->OnException = nullptr;
    EXPECT_EQ(Presses, 2);
    EXPECT_EQ(Reported, std::vector<String>{"Cannot open file \"damaged.form\""});
}

// A window manager gives the focus to the window a click lands in and then
// passes the click on: the press must still act (a palette button, a spot
// on the form being designed), not only bring the window forward.
TEST_F(SdlHost, AClickThatBringsAWindowTheFocusStillActs) {
    TSdlHost Host;
    TForm First(nullptr), Second(nullptr);
    First.SetBounds(40, 40, 160, 100);
    Second.SetBounds(260, 40, 160, 100);
    int Presses = 0;
    Second.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++Presses; };
    First.Show();
    Second.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    const auto XWindow = [&](TForm* Form) {
        SDL_SysWMinfo Info;
        SDL_VERSION(&Info.version);
        const bool Known =
            SDL_GetWindowWMInfo(static_cast<SDL_Window*>(Host.WindowOf(Form)), &Info) &&
            Info.subsystem == SDL_SYSWM_X11;
        return Known ? Info.info.x11.window : Window{0};
    };
    const Window FirstWindow = XWindow(&First), SecondWindow = XWindow(&Second);
    if (!FirstWindow || !SecondWindow) GTEST_SKIP() << "not an X display";
    Display* Manager = XOpenDisplay(nullptr);
    ASSERT_NE(Manager, nullptr);
    XSetInputFocus(Manager, FirstWindow, RevertToParent, CurrentTime);
    XSync(Manager, False);
    for (int I = 0; I < 20 && SDL_GetKeyboardFocus() != Host.WindowOf(&First); ++I) Host.Step(5);
    ASSERT_EQ(SDL_GetKeyboardFocus(), Host.WindowOf(&First));

    // What a window manager does for a click into Second: focus, then the press.
    XSetInputFocus(Manager, SecondWindow, RevertToParent, CurrentTime);
    for (const int Type : {ButtonPress, ButtonRelease}) {
        XEvent E{};
        E.xbutton.type = Type;
        E.xbutton.display = Manager;
        E.xbutton.window = SecondWindow;
        E.xbutton.root = DefaultRootWindow(Manager);
        E.xbutton.x = 30;
        E.xbutton.y = 30;
        E.xbutton.button = Button1;
        E.xbutton.same_screen = True;
        XSendEvent(Manager, SecondWindow, True,
                   Type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &E);
    }
    XSync(Manager, False);
    XCloseDisplay(Manager);
    for (int I = 0; I < 20 && Presses == 0; ++I) Host.Step(5);
    EXPECT_EQ(Presses, 1);
    EXPECT_EQ(SDL_GetKeyboardFocus(), Host.WindowOf(&Second));
}

// The host sleeps in the window system's queue; a worker's Synchronize and
// a due timer must still wake it long before the wait's bound.
TEST_F(SdlHost, AWorkerOrATimerWakesTheBlockedHost) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 120, 80);
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    using TClockType = std::chrono::steady_clock;
    auto Millis = [](TClockType::time_point Since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(TClockType::now() - Since)
            .count();
    };

    int Steps = 0;
    struct TWorker : TThread {
        int& Steps;
        explicit TWorker(int& S) : TThread(true), Steps(S) {}
        void Execute() override {
            Sleep(30);
            Synchronize([this] { ++Steps; });
        }
    } Worker(Steps);
    auto Start = TClockType::now();
    Worker.Start();
    for (int I = 0; I < 20 && Steps == 0; ++I) Host.Step(10000);
    Worker.WaitFor();
    EXPECT_EQ(Steps, 1);
    EXPECT_LT(Millis(Start), 5000) << "the worker's request did not wake the host";

    int Ticks = 0;
    HWND Timer = AllocateHWnd([&](TMessage& M) {
        if (M.Msg == WM_TIMER) ++Ticks;
    });
    Start = TClockType::now();
    SetTimer(Timer, 1, 40);
    for (int I = 0; I < 20 && Ticks == 0; ++I) Host.Step(10000);
    EXPECT_EQ(Ticks, 1);
    EXPECT_LT(Millis(Start), 5000) << "the timer did not end the host's wait";
    DeallocateHWnd(Timer);
}

// A window manager asks a window whether its program still runs
// (_NET_WM_PING) and waits for the answer; a host that handled the question
// and went to sleep with the answer still in its output buffer would look
// hung to the manager until some other event woke it.
TEST_F(SdlHost, AnIdleHostAnswersTheWindowManagersPingAtOnce) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 120, 80);
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!SDL_GetWindowWMInfo(static_cast<SDL_Window*>(Host.WindowOf(&Form)), &Info) ||
        Info.subsystem != SDL_SYSWM_X11)
        GTEST_SKIP() << "not an X display";
    const Window Target = Info.info.x11.window;

    using TClockType = std::chrono::steady_clock;
    std::atomic<long> AnsweredAfterMs{-1};
    std::atomic<bool> Asked{false};
    std::thread Manager([&] {
        Display* D = XOpenDisplay(nullptr);
        if (!D) return;
        const Window Root = DefaultRootWindow(D);
        XSelectInput(D, Root, SubstructureNotifyMask);
        const Atom Protocols = XInternAtom(D, "WM_PROTOCOLS", False);
        const Atom Ping = XInternAtom(D, "_NET_WM_PING", False);
        XEvent E{};
        E.xclient.type = ClientMessage;
        E.xclient.window = Target;
        E.xclient.message_type = Protocols;
        E.xclient.format = 32;
        E.xclient.data.l[0] = static_cast<long>(Ping);
        E.xclient.data.l[1] = 4242;
        E.xclient.data.l[2] = static_cast<long>(Target);
        const auto Start = TClockType::now();
        XSendEvent(D, Target, False, NoEventMask, &E);
        XSync(D, False);
        Asked = true;
        while (TClockType::now() - Start < std::chrono::seconds(3)) {
            while (XPending(D)) {
                XEvent Reply;
                XNextEvent(D, &Reply);
                if (Reply.type == ClientMessage && Reply.xclient.data.l[1] == 4242) {
                    AnsweredAfterMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                          TClockType::now() - Start)
                                          .count();
                    XCloseDisplay(D);
                    return;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        XCloseDisplay(D);
    });
    while (!Asked) std::this_thread::yield();
    // Nothing else happens: the host sleeps up to a fifth of a second per
    // step, so an answer held back until a wake comes late.
    for (int I = 0; I < 15 && AnsweredAfterMs < 0; ++I) Host.Step(200);
    Manager.join();
    ASSERT_GE(AnsweredAfterMs, 0) << "the ping was never answered";
    EXPECT_LT(AnsweredAfterMs, 150) << "the answer waited for the host's next wake";
}

// Pointer moves waiting together are handled as one, at the last place
// (each handled move may cost a repaint the next one undoes); a press
// between moves keeps the move before it, so the press lands where it was.
TEST_F(SdlHost, QueuedPointerMovesAreHandledAsTheLastOfThem) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 200, 120);
    auto* Pad = new TPad(&Form);
    Pad->SetBounds(0, 0, 200, 120);
    Pad->SetParent(&Form);
    std::vector<String> Moves;
    Pad->OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
        Moves.push_back(std::to_string(X) + "," + std::to_string(Y));
    };
    Pad->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int X, int Y) {
        Moves.push_back("down " + std::to_string(X) + "," + std::to_string(Y));
    };
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    struct TCase {
        const char* Name;
        std::vector<TPoint> Before;
        bool Press;
        std::vector<TPoint> After;
        std::vector<String> Handled;
    };
    const TCase Cases[] = {
        {"three moves", {{10, 10}, {20, 20}, {30, 30}}, false, {}, {"30,30"}},
        {"moves around a press",
         {{40, 40}, {45, 45}},
         true,
         {{50, 50}, {60, 60}},
         {"45,45", "down 45,45", "60,60"}},
    };
    for (const TCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        Moves.clear();
        for (const TPoint& P : C.Before) Host.PushMouseMove(&Form, P.X, P.Y);
        const TPoint Last = C.Before.back();
        if (C.Press) Host.PushMouseButton(&Form, Last.X, Last.Y, mbLeft, true);
        for (const TPoint& P : C.After) Host.PushMouseMove(&Form, P.X, P.Y);
        Host.Step(0);
        if (C.Press) {
            Host.PushMouseButton(&Form, C.After.back().X, C.After.back().Y, mbLeft, false);
            Host.Step(0);
        }
        EXPECT_EQ(Moves, C.Handled);
    }
}

// The host's own loop runs until the last form hides, also when an earlier
// loop of the application (a nested Application->Run) ended by Terminate.
TEST_F(SdlHost, RunServesTheFormsAfterAnEarlierLoopWasTerminated) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 120, 80);
    Form.Show();
    Application->Terminate();
    int Ticks = 0;
    HWND Timer = AllocateHWnd([&](TMessage& M) {
        if (M.Msg == WM_TIMER && ++Ticks == 3) Form.Hide();
    });
    SetTimer(Timer, 1, 10);
    Host.Run();
    EXPECT_EQ(Ticks, 3);
    EXPECT_FALSE(Application->Terminated());
    DeallocateHWnd(Timer);
}

// The window manager is told the form's size limits, so that dragging the
// frame stops at them; a resize asked beyond them ends at them too.
TEST_F(SdlHost, AWindowKeepsItsFormsSizeLimits) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 300, 200);
    TSizeConstraints* Limits = Form.GetConstraints();
    Limits->SetMinWidth(240);
    Limits->SetMinHeight(160);
    Limits->SetMaxWidth(400);
    Limits->SetMaxHeight(320);
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    auto* Window = static_cast<SDL_Window*>(Host.WindowOf(&Form));
    ASSERT_NE(Window, nullptr);
    int W = 0, H = 0;
    SDL_GetWindowMinimumSize(Window, &W, &H);
    EXPECT_EQ((TSize{W, H}), (TSize{240, 160}));
    SDL_GetWindowMaximumSize(Window, &W, &H);
    EXPECT_EQ((TSize{W, H}), (TSize{400, 320}));

    struct TCase {
        int Width, Height, Expected, ExpectedHeight;
    };
    for (const TCase& C : {TCase{100, 80, 240, 160}, TCase{900, 700, 400, 320}}) {
        Host.ResizeWindow(&Form, C.Width, C.Height);
        for (int I = 0; I < 50 && Form.GetWidth() != C.Expected; ++I) Host.Step(10);
        for (int I = 0; I < 5; ++I) Host.Step(5);
        EXPECT_EQ(Host.WindowSize(&Form), (TSize{C.Expected, C.ExpectedHeight}));
        EXPECT_EQ(Form.GetWidth(), C.Expected);
        EXPECT_EQ(Form.GetHeight(), C.ExpectedHeight);
    }

    // Limits taken back free the window again.
    Limits->SetMaxWidth(0);
    Limits->SetMaxHeight(0);
    for (int I = 0; I < 3; ++I) Host.Step(5);
    SDL_GetWindowMaximumSize(Window, &W, &H);
    EXPECT_GT(W, 2000);
    EXPECT_GT(H, 2000);
}

class TDragPad : public TPad {
public:
    using TPad::TPad;
    bool Accepts = false;
    void DragOver(TObject*, int, int, TDragState, bool& Accept) override { Accept = Accepts; }
};

// The pointer shape follows a drag: the drag cursor over a target that
// takes the drop, the no-drop cursor over one that refuses.
TEST_F(SdlHost, DragCursorsShowWhetherTheTargetAccepts) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 300, 100);
    auto* Source = new TPad(&Form);
    Source->SetBounds(0, 0, 100, 100);
    Source->SetParent(&Form);
    Source->OnMouseDown = [Source](TObject*, TMouseButton, TShiftState, int, int) {
        Source->BeginDrag(true);
    };
    auto* Refuses = new TDragPad(&Form);
    Refuses->SetBounds(100, 0, 100, 100);
    Refuses->SetParent(&Form);
    auto* Accepts = new TDragPad(&Form);
    Accepts->SetBounds(200, 0, 100, 100);
    Accepts->SetParent(&Form);
    Accepts->Accepts = true;
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    ASSERT_NE(Host.WindowOf(&Form), nullptr);

    Host.PushMouseMove(&Form, 50, 50);
    Host.PushMouseButton(&Form, 50, 50, mbLeft, true);
    Host.Step(5);
    Host.PushMouseMove(&Form, 150, 50);
    Host.Step(5);
    EXPECT_EQ(Host.ShownCursor(), crNoDrop);
    Host.PushMouseMove(&Form, 250, 50);
    Host.Step(5);
    EXPECT_EQ(Host.ShownCursor(), crDrag);
    Host.PushMouseButton(&Form, 250, 50, mbLeft, false);
    Host.Step(5);
    EXPECT_EQ(Host.ShownCursor(), crArrow);
}

} // namespace

namespace {

// A drop-down list is a window of its own outside the form; a click in it
// chooses. A modal form runs its loop on the window host's events.
TEST_F(SdlHost, PopupListsAreTheirOwnWindowsAndModalFormsLoopOnWindowEvents) {
    TSdlHost Host;
    TForm Form(nullptr);
    Form.SetBounds(40, 40, 200, 60);
    auto* Combo = new TComboBox(&Form);
    Combo->SetParent(&Form);
    Combo->SetStyle(csDropDownList);
    Combo->SetBounds(10, 10, 150, 0);
    Combo->GetItems()->SetText("One\nTwo\nThree\nFour\nFive\n");
    Form.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    Host.PushMouseButton(&Form, 40, 18, mbLeft, true);
    Host.PushMouseButton(&Form, 40, 18, mbLeft, false);
    for (int I = 0; I < 5; ++I) Host.Step(5);
    TPopupList* Popup = Combo->GetPopupList();
    ASSERT_NE(Popup, nullptr);
    ASSERT_NE(Host.WindowOf(Popup), nullptr);
    // Five items reach below the 60-pixel form: the list is not cut off.
    EXPECT_GT(Popup->GetTop() + Popup->GetHeight(), Form.GetTop() + Form.GetHeight());
    const TRect Item = Popup->GetList()->ItemRect(3);
    Host.PushMouseMove(Popup, 20, Item.Top + 4);
    Host.PushMouseButton(Popup, 20, Item.Top + 4, mbLeft, true);
    Host.PushMouseButton(Popup, 20, Item.Top + 4, mbLeft, false);
    for (int I = 0; I < 10 && Combo->GetDroppedDown(); ++I) Host.Step(5);
    EXPECT_FALSE(Combo->GetDroppedDown());
    EXPECT_EQ(Combo->GetText(), "Four");
    Host.Step(1);
    EXPECT_EQ(Host.WindowOf(Popup), nullptr);
    // Without a window manager the popup took the keyboard as it mapped; its
    // form's window must have it back, or typing goes nowhere.
    for (int I = 0; I < 20 && SDL_GetKeyboardFocus() != Host.WindowOf(&Form); ++I) Host.Step(5);
    EXPECT_EQ(SDL_GetKeyboardFocus(), Host.WindowOf(&Form));

    TForm Dialog(nullptr);
    Dialog.SetBounds(80, 80, 160, 80);
    auto* Ok = new TButton(&Dialog);
    Ok->SetParent(&Dialog);
    Ok->SetBounds(10, 10, 75, 25);
    Ok->SetModalResult(mrOk);
    // Clicks the button through the window system once its window exists.
    HWND Helper = 0;
    Helper = AllocateHWnd([&](TMessage& M) {
        if (M.Msg != WM_TIMER || !Host.WindowOf(&Dialog)) return;
        KillTimer(Helper, 1);
        Host.PushMouseButton(&Dialog, 20, 20, mbLeft, true);
        Host.PushMouseButton(&Dialog, 20, 20, mbLeft, false);
    });
    SetTimer(Helper, 1, 20);
    EXPECT_EQ(Dialog.ShowModal(), mrOk);
    DeallocateHWnd(Helper);
}

} // namespace

// At twice the standard resolution a form designed for three quarters of
// the screen would open half as large again as the screen: it opens in the
// screen's work area instead, its frame too where a window manager adds
// one, at no less than its least size.
TEST_F(SdlHost, AFormScaledAsItShowsOpensWithinTheWorkArea) {
    TSdlHost Host;
    folio::Screen->SetPixelsPerInch(192);
    const TRect Area = folio::Screen->GetWorkAreaRect();
    TForm Form(nullptr);
    Form.SetBorderStyle(bsSizeable);
    Form.SetCaption("scaled");
    Form.SetBounds(40, 40, Area.Width() * 3 / 4, Area.Height() * 3 / 4);
    Form.GetConstraints()->SetMinWidth(120);
    Form.GetConstraints()->SetMinHeight(90);
    Form.Show();
    for (int I = 0; I < 100 && !Host.WindowOf(&Form); ++I) Host.Step(5);
    ASSERT_NE(Host.WindowOf(&Form), nullptr);
    auto* Window = static_cast<SDL_Window*>(Host.WindowOf(&Form));
    // The window manager, where there is one, frames the window and the
    // form learns the frame; the window then settles.
    TSize Size{};
    for (int I = 0, Same = 0; I < 200 && Same < 10; ++I) {
        Host.Step(10);
        const TSize Now = Host.WindowSize(&Form);
        Same = Now == Size ? Same + 1 : 0;
        Size = Now;
    }
    int X = 0, Y = 0, Top = 0, Left = 0, Bottom = 0, Right = 0;
    SDL_GetWindowPosition(Window, &X, &Y);
    SDL_GetWindowBordersSize(Window, &Top, &Left, &Bottom, &Right);
    SDL_Rect Usable;
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &Usable), 0);
    EXPECT_GE(X - Left, Usable.x);
    EXPECT_GE(Y - Top, Usable.y);
    EXPECT_LE(X + Size.cx + Right, Usable.x + Usable.w);
    EXPECT_LE(Y + Size.cy + Bottom, Usable.y + Usable.h);
    // The form says what the window shows, and it kept its least size.
    EXPECT_EQ(Size, (TSize{Form.GetWidth(), Form.GetHeight()}));
    EXPECT_EQ(Form.GetConstraints()->GetMinWidth(), 240);
    EXPECT_GE(Form.GetWidth(), 240);
    EXPECT_GE(Form.GetHeight(), 180);
}

// A handler that frees another form while events for that form's window are
// still queued: the events are dropped, never handed to the freed form (the
// designer frees the form it designs when a paste replaces it).
TEST_F(SdlHost, EventsQueuedForAFormFreedMeanwhileAreDropped) {
    TSdlHost Host;
    auto Doomed = std::make_unique<TForm>(nullptr);
    Doomed->SetBounds(40, 40, 200, 120);
    TForm Survivor(nullptr);
    Survivor.SetBounds(40, 40, 200, 120);
    std::vector<String> Heard;
    Survivor.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        Heard.push_back("down");
        Doomed.reset();
    };
    Survivor.OnMouseMove = [&](TObject*, TShiftState, int X, int Y) {
        Heard.push_back("move " + std::to_string(X) + "," + std::to_string(Y));
    };
    Doomed->Show();
    Survivor.Show();
    for (int I = 0; I < 5; ++I) Host.Step(5);
    Host.PushMouseButton(&Survivor, 10, 10, mbLeft, true);
    Host.PushMouseMove(Doomed.get(), 30, 30);
    Host.PushMouseButton(Doomed.get(), 30, 30, mbLeft, true);
    Host.PushMouseButton(Doomed.get(), 30, 30, mbLeft, false);
    Host.PushMouseButton(&Survivor, 10, 10, mbLeft, false);
    EXPECT_NO_THROW(Host.Step(0));
    for (int I = 0; I < 5; ++I) Host.Step(5);
    ASSERT_FALSE(Doomed);
    EXPECT_EQ(Heard, std::vector<String>{"down"});
}
