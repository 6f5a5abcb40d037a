#include "framework/core/Clock.h"

#include <chrono>

namespace folio {

TMilliseconds TSteadyClock::Now() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace folio
