#pragma once

#include <ostream>
#include <string>

namespace gallery {

// The sample controls' gallery: one form with a performance graph in each
// of its two kinds (fed with a few hundred generated steps), gauges of all
// five kinds at different percentages, the calendar on a leap February and
// a colour grid with distinct foreground and background squares. With a
// display it opens a live window whose graphs and gauges move on a timer;
// otherwise, or when ForceSnapshots is set, it writes samples-gallery.png
// into SnapshotDir. Answers false when something went wrong.
bool RunSamplesGallery(std::ostream& Out, const std::string& SnapshotDir, bool ForceSnapshots);

} // namespace gallery
