#include "framework/hosts/SdlHost.h"

#include "framework/hosts/AtspiBridge.h"
#include "framework/hosts/DBusConnection.h"
#include "framework/hosts/DesktopColorScheme.h"
#include "framework/hosts/DisplayScale.h"
#include "framework/hosts/SdlInputWait.h"
#include "framework/hosts/SdlPresenter.h"

#include "framework/core/Exceptions.h"
#include "framework/core/Thread.h"
#include "framework/gfx/Bitmap.h"
#include "framework/ui/app/Application.h"
#include "framework/ui/app/Clipboard.h"
#include "framework/ui/app/Hints.h"
#include "framework/ui/app/QuitSignals.h"
#include "framework/ui/app/Screen.h"
#include "framework/ui/forms/CustomForm.h"
#include "framework/ui/forms/PopupWindow.h"
#include "framework/ui/input/Input.h"
#include "framework/ui/input/Mouse.h"
#include "framework/ui/input/VirtualKeys.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <span>
#include <utility>
#include <vector>

namespace folio {

namespace {

unsigned short KeyToVirtualKey(SDL_Keycode K) {
    if (K >= SDLK_a && K <= SDLK_z) return static_cast<unsigned short>('A' + (K - SDLK_a));
    if (K >= SDLK_0 && K <= SDLK_9) return static_cast<unsigned short>('0' + (K - SDLK_0));
    if (K >= SDLK_F1 && K <= SDLK_F12) return static_cast<unsigned short>(VK_F1 + (K - SDLK_F1));
    switch (K) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_END:
        return VK_END;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    default:
        return 0;
    }
}

TShiftState Modifiers() {
    const SDL_Keymod M = SDL_GetModState();
    TShiftState S;
    if (M & KMOD_SHIFT) S.Include(ssShift);
    if (M & KMOD_CTRL) S.Include(ssCtrl);
    if (M & KMOD_ALT) S.Include(ssAlt);
    return S;
}

SDL_SystemCursor SystemCursor(TCursor C) {
    switch (C) {
    case crIBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case crHandPoint:
        return SDL_SYSTEM_CURSOR_HAND;
    case crNoDrop:
    case crNo:
        return SDL_SYSTEM_CURSOR_NO;
    case crDrag:
    case crMultiDrag:
    case crSizeAll:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    case crHourGlass:
    case crSQLWait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case crAppStart:
        return SDL_SYSTEM_CURSOR_WAITARROW;
    case crCross:
        return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crSizeNS:
    case crVSplit:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeWE:
    case crHSplit:
        return SDL_SYSTEM_CURSOR_SIZEWE;
    case crSizeNESW:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNWSE:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// The drag cursors are drawn here, because window systems have no shape for
// "an arrow carrying something": an arrow with one page below it (crDrag) or
// a stack of pages (crMultiDrag). 'X' is black, '.' white, blank clear.
const char* const ArrowRows[] = {
    "X           ", "XX          ", "X.X         ", "X..X        ", "X...X       ", "X....X      ",
    "X.....X     ", "X......X    ", "X.......X   ", "X........X  ", "X.....XXXXX ", "X..X..X     ",
    "X.X X..X    ", "XX  X..X    ", "X    X..X   ", "     X..X   ", "      XX    ",
};

SDL_Cursor* MakeDragCursor(bool Multiple) {
    const int Size = 32;
    SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, Size, Size, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!S) return nullptr;
    auto* Pixels = static_cast<Uint32*>(S->pixels);
    const int Stride = S->pitch / 4;
    std::fill(Pixels, Pixels + Stride * Size, 0x00000000u);
    auto Put = [&](int X, int Y, Uint32 C) {
        if (X >= 0 && Y >= 0 && X < Size && Y < Size) Pixels[Y * Stride + X] = C;
    };
    const Uint32 Black = 0xFF000000u, White = 0xFFFFFFFFu;
    for (int Y = 0; Y < static_cast<int>(std::size(ArrowRows)); ++Y)
        for (int X = 0; ArrowRows[Y][X]; ++X) {
            if (ArrowRows[Y][X] == 'X') Put(X, Y, Black);
            if (ArrowRows[Y][X] == '.') Put(X, Y, White);
        }
    // One page (or three, offset) below and right of the arrow's tip.
    const int Pages = Multiple ? 3 : 1;
    for (int P = Pages - 1; P >= 0; --P) {
        const int L = 8 + P * 3, T = 17 + P * 3, R = L + 12, B = T + 9;
        for (int Y = T; Y < B; ++Y)
            for (int X = L; X < R; ++X) {
                const bool Edge = X == L || X == R - 1 || Y == T || Y == B - 1;
                Put(X, Y, Edge ? Black : White);
            }
    }
    SDL_Cursor* C = SDL_CreateColorCursor(S, 0, 0);
    SDL_FreeSurface(S);
    return C;
}

// Whether SDL chose a video driver without windows. It falls back to one
// when it cannot reach the display; one the user asked for by name is kept.
bool WindowlessDriver() {
    const char* Driver = SDL_GetCurrentVideoDriver();
    if (!Driver) return true;
    if (std::strcmp(Driver, "offscreen") != 0 && std::strcmp(Driver, "dummy") != 0) return false;
    const char* Asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return !Asked || !std::strstr(Asked, Driver);
}

// Starts SDL's video on a driver that shows windows. An X server on a busy
// machine now and then resets a new connection, and SDL then carries on
// without windows as if all were well; so a few tries are made before the
// display counts as unreachable.
bool OpenVideo() {
    // SDL's own handlers for SIGINT and SIGTERM only queue a quit event,
    // which nobody reads while the program does anything but wait in this
    // host, and they stay installed after a mere look for a display. The
    // host takes the signals itself while it lives (TQuitSignals).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // A click that brings a window forward also acts where it lands (on a
    // palette button, on the form being designed), as on any desktop; SDL
    // drops a press that comes within a few milliseconds of the window
    // getting the focus, which is every click a window manager focuses on.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    for (int Try = 0; Try < 5; ++Try) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            if (!WindowlessDriver()) return true;
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            SDL_SetError("the window system could not be reached");
        }
        SDL_Delay(10);
    }
    return false;
}

