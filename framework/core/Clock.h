#pragma once

#include <cstdint>

namespace folio {

// Milliseconds on a monotonic time line.
using TMilliseconds = std::int64_t;

// Where the application's loop takes its time from. Hosts use the steady
// clock; tests use a manual clock and advance it, so timers fire exactly when
// the test says.
class TClock {
public:
    virtual ~TClock() = default;
    virtual TMilliseconds Now() const = 0;
    // True when time passes by itself, so a loop may sleep until a deadline.
    virtual bool IsRealTime() const = 0;
};

class TSteadyClock final : public TClock {
public:
    TMilliseconds Now() const override;
    bool IsRealTime() const override { return true; }
};

class TManualClock final : public TClock {
public:
    explicit TManualClock(TMilliseconds Start = 0) : FNow(Start) {}
    TMilliseconds Now() const override { return FNow; }
    bool IsRealTime() const override { return false; }
    void Advance(TMilliseconds Delta) { FNow += Delta; }
    void Set(TMilliseconds Value) { FNow = Value; }

private:
    TMilliseconds FNow;
};

} // namespace folio
