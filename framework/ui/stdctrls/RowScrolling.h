#pragma once

#include "framework/ui/stdctrls/ScrollBar.h"

#include <functional>
#include <memory>

namespace folio {

// What lists of rows of one height share (list boxes, tree views, list
// views): a scroll bar that is a part of the list, scrolled by whole rows,
// shown only while the rows do not all fit.

/// Makes Host's scroll bar: hidden, never a tab stop, Scrolled hearing its
/// position. It is a part of Host, not a component of the form.
std::unique_ptr<TScrollBar> MakeRowScrollBar(TWinControl* Host, TScrollBarKind Kind,
                                             std::function<void(int)> Scrolled);

/// Gives Bar the range of Count rows of which Page show, at Position.
void SetRowRange(TScrollBar& Bar, int Position, int Count, int Page);

/// Lays a vertical Bar along Host's right edge from Top down, gives it the
/// range of Count rows of which Page show, and shows it only when they do
/// not all fit.
void PlaceRowScrollBar(TScrollBar& Bar, const TWinControl& Host, int Top, int Position, int Count,
                       int Page);

/// Host's client area from Top down, less a shown Bar (on the right when
/// vertical, along the foot when horizontal).
TRect RowArea(const TWinControl& Host, const TScrollBar& Bar, int Top = 0);

/// The first row to show so that Row shows among Page rows: TopRow unless
/// Row lies above it or beyond its page.
int TopRowShowing(int Row, int TopRow, int Page);

/// The first row after a turn of the wheel by WheelDelta, Rows a notch.
int TopRowAfterWheel(int TopRow, int WheelDelta, int Rows);

} // namespace folio
