#pragma once

#include <cstdint>

namespace folio {

/// Milliseconds on a monotonic time line.
using TMilliseconds = std::int64_t;

/// Where the application's loop takes its time from. Hosts use the steady
/// clock; tests use a manual clock and advance it, so timers fire exactly when
/// the test says.
class TClock {
public:
    virtual ~TClock() = default;
    /// The time now, in milliseconds from the clock's own start.
    virtual TMilliseconds Now() const = 0;
    /// True when time passes by itself, so a loop may sleep until a deadline.
    virtual bool IsRealTime() const = 0;
};

/// The system's monotonic clock: it never goes back when the date is set.
class TSteadyClock final : public TClock {
public:
    TMilliseconds Now() const override;
    bool IsRealTime() const override { return true; }
};

/// A clock that stands still until told to move, for tests.
class TManualClock final : public TClock {
public:
    /// A clock that reads Start.
    explicit TManualClock(TMilliseconds Start = 0) : FNow(Start) {}
    /// The time the clock was last set or advanced to.
    TMilliseconds Now() const override { return FNow; }
    bool IsRealTime() const override { return false; }
    /// Moves the clock on by Delta milliseconds (nothing fires by itself: the
    /// loop that reads the clock runs the timers due).
    void Advance(TMilliseconds Delta) { FNow += Delta; }
    /// Sets the clock to Value, forwards or back.
    void Set(TMilliseconds Value) { FNow = Value; }

private:
    TMilliseconds FNow;
};

} // namespace folio