// The pointer shape a cursor shows as: crNo and crNoDrop look the same.
TCursor ShapeOf(TCursor C) {
    return C == crNo ? crNoDrop : C;
}

// The desktop's scaling setting, Xft.dpi, lives in the X server's resource
// database. libX11 is loaded only to read it, so that the host needs no X
// library at build time and runs where there is none.
int XftPixelsPerInch() {
    const char* Driver = SDL_GetCurrentVideoDriver();
    if (!Driver || std::strcmp(Driver, "x11") != 0) return 0;
    void* X11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    if (!X11) return 0;
    using TOpen = void* (*)(const char*);
    using TResources = char* (*)(void*);
    using TClose = int (*)(void*);
    auto Open = reinterpret_cast<TOpen>(dlsym(X11, "XOpenDisplay"));
    auto Resources = reinterpret_cast<TResources>(dlsym(X11, "XResourceManagerString"));
    auto Close = reinterpret_cast<TClose>(dlsym(X11, "XCloseDisplay"));
    int Result = 0;
    if (Open && Resources && Close) {
        if (void* Display = Open(nullptr)) {
            Result = PixelsPerInchFromResources(Resources(Display));
            Close(Display);
        }
    }
    dlclose(X11);
    return Result;
}

// The user's own choice first, then the desktop's setting, then what the
// display measures.
int DisplayPixelsPerInch() {
    if (const int Chosen = PixelsPerInchFromEnvironment()) return Chosen;
    if (const int Desktop = XftPixelsPerInch()) return Desktop;
    float Diagonal = 0, Horizontal = 0, Vertical = 0;
    if (SDL_GetDisplayDPI(0, &Diagonal, &Horizontal, &Vertical) == 0)
        if (const int Measured = PixelsPerInchFromDisplayDpi(Horizontal)) return Measured;
    return 96;
}

} // namespace

struct TSdlHost::TImpl {
    struct TWindow {
        TWinControl* Form = nullptr;
        SDL_Window* Window = nullptr;
        TSdlPresenter Presenter{nullptr};
        unsigned Version = ~0u;
        TRect LastBounds;
        String Title;
        unsigned IconVersion = 0;
        // The size limits last given to the window manager (0: none).
        TRect Limits;
        // Not moved yet since it was made: its first move shows where a
        // window manager put it.
        bool Placing = false;
    };
    std::vector<TWindow> Windows;
    std::map<int, SDL_Cursor*> Cursors;
    TCursor ShownCursor = crDefault;
    bool CursorShown = false;
    TPresentCounts Counts;
    // The user event the application's wake hook pushes.
    Uint32 WakeEvent = 0;
    // Where the loop sleeps between events.
    std::unique_ptr<TSdlInputWait> Input;
    // One of our windows lost the keyboard focus in this batch of events.
    bool FocusLeft = false;
    // Ctrl+C and SIGTERM end the application's loop at once.
    std::unique_ptr<TQuitSignals> QuitSignals;
    // The session bus (null without one) and the desktop's colour scheme
    // read and followed through it.
    std::unique_ptr<TDBusConnection> SessionBus;
    std::unique_ptr<TDesktopColorScheme> DesktopColors;
    // The accessibility tree on the desktop's accessibility bus, when the
    // desktop asks for it (null without a session bus or when turned off).
    std::unique_ptr<TAtspiBridge> Accessibility;
    // The left and top of the frame a window manager put around our last
    // framed window. A form's Left and Top are where its client area lies
    // on the screen, as the window system reports a window's moves; but a
    // new window is placed by its frame's corner. New windows are made that
    // much up and to the left, and the first is moved once its frame is
    // known, or every form shown would land a frame lower and to the right
    // than it says (and walk on with each save and load, each undo in the
    // designer).
    TPoint FrameGuess{0, 0};

