// The monkey test's driver. It starts a program on an X display that has a
// window manager, sends it seeded random input through the X server (the
// XTest extension, so the program sees what a user's hands would make) and
// watches it:
//
//  - after every event it pings the program's window (_NET_WM_PING, which
//    the program's event loop answers when it next reads its events) and
//    measures how long the loop took to answer;
//  - a program that dies, reports a sanitizer error or stops answering is
//    a failure: the seed and the last events are written to a file, and
//    the commands that replay them are printed;
//  - a program that ends by itself (its last window closed) is started
//    again, and the run goes on;
//  - its resident memory is sampled as the run goes.
//
// Random input never reaches a file dialog: a dialog that lets a person
// pick any file of the machine is closed at once, and files are saved and
// opened only by the designer's own steps, inside the run's folder.
//
//   monkey --name NAME --profile gallery|designer --out DIR [--seed N]
//          [--events N] [--seconds S] [--warmup N] [--form FILE]
//          [--replay FILE] -- PROGRAM [ARGS...]

#include "MonkeyEvents.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace monkey;
using TClock = std::chrono::steady_clock;

// Events kept for a failure's replay file.
constexpr size_t KeptEvents = 200;
// An answer slower than this is listed.
constexpr double SlowMs = 100;
// How long the designer's reopen waits for its Open dialog. The dialog
// shows within a second even under the sanitizers; when it does not come
// (a menu held the keys, another window had them), waiting longer only
// slows the run down.
constexpr double ReopenWaitMs = 3000;
// Events in a row a running program may spend without a window shown.
constexpr long WindowlessLimit = 200;

struct TOptions {
    std::string Name;
    std::string Profile = "gallery";
    std::string Out = ".";
    std::uint64_t Seed = 1;
    long Events = 1000;
    double Seconds = 0; // 0: no time bound
    long Warmup = -1;   // -1: a tenth of the events, at most 10,000
    std::string Form;   // the designer's form file, for its save and reopen steps
    std::string Replay;
    std::string Trace; // every event with the windows it met, when given
    double HangSeconds = 60;
    // Scales the driver's own pauses (a press held, the steps of a drag,
    // typing, idle waits): 1 is a quick human hand; less sends the same
    // events faster, for long runs.
    double Pace = 1;
    // Never lets random input close the program's last main window, so one
    // program life lasts the whole run (for a memory figure); otherwise one
    // close in ten goes through.
    bool KeepMain = false;
    std::vector<std::string> Command;
};

[[noreturn]] void Usage() {
    std::cerr << "usage: monkey --name NAME --profile gallery|designer --out DIR [--seed N]\n"
                 "              [--events N] [--seconds S] [--warmup N] [--form FILE]\n"
                 "              [--replay FILE] [--trace FILE] [--hang-seconds S] [--pace F]\n"
                 "              [--keep-main] -- PROGRAM [ARGS...]\n";
    std::exit(2);
}

TOptions ParseOptions(int argc, char** argv) {
    TOptions Options;
    int I = 1;
    for (; I < argc; ++I) {
        const std::string Arg = argv[I];
        if (Arg == "--") {
            ++I;
            break;
        }
        if (Arg == "--keep-main") {
            Options.KeepMain = true;
            continue;
        }
        if (I + 1 >= argc) Usage();
        const std::string Value = argv[++I];
        if (Arg == "--name")
            Options.Name = Value;
        else if (Arg == "--profile")
            Options.Profile = Value;
        else if (Arg == "--out")
            Options.Out = Value;
        else if (Arg == "--seed")
            Options.Seed = std::strtoull(Value.c_str(), nullptr, 10);
        else if (Arg == "--events")
            Options.Events = std::strtol(Value.c_str(), nullptr, 10);
        else if (Arg == "--seconds")
            Options.Seconds = std::strtod(Value.c_str(), nullptr);
        else if (Arg == "--warmup")
            Options.Warmup = std::strtol(Value.c_str(), nullptr, 10);
        else if (Arg == "--form")
            Options.Form = Value;
        else if (Arg == "--replay")
            Options.Replay = Value;
        else if (Arg == "--trace")
            Options.Trace = Value;
        else if (Arg == "--hang-seconds")
            Options.HangSeconds = std::strtod(Value.c_str(), nullptr);
        else if (Arg == "--pace")
            Options.Pace = std::strtod(Value.c_str(), nullptr);
        else
            Usage();
    }
    for (; I < argc; ++I) Options.Command.push_back(argv[I]);
    if (Options.Warmup < 0) Options.Warmup = std::min(10000L, std::max(1L, Options.Events / 10));
    if (Options.Name.empty() || Options.Command.empty()) Usage();
    if (Options.Profile != "gallery" && Options.Profile != "designer") Usage();
    if (!(Options.Pace > 0 && Options.Pace <= 1)) Usage();
    return Options;
}

void SleepMs(double Ms) {
    std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(Ms * 1000)));
}

double MsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// --- The program under test ------------------------------------------------

class TProgram {
public:
    TProgram(std::vector<std::string> Command, std::string LogFile)
        : FCommand(std::move(Command)), FLogFile(std::move(LogFile)) {}
    ~TProgram() { Kill(); }

