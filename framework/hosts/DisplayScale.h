#pragma once

// How a host learns the display's resolution, in pixels per inch (96 is the
// standard one). Each reader answers 0 when its source says nothing usable,
// so that a host can try the next.

namespace folio {

/// A scale factor as a user gives it ("2", "1.5"): 96 times the factor,
/// rounded. Factors outside 0.5 to 8, and text that is not a number (or
/// null), say nothing (0).
int PixelsPerInchFromScale(const char* Text);

/// The Xft.dpi entry of an X resource database as text ("Xft.dpi:\t192"),
/// the desktop's own setting for font and interface scaling, rounded; 0 for
/// null text, no entry, or a value outside 48 to 768.
int PixelsPerInchFromResources(const char* Resources);

/// A display's measured dots per inch, as a resolution the framework scales
/// to: quarter steps of 96 (120, 144, 192 ...), at most 768. Ordinary
/// monitors measure anywhere from 80 to 110 and mean the standard resolution,
/// so everything below 120 is 96; 0 or less, or not a number, says nothing.
int PixelsPerInchFromDisplayDpi(float Dpi);

/// FOLIO_SCALE from the environment, through PixelsPerInchFromScale.
int PixelsPerInchFromEnvironment();

} // namespace folio