    // A new framed window's first move, to (X, Y): with a window manager's
    // frame around it, learns the frame and puts the client area where the
    // form says, as far as the frame stays on the screen (a form at the
    // screen's corner keeps its title bar in reach). Answers true when the
    // form keeps its place.
    bool PlaceInFrame(TWindow& W, int X, int Y) {
        int Top = 0, Left = 0, Bottom = 0, Right = 0;
        if (SDL_GetWindowBordersSize(W.Window, &Top, &Left, &Bottom, &Right) != 0 ||
            (Top == 0 && Left == 0))
            return false;
        FrameGuess = TPoint{Left, Top};
        // Forms are placed by their client area: the work area they may
        // fill is the screen's, less the frame round each.
        SDL_Rect U;
        if (SDL_GetDisplayUsableBounds(0, &U) == 0)
            Screen->SetWorkAreaRect(
                TRect{U.x + Left, U.y + Top, U.x + U.w - Right, U.y + U.h - Bottom});
        const TPoint Asked{W.Form->GetLeft(), W.Form->GetTop()};
        const TPoint Origin = ScreenOrigin();
        const TPoint Wanted{std::max(Asked.X, Origin.X + Left), std::max(Asked.Y, Origin.Y + Top)};
        if (X == Wanted.X && Y == Wanted.Y) return false;
        SDL_SetWindowPosition(W.Window, Wanted.X, Wanted.Y);
        // A form moved onto the screen takes its place with the move's report.
        return Wanted.X == Asked.X && Wanted.Y == Asked.Y;
    }

    // Where a new framed window for a form at (Left, Top) is made: its
    // frame's corner by the frame last seen, never off the screen's top or
    // left (a window manager may not show it there).
    static TPoint FramePosition(int Left, int Top, TPoint Frame) {
        const TPoint Origin = ScreenOrigin();
        return TPoint{std::max(Left - Frame.X, Origin.X), std::max(Top - Frame.Y, Origin.Y)};
    }

    // The top left corner of all displays together.
    static TPoint ScreenOrigin() {
        TPoint Origin{0, 0};
        for (int I = 0; I < SDL_GetNumVideoDisplays(); ++I) {
            SDL_Rect D;
            if (SDL_GetDisplayBounds(I, &D) != 0) continue;
            Origin.X = std::min(Origin.X, D.x);
            Origin.Y = std::min(Origin.Y, D.y);
        }
        return Origin;
    }

    // The window of a form that is still there. A handler may free a form
    // while events for its window wait in the queue (the designer replaces
    // the form it designs on a paste); its window goes at the next Sync, and
    // until then its events are dropped instead of reaching the freed form.
    TWindow* Find(Uint32 WindowId) {
        for (TWindow& W : Windows)
            if (W.Window && SDL_GetWindowID(W.Window) == WindowId) {
                const auto& Tops = InputRouter->TopLevels();
                return std::find(Tops.begin(), Tops.end(), W.Form) != Tops.end() ? &W : nullptr;
            }
        return nullptr;
    }

    // The user went to another program's window: open popups close. A
    // focus that moved between our own windows keeps them.
    void FocusSettled() {
        if (!FocusLeft) return;
        FocusLeft = false;
        SDL_Window* Focus = SDL_GetKeyboardFocus();
        if (!Focus || !Find(SDL_GetWindowID(Focus))) TPopupWindow::CloseAll();
    }

    // Without a window manager a popup takes the keyboard as it is mapped and
    // nobody gives it back when it goes: the active form's window takes it
    // again, or the user's typing would go nowhere.
    void ReturnKeyboard() {
        TCustomForm* Active = Screen->GetActiveForm();
        for (TWindow& W : Windows)
            if (W.Window && W.Form == Active) {
                SDL_SetWindowInputFocus(W.Window);
                return;
            }
    }

