#pragma once

#include "framework/core/Types.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// sd-bus's own handle; its header stays out of ours, so a program that only
// includes this one needs no systemd headers.
struct sd_bus;

namespace folio {

/// One message-bus connection that lives on the user-interface thread's loop.
/// It is the one way this framework talks D-Bus (the desktop's colour-scheme
/// settings, the accessibility bus); use it like this:
///
/// \code
/// auto Bus = TDBusConnection::OpenSession();        // null: no session bus
/// if (Bus) sd_bus_match_signal_async(Bus->Bus(), ..., Handler, Data);
/// Bus->Changed();  // after a call made outside a handler of this bus
/// \endcode
///
/// Everything that touches the bus runs on the user-interface thread: sd-bus
/// calls, replies, signal and method handlers. A watcher thread waits on the
/// connection's descriptor with the events and timeout the loop's thread
/// worked out, and only wakes the loop by posting it a message; it never
/// reads or writes the bus, and never touches a control. Each turn of the
/// loop handles at most MessagesPerTurn messages, and what is left waits for
/// the next turn, after the paint pass, so a chatty bus cannot starve input
/// or painting. A connection that drops stops its watcher and calls
/// OnDisconnected; nothing spins on a dead descriptor.
///
/// Without a bus (no session bus address, a server that is not there) Open
/// answers null at once: no thread, no cost, no error for the program.
///
/// The accessibility bus is a bus of its own: ask the session bus for its
/// address (org.a11y.Bus, GetAddress) and open that with OpenAddress.
class TDBusConnection {
public:
    /// Messages handled per turn of the loop at most.
    static constexpr int MessagesPerTurn = 32;

    /// The user's session bus, or null when there is none. User-interface
    /// thread only, like everything else here.
    static std::unique_ptr<TDBusConnection> OpenSession();
    /// A bus at an address such as "unix:path=/run/user/1000/at-spi/bus_0",
    /// or null when the address is empty or cannot be reached.
    static std::unique_ptr<TDBusConnection> OpenAddress(const String& Address);
    /// Stops the watcher, sends what is still queued and closes the bus;
    /// OnDisconnected is not called.
    ~TDBusConnection();
    TDBusConnection(const TDBusConnection&) = delete;
    TDBusConnection& operator=(const TDBusConnection&) = delete;

    /// The sd-bus connection, for calls, matches and exported objects; null
    /// once the bus went away.
    sd_bus* Bus() const { return FBus; }
    /// False once the bus went away.
    bool Connected() const { return FBus != nullptr; }
    /// Tells the connection that code outside its own handlers used the bus
    /// (sent a message, started a call with a timeout): the next turn works
    /// out again what to wait for. Cheap when a turn is already due.
    void Changed();
    /// Runs the bus on the calling thread until Done answers true or
    /// TimeoutMs passes, without waiting for the loop: for a program's first
    /// answers before its first window shows. Answers Done(), or false when
    /// the bus went away meanwhile (OnDisconnected has fired then).
    bool RunUntil(const std::function<bool()>& Done, int TimeoutMs);

    /// Called on the loop's thread when the bus went away; the connection is
    /// closed by then (Bus() is null). The handler may free the connection.
    std::function<void()> OnDisconnected;

    /// What the connection did so far (tests and benchmarks read it): turns
    /// of the loop it ran and messages those turns handled.
    struct TCounts {
        unsigned Turns = 0;    ///< turns of the loop run
        unsigned Messages = 0; ///< messages those turns handled
        /// Turns that stopped at MessagesPerTurn with more waiting.
        unsigned FullTurns = 0;
    };
    /// The counts so far.
    TCounts Counts() const { return FCounts; }

private:
    explicit TDBusConnection(sd_bus* Bus);
    // One turn: handles up to MessagesPerTurn messages, then either asks
    // for another turn after the paint pass or arms the watcher.
    void Turn();
    // Works out what the watcher waits for and hands it over.
    void Arm();
    void Disconnect();
    void RequestTurn();
    void Watch();
    void StopWatcher();

    sd_bus* FBus = nullptr;
    unsigned FHandle = 0;
    TCounts FCounts;
    // A turn message is queued or a continuation is planned.
    std::atomic<bool> FTurnDue{false};

    // Shared with the watcher, under FLock.
    std::mutex FLock;
    std::condition_variable FArmed;
    bool FArmedNow = false;
    bool FStop = false;
    int FFd = -1;
    short FEvents = 0;
    // When sd-bus wants a turn at the latest (CLOCK_MONOTONIC microseconds,
    // UINT64_MAX: no deadline).
    std::uint64_t FDeadline = UINT64_MAX;
    // Ends the watcher's wait early (new arming or stop).
    int FInterrupt = -1;
    std::thread FWatcher;
};

} // namespace folio
