#pragma once

#include <memory>

namespace folio {

/// Turns the requests to quit that a terminal or the system sends (SIGINT,
/// as Ctrl+C sends it, and SIGTERM) into the application's quit message
/// while an object of this class lives: the loop ends at once, whichever
/// thread the signal lands on and however long the loop would otherwise
/// sleep, and the program then closes its windows as on any other end. The
/// application's exit code is 128 plus the signal's number. The handlers
/// that were there before come back when the object goes, so that a program
/// busy with other work stops on the signal as it would have. Only the first
/// of several objects living at once takes the signals.
class TQuitSignals {
public:
    TQuitSignals();
    ~TQuitSignals();
    TQuitSignals(const TQuitSignals&) = delete;
    TQuitSignals& operator=(const TQuitSignals&) = delete;

    /// The signal that last asked the process to quit through such an
    /// object, 0 for none.
    static int Received();
    /// Forgets the signal received (a program that carries on after it).
    static void ClearReceived();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

} // namespace folio
