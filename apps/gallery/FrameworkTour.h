#pragma once

#include <ostream>

namespace gallery {

// A short tour of the framework's core services, printed as it runs: a
// worker thread handing steps to the loop, window timers, and a stream round
// trip through a file. Returns false when something did not come out right.
bool RunFrameworkTour(std::ostream& Out);

} // namespace gallery
