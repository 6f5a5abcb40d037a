#pragma once

#include <ostream>
#include <string>

namespace gallery {

// The framework's standard controls and dialogs, pictured on the headless
// screen: a form with buttons (one default, one disabled), labels, a
// bevelled panel, an image, a group box, a notebook, a list box, an open
// drop-down list (controls-gallery.png) and the same form with a popup menu
// open (controls-gallery-menu.png); the everyday controls (check boxes,
// radio buttons and groups, range controls and the rest:
// everyday-controls.png); the text and list controls (controls-views.png);
// the colour dialog (color-dialog.png)
// and the picture file dialog (file-dialog.png). Answers false when
// something went wrong.
bool RunControlsGallery(std::ostream& Out, const std::string& SnapshotDir);

// The everyday controls and the text and list controls in two real
// windows, to be tried with the pointer and the keys; returns when both are
// closed. False when no display can be opened.
bool ShowControlsWindows(std::ostream& Out);

} // namespace gallery