    void Start() {
        FExited = false;
        FWaitStatus = 0;
        FPid = ::fork();
        if (FPid < 0) {
            std::perror("monkey: fork");
            std::exit(2);
        }
        if (FPid == 0) {
            const int Log = ::open(FLogFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
            if (Log >= 0) {
                ::dup2(Log, 1);
                ::dup2(Log, 2);
                ::close(Log);
            }
            std::vector<char*> Args;
            for (std::string& Arg : FCommand) Args.push_back(Arg.data());
            Args.push_back(nullptr);
            ::execvp(Args[0], Args.data());
            std::perror("monkey: exec");
            ::_exit(127);
        }
    }

    pid_t Pid() const { return FPid; }

    // Each thread's state and kernel wait channel ("S poll_schedule_timeout"),
    // and the system call it is in: where a program that does not answer
    // is waiting.
    std::string WhereItWaits() const {
        std::string Out;
        std::error_code Error;
        const std::string Tasks = "/proc/" + std::to_string(FPid) + "/task";
        for (const auto& Task : std::filesystem::directory_iterator(Tasks, Error)) {
            const auto Read = [&](const char* Name) {
                std::ifstream In(Task.path() / Name);
                std::string Text;
                std::getline(In, Text);
                return Text;
            };
            const std::string Stat = Read("stat");
            const size_t Close = Stat.rfind(')');
            const char State =
                Close != std::string::npos && Close + 2 < Stat.size() ? Stat[Close + 2] : '?';
            const std::string Syscall = Read("syscall");
            Out += (Out.empty() ? "" : "; ") + Task.path().filename().string() + ' ' + State + ' ' +
                   Read("wchan") + " syscall " + Syscall.substr(0, Syscall.find(' '));
        }
        return Out;
    }

    // True once the program has ended; WaitStatus() then says how.
    bool Ended() {
        if (FExited) return true;
        if (FPid <= 0) return true;
        int Code = 0;
        if (::waitpid(FPid, &Code, WNOHANG) == FPid) {
            FExited = true;
            FWaitStatus = Code;
        }
        return FExited;
    }
    int WaitStatus() const { return FWaitStatus; }

    // Asks the program to end (SIGTERM, as a session's end would) and waits
    // for it; kills it after Seconds. True when it ended by itself.
    bool Stop(double Seconds) {
        if (Ended()) return true;
        ::kill(FPid, SIGTERM);
        const auto Start = TClock::now();
        while (MsSince(Start) < Seconds * 1000) {
            if (Ended()) return true;
            SleepMs(20);
        }
        Kill();
        return false;
    }

    void Kill() {
        if (Ended()) return;
        ::kill(FPid, SIGKILL);
        int Code = 0;
        ::waitpid(FPid, &Code, 0);
        FExited = true;
        FWaitStatus = Code;
    }

    // Processor time the program has used so far, all its threads, in
    // milliseconds, and the time its threads waited for a processor while
    // they were ready to run (the scheduler's own account, to the
    // nanosecond). A loaded machine shows in the second.
    std::pair<double, double> CpuMs() const {
        double RunNs = 0, WaitNs = 0;
        const std::string Tasks = "/proc/" + std::to_string(FPid) + "/task";
        std::error_code Error;
        for (const auto& Task : std::filesystem::directory_iterator(Tasks, Error)) {
            std::ifstream In(Task.path() / "schedstat");
            double Run = 0, Wait = 0;
            if (In >> Run >> Wait) {
                RunNs += Run;
                WaitNs += Wait;
            }
        }
        return {RunNs / 1e6, WaitNs / 1e6};
    }

    // Resident memory in KiB, from the kernel's account of the process.
    long ResidentKiB() const {
        std::ifstream In("/proc/" + std::to_string(FPid) + "/status");
        std::string Line;
        while (std::getline(In, Line))
            if (Line.rfind("VmRSS:", 0) == 0) return std::strtol(Line.c_str() + 6, nullptr, 10);
        return -1;
    }

    // What the program wrote since Offset.
    std::string LogSince(std::streamoff Offset) const {
        std::ifstream In(FLogFile, std::ios::binary);
        In.seekg(Offset);
        std::ostringstream Text;
        Text << In.rdbuf();
        return Text.str();
    }
    std::streamoff LogSize() const {
        std::ifstream In(FLogFile, std::ios::binary | std::ios::ate);
        return In ? static_cast<std::streamoff>(In.tellg()) : 0;
    }

private:
    std::vector<std::string> FCommand;
    std::string FLogFile;
    pid_t FPid = -1;
    bool FExited = true;
    int FWaitStatus = 0;
};

// The sanitizer or crash a log shows, or nothing.
std::string ReportIn(const std::string& Log) {
    static const char* const Marks[] = {
        "ERROR: AddressSanitizer",           "ERROR: LeakSanitizer",     "runtime error:",
        "ERROR: UndefinedBehaviorSanitizer", "WARNING: ThreadSanitizer", "terminate called",
    };
    for (const char* Mark : Marks) {
        const size_t At = Log.find(Mark);
        if (At == std::string::npos) continue;
        const size_t LineStart = Log.rfind('\n', At);
        const size_t LineEnd = Log.find('\n', At);
        return Log.substr(LineStart == std::string::npos ? 0 : LineStart + 1,
                          LineEnd == std::string::npos ? std::string::npos
                                                       : LineEnd - (LineStart + 1));
    }
    return "";
}

std::string DescribeStatus(int WaitStatus) {
    if (WIFSIGNALED(WaitStatus)) return "killed by signal " + std::to_string(WTERMSIG(WaitStatus));
    if (WIFEXITED(WaitStatus)) return "exit code " + std::to_string(WEXITSTATUS(WaitStatus));
    return "status " + std::to_string(WaitStatus);
}

// --- The display -------------------------------------------------------------

struct TAppWindow {
    Window Id = 0;
    TWindowView View;
};

class TDisplay {
public:
    TDisplay() {
        FDisplay = XOpenDisplay(nullptr);
        if (!FDisplay) {
            std::cerr << "monkey: cannot open the display\n";
            std::exit(2);
        }
        int Event, Error, Major, Minor;
        if (!XTestQueryExtension(FDisplay, &Event, &Error, &Major, &Minor)) {
            std::cerr << "monkey: the display has no XTest extension\n";
            std::exit(2);
        }
        FRoot = DefaultRootWindow(FDisplay);
        // Pings come back to the root window; this is how they are heard.
        XSelectInput(FDisplay, FRoot, SubstructureNotifyMask);
        for (auto& [Name, AtomRef] : std::initializer_list<std::pair<const char*, Atom*>>{
                 {"WM_PROTOCOLS", &WmProtocols},
                 {"WM_DELETE_WINDOW", &WmDeleteWindow},
                 {"_NET_WM_PING", &NetWmPing},
                 {"_NET_WM_PID", &NetWmPid},
                 {"_NET_CLIENT_LIST", &NetClientList},
                 {"_NET_WM_NAME", &NetWmName},
                 {"UTF8_STRING", &Utf8String},
             })
            *AtomRef = XInternAtom(FDisplay, Name, False);
        XSetErrorHandler([](Display*, XErrorEvent*) {
            // Windows come and go under the driver's feet: an error about
            // one that just went is expected and harmless.
            return 0;
        });
    }
    ~TDisplay() { XCloseDisplay(FDisplay); }

