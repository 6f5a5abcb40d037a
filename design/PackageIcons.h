#pragma once

#include "framework/core/Types.h"

namespace folio {

class TCanvas;

/// The palette icons of the package's components, each drawn in code to
/// fill a square R (24 or 48 pixels), so that every size is crisp.
namespace package_icons {
/// Draws the palette icon of the bar (Folio), the calendar, the colour
/// grid, the gauge or the performance graph filling square R of Canvas.
///@{
void Folio(TCanvas* Canvas, const TRect& R);
void Calendar(TCanvas* Canvas, const TRect& R);
void ColorGrid(TCanvas* Canvas, const TRect& R);
void Gauge(TCanvas* Canvas, const TRect& R);
void PerformanceGraph(TCanvas* Canvas, const TRect& R);
///@}
} // namespace package_icons

/// The unit that gives the four sample controls their icons; the bar's own
/// icon comes with the bar's registration.
namespace SampleIcons {
/// Registers the icons of the calendar, the colour grid, the gauge and the
/// performance graph with the open registration scope's registry.
void Register();
} // namespace SampleIcons

} // namespace folio
