#pragma once

// The monkey test's events: drawn from a seeded generator against the
// windows a program shows, written one to a line and read back for replays.
// Nothing here talks to a display; the driver (monkey.cpp) does.

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace monkey {

// A window of the program under test as the driver sees it on the screen.
struct TWindowView {
    std::string Title;
    int X = 0, Y = 0, Width = 0, Height = 0; // client area, screen pixels
    bool Popup = false;                      // a menu or drop-down list (no frame, no title)
};

// How events name a window: its title, after "[popup]" for a popup, which
// has no title of its own to tell it by.
std::string WindowName(const TWindowView& View);

enum class TKind {
    Move,
    Click,
    DoubleClick,
    RightClick,
    Drag,
    Wheel,
    Key,
    Type,
    Resize,
    Close,
    Wait,
    Save,
    Reopen,
};

struct TEvent {
    TKind Kind = TKind::Wait;
    std::string Window; // the title of the window it aims at
    int X = 0, Y = 0;   // a point in that window's client area
    // Drag: where it ends (in the same window); Resize: the new client size.
    int X2 = 0, Y2 = 0;
    // Drag: steps between press and release; Wheel: notches, negative
    // towards the user; Wait: milliseconds.
    int Count = 0;
    std::string Text; // Key: a chord such as "ctrl+z" or "F2"; Type: the text

    bool operator==(const TEvent&) const = default;
};

// How often each kind comes, and which keys a program gets.
struct TProfile {
    struct TWeight {
        TKind Kind;
        int Weight;
    };
    std::vector<TWeight> Weights;
    std::vector<std::string> Keys;
    // The chance, in percent, that an event aims at an open popup rather
    // than at any window.
    int PopupShare = 60;

    static TProfile Gallery();
    static TProfile Designer();
};

// The next event. Every call takes the same number of values from Random
// whatever it makes, so that a run with the same seed asks for the same
// events in the same order even when the windows it meets differ a little.
// Without windows the event is a wait.
TEvent NextEvent(std::mt19937_64& Random, const std::vector<TWindowView>& Windows,
                 const TProfile& Profile);

// One line, without its end: the kind's word, then its fields. Titles and
// texts are quoted, with backslashes before quotes and backslashes.
std::string FormatEvent(const TEvent& Event);
// Reads what FormatEvent wrote; nothing for a line it does not know.
std::optional<TEvent> ParseEvent(const std::string& Line);

} // namespace monkey
