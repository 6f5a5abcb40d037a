#pragma once

// How a host learns the display's resolution, in pixels per inch (96 is the
// standard one). Each reader answers 0 when its source says nothing usable,
// so that a host can try the next.

namespace folio {

// A scale factor as a user gives it ("2", "1.5"): 96 times the factor,
// rounded. Factors outside 0.5 to 8, and text that is not a number, say
// nothing.
int PixelsPerInchFromScale(const char* Text);

// The Xft.dpi entry of an X resource database as text ("Xft.dpi:\t192"),
// the desktop's own setting for font and interface scaling.
int PixelsPerInchFromResources(const char* Resources);

// A display's measured dots per inch, as a resolution the framework scales
// to: quarter steps of 96 (120, 144, 192 ...). Ordinary monitors measure
// anywhere from 80 to 110 and mean the standard resolution, so everything
// below 120 is 96.
int PixelsPerInchFromDisplayDpi(float Dpi);

// FOLIO_SCALE from the environment, through PixelsPerInchFromScale.
int PixelsPerInchFromEnvironment();

} // namespace folio