    // A press in a form gives its window the keyboard, as a window manager
    // does on a click; without one nobody would. Popups and hints never take
    // it, nor a form a modal one blocks.
    static void TakeKeyboard(const TWindow& W) {
        auto* Form = dynamic_cast<TCustomForm*>(W.Form);
        if (!Form || !Form->GetEnabled() || Screen->IsBlockedByModal(Form) ||
            SDL_GetKeyboardFocus() == W.Window)
            return;
        SDL_SetWindowInputFocus(W.Window);
    }

    static void Destroy(TWindow& W) {
        // The window's surface goes with the window.
        if (W.Window) SDL_DestroyWindow(W.Window);
        W = TWindow{};
    }

    // Gives the window its form's icon when the form has a new one. An
    // empty icon leaves the one the window has: the system's, at first.
    // The window manager keeps a sizeable window within its form's limits,
    // so a drag on the frame stops there instead of being undone after it.
    static void SendSizeLimits(TWindow& W) {
        const TSizeConstraints* C = W.Form->GetConstraints();
        const TRect Limits{C->GetMinWidth(), C->GetMinHeight(), C->GetMaxWidth(),
                           C->GetMaxHeight()};
        if (Limits == W.Limits) return;
        const bool HadMost = W.Limits.Right > 0 || W.Limits.Bottom > 0;
        W.Limits = Limits;
        SDL_SetWindowMinimumSize(W.Window, std::max(Limits.Left, 1), std::max(Limits.Top, 1));
        // The window system takes no "unlimited" once a largest size was
        // given, so a limit taken back becomes one no screen reaches.
        constexpr int NoLimit = 1 << 14;
        if (HadMost || Limits.Right > 0 || Limits.Bottom > 0)
            SDL_SetWindowMaximumSize(W.Window, Limits.Right > 0 ? Limits.Right : NoLimit,
                                     Limits.Bottom > 0 ? Limits.Bottom : NoLimit);
    }

    static void SendIcon(TWindow& W) {
        const auto* Form = dynamic_cast<const TCustomForm*>(W.Form);
        if (!Form || Form->GetIconVersion() == W.IconVersion) return;
        W.IconVersion = Form->GetIconVersion();
        const TBitmap* Icon = Form->GetIcon();
        if (Icon->GetEmpty()) return;
        SDL_Surface* S = SDL_CreateRGBSurfaceWithFormat(0, Icon->GetWidth(), Icon->GetHeight(), 32,
                                                        SDL_PIXELFORMAT_RGB888);
        if (!S) return;
        for (int Y = 0; Y < Icon->GetHeight(); ++Y)
            std::memcpy(static_cast<char*>(S->pixels) + Y * S->pitch, Icon->ScanLine(Y),
                        static_cast<size_t>(Icon->GetWidth()) * 4);
        SDL_SetWindowIcon(W.Window, S);
        SDL_FreeSurface(S);
    }

