#pragma once

#include <SDL.h>

#include <atomic>
#include <thread>

namespace folio {

// Sleeps until the window system has input for the host or another thread
// wakes the loop. SDL's own wait posts a message to itself through the X
// server for every event it reads while it waits (so that a thread pushing
// an event could end the wait), which wakes the loop a second time for each
// pointer move. On X this waits on the connection itself and takes wakes
// through a descriptor of its own instead; elsewhere it keeps SDL's wait.
class TSdlInputWait {
public:
    // WakeEvent is the user event that ends SDL's own wait (0: none).
    explicit TSdlInputWait(Uint32 WakeEvent);
    ~TSdlInputWait();
    TSdlInputWait(const TSdlInputWait&) = delete;
    TSdlInputWait& operator=(const TSdlInputWait&) = delete;

    // Any thread: ends the current wait, or the next one. The loop's own
    // thread only notes it (it is not waiting then).
    void Wake();
    // The loop's thread is about to run the application's work, which
    // serves every wake it asked for itself so far.
    void Served() { FLocalWake = false; }
    // Waits on the X connection Window belongs to, when it is an X window.
    void Attach(SDL_Window* Window);
    bool Attached() const { return FConnection >= 0; }
    // Takes in what the window system sent, and when that is nothing, waits
    // up to TimeoutMs (below 0: without a limit) for input or a wake. SDL's
    // queue then holds the events to handle (none after a wake or a timeout).
    void Wait(int TimeoutMs);

private:
    Uint32 FWakeEvent;
    int FWakeFd = -1;
    // The X connection's descriptor and display (an X Display*).
    int FConnection = -1;
    void* FDisplay = nullptr;
    // Set once waits go on the connection: wakes need no SDL event then.
    std::atomic<bool> FOwnWait{false};
    std::thread::id FOwner;
    bool FLocalWake = false;
};

} // namespace folio
