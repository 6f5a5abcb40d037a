#include "framework/hosts/SdlInputWait.h"

#include <SDL_syswm.h>

#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <utility>

namespace folio {

namespace {

// Events the X library has read from the connection but SDL has not taken
// yet: no wait on the connection would see them.
int QueuedInLibrary([[maybe_unused]] void* Connection) {
#if defined(SDL_VIDEO_DRIVER_X11)
    return QLength(static_cast<Display*>(Connection));
#else
    return 0;
#endif
}

} // namespace

TSdlInputWait::TSdlInputWait(Uint32 WakeEvent)
    : FWakeEvent(WakeEvent), FOwner(std::this_thread::get_id()) {
    FWakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
}

TSdlInputWait::~TSdlInputWait() {
    if (FWakeFd >= 0) ::close(FWakeFd);
}

void TSdlInputWait::Wake() {
    // A wake asked for while the loop handles events (a repaint, a post)
    // needs no message through the kernel: the loop runs the application's
    // work before it waits again.
    if (std::this_thread::get_id() == FOwner) {
        FLocalWake = true;
        return;
    }
    if (FWakeFd >= 0) {
        const std::uint64_t One = 1;
        // A full counter already wakes the wait; nothing is lost then.
        [[maybe_unused]] const ssize_t Written = ::write(FWakeFd, &One, sizeof One);
    }
    if (!FOwnWait.load() && FWakeEvent != 0) {
        SDL_Event E{};
        E.type = FWakeEvent;
        SDL_PushEvent(&E);
    }
}

void TSdlInputWait::Attach([[maybe_unused]] SDL_Window* Window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (Attached() || !Window || FWakeFd < 0) return;
    SDL_SysWMinfo Info;
    SDL_VERSION(&Info.version);
    if (!SDL_GetWindowWMInfo(Window, &Info) || Info.subsystem != SDL_SYSWM_X11) return;
    FDisplay = Info.info.x11.display;
    FConnection = ConnectionNumber(Info.info.x11.display);
    FOwnWait.store(true);
#endif
}

void TSdlInputWait::Wait(int TimeoutMs) {
    if (std::exchange(FLocalWake, false)) TimeoutMs = 0;
    if (!Attached()) {
        // SDL's wait leaves the event it waited for in the queue.
        if (TimeoutMs < 0)
            SDL_WaitEvent(nullptr);
        else
            SDL_WaitEventTimeout(nullptr, TimeoutMs);
        return;
    }
    SDL_PumpEvents();
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) || QueuedInLibrary(FDisplay) > 0) return;
    pollfd Fds[2] = {{FConnection, POLLIN, 0}, {FWakeFd, POLLIN, 0}};
    // A signal ends the wait early; the loop steps and comes back.
    if (::poll(Fds, 2, TimeoutMs < 0 ? -1 : TimeoutMs) <= 0) return;
    if (Fds[1].revents & POLLIN) {
        std::uint64_t Count = 0;
        [[maybe_unused]] const ssize_t Read = ::read(FWakeFd, &Count, sizeof Count);
    }
    if (Fds[0].revents) SDL_PumpEvents();
}

} // namespace folio