    Display* Get() const { return FDisplay; }

    // The program's windows that show now: framed ones in the window
    // manager's order (oldest first), then popups.
    std::vector<TAppWindow> WindowsOf(pid_t Pid) {
        std::vector<TAppWindow> Result;
        for (Window W : ClientList())
            if (PidOf(W) == Pid) Add(W, false, Result);
        Window RootReturn, Parent, *Children = nullptr;
        unsigned Count = 0;
        if (XQueryTree(FDisplay, FRoot, &RootReturn, &Parent, &Children, &Count)) {
            for (unsigned I = 0; I < Count; ++I) {
                XWindowAttributes Attributes;
                if (!XGetWindowAttributes(FDisplay, Children[I], &Attributes)) continue;
                if (Attributes.override_redirect && PidOf(Children[I]) == Pid)
                    Add(Children[I], true, Result);
            }
            if (Children) XFree(Children);
        }
        return Result;
    }

    void MovePointer(int X, int Y) {
        XTestFakeMotionEvent(FDisplay, -1, X, Y, CurrentTime);
        XFlush(FDisplay);
    }
    void Button(unsigned Number, bool Down) {
        XTestFakeButtonEvent(FDisplay, Number, Down ? True : False, CurrentTime);
        XFlush(FDisplay);
    }
    void Key(KeySym Sym, bool Down) {
        const KeyCode Code = XKeysymToKeycode(FDisplay, Sym);
        if (!Code) return;
        XTestFakeKeyEvent(FDisplay, Code, Down ? True : False, CurrentTime);
        XFlush(FDisplay);
    }
    // Whether typing Sym needs Shift held: its key gives it on the second level.
    bool NeedsShift(KeySym Sym) {
        const KeyCode Code = XKeysymToKeycode(FDisplay, Sym);
        return Code && XkbKeycodeToKeysym(FDisplay, Code, 0, 0) != Sym &&
               XkbKeycodeToKeysym(FDisplay, Code, 0, 1) == Sym;
    }
    void Resize(Window W, int Width, int Height) {
        XResizeWindow(FDisplay, W, static_cast<unsigned>(Width), static_cast<unsigned>(Height));
        XFlush(FDisplay);
    }
    // What the window manager's close button does.
    void Close(Window W) {
        XEvent Event{};
        Event.xclient.type = ClientMessage;
        Event.xclient.window = W;
        Event.xclient.message_type = WmProtocols;
        Event.xclient.format = 32;
        Event.xclient.data.l[0] = static_cast<long>(WmDeleteWindow);
        Event.xclient.data.l[1] = CurrentTime;
        XSendEvent(FDisplay, W, False, NoEventMask, &Event);
        XFlush(FDisplay);
    }
    void Sync() { XSync(FDisplay, False); }

    enum class TPingResult { Answered, Gone, TimedOut };

    // Sends a ping to W and waits for the answer within Timeout
    // milliseconds. A window that is unmapped or destroyed meanwhile (the
    // event being answered closed it) will never answer: that is known at
    // once instead of after the whole timeout.
    TPingResult Ping(Window W, double TimeoutMs, double LateMs = 0,
                     const std::function<void()>& OnLate = {}) {
        bool Told = false;
        const long Serial = ++FPingSerial;
        XSelectInput(FDisplay, W, StructureNotifyMask);
        XEvent Event{};
        Event.xclient.type = ClientMessage;
        Event.xclient.window = W;
        Event.xclient.message_type = WmProtocols;
        Event.xclient.format = 32;
        Event.xclient.data.l[0] = static_cast<long>(NetWmPing);
        Event.xclient.data.l[1] = Serial;
        Event.xclient.data.l[2] = static_cast<long>(W);
        const auto Start = TClock::now();
        XSendEvent(FDisplay, W, False, NoEventMask, &Event);
        XFlush(FDisplay);
        // The X server's own round trip, over the same moment: a slow
        // answer with a slow server is the machine's, not the program's.
        XSync(FDisplay, False);
        FLastServerMs = MsSince(Start);
        for (;;) {
            while (XPending(FDisplay)) {
                XEvent Reply;
                XNextEvent(FDisplay, &Reply);
                if (Reply.type == ClientMessage && Reply.xclient.message_type == WmProtocols &&
                    static_cast<Atom>(Reply.xclient.data.l[0]) == NetWmPing &&
                    Reply.xclient.data.l[1] == Serial)
                    return TPingResult::Answered;
                if ((Reply.type == DestroyNotify && Reply.xdestroywindow.window == W) ||
                    (Reply.type == UnmapNotify && Reply.xunmap.window == W))
                    return TPingResult::Gone;
                Note(Reply);
            }
            const double Left = TimeoutMs - MsSince(Start);
            if (Left <= 0) return TPingResult::TimedOut;
            double Slice = std::min(Left, 200.0);
            if (OnLate && !Told) {
                if (MsSince(Start) >= LateMs) {
                    Told = true;
                    OnLate();
                } else {
                    Slice = std::min(Slice, LateMs - MsSince(Start));
                }
            }
            pollfd Fd{ConnectionNumber(FDisplay), POLLIN, 0};
            ::poll(&Fd, 1, static_cast<int>(Slice) + 1);
        }
    }