    // Makes a window for every shown top-level form and drops those of
    // forms that are hidden or gone.
    void Sync() {
        const auto& Tops = InputRouter->TopLevels();
        bool KeyboardLost = false;
        for (auto It = Windows.begin(); It != Windows.end();) {
            const bool Alive = std::find(Tops.begin(), Tops.end(), It->Form) != Tops.end();
            if (!Alive || !It->Form->GetVisible() || !It->Form->HandleAllocated()) {
                KeyboardLost |= It->Window && SDL_GetKeyboardFocus() == It->Window;
                Destroy(*It);
                It = Windows.erase(It);
            } else {
                ++It;
            }
        }
        if (KeyboardLost) ReturnKeyboard();
        for (TWinControl* F : Tops) {
            if (!F->GetVisible() || !F->HandleAllocated() || F->GetWidth() <= 0 ||
                F->GetHeight() <= 0)
                continue;
            auto It = std::find_if(Windows.begin(), Windows.end(),
                                   [F](const TWindow& W) { return W.Form == F; });
            if (It == Windows.end()) {
                TWindow W;
                W.Form = F;
                Uint32 Flags = SDL_WINDOW_SHOWN;
                if (auto* Form = dynamic_cast<TCustomForm*>(F)) {
                    const TFormBorderStyle B = Form->GetBorderStyle();
                    if (B == bsSizeable || B == bsSizeToolWin) Flags |= SDL_WINDOW_RESIZABLE;
                    if (B == bsNone) Flags |= SDL_WINDOW_BORDERLESS;
                } else if (dynamic_cast<TPopupWindow*>(F)) {
                    // Drop-down lists and menus: above the forms, without a
                    // frame, outside the form's bounds if need be, never
                    // taking the focus from the form that opened them.
                    Flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_BORDERLESS |
                             SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR;
                } else if (dynamic_cast<THintWindow*>(F)) {
                    // A hint floats above the forms without a frame and never
                    // takes the focus from them.
                    Flags |= SDL_WINDOW_TOOLTIP | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP |
                             SDL_WINDOW_SKIP_TASKBAR;
                }
                W.Placing = !(Flags & SDL_WINDOW_BORDERLESS);
                const TPoint At = W.Placing ? FramePosition(F->GetLeft(), F->GetTop(), FrameGuess)
                                            : TPoint{F->GetLeft(), F->GetTop()};
                W.Window = SDL_CreateWindow(F->GetText().c_str(), At.X, At.Y, F->GetWidth(),
                                            F->GetHeight(), Flags);
                if (!W.Window) continue;
                W.Presenter = TSdlPresenter(W.Window);
                Input->Attach(W.Window);
                W.LastBounds = F->GetBoundsRect();
                W.Title = F->GetText();
                SendIcon(W);
                SendSizeLimits(W);
                Windows.push_back(W);
                continue;
            }
            // A form moved or sized by the program moves its window.
            const TRect B = F->GetBoundsRect();
            if (B != It->LastBounds) {
                if (B.Left != It->LastBounds.Left || B.Top != It->LastBounds.Top)
                    SDL_SetWindowPosition(It->Window, B.Left, B.Top);
                if (B.Width() != It->LastBounds.Width() || B.Height() != It->LastBounds.Height())
                    SDL_SetWindowSize(It->Window, B.Width(), B.Height());
                It->LastBounds = B;
            }
            // Setting a title is a round trip to the window system: only
            // when it changed.
            if (F->GetText() != It->Title) {
                It->Title = F->GetText();
                SDL_SetWindowTitle(It->Window, It->Title.c_str());
            }
            SendIcon(*It);
            SendSizeLimits(*It);
        }
    }

    // Sends each window what its form painted since the last present, once
    // for however many changes there were; the whole surface only after the
    // window's pixels were lost or never sent.
    void Present() {
        for (TWindow& W : Windows) {
            const TPixelSurface* S = W.Form->GetSurface();
            if (!S || !S->Valid()) continue;
            if (W.Version == W.Form->GetSurfaceVersion() && !W.Presenter.WholeDue()) continue;
            const TDamageRegion Damage = W.Form->TakeSurfaceDamage();
            W.Version = W.Form->GetSurfaceVersion();
            const TPresentResult R =
                W.Presenter.Present(*S, std::span<const TRect>(Damage.begin(), Damage.end()));
            if (R.Pixels == 0) continue;
            ++Counts.Frames;
            if (R.Whole) ++Counts.WholeFrames;
            Counts.Pixels += static_cast<unsigned long long>(R.Pixels);
            Counts.LastArea = R.Area;
        }
    }

    void UpdateCursor() {
        const TCursor Shape = ShapeOf(InputRouter->GetCursor());
        if (CursorShown && Shape == ShownCursor) return;
        SDL_Cursor*& C = Cursors[Shape];
        if (!C && (Shape == crDrag || Shape == crMultiDrag))
            C = MakeDragCursor(Shape == crMultiDrag);
        if (!C) C = SDL_CreateSystemCursor(SystemCursor(Shape));
        if (C) SDL_SetCursor(C);
        ShownCursor = Shape;
        CursorShown = true;
    }

    static TMouseButton Button(Uint8 B) {
        if (B == SDL_BUTTON_RIGHT) return mbRight;
        if (B == SDL_BUTTON_MIDDLE) return mbMiddle;
        return mbLeft;
    }

