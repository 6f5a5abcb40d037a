#pragma once

#include <ostream>
#include <string>

namespace gallery {

struct TBarGalleryOptions {
    // Where headless snapshots go: a folder under the current directory
    // unless a path is given.
    std::string SnapshotDir = "snapshots";
    // Write snapshots even when a display is there.
    bool ForceSnapshots = false;
};

// The bar gallery: a form with a vertical bar (colour, gradient and tiled
// backgrounds, large and small pictures, a scrolled group showing both
// scroll buttons, an item under the pointer) and a horizontal bar. With
// a display it opens a window; otherwise it writes PNG snapshots and says
// where. Answers false when something went wrong.
bool RunBarGallery(std::ostream& Out, const TBarGalleryOptions& Options);

// Shows a form file (a form designed in the designer, or one the gallery
// saved) in a window, or writes its snapshot "form.png" without a display.
// The form is read into the gallery's form class, whatever class its file
// names for the form, so its handlers are the gallery's. Answers false when
// the file cannot be read.
bool ShowFormFile(std::ostream& Out, const std::string& FileName,
                  const TBarGalleryOptions& Options);

} // namespace gallery