    // Waits, for at most a second and a half each, until the windows the
    // program created since the last call show or go. The loop may answer
    // a ping before the window manager has shown a window it just made (a
    // dialog opened by the last event); the next event must see it.
    void SettleNewWindows(pid_t Pid) {
        XSync(FDisplay, False);
        while (XPending(FDisplay)) {
            XEvent Event;
            XNextEvent(FDisplay, &Event);
            Note(Event);
        }
        for (const auto& [W, Created] : FCreated) {
            while (MsSince(Created) < 1500) {
                XWindowAttributes Attributes;
                if (!XGetWindowAttributes(FDisplay, W, &Attributes) || PidOf(W) != Pid ||
                    Attributes.map_state == IsViewable)
                    break;
                SleepMs(20);
            }
        }
        FCreated.clear();
    }

    // How long the X server took to answer the driver itself during the
    // last ping.
    double LastServerMs() const { return FLastServerMs; }

    // Whether the window says it answers pings.
    bool AnswersPings(Window W) {
        Atom* Protocols = nullptr;
        int Count = 0;
        bool Found = false;
        if (XGetWMProtocols(FDisplay, W, &Protocols, &Count)) {
            for (int I = 0; I < Count; ++I) Found = Found || Protocols[I] == NetWmPing;
            XFree(Protocols);
        }
        return Found;
    }

private:
    std::vector<Window> ClientList() {
        std::vector<Window> Result;
        Atom Type;
        int Format;
        unsigned long Count, After;
        unsigned char* Data = nullptr;
        if (XGetWindowProperty(FDisplay, FRoot, NetClientList, 0, 4096, False, XA_WINDOW, &Type,
                               &Format, &Count, &After, &Data) == Success &&
            Data) {
            if (Format == 32) {
                const auto* Ids = reinterpret_cast<const Window*>(Data);
                Result.assign(Ids, Ids + Count);
            }
            XFree(Data);
        }
        return Result;
    }

    pid_t PidOf(Window W) {
        Atom Type;
        int Format;
        unsigned long Count, After;
        unsigned char* Data = nullptr;
        pid_t Pid = -1;
        if (XGetWindowProperty(FDisplay, W, NetWmPid, 0, 1, False, XA_CARDINAL, &Type, &Format,
                               &Count, &After, &Data) == Success &&
            Data) {
            if (Format == 32 && Count == 1)
                Pid = static_cast<pid_t>(*reinterpret_cast<const unsigned long*>(Data));
            XFree(Data);
        }
        return Pid;
    }

    std::string TitleOf(Window W) {
        Atom Type;
        int Format;
        unsigned long Count, After;
        unsigned char* Data = nullptr;
        std::string Title;
        if (XGetWindowProperty(FDisplay, W, NetWmName, 0, 1024, False, Utf8String, &Type, &Format,
                               &Count, &After, &Data) == Success &&
            Data) {
            Title.assign(reinterpret_cast<const char*>(Data), Count);
            XFree(Data);
        }
        if (Title.empty()) {
            char* Name = nullptr;
            if (XFetchName(FDisplay, W, &Name) && Name) {
                Title = Name;
                XFree(Name);
            }
        }
        return Title;
    }

    void Add(Window W, bool Popup, std::vector<TAppWindow>& Result) {
        XWindowAttributes Attributes;
        if (!XGetWindowAttributes(FDisplay, W, &Attributes)) return;
        if (Attributes.map_state != IsViewable || Attributes.width < 2 || Attributes.height < 2)
            return;
        int X = 0, Y = 0;
        Window Child;
        if (!XTranslateCoordinates(FDisplay, W, FRoot, 0, 0, &X, &Y, &Child)) return;
        TAppWindow App;
        App.Id = W;
        App.View.Title = TitleOf(W);
        App.View.X = X;
        App.View.Y = Y;
        App.View.Width = Attributes.width;
        App.View.Height = Attributes.height;
        App.View.Popup = Popup;
        Result.push_back(App);
    }

    // Keeps the top-level windows created since the last settling.
    void Note(const XEvent& Event) {
        if (Event.type == CreateNotify && Event.xcreatewindow.parent == FRoot)
            FCreated.emplace_back(Event.xcreatewindow.window, TClock::now());
    }

    Display* FDisplay;
    Window FRoot;
    long FPingSerial = 0;
    double FLastServerMs = 0;
    std::vector<std::pair<Window, TClock::time_point>> FCreated;

public:
    Atom WmProtocols = 0, WmDeleteWindow = 0, NetWmPing = 0, NetWmPid = 0, NetClientList = 0,
         NetWmName = 0, Utf8String = 0;
};

// --- Input ---------------------------------------------------------------------

// The keysym a typed character comes from.
KeySym SymOf(char C) {
    switch (C) {
    case ' ':
        return XK_space;
    case '.':
        return XK_period;
    case '/':
        return XK_slash;
    case '-':
        return XK_minus;
    case '_':
        return XK_underscore;
    default:
        return static_cast<KeySym>(static_cast<unsigned char>(C));
    }
}

class TInput {
public:
    TInput(TDisplay& Display, double Pace) : FDisplay(Display), FPace(Pace) {}

    // A pause of the hand, scaled by the run's pace.
    void Pause(double Ms) const { SleepMs(Ms * FPace); }

    // A chord such as "ctrl+shift+z" or "F2".
    void Chord(const std::string& Text) {
        std::vector<KeySym> Held;
        std::string Rest = Text;
        for (size_t Plus; (Plus = Rest.find('+')) != std::string::npos && Plus > 0;) {
            const std::string Modifier = Rest.substr(0, Plus);
            Rest.erase(0, Plus + 1);
            if (Modifier == "ctrl") Held.push_back(XK_Control_L);
            if (Modifier == "shift") Held.push_back(XK_Shift_L);
            if (Modifier == "alt") Held.push_back(XK_Alt_L);
        }
        const KeySym Sym = XStringToKeysym(Rest.c_str());
        if (Sym == NoSymbol) return;
        for (KeySym M : Held) FDisplay.Key(M, true);
        FDisplay.Key(Sym, true);
        FDisplay.Key(Sym, false);
        for (auto M = Held.rbegin(); M != Held.rend(); ++M) FDisplay.Key(*M, false);
    }