    // Handles the events SDL's queue holds, without asking the window
    // system for more. Of several pointer moves in a row only the last is
    // handled: the pointer is where that one says, and each move handled
    // would cost a repaint the next one undoes. Answers whether there were
    // any.
    bool HandleQueued() {
        SDL_Event E, Next;
        bool Any = false;
        while (SDL_PeepEvents(&E, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
            Any = true;
            if (E.type == SDL_MOUSEMOTION &&
                SDL_PeepEvents(&Next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0 &&
                Next.type == SDL_MOUSEMOTION && Next.motion.windowID == E.motion.windowID &&
                Next.motion.state == E.motion.state)
                continue;
            // A handler that fails (a file that cannot be read, say) is
            // reported as the loop reports any failure of its work; the
            // events after it are handled, the application goes on.
            try {
                Handle(E);
            } catch (...) {
                Application->HandleException(nullptr);
            }
        }
        return Any;
    }

    void Handle(const SDL_Event& E) {
        // The wake event only ends the wait; the work it stands for is
        // taken from the application's queues.
        if (WakeEvent != 0 && E.type == WakeEvent) return;
        switch (E.type) {
        case SDL_QUIT:
            // The window system's quit request: the last window closed.
            Application->Terminate();
            break;
        case SDL_MOUSEMOTION:
            if (TWindow* W = Find(E.motion.windowID))
                InputRouter->MouseMove(
                    TPoint{W->Form->GetLeft() + E.motion.x, W->Form->GetTop() + E.motion.y},
                    Modifiers());
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (TWindow* W = Find(E.button.windowID)) {
                TakeKeyboard(*W);
                // The window system's click count is not used: it pairs
                // presses on different controls and further apart than the
                // framework allows; the router decides double clicks.
                InputRouter->MouseDown(
                    Button(E.button.button),
                    TPoint{W->Form->GetLeft() + E.button.x, W->Form->GetTop() + E.button.y},
                    Modifiers());
            }
            break;
        case SDL_MOUSEBUTTONUP:
            if (TWindow* W = Find(E.button.windowID))
                InputRouter->MouseUp(
                    Button(E.button.button),
                    TPoint{W->Form->GetLeft() + E.button.x, W->Form->GetTop() + E.button.y},
                    Modifiers());
            break;
        case SDL_MOUSEWHEEL: {
            // High-resolution wheels report parts of a notch; they arrive as
            // parts of WHEEL_DELTA, and the controls add them up.
            const float Sign = E.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1.0f : 1.0f;
            const int Up = static_cast<int>(std::lround(Sign * E.wheel.preciseY * WHEEL_DELTA));
            const int Right = static_cast<int>(std::lround(Sign * E.wheel.preciseX * WHEEL_DELTA));
            if (Up) InputRouter->MouseWheel(Up, Mouse->GetCursorPos(), Modifiers());
            if (Right) InputRouter->MouseHWheel(Right, Mouse->GetCursorPos(), Modifiers());
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const unsigned short Vk = KeyToVirtualKey(E.key.keysym.sym);
            if (!Vk) break;
            if (E.type == SDL_KEYDOWN)
                InputRouter->KeyDown(Vk, Modifiers());
            else
                InputRouter->KeyUp(Vk, Modifiers());
            break;
        }
        case SDL_TEXTINPUT:
            InputRouter->Text(E.text.text);
            break;
        case SDL_TEXTEDITING:
            InputRouter->Composition(E.edit.text, E.edit.start);
            break;
        case SDL_WINDOWEVENT: {
            TWindow* W = Find(E.window.windowID);
            if (!W) break;
            TWinControl* F = W->Form;
            switch (E.window.event) {
            case SDL_WINDOWEVENT_MOVED: {
                const bool Placing = std::exchange(W->Placing, false);
                if (!Placing || !PlaceInFrame(*W, E.window.data1, E.window.data2)) {
                    F->SetBounds(E.window.data1, E.window.data2, F->GetWidth(), F->GetHeight());
                    W->LastBounds = F->GetBoundsRect();
                }
                // A form that fitted the screen before its frame was known
                // may not with it; the next sync moves and sizes the window.
                if (auto* Form = dynamic_cast<TCustomForm*>(F); Placing && Form) {
                    const TRect Area = Screen->GetWorkAreaRect();
                    if (!Form->IsDesigning() &&
                        (Form->GetWidth() > Area.Width() || Form->GetHeight() > Area.Height()))
                        Form->FitToWorkArea();
                }
                break;
            }
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                F->SetBounds(F->GetLeft(), F->GetTop(), E.window.data1, E.window.data2);
                W->LastBounds = F->GetBoundsRect();
                // Without a window manager nobody holds the window to its
                // form's limits: a size the form refused is put back, so
                // that the window shows the whole form.
                if (F->GetWidth() != E.window.data1 || F->GetHeight() != E.window.data2)
                    SDL_SetWindowSize(W->Window, F->GetWidth(), F->GetHeight());
                W->Presenter.InvalidateAll();
                break;
            case SDL_WINDOWEVENT_LEAVE:
                // Hover effects and pending hints end when the pointer
                // leaves; a move into another of our windows enters there.
                InputRouter->MouseExit();
                break;
            case SDL_WINDOWEVENT_EXPOSED:
                W->Presenter.InvalidateAll();
                break;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                // Decided once the batch is read: without a window manager
                // the X server hands the focus to a popup as it maps, which
                // must not close it.
                FocusLeft = true;
                break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                if (auto* Form = dynamic_cast<TCustomForm*>(F)) Screen->ActivateForm(Form);
                break;
            case SDL_WINDOWEVENT_CLOSE:
                if (F->HandleAllocated()) PostMessage(F->GetHandle(), WM_CLOSE);
                break;
            default:
                break;
            }
            break;
        }
        default:
            break;
        }
    }
};

bool TSdlHost::DisplayAvailable() {
    const char* Display = std::getenv("DISPLAY");
    const char* Wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!Display || !*Display) && (!Wayland || !*Wayland)) return false;
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (!OpenVideo()) return false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return true;
}

