#include "framework/ui/app/QuitSignals.h"

#include "framework/core/Exceptions.h"
#include "framework/ui/app/Application.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <iterator>
#include <thread>

namespace folio {

namespace {

constexpr int QuitSignalNumbers[] = {SIGINT, SIGTERM};

std::atomic<int> LastSignal{0};
// The write end of the pipe the handler wakes the watcher through; -1 while
// no object takes the signals.
std::atomic<int> WakeFd{-1};
std::atomic<bool> Taken{false};

// A signal handler may only do what is safe at any moment: it notes the
// signal and writes one byte; the watcher thread does the rest.
extern "C" void OnQuitSignal(int Signal) {
    const int SavedErrno = errno;
    LastSignal.store(Signal);
    const int Fd = WakeFd.load();
    if (Fd >= 0) {
        const char Byte = static_cast<char>(Signal);
        [[maybe_unused]] const ssize_t Written = ::write(Fd, &Byte, 1);
    }
    errno = SavedErrno;
}

} // namespace

struct TQuitSignals::TImpl {
    int Pipe[2] = {-1, -1};
    struct sigaction Previous[std::size(QuitSignalNumbers)] = {};
    std::thread Watcher;
};

TQuitSignals::TQuitSignals() {
    bool Expected = false;
    if (!Taken.compare_exchange_strong(Expected, true)) return;
    auto Impl = std::make_unique<TImpl>();
    if (::pipe2(Impl->Pipe, O_CLOEXEC) != 0) {
        Taken.store(false);
        throw EOutOfResources("Cannot make the pipe that carries quit signals to the loop");
    }
    // A flood of signals must never block the handler: extra bytes are
    // dropped once the pipe is full, one is enough.
    ::fcntl(Impl->Pipe[1], F_SETFL, ::fcntl(Impl->Pipe[1], F_GETFL) | O_NONBLOCK);
    const int ReadFd = Impl->Pipe[0];
    Impl->Watcher = std::thread([ReadFd] {
        for (;;) {
            char Byte = 0;
            const ssize_t Got = ::read(ReadFd, &Byte, 1);
            if (Got < 0 && errno == EINTR) continue;
            // A zero byte, or the pipe gone, means the object is going.
            if (Got <= 0 || Byte == 0) return;
            // Safe from any thread; it wakes a loop that sleeps.
            PostQuitMessage(128 + Byte);
        }
    });
    WakeFd.store(Impl->Pipe[1]);
    struct sigaction Action = {};
    Action.sa_handler = OnQuitSignal;
    sigemptyset(&Action.sa_mask);
    Action.sa_flags = SA_RESTART;
    for (size_t I = 0; I < std::size(QuitSignalNumbers); ++I)
        ::sigaction(QuitSignalNumbers[I], &Action, &Impl->Previous[I]);
    FImpl = std::move(Impl);
}

TQuitSignals::~TQuitSignals() {
    if (!FImpl) return;
    for (size_t I = 0; I < std::size(QuitSignalNumbers); ++I)
        ::sigaction(QuitSignalNumbers[I], &FImpl->Previous[I], nullptr);
    const int Fd = WakeFd.exchange(-1);
    const char Stop = 0;
    while (::write(Fd, &Stop, 1) < 0 && errno == EINTR) {
    }
    FImpl->Watcher.join();
    ::close(FImpl->Pipe[0]);
    ::close(FImpl->Pipe[1]);
    Taken.store(false);
}

int TQuitSignals::Received() {
    return LastSignal.load();
}

void TQuitSignals::ClearReceived() {
    LastSignal.store(0);
}

} // namespace folio