    void Type(const std::string& Text) {
        for (const char C : Text) {
            const KeySym Sym = SymOf(C);
            const bool Shift = FDisplay.NeedsShift(Sym);
            if (Shift) FDisplay.Key(XK_Shift_L, true);
            FDisplay.Key(Sym, true);
            FDisplay.Key(Sym, false);
            if (Shift) FDisplay.Key(XK_Shift_L, false);
            Pause(2);
        }
    }

    void Click(int X, int Y, unsigned Button, int Times) {
        FDisplay.MovePointer(X, Y);
        for (int I = 0; I < Times; ++I) {
            FDisplay.Button(Button, true);
            Pause(10);
            FDisplay.Button(Button, false);
            if (I + 1 < Times) Pause(40);
        }
    }

    void Drag(int X, int Y, int X2, int Y2, int Steps) {
        FDisplay.MovePointer(X, Y);
        FDisplay.Button(1, true);
        Pause(20);
        for (int I = 1; I <= Steps; ++I) {
            FDisplay.MovePointer(X + (X2 - X) * I / Steps, Y + (Y2 - Y) * I / Steps);
            Pause(25);
        }
        FDisplay.Button(1, false);
    }

    void Wheel(int X, int Y, int Notches) {
        FDisplay.MovePointer(X, Y);
        const unsigned Button = Notches > 0 ? 4 : 5;
        for (int I = 0; I < std::abs(Notches); ++I) {
            FDisplay.Button(Button, true);
            FDisplay.Button(Button, false);
        }
    }

private:
    TDisplay& FDisplay;
    double FPace;
};

// --- The run -------------------------------------------------------------------

// The dialogs that let a person pick any file of the machine: the
// framework's own titles and those the two programs give them.
bool IsFileDialog(const std::string& Title) {
    static const char* const Titles[] = {"Open", "Save As", "Open form", "Save form as",
                                         "Select picture"};
    for (const char* T : Titles)
        if (Title == T) return true;
    return false;
}

struct TSlowEvent {
    long Index;
    double Ms;
    double CpuMs;    // the program's processor time over the same span
    double ReadyMs;  // the time it waited for a processor meanwhile
    double ServerMs; // the X server's round trip to the driver meanwhile
    std::string Event;
    bool FileDialog;       // a file dialog was open, or the event saved or opened a file
    std::string WaitingIn; // each thread's state and kernel wait channel when it was late
    double PingMs;         // of Ms, the answered ping itself (the rest: finding the window)
};

class TMonkey {
public:
    explicit TMonkey(TOptions Options)
        : FOptions(std::move(Options)), FInput(FDisplay, FOptions.Pace),
          FProgram(FOptions.Command, FOptions.Out + "/" + FOptions.Name + ".log"),
          FProfile(FOptions.Profile == "designer" ? TProfile::Designer() : TProfile::Gallery()),
          FRandom(FOptions.Seed), FGuardRandom(FOptions.Seed ^ 0x9e3779b97f4a7c15ULL) {
        if (!FOptions.Trace.empty()) FTrace = std::make_unique<std::ofstream>(FOptions.Trace);
    }

    int Run() {
        std::vector<TEvent> Script;
        if (!FOptions.Replay.empty()) Script = ReadReplay(FOptions.Replay);
        if (!StartProgram()) return Fail("the program showed no window within 120 s");
        const auto Start = TClock::now();
        const long Total = Script.empty() ? FOptions.Events : static_cast<long>(Script.size());
        for (FIndex = 1; FIndex <= Total; ++FIndex) {
            if (Script.empty() && FOptions.Seconds > 0 && MsSince(Start) > FOptions.Seconds * 1000)
                break;
            FDisplay.SettleNewWindows(FProgram.Pid());
            std::vector<TAppWindow> Windows = FDisplay.WindowsOf(FProgram.Pid());
            TEvent Event;
            if (!Script.empty()) {
                Event = Script[static_cast<size_t>(FIndex - 1)];
            } else {
                std::vector<TWindowView> Views;
                for (const TAppWindow& W : Windows) Views.push_back(W.View);
                Event = NextEvent(FRandom, Views, FProfile);
                Event = Guard(Event, Windows);
            }
            const bool FileStep =
                Event.Kind == TKind::Save || Event.Kind == TKind::Reopen ||
                std::any_of(Windows.begin(), Windows.end(),
                            [](const TAppWindow& W) { return IsFileDialog(W.View.Title); });
            Remember(Event);
            if (FTrace) {
                *FTrace << FIndex << ' ' << FormatEvent(Event) << "  # "
                        << FProgram.ResidentKiB() / 1024 << " MiB";
                for (const TAppWindow& W : Windows) *FTrace << " [" << WindowName(W.View) << ']';
                *FTrace << std::endl;
            }
            FCpuBefore = FProgram.CpuMs();
            Perform(Event, Windows);
            if (const int Code = Check(Event, FileStep)) return Code;
            if (FIndex == FOptions.Warmup) {
                FRssStart = FProgram.ResidentKiB();
                FRssStartAt = FIndex;
            }
            NoteLife();
            if (FIndex % 1000 == 0) Progress(Start);
        }
        FEventsDone = FIndex - 1;
        FRssEnd = FProgram.ResidentKiB();
        if (FRssStart < 0) FRssStart = FRssFirst;
        // The end of the session: the program is asked to end, and what it
        // reports on the way out (leaks) still counts.
        const std::streamoff LogBefore = FProgram.LogSize();
        const bool Stopped = FProgram.Stop(30);
        const std::string Report = ReportIn(FProgram.LogSince(LogBefore));
        if (!Report.empty()) return Fail("at the end of the run: " + Report);
        if (!Stopped) return Fail("the program did not end within 30 s of SIGTERM");
        Summary(Start);
        return 0;
    }

private:
    bool StartProgram() {
        FLogAtStart = FProgram.LogSize();
        FProgram.Start();
        ++FStarts;
        FLives.push_back(TLife{FIndex + 1, FIndex, -1, -1});
        const auto Start = TClock::now();
        while (MsSince(Start) < 120000) {
            if (FProgram.Ended()) return false;
            for (const TAppWindow& W : FDisplay.WindowsOf(FProgram.Pid()))
                if (!W.View.Popup && FDisplay.AnswersPings(W.Id)) {
                    // Let it settle: first paint, the window manager's frame.
                    SleepMs(500);
                    if (FRssFirst < 0) FRssFirst = FProgram.ResidentKiB();
                    return true;
                }
            SleepMs(100);
        }
        return false;
    }