TSdlHost::TSdlHost() : FImpl(std::make_unique<TImpl>()) {
    // Our surfaces are drawn in software: they go to the window system as
    // they are, through the window's own surface in shared memory, not
    // through a 3-D driver (which would start threads of its own, cost CPU
    // on every frame and redraw the whole window for any change).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!OpenVideo())
        throw EOutOfResources(String("Cannot open a display for the window host: ") +
                              SDL_GetError());
    SetMainThread();
    ResumeSynchronize();
    SDL_DisplayMode Mode;
    if (SDL_GetDesktopDisplayMode(0, &Mode) == 0) Screen->SetSize(Mode.w, Mode.h);
    // The desktop's panels are no place for a form.
    if (SDL_Rect Usable; SDL_GetDisplayUsableBounds(0, &Usable) == 0)
        Screen->SetWorkAreaRect(
            TRect{Usable.x, Usable.y, Usable.x + Usable.w, Usable.y + Usable.h});
    Screen->SetPixelsPerInch(DisplayPixelsPerInch());
    SDL_StartTextInput();
    // The desktop's wish for less motion reaches programs through the
    // environment; an application may still decide otherwise later.
    if (const char* Reduced = std::getenv("FOLIO_REDUCED_MOTION"))
        Application->SetReducedMotion(std::strcmp(Reduced, "1") == 0 ||
                                      std::strcmp(Reduced, "true") == 0);
    Clipboard()->SetBackend(
        [] {
            char* Text = SDL_GetClipboardText();
            String Result = Text ? Text : "";
            SDL_free(Text);
            return Result;
        },
        [](const String& Text) { SDL_SetClipboardText(Text.c_str()); });
    FImpl->WakeEvent = SDL_RegisterEvents(1);
    if (FImpl->WakeEvent == static_cast<Uint32>(-1)) FImpl->WakeEvent = 0;
    FImpl->Input = std::make_unique<TSdlInputWait>(FImpl->WakeEvent);
    // Any thread: posts and workers' requests end the loop's wait.
    Application->SetWakeHook([Input = FImpl->Input.get()] { Input->Wake(); });
    SetModalLoopStep([this] { Step(-1); });
    FImpl->QuitSignals = std::make_unique<TQuitSignals>();
    // Before the first window shows, so that it shows in the desktop's
    // colours; a change on the desktop later repaints every form.
    FImpl->SessionBus = TDBusConnection::OpenSession();
    FImpl->DesktopColors = std::make_unique<TDesktopColorScheme>(FImpl->SessionBus.get());
    FImpl->Accessibility = TAtspiBridge::Start(FImpl->SessionBus.get());
}

