#pragma once

#include "framework/ui/forms/Form.h"

#include <memory>

namespace folio {

class TDBusConnection;

/// The window host: every shown top-level form is a real window showing its
/// surface, fed with the real mouse, keyboard and text input. The host sets
/// the cursor shape of the control under the pointer, follows window moves
/// and resizes, links the clipboard, and presents a form only when its
/// surface changed, sending the window system only the damaged pixels.
/// While it lives, SIGINT and SIGTERM end the application's loop at once
/// (TQuitSignals), and closing the last window asks the application to end.
/// It follows the desktop's colour scheme (TDesktopColorScheme) unless the
/// program chose one (TScreen::SetColorScheme).
class TSdlHost {
public:
    /// Raises EOutOfResources when no display can be opened.
    TSdlHost();
    ~TSdlHost();
    TSdlHost(const TSdlHost&) = delete;
    TSdlHost& operator=(const TSdlHost&) = delete;

    /// True when a display can be opened (an X server is reachable).
    static bool DisplayAvailable();

    /// Runs the application until it is terminated or no form is visible.
    void Run();
    /// Handles what is waiting (window events and the application's work),
    /// then sleeps until something arrives: a window event, work for the
    /// application from any thread, or its next timer; a TimeoutMs of 0 or
    /// more bounds the wait. Presents changed forms. Answers false once the
    /// application was told to quit.
    bool Step(int TimeoutMs = 10);
    /// Shows changed surfaces now.
    void Present();

    /// The connection to the session bus the host's adapters to the desktop
    /// share (null when there is none). Other adapters use it too.
    TDBusConnection* SessionBus() const;

    /// The native window of a form (an SDL_Window*), or null; tests use it.
    void* WindowOf(const TWinControl* Form) const;
    /// The window's size as the window system has it.
    TSize WindowSize(const TWinControl* Form) const;
    /// Asks the window system to resize the window, as a user would.
    void ResizeWindow(const TWinControl* Form, int Width, int Height);
    /// Puts events into the window system's queue, where the host takes them
    /// from like any other (smoke tests drive the host this way).
    /// Clicks is the window system's own count of quick presses, which the
    /// host leaves aside: the framework decides double clicks itself.
    void PushMouseButton(const TWinControl* Form, int X, int Y, TMouseButton Button, bool Down,
                         int Clicks = 1);
    /// A pointer move to X, Y in Form's window.
    void PushMouseMove(const TWinControl* Form, int X, int Y);
    /// Wheel notches over the form where the pointer last moved; positive
    /// turns away from the user.
    void PushMouseWheel(const TWinControl* Form, int Notches);
    /// The pointer leaves Form's window.
    void PushWindowLeave(const TWinControl* Form);
    /// The user asks the window manager to close the window.
    void PushWindowClose(const TWinControl* Form);
    /// Text typed into Form's window (UTF-8).
    void PushText(const TWinControl* Form, const String& Text);

    /// The pointer shape the host last set (crDefault before the first):
    /// crDrag and crMultiDrag are drawn cursors, crNoDrop the system's.
    TCursor ShownCursor() const;

    /// Frames presented so far (tests check that idle forms are not redrawn).
    unsigned PresentCount() const;
    /// What the presents so far sent to the window system: frames, frames
    /// that sent a whole window (first show, expose, resize), pixels, and
    /// the area the last frame covered (tests check that a small change
    /// sends only its own pixels).
    struct TPresentCounts {
        /// Frames presented.
        unsigned Frames = 0;
        /// Frames that sent a whole window.
        unsigned WholeFrames = 0;
        /// Pixels sent.
        unsigned long long Pixels = 0;
        /// The area the last frame covered, in window coordinates.
        TRect LastArea;
    };
    /// The counts of what the presents so far sent.
    TPresentCounts PresentCounts() const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace folio