    // Keeps random input out of the dialogs that reach the whole file
    // system, and makes closing a program's last window rare.
    TEvent Guard(const TEvent& Event, const std::vector<TAppWindow>& Windows) {
        for (const TAppWindow& W : Windows)
            if (IsFileDialog(W.View.Title)) {
                TEvent Close;
                Close.Kind = TKind::Close;
                Close.Window = WindowName(W.View);
                // A file dialog that stays after several closes waits on a
                // window of its own (a question it asked): close the
                // topmost other window first.
                if (++FFileDialogCloses > 3) {
                    for (auto O = Windows.rbegin(); O != Windows.rend(); ++O)
                        if (!O->View.Popup && !IsFileDialog(O->View.Title) &&
                            WindowName(O->View) != WindowName(Windows.front().View)) {
                            Close.Window = WindowName(O->View);
                            break;
                        }
                    FFileDialogCloses = 0;
                }
                return Close;
            }
        FFileDialogCloses = 0;
        if (Event.Kind == TKind::Close) {
            int Framed = 0;
            for (const TAppWindow& W : Windows) Framed += W.View.Popup ? 0 : 1;
            if (Framed <= FMainWindows && (FOptions.KeepMain || FGuardRandom() % 10 != 0)) {
                TEvent Escape;
                Escape.Kind = TKind::Key;
                Escape.Text = "Escape";
                return Escape;
            }
        }
        return Event;
    }

    // The window an event names: its title, marked when it is a popup.
    const TAppWindow* Find(const std::vector<TAppWindow>& Windows, const std::string& Name) {
        for (const TAppWindow& W : Windows)
            if (WindowName(W.View) == Name) return &W;
        return nullptr;
    }

    void Perform(const TEvent& Event, const std::vector<TAppWindow>& Windows) {
        const TAppWindow* W = Find(Windows, Event.Window);
        const auto At = [&](int X, int Y) {
            return std::pair<int, int>{W->View.X + std::clamp(X, 0, W->View.Width - 1),
                                       W->View.Y + std::clamp(Y, 0, W->View.Height - 1)};
        };
        switch (Event.Kind) {
        case TKind::Move:
        case TKind::Click:
        case TKind::DoubleClick:
        case TKind::RightClick:
        case TKind::Wheel:
        case TKind::Drag: {
            if (!W) {
                ++FMissed;
                return;
            }
            const auto [X, Y] = At(Event.X, Event.Y);
            if (Event.Kind == TKind::Move)
                FDisplay.MovePointer(X, Y);
            else if (Event.Kind == TKind::Click)
                FInput.Click(X, Y, 1, 1);
            else if (Event.Kind == TKind::DoubleClick)
                FInput.Click(X, Y, 1, 2);
            else if (Event.Kind == TKind::RightClick)
                FInput.Click(X, Y, 3, 1);
            else if (Event.Kind == TKind::Wheel)
                FInput.Wheel(X, Y, Event.Count);
            else {
                const auto [X2, Y2] = At(Event.X2, Event.Y2);
                FInput.Drag(X, Y, X2, Y2, std::max(1, Event.Count));
            }
            break;
        }
        case TKind::Key:
            FInput.Chord(Event.Text);
            break;
        case TKind::Type:
            FInput.Type(Event.Text);
            break;
        case TKind::Resize:
            if (W)
                FDisplay.Resize(W->Id, Event.X2, Event.Y2);
            else
                ++FMissed;
            break;
        case TKind::Close:
            if (W)
                FDisplay.Close(W->Id);
            else
                ++FMissed;
            break;
        case TKind::Wait:
            FInput.Pause(Event.Count);
            break;
        case TKind::Save:
            FInput.Chord("ctrl+s");
            break;
        case TKind::Reopen:
            Reopen();
            break;
        }
        FDisplay.Sync();
    }

    // The designer's reopen: save the form when it is the run's own file,
    // then open that file again through the Open dialog, its name typed in
    // full. A question that comes instead of the dialog (about unsaved
    // changes) is left to random input.
    void Reopen() {
        if (FOptions.Form.empty()) return;
        const std::string FormName = std::filesystem::path(FOptions.Form).filename();
        std::vector<TAppWindow> Windows = FDisplay.WindowsOf(FProgram.Pid());
        const bool OwnFile = std::any_of(Windows.begin(), Windows.end(), [&](const TAppWindow& W) {
            return W.View.Title.find(FormName) != std::string::npos;
        });
        if (OwnFile) {
            FInput.Chord("ctrl+s");
            if (!AnswerOrFail()) return;
        }
        const size_t Before = FDisplay.WindowsOf(FProgram.Pid()).size();
        FInput.Chord("ctrl+o");
        bool Open = false;
        const auto Start = TClock::now();
        while (!Open && MsSince(Start) < ReopenWaitMs) {
            if (!AnswerOrFail()) return;
            FDisplay.SettleNewWindows(FProgram.Pid());
            Windows = FDisplay.WindowsOf(FProgram.Pid());
            for (const TAppWindow& W : Windows) Open = Open || W.View.Title == "Open form";
            if (!Open && Windows.size() > Before) return;
            if (!Open) SleepMs(50);
        }
        if (!Open) return;
        FInput.Chord("Home");
        FInput.Chord("shift+End");
        FInput.Type(FOptions.Form);
        FInput.Chord("Return");
        ++FReopens;
    }