TSdlHost::~TSdlHost() {
    // A signal after this stops the program as it would without the host.
    FImpl->QuitSignals.reset();
    FImpl->Accessibility.reset();
    FImpl->DesktopColors.reset();
    FImpl->SessionBus.reset();
    // After this no worker pushes events into a queue about to close.
    Application->SetWakeHook(nullptr);
    SetModalLoopStep(nullptr);
    Clipboard()->SetBackend(nullptr, nullptr);
    for (auto& W : FImpl->Windows) TImpl::Destroy(W);
    for (auto& [Id, C] : FImpl->Cursors) SDL_FreeCursor(C);
    SDL_StopTextInput();
    InputRouter->Reset();
    Screen->SetPixelsPerInch(96);
    Screen->SetWorkAreaRect(TRect{});
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TSdlHost::Step(int TimeoutMs) {
    FImpl->Input->Served();
    Application->ProcessMessages();
    FImpl->Sync();
    FImpl->Present();
    FImpl->UpdateCursor();
    // Block until a window event, the application's wake event (a post, a
    // worker's Synchronize request) or the next timer, whichever comes
    // first; an idle application sleeps here without waking.
    int Wait = Application->TimeToNextTimer();
    if (TimeoutMs >= 0 && (Wait < 0 || TimeoutMs < Wait)) Wait = TimeoutMs;
    FImpl->Input->Wait(Wait);
    if (FImpl->HandleQueued()) FImpl->FocusSettled();
    FImpl->Input->Served();
    Application->ProcessMessages();
    FImpl->Sync();
    FImpl->Present();
    FImpl->UpdateCursor();
    return !Application->Terminated();
}

void TSdlHost::Present() {
    FImpl->Sync();
    FImpl->Present();
}

void TSdlHost::Run() {
    // An earlier loop that was terminated (a nested Application->Run, say)
    // must not end this one before it starts.
    Application->ResetTerminated();
    for (;;) {
        if (!Step(-1)) break;
        // Only forms keep the application open; a hint window does not.
        bool AnyVisible = false;
        for (TWinControl* F : InputRouter->TopLevels())
            if (F->GetVisible() && dynamic_cast<TCustomForm*>(F)) AnyVisible = true;
        if (!AnyVisible) break;
    }
}

TDBusConnection* TSdlHost::SessionBus() const {
    return FImpl->SessionBus.get();
}

TCursor TSdlHost::ShownCursor() const {
    return FImpl->CursorShown ? FImpl->ShownCursor : crDefault;
}

void* TSdlHost::WindowOf(const TWinControl* Form) const {
    for (const auto& W : FImpl->Windows)
        if (W.Form == Form) return W.Window;
    return nullptr;
}

unsigned TSdlHost::PresentCount() const {
    return FImpl->Counts.Frames;
}

TSdlHost::TPresentCounts TSdlHost::PresentCounts() const {
    return FImpl->Counts;
}

} // namespace folio

namespace folio {

TSize TSdlHost::WindowSize(const TWinControl* Form) const {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    TSize S;
    if (W) SDL_GetWindowSize(W, &S.cx, &S.cy);
    return S;
}

void TSdlHost::ResizeWindow(const TWinControl* Form, int Width, int Height) {
    if (auto* W = static_cast<SDL_Window*>(WindowOf(Form))) SDL_SetWindowSize(W, Width, Height);
}

void TSdlHost::PushMouseButton(const TWinControl* Form, int X, int Y, TMouseButton Button,
                               bool Down, int Clicks) {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    if (!W) return;
    SDL_Event E{};
    E.type = Down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    E.button.windowID = SDL_GetWindowID(W);
    E.button.button = Button == mbRight    ? SDL_BUTTON_RIGHT
                      : Button == mbMiddle ? SDL_BUTTON_MIDDLE
                                           : SDL_BUTTON_LEFT;
    E.button.state = Down ? SDL_PRESSED : SDL_RELEASED;
    E.button.clicks = static_cast<Uint8>(Clicks);
    E.button.x = X;
    E.button.y = Y;
    SDL_PushEvent(&E);
}

void TSdlHost::PushMouseMove(const TWinControl* Form, int X, int Y) {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    if (!W) return;
    SDL_Event E{};
    E.type = SDL_MOUSEMOTION;
    E.motion.windowID = SDL_GetWindowID(W);
    E.motion.x = X;
    E.motion.y = Y;
    SDL_PushEvent(&E);
}

void TSdlHost::PushMouseWheel(const TWinControl* Form, int Notches) {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    if (!W) return;
    SDL_Event E{};
    E.type = SDL_MOUSEWHEEL;
    E.wheel.windowID = SDL_GetWindowID(W);
    E.wheel.y = Notches;
    E.wheel.preciseY = static_cast<float>(Notches);
    E.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&E);
}

void TSdlHost::PushWindowLeave(const TWinControl* Form) {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    if (!W) return;
    SDL_Event E{};
    E.type = SDL_WINDOWEVENT;
    E.window.windowID = SDL_GetWindowID(W);
    E.window.event = SDL_WINDOWEVENT_LEAVE;
    SDL_PushEvent(&E);
}

void TSdlHost::PushWindowClose(const TWinControl* Form) {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    if (!W) return;
    SDL_Event E{};
    E.type = SDL_WINDOWEVENT;
    E.window.windowID = SDL_GetWindowID(W);
    E.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&E);
}

void TSdlHost::PushText(const TWinControl* Form, const String& Text) {
    auto* W = static_cast<SDL_Window*>(WindowOf(Form));
    if (!W) return;
    SDL_Event E{};
    E.type = SDL_TEXTINPUT;
    E.text.windowID = SDL_GetWindowID(W);
    SDL_strlcpy(E.text.text, Text.c_str(), sizeof(E.text.text));
    SDL_PushEvent(&E);
}

} // namespace folio
