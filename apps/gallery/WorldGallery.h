#pragma once

#include <ostream>
#include <string>

namespace gallery {

// Bars whose groups and items are named in Hebrew, Arabic and Chinese, read
// left to right and right to left, each with another group open: written to
// world-bars.png in the snapshot folder. Returns false when it cannot.
bool WriteWorldSnapshot(std::ostream& Out, const std::string& SnapshotDir);

} // namespace gallery