    // False when the program stopped answering or ended: the step is
    // abandoned and the check after it tells what happened.
    bool AnswerOrFail() {
        FDisplay.Sync();
        return Answer().has_value() && !FProgram.Ended();
    }

    // Pings the program until it answers; the answer's time in
    // milliseconds, -1 when it has no window to ask, or nothing when it did
    // not answer for the hang time. A window that goes while it is asked
    // (the event closed it) is replaced by another.
    std::optional<double> Answer() {
        const auto Start = TClock::now();
        FWaitingIn.clear();
        // The window manager's list may still hold a window that went.
        std::vector<Window> Gone;
        while (MsSince(Start) < FOptions.HangSeconds * 1000) {
            if (FProgram.Ended()) return -1;
            Window Asked = 0;
            for (const TAppWindow& W : FDisplay.WindowsOf(FProgram.Pid()))
                if (!W.View.Popup && std::find(Gone.begin(), Gone.end(), W.Id) == Gone.end() &&
                    FDisplay.AnswersPings(W.Id)) {
                    Asked = W.Id;
                    break;
                }
            if (!Asked) return -1;
            // Where each of the program's threads waits, taken once the
            // answer is late: what a slow answer waited for.
            const auto Sample = [this] { FWaitingIn = FProgram.WhereItWaits(); };
            const auto Asking = TClock::now();
            switch (FDisplay.Ping(Asked, 2000, SlowMs, Sample)) {
            case TDisplay::TPingResult::Answered:
                FPingMs = MsSince(Asking);
                return MsSince(Start);
            case TDisplay::TPingResult::Gone:
                Gone.push_back(Asked);
                break;
            case TDisplay::TPingResult::TimedOut:
                break;
            }
        }
        return std::nullopt;
    }

    // After an event: did the program die, report, or stop answering?
    // Gives the exit code of a failed run, or 0 to go on.
    int Check(const TEvent& Event, bool FileStep) {
        if (FProgram.Ended()) return Ended();
        const std::optional<double> Ms = Answer();
        if (!Ms) {
            if (FProgram.Ended()) return Ended();
            return Fail("the program did not answer within " +
                        std::to_string(static_cast<int>(FOptions.HangSeconds)) + " s");
        }
        if (FProgram.Ended()) return Ended();
        // A program that lives on with no window shown takes no more input:
        // the rest of the run would test nothing.
        FWindowless = *Ms < 0 ? FWindowless + 1 : 0;
        if (FWindowless >= WindowlessLimit)
            return Fail("the program has shown no window for " + std::to_string(WindowlessLimit) +
                        " events while it runs");
        if (*Ms >= 0) {
            FLatencies.push_back(*Ms);
            if (*Ms > SlowMs)
                FSlow.push_back({FIndex, *Ms, FProgram.CpuMs().first - FCpuBefore.first,
                                 FProgram.CpuMs().second - FCpuBefore.second,
                                 FDisplay.LastServerMs(), FormatEvent(Event), FileStep, FWaitingIn,
                                 FPingMs});
        }
        if (FIndex % 50 == 0) {
            const std::string Report = ReportIn(FProgram.LogSince(FLogAtStart));
            if (!Report.empty()) return Fail(Report);
        }
        return 0;
    }

    // The program ended: by itself (start it again), or not.
    int Ended() {
        const int Code = FProgram.WaitStatus();
        const std::string Report = ReportIn(FProgram.LogSince(FLogAtStart));
        if (!Report.empty()) return Fail(Report + " (" + DescribeStatus(Code) + ")");
        if (!(WIFEXITED(Code) && WEXITSTATUS(Code) == 0))
            return Fail("the program ended: " + DescribeStatus(Code));
        ++FRestarts;
        if (!StartProgram()) return Fail("the program showed no window after a restart");
        return 0;
    }

    void Remember(const TEvent& Event) {
        FKept.emplace_back(FIndex, FormatEvent(Event));
        if (FKept.size() > KeptEvents) FKept.pop_front();
    }

    std::string ReplayFile() const {
        return FOptions.Out + "/" + FOptions.Name + "-seed-" + std::to_string(FOptions.Seed) +
               ".events";
    }

    int Fail(const std::string& What) {
        FProgram.Kill();
        const std::string File = ReplayFile();
        {
            std::ofstream Out(File);
            Out << "# monkey " << FOptions.Name << ", seed " << FOptions.Seed << ", event "
                << FIndex << ": " << What << "\n";
            for (const auto& [Index, Line] : FKept)
                Out << "# event " << Index << "\n" << Line << "\n";
        }
        std::cout << "\nFAILED " << FOptions.Name << " at event " << FIndex << " (seed "
                  << FOptions.Seed << "): " << What << "\n";
        std::cout << "The program's output: " << FOptions.Out << "/" << FOptions.Name << ".log\n";
        std::cout << "The last " << FKept.size() << " events: " << File << "\n";
        std::cout << "Replay them:   scripts/monkey.sh --replay " << File << "\n";
        std::cout << "Run it again:  scripts/monkey.sh --only " << FOptions.Name << " --seed "
                  << FOptions.Seed << " --events " << FIndex << "\n";
        return 1;
    }

    std::vector<TEvent> ReadReplay(const std::string& File) {
        std::ifstream In(File);
        if (!In) {
            std::cerr << "monkey: cannot read " << File << "\n";
            std::exit(2);
        }
        std::vector<TEvent> Events;
        std::string Line;
        for (int Number = 1; std::getline(In, Line); ++Number) {
            if (Line.empty() || Line[0] == '#') continue;
            const std::optional<TEvent> Event = ParseEvent(Line);
            if (!Event) {
                std::cerr << "monkey: " << File << ", line " << Number << ": not an event\n";
                std::exit(2);
            }
            Events.push_back(*Event);
        }
        return Events;
    }

