#pragma once

// The accessible objects of the sample controls (SamplesAccessible.cpp),
// registered by each control's unit.

#include "framework/ui/controls/Accessible.h"

namespace folio {

// The gauge: a progress bar whose value is the percentage done.
std::unique_ptr<TAccessible> CreateGaugeAccessible(TControl* Gauge);
// The calendar: a table of day-name headers and day cells, the selected
// day's cell selected.
std::unique_ptr<TAccessible> CreateCalendarAccessible(TControl* Calendar);
// The colour grid: a grid of sixteen selectable colour cells; the
// foreground's and background's cells are selected.
std::unique_ptr<TAccessible> CreateColorGridAccessible(TControl* Grid);

} // namespace folio
