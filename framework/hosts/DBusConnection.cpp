#include "framework/hosts/DBusConnection.h"

#include "framework/core/Thread.h"
#include "framework/ui/app/Application.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

namespace folio {

namespace {

// The message that asks the connection's window for a turn.
constexpr unsigned WM_BUSTURN = WM_USER + 1;

std::uint64_t MonotonicMicroseconds() {
    timespec T{};
    clock_gettime(CLOCK_MONOTONIC, &T);
    return static_cast<std::uint64_t>(T.tv_sec) * 1000000u +
           static_cast<std::uint64_t>(T.tv_nsec) / 1000u;
}

// Milliseconds from now until Deadline (rounded up, so a wait never ends
// just before it), -1 for no deadline.
int MillisecondsUntil(std::uint64_t Deadline) {
    if (Deadline == UINT64_MAX) return -1;
    const std::uint64_t Now = MonotonicMicroseconds();
    if (Deadline <= Now) return 0;
    const std::uint64_t Ms = (Deadline - Now + 999) / 1000;
    return Ms > 60000 ? 60000 : static_cast<int>(Ms);
}

// Starts a client connection that sd-bus has been told where to go; frees
// it and answers null when that fails.
sd_bus* Started(sd_bus* Bus) {
    if (sd_bus_set_bus_client(Bus, 1) < 0 || sd_bus_start(Bus) < 0) {
        sd_bus_unref(Bus);
        return nullptr;
    }
    return Bus;
}

} // namespace

std::unique_ptr<TDBusConnection> TDBusConnection::OpenSession() {
    // sd-bus falls back to $XDG_RUNTIME_DIR/bus when the address is not
    // set; with neither there is no session bus to ask.
    const char* Address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    const char* Runtime = std::getenv("XDG_RUNTIME_DIR");
    if ((!Address || !*Address) && (!Runtime || !*Runtime)) return nullptr;
    sd_bus* Bus = nullptr;
    if (sd_bus_open_user(&Bus) < 0 || !Bus) return nullptr;
    return std::unique_ptr<TDBusConnection>(new TDBusConnection(Bus));
}

std::unique_ptr<TDBusConnection> TDBusConnection::OpenAddress(const String& Address) {
    if (Address.empty()) return nullptr;
    sd_bus* Bus = nullptr;
    if (sd_bus_new(&Bus) < 0) return nullptr;
    if (sd_bus_set_address(Bus, Address.c_str()) < 0) {
        sd_bus_unref(Bus);
        return nullptr;
    }
    Bus = Started(Bus);
    if (!Bus) return nullptr;
    return std::unique_ptr<TDBusConnection>(new TDBusConnection(Bus));
}

TDBusConnection::TDBusConnection(sd_bus* Bus) : FBus(Bus) {
    FInterrupt = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    FHandle = AllocateHWnd([this](TMessage& M) {
        if (M.Msg != WM_BUSTURN) return;
        FTurnDue.store(false);
        Turn();
    });
    FWatcher = std::thread([this] { Watch(); });
    // The connection's greeting and anything already buffered are handled
    // by the first turn, which also arms the watcher.
    RequestTurn();
}

TDBusConnection::~TDBusConnection() {
    StopWatcher();
    DeallocateHWnd(FHandle);
    if (FBus) sd_bus_flush_close_unref(FBus);
    if (FInterrupt >= 0) ::close(FInterrupt);
}

void TDBusConnection::StopWatcher() {
    {
        std::lock_guard Guard(FLock);
        FStop = true;
    }
    FArmed.notify_one();
    if (FInterrupt >= 0) {
        const std::uint64_t One = 1;
        [[maybe_unused]] const ssize_t Written = ::write(FInterrupt, &One, sizeof One);
    }
    if (FWatcher.joinable()) FWatcher.join();
}

void TDBusConnection::RequestTurn() {
    if (FTurnDue.exchange(true)) return;
    PostMessage(FHandle, WM_BUSTURN);
}

void TDBusConnection::Changed() {
    if (FBus) RequestTurn();
}

void TDBusConnection::Turn() {
    if (!FBus) return;
    ++FCounts.Turns;
    int Result = 0;
    for (int I = 0; I < MessagesPerTurn; ++I) {
        Result = sd_bus_process(FBus, nullptr);
        if (Result <= 0) break;
        ++FCounts.Messages;
    }
    if (Result < 0) {
        Disconnect();
        return;
    }
    if (Result > 0) {
        // More may wait in sd-bus's own buffer, where the descriptor shows
        // nothing: the next turn comes after the paint pass and whatever
        // input arrives meanwhile.
        // A connection closed by then has no window left, and the message
        // is dropped.
        ++FCounts.FullTurns;
        FTurnDue.store(true);
        Application->QueueAfterIdle([Handle = FHandle] { PostMessage(Handle, WM_BUSTURN); });
        return;
    }
    Arm();
}

void TDBusConnection::Arm() {
    const int Fd = sd_bus_get_fd(FBus);
    const int Events = sd_bus_get_events(FBus);
    std::uint64_t Deadline = UINT64_MAX;
    if (Fd < 0 || Events < 0 || sd_bus_get_timeout(FBus, &Deadline) < 0) {
        Disconnect();
        return;
    }
    {
        std::lock_guard Guard(FLock);
        FFd = Fd;
        FEvents = static_cast<short>(Events);
        FDeadline = Deadline;
        FArmedNow = true;
    }
    FArmed.notify_one();
    // A watcher still waiting with what it was given before takes this now.
    const std::uint64_t One = 1;
    [[maybe_unused]] const ssize_t Written = ::write(FInterrupt, &One, sizeof One);
}

void TDBusConnection::Disconnect() {
    StopWatcher();
    sd_bus_flush_close_unref(FBus);
    FBus = nullptr;
    // The handler may free this connection: nothing here is touched after.
    if (auto Handler = OnDisconnected) Handler();
}

void TDBusConnection::Watch() {
    for (;;) {
        int Fd;
        short Events;
        std::uint64_t Deadline;
        {
            std::unique_lock Guard(FLock);
            FArmed.wait(Guard, [this] { return FArmedNow || FStop; });
            if (FStop) return;
            Fd = FFd;
            Events = FEvents;
            Deadline = FDeadline;
        }
        pollfd Fds[2] = {{Fd, Events, 0}, {FInterrupt, POLLIN, 0}};
        const int Ready = ::poll(Fds, 2, MillisecondsUntil(Deadline));
        if (Ready < 0 && errno == EINTR) continue;
        if (Fds[1].revents & POLLIN) {
            std::uint64_t Count = 0;
            [[maybe_unused]] const ssize_t Read = ::read(FInterrupt, &Count, sizeof Count);
            // Stopped or armed again: look at what holds now. The bus may be
            // ready too; then the wait below ends at once.
            if (!(Fds[0].revents)) continue;
        }
        {
            std::lock_guard Guard(FLock);
            if (FStop) return;
            FArmedNow = false;
        }
        // The only thing this thread does for the bus: wake the loop.
        RequestTurn();
    }
}

bool TDBusConnection::RunUntil(const std::function<bool()>& Done, int TimeoutMs) {
    const std::uint64_t End =
        MonotonicMicroseconds() + static_cast<std::uint64_t>(TimeoutMs) * 1000u;
    while (FBus && !Done()) {
        const int Result = sd_bus_process(FBus, nullptr);
        if (Result < 0) {
            Disconnect();
            return false;
        }
        if (Result > 0) continue;
        const std::uint64_t Now = MonotonicMicroseconds();
        if (Now >= End) break;
        std::uint64_t Left = End - Now;
        std::uint64_t Deadline = UINT64_MAX;
        if (sd_bus_get_timeout(FBus, &Deadline) >= 0 && Deadline != UINT64_MAX)
            Left = Deadline > Now ? std::min(Left, Deadline - Now) : 0;
        if (sd_bus_wait(FBus, Left) < 0) {
            Disconnect();
            return false;
        }
    }
    // The watcher may have been told to wait for something that is done.
    if (FBus) RequestTurn();
    return Done();
}

} // namespace folio