    double Percentile(std::vector<double> Values, double P) const {
        if (Values.empty()) return 0;
        std::sort(Values.begin(), Values.end());
        return Values[std::min(Values.size() - 1, static_cast<size_t>(P * Values.size()))];
    }

    void Progress(TClock::time_point Start) {
        std::cout << "  " << FOptions.Name << ": " << FIndex << " events, "
                  << static_cast<long>(MsSince(Start) / 1000) << " s, resident "
                  << FProgram.ResidentKiB() / 1024 << " MiB, slowest answer "
                  << static_cast<long>(Percentile(FLatencies, 1.0)) << " ms" << std::endl;
    }

    void Summary(TClock::time_point Start) {
        long SlowOutside = 0;
        for (const TSlowEvent& S : FSlow) SlowOutside += S.FileDialog ? 0 : 1;
        std::cout << "monkey " << FOptions.Name << " (seed " << FOptions.Seed
                  << "): " << FEventsDone << " events in "
                  << static_cast<long>(MsSince(Start) / 1000) << " s, " << FStarts << " start(s) ("
                  << FRestarts << " after the program ended itself), " << FReopens << " reopen(s), "
                  << FMissed << " event(s) whose window had gone\n";
        std::cout << "  crashes 0, sanitizer reports 0\n";
        std::cout << "  resident memory: " << FRssFirst / 1024 << " MiB at start, "
                  << FRssStart / 1024 << " MiB after " << FRssStartAt << " events, "
                  << FRssEnd / 1024 << " MiB at the end\n";
        // Each life of the program on its own: its memory once it is warmed
        // up and at its end, for the longest lives.
        std::vector<TLife> Longest = FLives;
        std::sort(Longest.begin(), Longest.end(), [](const TLife& A, const TLife& B) {
            return A.Last - A.First > B.Last - B.First;
        });
        if (Longest.size() > 5) Longest.resize(5);
        for (const TLife& L : Longest)
            if (L.WarmKiB >= 0)
                std::cout << "  resident memory of the program started at event " << L.First << ": "
                          << L.WarmKiB / 1024 << " MiB after " << LifeWarmup << " events of it, "
                          << L.EndKiB / 1024 << " MiB at its end, event " << L.Last << "\n";
        std::cout << "  loop answers: median " << Percentile(FLatencies, 0.5) << " ms, 99% "
                  << Percentile(FLatencies, 0.99) << " ms, slowest " << Percentile(FLatencies, 1.0)
                  << " ms; " << FSlow.size() << " over " << SlowMs << " ms (" << SlowOutside
                  << " outside file dialogs and file steps)\n";
        std::vector<TSlowEvent> Slowest = FSlow;
        std::sort(Slowest.begin(), Slowest.end(),
                  [](const TSlowEvent& A, const TSlowEvent& B) { return A.Ms > B.Ms; });
        if (Slowest.size() > 15) Slowest.resize(15);
        for (const TSlowEvent& S : Slowest)
            std::cout << "    event " << S.Index << ": " << static_cast<long>(S.Ms) << " ms ("
                      << static_cast<long>(S.CpuMs) << " ms of processor, "
                      << static_cast<long>(S.ReadyMs) << " ms waiting for one, X server "
                      << static_cast<long>(S.ServerMs) << " ms, the ping itself "
                      << static_cast<long>(S.PingMs) << " ms)"
                      << (S.FileDialog ? ", file dialog or file step" : "") << ": " << S.Event
                      << (S.WaitingIn.empty() ? "" : "\n      waiting in: " + S.WaitingIn) << "\n";
    }

    TOptions FOptions;
    long FWindowless = 0;
    int FFileDialogCloses = 0;
    TDisplay FDisplay;
    TInput FInput;
    TProgram FProgram;
    TProfile FProfile;
    std::mt19937_64 FRandom;
    // The guard's own choices, so that they take nothing from the events'.
    std::mt19937_64 FGuardRandom;
    // Windows a program keeps open for its whole life: closing them ends it.
    int FMainWindows = 1;

    long FIndex = 0;
    long FEventsDone = 0;
    std::deque<std::pair<long, std::string>> FKept;
    std::vector<double> FLatencies;
    std::vector<TSlowEvent> FSlow;
    std::string FWaitingIn;
    double FPingMs = 0;
    std::streamoff FLogAtStart = 0;
    std::unique_ptr<std::ofstream> FTrace;
    std::pair<double, double> FCpuBefore;
    long FRssFirst = -1, FRssStart = -1, FRssEnd = -1, FRssStartAt = 0;
    // The runs of events between the program's starts, with its resident
    // memory once warmed up (after LifeWarmup events) and at the end.
    struct TLife {
        long First, Last;
        long WarmKiB, EndKiB;
    };
    static constexpr long LifeWarmup = 2000;
    std::vector<TLife> FLives;

    void NoteLife() {
        if (FLives.empty()) return;
        TLife& L = FLives.back();
        L.Last = FIndex;
        const long Into = FIndex - L.First + 1;
        if (Into == LifeWarmup) L.WarmKiB = FProgram.ResidentKiB();
        if (Into >= LifeWarmup && Into % 100 == 0) L.EndKiB = FProgram.ResidentKiB();
    }
    long FStarts = 0, FRestarts = 0, FReopens = 0, FMissed = 0;

public:
    void SetMainWindows(int Count) { FMainWindows = Count; }
};

} // namespace

int main(int argc, char** argv) {
    TOptions Options = ParseOptions(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);
    TMonkey Monkey(Options);
    // The designer keeps two windows, its own and the form it designs.
    Monkey.SetMainWindows(Options.Profile == "designer" ? 2 : 1);
    return Monkey.Run();
}
